#include <gtest/gtest.h>
#include <glib.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "app/TabLayout.h"
#include "platform/app.h"
#include "platform/msgbox.h"
#include "platform/webkit/web_process_pool.h"
#include "platform/webkit/webkit_view.h"
#include "real_program.h"
#include "soup_server.h"
#include "test_support.h"

// Xlib names clash with the toolkit's C++ headers: it comes after them.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

using namespace platform;
using testing_support::Pump;
using testing_support::TestServer;
using testing_support::TitledPage;

namespace {

// The engine's web processes that this process started and that still run.
int WebProcessesRunning() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        gchar* stat = nullptr;
        if (!g_file_get_contents((entry.path() / "stat").c_str(), &stat, nullptr, nullptr)) continue;
        const std::string text = stat;
        g_free(stat);
        const auto open = text.find('('), close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        const std::string name = text.substr(open + 1, close - open - 1);
        const pid_t parent = std::atoi(text.c_str() + close + 4);
        if (parent == getpid() && name.rfind("WebKitWebProces", 0) == 0) ++count;
    }
    return count;
}

// Takes every client connection the X server has left, as a desktop full of
// programs does, and gives them back when it goes.
class FullDisplay {
public:
    FullDisplay() { TakeWhatIsLeft(); }
    ~FullDisplay() {
        for (Display* connection : connections_) XCloseDisplay(connection);
    }
    FullDisplay(const FullDisplay&) = delete;
    FullDisplay& operator=(const FullDisplay&) = delete;

    std::size_t Taken() const { return connections_.size(); }
    void TakeWhatIsLeft() {
        const char* name = gdk_display_get_name(gdk_display_get_default());
        while (Display* connection = XOpenDisplay(name)) connections_.push_back(connection);
    }
    void GiveBackOne() {
        XCloseDisplay(connections_.back());
        connections_.pop_back();
    }

private:
    std::vector<Display*> connections_;
};

// The program's tabs on real WebKit views, many more than the engine runs processes.
class ManyTabsE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::PrepareProgramOnRealViews();
        server.Add("/start", TitledPage("Start page"));
        SetMsgBoxResponder([this](const std::string& prompt, int, const std::string&) {
            messages.push_back(prompt);
            return vbOK;
        });
        SetCommandForTesting(server.Url("/start"));
        frmSplash.Get();
        ASSERT_TRUE(Pump([&] { return Main().labCaption.Caption() == "Start page" && !Main().Timer1(0).Enabled(); }));
    }

    void TearDown() override { SetMsgBoxResponder(nullptr); }

    FrmMain& Main() { return frmMain.Get(); }

    // Opens a tab on a page of its own; the page's title names it.
    std::string OpenTab(const std::string& name) {
        server.Add("/" + name, TitledPage(name));
        Main().AddTab(server.Url("/" + name));
        return name;
    }

    bool AllShow(const std::vector<std::string>& titles, int timeoutMs) {
        return Pump(
            [&] {
                if (Main().WebBrowser1.UBound() != static_cast<int>(titles.size())) return false;
                for (std::size_t i = 0; i < titles.size(); ++i)
                    if (Main().WebBrowser1(static_cast<int>(i) + 1).LocationName() != titles[i]) return false;
                return true;
            },
            timeoutMs);
    }

    WebKitWebView* EngineViewOf(int tab) {
        return dynamic_cast<WebKitView&>(Main().WebBrowser1(tab).View()).WebView();
    }

    TestServer server;
    std::vector<std::string> messages;
};

TEST_F(ManyTabsE2eTest, TabsBeyondTheProcessLimitShareTheEnginesProcessesAndEveryPageLoads) {
    std::vector<std::string> titles;
    for (int i = 1; i <= 3 * webkit::MaxWebProcesses; ++i) titles.push_back(OpenTab("Page " + std::to_string(i)));

    ASSERT_TRUE(AllShow(titles, 60000)) << "not every tab showed its page";
    EXPECT_LE(WebProcessesRunning(), webkit::MaxWebProcesses);
    EXPECT_GE(WebProcessesRunning(), 2) << "tabs are spread over several processes";
    EXPECT_TRUE(messages.empty());
}

TEST_F(ManyTabsE2eTest, WithTheDisplayFullTabsStillOpenAndWithNoEngineLeftOneMessageCountsTheTabsNotOpened) {
    std::vector<std::string> titles{OpenTab("Before")};
    ASSERT_TRUE(AllShow(titles, 15000));
    {
        FullDisplay full;
        ASSERT_GT(full.Taken(), 0u);
        // Room for one more process only: the tabs opened at once share it and the
        // running ones.
        full.GiveBackOne();
        for (const char* name : {"Full 1", "Full 2", "Full 3"}) titles.push_back(OpenTab(name));
        ASSERT_TRUE(AllShow(titles, 30000)) << "tabs opened with the display full did not show their pages";
        EXPECT_TRUE(messages.empty());

        // Every process of the engine ends; none is left to share and none can start.
        for (int tab = 0; tab <= Main().WebBrowser1.UBound(); ++tab)
            webkit_web_view_terminate_web_process(EngineViewOf(tab));
        ASSERT_TRUE(Pump([] { return WebProcessesRunning() == 0; }, 15000));
        full.TakeWhatIsLeft();

        const auto layout = testing_support::TempRoot() / "five.tab";
        std::ofstream(layout, std::ios::binary) << "<Tab Layout File>\r\n"
                                                << server.Url("/start") << "\r\n"
                                                << "about:blank\r\nabout:blank\r\nabout:blank\r\nabout:blank\r\n";
        TabLayout::OpenTabLayout(layout.string());
        EXPECT_EQ(Main().WebBrowser1.UBound(), 0);
        ASSERT_TRUE(Pump([&] { return !messages.empty(); }, 5000)) << "the tabs not opened were not told";
        testing_support::PumpFor(500);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("4 tabs could not be opened."), std::string::npos) << messages[0];
    }
    // With room on the display again, tabs open in a process of their own.
    const std::vector<std::string> after{OpenTab("After")};
    EXPECT_TRUE(AllShow(after, 15000));
    EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
