#include "platform/combobox.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/entry.h>

#include <algorithm>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/listbox.h"
#include "platform/text.h"

namespace platform {

int KeyCodeOf(unsigned keyval) {
    switch (keyval) {
        case GDK_KEY_BackSpace: return vbKeyBack;
        case GDK_KEY_Clear: return vbKeyClear;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter: return vbKeyReturn;
        case GDK_KEY_Shift_L:
        case GDK_KEY_Shift_R: return vbKeyShift;
        case GDK_KEY_Control_L:
        case GDK_KEY_Control_R: return vbKeyControl;
        case GDK_KEY_Delete: return vbKeyDelete;
        default: break;
    }
    const unsigned upper = gdk_keyval_to_upper(keyval);
    if (upper < 128) return static_cast<int>(upper);
    return static_cast<int>(keyval & 0xFFFF);
}

namespace {
int ShiftOf(guint state) {
    return ((state & GDK_SHIFT_MASK) ? 1 : 0) | ((state & GDK_CONTROL_MASK) ? 2 : 0) | ((state & GDK_MOD1_MASK) ? 4 : 0);
}
}  // namespace

ComboBox::ComboBox() : Control(std::make_unique<Gtk::ComboBoxText>(true)) {
    combo_ = static_cast<Gtk::ComboBoxText*>(&Widget());
    // The toolkit's address box is one line of text high; the theme's padding is made to fit.
    auto css = Gtk::CssProvider::create();
    css->load_from_data("* { min-height: 0; } entry { padding: 0 4px; } button { padding: 0 2px; }");
    auto apply = [css](Gtk::Widget& widget) {
        widget.get_style_context()->add_provider(css, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    };
    apply(*combo_);
    combo_->foreach(apply);
    apply(*combo_->get_entry());
    auto& entry = Entry();
    // The box takes the width the layout gives it, however narrow.
    entry.set_width_chars(1);
    entry.show();
    Track(entry.signal_key_press_event().connect(
        [this](GdkEventKey* event) {
            const int code = KeyCodeOf(event->keyval), shift = ShiftOf(event->state);
            if (KeyDown) Dispatch([this, code, shift] { KeyDown(code, shift); });
            const int ascii = code == vbKeyReturn ? 13 : static_cast<int>(gdk_keyval_to_unicode(event->keyval));
            if (ascii > 0 && KeyPress) Dispatch([this, ascii] { KeyPress(ascii); });
            return false;
        },
        false));
    Track(entry.signal_key_release_event().connect(
        [this](GdkEventKey* event) {
            const int code = KeyCodeOf(event->keyval), shift = ShiftOf(event->state);
            if (KeyUp) Dispatch([this, code, shift] { KeyUp(code, shift); });
            return false;
        },
        false));
    Track(entry.signal_changed().connect([this] {
        if (!settingText_ && Change) Dispatch([this] { Change(); });
    }));
    Track(combo_->property_popup_shown().signal_changed().connect([this] {
        if (combo_->property_popup_shown()) FillPopupList();
    }));
    Track(combo_->signal_changed().connect([this] {
        if (combo_->get_active_row_number() >= 0 && Click) Dispatch([this] { Click(); });
    }));
    // The list is filled only when it is shown: a long address list costs nothing
    // until then. Give the popup one row so that it can open at all.
    combo_->append("");
}

Gtk::Entry& ComboBox::Entry() const { return *combo_->get_entry(); }

std::string ComboBox::Text() const { return Entry().get_text(); }

void ComboBox::SetText(const std::string& text) {
    settingText_ = true;
    Entry().set_text(DisplayText(text));
    settingText_ = false;
}

int ComboBox::SelStart() const {
    int start = 0, end = 0;
    if (!Entry().get_selection_bounds(start, end)) return Entry().get_position();
    return start;
}

void ComboBox::SetSelStart(int start) {
    const int length = static_cast<int>(Entry().get_text().size());
    Entry().select_region(std::clamp(start, 0, length), std::clamp(start, 0, length));
}

int ComboBox::SelLength() const {
    int start = 0, end = 0;
    if (!Entry().get_selection_bounds(start, end)) return 0;
    return end - start;
}

void ComboBox::SetSelLength(int length) {
    const int start = SelStart();
    Entry().select_region(start, start + std::max(0, length));
}

void ComboBox::AddItem(const std::string& item) {
    items_.insert(std::upper_bound(items_.begin(), items_.end(), item, ListLess), item);
    popupListCurrent_ = false;
}

void ComboBox::SetItems(std::vector<std::string> items) {
    SortForList(items);
    items_ = std::move(items);
    popupListCurrent_ = false;
}

void ComboBox::Clear() {
    items_.clear();
    popupListCurrent_ = false;
}

const std::string& ComboBox::List(int index) const {
    if (index < 0 || index >= ListCount()) throw ToolkitError(errors::InvalidProcedureCall, "Invalid procedure call or argument");
    return items_[index];
}

void ComboBox::FillPopupList() {
    if (popupListCurrent_) return;
    popupListCurrent_ = true;
    const std::string text = Text();
    combo_->remove_all();
    for (const auto& item : items_) combo_->append(DisplayText(item));
    SetText(text);
}

}  // namespace platform
