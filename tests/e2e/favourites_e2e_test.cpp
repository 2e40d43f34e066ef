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

    // Clicks the favourites title and moves on it, as a user opens the favourites menu.
    FrmFavMenu& OpenFavourites() {
        const int x = TwipsToPixelsX(Main().Left() + Main().Picture9.Left() + Main().labFavs.Left() + 300);
        const int y = TwipsToPixelsY(Main().Top() + Main().Picture9.Top() + Main().labFavs.Top() + 90);
        PointAt(x, y);
        Click();
        PointAt(x + 2, y);
        EXPECT_TRUE(Pump([&] { return frmFavMenu.Loaded() && frmFavMenu->Visible(); })) << "the favourites menu did not open";
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

    TestServer server;
    std::string favorites;
};

TEST_F(FavouritesE2eTest, AFavouriteTwoFoldersDownOpensInTheCurrentTab) {
    StartOnStartPage();
    auto& top = OpenFavourites();
    ASSERT_TRUE(Pump([&] { return top.Window().get_mapped(); }));
    ASSERT_EQ(top.labFolder(0).Caption(), "News");

    PointAtRow(top, top.labFolder(0));
    ASSERT_TRUE(Pump([&] { return Level(favorites + "/News") != nullptr; }, 5000)) << "no sub-level for News";
    auto& news = *Level(favorites + "/News");
    ASSERT_TRUE(Pump([&] { return news.Window().get_mapped(); }));
    PointAtRow(news, news.labFolder(0));
    ASSERT_TRUE(Pump([&] { return Level(favorites + "/News/Papers") != nullptr; }, 5000)) << "no sub-level for Papers";
    auto& papers = *Level(favorites + "/News/Papers");
    ASSERT_TRUE(Pump([&] { return papers.Window().get_mapped(); }));

    PointAtRow(papers, papers.labMenuItem(0));
    ASSERT_TRUE(Pump([&] { return papers.labMenuItem(0).ToolTipText() == server.Url("/daily"); }));
    Click();
    ASSERT_TRUE(Pump([&] { return Main().labCaption.Caption() == "Daily news"; }, 15000)) << "the favourite did not load";
    EXPECT_EQ(Main().WebBrowser1(0).LocationURL(), server.Url("/daily"));
    EXPECT_EQ(Main().Combo1.Text(), server.Url("/daily"));
    EXPECT_TRUE(Pump([&] { return !frmFavMenu.Loaded() && Level(favorites + "/News") == nullptr; }));
}

TEST_F(FavouritesE2eTest, TheCurrentPageIsAddedToTheFavorites) {
    StartOnStartPage();
    auto& top = OpenFavourites();
    ASSERT_TRUE(Pump([&] { return top.Window().get_mapped(); }));
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
