#pragma once

#include <gtkmm/window.h>

#include <functional>
#include <vector>

namespace platform {

// Keeps a drop-down window (a window of the program's own menus, placed by the
// program above everything else and never focused) open only while the user works
// with it. It takes the activation when it is mapped: from then on it loses it,
// once, when the user clicks anywhere outside it (in another of the
// program's windows, in another program's window or on the desktop, with or without
// a window manager), when another window of the program shows, when a modal dialog
// of the program takes over, or when another program grabs the pointer.
//
// While the pointer is over the program's own windows they get its events as usual,
// so the menu bar stays live under an open menu; while it is anywhere else the
// drop-down holds the pointer, so that a press there comes to it.
class DropDownWatch {
public:
    DropDownWatch(Gtk::Window& window, std::function<void()> deactivate);
    ~DropDownWatch();
    DropDownWatch(const DropDownWatch&) = delete;
    DropDownWatch& operator=(const DropDownWatch&) = delete;

    // Another window of the program is showing: the open drop-down loses the activation.
    static void WindowShown(const Gtk::Window& window);

private:
    void Open();
    void Close();
    void LoseActivation();
    // Holds the pointer exactly while it is outside the program's windows.
    void FollowPointer();
    void Release();
    bool Contains(double xRoot, double yRoot) const;
    static gboolean OnAnyButtonPress(GSignalInvocationHint*, guint count, const GValue* values, gpointer);
    static gboolean OnAnyButtonRelease(GSignalInvocationHint*, guint, const GValue*, gpointer);
    static gboolean OnAnyLeave(GSignalInvocationHint*, guint, const GValue*, gpointer);

    Gtk::Window& window_;
    std::function<void()> deactivate_;
    bool active_ = false;
    bool holdsPointer_ = false;
    bool pressedOutside_ = false;
    std::vector<sigc::connection> connections_;
};

}  // namespace platform
