#include <glib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/State.h"
#include "platform/browser_view.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "program_fixture.h"

using namespace platform;

namespace {

// Normal, hover and pressed pictures of the eight toolbar buttons, by index.
const char* const Normal[] = {"picBackBut", "picForwardBut", "picrefreshBut", "picStopBut",
                              "picNewTabBut", "picDelTabBut", "picHistoryBut", "picSearchBut"};
const char* const Hover[] = {"picBackHiBut", "picForwardHiBut", "picRefreshHiBut", "picStopHiBut",
                             "picNewTabHiBut", "picDelTabHiBut", "picHistoryHiBut", "picSearchHiBut"};
const char* const Pressed[] = {"picBackDown", "picForwardDown", "picRefreshDown", "picStopDown",
                               "picNewTabDown", "picDelTabDown", "picHistoryDown", "picSearchDown"};

enum class Look { Normal, Hover, Pressed, Other };

// What the program writes to GLib's debug log in its own domain while it lives.
class DebugLog {
public:
    DebugLog() : handler_(g_log_set_handler("Quellin", G_LOG_LEVEL_DEBUG, &Collect, &messages)) {}
    ~DebugLog() { g_log_remove_handler("Quellin", handler_); }
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    bool Holds(const std::vector<std::string>& parts) const {
        return std::ranges::any_of(messages, [&](const std::string& message) {
            return std::ranges::all_of(parts, [&](const std::string& part) { return message.find(part) != std::string::npos; });
        });
    }

    std::vector<std::string> messages;

private:
    static void Collect(const gchar*, GLogLevelFlags, const gchar* message, gpointer messages) {
        static_cast<std::vector<std::string>*>(messages)->push_back(message);
    }

    guint handler_;
};

class ToolbarTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        SetMsgBoxResponder([this](const std::string&, int, const std::string&) {
            ++messages;
            return vbOK;
        });
        Start("http://127.0.0.1/zero");
        Browser(0).Load("http://127.0.0.1/zero", "Zero");
        Main().Timer1_Timer(0);
    }

    FrmMain& Main() { return frmMain.Get(); }

    Look ButtonLook(int index) {
        const Picture& shown = Main().picButton(index).GetPicture();
        if (shown == Main().Skin[Normal[index]].GetPicture()) return Look::Normal;
        if (shown == Main().Skin[Hover[index]].GetPicture()) return Look::Hover;
        if (shown == Main().Skin[Pressed[index]].GetPicture()) return Look::Pressed;
        return Look::Other;
    }

    // Every button normal except `index`, which has `look`.
    void ExpectButtons(int index, Look look) {
        for (int i = 0; i <= 7; ++i) EXPECT_EQ(ButtonLook(i), i == index ? look : Look::Normal) << "button " << i;
    }

    bool ArrowShows(PictureBox& arrow, const char* picture) { return arrow.GetPicture() == Main().Skin[picture].GetPicture(); }

    int messages = 0;
};

TEST_F(ToolbarTest, BackWithNoEarlierPageDoesNothingAndShowsNothing) {
    Main().Combo1.SetText("http://127.0.0.1/zero");
    const DebugLog log;
    Main().ClickBar("Back");
    // Only the debug log tells of the failure, with its number, description and source.
    const ToolkitError failure = BrowserOperationFailed();
    EXPECT_TRUE(log.Holds({std::to_string(failure.Number()), failure.Description(), failure.Source()}))
        << testing::PrintToString(log.messages);
    EXPECT_EQ(Browser(0).Recorded().goBack, 1);
    EXPECT_EQ(Browser(0).LocationURL(), "http://127.0.0.1/zero");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/zero");
    EXPECT_EQ(Main().WebBrowser1.UBound(), 0);
    EXPECT_EQ(messages, 0);

    Main().ClickBar("Forward");
    EXPECT_EQ(Browser(0).Recorded().goForward, 1);
    EXPECT_EQ(messages, 0);
}

TEST_F(ToolbarTest, CommandsActOnTheCurrentTabOnly) {
    Main().AddTab("http://127.0.0.1/one");
    Browser(1).Load("http://127.0.0.1/one", "One");
    Browser(1).Load("http://127.0.0.1/two", "Two");

    Main().ClickBar("Back");
    EXPECT_EQ(Browser(1).LocationURL(), "http://127.0.0.1/one");
    Main().ClickBar("Forward");
    EXPECT_EQ(Browser(1).LocationURL(), "http://127.0.0.1/two");
    Main().ClickBar("Refresh");
    Main().ClickBar("Stop");
    EXPECT_EQ(Browser(1).Recorded().goBack, 1);
    EXPECT_EQ(Browser(1).Recorded().goForward, 1);
    EXPECT_EQ(Browser(1).Recorded().refresh, 1);
    EXPECT_EQ(Browser(1).Recorded().stop, 1);
    EXPECT_EQ(Browser(0).Recorded().goBack + Browser(0).Recorded().goForward + Browser(0).Recorded().refresh +
                  Browser(0).Recorded().stop,
              0);
}

TEST_F(ToolbarTest, CaptionsMustMatchExactly) {
    Main().AddTab("http://127.0.0.1/one");
    Browser(1).Load("http://127.0.0.1/one", "One");
    Browser(1).Load("http://127.0.0.1/two", "Two");
    for (const std::string caption : {"back", "Back ", " Back", "BACK", "del tab", "New tab", "search", "Stop.", ""})
        Main().ClickBar(caption);
    const auto& calls = Browser(1).Recorded();
    EXPECT_EQ(calls.goBack + calls.goForward + calls.refresh + calls.stop, 0);
    EXPECT_EQ(calls.navigations, std::vector<std::string>{"http://127.0.0.1/one"});
    EXPECT_EQ(Main().WebBrowser1.UBound(), 1);
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(Browser(1).LocationURL(), "http://127.0.0.1/two");
}

TEST_F(ToolbarTest, NewTabOpensTheDefaultPageOrTheCurrentAddressByMode) {
    Settings.DefaultPage = "http://127.0.0.1/default";
    Settings.NewTabMode = 0;
    Main().ClickBar("New Tab");
    ASSERT_EQ(CurrentTab, 1);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/default"});

    Browser(1).Load("http://127.0.0.1/where-i-am", "Here");
    Settings.NewTabMode = 1;
    Main().ClickBar("New Tab");
    ASSERT_EQ(CurrentTab, 2);
    EXPECT_EQ(Browser(2).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/where-i-am"});

    // A default page of "home" is the browser's home page.
    Settings.DefaultPage = "Home";
    Settings.NewTabMode = 0;
    Main().ClickBar("New Tab");
    EXPECT_EQ(Browser(3).Recorded().goHome, 1);
}

TEST_F(ToolbarTest, SearchOpensTheSearchPageInANewTabOrTheCurrentOne) {
    Settings.SearchPage = "http://127.0.0.1/search";
    Settings.SearchInNewTab = 0;
    Main().ClickBar("Search");
    EXPECT_EQ(Main().WebBrowser1.UBound(), 0);
    EXPECT_EQ(Browser(0).Recorded().navigations.back(), "http://127.0.0.1/search");

    Settings.SearchInNewTab = 1;
    Main().ClickBar("Search");
    ASSERT_EQ(Main().WebBrowser1.UBound(), 1);
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/search"});
    EXPECT_EQ(Browser(0).Recorded().navigations.size(), 2u);
}

TEST_F(ToolbarTest, HistoryOpensTheHistoryPagesAndAFailureEndsSilently) {
    Settings.HistoryInNewTab = 0;
    Main().ClickBar("History");  // no templates: nothing to open
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(Main().WebBrowser1.UBound(), 0);

    WriteFile("History.dat",
              "[date]\r\n<h1>#date#</h1>\r\n[end]\r\n[history]\r\n<iframe src=\"#main#\"></iframe>\r\n[end]\r\n"
              "[contents]\r\n<nav>#list#\r\n</nav>\r\n[end]\r\n");
    Main().ClickBar("History");
    ASSERT_FALSE(Browser(0).Recorded().navigations.empty());
    const std::string opened = Browser(0).Recorded().navigations.back();
    EXPECT_EQ(opened.substr(opened.size() - std::string("history.htm").size()), "history.htm");
    EXPECT_EQ(messages, 0);
}

TEST_F(ToolbarTest, EachButtonRunsItsOwnCommand) {
    Settings.SearchPage = "http://127.0.0.1/search";
    Settings.SearchInNewTab = 0;
    Settings.DefaultPage = "http://127.0.0.1/default";
    Settings.NewTabMode = 0;
    Browser(0).Load("http://127.0.0.1/second", "Second");

    Main().picButton(0).Click();
    EXPECT_EQ(Browser(0).LocationURL(), "http://127.0.0.1/zero");
    Main().picButton(1).Click();
    EXPECT_EQ(Browser(0).LocationURL(), "http://127.0.0.1/second");
    Main().picButton(2).Click();
    EXPECT_EQ(Browser(0).Recorded().refresh, 1);
    Main().picButton(3).Click();
    EXPECT_EQ(Browser(0).Recorded().stop, 1);
    Main().picButton(7).Click();
    EXPECT_EQ(Browser(0).Recorded().navigations.back(), "http://127.0.0.1/search");

    Main().picButton(4).Click();
    ASSERT_EQ(CurrentTab, 1);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/default"});
    Main().picButton(5).Click();
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_FALSE(Main().WebBrowser1.Exists(1));

    const char* const tips[] = {"Back", "Forward", "Refresh", "Stop", "New Tab", "Remove Tab", "History", "Search"};
    for (int i = 0; i <= 7; ++i) EXPECT_EQ(Main().picButton(i).ToolTipText(), tips[i]);
}

TEST_F(ToolbarTest, ResetButtonsHighlightsByCodeAndSwitchesTheIdleTimer) {
    Main().ResetButtons(3);
    ExpectButtons(3, Look::Hover);
    EXPECT_TRUE(ArrowShows(Main().picTabLeft, "TabLeft"));
    EXPECT_TRUE(ArrowShows(Main().picTabRight, "TabRight"));
    EXPECT_TRUE(Main().TimerMenus.Enabled());

    Main().ResetButtons(-1);
    ExpectButtons(-1, Look::Normal);
    EXPECT_TRUE(ArrowShows(Main().picTabLeft, "TabLeft"));
    EXPECT_TRUE(ArrowShows(Main().picTabRight, "TabRight"));
    EXPECT_FALSE(Main().TimerMenus.Enabled());

    for (int code : {8, -4}) {
        Main().ResetButtons(-1);
        Main().ResetButtons(code);
        ExpectButtons(-1, Look::Normal);
        EXPECT_TRUE(ArrowShows(Main().picTabLeft, "TabLeft")) << code;
        EXPECT_TRUE(ArrowShows(Main().picTabRight, "TabRight")) << code;
        EXPECT_TRUE(Main().TimerMenus.Enabled()) << code;
    }

    Main().ResetButtons(-2);
    ExpectButtons(-1, Look::Normal);
    EXPECT_TRUE(ArrowShows(Main().picTabLeft, "TabLeftHi"));
    EXPECT_TRUE(ArrowShows(Main().picTabRight, "TabRight"));
    Main().ResetButtons(-3);
    EXPECT_TRUE(ArrowShows(Main().picTabLeft, "TabLeft"));
    EXPECT_TRUE(ArrowShows(Main().picTabRight, "TabRightHi"));
    EXPECT_TRUE(Main().TimerMenus.Enabled());
}

TEST_F(ToolbarTest, ButtonDownPressesOneButtonAndLeavesArrowsAndTimerAlone) {
    Main().ResetButtons(-2);
    Main().ButtonDown(2);
    ExpectButtons(2, Look::Pressed);
    EXPECT_TRUE(ArrowShows(Main().picTabLeft, "TabLeftHi"));
    EXPECT_TRUE(Main().TimerMenus.Enabled());

    Main().ResetButtons(-1);
    Main().ButtonDown(6);
    ExpectButtons(6, Look::Pressed);
    EXPECT_FALSE(Main().TimerMenus.Enabled());

    Main().ButtonDown(-1);
    ExpectButtons(-1, Look::Normal);
}

TEST_F(ToolbarTest, TheMouseOverAButtonHoversOrPressesIt) {
    Main().picButton(4).MouseDown(vbLeftButton, 0, 5, 5);
    ExpectButtons(4, Look::Pressed);

    // After a click the button stays pressed until the pointer moves again.
    Main().picButton(4).MouseMove(0, 0, 6, 6);
    ExpectButtons(4, Look::Hover);
    EXPECT_TRUE(Main().TimerMenus.Enabled());

    Main().picButton(1).MouseMove(vbLeftButton, 0, 6, 6);
    ExpectButtons(1, Look::Pressed);

    Main().Picture2_MouseMove();
    ExpectButtons(-1, Look::Normal);
    EXPECT_FALSE(Main().TimerMenus.Enabled());
}

TEST_F(ToolbarTest, TheIdleTimerPutsEverythingBackAndStops) {
    EXPECT_EQ(Main().TimerMenus.Interval(), 10000);
    Main().ResetButtons(5);
    Main().ResetButtons(-3);
    Main().ButtonDown(0);
    ASSERT_TRUE(Main().TimerMenus.Enabled());

    Main().TimerMenus_Timer();

    ExpectButtons(-1, Look::Normal);
    EXPECT_TRUE(ArrowShows(Main().picTabRight, "TabRight"));
    EXPECT_FALSE(Main().TimerMenus.Enabled());
}

}  // namespace
