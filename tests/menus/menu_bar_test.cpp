#include <string>

#include "app/State.h"
#include "menus/FrmFavMenu.h"
#include "menus_fixture.h"

using namespace platform;

namespace {

using MenuBarTest = MenusFixture;

TEST_F(MenuBarTest, MenuModeFollowsClicksHoversAlongTheBarDeactivationAndChosenItems) {
    // Hovering without a click highlights only.
    Main().mnuFile_MouseMove();
    EXPECT_FALSE(Main().mnuFile.Transparent());
    EXPECT_FALSE(frmMenu.Loaded());
    // A click sets menu mode without opening anything.
    Main().mnuFile_Click();
    EXPECT_EQ(MenuMode, 1);
    EXPECT_FALSE(frmMenu.Loaded());
    Main().mnuFile_MouseMove();
    EXPECT_EQ(CurrentMenu, "file");
    EXPECT_EQ(OpenMenuRows(),
              "New Tab,New Window,Open...,Save as...,-,Remove Tab,-,Print...,-,Work Offline,Close");
    // Hovering the same title again changes nothing.
    auto* fileMenu = frmMenu.IfLoaded();
    Main().mnuFile_MouseMove();
    EXPECT_EQ(frmMenu.IfLoaded(), fileMenu);
    // Moving along the bar switches menus.
    Main().Label2_MouseMove();
    EXPECT_EQ(CurrentMenu, "view");
    EXPECT_TRUE(Main().mnuFile.Transparent());
    EXPECT_FALSE(Main().Label2.Transparent());
    EXPECT_EQ(OpenMenuRows(), "Forward,Back,Stop,Refresh,-,History,Search,-,Source,-,Cookies...,-,Browser "
                              "Options...,Internet Options...");
    // The background hovers clear the highlights and leave the menu open.
    Main().Picture9_MouseMove();
    EXPECT_TRUE(Main().Label2.Transparent());
    EXPECT_TRUE(frmMenu.Loaded());
    // Towards the favourites title the favourites menu opens and takes the activation
    // from the drop-down, which closes; menu mode stays.
    Main().labFavs_MouseMove();
    EXPECT_TRUE(frmFavMenu.Loaded());
    EXPECT_FALSE(frmMenu.Loaded());
    EXPECT_EQ(MenuMode, 1);
    EXPECT_EQ(CurrentMenu, "");
    // So the next title hovered opens its menu at once.
    Main().Label1_MouseMove();
    EXPECT_EQ(OpenMenuRows(), "Cut,Copy,Paste,-,Select All,-,Find (on this page) ...");
    // Elsewhere, deactivation ends menu mode.
    frmMenu->Form_Deactivate();
    EXPECT_EQ(MenuMode, 0);
    Main().Label4_MouseMove();
    EXPECT_FALSE(frmMenu.Loaded());
    // Choosing an item ends menu mode and closes the menu.
    Open(&FrmMain::Label4_Click, &FrmMain::Label4_MouseMove);
    EXPECT_EQ(OpenMenuRows(), "About...");
    Choose("About...");
    EXPECT_EQ(MenuMode, 0);
    EXPECT_FALSE(frmMenu.Loaded());
    EXPECT_TRUE(Main().Label4.Transparent());
}

TEST_F(MenuBarTest, TheMenuOpensUnderItsTitleWhereverTheWindowIs) {
    Main().Move(600000, 450000);
    Open(&FrmMain::Label5_Click, &FrmMain::Label5_MouseMove);
    ASSERT_TRUE(frmMenu.Loaded());
    EXPECT_EQ(frmMenu->Left(), 600000 + 3360);
    EXPECT_EQ(frmMenu->Top(), 450000 + 300 + 90 + 195);
}

TEST_F(MenuBarTest, TheTabsMenuNumbersLiveTabsAndBlanksCommasInTitles) {
    OpenTabsUpTo(3);
    Browser(1).Load("http://127.0.0.1/one", "One, with a comma");
    CurrentTab = 2;
    Main().DelTab();
    Open(&FrmMain::Label5_Click, &FrmMain::Label5_MouseMove);
    EXPECT_EQ(OpenMenuRows(), "Save Tab Layout...,Restore Tab Layout...,-,1. Zero,2. One  with a comma,3. Tab 3");
}

TEST_F(MenuBarTest, TheLaunchMenuReadsLaunchDatOnEnteringAndBlanksCommasInNames) {
    struct Case {
        const char* file;  // nullptr: no launch.dat
        const char* rows;  // "": no menu
        int names;
    } cases[] = {
        {nullptr, "", 0},
        {"", "Customise,-", 0},
        {"Editor\r\nxed notes.txt\r\nMail, news\r\nthunderbird\r\n", "Customise,-,Editor,Mail  news", 2},
        {"Editor\r\nxed\r\nDangling\r\n", "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "(missing)");
        std::filesystem::remove(folder / "launch.dat");
        if (c.file) WriteFile("launch.dat", c.file);
        Main().Label1_MouseMove();
        frmMenu.Unload();
        Open(&FrmMain::Label3_Click, &FrmMain::Label3_MouseMove);
        EXPECT_EQ(OpenMenuRows(), c.rows);
        EXPECT_EQ(CurrentMenu, "launch");
        EXPECT_EQ(Main().lstLaunchNames.ListCount(), c.names);
        EXPECT_EQ(Main().lstLaunchRun.ListCount(), std::string(c.rows).empty() && c.names ? c.names - 1 : c.names);
    }
    // Hovering the launch title again reads nothing.
    WriteFile("launch.dat", "Other\r\nother\r\n");
    Main().Label3_MouseMove();
    EXPECT_EQ(Main().lstLaunchNames.List(0), "Editor");
}

TEST_F(MenuBarTest, TheFileMenuOffersWorkOnlineWhileTheTabIsOffline) {
    Open(&FrmMain::mnuFile_Click, &FrmMain::mnuFile_MouseMove);
    Choose("Work Offline");
    EXPECT_TRUE(Browser(0).Offline());
    Open(&FrmMain::mnuFile_Click, &FrmMain::mnuFile_MouseMove);
    EXPECT_EQ(OpenMenuRows(), "New Tab,New Window,Open...,Save as...,-,Remove Tab,-,Print...,-,Work Online,Close");
    Choose("Work Online");
    EXPECT_FALSE(Browser(0).Offline());
}

TEST_F(MenuBarTest, TheIdleTimerResetsTheHighlightsAndTheMainWindowClosesTheMenu) {
    Open(&FrmMain::Label1_Click, &FrmMain::Label1_MouseMove);
    EXPECT_TRUE(Main().TimerMenus.Enabled());
    Main().TimerMenus_Timer();
    EXPECT_TRUE(Main().Label1.Transparent());
    EXPECT_FALSE(Main().TimerMenus.Enabled());
    EXPECT_TRUE(frmMenu.Loaded());
    frmMain.Unload();
    EXPECT_FALSE(frmMenu.Loaded());
    EXPECT_EQ(DropMenuOpen, 0);
}

}  // namespace
