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
#include "pointer.h"
#include "platform/app.h"
#include "platform/url_cache.h"
#include "platform/webkit/plain_browser_window.h"
#include "platform/webkit/webkit_view.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using platform::PlainBrowserWindow;
using platform::WebKitView;
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
        answerer.disconnect();
        for (PlainBrowserWindow* window : PlainWindows()) window->hide();
        PumpFor(50);
    }

    void StartInMode(int mode, const std::string& page = "/opener") {
        std::ofstream(folder / "browser.ini", std::ios::binary) << "[Popups]\r\n" << mode << "\r\n";
        platform::SetCommandForTesting(server.Url(page));
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

    // Answers every pop-up question with that button, counting the questions.
    void AnswerEveryQuestionWith(platform::CommandButton FrmPopup::*button) {
        answerer = Glib::signal_timeout().connect(
            [this, button] {
                if (QuestionOpen()) {
                    ++questions;
                    static_cast<Gtk::Button&>((frmPopup.Get().*button).Widget()).clicked();
                }
                return true;
            },
            20);
    }

    // The engine's processes share the machine with other tests: wait generously.
    static bool WaitFor(const std::function<bool()>& done) { return Pump(done, 30000); }

    fs::path folder;
    TestServer server;
    sigc::connection answerer;
    int questions = 0;
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

// A page that opens windows in a loop as it loads, and again at every click in it.
struct FloodInMode {
    int mode;
    int windowsEachRound, tabsEachRound, questionsEachRound;
};

class PopupFloodEndToEnd : public PopupEndToEnd, public ::testing::WithParamInterface<FloodInMode> {};

// The page gets a bounded number of windows for its load and for each click, in
// every mode; in the asking mode the question is not asked for those it is refused.
TEST_P(PopupFloodEndToEnd, APageGetsABoundedNumberOfPopupsForItsLoadAndForEachClick) {
    server.Add("/flood", "<html><head><title>Flood</title></head><body style='height:400px'><script>"
                         "let opened = 0, rounds = 0;"
                         "function flood() {"
                         "  for (let i = 0; i < 60; i++) if (window.open('', 'flood' + rounds + '_' + i)) ++opened;"
                         "  document.title = 'Opened ' + opened + ' in ' + ++rounds;"
                         "}"
                         "flood(); document.addEventListener('click', flood);"
                         "</script></body></html>");
    const FloodInMode expected = GetParam();
    const int opened = expected.windowsEachRound + expected.tabsEachRound;
    if (expected.mode == 3) AnswerEveryQuestionWith(&FrmPopup::Command1);
    StartInMode(expected.mode, "/flood");
    for (int round = 1; round <= 2; ++round) {
        const std::string title = "Opened " + std::to_string(round * opened) + " in " + std::to_string(round);
        ASSERT_TRUE(WaitFor([&] { return frmMain->WebBrowser1(0).LocationName() == title; }))
            << "round " << round << ": " << frmMain->WebBrowser1(0).LocationName();
        EXPECT_EQ(static_cast<int>(PlainWindows().size()), expected.windowsEachRound);
        EXPECT_EQ(frmMain->WebBrowser1.UBound(), round * expected.tabsEachRound);
        EXPECT_EQ(questions, round * expected.questionsEachRound);
        if (round == 2) break;
        // The user clicks in the page.
        for (PlainBrowserWindow* window : PlainWindows()) window->hide();
        ASSERT_TRUE(WaitFor([] { return PlainWindows().empty(); }));
        frmMain->picTab_Click(0);
        testing_support::PointAtControl(frmMain->WebBrowser1(0), 100, 100);
        testing_support::Click();
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PopupFloodEndToEnd,
                         ::testing::Values(FloodInMode{1, WebKitView::PopupsPerAction, 0, 0},
                                           FloodInMode{2, 0, WebKitView::PopupsPerAction, 0},
                                           FloodInMode{3, 0, 0, WebKitView::PopupsPerAction}),
                         [](const ::testing::TestParamInfo<FloodInMode>& info) {
                             return "Mode" + std::to_string(info.param.mode);
                         });

}  // namespace
