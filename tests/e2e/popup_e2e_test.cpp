#include <gtest/gtest.h>
#include <glibmm/main.h>
#include <gtkmm/button.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmPopup.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "memory_url_cache.h"
#include "platform/app.h"
#include "platform/url_cache.h"
#include "platform/webkit/plain_browser_window.h"
#include "platform/webkit/webkit_view.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::PlainBrowserWindow;
using testing_support::Pump;
using testing_support::PumpFor;
using testing_support::TestServer;

std::vector<PlainBrowserWindow*> PlainWindows() {
    std::vector<PlainBrowserWindow*> found;
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* plain = dynamic_cast<PlainBrowserWindow*>(window)) found.push_back(plain);
    return found;
}

// The program with real WebKit views, started on a page that opens a pop-up as
// soon as it has loaded.
class PopupEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::TempRoot() / "program";
        fs::create_directories(folder);
        platform::SetAppPathForTesting(folder.string());
        platform::SetUrlCache(std::make_unique<platform::MemoryUrlCache>());
        server.Add("/popup", "<html><head><title>Pop-up</title></head><body>popped</body></html>");
        server.Add("/opener", "<html><head><title>Opener</title></head><body>"
                              "<script>window.open('/popup', 'extra');</script></body></html>");
    }

    void TearDown() override {
        for (PlainBrowserWindow* window : PlainWindows()) window->hide();
        PumpFor(50);
    }

    void StartInMode(int mode) {
        std::ofstream(folder / "browser.ini", std::ios::binary) << "[Popups]\r\n" << mode << "\r\n";
        platform::SetCommandForTesting(server.Url("/opener"));
        frmSplash.Get();
        ASSERT_EQ(Settings.PopupMode, mode);
    }

    // Whether the tab shows the page, fully loaded.
    static bool Shows(int tab, const std::string& url) {
        return frmMain->WebBrowser1.UBound() >= tab && frmMain->WebBrowser1(tab).LocationURL() == url &&
               !frmMain->WebBrowser1(tab).Busy();
    }

    static bool QuestionOpen() {
        FrmPopup* question = frmPopup.IfLoaded();
        return question && question->Visible() && question->ShownModal();
    }

    // Answers the pop-up question with that button as soon as it is open.
    static void AnswerWith(platform::CommandButton FrmPopup::*button) {
        Glib::signal_timeout().connect(
            [button] {
                if (!QuestionOpen()) return true;
                static_cast<Gtk::Button&>((frmPopup.Get().*button).Widget()).clicked();
                return false;
            },
            20);
    }

    // The engine's processes share the machine with other tests: wait generously.
    static bool WaitFor(const std::function<bool()>& done) { return Pump(done, 30000); }

    fs::path folder;
    TestServer server;
};

TEST_F(PopupEndToEnd, ModeZeroOpensNothing) {
    StartInMode(0);
    ASSERT_TRUE(WaitFor([&] { return Shows(0, server.Url("/opener")); }));
    PumpFor(500);
    EXPECT_EQ(server.Hits("/popup"), 0);
    EXPECT_TRUE(PlainWindows().empty());
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);
}

TEST_F(PopupEndToEnd, ModeOneOpensAPlainWindowOfThePlatform) {
    StartInMode(1);
    PlainBrowserWindow* popup = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (PlainBrowserWindow* window : PlainWindows())
            if (window->get_visible() && window->View().LocationURL() == server.Url("/popup")) popup = window;
        return popup != nullptr;
    }));
    ASSERT_TRUE(WaitFor([&] { return popup->get_title() == "Pop-up"; }));
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);
}

TEST_F(PopupEndToEnd, ModeTwoLoadsThePopupInANewCurrentTab) {
    StartInMode(2);
    ASSERT_TRUE(WaitFor([&] { return Shows(1, server.Url("/popup")); }));
    EXPECT_EQ(frmMain->WebBrowser1(1).LocationName(), "Pop-up");
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(server.Hits("/popup"), 1);
    EXPECT_TRUE(PlainWindows().empty());
    EXPECT_TRUE(Shows(0, server.Url("/opener")));
}

TEST_F(PopupEndToEnd, APopupInANewTabIsThePagesOwnWindowWithItsScriptAndItsPostedForm) {
    server.Add("/writer", "<html><head><title>Writer</title></head><body><script>"
                          "var w = window.open('', 'written');"
                          "w.document.write('<title>Written</title>by the opener'); w.document.close();"
                          "document.title = 'Opened ' + (w.opener === window);"
                          "</script></body></html>");
    server.Add("/form", "<html><head><title>Form</title></head><body>"
                        "<form method=post action='/posted' target='_blank'><input name=word value=kept></form>"
                        "<script>document.forms[0].submit();</script></body></html>");
    server.Add("/posted", "<html><head><title>Posted</title></head><body>posted</body></html>");
    StartInMode(2);
    ASSERT_TRUE(WaitFor([&] { return Shows(1, server.Url("/popup")); }));
    frmMain->WebBrowser1(0).Navigate(server.Url("/writer"));
    // The pop-up can show its title before the opener's script has named the opener.
    ASSERT_TRUE(WaitFor([&] {
        return frmMain->WebBrowser1.UBound() == 2 && frmMain->WebBrowser1(2).LocationName() == "Written" &&
               frmMain->WebBrowser1(0).LocationName() != server.Url("/writer");
    }));
    EXPECT_EQ(frmMain->WebBrowser1(0).LocationName(), "Opened true") << "window.open must return the pop-up";

    frmMain->WebBrowser1(0).Navigate(server.Url("/form"));
    ASSERT_TRUE(WaitFor([&] { return Shows(3, server.Url("/posted")); }));
    EXPECT_EQ(server.Hits("/posted"), 1);
    EXPECT_EQ(server.LastRequestHeader("/posted", "Content-Length"), "9") << "the form's data must be posted";
}

TEST_F(PopupEndToEnd, ModeThreeAsksAndInNewTabLoadsThePopupInANewTab) {
    AnswerWith(&FrmPopup::OKButton);
    StartInMode(3);
    ASSERT_TRUE(WaitFor([&] { return Shows(1, server.Url("/popup")); }));
    EXPECT_EQ(PopupChoice, 1);
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_FALSE(frmPopup.Loaded());
    EXPECT_TRUE(PlainWindows().empty());
}

TEST_F(PopupEndToEnd, ModeThreeAsksAndDoNotOpenRefusesThePopup) {
    AnswerWith(&FrmPopup::Command1);
    StartInMode(3);
    ASSERT_TRUE(WaitFor([] { return PopupChoice == 3; }));
    ASSERT_TRUE(WaitFor([&] { return Shows(0, server.Url("/opener")); }));
    PumpFor(500);
    EXPECT_EQ(server.Hits("/popup"), 0);
    EXPECT_TRUE(PlainWindows().empty());
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);
}

}  // namespace
