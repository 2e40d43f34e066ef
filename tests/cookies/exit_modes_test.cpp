#include "cookie_fixture.h"

#include "cookies/FrmCleanup.h"
#include "cookies/FrmNewcookies.h"
#include "memory_url_cache.h"

namespace {

struct ExitCase {
    const char* name;
    int mode;
    std::vector<std::string> atStart;      // cookies in the cache when the program starts
    bool startScanFails;                   // the engine does not answer the start-up scan
    std::vector<std::string> goneInRun;    // removed during the browser session
    std::vector<std::string> addedInRun;   // added during the browser session
    std::string filterFile;
    std::vector<std::string> deleted;      // what the exit deletes, in order
    std::vector<std::string> shownAsNew;   // the new-cookies window's list; empty: not shown
};

void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.name; }

class ExitModes : public CookieTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitModes, ClosingDealsWithTheCookiesAsTheModeSays) {
    const ExitCase& c = GetParam();
    WriteFile("browser.ini", "[CookieTrap]\r\n" + std::to_string(c.mode) + "\r\n");
    if (!c.filterFile.empty()) WriteFile("filter.dat", c.filterFile);
    AddCookies(c.atStart);
    urlCache->SetReadable(!c.startScanFails);
    Start("about:blank");
    urlCache->SetReadable(true);
    for (const auto& name : c.goneInRun) urlCache->DeleteEntry(Cookie(name));
    AddCookies(c.addedInRun);
    const std::size_t deletionsBefore = urlCache->Deletions().size();

    std::vector<std::string> shownNew, shownAll;
    WhenShown(frmNewcookies, [&] {
        shownNew = frmNewcookies->lstNewCookies.Items();
        shownAll = frmNewcookies->lstAllCookies.Items();
        EXPECT_EQ(frmNewcookies->SSTab1.Tab(), 0) << "the New Cookies page is in front";
        EXPECT_FALSE(frmCleanup.Loaded());
        frmNewcookies->cmdClose_Click();
    });
    frmDummy.Unload();

    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(Closing, 1);
    std::vector<std::string> deleted(urlCache->Deletions().begin() + deletionsBefore, urlCache->Deletions().end());
    std::vector<std::string> expectedDeleted, expectedNew;
    for (const auto& name : c.deleted) expectedDeleted.push_back(Cookie(name));
    for (const auto& name : c.shownAsNew) expectedNew.push_back(Cookie(name));
    EXPECT_EQ(deleted, expectedDeleted);
    EXPECT_EQ(shownNew, expectedNew);
    if (!expectedNew.empty()) {
        std::vector<std::string> everyCookie;
        for (const auto& entry : urlCache->Entries()) everyCookie.push_back(entry.SourceUrlName);
        EXPECT_EQ(shownAll, everyCookie) << "All Cookies shows the closing-down scan";
    }
}

const std::vector<std::string> Old = {"old.test/", "ads.test/", "login.test/"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitModes,
    ::testing::Values(
        ExitCase{"NoNewCookieMode1", 1, Old, false, {}, {}, "", {}, {}},
        ExitCase{"NoNewCookieMode2ShowsNothing", 2, Old, false, {}, {}, "", {}, {}},
        ExitCase{"Mode1RemovesOnlyTheNewOnes", 1, Old, false, {}, {"new.test/a", "new.test/b"}, "", {"new.test/a", "new.test/b"}, {}},
        ExitCase{"ACookieRecreatedInOtherLetterCaseIsNotNew", 1, Old, false, {"old.test/"}, {"OLD.test/", "fresh.test/"},
                 "", {"fresh.test/"}, {}},
        ExitCase{"Mode3RemovesOldCookiesHoldingAWordOnceEach", 3, Old, false, {}, {"adsandlogin.test/"},
                 "ADS\r\n\r\n  \r\nlogin\r\n", {"ads.test/", "login.test/", "adsandlogin.test/"}, {}},
        ExitCase{"Mode3WithoutWordsRemovesNothing", 3, Old, false, {}, {"new.test/"}, "", {}, {}},
        ExitCase{"Mode2ShowsTheNewCookies", 2, Old, false, {}, {"new.test/", "other.test/"}, "", {},
                 {"new.test/", "other.test/"}},
        ExitCase{"Mode5ActsAsMode2", 5, Old, false, {}, {"new.test/"}, "", {}, {"new.test/"}},
        ExitCase{"WithoutABaselineMode1RemovesNothing", 1, Old, true, {}, {"new.test/"}, "", {}, {}},
        ExitCase{"WithoutABaselineMode2ShowsNothing", 2, Old, true, {}, {"new.test/"}, "", {}, {}},
        ExitCase{"WithoutABaselineMode3StillFilters", 3, Old, true, {}, {"new.test/"}, "ads\r\n", {"ads.test/"}, {}}),
    [](const ::testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

// Deletions the cache cannot keep (its store read-only or locked): the closing-down
// tells the user once, whatever number of cookies that concerns, then ends.
class RemovalsThatFailAtClosing : public CookieTest, public ::testing::WithParamInterface<int> {};

TEST_P(RemovalsThatFailAtClosing, AreToldOnce) {
    WriteFile("browser.ini", "[CookieTrap]\r\n" + std::to_string(GetParam()) + "\r\n");
    WriteFile("filter.dat", "held\r\n");
    Start("about:blank");
    AddCookies({"held1.test/", "held2.test/", "more-held.test/"});
    urlCache->Protect(Cookie("held1.test/"));
    urlCache->Protect(Cookie("held2.test/"));
    AnswerMessages(platform::vbOK);
    frmDummy.Unload();
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(CacheNames(), (std::vector<std::string>{Cookie("held1.test/"), Cookie("held2.test/")}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].prompt.find("could not be removed"), std::string::npos) << messages[0].prompt;
}

INSTANTIATE_TEST_SUITE_P(Modes, RemovalsThatFailAtClosing, ::testing::Values(1, 3));

TEST_F(CookieTest, ModeZeroEndsWithoutTheClosingDownWindow) {
    AddCookies(Old);
    Start("about:blank");
    AddCookies({"new.test/"});
    frmDummy.Unload();
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(frmCleanup.Loaded());
    EXPECT_TRUE(urlCache->Deletions().empty());
}

TEST_F(CookieTest, TheClosingDownWindowShowsItsTextsWhileTheCheckRuns) {
    WriteFile("browser.ini", "[CookieTrap]\r\n1\r\n");
    Start("about:blank");
    bool seen = false;
    // The check's scan is the moment the window is on screen.
    class WatchingCache : public platform::MemoryUrlCache {
    public:
        explicit WatchingCache(bool& seen) : seen_(seen) {}
        std::optional<std::vector<platform::UrlCacheEntryInfo>> Enumerate() override {
            if (frmCleanup.IfLoaded() && frmCleanup->Visible()) {
                seen_ = true;
                EXPECT_EQ(frmCleanup->Caption(), "Closing down...");
                EXPECT_EQ(frmCleanup->Label1.Caption(), "Quellin is closing down...");
                EXPECT_EQ(frmCleanup->Label2.Caption(), "Please wait...");
                EXPECT_EQ(frmCleanup->Width(), 2250);
                EXPECT_EQ(frmCleanup->Height(), 690);
            }
            return MemoryUrlCache::Enumerate();
        }

    private:
        bool& seen_;
    };
    platform::SetUrlCache(std::make_unique<WatchingCache>(seen));
    frmDummy.Unload();
    EXPECT_TRUE(seen);
    EXPECT_EQ(endCalls, 1);
}

}  // namespace
