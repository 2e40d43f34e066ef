#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "common/Module2.h"
#include "menus/FrmFavMenu.h"
#include "menus/MenuState.h"
#include "platform/app.h"
#include "platform/browser_view.h"
#include "platform/favorites_dialogs.h"
#include "platform/internet_shortcut.h"
#include "platform/shell_folders.h"
#include "platform/twips.h"
#include "platform/url_cache.h"
#include "real_program.h"
#include "soup_server.h"
#include "pointer.h"
#include "test_support.h"

using namespace platform;
using testing_support::Click;
using testing_support::PointAt;
using testing_support::Pump;
using testing_support::TestServer;
using testing_support::TitledPage;

namespace {

// The favourites cascade over real WebKit views, with pages from a server on 127.0.0.1.
class FavouritesE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::PrepareProgramOnRealViews();
        server.Add("/start", TitledPage("Start page"));
        server.Add("/daily", TitledPage("Daily news"));
        favorites = Module2::FindSystemFolder(CSIDL_FAVORITES);
        std::filesystem::create_directories(favorites + "/News/Papers");
        WriteInternetShortcut(favorites + "/Start.url", server.Url("/start"));
        WriteInternetShortcut(favorites + "/News/Papers/Daily.url", server.Url("/daily"));
    }

    FrmMain& Main() { return frmMain.Get(); }

    void StartOnStartPage() {
        SetCommandForTesting(server.Url("/start"));
        frmSplash.Get();
        ASSERT_TRUE(Pump([&] { return Main().labCaption.Caption() == "Start page" && !Main().Timer1(0).Enabled(); }));
        // The main window's first activation clears the hover path: let it pass before the menu opens.
        Pump([&] { return Main().Window().property_is_active().get_value(); }, 2000);
        testing_support::PumpFor(300);
    }

    // Clicks the favourites title and moves on it, as a user opens the favourites menu,
    // until the menu is on screen.
    FrmFavMenu& OpenFavourites() {
        const int x = TwipsToPixelsX(Main().Left() + Main().Picture9.Left() + Main().labFavs.Left() + 300);
        const int y = TwipsToPixelsY(Main().Top() + Main().Picture9.Top() + Main().labFavs.Top() + 90);
        PointAt(x, y);
        Click();
        PointAt(x + 2, y);
        EXPECT_TRUE(Pump([&] { return frmFavMenu.Loaded() && frmFavMenu->Visible() && frmFavMenu->Window().get_mapped(); }))
            << "the favourites menu did not open";
        return frmFavMenu.Get();
    }

    FrmFavMenu* Level(const std::string& path) {
        for (auto* form : LoadedForms())
            if (auto* level = dynamic_cast<FrmFavMenu*>(form); level && level->Source == path) return level;
        return nullptr;
    }

    // Points at the middle of a row's text as the level shows it on screen, once
    // the level's window is up and the pointer's way into it settled.
    void PointAtRow(FrmFavMenu& level, Label& row) {
        ASSERT_TRUE(Pump([&] { return level.Window().get_mapped() && row.Widget().get_mapped(); }));
        testing_support::PumpFor(300);
        PointAt(TwipsToPixelsX(level.Left() + row.Left() + 300),
                TwipsToPixelsY(level.Top() + level.picMenuBack.Top() + row.Top() + row.Height() / 2));
    }

    // Rests the pointer on a folder row until the row's sub-level, on that folder, is
    // on screen; nothing when it does not open.
    FrmFavMenu* OpenSubLevel(FrmFavMenu& level, int row, const std::string& folder) {
        PointAtRow(level, level.labFolder(row));
        if (!Pump([&] { return Level(folder) != nullptr; }, 5000)) return nullptr;
        FrmFavMenu* sub = Level(folder);
        return Pump([&] { return sub->Window().get_mapped(); }) ? sub : nullptr;
    }

    TestServer server;
    std::string favorites;
};

TEST_F(FavouritesE2eTest, AFavouriteTwoFoldersDownOpensInTheCurrentTab) {
    StartOnStartPage();
    auto& top = OpenFavourites();
    ASSERT_EQ(top.labFolder(0).Caption(), "News");

    FrmFavMenu* news = OpenSubLevel(top, 0, favorites + "/News");
    ASSERT_NE(news, nullptr) << "no sub-level for News";
    FrmFavMenu* found = OpenSubLevel(*news, 0, favorites + "/News/Papers");
    ASSERT_NE(found, nullptr) << "no sub-level for Papers";
    auto& papers = *found;

    PointAtRow(papers, papers.labMenuItem(0));
    ASSERT_TRUE(Pump([&] { return papers.labMenuItem(0).ToolTipText() == server.Url("/daily"); }));
    Click();
    ASSERT_TRUE(Pump([&] { return Main().labCaption.Caption() == "Daily news"; }, 15000)) << "the favourite did not load";
    EXPECT_EQ(Main().WebBrowser1(0).LocationURL(), server.Url("/daily"));
    EXPECT_EQ(Main().Combo1.Text(), server.Url("/daily"));
    EXPECT_TRUE(Pump([&] { return !frmFavMenu.Loaded() && Level(favorites + "/News") == nullptr; }));
}

// A level longer than the screen scrolls one row for each move of the pointer over
// its down arrow, down to its last shortcut, which opens.
TEST_F(FavouritesE2eTest, ALongLevelScrollsDownToItsLastShortcut) {
    server.Add("/last", TitledPage("Last page"));
    const int links = 120;
    std::filesystem::create_directories(favorites + "/Long");
    for (int i = 0; i < links; ++i)
        WriteInternetShortcut(favorites + "/Long/Link " + std::to_string(1000 + i) + ".url",
                              server.Url(i == links - 1 ? "/last" : "/start"));
    StartOnStartPage();
    auto& top = OpenFavourites();
    ASSERT_EQ(top.labFolder(0).Caption(), "Long");
    FrmFavMenu* found = OpenSubLevel(top, 0, favorites + "/Long");
    ASSERT_NE(found, nullptr) << "no sub-level for Long";
    auto& level = *found;
    ASSERT_TRUE(level.picScroll.Visible());

    for (int moves = 0; level.picScroll.Visible(); ++moves) {
        ASSERT_LT(moves, links) << "the down arrow never went";
        const double scrolled = level.picMenuBack.Top();
        testing_support::PointAtControl(level.labScroll, 20 + moves % 2, TwipsToPixelsY(level.labScroll.Height()) / 2);
        ASSERT_TRUE(Pump([&] { return level.picMenuBack.Top() != scrolled; })) << "a move over the arrow scrolled nothing";
    }
    ASSERT_TRUE(level.labMenuItem.Exists(links - 1) && level.labMenuItem(links - 1).Visible());
    PointAtRow(level, level.labMenuItem(links - 1));
    ASSERT_TRUE(Pump([&] { return level.labMenuItem(links - 1).ToolTipText() == server.Url("/last"); }));
    Click();
    EXPECT_TRUE(Pump([&] { return Main().labCaption.Caption() == "Last page"; }, 15000)) << "the last favourite did not load";
}

TEST_F(FavouritesE2eTest, TheCurrentPageIsAddedToTheFavorites) {
    StartOnStartPage();
    auto& top = OpenFavourites();
    AddFavoriteDialog::WhenShown = [](AddFavoriteDialog& dialog) {
        dialog.SetFolder(1);
        dialog.Accept();
    };
    top.labAdd_Click();
    AddFavoriteDialog::WhenShown = nullptr;
    EXPECT_EQ(ReadInternetShortcut(favorites + "/News/Start page.url"), server.Url("/start"));
    EXPECT_TRUE(Pump([&] { return !frmFavMenu.Loaded(); }));
}

}  // namespace
