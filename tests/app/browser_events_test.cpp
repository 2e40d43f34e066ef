#include <cmath>
#include <string>
#include <vector>

#include "app/FrmDummy.h"
#include "app/State.h"
#include "tabs_fixture.h"

using namespace platform;
using testing_support::Pump;

namespace {

class BrowserEventsTest : public TabsFixture {
protected:
    void OpenTabsUpTo(int upper) { TabsFixture::OpenTabsUpTo(upper, true); }

    bool Shows(int frame) { return Main().Picture3.GetPicture() == Main().PicStore(frame).GetPicture(); }
};

// The page-load poll and the busy animation.

TEST_F(BrowserEventsTest, ADownloadInAnyTabStartsTheAnimationFrameAndThatTabsPoll) {
    OpenTabsUpTo(2);
    Main().picTab_Click(2);
    ASSERT_FALSE(Main().Timer1(1).Enabled());
    ASSERT_TRUE(Shows(8));

    Browser(1).StartLoad("http://127.0.0.1/background");

    EXPECT_TRUE(Shows(0));
    EXPECT_TRUE(Main().Timer1(1).Enabled());
    EXPECT_FALSE(Main().Timer1(2).Enabled());
    EXPECT_EQ(CurrentTab, 2);
}

TEST_F(BrowserEventsTest, ThePollRunsTheAnimationWhileBusyAndStopsItWhenIdle) {
    Browser(0).StartLoad("http://127.0.0.1/slow");
    Main().Timer1_Timer(0);
    EXPECT_TRUE(Main().Timer2.Enabled());
    EXPECT_TRUE(Main().Timer1(0).Enabled());

    Browser(0).Finish();
    Main().Timer1_Timer(0);
    EXPECT_FALSE(Main().Timer2.Enabled());
    EXPECT_FALSE(Main().Timer1(0).Enabled());
    EXPECT_TRUE(Shows(8));
}

TEST_F(BrowserEventsTest, TheAnimationLoopsOverTheEightFramesAndNeverShowsTheIdleOne) {
    BusyFrame = 0;
    std::vector<int> shown;
    for (int tick = 0; tick < 18; ++tick) {
        Main().Timer2_Timer();
        for (int frame = 0; frame <= 8; ++frame)
            if (Shows(frame)) shown.push_back(frame);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1}));
}

TEST_F(BrowserEventsTest, WithTwoTabsLoadingTheFirstToFinishShowsIdleAndTheOtherResumesTheAnimation) {
    OpenTabsUpTo(1);
    Browser(0).StartLoad("http://127.0.0.1/first");
    Browser(1).StartLoad("http://127.0.0.1/second");
    Main().Timer1_Timer(0);
    Main().Timer1_Timer(1);
    BusyFrame = 0;
    for (int tick = 0; tick < 3; ++tick) Main().Timer2_Timer();

    Browser(0).Finish();
    Main().Timer1_Timer(0);
    EXPECT_TRUE(Shows(8));
    EXPECT_FALSE(Main().Timer2.Enabled());
    EXPECT_TRUE(Main().Timer1(1).Enabled());

    // The next poll of the tab still loading switches the animation on again, and
    // it goes on from the frame where it stopped.
    Main().Timer1_Timer(1);
    EXPECT_TRUE(Main().Timer2.Enabled());
    Main().Timer2_Timer();
    EXPECT_TRUE(Shows(3));

    Browser(1).Finish();
    Main().Timer1_Timer(1);
    EXPECT_FALSE(Main().Timer2.Enabled());
    EXPECT_TRUE(Shows(8));
}

TEST_F(BrowserEventsTest, WithTwoTabsLoadingTheAnimationResumesWithinAPollOfTheFirstFinishing) {
    OpenTabsUpTo(1);
    Browser(0).StartLoad("http://127.0.0.1/first");
    Browser(1).StartLoad("http://127.0.0.1/second");
    ASSERT_TRUE(Pump([&] { return Main().Timer2.Enabled(); }, 2000));

    Browser(0).Finish();
    ASSERT_TRUE(Pump([&] { return !Main().Timer1(0).Enabled(); }, 2000));
    ASSERT_TRUE(Pump([&] { return Main().Timer2.Enabled(); }, 250));
    EXPECT_TRUE(Main().Timer1(1).Enabled());

    Browser(1).Finish();
    ASSERT_TRUE(Pump([&] { return !Main().Timer1(1).Enabled(); }, 2000));
    EXPECT_FALSE(Main().Timer2.Enabled());
    EXPECT_TRUE(Shows(8));
}

TEST_F(BrowserEventsTest, APollThatFindsTheBrowserDeadRemovesTheTabWithoutClosingUpTheFaces) {
    OpenTabsUpTo(3);
    ASSERT_EQ(CurrentTab, 3);
    Browser(2).StopAnswering();
    Main().Timer1(2).SetEnabled(true);
    ASSERT_TRUE(Pump([&] { return !Main().WebBrowser1.Exists(2); }, 2000));

    EXPECT_TRUE(TabGone(2));
    EXPECT_EQ(CurrentTab, 3);
    EXPECT_EQ(Main().picTab(3).Left(), 6750);
    EXPECT_EQ(endCalls, 0);

    // The gap stays until a tab is closed.
    Main().AddTab("http://127.0.0.1/four");
    EXPECT_EQ(Main().picTab(4).Left(), 9000);
    Main().DelTab();
    EXPECT_EQ(Main().picTab(3).Left(), 4500);
    EXPECT_EQ(CurrentTab, 3);
}

TEST_F(BrowserEventsTest, ATabThatDiesWhileLoadingDoesNotLeaveTheAnimationRunning) {
    OpenTabsUpTo(2);
    Browser(1).StartLoad("http://127.0.0.1/never-finishes");
    Main().Timer1_Timer(1);
    ASSERT_TRUE(Main().Timer2.Enabled());

    Browser(1).StopAnswering();
    Main().Timer1_Timer(1);
    EXPECT_TRUE(TabGone(1));
    EXPECT_FALSE(Main().Timer2.Enabled());
    EXPECT_TRUE(Shows(8));

    // A tab still loading takes the animation up again at its next poll.
    Browser(2).StartLoad("http://127.0.0.1/loading");
    Browser(0).StartLoad("http://127.0.0.1/also-loading");
    Main().Timer1_Timer(2);
    Browser(0).StopAnswering();
    Main().Timer1_Timer(0);
    Main().Timer1_Timer(2);
    EXPECT_TRUE(Main().Timer2.Enabled());
}

TEST_F(BrowserEventsTest, ADeadCurrentTabHandsTheSelectionToTheHighestIndex) {
    OpenTabsUpTo(3);
    Main().picTab_Click(1);
    Browser(1).StopAnswering();
    Main().Timer1_Timer(1);
    EXPECT_TRUE(TabGone(1));
    EXPECT_EQ(CurrentTab, 3);

    Browser(3).StopAnswering();
    Main().Timer1_Timer(3);
    EXPECT_TRUE(TabGone(3));
    EXPECT_EQ(CurrentTab, 2);
    EXPECT_EQ(Main().picTab(2).Left(), 4500);

    // Selecting a tab afterwards works as usual.
    Main().picTab_Click(2);
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/tab2");
}

TEST_F(BrowserEventsTest, TabZeroGetsANewWorkingBrowserOnItsOldAddressWhenItsOwnDies) {
    BrowserDouble* dead = &Browser(0);
    dead->StopAnswering();
    Main().Timer1(0).SetEnabled(true);
    ASSERT_TRUE(Pump([&] { return &Browser(0) != dead; }, 2000));

    EXPECT_TRUE(Main().WebBrowser1.Exists(0));
    EXPECT_TRUE(Main().picTab.Exists(0));
    EXPECT_TRUE(Main().Timer1.Exists(0));
    EXPECT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/zero"});
    EXPECT_EQ(endCalls, 0);
    EXPECT_EQ(CurrentTab, 0);

    // The new browser answers, and its events reach the window.
    Browser(0).Load("http://127.0.0.1/zero", "Zero again");
    ASSERT_TRUE(Pump([&] { return !Main().Timer1(0).Enabled(); }, 2000));
    EXPECT_EQ(Main().labCaption.Caption(), "Zero again");
    EXPECT_EQ(Main().picTab(0).ToolTipText(), "Zero again (http://127.0.0.1/zero)");
    EXPECT_TRUE(Shows(8));
}

TEST_F(BrowserEventsTest, TabZeroWithoutAnAddressGetsItsNewBrowserOnTheHomePage) {
    // As on a tick of its poll, which is running while the recovery is made.
    Main().Timer1(0).SetEnabled(true);
    Browser(0).StopAnswering();
    Main().Timer1_Timer(0);
    // The replacement has not loaded anything yet: its address is empty.
    ASSERT_EQ(Browser(0).LocationURL(), "");
    Browser(0).StopAnswering();
    Main().Timer1_Timer(0);
    EXPECT_EQ(Browser(0).Recorded().goHome, 1);
    EXPECT_TRUE(Browser(0).Recorded().navigations.empty());
    EXPECT_TRUE(Main().Timer1(0).Enabled());
}

TEST_F(BrowserEventsTest, TabZeroWhoseEngineCanOpenNoNewBrowserStaysAndStopsPolling) {
    BrowserDouble* dead = &Browser(0);
    dead->StopAnswering();
    platform::SetBrowserViewFactory([]() -> std::unique_ptr<BrowserView> { throw BrowserCannotOpen(); });
    Main().Timer1(0).SetEnabled(true);
    Main().Timer1_Timer(0);
    EXPECT_EQ(&Browser(0), dead);
    EXPECT_FALSE(Main().Timer1(0).Enabled());
    EXPECT_EQ(endCalls, 0);
}

TEST_F(BrowserEventsTest, AVisitThatCannotBeRecordedDoesNotRemoveTheTab) {
    WriteFile("History.dat", "[date]\r\n<h1>#date#</h1>\r\n[end]\r\n");
    WriteFile("history", "a file where the history folder should be");
    OpenTabsUpTo(1);
    Browser(1).Load("http://127.0.0.1/unrecorded", "Unrecorded");
    Main().Timer1_Timer(1);
    EXPECT_TRUE(Main().WebBrowser1.Exists(1));
    EXPECT_TRUE(Main().picTab.Exists(1));
    EXPECT_FALSE(Main().Timer1(1).Enabled());
}

// Status text and progress.

TEST_F(BrowserEventsTest, StatusTextShowsOnlyForTheCurrentTab) {
    OpenTabsUpTo(1);
    Browser(1).Status("http://127.0.0.1/link");
    EXPECT_EQ(Main().StatusBar1.Caption(), "http://127.0.0.1/link");
    Browser(0).Status("http://127.0.0.1/elsewhere");
    EXPECT_EQ(Main().StatusBar1.Caption(), "http://127.0.0.1/link");
    Browser(1).Status("");
    EXPECT_EQ(Main().StatusBar1.Caption(), "");
}

TEST_F(BrowserEventsTest, StatusTextWiderThanTheLabelIsCutByTheWidthOfW) {
    const std::string text = "abcdefghijklmnopqrstuvwxyz0123456789";
    const double full = Main().TextWidth(text);
    const double w = Main().TextWidth("W");

    Main().StatusBar1.SetWidth(full);
    Browser(0).Status(text);
    EXPECT_EQ(Main().StatusBar1.Caption(), text);

    Main().StatusBar1.SetWidth(full - 1);
    Browser(0).Status(text);
    const long n = std::lrint((full - 1) / w);
    EXPECT_EQ(Main().StatusBar1.Caption(), text.substr(0, n) + "...");

    // Halves go to the even neighbour.
    Main().StatusBar1.SetWidth(2.5 * w);
    Browser(0).Status(text);
    EXPECT_EQ(Main().StatusBar1.Caption(), "ab...");
    Main().StatusBar1.SetWidth(3.5 * w);
    Browser(0).Status(text);
    EXPECT_EQ(Main().StatusBar1.Caption(), "abcd...");
}

TEST_F(BrowserEventsTest, ProgressOfTheCurrentTabSetsTheBarWidth) {
    Browser(0).Progress(5000, 10000);
    EXPECT_TRUE(Main().picProgress.Visible());
    EXPECT_EQ(Main().picProgress.Width(), 690);

    Browser(0).Progress(3333, 10000);
    EXPECT_NEAR(Main().picProgress.Width(), 1380.0 / 10000 * 3333, 1e-3);

    Browser(0).Progress(15000, 10000);
    EXPECT_TRUE(Main().picProgress.Visible());
    EXPECT_EQ(Main().picProgress.Width(), 1380);

    Browser(0).Progress(0, 10000);
    EXPECT_FALSE(Main().picProgress.Visible());
}

TEST_F(BrowserEventsTest, ProgressThatGivesNoSensibleWidthHidesTheBar) {
    struct Case {
        long progress, maximum;
    };
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{-1, 0}, Case{-5, 100}, Case{5, -100}}) {
        Browser(0).Progress(50, 100);
        ASSERT_TRUE(Main().picProgress.Visible());
        Browser(0).Progress(c.progress, c.maximum);
        EXPECT_FALSE(Main().picProgress.Visible()) << c.progress << " of " << c.maximum;
        EXPECT_LE(Main().picProgress.Width(), 1380);
    }
}

TEST_F(BrowserEventsTest, ProgressOfABackgroundTabNeverShowsButKeepsTheCurrentBrowserSized) {
    OpenTabsUpTo(1);
    Main().picTab_Click(0);
    Browser(1).Progress(5000, 10000);
    EXPECT_FALSE(Main().picProgress.Visible());

    Browser(0).Progress(2500, 10000);
    Main().WebBrowser1(0).SetWidth(100);
    Main().WebBrowser1(0).SetHeight(100);
    Browser(1).Progress(10000, 10000);
    EXPECT_TRUE(Main().picProgress.Visible());
    EXPECT_EQ(Main().picProgress.Width(), 345);
    EXPECT_EQ(Main().WebBrowser1(0).Width(), Main().Picture1.Width());
    EXPECT_EQ(Main().WebBrowser1(0).Height(), Main().Picture1.Height());

    Main().picProgress.SetWidth(5000);
    Browser(1).Progress(1, 10000);
    EXPECT_EQ(Main().picProgress.Width(), 1380);
}

// The address text, captions and titles.

TEST_F(BrowserEventsTest, TheAddressBarShowsBlanksForEncodedSpaces) {
    Browser(0).Load("http://127.0.0.1/my%20page%20%2520x.html", "Spaced");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/my page %2520x.html");
    Main().SetAddressText();
    EXPECT_EQ(Main().picTab(0).ToolTipText(), "Spaced (http://127.0.0.1/my page %2520x.html)");
}

TEST_F(BrowserEventsTest, ResourceAddressesShowThePartAfterTheFirstHash) {
    struct Case {
        std::string url, shown;
    };
    for (const Case& c : {Case{"res://ieframe.dll/navcancl.htm#http://127.0.0.1/x", "http://127.0.0.1/x"},
                          Case{"RES://IEFRAME.DLL/dnserror.htm#http://127.0.0.1/y#part", "http://127.0.0.1/y#part"},
                          Case{"ReS://shell/page%20one#a%20b", "a b"},
                          Case{"res://no-hash-here", "res://no-hash-here"},
                          Case{"http://127.0.0.1/res#top", "http://127.0.0.1/res#top"},
                          Case{"re", "re"}}) {
        Browser(0).Load(c.url, "Title");
        Main().SetAddressText();
        EXPECT_EQ(Main().Combo1.Text(), c.shown) << c.url;
        EXPECT_EQ(Main().picTab(0).ToolTipText(), "Title (" + c.shown + ")") << c.url;
    }
}

TEST_F(BrowserEventsTest, ABackgroundTitleChangeRedrawsEveryFaceAndTheCurrentAddress) {
    OpenTabsUpTo(1);
    Main().picTab_Click(0);
    Main().Combo1.SetText("typed but not entered");

    Browser(1).SetTitle("Renamed");

    EXPECT_EQ(Main().picTab(1).ToolTipText(), "Renamed (http://127.0.0.1/tab1)");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/zero");
    EXPECT_EQ(Main().labCaption.Caption(), "Zero");
    EXPECT_EQ(frmDummy->Caption(), "Zero");
}

TEST_F(BrowserEventsTest, TheCurrentTabsTitleAndCompletedDocumentReachTheWindowTitles) {
    OpenTabsUpTo(1);
    Browser(1).StartLoad("http://127.0.0.1/next");
    Browser(1).SetTitle("Next page");
    EXPECT_EQ(Main().labCaption.Caption(), "Next page");
    EXPECT_EQ(frmDummy->Caption(), "Next page");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/next");

    Main().labCaption.SetCaption("stale");
    Main().Combo1.SetText("stale");
    Browser(1).Finish();
    EXPECT_EQ(Main().labCaption.Caption(), "Next page");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/next");
    EXPECT_EQ(Main().picTab(1).ToolTipText(), "Next page (http://127.0.0.1/next)");
}

}  // namespace
