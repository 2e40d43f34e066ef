#include "pointer.h"

#include <gtest/gtest.h>
#include <gdkmm/window.h>
#include <gtkmm/container.h>

#include <cstdlib>
#include <string>

#include "platform/control.h"

namespace testing_support {

void PointAt(int x, int y) {
    const std::string to = " " + std::to_string(x) + " " + std::to_string(y);
    ASSERT_EQ(std::system(("xdotool mousemove" + to + " sleep 0.05 mousemove_relative 1 0").c_str()), 0);
}

void PointAtControl(platform::Control& control, int x, int y) {
    Gtk::Widget& widget = control.Widget();
    int inWindowX = 0, inWindowY = 0, windowX = 0, windowY = 0;
    ASSERT_TRUE(widget.translate_coordinates(*widget.get_toplevel(), x, y, inWindowX, inWindowY));
    widget.get_toplevel()->get_window()->get_origin(windowX, windowY);
    PointAt(windowX + inWindowX, windowY + inWindowY);
}

void Click() { ASSERT_EQ(std::system("xdotool click 1"), 0); }

}  // namespace testing_support
