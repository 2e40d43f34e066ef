#include <filesystem>
#include <string>

#include "app/State.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmLaunch.h"
#include "menus/MenuModule.h"
#include "menus_fixture.h"
#include "test_support.h"

using namespace platform;

namespace {

using MenuCommandTest = MenusFixture;

TEST_F(MenuCommandTest, FixedCommandsComeFirstThenTabsAndLaunchEntriesByTheirRows) {
    OpenTabsUpTo(4);
    for (int closed : {1, 2}) {
        CurrentTab = static_cast<std::int16_t>(closed);
        Main().DelTab();
    }
    const std::filesystem::path started = folder / "started";
    WriteFile("launch.dat", "Back\r\nnever-run\r\nCustomise\r\nnever-run\r\nMark\r\ntouch '" + started.string() +
                                "'\r\nBroken\r\nno-such-program-quellin\r\n");
    CurrentTab = 0;
    const int backsBefore = Browser(0).Recorded().goBack;

    // The tabs menu numbers the live tabs 0, 3 and 4: item 2 is tab 3, the last item tab 4.
    const struct {
        const char* row;
        int tab;
    } tabRows[] = {{"2. Tab 3", 3}, {"3. Tab 4", 4}, {"1. Zero", 0}};
    for (const auto& row : tabRows) {
        Open(&FrmMain::Label5_Click, &FrmMain::Label5_MouseMove);
        Choose(row.row);
        EXPECT_EQ(CurrentTab, row.tab) << row.row;
    }
    EXPECT_EQ(Main().lstMenu.Items(), (std::vector<std::string>{" 0", " 3", " 4"}));

    // A launch entry named like a fixed command runs that command; "Customise" the editor.
    CurrentTab = 0;
    Open(&FrmMain::Label3_Click, &FrmMain::Label3_MouseMove);
    Choose("Back");
    EXPECT_EQ(Browser(0).Recorded().goBack, backsBefore + 1);
    Open(&FrmMain::Label3_Click, &FrmMain::Label3_MouseMove);
    frmMenu->mnuText_Click(3);
    ASSERT_TRUE(frmLaunch.Loaded());
    EXPECT_TRUE(frmLaunch->Visible());
    frmLaunch.Unload();

    // Other entries start their own command line, row k + 2 for entry k.
    Open(&FrmMain::Label3_Click, &FrmMain::Label3_MouseMove);
    Choose("Mark");
    EXPECT_EQ(MenuItemIndex, 4);
    EXPECT_TRUE(testing_support::Pump([&] { return std::filesystem::exists(started); }));
    // One that cannot start says which and why; the browser goes on.
    Open(&FrmMain::Label3_Click, &FrmMain::Label3_MouseMove);
    Choose("Broken");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("no-such-program-quellin"), std::string::npos);
    EXPECT_FALSE(frmMenu.Loaded());
}

TEST_F(MenuCommandTest, NewTabAlwaysOpensTheDefaultPageAndSourceShowsThePageSource) {
    Settings.DefaultPage = "http://127.0.0.1/default";
    Settings.NewTabMode = 1;
    MenuModule::MenuCommand("new tab");
    EXPECT_EQ(Main().WebBrowser1.UBound(), 1);
    EXPECT_EQ(Browser(1).Recorded().navigations.back(), "http://127.0.0.1/default");
    CurrentTab = 0;
    MenuModule::MenuCommand("source");
    EXPECT_EQ(Browser(0).Recorded().navigations.back(), "view-source:http://127.0.0.1/zero");
    MenuModule::MenuCommand("select all");
    MenuModule::MenuCommand("find (on this page) ...");
    EXPECT_EQ(Browser(0).Recorded().execWB.back(), (std::pair<int, int>{BrowserView::SelectAll, 2}));
    EXPECT_EQ(Browser(0).Recorded().keys.back(), "^f");
}

TEST_F(MenuCommandTest, TheFileDialogsShareOneNameAndCancellingChangesNothing) {
    const std::string page = (folder / "page.html").string();
    dialogAnswer = page;
    MenuModule::MenuCommand("open...");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].title, "Open Local Web Page");
    EXPECT_EQ(dialogs[0].filter, "Web Pages (*.htm;*.html)|*.htm;*.html|All files (*.*)|*.*");
    EXPECT_EQ(Browser(0).Recorded().navigations.back(), page);

    // The next dialog proposes the name chosen last; cancelling it does nothing.
    dialogAnswer.reset();
    const auto navigations = Browser(0).Recorded().navigations.size();
    for (const char* command : {"save tab layout...", "restore tab layout...", "open..."}) MenuModule::MenuCommand(command);
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_TRUE(dialogs[1].save);
    EXPECT_EQ(dialogs[1].title, "Save Tab Layout");
    EXPECT_EQ(dialogs[1].filter, "Tab Layouts (*.tab)|*.tab");
    EXPECT_EQ(dialogs[2].title, "Open Tab Layout");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(dialogs[i].proposedFileName, page) << i;
    EXPECT_EQ(Browser(0).Recorded().navigations.size(), navigations);
    EXPECT_FALSE(std::filesystem::exists(folder / "page.tab"));
    EXPECT_TRUE(messages.empty());
}

}  // namespace
