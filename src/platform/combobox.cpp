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
        case GDK_KEY_Delete:
        case GDK_KEY_KP_Delete: return vbKeyDelete;
        default: break;
    }
    const unsigned upper = gdk_keyval_to_upper(keyval);
    if (upper < 128) return static_cast<int>(upper);
    return static_cast<int>(keyval & 0xFFFF);
}

namespace {
void FitStyleInto(GtkWidget* widget, const Glib::RefPtr<Gtk::CssProvider>& css) {
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(css->gobj()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    if (!GTK_IS_CONTAINER(widget)) return;
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer provider) {
            FitStyleInto(child, *static_cast<const Glib::RefPtr<Gtk::CssProvider>*>(provider));
        },
        const_cast<Glib::RefPtr<Gtk::CssProvider>*>(&css));
}

// The arrow button inside the box, which drops the list down.
GtkWidget* ArrowButtonIn(GtkWidget* widget) {
    if (GTK_IS_TOGGLE_BUTTON(widget)) return widget;
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    GtkWidget* found = nullptr;
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer result) {
            auto& button = *static_cast<GtkWidget**>(result);
            if (!button) button = ArrowButtonIn(child);
        },
        &found);
    return found;
}

int ShiftOf(guint state) {
    return ((state & GDK_SHIFT_MASK) ? 1 : 0) | ((state & GDK_CONTROL_MASK) ? 2 : 0) | ((state & GDK_MOD1_MASK) ? 4 : 0);
}
}  // namespace

ComboBox::ComboBox() : Control(std::make_unique<Gtk::ComboBoxText>(true)) {
    combo_ = static_cast<Gtk::ComboBoxText*>(&Widget());
    // The toolkit's address box is one line of text high: the theme's sizes and
    // padding, down to the arrow button inside the box, are made to fit it.
    auto css = Gtk::CssProvider::create();
    css->load_from_data("* { min-height: 0; } entry { padding: 0 4px; } button { padding: 0 2px; min-width: 0; }");
    FitStyleInto(GTK_WIDGET(combo_->gobj()), css);
    auto& entry = Entry();
    // The box takes the width the layout gives it, however narrow.
    entry.set_width_chars(1);
    entry.show();
    Track(entry.signal_key_press_event().connect(
        [this](GdkEventKey* event) {
            const int code = KeyCodeOf(event->keyval), shift = ShiftOf(event->state);
            if (KeyDown) DispatchWhileAlive([this, code, shift] { KeyDown(code, shift); });
            const int ascii = code == vbKeyReturn ? 13 : static_cast<int>(gdk_keyval_to_unicode(event->keyval));
            if (ascii > 0 && KeyPress) DispatchWhileAlive([this, ascii] { KeyPress(ascii); });
            const bool down = event->keyval == GDK_KEY_Down || event->keyval == GDK_KEY_KP_Down;
            if (down && shift == vbAltMask) FillPopupList();
            if (shift != 0) return false;
            switch (event->keyval) {
                case GDK_KEY_Up: case GDK_KEY_KP_Up: return MoveThroughList(-1);
                case GDK_KEY_Down: case GDK_KEY_KP_Down: return MoveThroughList(+1);
                default: return false;
            }
        },
        false));
    Track(entry.signal_key_release_event().connect(
        [this](GdkEventKey* event) {
            const int code = KeyCodeOf(event->keyval), shift = ShiftOf(event->state);
            if (KeyUp) DispatchWhileAlive([this, code, shift] { KeyUp(code, shift); });
            return false;
        },
        false));
    Track(entry.signal_changed().connect([this] {
        if (!settingText_ && Change) DispatchWhileAlive([this] { Change(); });
    }));
    // The drop-down is sized for the rows it holds when it opens: they are put in
    // before, when the arrow is pressed or Alt+Down typed.
    if (GtkWidget* arrow = ArrowButtonIn(GTK_WIDGET(combo_->gobj())))
        Track(Glib::wrap(arrow)->signal_event().connect(
            [this](GdkEvent* event) {
                if (event->type == GDK_BUTTON_PRESS && event->button.button == 1) FillPopupList();
                return false;
            },
            false));
    // Picking the entry that is already active picks it again.
    Track(combo_->property_popup_shown().signal_changed().connect([this] {
        if (!combo_->property_popup_shown()) return;
        FillPopupList();
        SetActiveQuietly(-1);
    }));
    Track(combo_->signal_changed().connect([this] {
        if (!quiet_ && combo_->get_active_row_number() >= 0 && Click) DispatchWhileAlive([this] { Click(); });
    }));
}

void ComboBox::SetActiveQuietly(int row) {
    quiet_ = true;
    combo_->set_active(row);
    quiet_ = false;
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
    ListChanged();
}

void ComboBox::SetItems(std::vector<std::string> items) {
    SortForList(items);
    items_ = std::move(items);
    ListChanged();
}

void ComboBox::Clear() {
    items_.clear();
    ListChanged();
}

// The rows of the drop-down are filled from the list only when it drops down: a
// long address list costs nothing until then. Meanwhile it keeps one row, so that
// it can drop down at all, and none for an empty list.
void ComboBox::ListChanged() {
    popupListCurrent_ = false;
    const bool hasRows = combo_->get_model()->children().size() > 0;
    if (items_.empty() != hasRows) return;
    if (items_.empty())
        SetRows({});
    else
        SetRows({items_.front()});
}

void ComboBox::FillPopupList() {
    if (popupListCurrent_) return;
    popupListCurrent_ = true;
    SetRows(items_);
}

void ComboBox::SetRows(const std::vector<std::string>& rows) {
    const std::string text = Text();
    quiet_ = true;
    combo_->remove_all();
    for (const auto& row : rows) combo_->append(DisplayText(row));
    quiet_ = false;
    SetText(text);
}

// The arrow keys move from the entry shown to the next or the previous one of
// the list held, and open it; from a text that is no entry, Down goes to the
// first entry and Up to the last.
bool ComboBox::MoveThroughList(int step) {
    if (items_.empty()) return true;
    const auto shown = std::find(items_.begin(), items_.end(), Text());
    const long last = static_cast<long>(items_.size()) - 1;
    long index = shown == items_.end() ? (step > 0 ? 0 : last) : (shown - items_.begin()) + step;
    index = std::clamp(index, 0L, last);
    SetText(items_[index]);
    Entry().select_region(0, -1);
    if (Click) DispatchWhileAlive([this] { Click(); });
    return true;
}

const std::string& ComboBox::List(int index) const {
    if (index < 0 || index >= ListCount()) throw ToolkitError(errors::InvalidProcedureCall, "Invalid procedure call or argument");
    return items_[index];
}

}  // namespace platform
