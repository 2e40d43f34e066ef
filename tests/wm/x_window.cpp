#include "x_window.h"

#include <gdk/gdkx.h>
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

namespace x_window {

namespace {
Window Xid(platform::Form& form) { return gdk_x11_window_get_xid(form.Window().get_window()->gobj()); }

// The property's items (32-bit items come as longs), none when it is missing.
std::vector<unsigned long> Property(platform::Form& form, const char* name, Atom type) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(display, Xid(form), XInternAtom(display, name, False), 0, 64, False, type, &actualType,
                           &format, &count, &after, &data) != Success || !data)
        return items;
    items.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    XFree(data);
    return items;
}
}  // namespace

std::string Id(platform::Form& form) { return std::to_string(Xid(form)); }

std::string Title(platform::Form& form) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, Xid(form), XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display, "UTF8_STRING", False), &actualType, &format, &count, &after,
                           &data) != Success || !data)
        return {};
    std::string title(reinterpret_cast<char*>(data), count);
    XFree(data);
    return title;
}

std::vector<unsigned long> FrameExtents(platform::Form& form) {
    return Property(form, "_NET_FRAME_EXTENTS", XA_CARDINAL);
}

std::vector<std::string> AllowedActions(platform::Form& form) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    std::vector<std::string> names;
    for (unsigned long atom : Property(form, "_NET_WM_ALLOWED_ACTIONS", XA_ATOM)) {
        char* name = XGetAtomName(display, atom);
        names.emplace_back(name);
        XFree(name);
    }
    return names;
}

bool ShowsNothingAndTakesNoClicks(platform::Form& form) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    for (int kind : {ShapeBounding, ShapeInput}) {
        int count = -1, ordering = 0;
        XRectangle* rectangles = XShapeGetRectangles(display, Xid(form), kind, &count, &ordering);
        if (rectangles) XFree(rectangles);
        if (count != 0) return false;
    }
    return true;
}

MotifHints Motif(platform::Form& form) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    const auto items = Property(form, "_MOTIF_WM_HINTS", XInternAtom(display, "_MOTIF_WM_HINTS", False));
    if (items.size() < 3) return {};
    return {(items[0] & 1) != 0, (items[0] & 2) != 0, items[1], items[2]};
}

}  // namespace x_window
