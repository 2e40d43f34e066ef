#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <glib.h>
#include <libsoup/soup.h>
#include <sqlite3.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/webkit/webkit_session.h"
#include "platform/webkit/webkit_url_cache.h"
#include "child_process.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

using platform::DeleteResult;
using testing_support::Pump;
constexpr auto Deleted = DeleteResult::Deleted;
constexpr auto NoSuchEntry = DeleteResult::NoSuchEntry;
using testing_support::TestServer;

// How the persistence test hands work to a child process of this test binary.
constexpr const char* SharedDataVariable = "QUELLIN_URL_CACHE_SHARED_DATA";
constexpr const char* ReportVariable = "QUELLIN_URL_CACHE_REPORT";
constexpr const char* DeleteVariable = "QUELLIN_URL_CACHE_DELETE";
constexpr const char* LoadVariable = "QUELLIN_URL_CACHE_LOAD";

std::string EntryName(const std::string& domainAndPath) {
    return std::string("Cookie:") + g_get_user_name() + "@" + domainAndPath;
}

std::vector<std::string> EntryNames(platform::UrlCache& cache) {
    std::vector<std::string> names;
    for (const auto& entry : cache.Entries()) names.push_back(entry.SourceUrlName);
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string PersistentCookie(const std::string& nameAndValue, const std::string& path) {
    return nameAndValue + "; Max-Age=3600; Path=" + path;
}

// Cookies handed to the engine directly, for domains no test page can reach.
void AddCookie(const char* name, const char* domain, int maxAgeSeconds) {
    SoupCookie* cookie = soup_cookie_new(name, "1", domain, "/", maxAgeSeconds);
    bool done = false;
    webkit_cookie_manager_add_cookie(
        platform::webkit::CookieManager(), cookie, nullptr,
        [](GObject* manager, GAsyncResult* result, gpointer finished) {
            webkit_cookie_manager_add_cookie_finish(WEBKIT_COOKIE_MANAGER(manager), result, nullptr);
            *static_cast<bool*>(finished) = true;
        },
        &done);
    soup_cookie_free(cookie);
    ASSERT_TRUE(Pump([&] { return done; }));
}

// Every cookie of the engine as "name@domain path", read without the cache under test.
std::vector<std::string> StoredCookies() {
    std::vector<std::string> cookies;
    bool done = false;
    struct Reply { std::vector<std::string>* cookies; bool* done; } reply{&cookies, &done};
    webkit_cookie_manager_get_all_cookies(
        platform::webkit::CookieManager(), nullptr,
        [](GObject* manager, GAsyncResult* result, gpointer data) {
            auto* reply = static_cast<Reply*>(data);
            GList* list = webkit_cookie_manager_get_all_cookies_finish(WEBKIT_COOKIE_MANAGER(manager), result, nullptr);
            for (GList* item = list; item; item = item->next) {
                auto* cookie = static_cast<SoupCookie*>(item->data);
                reply->cookies->push_back(std::string(soup_cookie_get_name(cookie)) + "@" + soup_cookie_get_domain(cookie) +
                                          " " + soup_cookie_get_path(cookie));
            }
            g_list_free_full(list, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
            *reply->done = true;
        },
        &reply);
    EXPECT_TRUE(Pump([&] { return done; }));
    return cookies;
}

// A real web view on the shared context, loading pages from a local server.
class UrlCacheWithEngine : public ::testing::Test {
protected:
    void SetUp() override {
        view_ = WEBKIT_WEB_VIEW(webkit_web_view_new_with_context(platform::webkit::Context()));
        g_signal_connect(view_, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer loads) {
                             if (event == WEBKIT_LOAD_FINISHED) ++*static_cast<int*>(loads);
                         }),
                         &finishedLoads_);
        window_ = gtk_offscreen_window_new();
        gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(view_));
        gtk_widget_show_all(window_);
    }

    void TearDown() override {
        if (window_) gtk_widget_destroy(window_);
    }

    // A page under that path whose response sets the cookies; never taken from a cache.
    void AddPage(const std::string& path, const std::vector<std::string>& setCookies = {}) {
        TestServer::Page page;
        page.body = "<html><body>page</body></html>";
        page.headers.emplace_back("Cache-Control", "no-store");
        for (const auto& cookie : setCookies) page.headers.emplace_back("Set-Cookie", cookie);
        server_.Add(path, page);
    }

    void LoadUrl(const std::string& url) {
        const int loadsBefore = finishedLoads_;
        webkit_web_view_load_uri(view_, url.c_str());
        ASSERT_TRUE(Pump([&] { return finishedLoads_ > loadsBefore; })) << url;
    }

    // Loads a page of the local server; it must really be fetched.
    void Load(const std::string& path) {
        const int hitsBefore = server_.Hits(path);
        LoadUrl(server_.Url(path));
        ASSERT_EQ(server_.Hits(path), hitsBefore + 1) << path;
    }

    // The Cookie header the engine sends with a new request for that page.
    std::string CookiesSentTo(const std::string& path) {
        AddPage(path);
        Load(path);
        return server_.LastRequestHeader(path, "Cookie").value_or("");
    }

    TestServer server_;
    int finishedLoads_ = 0;
    GtkWidget* window_ = nullptr;
    WebKitWebView* view_ = nullptr;
    platform::WebKitUrlCache cache_;
};

TEST_F(UrlCacheWithEngine, ListsOneEntryPerDomainAndPathOfPersistentCookiesOnly) {
    GDateTime* tomorrow = g_date_time_new_now_utc();
    GDateTime* expires = g_date_time_add_days(tomorrow, 1);
    char* httpDate = soup_date_time_to_string(expires, SOUP_DATE_HTTP);
    AddPage("/site/set", {PersistentCookie("first=1", "/site"), std::string("second=2; Path=/site; Expires=") + httpDate,
                          PersistentCookie("other=3", "/other"), "visit=4; Path=/session"});
    g_free(httpDate);
    g_date_time_unref(expires);
    g_date_time_unref(tomorrow);
    Load("/site/set");

    const auto entries = cache_.Entries();
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        names.push_back(entry.SourceUrlName);
        EXPECT_EQ(entry.CacheEntryType, platform::NORMAL_CACHE_ENTRY | platform::COOKIE_CACHE_ENTRY) << entry.SourceUrlName;
    }
    EXPECT_EQ(std::count(names.begin(), names.end(), EntryName("127.0.0.1/site")), 1);
    EXPECT_TRUE(Contains(names, EntryName("127.0.0.1/other")));
    EXPECT_FALSE(Contains(names, EntryName("127.0.0.1/session")));
    EXPECT_EQ(names.size(), 2u);
    EXPECT_NE(CookiesSentTo("/session/page").find("visit=4"), std::string::npos) << "the session cookie was set";
    EXPECT_EQ(EntryNames(cache_), names) << "a second scan gives the same list";
}

TEST_F(UrlCacheWithEngine, AnEmptiedStoreListsNothing) {
    AddPage("/empty/set", {PersistentCookie("soon=1", "/empty")});
    Load("/empty/set");
    ASSERT_TRUE(Contains(EntryNames(cache_), EntryName("127.0.0.1/empty")));

    bool cleared = false;
    webkit_website_data_manager_clear(
        webkit_web_context_get_website_data_manager(platform::webkit::Context()), WEBKIT_WEBSITE_DATA_COOKIES, 0, nullptr,
        [](GObject*, GAsyncResult*, gpointer done) { *static_cast<bool*>(done) = true; }, &cleared);
    ASSERT_TRUE(Pump([&] { return cleared; }));
    EXPECT_TRUE(cache_.Entries().empty());
}

TEST_F(UrlCacheWithEngine, DeletingAnEntryRemovesEveryCookieOfItsDomainAndPath) {
    AddPage("/delete/set", {PersistentCookie("gone=1", "/gone"), PersistentCookie("alsogone=2", "/gone"),
                            "sessiongone=3; Path=/gone", PersistentCookie("kept=4", "/kept")});
    Load("/delete/set");
    ASSERT_NE(CookiesSentTo("/gone/page").find("gone=1"), std::string::npos);

    EXPECT_EQ(cache_.DeleteEntry(EntryName("127.0.0.1/gone")), Deleted);

    const auto names = EntryNames(cache_);
    EXPECT_FALSE(Contains(names, EntryName("127.0.0.1/gone")));
    EXPECT_TRUE(Contains(names, EntryName("127.0.0.1/kept")));
    EXPECT_EQ(CookiesSentTo("/gone/page"), "") << "the engine no longer sends any cookie of that path";
    EXPECT_EQ(CookiesSentTo("/kept/page"), "kept=4");

    EXPECT_EQ(cache_.DeleteEntry(EntryName("127.0.0.1/gone")), NoSuchEntry);
    EXPECT_EQ(cache_.DeleteEntry("no such entry"), NoSuchEntry);
    EXPECT_EQ(cache_.DeleteEntry(""), NoSuchEntry);
    EXPECT_TRUE(Contains(EntryNames(cache_), EntryName("127.0.0.1/kept")));
}

TEST_F(UrlCacheWithEngine, DomainCookieAndHostCookieShareTheEntryWithoutTheDot) {
    AddCookie("host", "shared.test", 3600);
    AddCookie("wide", ".shared.test", 3600);
    AddCookie("neighbour", "other.test", 3600);

    const auto names = EntryNames(cache_);
    EXPECT_EQ(std::count(names.begin(), names.end(), EntryName("shared.test/")), 1);
    EXPECT_FALSE(Contains(names, EntryName(".shared.test/")));

    EXPECT_EQ(cache_.DeleteEntry(EntryName("shared.test/")), Deleted);
    const auto stored = StoredCookies();
    EXPECT_FALSE(Contains(stored, "host@shared.test /"));
    EXPECT_FALSE(Contains(stored, "wide@.shared.test /"));
    EXPECT_TRUE(Contains(stored, "neighbour@other.test /"));
}

TEST_F(UrlCacheWithEngine, ACookieDropsOutOfTheListWhenItExpires) {
    EntryNames(cache_);  // the engine's first start must not eat up the cookie's lifetime
    const gint64 added = g_get_monotonic_time();
    AddCookie("brief", "brief.test", 3);
    ASSERT_TRUE(Contains(EntryNames(cache_), EntryName("brief.test/")));
    const int sinceAddedMs = int((g_get_monotonic_time() - added) / 1000);
    testing_support::PumpFor(3500 - sinceAddedMs);
    EXPECT_FALSE(Contains(EntryNames(cache_), EntryName("brief.test/")));
}

// What a new start of the program does on the cookie store of this process.
struct ChildTask {
    std::string entryToDelete;
    std::string urlToLoad;  // loaded after the deletion, right before the child ends
};

// Runs this test binary again as a new start of the program on the same cookie
// store, while this process goes on serving pages. The child writes the entries
// it finds to a report file, carries out the task and ends at once. Returns the
// names it reported.
std::vector<std::string> RunChildProcess(const ChildTask& task = {}) {
    const std::string report = (testing_support::TempRoot() / "child-report.txt").string();
    std::filesystem::remove(report);
    testing_support::RunThisProgram("UrlCacheChildProcess.*", {{SharedDataVariable, platform::webkit::DataFolder()},
                                                              {ReportVariable, report},
                                                              {DeleteVariable, task.entryToDelete},
                                                              {LoadVariable, task.urlToLoad}});
    std::vector<std::string> names;
    std::ifstream lines(report);
    for (std::string line; std::getline(lines, line);) names.push_back(line);
    return names;
}

TEST_F(UrlCacheWithEngine, AdditionsAndDeletionsReachTheNextStartOfTheProgram) {
    AddPage("/persist/set", {PersistentCookie("stays=1", "/stays"), PersistentCookie("dropped=2", "/dropped"),
                             PersistentCookie("later=3", "/later"), "session=4; Path=/session"});
    AddPage("/persist/fresh", {PersistentCookie("fresh=5", "/fresh")});
    Load("/persist/set");
    ASSERT_EQ(cache_.DeleteEntry(EntryName("127.0.0.1/dropped")), Deleted);

    const auto firstStart = RunChildProcess({EntryName("127.0.0.1/later"), server_.Url("/persist/fresh")});
    EXPECT_TRUE(Contains(firstStart, EntryName("127.0.0.1/stays")));
    EXPECT_TRUE(Contains(firstStart, EntryName("127.0.0.1/later")));
    EXPECT_FALSE(Contains(firstStart, EntryName("127.0.0.1/dropped")));
    EXPECT_FALSE(Contains(firstStart, EntryName("127.0.0.1/session")));
    EXPECT_EQ(server_.Hits("/persist/fresh"), 1);

    const auto secondStart = RunChildProcess();
    EXPECT_TRUE(Contains(secondStart, EntryName("127.0.0.1/stays")));
    EXPECT_FALSE(Contains(secondStart, EntryName("127.0.0.1/later")))
        << "an entry deleted by the program before it ended stays deleted";
    EXPECT_TRUE(Contains(secondStart, EntryName("127.0.0.1/fresh")))
        << "a cookie set just before the program ended is kept";
    EXPECT_FALSE(Contains(secondStart, EntryName("127.0.0.1/dropped")));
}

TEST_F(UrlCacheWithEngine, DeletingAnEntryKeepsTheSameNamedCookiesOfOtherPathsForTheNextStart) {
    AddPage("/same/set", {PersistentCookie("sid=keep", "/keep"), PersistentCookie("sid=also", "/also"),
                          PersistentCookie("sid=new", "/newpath"), "sid=session; Path=/visit",
                          PersistentCookie("other=1", "/newpath")});
    Load("/same/set");
    ASSERT_TRUE(Contains(EntryNames(cache_), EntryName("127.0.0.1/keep")));

    EXPECT_EQ(cache_.DeleteEntry(EntryName("127.0.0.1/newpath")), Deleted);

    EXPECT_EQ(CookiesSentTo("/newpath/page"), "");
    EXPECT_EQ(CookiesSentTo("/keep/page"), "sid=keep");
    EXPECT_EQ(CookiesSentTo("/also/page"), "sid=also");
    EXPECT_EQ(CookiesSentTo("/visit/page"), "sid=session");
    const auto nextStart = RunChildProcess();
    EXPECT_TRUE(Contains(nextStart, EntryName("127.0.0.1/keep")));
    EXPECT_TRUE(Contains(nextStart, EntryName("127.0.0.1/also")));
    EXPECT_FALSE(Contains(nextStart, EntryName("127.0.0.1/newpath")));
}

TEST_F(UrlCacheWithEngine, ADeletionTheLockedFileCannotKeepIsReportedAndUndoneAtTheNextStart) {
    AddPage("/locked/set", {PersistentCookie("held=1", "/held")});
    Load("/locked/set");
    ASSERT_TRUE(Contains(EntryNames(cache_), EntryName("127.0.0.1/held")));

    // Another program holds the file, as a second copy of the browser might.
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(platform::webkit::CookieStoreFile().c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(cache_.DeleteEntry(EntryName("127.0.0.1/held")), DeleteResult::Failed);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);

    EXPECT_TRUE(Contains(RunChildProcess(), EntryName("127.0.0.1/held"))) << "the file kept the cookie, as reported";
}

// The child side of the test above; skipped in an ordinary run.
class UrlCacheChildProcess : public UrlCacheWithEngine {
protected:
    void SetUp() override {
        const char* sharedData = std::getenv(SharedDataVariable);
        if (!sharedData) GTEST_SKIP() << "runs only when started by the persistence test";
        // This process has a data folder of its own; it becomes the parent's
        // before the engine first opens the store.
        const auto ownData = std::filesystem::path(g_get_user_data_dir()) / "quellin";
        ASSERT_FALSE(std::filesystem::exists(ownData));
        std::filesystem::create_directory_symlink(sharedData, ownData);
        UrlCacheWithEngine::SetUp();
    }
};

TEST_F(UrlCacheChildProcess, ReportsEntriesThenDeletesAndLoads) {
    std::ofstream report(std::getenv(ReportVariable));
    for (const auto& name : EntryNames(cache_)) report << name << '\n';
    report.close();
    const std::string entry = std::getenv(DeleteVariable);
    if (!entry.empty()) {
        ASSERT_EQ(cache_.DeleteEntry(entry), Deleted);
    }
    const std::string url = std::getenv(LoadVariable);
    if (!url.empty()) LoadUrl(url);
}

}  // namespace
