#include "platform/focus_keeper.h"

#include <glibmm/main.h>
#include <gtkmm/dialog.h>

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {
// The window that becomes active is told so after the one that stops being active,
// and a window that has just asked for the focus has it only once the X server and
// the window manager have answered: the keeper looks again at this pace for a while.
constexpr unsigned int SettleMs = 50;
constexpr int Looks = 20;

GQuark ShownOrderKey() {
    static const GQuark key = g_quark_from_static_string("quellin-shown-order");
    return key;
}

// When the window was first shown, counted from 1; 0 for a window never noted.
std::uintptr_t ShownOrder(const Gtk::Window& window) {
    return GPOINTER_TO_SIZE(g_object_get_qdata(G_OBJECT(window.gobj()), ShownOrderKey()));
}

// The active window of the program that the window takes the focus back from:
// one shown before it, not a message box.
bool OlderProgramWindowActive(const Gtk::Window& window) {
    const auto windows = Gtk::Window::list_toplevels();
    return std::any_of(windows.begin(), windows.end(), [&](Gtk::Window* other) {
        return other != &window && other->is_active() && !dynamic_cast<Gtk::Dialog*>(other) &&
               ShownOrder(*other) < ShownOrder(window);
    });
}
}  // namespace

void NoteFirstShown(Gtk::Window& window) {
    static std::uintptr_t shown = 0;
    g_object_set_qdata(G_OBJECT(window.gobj()), ShownOrderKey(), GSIZE_TO_POINTER(++shown));
}

void TakeFocusBackFromProgramWindows(Gtk::Window& window) {
    Glib::signal_timeout().connect(sigc::track_obj(
                                       [&window, looksLeft = Looks]() mutable {
                                           if (!window.get_visible() || window.is_active()) return false;
                                           if (OlderProgramWindowActive(window)) {
                                               window.present();
                                               return false;
                                           }
                                           return --looksLeft > 0;
                                       },
                                       window),
                                   SettleMs);
}

}  // namespace platform
