#include <gdk/gdk.h>
#include <glibmm/main.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/FrmDummy.h"
#include "app/State.h"
#include "test_support.h"
#include "platform/app.h"
#include "platform/error.h"
#include "platform/twips.h"
#include "tabs_fixture.h"

using namespace platform;

namespace {

// The columns of a face that a printed caption inked: where the face's image differs
// from the same face cleared to its back colour and picture.
struct Ink {
    int left = -1;
    int right = -1;
    bool Any() const { return left >= 0; }
    double Centre() const { return (left + right + 1) / 2.0; }
};

Ink InkBetween(const Picture& printed, const Picture& bare) {
    Ink ink;
    printed.Surface()->flush();
    bare.Surface()->flush();
    for (int y = 0; y < printed.PixelHeight(); ++y) {
        const auto* rowP = reinterpret_cast<const std::uint32_t*>(printed.Surface()->get_data() + y * printed.Surface()->get_stride());
        const auto* rowB = reinterpret_cast<const std::uint32_t*>(bare.Surface()->get_data() + y * bare.Surface()->get_stride());
        for (int x = 0; x < printed.PixelWidth(); ++x) {
            if ((rowP[x] & 0xFFFFFF) == (rowB[x] & 0xFFFFFF)) continue;
            if (ink.left < 0 || x < ink.left) ink.left = x;
            if (x > ink.right) ink.right = x;
        }
    }
    return ink;
}

class TabsTest : public TabsFixture {
protected:
    std::vector<std::string> MenuItems() {
        std::vector<std::string> items;
        for (int k = 0; k < Main().lstMenu.ListCount(); ++k) items.push_back(Main().lstMenu.List(k));
        return items;
    }

    bool TabLoaded(int index) {
        return Main().WebBrowser1.Exists(index) && Main().picTab.Exists(index) && Main().Timer1.Exists(index);
    }

    // True when the browser of that tab lies above every other browser in the stack.
    bool InFront(int index) {
        GdkWindow* mine = Main().WebBrowser1(index).Widget().get_window()->gobj();
        std::vector<GdkWindow*> browsers;
        Main().WebBrowser1.ForEach([&](WebBrowser& browser, int) { browsers.push_back(browser.Widget().get_window()->gobj()); });
        // GDK keeps the children of a window top-most first.
        for (GList* child = gdk_window_peek_children(gdk_window_get_parent(mine)); child; child = child->next) {
            auto* window = static_cast<GdkWindow*>(child->data);
            if (std::find(browsers.begin(), browsers.end(), window) != browsers.end()) return window == mine;
        }
        return false;
    }

    // The tab whose browser takes a click in the middle of the browser area: the
    // toolkit hands a click to the top-most shown window under it. -1 for none.
    int TabTakingClicksInTheMiddle() {
        WebBrowser& current = Main().WebBrowser1(CurrentTab);
        const int x = TwipsToPixelsX(current.Left() + current.Width() / 2);
        const int y = TwipsToPixelsY(current.Top() + current.Height() / 2);
        GdkWindow* area = gdk_window_get_parent(current.Widget().get_window()->gobj());
        for (GList* child = gdk_window_peek_children(area); child; child = child->next) {
            auto* window = static_cast<GdkWindow*>(child->data);
            int left = 0, top = 0;
            gdk_window_get_position(window, &left, &top);
            if (!gdk_window_is_visible(window) || x < left || y < top || x >= left + gdk_window_get_width(window) ||
                y >= top + gdk_window_get_height(window))
                continue;
            int tab = -1;
            Main().WebBrowser1.ForEach([&](WebBrowser& browser, int index) {
                if (browser.Widget().get_window()->gobj() == window) tab = index;
            });
            return tab;
        }
        return -1;
    }

    // What UpdateTabs printed on a face, checked against the same face cleared and
    // printed with the expected caption centred at the expected text top.
    void ExpectCaption(int index, const std::string& expected, double textTop) {
        PictureBox& face = Main().picTab(index);
        const Picture printed = face.Image();
        face.Cls();
        const Picture bare = face.Image();
        const Ink ink = InkBetween(printed, bare);
        if (expected.empty()) {
            EXPECT_FALSE(ink.Any()) << "face " << index << " should carry no text";
            return;
        }
        ASSERT_TRUE(ink.Any()) << "face " << index << " shows no caption";
        EXPECT_NEAR(ink.Centre(), face.ScaleWidthPixels() / 2.0, 2.0) << "caption of face " << index << " is not centred";
        face.CurrentX() = face.Width() / 2 - face.TextWidth(expected) / 2;
        face.CurrentY() = textTop;
        face.Print(expected);
        EXPECT_TRUE(testing_support::SameImage(printed, face.Image())) << "face " << index << " does not show \"" << expected << "\"";
    }
};

TEST_F(TabsTest, SelectingATabGivesItsPageTheKeyboard) {
    OpenTabsUpTo(2);
    for (int tab : {1, 0, 2}) {
        Main().picTab_Click(tab);
        EXPECT_TRUE(Browser(tab).Widget().is_focus()) << "tab " << tab;
    }
}

TEST_F(TabsTest, ClosingACurrentMiddleTabLeavesAHoleClosesUpTheFacesAndSelectsTheHighest) {
    OpenTabsUpTo(3);
    Main().picTab_Click(2);
    ASSERT_EQ(CurrentTab, 2);

    Main().DelTab();

    EXPECT_TRUE(TabGone(2));
    EXPECT_EQ(Main().WebBrowser1.UBound(), 3);
    EXPECT_EQ(CurrentTab, 3);
    EXPECT_EQ(Main().picTab(0).Left(), 0);
    EXPECT_EQ(Main().picTab(1).Left(), 2250);
    EXPECT_EQ(Main().picTab(3).Left(), 4500);
    EXPECT_EQ(MenuItems(), (std::vector<std::string>{" 0", " 1", " 3"}));
    EXPECT_TRUE(InFront(3));
    EXPECT_EQ(Main().labCaption.Caption(), "Tab 3");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/tab3");

    Main().AddTab("http://127.0.0.1/four");
    EXPECT_TRUE(TabLoaded(4));
    EXPECT_EQ(CurrentTab, 4);
    EXPECT_EQ(Main().picTab(4).Left(), 6750);
    EXPECT_EQ(Main().picTab(4).Top(), Main().picTab(0).Top());
    EXPECT_FALSE(Main().WebBrowser1.Exists(2));
}

TEST_F(TabsTest, ClosingATabWhoseFaceOrTimerIsAlreadyGoneStillClosesTheRestOfIt) {
    const struct {
        const char* gone;
        bool face;
        bool timer;
    } cases[] = {{"face", true, false}, {"timer", false, true}, {"face and timer", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gone);
        OpenTabsUpTo(3);
        Main().picTab_Click(2);
        if (c.face) Main().picTab.Unload(2);
        if (c.timer) Main().Timer1.Unload(2);

        Main().DelTab();

        EXPECT_TRUE(TabGone(2));
        EXPECT_EQ(CurrentTab, 3);
        EXPECT_EQ(Main().picTab(3).Left(), 4500);
        EXPECT_EQ(MenuItems(), (std::vector<std::string>{" 0", " 1", " 3"}));
        EXPECT_TRUE(InFront(3));
        Main().DelTab();
    }
}

TEST_F(TabsTest, ClosingTheHighestTabSelectsTheOneBelowAndItsIndexIsUsedAgain) {
    OpenTabsUpTo(3);
    ASSERT_EQ(CurrentTab, 3);

    Main().DelTab();
    EXPECT_TRUE(TabGone(3));
    EXPECT_EQ(CurrentTab, 2);
    EXPECT_EQ(MenuItems(), (std::vector<std::string>{" 0", " 1", " 2"}));

    Main().AddTab("http://127.0.0.1/again");
    EXPECT_TRUE(TabLoaded(3));
    EXPECT_EQ(CurrentTab, 3);
    EXPECT_EQ(Main().picTab(3).Left(), 6750);
    EXPECT_EQ(Browser(3).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/again"});
}

TEST_F(TabsTest, TabZeroIsNeverClosed) {
    Main().DelTab();
    EXPECT_TRUE(TabLoaded(0));
    EXPECT_EQ(Main().WebBrowser1.UBound(), 0);

    OpenTabsUpTo(2);
    Main().picTab_Click(0);
    Main().DelTab();
    Main().ClickBar("Del Tab");
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_TRUE(TabLoaded(0));
    EXPECT_TRUE(TabLoaded(1));
    EXPECT_TRUE(TabLoaded(2));
    EXPECT_EQ(Main().picTab(2).Left(), 4500);
}

TEST_F(TabsTest, AddTabOpensTheHomePageForHomeInAnyCaseAndNavigatesOtherTextUnchanged) {
    for (const std::string home : {"home", "Home", "HOME", "hOmE"}) {
        Main().AddTab(home);
        EXPECT_EQ(Browser(CurrentTab).Recorded().goHome, 1) << home;
        EXPECT_TRUE(Browser(CurrentTab).Recorded().navigations.empty()) << home;
    }
    for (const std::string other : {"about:blank", " home", "home ", "homepage", "http://127.0.0.1/a%20b", ""}) {
        Main().AddTab(other);
        EXPECT_EQ(Browser(CurrentTab).Recorded().goHome, 0) << other;
        EXPECT_EQ(Browser(CurrentTab).Recorded().navigations, std::vector<std::string>{other});
    }
}

TEST_F(TabsTest, ANewTabIsShownInFrontWithItsTimerRunningAndSizedToTheBrowserArea) {
    {
        // Held back, the poll cannot find the new tab idle and switch its timer off.
        HandlerBlock noTicks;
        Main().AddTab("http://127.0.0.1/new");
        EXPECT_TRUE(Main().Timer1(1).Enabled());
    }
    ASSERT_EQ(CurrentTab, 1);
    EXPECT_TRUE(Main().picTab(1).Visible());
    EXPECT_TRUE(Main().WebBrowser1(1).Visible());
    EXPECT_TRUE(Main().WebBrowser1(0).Visible());
    EXPECT_EQ(Main().Timer1(1).Interval(), 5);
    EXPECT_EQ(Main().picTab(1).Width(), 2250);
    EXPECT_EQ(Main().picTab(1).Height(), 315);
    EXPECT_EQ(Main().picTab(1).Left(), 2250);
    EXPECT_EQ(Main().WebBrowser1(1).Width(), Main().Picture1.Width());
    EXPECT_EQ(Main().WebBrowser1(1).Height(), Main().Picture1.Height());
    EXPECT_TRUE(InFront(1));
    EXPECT_EQ(Main().picTab(1).GetPicture(), Main().Skin["picTabSelected"].GetPicture());
    EXPECT_EQ(Main().picTab(0).GetPicture(), Main().Skin["picTabNotSelected"].GetPicture());
}

TEST_F(TabsTest, ATabOpenedWhileAddTabLetsEventsRunBecomesCurrent) {
    int currentDuringEvents = -1;
    Glib::signal_timeout().connect_once(
        [&] {
            currentDuringEvents = CurrentTab;
            Main().AddTab("http://127.0.0.1/popup");
        },
        0);
    Main().AddTab("http://127.0.0.1/opener");

    EXPECT_EQ(currentDuringEvents, 0);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/opener"});
    EXPECT_EQ(Browser(2).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/popup"});
    EXPECT_EQ(CurrentTab, 2);
    EXPECT_TRUE(InFront(2));
}

TEST_F(TabsTest, AddTabRefusesAnIndexBeyondTheSixteenBitRangeBeforeLoadingAnything) {
    Main().WebBrowser1.Load(32767);
    const int faces = Main().picTab.UBound();
    const int timers = Main().Timer1.UBound();
    const auto made = browsers.size();

    try {
        Main().AddTab("http://127.0.0.1/too-many");
        FAIL() << "AddTab loaded an index past 32767";
    } catch (const ToolkitError& error) {
        EXPECT_EQ(error.Number(), errors::SubscriptOutOfRange);
    }
    EXPECT_EQ(Main().picTab.UBound(), faces);
    EXPECT_EQ(Main().Timer1.UBound(), timers);
    EXPECT_EQ(browsers.size(), made);
    EXPECT_EQ(CurrentTab, 0);

    // From the toolbar the refusal passes without a word.
    Main().ClickBar("New Tab");
    EXPECT_EQ(CurrentTab, 0);
}

TEST_F(TabsTest, SelectingATabBringsItsBrowserToTheFrontAndShowsItsPage) {
    OpenTabsUpTo(2);
    Main().Combo1.SetText("typed");
    Main().picTab_Click(1);

    EXPECT_EQ(CurrentTab, 1);
    EXPECT_TRUE(InFront(1));
    for (int i = 0; i <= 2; ++i) EXPECT_TRUE(Main().WebBrowser1(i).Visible()) << i;
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/tab1");
    EXPECT_EQ(Main().picTab(1).ToolTipText(), "Tab 1 (http://127.0.0.1/tab1)");
    EXPECT_EQ(Main().picTab(2).ToolTipText(), "Tab 2 (http://127.0.0.1/tab2)");
    EXPECT_EQ(Main().labCaption.Caption(), "Tab 1");
    EXPECT_EQ(frmDummy->Caption(), "Tab 1");
    EXPECT_EQ(Main().picTab(1).GetPicture(), Main().Skin["picTabSelected"].GetPicture());
    EXPECT_EQ(Main().picTab(2).GetPicture(), Main().Skin["picTabNotSelected"].GetPicture());
    EXPECT_EQ(Main().picTab(1).ForeColor(), TabTextColour);
    EXPECT_EQ(Main().picTab(2).ForeColor(), TabTextDisabledColour);

    // The face's own click handler does the same.
    Main().picTab(0).Click();
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_TRUE(InFront(0));
}

// The window shown again (restored after a minimise) maps its children anew, and the
// toolkit raises each as it maps it: the tabs opened later must not come up over the
// selected page and take its clicks.
TEST_F(TabsTest, OnlyTheSelectedPageTakesClicksAfterTheWindowIsShownAgain) {
    OpenTabsUpTo(3);
    for (int tab : {0, 2, 3}) {
        Main().picTab_Click(tab);
        Main().Hide();
        testing_support::Pump([&] { return !Main().Window().get_mapped(); }, 2000);
        Main().Show();
        ASSERT_TRUE(testing_support::Pump([&] { return Main().Window().get_mapped(); }, 2000));
        EXPECT_EQ(TabTakingClicksInTheMiddle(), tab);
    }
}

TEST_F(TabsTest, TheTitleFollowsTheSelectedTabWithinTwoSeconds) {
    OpenTabsUpTo(1);
    Main().labCaption.SetCaption("stale");
    frmDummy->SetCaption("stale");
    EXPECT_EQ(Main().Timer3.Interval(), 2000);
    EXPECT_TRUE(Main().Timer3.Enabled());
    ASSERT_TRUE(testing_support::Pump([&] { return Main().labCaption.Caption() == "Tab 1"; }, 3000));
    EXPECT_EQ(frmDummy->Caption(), "Tab 1");
}

TEST_F(TabsTest, CaptionsFitTheCharacterBudgetOfTheFace) {
    OpenTabsUpTo(1);
    PictureBox& face = Main().picTab(1);
    const long maxChars = static_cast<long>((face.Width() - 180) / face.TextWidth("0"));
    ASSERT_GE(maxChars, 4);
    std::string fits;
    for (long i = 0; i < maxChars; ++i) fits += static_cast<char>('0' + i % 10);

    Browser(1).SetTitle(fits);
    ExpectCaption(1, fits, 30);
    EXPECT_EQ(Main().labCaption.Caption(), fits);

    const std::string longer = fits + "9";
    Browser(1).SetTitle(longer);
    ExpectCaption(1, fits.substr(0, maxChars - 3) + "...", 30);
    // The window title and the taskbar caption are never cut.
    EXPECT_EQ(Main().labCaption.Caption(), longer);
    EXPECT_EQ(frmDummy->Caption(), longer);
    EXPECT_EQ(face.ToolTipText(), longer + " (http://127.0.0.1/tab1)");

    // A face in the background prints lower down.
    Main().picTab_Click(0);
    ExpectCaption(1, fits.substr(0, maxChars - 3) + "...", 90);
    ExpectCaption(0, "Zero", 30);
}

TEST_F(TabsTest, BudgetCountsCharactersNotBytes) {
    OpenTabsUpTo(1);
    PictureBox& face = Main().picTab(1);
    const long maxChars = static_cast<long>((face.Width() - 180) / face.TextWidth("0"));
    std::string accented;
    for (long i = 0; i < maxChars; ++i) accented += "é";
    Browser(1).SetTitle(accented);
    ExpectCaption(1, accented, 30);
}

TEST_F(TabsTest, AFaceTooNarrowForThreeCharactersShowsOnlyTitlesThatFitWhole) {
    OpenTabsUpTo(1);
    PictureBox& face = Main().picTab(1);
    face.SetWidth(180 + 2.5 * face.TextWidth("0"));

    Browser(1).SetTitle("abc");
    ExpectCaption(1, "", 30);
    EXPECT_EQ(face.ToolTipText(), "abc (http://127.0.0.1/tab1)");

    Browser(1).SetTitle("ab");
    ExpectCaption(1, "ab", 30);
}

TEST_F(TabsTest, AnEmptyTitleGivesNoCaptionAndTheAddressAsTooltip) {
    Main().AddTab("http://127.0.0.1/untitled");
    Browser(1).StartLoad("http://127.0.0.1/untitled");
    Browser(1).Finish();
    ExpectCaption(1, "", 30);
    EXPECT_EQ(Main().picTab(1).ToolTipText(), " (http://127.0.0.1/untitled)");
    EXPECT_EQ(Main().labCaption.Caption(), "");
}

TEST_F(TabsTest, TheArrowsScrollTheStripOnlyWhileThereIsSomethingToScrollTo) {
    const double windowWidth = Main().Width();
    const double step = Main().picTab(0).Width();
    auto rightEdge = [&] {
        return Main().Picture2.Left() + Main().picTab(Main().picTab.UBound()).Left() + step;
    };
    auto leftHover = [&] { return Main().picTabLeft.GetPicture() == Main().Skin["TabLeftHi"].GetPicture(); };
    auto rightHover = [&] { return Main().picTabRight.GetPicture() == Main().Skin["TabRightHi"].GetPicture(); };

    // At rest, with the faces short of the window's edge, neither arrow scrolls or lights up.
    ASSERT_EQ(Main().Picture2.Left(), 80);
    Main().picTabLeft_MouseMove();
    EXPECT_FALSE(leftHover());
    EXPECT_FALSE(Main().TimerMenus.Enabled());
    Main().picTabLeft_Click();
    Main().picTabRight_MouseMove();
    EXPECT_FALSE(rightHover());
    Main().picTabRight_Click();
    EXPECT_EQ(Main().Picture2.Left(), 80);

    while (rightEdge() < windowWidth) OpenTabsUpTo(Main().WebBrowser1.UBound() + 1);

    int scrolls = 0;
    for (;;) {
        const bool canScroll = rightEdge() >= windowWidth;
        Main().picTabRight_MouseMove();
        EXPECT_EQ(rightHover(), canScroll) << "after " << scrolls << " scrolls";
        EXPECT_EQ(Main().TimerMenus.Enabled(), canScroll);
        const double before = Main().Picture2.Left();
        Main().picTabRight_Click();
        if (!canScroll) {
            EXPECT_EQ(Main().Picture2.Left(), before);
            break;
        }
        ++scrolls;
        EXPECT_EQ(Main().Picture2.Left(), before - step);
        EXPECT_EQ(Main().Picture2.Width(), std::abs(Main().Picture2.Left()) + windowWidth);
        ASSERT_LT(scrolls, 100);
    }
    EXPECT_GE(scrolls, 1);
    // The highest face's right edge now lies left of the window's edge, though the
    // arrows may still cover part of it.
    EXPECT_LT(rightEdge(), windowWidth);

    // Adding and closing tabs leaves the strip where it is.
    const double scrolled = Main().Picture2.Left();
    Main().AddTab("http://127.0.0.1/more");
    Main().DelTab();
    EXPECT_EQ(Main().Picture2.Left(), scrolled);

    for (int i = 0; i < scrolls; ++i) {
        Main().picTabLeft_MouseMove();
        EXPECT_TRUE(leftHover());
        EXPECT_FALSE(rightHover());
        Main().picTabLeft_Click();
    }
    EXPECT_EQ(Main().Picture2.Left(), 80);
    EXPECT_EQ(Main().Picture2.Width(), 80 + windowWidth);
    Main().picTabLeft_Click();
    EXPECT_EQ(Main().Picture2.Left(), 80);
    Main().picTabLeft_MouseMove();
    EXPECT_FALSE(leftHover());
}

TEST_F(TabsTest, TextDroppedOnABackgroundFaceLoadsInThatTabWithoutSelectingIt) {
    OpenTabsUpTo(2);
    Main().Timer1_Timer(1);
    ASSERT_FALSE(Main().Timer1(1).Enabled());

    Main().picTab(1).OLEDragDrop("http://127.0.0.1/dropped");

    EXPECT_EQ(Browser(1).Recorded().navigations.back(), "http://127.0.0.1/dropped");
    EXPECT_EQ(CurrentTab, 2);
    EXPECT_FALSE(Main().Timer1(1).Enabled());
    EXPECT_TRUE(InFront(2));
    // The load that starts switches the poll on.
    Browser(1).StartLoad("http://127.0.0.1/dropped");
    EXPECT_TRUE(Main().Timer1(1).Enabled());
    EXPECT_EQ(CurrentTab, 2);
}

TEST_F(TabsTest, HoverOverFacesAndTheStripClearsTheHighlights) {
    Main().ResetButtons(3);
    ASSERT_TRUE(Main().TimerMenus.Enabled());
    Main().picTab(0).MouseMove(0, 0, 10, 10);
    EXPECT_FALSE(Main().TimerMenus.Enabled());
    EXPECT_EQ(Main().picButton(3).GetPicture(), Main().Skin["picStopBut"].GetPicture());

    Main().ResetButtons(-2);
    Main().Picture2.MouseMove(0, 0, 10, 10);
    EXPECT_FALSE(Main().TimerMenus.Enabled());
    EXPECT_EQ(Main().picTabLeft.GetPicture(), Main().Skin["TabLeft"].GetPicture());
}

TEST_F(TabsTest, TheQuitEventOfTabZeroLeavesItWhole) {
    OpenTabsUpTo(1);
    Browser(0).Quit();
    EXPECT_TRUE(TabLoaded(0));
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_TRUE(TabLoaded(1));
    Main().picTab_Click(0);
    Browser(0).Quit();
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_TRUE(TabLoaded(0));
}

TEST_F(TabsTest, TheQuitEventOfABackgroundTabClosesItWholeAndKeepsTheSelection) {
    OpenTabsUpTo(3);
    Main().picTab_Click(1);

    Browser(2).Quit();

    EXPECT_TRUE(TabGone(2));
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_TRUE(InFront(1));
    EXPECT_EQ(Main().picTab(3).Left(), 4500);
    EXPECT_EQ(MenuItems(), (std::vector<std::string>{" 0", " 1", " 3"}));
    EXPECT_EQ(Main().labCaption.Caption(), "Tab 1");

    // Every tab left has all three parts, so closing and adding go on as usual.
    Main().DelTab();
    EXPECT_EQ(CurrentTab, 3);
    Main().AddTab("http://127.0.0.1/next");
    EXPECT_EQ(CurrentTab, 4);
    EXPECT_EQ(Main().picTab(4).Left(), 4500);
}

TEST_F(TabsTest, TheQuitEventOfTheCurrentTabSelectsTheHighestLeft) {
    OpenTabsUpTo(3);
    Main().picTab_Click(2);
    Browser(2).Quit();
    EXPECT_TRUE(TabGone(2));
    EXPECT_EQ(CurrentTab, 3);
    EXPECT_TRUE(InFront(3));

    Browser(3).Quit();
    EXPECT_TRUE(TabGone(3));
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/tab1");
}

}  // namespace
