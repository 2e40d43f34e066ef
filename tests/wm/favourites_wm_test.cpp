#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "program_fixture.h"
#include "pointer.h"
#include "common/Module2.h"
#include "menus/FrmFavMenu.h"
#include "platform/shell_folders.h"
#include "platform/twips.h"

using namespace platform;
using testing_support::Click;
using testing_support::PointAt;
using testing_support::Pump;

namespace {

// The Favorites folder, made to hold News/Papers.
std::string FavouriteFolders() {
    const std::string favorites = Module2::FindSystemFolder(CSIDL_FAVORITES);
    std::filesystem::create_directories(favorites + "/News/Papers");
    return favorites;
}

// The main window of the started program, once shown where the window manager put it.
FrmMain& PlacedMainWindow() {
    FrmMain& main = frmMain.Get();
    EXPECT_TRUE(Pump([&] { return main.Window().get_mapped(); }, 5000));
    main.WaitForPlacement();
    return main;
}

// Rests the pointer on a row of a level where the screen shows it, until the row
// lights up. On a busy display the window manager may place a level only after the
// pointer got there: the row is then pointed at again where the level went.
void PointAtRow(platform::Label& row) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        testing_support::PointAtControl(row, 20, 7);
        if (Pump([&] { return !row.Transparent(); }, 1000)) return;
    }
    ADD_FAILURE() << "the row under the pointer never lit up";
}

// A click on the menu bar's Favourites title, the pointer then resting on it.
void ClickTheFavouritesTitle(FrmMain& main) {
    const int titleX = TwipsToPixelsX(main.Left() + main.Picture9.Left() + main.labFavs.Left() + 300);
    const int titleY = TwipsToPixelsY(main.Top() + main.Picture9.Top() + main.labFavs.Top() + 90);
    PointAt(titleX, titleY);
    Click();
    PointAt(titleX + 2, titleY);
}

}  // namespace

// Under a window manager the favourites menu opens where the program puts it, and a
// click back on the main window activates it, which closes the whole cascade.
TEST_F(ProgramTest, FavouritesCascadeUnderAWindowManager) {
    const std::string favorites = FavouriteFolders();
    Start("about:blank");
    FrmMain& main = PlacedMainWindow();

    ClickTheFavouritesTitle(main);
    ASSERT_TRUE(Pump([] { return frmFavMenu.Loaded() && frmFavMenu->Window().get_mapped(); }, 5000));
    FrmFavMenu& top = frmFavMenu.Get();
    ASSERT_TRUE(Pump([&] {
        int x = 0, y = 0;
        top.Window().get_window()->get_origin(x, y);
        return x == TwipsToPixelsX(top.Left()) && y == TwipsToPixelsY(top.Top());
    }, 5000)) << "the window manager placed the level elsewhere";

    PointAt(TwipsToPixelsX(main.Left() + main.Picture1.Left()) + 300,
            TwipsToPixelsY(main.Top() + main.Picture1.Top() + main.Picture1.Height()) - 20);
    Click();
    EXPECT_TRUE(Pump([] { return !frmFavMenu.Loaded(); }, 5000)) << "the cascade stays open behind the main window";
    EXPECT_TRUE(main.labFavs.Transparent());
}

// A click inside a sub-level gives that level the focus; when it closes, the window
// manager hands the focus back to the main window. That is no activation by the
// user: the level the pointer went back to stays open.
TEST_F(ProgramTest, ALevelClickedAndClosedLeavesTheCascadeOpen) {
    const std::string favorites = FavouriteFolders();
    Start("about:blank");
    FrmMain& main = PlacedMainWindow();

    const auto level = [&](const std::string& path) -> FrmFavMenu* {
        for (Form* form : LoadedForms())
            if (auto* found = dynamic_cast<FrmFavMenu*>(form); found && found->Source == path) return found;
        return nullptr;
    };
    const auto mappedLevel = [&](const std::string& path) {
        return Pump([&] { return level(path) && level(path)->Window().get_mapped(); }, 5000);
    };

    ClickTheFavouritesTitle(main);
    ASSERT_TRUE(mappedLevel(favorites));
    FrmFavMenu& top = *level(favorites);
    ASSERT_NO_FATAL_FAILURE(PointAtRow(top.labFolder(0)));
    ASSERT_TRUE(mappedLevel(favorites + "/News"));
    FrmFavMenu& news = *level(favorites + "/News");
    ASSERT_NO_FATAL_FAILURE(PointAtRow(news.labFolder(0)));
    Click();
    ASSERT_TRUE(Pump([&] { return news.Window().is_active(); }, 5000)) << "the click gave the level no focus";
    ASSERT_TRUE(mappedLevel(favorites + "/News/Papers"));

    ASSERT_NO_FATAL_FAILURE(PointAtRow(top.labAdd));
    ASSERT_TRUE(Pump([&] { return !level(favorites + "/News"); }, 5000));
    EXPECT_FALSE(Pump([] { return !frmFavMenu.Loaded(); }, 1500)) << "the whole cascade closed";

    // A click on the page still closes what is left.
    PointAt(TwipsToPixelsX(main.Left() + main.Picture1.Left()) + 300,
            TwipsToPixelsY(main.Top() + main.Picture1.Top() + main.Picture1.Height()) - 20);
    Click();
    EXPECT_TRUE(Pump([] { return !frmFavMenu.Loaded(); }, 5000)) << "the cascade stays open";
}
