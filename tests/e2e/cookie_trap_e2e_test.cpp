#include <gtest/gtest.h>
#include <glib.h>
#include <glibmm/main.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/State.h"
#include "child_process.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmNewcookies.h"
#include "platform/app.h"
#include "platform/webkit_session.h"
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
    }

    void AddPage(const std::string& path, const std::vector<std::string>& setCookies) {
        TestServer::Page page;
        page.body = "<html><body>page</body></html>";
        page.headers.emplace_back("Cache-Control", "no-store");
        for (const auto& cookie : setCookies) page.headers.emplace_back("Set-Cookie", cookie);
        server.Add(path, page);
    }

    // Starts the program in the mode on the page, closes it (choosing Remove Selected
    // for the new cookie of that entry, if any, when the new-cookies window shows)
    // and returns the cookies that the start found.
    std::vector<std::string> RunProgram(int mode, const std::string& path, const std::string& removeEntry = "") {
        std::ofstream(program / "browser.ini", std::ios::binary) << "[CookieTrap]\r\n" << mode << "\r\n";
        const fs::path report = testing_support::TempRoot() / "report.txt";
        fs::remove(report);
        testing_support::RunThisProgram("CookieTrapProgramStart.*",
                                        {{DataVariable, platform::webkit::DataFolder()},
                                         {ProgramVariable, program.string()},
                                         {AddressVariable, path.empty() ? "" : server.Url(path)},
                                         {RemoveVariable, removeEntry},
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
    Glib::signal_timeout().connect(
        [remove] {
            if (!frmNewcookies.Loaded() || !frmNewcookies->Visible()) return true;
            FrmNewcookies& window = frmNewcookies.Get();
            const auto& names = window.lstNewCookies.Items();
            const auto found = std::find(names.begin(), names.end(), remove);
            EXPECT_NE(found, names.end()) << "the new-cookies window lists " << remove;
            if (found != names.end()) window.lstNewCookies.SetSelected(static_cast<int>(found - names.begin()), true);
            window.Command3_Click();
            window.cmdClose_Click();
            return false;
        },
        10);
    frmDummy.Unload();
    ADD_FAILURE() << "the program did not end";
}

}  // namespace
