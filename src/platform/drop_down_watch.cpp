#include "platform/drop_down_watch.h"

#include <gdkmm/display.h>
#include <gdkmm/seat.h>
#include <gdkmm/window.h>

#include "platform/app.h"

namespace platform {

namespace {
DropDownWatch* openDropDown = nullptr;

gulong HookEveryWidget(const char* signal, GSignalEmissionHook hook) {
    return g_signal_add_emission_hook(g_signal_lookup(signal, GTK_TYPE_WIDGET), 0, hook, nullptr, nullptr);
}
}  // namespace

DropDownWatch::DropDownWatch(Gtk::Window& window, std::function<void()> deactivate)
    : window_(window), deactivate_(std::move(deactivate)) {
    // Every button press and every pointer leaving a window of the program pass these
    // hooks first, whichever widget gets them.
    [[maybe_unused]] static const gulong hooks[] = {HookEveryWidget("button-press-event", &OnAnyButtonPress),
                                                    HookEveryWidget("button-release-event", &OnAnyButtonRelease),
                                                    HookEveryWidget("leave-notify-event", &OnAnyLeave)};
    window_.add_events(Gdk::BUTTON_PRESS_MASK | Gdk::BUTTON_RELEASE_MASK | Gdk::POINTER_MOTION_MASK);
    connections_.push_back(window_.signal_map().connect([this] { Open(); }));
    // Only a window the server shows can hold the pointer.
    connections_.push_back(window_.signal_map_event().connect([this](GdkEventAny*) {
        if (openDropDown == this) FollowPointer();
        return false;
    }));
    connections_.push_back(window_.signal_unmap().connect([this] { Close(); }));
    // While the drop-down holds the pointer, every move comes here.
    connections_.push_back(window_.signal_motion_notify_event().connect([this](GdkEventMotion*) {
        if (holdsPointer_) FollowPointer();
        return false;
    }));
    connections_.push_back(window_.signal_grab_broken_event().connect([this](GdkEventGrabBroken*) {
        holdsPointer_ = false;
        LoseActivation();
        return false;
    }));
    // A modal dialog of the program shadows every other window.
    connections_.push_back(window_.signal_grab_notify().connect([this](bool wasGrabbed) {
        if (!wasGrabbed) LoseActivation();
    }));
}

DropDownWatch::~DropDownWatch() {
    // The window outlives its watch by a moment.
    for (auto& connection : connections_) connection.disconnect();
    Close();
}

void DropDownWatch::Open() {
    if (openDropDown && openDropDown != this) openDropDown->LoseActivation();
    openDropDown = this;
    active_ = true;
    pressedOutside_ = false;
}

void DropDownWatch::Close() {
    if (openDropDown != this) return;
    openDropDown = nullptr;
    Release();
}

void DropDownWatch::Release() {
    if (!holdsPointer_) return;
    holdsPointer_ = false;
    window_.get_display()->get_default_seat()->ungrab();
}

void DropDownWatch::FollowPointer() {
    auto seat = window_.get_display()->get_default_seat();
    int x = 0, y = 0;
    // The window under the pointer is known only when it is one of the program's.
    const bool overProgram = static_cast<bool>(seat->get_pointer()->get_window_at_position(x, y));
    if (overProgram) {
        Release();
    } else if (!holdsPointer_ && window_.get_window()->is_viewable()) {
        holdsPointer_ = seat->grab(window_.get_window(), Gdk::SEAT_CAPABILITY_ALL_POINTING, false) == Gdk::GRAB_SUCCESS;
    }
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
        openDropDown->pressedOutside_ = true;
    return TRUE;
}

// The drop-down closes once the click outside it is over: letting go of the pointer
// while a button is down would leave the release to nobody.
gboolean DropDownWatch::OnAnyButtonRelease(GSignalInvocationHint*, guint, const GValue*, gpointer) {
    if (openDropDown && openDropDown->pressedOutside_) openDropDown->LoseActivation();
    return TRUE;
}

gboolean DropDownWatch::OnAnyLeave(GSignalInvocationHint*, guint, const GValue*, gpointer) {
    if (openDropDown && openDropDown->active_) openDropDown->FollowPointer();
    return TRUE;
}

}  // namespace platform
