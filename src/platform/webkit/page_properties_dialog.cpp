#include "platform/webkit/page_properties_dialog.h"

#include <glibmm/main.h>
#include <gtkmm/label.h>

#include "platform/text.h"

namespace platform {

namespace {
// Copying a selection that runs to the end of a value cut for the screen copies
// the rest of the value too, as the label would have held it whole.
void CopyWholeValueFrom(Gtk::Label& label, std::string whole) {
    g_signal_connect_data(
        label.gobj(), "copy-clipboard", G_CALLBACK(+[](GtkLabel* shown, gpointer value) {
            int start = 0;
            int end = 0;
            if (!gtk_label_get_selection_bounds(shown, &start, &end)) return;
            if (end < g_utf8_strlen(gtk_label_get_text(shown), -1)) return;
            const char* from = g_utf8_offset_to_pointer(static_cast<std::string*>(value)->c_str(), start);
            gtk_clipboard_set_text(gtk_widget_get_clipboard(GTK_WIDGET(shown), GDK_SELECTION_CLIPBOARD), from, -1);
        }),
        new std::string(std::move(whole)), +[](gpointer value, GClosure*) { delete static_cast<std::string*>(value); },
        G_CONNECT_AFTER);
}
}  // namespace

PagePropertiesDialog& PagePropertiesDialog::Show(Gtk::Window* parent, const std::string& title,
                                                 const std::string& address, const std::string& contentType) {
    // The dialog owns itself: it is deleted once it has been closed.
    auto* dialog = new PagePropertiesDialog(title, address, contentType);
    if (parent) dialog->set_transient_for(*parent);
    dialog->show_all();
    return *dialog;
}

PagePropertiesDialog::PagePropertiesDialog(const std::string& title, const std::string& address,
                                           const std::string& contentType)
    : Gtk::Dialog("Properties") {
    set_resizable(false);
    rows_.set_border_width(12);
    rows_.set_row_spacing(6);
    rows_.set_column_spacing(12);
    AddRow("Title:", title);
    AddRow("Address:", address);
    if (!contentType.empty()) AddRow("Type:", contentType);
    get_content_area()->pack_start(rows_);
    add_button("_Close", Gtk::RESPONSE_CLOSE);
    set_default_response(Gtk::RESPONSE_CLOSE);
}

void PagePropertiesDialog::AddRow(const std::string& caption, const std::string& value) {
    auto* name = Gtk::make_managed<Gtk::Label>(caption);
    name->set_xalign(0);
    name->set_yalign(0);
    // A value of megabytes (a data: address) would hold the window while it is laid out.
    const std::string shown = ScreenLine(value);
    auto* text = Gtk::make_managed<Gtk::Label>(shown);
    text->set_xalign(0);
    text->set_selectable(true);
    text->set_line_wrap(true);
    text->set_line_wrap_mode(Pango::WRAP_CHAR);
    text->set_max_width_chars(60);
    if (std::string whole = DisplayText(value); whole != shown) CopyWholeValueFrom(*text, std::move(whole));
    rows_.attach(*name, 0, rowCount_);
    rows_.attach(*text, 1, rowCount_);
    ++rowCount_;
}

std::string PagePropertiesDialog::Value(const std::string& caption) const {
    for (int row = 0; row < rowCount_; ++row) {
        auto* name = dynamic_cast<const Gtk::Label*>(rows_.get_child_at(0, row));
        if (name && name->get_text() == caption)
            return dynamic_cast<const Gtk::Label*>(rows_.get_child_at(1, row))->get_text();
    }
    return "";
}

void PagePropertiesDialog::on_response(int) { hide(); }

void PagePropertiesDialog::on_hide() {
    Gtk::Dialog::on_hide();
    if (closing_) return;
    closing_ = true;
    Glib::signal_idle().connect_once([this] { delete this; });
}

}  // namespace platform
