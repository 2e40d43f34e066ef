#include <gdkmm/display.h>
#include <gdkmm/seat.h>
#include <gdkmm/window.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "menus/FrmMenu.h"
#include "menus/MenuState.h"
#include "page_script.h"
#include "platform/app.h"
#include "platform/browser_view.h"
#include "platform/common_dialog.h"
#include "platform/twips.h"
#include "platform/url_cache.h"
#include "platform/webkit/webkit_view.h"
#include "real_program.h"
#include "soup_server.h"
#include "test_support.h"

using namespace platform;
using testing_support::Pump;
using testing_support::TestServer;

namespace {

// The program on real WebKit views, driven with the real pointer of its own X server.
class MenusE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::PrepareProgramOnRealViews();
        // Each page is titled by its name.
        for (std::string name : {"start", "one", "two", "three"})
            server.Add("/" + name, "<!DOCTYPE html><title>" + name + "</title>" + name);
        SetCommandForTesting(server.Url("/start"));
        frmSplash.Get();
        ASSERT_TRUE(Pump([&] { return Main().labCaption.Caption() == "start" && !Main().Timer1(0).Enabled(); }));
    }

    void TearDown() override { SetFileDialogResponder(nullptr); }

    FrmMain& Main() { return frmMain.Get(); }

    // Moves the real pointer to screen twips and clicks there when asked.
    static void PointAt(double x, double y, bool click) {
        const std::string command = "xdotool mousemove " + std::to_string(TwipsToPixelsX(x)) + " " +
                                    std::to_string(TwipsToPixelsY(y)) + (click ? " click 1" : "");
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // The middle of a title of the menu bar, in screen twips.
    void PointAtTitle(const Label& title, bool click) {
        const double x = Main().Left() + Main().Picture9.Left() + title.Left() + title.Width() / 2;
        const double y = Main().Top() + Main().Picture9.Top() + title.Top() + title.Height() / 2;
        PointAt(x, y, click);
        // The menu opens as the pointer moves on over the title.
        PointAt(x + 15, y, false);
    }

    // Clicks the row of the open drop-down that has the caption.
    void ClickRow(const std::string& caption) {
        auto& menu = *frmMenu.IfLoaded();
        for (int k = 0; k <= menu.mnuText.UBound(); ++k) {
            if (menu.mnuText(k).Caption() != caption) continue;
            const auto& row = menu.mnuText(k);
            const double x = menu.Left() + row.Left() + 150, y = menu.Top() + row.Top() + row.Height() / 2;
            PointAt(x, y, false);
            // The server shows the menu a moment after the toolkit has mapped it.
            ASSERT_TRUE(Pump([&] { return UnderPointerIsMenu(); }));
            PointAt(x, y, true);
            return;
        }
        ADD_FAILURE() << "no row " << caption;
    }

    // The drop-down of the key is on screen with its rows laid out.
    bool MenuShown(const std::string& key) {
        if (!frmMenu.Loaded() || CurrentMenu != key || !frmMenu->Window().get_mapped()) return false;
        auto& lastRow = frmMenu->mnuText(frmMenu->mnuText.UBound()).Widget();
        return lastRow.get_mapped() && lastRow.get_allocated_width() == TwipsToPixelsX(frmMenu->Width() - 480);
    }

    bool UnderPointerIsMenu() {
        int x = 0, y = 0;
        auto seat = Gdk::Display::get_default()->get_default_seat();
        auto under = seat->get_pointer()->get_window_at_position(x, y);
        return under && frmMenu.Loaded() && under->get_toplevel() == frmMenu->Window().get_window();
    }

    WebKitWebView* View(int tab) { return dynamic_cast<WebKitView&>(Main().WebBrowser1(tab).View()).WebView(); }

    std::filesystem::path folder;
    TestServer server;
};

TEST_F(MenusE2eTest, TheMenusChainAlongTheBarRunTheirItemsAndCloseOnAClickOutside) {
    PointAtTitle(Main().mnuFile, true);
    ASSERT_TRUE(Pump([&] { return MenuShown("file"); }));
    PointAtTitle(Main().Label2, false);
    ASSERT_TRUE(Pump([&] { return MenuShown("view"); }));
    EXPECT_EQ(MenuItems[8], "Source");

    ClickRow("Source");
    const std::string source = "view-source:" + server.Url("/start");
    ASSERT_TRUE(Pump([&] { return Main().WebBrowser1(0).LocationURL() == source && !Main().WebBrowser1(0).Busy(); }));
    EXPECT_FALSE(frmMenu.Loaded());
    EXPECT_EQ(MenuMode, 0);
    EXPECT_NE(testing_support::EvaluateScript(View(0), "document.body.innerText").find("<title>start</title>"),
              std::string::npos);

    // A click outside every window of the program closes the menu and ends menu mode.
    PointAtTitle(Main().Label1, true);
    ASSERT_TRUE(Pump([&] { return MenuShown("edit"); }));
    const double outsideX = Main().Left() + Main().Width() + 1500, outsideY = Main().Top() + Main().Height() + 1500;
    PointAt(outsideX, outsideY, false);
    // Away from the program's windows the menu holds the pointer.
    auto display = Gdk::Display::get_default();
    ASSERT_TRUE(Pump([&] { return display->device_is_grabbed(display->get_default_seat()->get_pointer()); }));
    PointAt(outsideX, outsideY, true);
    ASSERT_TRUE(Pump([&] { return !frmMenu.Loaded(); }));
    EXPECT_EQ(MenuMode, 0);
    EXPECT_EQ(CurrentMenu, "");

    // So does a click on the page.
    PointAtTitle(Main().Label4, true);
    ASSERT_TRUE(Pump([&] { return MenuShown("help"); }));
    PointAt(Main().Left() + Main().Picture1.Left() + Main().Picture1.Width() / 2,
            Main().Top() + Main().Picture1.Top() + Main().Picture1.Height() / 2, true);
    ASSERT_TRUE(Pump([&] { return !frmMenu.Loaded(); }));
}

TEST_F(MenusE2eTest, ATabLayoutOfThreeAddressesRestoresThreeLoadedTabs) {
    const auto layout = folder / "three.tab";
    std::ofstream(layout, std::ios::binary) << "<Tab Layout File>\r\n"
                                            << server.Url("/one") << "\r\n"
                                            << server.Url("/two") << "\r\n"
                                            << server.Url("/three") << "\r\n";
    SetFileDialogResponder([&](const FileDialogRequest&) { return std::optional<std::string>(layout.string()); });
    PointAtTitle(Main().Label5, true);
    ASSERT_TRUE(Pump([&] { return MenuShown("tabs"); }));
    ClickRow("Restore Tab Layout...");
    ASSERT_TRUE(Pump([&] {
        return Main().WebBrowser1.UBound() == 2 && Main().WebBrowser1(2).LocationName() == "three" &&
               Main().WebBrowser1(1).LocationName() == "two" && Main().WebBrowser1(0).LocationName() == "one";
    }));
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_EQ(Main().labCaption.Caption(), "one");
}

}  // namespace
