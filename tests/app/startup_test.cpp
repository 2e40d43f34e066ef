#include <optional>
#include <utility>
#include <vector>
#include <functional>
#include "program_fixture.h"
#include "platform/msgbox.h"

#include "app/FrmDummy.h"
#include "app/StartUp.h"
#include "app/State.h"
#include "menus/MenuModule.h"
#include "menus/MenuState.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "platform/screen.h"

using namespace platform;

TEST_F(ProgramTest, StartUpReadsSettingsCookiesAndOpensTheCommandLineInTabZero) {
    WriteFile("browser.ini", "[Skin]\r\ndefault\r\n\r\n[Popups]\r\n2\r\n\r\n[CookieTrap]\r\n1\r\n\r\n");
    WriteFile("filter.dat", "tracker\r\nAds\r\n\r\nbanner\r\n");
    WriteFile("autocomplete.dat", "http://b.example/\r\nhttp://a.example/\r\n");
    urlCache->Add("Cookie:me@example.org/");
    urlCache->Add("Visited: me@http://example.org/", NORMAL_CACHE_ENTRY);

    Start("\"/home/me/My Pages/index.html\"");

    EXPECT_FALSE(frmSplash.Loaded());
    EXPECT_TRUE(frmMain->Visible());
    EXPECT_TRUE(frmDummy.Loaded());
    EXPECT_TRUE(frmDummy->Visible());
    EXPECT_EQ(Starting, 0);
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_EQ(Settings.PopupMode, 2);
    EXPECT_EQ(Settings.CookieTrapMode, 1);
    EXPECT_EQ(Settings.SkinFolder, "default");
    EXPECT_EQ(::AppPath, folder.string());

    ASSERT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{"/home/me/My Pages/index.html"});

    // The filter words are sorted, case ignored, the empty line kept.
    ASSERT_EQ(frmMain->lstFilter.ListCount(), 4);
    EXPECT_EQ(frmMain->lstFilter.List(0), "");
    EXPECT_EQ(frmMain->lstFilter.List(1), "Ads");
    EXPECT_EQ(frmMain->lstFilter.List(2), "banner");
    EXPECT_EQ(frmMain->lstFilter.List(3), "tracker");

    // Only cookie entries make the baseline.
    ASSERT_EQ(frmMain->lstCookies.ListCount(), 1);
    EXPECT_EQ(frmMain->lstCookies.List(0), "Cookie:me@example.org/");

    ASSERT_EQ(frmMain->Combo1.ListCount(), 2);
    EXPECT_EQ(frmMain->Combo1.List(0), "http://a.example/");

    EXPECT_EQ(frmMain->Timer2.Interval(), 200);
    EXPECT_EQ(frmMain->StatusBar1.ForeColor(), StatusTextColour);
    EXPECT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(8).GetPicture());
    EXPECT_EQ(MenuMode, 0);
    EXPECT_EQ(DropMenuOpen, 0);
}

TEST_F(ProgramTest, AnEmptyCommandLineOpensTheHomePage) {
    Start("");
    EXPECT_EQ(Browser(0).Recorded().goHome, 1);
    EXPECT_TRUE(Browser(0).Recorded().navigations.empty());
}

TEST_F(ProgramTest, ACommandLineOfQuotesOnlyNavigatesToAnEmptyAddress) {
    Start("\"\"");
    EXPECT_EQ(Browser(0).Recorded().goHome, 0);
    EXPECT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{""});
}

TEST_F(ProgramTest, StartsWithoutAnyDataFiles) {
    Start("http://127.0.0.1/");
    EXPECT_EQ(frmMain->lstFilter.ListCount(), 0);
    EXPECT_EQ(frmMain->Combo1.ListCount(), 0);
    EXPECT_EQ(Settings.CookieTrapMode, 0);
    EXPECT_EQ(Settings.DefaultPage, "");
    EXPECT_TRUE(frmMain->Visible());
}

TEST_F(ProgramTest, AMaximisedStartEndsInTheProgramsOwnMaximise) {
    SetWorkAreaForTesting({0, 0, 1280, 800});
    StartMaximised = "1";
    Start("about:blank");
    EXPECT_EQ(IsMaximised, 1);
    EXPECT_EQ(frmMain->Width(), 1280 * 15 + 90);
    EXPECT_EQ(frmMain->Left(), -60);
    EXPECT_EQ(frmMain->WindowState(), vbNormal);
}

TEST_F(ProgramTest, TheCarrierWindowGoesOffScreenAndStaysThere) {
    Start("about:blank");
    EXPECT_EQ(frmDummy->Top(), -9999999);
    EXPECT_EQ(frmDummy->Left(), -9999999);
    ASSERT_TRUE(testing_support::Pump([] { return frmDummy->Top() == -999999; }, 3000));
    EXPECT_EQ(frmDummy->Left(), -999999);
    frmDummy->SetLeft(1500);
    ASSERT_TRUE(testing_support::Pump([] { return frmDummy->Left() == -999999; }, 3000));
}

TEST_F(ProgramTest, MinimisingTheCarrierHidesTheMainWindowAndRestoringShowsIt) {
    Start("about:blank");
    frmDummy->SetWindowState(vbMinimized);
    EXPECT_FALSE(frmMain->Visible());
    EXPECT_EQ(frmMain->WindowState(), vbMinimized);
    frmDummy->SetWindowState(vbNormal);
    EXPECT_TRUE(frmMain->Visible());
    EXPECT_EQ(frmMain->WindowState(), vbNormal);
}

TEST_F(ProgramTest, MaximisingTheCarrierTogglesTheProgramsOwnMaximiseOnce) {
    Start("about:blank");
    const double width = frmMain->Width();
    frmDummy->SetWindowState(vbMaximized);
    EXPECT_EQ(IsMaximised, 1);
    EXPECT_GT(frmMain->Width(), width);
    frmDummy->SetWindowState(vbNormal);
    EXPECT_EQ(IsMaximised, 1);
}

TEST_F(ProgramTest, ClosingTheCarrierSavesTheAddressListRemovesTabsAndEnds) {
    WriteFile("autocomplete.dat", "http://kept.example/\r\n");
    Start("about:blank");
    frmMain->Combo1.AddItem("http://new.example/");

    frmDummy.Unload();

    EXPECT_EQ(ReadFile("autocomplete.dat"), "http://kept.example/\r\nhttp://new.example/\r\n");
    EXPECT_EQ(Closing, 1);
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(frmDummy.Loaded());
}

TEST_F(ProgramTest, EveryCloseRouteEndsWhenTheAddressListCannotBeSavedAndSaysSoOnce) {
    const std::vector<std::pair<std::string, std::function<void()>>> routes = {
        {"close button", [] { frmMain->picClose.Click(); }},
        {"carrier closed", [] { frmDummy.Unload(); }},
        {"file menu", [] { MenuModule::MenuCommand("close"); }},
    };
    for (const auto& [route, close] : routes) {
        SCOPED_TRACE(route);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "autocomplete.dat");  // a folder where the file belongs
        std::vector<std::string> messages;
        platform::SetMsgBoxResponder([&](const std::string& prompt, int, const std::string&) {
            messages.push_back(prompt);
            return platform::vbOK;
        });
        endCalls = 0;
        Start("about:blank");
        frmMain->Combo1.AddItem("http://lost.example/");

        close();

        EXPECT_EQ(endCalls, 1);
        EXPECT_EQ(Closing, 1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find((folder / "autocomplete.dat").string()), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find("could not be read"), std::string::npos) << "the reason: " << messages[0];
        EXPECT_TRUE(std::filesystem::is_directory(folder / "autocomplete.dat")) << "what stood there was replaced";
        platform::SetMsgBoxResponder(nullptr);
        frmMain.Unload();
        frmDummy.Unload();
        frmSplash.Unload();
    }
}

TEST_F(ProgramTest, RemoveAllTabsKeepsTabZeroAndSkipsHoles) {
    Start("about:blank");
    for (int i = 1; i <= 3; ++i) {
        frmMain->WebBrowser1.Load(i);
        frmMain->picTab.Load(i);
        frmMain->Timer1.Load(i);
    }
    frmMain->WebBrowser1.Unload(2);
    frmMain->picTab.Unload(2);
    frmMain->Timer1.Unload(2);

    frmMain->RemoveAllTabs();

    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);
    EXPECT_EQ(frmMain->picTab.UBound(), 0);
    EXPECT_EQ(frmMain->Timer1.UBound(), 0);
    EXPECT_EQ(CurrentTab, 3);
}

TEST_F(ProgramTest, TheCarrierPassesTheFocusOnAndFavouritesLevelsClose) {
    Start("about:blank");
    FavMenuHoverPath = "/home/me/Favorites";
    frmDummy->Window().present();
    ASSERT_TRUE(testing_support::Pump([] { return FavMenuHoverPath.empty(); }, 3000));
}

TEST_F(ProgramTest, ThePageLoadPollStopsTheAnimationWhenTheTabIsIdle) {
    Start("about:blank");
    Browser(0).StartLoad("http://127.0.0.1/slow");
    EXPECT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(0).GetPicture());
    ASSERT_TRUE(testing_support::Pump([] { return frmMain->Timer2.Enabled(); }, 2000));
    Browser(0).SetTitle("Slow page");
    Browser(0).Finish();
    ASSERT_TRUE(testing_support::Pump([] { return !frmMain->Timer1(0).Enabled(); }, 2000));
    EXPECT_FALSE(frmMain->Timer2.Enabled());
    EXPECT_EQ(frmMain->Picture3.GetPicture(), frmMain->PicStore(8).GetPicture());
    EXPECT_EQ(frmMain->labCaption.Caption(), "Slow page");
    EXPECT_EQ(frmDummy->Caption(), "Slow page");
    EXPECT_EQ(frmMain->Combo1.Text(), "http://127.0.0.1/slow");
}

TEST_F(ProgramTest, AStartUpThatFailsIsReportedInAMessageBoxAsWellAsOnStandardError) {
    struct FailingCache : UrlCache {
        std::optional<std::vector<UrlCacheEntryInfo>> Enumerate() override {
            throw ToolkitError(errors::PathFileAccessError, "Path/File access error");
        }
        DeleteResult DeleteEntry(const std::string&) override { return DeleteResult::Failed; }
    };
    SetUrlCache(std::make_unique<FailingCache>());
    std::vector<std::string> shown;
    SetMsgBoxResponder([&](const std::string& prompt, int buttons, const std::string&) {
        EXPECT_EQ(buttons, vbCritical);
        shown.push_back(prompt);
        return vbOK;
    });
    SetCommandForTesting("about:blank");
    testing::internal::CaptureStderr();
    const bool started = StartUp();
    const std::string printed = testing::internal::GetCapturedStderr();
    SetMsgBoxResponder(nullptr);

    EXPECT_FALSE(started);
    const std::string message = "Quellin could not start: run-time error 75: Path/File access error";
    EXPECT_EQ(shown, std::vector<std::string>{message});
    EXPECT_NE(printed.find(message), std::string::npos);
}
