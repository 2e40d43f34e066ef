#include "platform/focus_keeper.h"

#include <glibmm/main.h>
#include <gtkmm/dialog.h>

#include <algorithm>

namespace platform {

namespace {
// The window that becomes active is told so after the one that stops being active.
constexpr unsigned int SettleMs = 50;

bool AnotherProgramWindowActive(const Gtk::Window& window) {
    const auto windows = Gtk::Window::list_toplevels();
    return std::any_of(windows.begin(), windows.end(), [&](Gtk::Window* other) {
        return other != &window && other->is_active() && !dynamic_cast<Gtk::Dialog*>(other);
    });
}
}  // namespace

void TakeFocusBackFromProgramWindows(Gtk::Window& window) {
    Glib::signal_timeout().connect_once(sigc::track_obj(
                                            [&window] {
                                                if (window.get_visible() && AnotherProgramWindowActive(window))
                                                    window.present();
                                            },
                                            window),
                                        SettleMs);
}

}  // namespace platform
