#include "platform/drop_down_watch.h"

#include <gdkmm/display.h>
#include <gdkmm/seat.h>
#include <gdkmm/window.h>

#include "platform/app.h"

namespace platform {

namespace {
DropDownWatch* openDropDown = nullptr;
}  // namespace

DropDownWatch::DropDownWatch(Gtk::Window& window, std::function<void()> deactivate)
    : window_(window), deactivate_(std::move(deactivate)) {
    // Every button press of the program passes this hook first, whichever widget gets it.
    static const gulong hook = g_signal_add_emission_hook(
        g_signal_lookup("button-press-event", GTK_TYPE_WIDGET), 0, &DropDownWatch::OnAnyButtonPress, nullptr, nullptr);
    static_cast<void>(hook);
    window_.add_events(Gdk::BUTTON_PRESS_MASK);
    window_.signal_map_event().connect([this](GdkEventAny*) {
        Open();
        return false;
    });
    window_.signal_unmap_event().connect([this](GdkEventAny*) {
        Close();
        return false;
    });
    window_.signal_grab_broken_event().connect([this](GdkEventGrabBroken*) {
        LoseActivation();
        return false;
    });
    // A modal dialog of the program shadows every other window.
    window_.signal_grab_notify().connect([this](bool wasGrabbed) {
        if (!wasGrabbed) LoseActivation();
    });
}

DropDownWatch::~DropDownWatch() { Close(); }

void DropDownWatch::Open() {
    if (openDropDown && openDropDown != this) openDropDown->LoseActivation();
    openDropDown = this;
    active_ = true;
    // Presses outside every window of the program come to the drop-down; those on the
    // program's own windows go where they were made, so the menu bar stays live.
    auto seat = window_.get_display()->get_default_seat();
    seat->grab(window_.get_window(), Gdk::SEAT_CAPABILITY_ALL_POINTING, true);
}

void DropDownWatch::Close() {
    if (openDropDown != this) return;
    openDropDown = nullptr;
    window_.get_display()->get_default_seat()->ungrab();
}

void DropDownWatch::LoseActivation() {
    if (!active_) return;
    active_ = false;
    Close();
    Dispatch(deactivate_);
}

bool DropDownWatch::Contains(double xRoot, double yRoot) const {
    auto window = window_.get_window();
    if (!window) return false;
    int left = 0, top = 0;
    window->get_origin(left, top);
    return xRoot >= left && yRoot >= top && xRoot < left + window->get_width() && yRoot < top + window->get_height();
}

void DropDownWatch::WindowShown(const Gtk::Window& window) {
    if (openDropDown && &openDropDown->window_ != &window) openDropDown->LoseActivation();
}

gboolean DropDownWatch::OnAnyButtonPress(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (!openDropDown || count < 2) return TRUE;
    const auto* event = static_cast<const GdkEventButton*>(g_value_get_boxed(&values[1]));
    if (event && event->type == GDK_BUTTON_PRESS && !openDropDown->Contains(event->x_root, event->y_root))
        openDropDown->LoseActivation();
    return TRUE;
}

}  // namespace platform
