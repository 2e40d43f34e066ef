#include "cookie_fixture.h"

#include "cookies/FrmNewcookies.h"

namespace {

// The window as the closing-down check leaves it: three cookies from before the
// browser session, five added during it.
class NewCookiesWindow : public CookieTest {
protected:
    void SetUp() override {
        CookieTest::SetUp();
        AddCookies({"old1.test/", "old2.test/", "old3.test/"});
        Start("about:blank");
        AddCookies(News);
        frmMain->GetCookies();
        FrmNewcookies& window = frmNewcookies.Get();
        for (const auto& name : News) window.lstNewCookies.AddItem(Cookie(name));
    }

    static std::vector<std::string> Cookies(const std::vector<std::string>& domainsAndPaths) {
        std::vector<std::string> names;
        for (const auto& name : domainsAndPaths) names.push_back(Cookie(name));
        return names;
    }

    FrmNewcookies& Window() { return frmNewcookies.Get(); }

    const std::vector<std::string> News = {"n1.test/", "n2.test/", "n3.test/", "n4.test/", "n5.test/"};
};

TEST_F(NewCookiesWindow, RemovalsRefreshBothListsAndTheBaseline) {
    EXPECT_EQ(Window().lstAllCookies.Items(), CacheNames()) << "All Cookies starts as the last scan";

    // Two of five selected on the New Cookies page: three stay, in order.
    Window().lstNewCookies.SetSelected(1, true);
    Window().lstNewCookies.SetSelected(3, true);
    Window().Command3_Click();
    EXPECT_EQ(urlCache->Deletions(), Cookies({"n2.test/", "n4.test/"}));
    EXPECT_EQ(Window().lstNewCookies.Items(), Cookies({"n1.test/", "n3.test/", "n5.test/"}));
    EXPECT_EQ(Window().lstAllCookies.Items(), CacheNames());
    EXPECT_EQ(frmMain->lstCookies.Items(), Cookies({"old1.test/", "old2.test/", "old3.test/"}))
        << "the baseline is every surviving cookie that is not new";

    // A new cookie removed on the All Cookies page leaves the New Cookies page too.
    const auto& all = Window().lstAllCookies.Items();
    const int n3 = static_cast<int>(std::find(all.begin(), all.end(), Cookie("n3.test/")) - all.begin());
    Window().lstAllCookies.SetSelected(n3, true);
    Window().Command4_Click();
    EXPECT_EQ(Window().lstNewCookies.Items(), Cookies({"n1.test/", "n5.test/"}));

    // Nothing selected: only a refresh.
    Window().Command3_Click();
    EXPECT_EQ(Window().lstNewCookies.Items(), Cookies({"n1.test/", "n5.test/"}));

    // Remove All on the New Cookies page leaves exactly the cookies of start-up.
    Window().Command2_Click();
    EXPECT_TRUE(Window().lstNewCookies.Items().empty());
    EXPECT_EQ(Window().lstAllCookies.Items(), Cookies({"old1.test/", "old2.test/", "old3.test/"}));
}

TEST_F(NewCookiesWindow, RemoveAllOnTheAllCookiesPageShowsWhatTheEngineRefused) {
    urlCache->Protect(Cookie("old2.test/"));
    urlCache->Protect(Cookie("n4.test/"));
    AnswerMessages(platform::vbOK);
    Window().Command1_Click();
    ASSERT_EQ(messages.size(), 1u) << "the user is told once, not once per cookie";
    EXPECT_NE(messages[0].prompt.find("could not be removed"), std::string::npos) << messages[0].prompt;
    EXPECT_EQ(messages[0].buttons, platform::vbExclamation);
    EXPECT_EQ(Window().lstAllCookies.Items(), Cookies({"old2.test/", "n4.test/"}));
    EXPECT_TRUE(Window().lstNewCookies.Items().empty())
        << "the All Cookies page's Remove All empties the new list before it refreshes";
    EXPECT_EQ(frmMain->lstCookies.Items(), Cookies({"old2.test/", "n4.test/"}));
}

TEST_F(NewCookiesWindow, ClosingEndsTheProgramOnlyWhileItIsClosing) {
    Window().lstNewCookies.SetSelected(0, true);
    Closing = 0;
    Window().cmdClose_Click();
    EXPECT_EQ(endCalls, 0);
    EXPECT_FALSE(frmNewcookies.Loaded());

    Closing = 1;
    Window().cmdClose_Click();
    EXPECT_EQ(endCalls, 1);

    platform::SetEndAction([this] { ++endCalls; });
    frmNewcookies.Unload();  // the window manager's close
    EXPECT_EQ(endCalls, 2);
    EXPECT_TRUE(urlCache->Deletions().empty()) << "Close removes nothing, whatever is selected";
}

}  // namespace
