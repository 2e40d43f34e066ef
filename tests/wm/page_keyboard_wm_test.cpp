#include <gtest/gtest.h>
#include <webkit2/webkit2.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Forms.h"
#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "page_script.h"
#include "pointer.h"
#include "platform/app.h"
#include "platform/webkit/webkit_view.h"
#include "real_program.h"
#include "test_support.h"
#include "x_window.h"

using namespace platform;
using testing_support::Pump;

namespace {

void ClickOn(Control& control, int x, int y) {
    ASSERT_NO_FATAL_FAILURE(testing_support::PointAtControl(control, x, y));
    testing_support::Click();
}

class PageKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::PrepareProgramOnRealViews();
        page = testing_support::TempRoot() / "login.htm";
        std::ofstream(page) << "<html><head><title>Login</title></head><body>"
                               "<input id=pw type=password style='position:absolute;left:0;top:0;width:400px;height:60px'>"
                               "</body></html>";
        SetCommandForTesting(page.string());
        frmSplash.Get();
        ASSERT_TRUE(Pump([] { return frmMain->labCaption.Caption() == "Login" && !frmMain->WebBrowser1(0).Busy(); }));
        ASSERT_TRUE(Pump([] { return frmDummy.Loaded() && frmDummy->Window().get_mapped(); }, 5000));
        frmMain->WaitForPlacement();
    }

    static WebKitWebView* Page() {
        return dynamic_cast<WebKitView&>(frmMain->WebBrowser1(CurrentTab).View()).WebView();
    }
    static std::string PasswordTyped() { return testing_support::EvaluateScript(Page(), "document.getElementById('pw').value"); }
    static void ClearPassword() { testing_support::EvaluateScript(Page(), "document.getElementById('pw').value = ''"); }

    // Clicks the password field at the page's top left corner and types into it.
    void ClickThePageAndType(const std::string& text) {
        FrmMain& main = frmMain.Get();
        main.WaitForPlacement();
        ClickOn(main.Picture1, 40, 20);
        testing_support::PumpFor(300);
        ASSERT_EQ(std::system(("xdotool type --delay 20 " + text).c_str()), 0);
        Pump([&] { return PasswordTyped() == text; }, 3000);
    }

    std::filesystem::path page;
};

// The address bar had the focus when the program's own button minimised the window;
// restored from the taskbar window, a click on the page gives the page the keyboard,
// though the tabs opened after the page's own lie in the same place.
TEST_F(PageKeyboard, AClickOnThePageAfterARestoreFromTheTaskbarGivesThePageTheKeys) {
    FrmMain& main = frmMain.Get();
    // The page takes keys at all (the first after its load may go to the engine's start-up).
    ASSERT_NO_FATAL_FAILURE(ClickThePageAndType("before"));
    ClearPassword();
    main.AddTab("about:blank");
    main.AddTab("about:blank");
    ClickOn(main.picTab(0), 20, 10);
    ASSERT_TRUE(Pump([] { return CurrentTab == 0; }, 3000)) << "the page's own tab was not selected";
    for (int round = 0; round < 2; ++round) {
        // Maximised and restored by the program's own button.
        ClickOn(main.picMax, 4, 4);
        ASSERT_TRUE(Pump([] { return IsMaximised == 1; }, 3000)) << "not maximised";
        main.WaitForPlacement();
        ClickOn(main.picMax, 4, 4);
        ASSERT_TRUE(Pump([] { return IsMaximised == 0; }, 3000)) << "not restored";
        main.WaitForPlacement();

        const std::string address = main.Combo1.Text();
        ClickOn(main.Combo1, 20, 10);
        ASSERT_TRUE(Pump([&] {
            const Gtk::Widget* focus = main.Window().get_focus();
            return main.Window().is_active() && focus && focus->is_ancestor(main.Combo1.Widget());
        }, 3000)) << "the address bar did not take the focus";
        ClickOn(main.picMin, 4, 4);
        ASSERT_TRUE(Pump([&] {
            return !main.Window().get_mapped() &&
                   (frmDummy->Window().get_window()->get_state() & Gdk::WINDOW_STATE_ICONIFIED);
        }, 5000)) << "not minimised";
        ASSERT_EQ(std::system(("wmctrl -i -a " + x_window::Id(frmDummy.Get())).c_str()), 0);
        ASSERT_TRUE(Pump([&] { return main.Window().get_mapped() && main.Window().is_active(); }, 5000))
            << "not restored";

        const std::string typed = round == 0 ? "secret" : "other";
        ASSERT_NO_FATAL_FAILURE(ClickThePageAndType(typed));
        EXPECT_EQ(PasswordTyped(), typed) << "round " << round;
        EXPECT_EQ(main.Combo1.Text(), address) << "the keys went to the address bar";
        ClearPassword();
    }
}

}  // namespace
