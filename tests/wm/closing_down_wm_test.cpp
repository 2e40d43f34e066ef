#include <gtest/gtest.h>

#include <gtkmm/label.h>

#include <string>

#include "program_fixture.h"
#include "app/State.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmCleanup.h"
#include "x_window.h"

using namespace platform;
using testing_support::Pump;

namespace {

// The closing-down window shows its whole caption in the window manager's title
// bar, beside the buttons the window manager keeps there.
TEST_F(ProgramTest, TheClosingDownWindowsTitleIsShownWhole) {
    Start("about:blank");
    ASSERT_TRUE(Pump([] { return frmMain->Window().get_mapped(); }, 5000));
    Settings.CookieTrapMode = 1;
    FrmCleanup& cleanup = frmCleanup.Get();  // its load runs the check, whose End returns here
    ASSERT_TRUE(Pump([&] { return cleanup.Window().get_mapped(); }, 5000));
    cleanup.WaitForPlacement();
    EXPECT_EQ(x_window::Title(cleanup), "Closing down...");

    // openbox keeps an icon and three buttons in the title bar, each about as wide
    // as the bar is high, whatever the window asks for.
    const auto frame = x_window::FrameExtents(cleanup);
    ASSERT_EQ(frame.size(), 4u);
    const int barHeight = static_cast<int>(frame[2]);
    Gtk::Label title;
    title.set_markup("<b>Closing down...</b>");
    title.show();
    int minimum = 0, natural = 0;
    title.get_preferred_width(minimum, natural);
    EXPECT_GE(cleanup.Window().get_window()->get_width(), natural + 4 * barHeight)
        << "openbox cuts the title short: " << natural << " + 4 x " << barHeight;
    frmCleanup.Unload();
    Settings.CookieTrapMode = 0;
}

}  // namespace
