#include "cookie_fixture.h"

#include "cookies/FrmCleanup.h"
#include "cookies/FrmCookies.h"
#include "cookies/FrmNewcookies.h"
#include "menus/MenuModule.h"

namespace {

class CookieManager : public CookieTest {
protected:
    void SetUp() override {
        CookieTest::SetUp();
        AddCookies({"zeta.test/", "Alpha.test/", "mid.test/"});
        Start("about:blank");
        AddCookies({"beta.test/"});
    }

    FrmCookies& Manager() { return frmCookies.Get(); }
};

TEST_F(CookieManager, ListsSortedAndKeepsTheBaselineAcrossOpeningsAndRemovals) {
    const auto baseline = frmMain->lstCookies.Items();
    EXPECT_EQ(Manager().lstAllCookies.Items(),
              (std::vector<std::string>{Cookie("Alpha.test/"), Cookie("beta.test/"), Cookie("mid.test/"), Cookie("zeta.test/")}));
    EXPECT_EQ(frmMain->lstCookies.Items(), baseline);

    // Remove All answered No: nothing changes.
    AnswerMessages(platform::vbNo);
    Manager().Command2_Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, "Are you sure you want to remove ALL of your cookies?");
    EXPECT_EQ(messages[0].title, "Delete Cookies?");
    EXPECT_EQ(messages[0].buttons, platform::vbYesNo | platform::vbQuestion);
    EXPECT_TRUE(urlCache->Deletions().empty());
    EXPECT_EQ(Manager().lstAllCookies.ListCount(), 4);

    // Remove Selected answered Yes: the selection goes, the baseline stays.
    AnswerMessages(platform::vbYes);
    Manager().lstAllCookies.SetSelected(0, true);
    Manager().lstAllCookies.SetSelected(3, true);
    Manager().Command1_Click();
    EXPECT_EQ(messages.back().prompt, "Are you sure you want to remove the selected cookies?");
    EXPECT_EQ(urlCache->Deletions(), (std::vector<std::string>{Cookie("Alpha.test/"), Cookie("zeta.test/")}));
    EXPECT_EQ(Manager().lstAllCookies.Items(), (std::vector<std::string>{Cookie("beta.test/"), Cookie("mid.test/")}));
    EXPECT_EQ(frmMain->lstCookies.Items(), baseline);

    Manager().Command3_Click();
    EXPECT_FALSE(frmCookies.Loaded());
    Manager().Command2_Click();  // a second opening, everything removed
    EXPECT_EQ(Manager().lstAllCookies.ListCount(), 0);
    EXPECT_EQ(frmMain->lstCookies.Items(), baseline);

    // A removed cookie of start-up that a page sets again is not new at exit.
    AddCookies({"zeta.test/", "beta.test/"});
    Settings.CookieTrapMode = 1;
    const std::size_t before = urlCache->Deletions().size();
    frmDummy.Unload();
    EXPECT_EQ(std::vector<std::string>(urlCache->Deletions().begin() + before, urlCache->Deletions().end()),
              std::vector<std::string>{Cookie("beta.test/")});
}

TEST_F(CookieManager, RemovalsTheCacheCannotKeepAreToldOnceAndStayListed) {
    urlCache->Protect(Cookie("mid.test/"));
    urlCache->Protect(Cookie("zeta.test/"));
    AnswerMessages(platform::vbYes);
    Manager().Command2_Click();
    ASSERT_EQ(messages.size(), 2u) << "the question, then one report for both cookies";
    EXPECT_NE(messages[1].prompt.find("could not be removed"), std::string::npos) << messages[1].prompt;
    EXPECT_EQ(Manager().lstAllCookies.Items(), (std::vector<std::string>{Cookie("mid.test/"), Cookie("zeta.test/")}));
}

TEST_F(CookieManager, TheLayoutKeepsItsDistancesAndItsMinimumSize) {
    FrmCookies& manager = Manager();
    manager.Show();
    EXPECT_EQ(manager.Frame1.Width(), 4815);
    EXPECT_EQ(manager.Command3.Left(), 3720);
    EXPECT_EQ(manager.Command3.Top(), 3480);

    manager.SetWidth(9055);
    manager.SetHeight(6930);
    EXPECT_EQ(manager.Frame1.Width(), 8815);
    EXPECT_EQ(manager.Frame1.Height(), 6255);
    EXPECT_EQ(manager.lstAllCookies.Width(), 8335);
    EXPECT_EQ(manager.lstAllCookies.Height(), 4980);
    EXPECT_EQ(manager.Command1.Left(), 5560);
    EXPECT_EQ(manager.Command2.Left(), 7120);
    EXPECT_EQ(manager.Command2.Top(), manager.Command1.Top());
    EXPECT_EQ(manager.Command3.Left(), 7720);
    EXPECT_EQ(manager.Command3.Top(), 6480);

    manager.SetWidth(1000);
    manager.SetHeight(1000);
    EXPECT_EQ(manager.Width(), 5055) << "snapped back to the minimum";
    EXPECT_EQ(manager.Height(), 3090);
    EXPECT_EQ(manager.Command3.Top(), 3510 - 870);

    // Made larger and then smaller by the window manager, as a user drags its border.
    manager.Window().resize(600, 450);
    ASSERT_TRUE(testing_support::Pump([&] { return manager.Width() == 9000; }, 3000));
    EXPECT_EQ(manager.Command3.Left(), 9000 + 120 - 1455);
    manager.Window().resize(150, 100);
    EXPECT_TRUE(testing_support::Pump([&] { return manager.Width() == 5055 && manager.Height() == 3090; }, 3000))
        << manager.Width() << " x " << manager.Height();
}

TEST_F(CookieManager, OpensFromTheViewMenuAndTakesTheFocusBackFromTheProgramsOtherWindows) {
    // The user's click on the menu bar has made the main window active.
    frmMain->Window().present();
    ASSERT_TRUE(testing_support::Pump([] { return frmMain->Window().is_active(); }, 3000));
    MenuModule::ShowCookies();  // shows the manager, then gives the main window the focus
    ASSERT_TRUE(frmCookies.Loaded());
    EXPECT_TRUE(Manager().Visible());
    ASSERT_TRUE(testing_support::Pump([&] { return Manager().Window().is_active(); }, 3000));
    frmMain->Window().present();
    ASSERT_TRUE(testing_support::Pump([] { return frmMain->Window().is_active(); }, 3000));
    EXPECT_TRUE(testing_support::Pump([&] { return Manager().Window().is_active(); }, 3000));
}

TEST_F(CookieManager, ClosesWithTheProgramBeforeTheNewCookiesWindowShows) {
    Settings.CookieTrapMode = 2;
    Manager().Show();
    bool managerLoaded = true;
    WhenShown(frmNewcookies, [&] {
        managerLoaded = frmCookies.Loaded();
        frmNewcookies->cmdClose_Click();
    });
    frmDummy.Unload();
    EXPECT_FALSE(managerLoaded);
    EXPECT_EQ(endCalls, 1);
}

}  // namespace
