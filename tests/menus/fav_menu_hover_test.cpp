#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "fav_menu_fixture.h"
#include "platform/favorites_dialogs.h"
#include "platform/internet_shortcut.h"
#include "warning_log.h"

using testing_support::Pump;
using testing_support::PumpFor;
using Folders = std::vector<std::string>;

namespace {
int RowOf(FrmFavMenu& level, const std::string& caption) {
    int found = -1;
    level.labFolder.ForEach([&](platform::Label& row, int i) {
        if (row.Caption() == caption) found = i;
    });
    level.labMenuItem.ForEach([&](platform::Label& row, int i) {
        if (row.Caption() == caption) found = i;
    });
    return found;
}
}  // namespace

// The hover path keeps exactly the chain of levels down to it open; each level's poll closes the rest.
TEST_F(FavMenuTest, HoverPathAndClosePoll) {
    MakeFolder("News/World");
    MakeFolder("Newsletters");
    MakeShortcut("Home.url", "http://127.0.0.1/home");
    MakeShortcut("News/Daily.url", "http://127.0.0.1/daily");
    auto& top = OpenTop();
    const int news = RowOf(top, "News"), newsletters = RowOf(top, "Newsletters"), home = RowOf(top, "Home");

    // A folder row opens its sub-level after the delay, level with the row.
    top.labFolder_MouseMove(news);
    ASSERT_TRUE(WaitForFolders({"", "News"}));
    EXPECT_EQ(Level("News")->Top(), top.Top() + top.labFolder(news).Top() - top.labAdd.Top());
    EXPECT_EQ(Level("News")->Left(), top.Left() + top.Width() - 60);
    EXPECT_FALSE(top.Timer2.Enabled());

    // Moving about on the open folder's row opens no second copy.
    top.labFolder_MouseMove(news);
    PumpFor(700);
    EXPECT_EQ(OpenFolders(), (Folders{"", "News"}));

    // Deeper, then the sibling whose name begins with the other's: News and all below it close.
    Level("News")->labFolder_MouseMove(0);
    ASSERT_TRUE(WaitForFolders({"", "News", "News/World"}));
    top.labFolder_MouseMove(newsletters);
    ASSERT_TRUE(WaitForFolders({"", "Newsletters"}));

    // Back on a link row of the parent: the sub-level closes; nothing opens after a cancelled delay.
    top.labFolder_MouseMove(news);
    top.labMenuItem_MouseMove(home);
    EXPECT_FALSE(top.Timer2.Enabled());
    ASSERT_TRUE(WaitForFolders({""}));
    PumpFor(700);
    EXPECT_EQ(OpenFolders(), Folders{""});

    // The command rows leave the delay running: the folder hovered before still opens.
    top.labFolder_MouseMove(news);
    top.labOrganise_MouseMove();
    EXPECT_TRUE(top.Timer2.Enabled());
    ASSERT_TRUE(WaitForFolders({"", "News"}));

    // Clearing the path, as the main window's activation does, closes the whole cascade, and no timer of it runs on.
    FavMenuHoverPath = "";
    ASSERT_TRUE(WaitForFolders({}));
    EXPECT_FALSE(frmFavMenu.Loaded());
    EXPECT_EQ(MenuMode, 0);
}

TEST_F(FavMenuTest, RowHighlightFollowsTheMouseOnItsOwnLevel) {
    MakeFolder("A");
    MakeShortcut("b.url", "http://127.0.0.1/b");
    auto& top = OpenTop();
    top.labFolder_MouseMove(0);
    EXPECT_FALSE(top.labFolder(0).Transparent());
    EXPECT_EQ(top.labFolder(0).BackColor(), FavMenuHighlightBack);
    EXPECT_TRUE(testing_support::SameImage(top.picArrow(0).GetPicture(), frmMain->Skin["picArrowHi"].GetPicture()));
    top.labMenuItem_MouseMove(0);
    EXPECT_TRUE(top.labFolder(0).Transparent());
    EXPECT_FALSE(top.labMenuItem(0).Transparent());
    EXPECT_EQ(top.labMenuItem(0).ToolTipText(), "http://127.0.0.1/b");
    top.labAdd_MouseMove();
    EXPECT_FALSE(top.labAdd.Transparent());
    EXPECT_TRUE(top.labMenuItem(0).Transparent());
}

TEST_F(FavMenuTest, AFavouriteOpensInTheCurrentTab) {
    MakeFolder("Sites");
    MakeShortcut("Sites/Page.url", "http://127.0.0.1/page");
    auto& top = OpenTop();
    top.labFolder_MouseMove(0);
    ASSERT_TRUE(WaitForFolders({"", "Sites"}));
    MenuMode = 1;
    Level("Sites")->labMenuItem_Click(0);
    EXPECT_EQ(Browser(0).Recorded().navigations.back(), "http://127.0.0.1/page");
    EXPECT_EQ(Main().Combo1.Text(), "http://127.0.0.1/page");
    EXPECT_TRUE(Main().Timer1(0).Enabled());
    EXPECT_TRUE(testing_support::SameImage(Main().Picture3.GetPicture(), Main().PicStore(0).GetPicture()));
    EXPECT_EQ(MenuMode, 0);
    EXPECT_EQ(Main().Combo1.ListCount(), 0);
    ASSERT_TRUE(WaitForFolders({}));
}

TEST_F(FavMenuTest, AFavouriteWithoutAnAddressOnlyClosesTheCascade) {
    std::ofstream(favorites + "/Broken.url", std::ios::binary) << "[InternetShortcut]\r\nIDList=\r\n";
    auto& top = OpenTop();
    const auto before = Browser(0).Recorded().navigations.size();
    top.labMenuItem_Click(0);
    EXPECT_EQ(Browser(0).Recorded().navigations.size(), before);
    EXPECT_EQ(endCalls, 0);
    ASSERT_TRUE(WaitForFolders({}));
}

// A folder named on another system: its level and the levels below it stay open
// while the pointer is in them, and its rows show without a warning.
TEST_F(FavMenuTest, AFolderWhoseNameIsNoUtf8KeepsItsLevelsOpen) {
    const std::string name = "Caf\xC3";
    MakeFolder(name + "/Sub");
    MakeShortcut(name + "/Men\xFC.url", "http://127.0.0.1/menu");
    testing_support::WarningLog log;
    auto& top = OpenTop();
    top.labFolder_MouseMove(RowOf(top, name));
    ASSERT_TRUE(WaitForFolders({"", name}));
    Level(name)->labFolder_MouseMove(RowOf(*Level(name), "Sub"));
    ASSERT_TRUE(WaitForFolders({"", name, name + "/Sub"}));
    PumpFor(300);
    EXPECT_EQ(OpenFolders(), (Folders{"", name, name + "/Sub"}));
    EXPECT_EQ(log.Messages(), std::vector<std::string>{});
    FavMenuHoverPath = "";
    ASSERT_TRUE(WaitForFolders({}));
}

// The pointer moving over a row reads its shortcut once, one without an address too;
// coming back to the row after another reads it again.
TEST_F(FavMenuTest, AShortcutIsReadOnceWhileThePointerStaysOnItsRow) {
    std::ofstream(favorites + "/Blank.url", std::ios::binary) << "[InternetShortcut]\r\nIDList=\r\n";
    MakeShortcut("Other.url", "http://127.0.0.1/other");
    auto& top = OpenTop();
    const int blank = RowOf(top, "Blank"), other = RowOf(top, "Other");
    top.labMenuItem_MouseMove(blank);
    EXPECT_EQ(top.labMenuItem(blank).ToolTipText(), "");
    MakeShortcut("Blank.url", "http://127.0.0.1/blank");
    top.labMenuItem_MouseMove(blank);
    EXPECT_EQ(top.labMenuItem(blank).ToolTipText(), "") << "read again while the pointer stayed on the row";
    top.labMenuItem_MouseMove(other);
    EXPECT_EQ(top.labMenuItem(other).ToolTipText(), "http://127.0.0.1/other");
    top.labMenuItem_MouseMove(blank);
    EXPECT_EQ(top.labMenuItem(blank).ToolTipText(), "http://127.0.0.1/blank");
}

// The command rows run their dialog with the cascade still open behind it, and close it after.
TEST_F(FavMenuTest, AddToFavouritesFromTheTopLevel) {
    Browser(0).Load("http://127.0.0.1/zero", "Zero / the first page");
    auto& top = OpenTop();
    Folders whileOpen;
    platform::AddFavoriteDialog::WhenShown = [&](platform::AddFavoriteDialog& dialog) {
        whileOpen = OpenFolders();
        EXPECT_EQ(dialog.Name(), "Zero  the first page");
        dialog.SetName("Zero");
        dialog.Accept();
    };
    top.labAdd_Click();
    platform::AddFavoriteDialog::WhenShown = nullptr;
    EXPECT_EQ(whileOpen, Folders{""});
    EXPECT_EQ(platform::ReadInternetShortcut(favorites + "/Zero.url"), "http://127.0.0.1/zero");
    ASSERT_TRUE(WaitForFolders({}));
}

// A top level that closes while a drop-down menu is open leaves menu mode to that menu.
TEST_F(FavMenuTest, TheTopLevelResetsTheMenuBarOnlyWithoutADropDownOpen) {
    for (const std::int16_t dropMenuOpen : {1, 0}) {
        SCOPED_TRACE(dropMenuOpen);
        OpenTop();
        DropMenuOpen = dropMenuOpen;
        MenuMode = 1;
        FavMenuHoverPath = "";
        ASSERT_TRUE(WaitForFolders({}));
        EXPECT_EQ(MenuMode, dropMenuOpen == 1 ? 1 : 0);
    }
}

TEST_F(FavMenuTest, TheMainWindowUnloadsTheCascadeWhenItCloses) {
    OpenTop();
    frmMain.Unload();
    EXPECT_FALSE(frmFavMenu.Loaded());
    EXPECT_EQ(endCalls, 1);
}

TEST_F(FavMenuTest, TheFavouritesTitleOpensTheTopLevelBelowItInMenuMode) {
    MakeShortcut("Home.url", "http://127.0.0.1/home");
    Main().labFavs_MouseMove();
    EXPECT_FALSE(frmFavMenu.Loaded()) << "outside menu mode the title only highlights";

    Main().labFavs_Click();
    Main().labFavs_MouseMove();
    ASSERT_TRUE(frmFavMenu.Loaded());
    auto& top = frmFavMenu.Get();
    EXPECT_TRUE(top.Visible());
    EXPECT_TRUE(top.TopLevel);
    EXPECT_EQ(top.Source, favorites);
    EXPECT_EQ(FavMenuHoverPath, favorites);
    EXPECT_EQ(top.Top(), Main().Top() + Main().Picture9.Top() + Main().labFavs.Top() + Main().labFavs.Height());
    EXPECT_EQ(top.Left(), Main().Left() + Main().labFavs.Left());
    EXPECT_EQ(CurrentMenu, "favourites");
    EXPECT_FALSE(Main().TimerMenus.Enabled());

    Main().labFavs_MouseMove();
    EXPECT_EQ(OpenFolders(), Folders{""});
}

// A file where the Favorites folder should be: the menu has no folder to show and
// closes again instead of staying open for good.
TEST_F(FavMenuTest, WithoutAFavoritesFolderTheMenuCloses) {
    std::filesystem::remove_all(favorites);
    std::ofstream(favorites) << "not a folder";
    Main().labFavs_Click();
    Main().labFavs_MouseMove();
    EXPECT_TRUE(WaitForFolders({})) << "the level stays open";
    EXPECT_EQ(MenuMode, 0);
    std::filesystem::remove(favorites);
}
