#include "platform/screen.h"

#include <gdk/gdk.h>
#include <gdkmm/screen.h>

#include "platform/form.h"
#include "platform/twips.h"

#include <optional>

namespace platform {

namespace {
std::optional<PixelRect> testArea;
}

PixelRect WorkArea() {
    if (testArea) return *testArea;
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display) monitor = gdk_display_get_monitor(display, 0);
    if (!monitor) return {0, 0, 1024, 768};
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    return {area.x, area.y, area.x + area.width, area.y + area.height};
}

void CentreOnScreen(Form& form) {
    auto screen = Gdk::Screen::get_default();
    form.Move((PixelsToTwipsX(screen->get_width()) - form.Width()) / 2,
              (PixelsToTwipsY(screen->get_height()) - form.Height()) / 2);
}

void CentreOver(Form& form, Form& owner) {
    form.Move(owner.Left() + (owner.Width() - form.Width()) / 2, owner.Top() + (owner.Height() - form.Height()) / 2);
}

void SetWorkAreaForTesting(const PixelRect& area) { testArea = area; }

}  // namespace platform
