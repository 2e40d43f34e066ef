#include "platform/webkit/script_dialog.h"

#include <webkit2/webkit2.h>

#include "platform/text.h"

namespace platform {

namespace {
// The text scrolls beyond this height, in pixels.
constexpr int MaxTextHeight = 400;
constexpr int TextWidthChars = 80;
constexpr int Margin = 12;
}  // namespace

ScriptDialog::ScriptDialog(WebKitScriptDialog* dialog, Gtk::Window* parent, const std::string& pageAddress)
    : Gtk::Dialog(ScreenLine(pageAddress)), dialog_(webkit_script_dialog_ref(dialog)) {
    if (parent) set_transient_for(*parent);
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
    text_.set_text(ScreenText(webkit_script_dialog_get_message(dialog)));
    text_.set_xalign(0);
    text_.set_yalign(0);
    text_.set_line_wrap(true);
    text_.set_line_wrap_mode(Pango::WRAP_WORD_CHAR);
    text_.set_max_width_chars(TextWidthChars);
    scroller_.set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    scroller_.set_propagate_natural_width(true);
    scroller_.set_propagate_natural_height(true);
    scroller_.set_max_content_height(MaxTextHeight);
    scroller_.set_border_width(Margin);
    scroller_.add(text_);
    get_content_area()->pack_start(scroller_, true, true);

    switch (webkit_script_dialog_get_dialog_type(dialog)) {
        case WEBKIT_SCRIPT_DIALOG_ALERT:
            add_button("_OK", Gtk::RESPONSE_OK);
            break;
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            add_button("_Stay on Page", Gtk::RESPONSE_CANCEL);
            add_button("_Leave Page", Gtk::RESPONSE_OK);
            break;
        case WEBKIT_SCRIPT_DIALOG_PROMPT:
            answer_.set_text(ScreenLine(webkit_script_dialog_prompt_get_default_text(dialog)));
            answer_.set_activates_default(true);
            answer_.set_margin_start(Margin);
            answer_.set_margin_end(Margin);
            get_content_area()->pack_start(answer_, false, false);
            [[fallthrough]];
        default:
            add_button("_Cancel", Gtk::RESPONSE_CANCEL);
            add_button("_OK", Gtk::RESPONSE_OK);
            break;
    }
    set_default_response(Gtk::RESPONSE_OK);
    show_all();
}

ScriptDialog::~ScriptDialog() { Close(false); }

void ScriptDialog::on_response(int response) {
    Close(response == Gtk::RESPONSE_OK);
    hide();
}

// Hands the page its answer; a prompt that is not accepted gives the page no text.
void ScriptDialog::Close(bool accepted) {
    if (!dialog_) return;
    switch (webkit_script_dialog_get_dialog_type(dialog_)) {
        case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog_, accepted);
            break;
        case WEBKIT_SCRIPT_DIALOG_PROMPT:
            if (accepted) webkit_script_dialog_prompt_set_text(dialog_, answer_.get_text().c_str());
            break;
        default:
            break;
    }
    webkit_script_dialog_close(dialog_);
    webkit_script_dialog_unref(dialog_);
    dialog_ = nullptr;
}

}  // namespace platform
