#include <gtest/gtest.h>
#include <glib.h>
#include <glibmm/main.h>
#include <gtkmm/window.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "child_process.h"
#include "real_program.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmCookies.h"
#include "cookies/FrmNewcookies.h"
#include "platform/app.h"
#include "platform/msgbox.h"
#include "platform/webkit/plain_browser_window.h"
#include "platform/url_cache.h"
#include "platform/webkit/webkit_session.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Pump;
using testing_support::TestServer;

// How the test hands a start of the program to a child process of this test binary.
constexpr const char* DataVariable = "QUELLIN_COOKIE_TRAP_DATA";
constexpr const char* ProgramVariable = "QUELLIN_COOKIE_TRAP_PROGRAM";
constexpr const char* AddressVariable = "QUELLIN_COOKIE_TRAP_ADDRESS";
constexpr const char* RemoveVariable = "QUELLIN_COOKIE_TRAP_REMOVE";
constexpr const char* RouteVariable = "QUELLIN_COOKIE_TRAP_ROUTE";
constexpr const char* ReportVariable = "QUELLIN_COOKIE_TRAP_REPORT";

std::string EntryName(const std::string& path) { return std::string("Cookie:") + g_get_user_name() + "@127.0.0.1" + path; }

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string PersistentCookie(const std::string& nameAndValue, const std::string& path) {
    return nameAndValue + "; Max-Age=3600; Path=" + path;
}

// Each start of the program is a process of its own on one cookie store, ended
// the way the program ends; this process serves the pages meanwhile.
class CookieTrapEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        program = testing_support::TempRoot() / "program";
        fs::create_directories(program);
        fs::create_directories(platform::webkit::DataFolder());
        AddPage("/before/set", {PersistentCookie("before=1", "/before")});
        AddPage("/session/set", {PersistentCookie("one=1", "/one"), PersistentCookie("two=2", "/two")});
        AddPage("/keep/set", {PersistentCookie("sid=old", "/keep")});
        AddPage("/newpath/set", {PersistentCookie("sid=new", "/newpath")});
    }

    void AddPage(const std::string& path, const std::vector<std::string>& setCookies) {
        TestServer::Page page;
        page.body = "<html><body>page</body></html>";
        page.headers.emplace_back("Cache-Control", "no-store");
        for (const auto& cookie : setCookies) page.headers.emplace_back("Set-Cookie", cookie);
        server.Add(path, page);
    }

    // Starts the program in the mode on the page, closes it (removing the entry, if
    // any, by the route: "new" or "all", Remove Selected on that page of the
    // new-cookies window; "manager", Remove Selected in the cookie manager before
    // closing) and returns the cookies that the start found.
    std::vector<std::string> RunProgram(int mode, const std::string& path, const std::string& removeEntry = "",
                                        const std::string& route = "new") {
        std::ofstream(program / "browser.ini", std::ios::binary) << "[CookieTrap]\r\n" << mode << "\r\n";
        const fs::path report = testing_support::TempRoot() / "report.txt";
        fs::remove(report);
        testing_support::RunThisProgram("CookieTrapProgramStart.*",
                                        {{DataVariable, platform::webkit::DataFolder()},
                                         {ProgramVariable, program.string()},
                                         {AddressVariable, path.empty() ? "" : server.Url(path)},
                                         {RemoveVariable, removeEntry},
                                         {RouteVariable, route},
                                         {ReportVariable, report.string()}});
        std::vector<std::string> names;
        std::ifstream lines(report);
        for (std::string line; std::getline(lines, line);) names.push_back(line);
        return names;
    }

    void CheckTheSessionEndsAs(int mode, const std::string& removeEntry, const std::vector<std::string>& left) {
        RunProgram(0, "/before/set");
        const auto atSessionStart = RunProgram(mode, "/session/set", removeEntry);
        EXPECT_TRUE(Contains(atSessionStart, EntryName("/before")));
        EXPECT_FALSE(Contains(atSessionStart, EntryName("/one")));

        const auto afterSession = RunProgram(0, "");
        EXPECT_TRUE(Contains(afterSession, EntryName("/before"))) << "a cookie from before the session survives";
        for (const char* path : {"/one", "/two"})
            EXPECT_EQ(Contains(afterSession, EntryName(path)), Contains(left, std::string(path))) << path;
    }

    fs::path program;
    TestServer server;
};

TEST_F(CookieTrapEndToEnd, Mode1RemovesTheCookiesTheSessionAdded) { CheckTheSessionEndsAs(1, "", {}); }

TEST_F(CookieTrapEndToEnd, Mode2RemovesWhatTheUserSelects) { CheckTheSessionEndsAs(2, EntryName("/one"), {"/two"}); }

// The engine's store forgets a cookie by its name and host: each way of removing
// the new cookie "sid" on /newpath must keep the old "sid" on /keep, also for the
// next start of the program.
struct SameNameCase {
    const char* name;
    int mode;
    const char* route;
    const char* filterWords;
};

void PrintTo(const SameNameCase& c, std::ostream* out) { *out << c.name; }

class SameNameOnAnotherPath : public CookieTrapEndToEnd, public ::testing::WithParamInterface<SameNameCase> {};

TEST_P(SameNameOnAnotherPath, StaysWhenTheNewCookieIsRemoved) {
    const SameNameCase& c = GetParam();
    std::ofstream(program / "filter.dat", std::ios::binary) << c.filterWords;
    RunProgram(0, "/keep/set");
    const auto atSessionStart = RunProgram(c.mode, "/newpath/set", EntryName("/newpath"), c.route);
    ASSERT_TRUE(Contains(atSessionStart, EntryName("/keep")));
    ASSERT_FALSE(Contains(atSessionStart, EntryName("/newpath")));

    const auto afterSession = RunProgram(0, "");
    EXPECT_TRUE(Contains(afterSession, EntryName("/keep"))) << "the cookie of the other path is kept";
    EXPECT_FALSE(Contains(afterSession, EntryName("/newpath"))) << "the chosen cookie is removed";
}

INSTANTIATE_TEST_SUITE_P(Routes, SameNameOnAnotherPath,
                         ::testing::Values(SameNameCase{"Mode1", 1, "", ""},
                                           SameNameCase{"Mode3WithAWordOfTheNewPathOnly", 3, "", "newpath\r\n"},
                                           SameNameCase{"NewCookiesPage", 2, "new", ""},
                                           SameNameCase{"AllCookiesPage", 2, "all", ""},
                                           SameNameCase{"CookieManager", 0, "manager", ""}),
                         [](const ::testing::TestParamInfo<SameNameCase>& info) { return std::string(info.param.name); });

// A page that sets a cookie on a new path every few milliseconds, for as long as it
// runs: in a pop-up of a plain browser window of its own, in the first tab, in a
// tab opened later.
struct TickerCase {
    const char* name;
    const char* command;
    bool inAddedTab;
    int plainWindows;
};

void PrintTo(const TickerCase& c, std::ostream* out) { *out << c.name; }

class CookieTrapWithATicker : public ::testing::TestWithParam<TickerCase> {
protected:
    void SetUp() override {
        program = testing_support::PrepareProgramOnRealViews();
        platform::SetUrlCache(nullptr);  // the engine's own store
        server.Add("/opener", "<html><body><script>window.open('/ticker', 'ticker');</script></body></html>");
 server.Add("/leaving", "<html><body><script>"
                              "for (var n = 0; n < 3; n++) document.cookie = 'stay' + n + '=1; max-age=3600; path=/t' + n;"
                              "addEventListener('pagehide', function() {"
                              "document.cookie = 'leaving=1; max-age=3600; path=/tleaving'; });"
                              "</script></body></html>");
        server.Add("/ticker", "<html><body><script>var n = 0; setInterval(function() {"
                              "document.cookie = 'tick' + n + '=1; max-age=3600; path=/t' + n; n++; }, 20);"
                              "</script></body></html>");
    }

    static std::set<std::string> TickEntries() {
        std::set<std::string> names;
        for (const auto& entry : platform::TheUrlCache().Entries())
            if (entry.SourceUrlName.find("/t") != std::string::npos) names.insert(entry.SourceUrlName);
        return names;
    }

    static int PlainWindows() {
        int count = 0;
        for (Gtk::Window* window : Gtk::Window::list_toplevels())
            count += dynamic_cast<platform::PlainBrowserWindow*>(window) != nullptr;
        return count;
    }

    fs::path program;
    TestServer server;
};

TEST_P(CookieTrapWithATicker, NoCookieComesAfterTheClosingDownScan) {
    const TickerCase& c = GetParam();
    std::ofstream(program / "browser.ini", std::ios::binary) << "[Popups]\r\n1\r\n\r\n[CookieTrap]\r\n2\r\n";
    platform::SetCommandForTesting(c.command[0] ? server.Url(c.command) : "");
    frmSplash.Get();
    if (c.inAddedTab) frmMain->AddTab(server.Url("/ticker"));
    ASSERT_TRUE(Pump([] { return TickEntries().size() >= 3; }, 30000)) << "the ticker sets its cookies";
    ASSERT_EQ(PlainWindows(), c.plainWindows);

    int windowsAtTheCheck = -1;
    std::set<std::string> scanned, afterwards;
    Glib::signal_timeout().connect(
        [&] {
            if (!frmNewcookies.Loaded() || !frmNewcookies->Visible()) return true;
            windowsAtTheCheck = PlainWindows();
            for (const auto& name : frmNewcookies->lstAllCookies.Items())
                if (name.find("/t") != std::string::npos) scanned.insert(name);
            testing_support::PumpFor(1000);
            afterwards = TickEntries();
            frmNewcookies->cmdClose_Click();
            return false;
        },
        10);
    frmDummy.Unload();
    EXPECT_EQ(windowsAtTheCheck, 0);
    EXPECT_FALSE(scanned.empty());
    EXPECT_EQ(afterwards, scanned) << "cookies came after the scan: " << afterwards.size() - scanned.size();
}

INSTANTIATE_TEST_SUITE_P(Pages, CookieTrapWithATicker,
                         ::testing::Values(TickerCase{"PopupWindow", "/opener", false, 1},
                                           TickerCase{"FirstTab", "/ticker", false, 0},
                                           TickerCase{"AddedTab", "", true, 0},
                                           TickerCase{"CookieSetAsThePageGoes", "/leaving", false, 0}),
                         [](const ::testing::TestParamInfo<TickerCase>& info) { return std::string(info.param.name); });

// The child side of the tests above; skipped in an ordinary run.
class CookieTrapProgramStart : public ::testing::Test {
protected:
    void SetUp() override {
        const char* sharedData = std::getenv(DataVariable);
        if (!sharedData) GTEST_SKIP() << "runs only when started by the cookie trap tests";
        // The store becomes the parent's before the engine first opens it.
        const fs::path ownData = fs::path(g_get_user_data_dir()) / "quellin";
        ASSERT_FALSE(fs::exists(ownData));
        fs::create_directory_symlink(sharedData, ownData);
        platform::SetAppPathForTesting(std::getenv(ProgramVariable));
        platform::SetCommandForTesting(std::getenv(AddressVariable));
        // The program ends as it does outside the tests, leaving no folder behind.
        platform::SetEndAction([] {
            std::error_code ignored;
            fs::remove_all(testing_support::TempRoot(), ignored);
            _exit(0);
        });
    }
};

TEST_F(CookieTrapProgramStart, LoadsThePageAndCloses) {
    frmSplash.Get();
    {
        std::ofstream report(std::getenv(ReportVariable));
        for (const auto& name : frmMain->lstCookies.Items()) report << name << '\n';
    }
    ASSERT_TRUE(Pump([] { return !frmMain->Timer1(0).Enabled() && !frmMain->WebBrowser1(0).Busy(); }, 20000));

    const std::string remove = std::getenv(RemoveVariable);
    const std::string route = std::getenv(RouteVariable);
    // Selects the entry in the list and presses the button.
    const auto removeFrom = [&remove](platform::ListBox& list, const std::function<void()>& press) {
        const auto names = list.Items();
        const auto found = std::find(names.begin(), names.end(), remove);
        EXPECT_NE(found, names.end()) << "the window lists " << remove;
        if (found != names.end()) list.SetSelected(static_cast<int>(found - names.begin()), true);
        press();
    };
    if (route == "manager" && !remove.empty()) {
        platform::SetMsgBoxResponder([](const std::string&, int, const std::string&) { return platform::vbYes; });
        FrmCookies& manager = frmCookies.Get();
        removeFrom(manager.lstAllCookies, [&manager] { manager.Command1_Click(); });
        manager.Command3_Click();
    }
    Glib::signal_timeout().connect(
        [route, removeFrom] {
            if (!frmNewcookies.Loaded() || !frmNewcookies->Visible()) return true;
            FrmNewcookies& window = frmNewcookies.Get();
            if (route == "all") removeFrom(window.lstAllCookies, [&window] { window.Command4_Click(); });
            else removeFrom(window.lstNewCookies, [&window] { window.Command3_Click(); });
            window.cmdClose_Click();
            return false;
        },
        10);
    frmDummy.Unload();
    ADD_FAILURE() << "the program did not end";
}

}  // namespace
