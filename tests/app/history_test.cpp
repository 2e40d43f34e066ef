#include <glib.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iomanip>
#include <locale>
#include <optional>
#include <regex>
#include <sstream>

#include "app/State.h"
#include "common/General.h"
#include "platform/error.h"
#include "test_support.h"
#include "program_fixture.h"

namespace {

namespace fs = std::filesystem;

// Small templates whose output the tests can state exactly.
const std::string Templates =
    "[date]\r\n<h1>#date#</h1>\r\n<p>#date#</p>\r\n[end]\r\n"
    "[history]\r\n<iframe src=\"#main#\"></iframe>\r\n[end]\r\n"
    "[contents]\r\n<nav>#list#\r\n</nav>\r\n[end]\r\n";

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

using testing_support::ErrorNumberOf;

class HistoryTest : public ProgramTest {
protected:
    fs::path HistoryFolder() const { return folder / "history"; }
    fs::path DayPage() const { return HistoryFolder() / testing_support::TodaysPageName(); }
    std::string FramePage() const { return (folder / "history.htm").string(); }

    std::string ReadDayPage() {
        std::ifstream in(DayPage(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Starts the program and lets the start-up poll of tab 0 finish; what it recorded
    // for the empty first page is removed, so that each test starts with no day page.
    void StartWithTemplates(const std::string& templates = Templates, const std::string& settings = "") {
        if (!templates.empty()) WriteFile("History.dat", templates);
        if (!settings.empty()) WriteFile("browser.ini", settings);
        Start("about:blank");
        ASSERT_TRUE(testing_support::Pump([this] { return !frmMain->Timer1(0).Enabled(); }, 3000));
        std::error_code ignored;
        fs::remove(DayPage(), ignored);
    }

    // A whole page load in the tab, up to the poll that finds it finished.
    void Visit(int tab, const std::string& url, const std::string& title) {
        Browser(tab).Load(url, title);
        ASSERT_TRUE(testing_support::Pump([&] { return !frmMain->Timer1(tab).Enabled(); }, 3000));
    }

    void CreateDayPage(const std::string& name) {
        fs::create_directories(HistoryFolder());
        std::ofstream(HistoryFolder() / name, std::ios::binary) << "day\r\n";
    }
};

TEST(SuppliedHistoryTemplates, HoldEveryBlockWithItsPlaceholderInCrLfLines) {
    const char* binary = std::getenv("QUELLIN_BINARY");  // the program, with the supplied files beside it
    ASSERT_NE(binary, nullptr);
    const fs::path supplied = fs::path(binary).parent_path() / "History.dat";
    std::ifstream in(supplied, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(Occurrences(text, "\n"), Occurrences(text, "\r\n"));
    EXPECT_EQ(text.substr(text.size() - 7), "[end]\r\n");

    const std::string date = General::ReadIniBlock(supplied.string(), "date");
    const std::string frames = General::ReadIniBlock(supplied.string(), "history");
    const std::string contents = General::ReadIniBlock(supplied.string(), "contents");
    EXPECT_NE(date.find("#date#"), std::string::npos);
    EXPECT_EQ(date.find("</body>"), std::string::npos);  // visits are appended after the head
    EXPECT_NE(frames.find("src=\"#main#\""), std::string::npos);
    EXPECT_NE(frames.find("name=\"date\""), std::string::npos);  // where the index opens a day
    EXPECT_NE(frames.find("src=\"contents.htm\""), std::string::npos);
    EXPECT_NE(contents.find("#list#"), std::string::npos);
}

TEST_F(HistoryTest, AFinishedPageIsRecordedOnceADayInTodaysPage) {
    StartWithTemplates();
    ASSERT_TRUE(fs::is_directory(HistoryFolder()));
    EXPECT_FALSE(fs::exists(DayPage()));

    Visit(0, "http://127.0.0.1/my%20page.html", "My page");

    const std::string first = ReadDayPage();
    const std::regex expected(
        "<h1>([^<#]+)</h1>\r\n<p>\\1</p>\r\n"
        "<font face=\"Arial\"><a href=\"http://127\\.0\\.0\\.1/my%20page\\.html\" target=\"_top\">My page</a>"
        " at ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]</font><br>\r\n"
        "<font face=\"Arial\"><font size=\"1\">http://127\\.0\\.0\\.1/my page\\.html</font><br>\r\n");
    EXPECT_TRUE(std::regex_match(first, expected)) << first;

    // The same address again, reloaded, in other letter case or with a blank for "%20":
    // nothing is added, whatever the title.
    Visit(0, "http://127.0.0.1/my%20page.html", "My page");
    Visit(0, "HTTP://127.0.0.1/My%20Page.html", "Another title");
    frmMain->UpDateHistory(0);
    Visit(0, "http://127.0.0.1/my page.html", "My page");
    EXPECT_EQ(ReadDayPage(), first);

    // Another address, and a page of another tab, are appended.
    Visit(0, "about:blank", "");
    frmMain->AddTab("http://127.0.0.1/second");
    Visit(1, "http://127.0.0.1/second", "Second");
    const std::string page = ReadDayPage();
    EXPECT_EQ(page.substr(0, first.size()), first);
    EXPECT_EQ(Occurrences(page, "<a href=\"about:blank\" target=\"_top\"></a> at "), 1);
    EXPECT_EQ(Occurrences(page, "<font size=\"1\">http://127.0.0.1/second</font><br>\r\n"), 1);
}

TEST_F(HistoryTest, EachDayHasItsPageNamedByTheTwoDigitDayTheMonthAndTheYear) {
    StartWithTemplates();
    struct ClockBack {
        ~ClockBack() { FrmMain::SetHistoryNowForTesting(std::nullopt); }
    } clockBack;
    const struct {
        int year, month, day, hour, minute, second;
        const char* page;
        const char* time;
    } moments[] = {{2001, 3, 9, 23, 59, 59, "09 March 2001.htm", "23:59:59"},
                   {2001, 3, 10, 0, 0, 0, "10 March 2001.htm", "00:00:00"},
                   {2004, 2, 29, 8, 5, 1, "29 February 2004.htm", "08:05:01"},
                   {1999, 12, 31, 12, 0, 0, "31 December 1999.htm", "12:00:00"},
                   {2010, 10, 1, 18, 30, 0, "01 October 2010.htm", "18:30:00"}};
    std::vector<std::string> pages;
    for (const auto& m : moments) {
        SCOPED_TRACE(m.page);
        GDateTime* moment = g_date_time_new_local(m.year, m.month, m.day, m.hour, m.minute, m.second);
        FrmMain::SetHistoryNowForTesting(g_date_time_to_unix(moment));
        g_date_time_unref(moment);

        Visit(0, "http://127.0.0.1/visit/" + std::to_string(pages.size()), "Visit");
        pages.push_back(m.page);
        std::ifstream in(HistoryFolder() / m.page, std::ios::binary);
        const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(page.rfind("<h1>", 0), 0u) << page;
        EXPECT_NE(page.find(">Visit</a> at " + std::string(m.time) + "</font><br>\r\n"), std::string::npos) << page;

        frmMain->OpenHistory();
        EXPECT_EQ(ReadFile("history.htm"), "<iframe src=\"history/" + std::string(m.page) + "\"></iframe>\r\n");
    }
    // A day's visits never go to another day's page.
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(HistoryFolder())) written.push_back(entry.path().filename());
    std::sort(written.begin(), written.end());
    std::sort(pages.begin(), pages.end());
    EXPECT_EQ(written, pages);
}

TEST_F(HistoryTest, TitlesAndAddressesAreWrittenAsTextNeverAsMarkup) {
    StartWithTemplates();
    const std::string address = "http://127.0.0.1/find?q=<b>&say=\"hi\"";
    Visit(0, address, "<script>alert(\"x\")</script> & more");

    const std::string page = ReadDayPage();
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://127.0.0.1/find?q=&lt;b&gt;&amp;say=&quot;hi&quot;\" target=\"_top\">"
                        "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; more</a> at "),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<font size=\"1\">http://127.0.0.1/find?q=&lt;b&gt;&amp;say=&quot;hi&quot;</font><br>\r\n"),
              std::string::npos);

    // The once-a-day test still knows the escaped address.
    Visit(0, address, "Other title");
    EXPECT_EQ(ReadDayPage(), page);

    // A title that holds a line break stays on the visit's line.
    Visit(0, "http://127.0.0.1/two", "line\r\nbreak");
    EXPECT_NE(ReadDayPage().find(">line&#13;&#10;break</a> at "), std::string::npos);

    // Names of day pages are escaped in the index as well.
    CreateDayPage("01 <i>March & \"2001\".htm");
    frmMain->OpenHistory();
    const std::string contents = ReadFile("contents.htm");
    EXPECT_NE(contents.find("<a href=\"history/01 &lt;i&gt;March &amp; &quot;2001&quot;.htm\" target=\"date\">"
                            "01 &lt;i&gt;March &amp; &quot;2001&quot;</a><br>"),
              std::string::npos)
        << contents;
    EXPECT_EQ(contents.find("<i>"), std::string::npos);
}

TEST_F(HistoryTest, TheIndexListsDayPagesMonthByMonthThenByDayThenByYear) {
    StartWithTemplates();
    for (const char* name : {"02 March 2001.htm", "31 December 1999.htm", "01 March 2002.htm", "01 March 2001.htm",
                             "15 January 2003.htm", "10 FEBRUARY 2000.HTM", "07 may 2004.htm", "01 June July 2001.htm",
                             "notes.htm", "03 March 2001.txt"})
        CreateDayPage(name);

    frmMain->OpenHistory();

    const auto entry = [](const std::string& name, const std::string& text) {
        return "\r\n<a href=\"history/" + name + "\" target=\"date\">" + text + "</a><br>";
    };
    EXPECT_EQ(ReadFile("contents.htm"),
              "<nav>" + entry("15 January 2003.htm", "15 January 2003") +
                  entry("10 FEBRUARY 2000.HTM", "10 FEBRUARY 2000") + entry("01 March 2001.htm", "01 March 2001") +
                  entry("01 March 2002.htm", "01 March 2002") + entry("02 March 2001.htm", "02 March 2001") +
                  entry("07 may 2004.htm", "07 may 2004") + entry("01 June July 2001.htm", "01 June July 2001") +
                  entry("01 June July 2001.htm", "01 June July 2001") +
                  entry("31 December 1999.htm", "31 December 1999") + "\r\n</nav>\r\n");

    // The frame page shows today's page, whether it exists yet or not.
    EXPECT_FALSE(fs::exists(DayPage()));
    EXPECT_EQ(ReadFile("history.htm"), "<iframe src=\"history/" + testing_support::TodaysPageName() + "\"></iframe>\r\n");
    EXPECT_EQ(frmMain->lstSorted.ListCount(), 9);
    EXPECT_EQ(frmMain->lstSorted.List(0), "01 June July 2001.htm");
}

TEST_F(HistoryTest, HistoryOpensTheFramePageInTheCurrentTab) {
    StartWithTemplates(Templates, "[History]\r\n 0\r\n\r\n");
    frmMain->AddTab("http://127.0.0.1/other");
    ASSERT_EQ(CurrentTab, 1);

    frmMain->ClickBar("History");

    ASSERT_TRUE(fs::path(FramePage()).is_absolute());
    EXPECT_EQ(Browser(1).Recorded().navigations,
              (std::vector<std::string>{"http://127.0.0.1/other", FramePage()}));
    EXPECT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{"about:blank"});
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 1);
    EXPECT_TRUE(fs::exists(folder / "contents.htm"));
}

TEST_F(HistoryTest, WithHistoryInNewTabEachHistoryCommandOpensOneMoreTab) {
    StartWithTemplates(Templates, "[History]\r\n 1\r\n\r\n");
    ASSERT_EQ(Settings.HistoryInNewTab, 1);

    frmMain->ClickBar("History");
    frmMain->ClickBar("History");

    ASSERT_EQ(frmMain->WebBrowser1.UBound(), 2);
    EXPECT_EQ(CurrentTab, 2);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{FramePage()});
    EXPECT_EQ(Browser(2).Recorded().navigations, std::vector<std::string>{FramePage()});
    EXPECT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{"about:blank"});
}

TEST_F(HistoryTest, AVisitThatCannotBeWrittenIsLostWithoutDisturbingTheTab) {
    StartWithTemplates();
    frmMain->AddTab("http://127.0.0.1/kept");

    // A file where the history folder should be: neither the folder nor the page can be made.
    fs::remove_all(HistoryFolder());
    std::ofstream(HistoryFolder(), std::ios::binary) << "not a folder";
    Visit(1, "http://127.0.0.1/kept", "Kept");
    EXPECT_TRUE(frmMain->WebBrowser1.Exists(1));
    EXPECT_TRUE(frmMain->Timer1.Exists(1));
    EXPECT_TRUE(frmMain->picTab.Exists(1));
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(ReadFile("history"), "not a folder");

    // A folder where today's page should be.
    fs::remove(HistoryFolder());
    fs::create_directories(DayPage());
    Visit(1, "http://127.0.0.1/kept", "Kept");
    EXPECT_TRUE(frmMain->WebBrowser1.Exists(1));
    EXPECT_TRUE(fs::is_empty(DayPage()));

    // Once the page can be written, the next visit is recorded.
    fs::remove(DayPage());
    Visit(1, "http://127.0.0.1/kept", "Kept");
    EXPECT_NE(ReadDayPage().find(">Kept</a> at "), std::string::npos);
}

TEST_F(HistoryTest, WithoutTheTemplatesNoDayPageIsMadeAndHistoryOpensNothing) {
    StartWithTemplates("");
    frmMain->AddTab("http://127.0.0.1/a");
    Visit(1, "http://127.0.0.1/a", "A");
    EXPECT_TRUE(frmMain->WebBrowser1.Exists(1));
    EXPECT_TRUE(fs::is_directory(HistoryFolder()));
    EXPECT_FALSE(fs::exists(DayPage()));

    EXPECT_EQ(ErrorNumberOf([] { frmMain->OpenHistory(); }), platform::errors::FileNotFound);
    frmMain->ClickBar("History");
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"http://127.0.0.1/a"});
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 1);
    EXPECT_FALSE(fs::exists(folder / "history.htm"));

    // With the templates back, the next visit makes the day page with its head.
    WriteFile("History.dat", Templates);
    Visit(1, "http://127.0.0.1/a", "A");
    EXPECT_EQ(ReadDayPage().rfind("<h1>", 0), 0u);
    EXPECT_EQ(Occurrences(ReadDayPage(), "<font size=\"1\">"), 1);
}

TEST_F(HistoryTest, ABlockWithoutItsEndLineStopsWhatNeedsIt) {
    StartWithTemplates("[date]\r\n<h1>#date#</h1>\r\n");
    Visit(0, "http://127.0.0.1/a", "A");
    EXPECT_FALSE(fs::exists(DayPage()));
    EXPECT_TRUE(frmMain->WebBrowser1.Exists(0));

    // The frame page is written before the index block is read; the index is not.
    WriteFile("History.dat", "[history]\r\n<p>#main#</p>\r\n[end]\r\n[contents]\r\n<nav>#list#</nav>\r\n");
    EXPECT_EQ(ErrorNumberOf([] { frmMain->OpenHistory(); }), platform::errors::InputPastEndOfFile);
    EXPECT_EQ(ReadFile("history.htm"), "<p>history/" + testing_support::TodaysPageName() + "</p>\r\n");
    EXPECT_FALSE(fs::exists(folder / "contents.htm"));
    EXPECT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{"about:blank"});
}

TEST_F(HistoryTest, HistoryWithoutAHistoryFolderOpensNothing) {
    StartWithTemplates();
    fs::remove_all(HistoryFolder());
    EXPECT_EQ(ErrorNumberOf([] { frmMain->OpenHistory(); }), platform::errors::PathNotFound);
    EXPECT_EQ(Browser(0).Recorded().navigations, std::vector<std::string>{"about:blank"});
}

// A day page of 10,000 visits, as the program writes them.
std::string BusyDayPage(int visits) {
    std::string page = "<h1>busy day</h1>\r\n";
    for (int i = 0; i < visits; ++i) {
        const std::string address = "http://127.0.0.1/page/" + std::to_string(i);
        page += "<font face=\"Arial\"><a href=\"" + address + "\" target=\"_top\">Page " + std::to_string(i) +
                "</a> at 12:00:00</font><br>\r\n";
        page += "<font face=\"Arial\"><font size=\"1\">" + address + "</font><br>\r\n";
    }
    return page;
}

TEST_F(HistoryTest, RecordingAVisitInABusyDayPageStaysFast) {
    StartWithTemplates();
    fs::create_directories(HistoryFolder());
    std::ofstream(DayPage(), std::ios::binary) << BusyDayPage(10000);

    // The time the test's thread spends, so that a busy machine's other work does not count.
    const auto threadMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    };
    const auto record = [&](const std::string& url) {
        Browser(0).Load(url, "New page");
        const double start = threadMs();
        frmMain->UpDateHistory(0);
        return threadMs() - start;
    };

    const double firstMs = record("http://127.0.0.1/new/0");
    double slowestMs = 0;
    for (int i = 1; i <= 20; ++i) slowestMs = std::max(slowestMs, record("http://127.0.0.1/new/" + std::to_string(i)));
    // The first visit reads the whole page once; later ones read only what was added.
    EXPECT_LT(firstMs, 50.0);
    EXPECT_LT(slowestMs, 5.0);

    const std::string page = ReadDayPage();
    EXPECT_EQ(Occurrences(page, "<font size=\"1\">"), 10021);
    EXPECT_NE(page.find("<font size=\"1\">http://127.0.0.1/new/20</font><br>\r\n"), std::string::npos);

    // An address from the middle of the page, in other letter case, is known.
    record("HTTP://127.0.0.1/PAGE/5000");
    EXPECT_EQ(ReadDayPage(), page);
}

TEST_F(HistoryTest, TheOnceADayTestSeesWhatOthersWroteToThePage) {
    StartWithTemplates();
    Visit(0, "http://127.0.0.1/mine", "Mine");

    // Another instance of the program appends to the same page.
    std::ofstream(DayPage(), std::ios::binary | std::ios::app)
        << "<font face=\"Arial\"><a href=\"http://127.0.0.1/theirs\" target=\"_top\">Theirs</a> at 12:00:00</font><br>\r\n"
        << "<font face=\"Arial\"><font size=\"1\">http://127.0.0.1/theirs</font><br>\r\n";
    const std::string appended = ReadDayPage();
    Visit(0, "http://127.0.0.1/theirs", "Theirs");
    EXPECT_EQ(ReadDayPage(), appended);

    // The page is rewritten in place, longer, without this program's visit.
    const std::string replaced =
        "<h1>other</h1>\r\n<font face=\"Arial\"><font size=\"1\">http://127.0.0.1/elsewhere/long/address</font><br>\r\n";
    std::ofstream(DayPage(), std::ios::binary) << replaced << std::string(appended.size(), ' ') << "\r\n";
    Visit(0, "http://127.0.0.1/mine", "Mine");
    EXPECT_EQ(Occurrences(ReadDayPage(), "<font size=\"1\">http://127.0.0.1/mine</font>"), 1);
    Visit(0, "http://127.0.0.1/elsewhere/long/address", "Elsewhere");
    EXPECT_EQ(Occurrences(ReadDayPage(), "http://127.0.0.1/elsewhere/long/address</font>"), 1);
}

}  // namespace
