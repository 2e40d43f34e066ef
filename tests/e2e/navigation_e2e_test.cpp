#include <gtest/gtest.h>
#include <glib.h>
#include <gtkmm/button.h>
#include <signal.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmDummy.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "platform/app.h"
#include "platform/browser_view.h"
#include "platform/text.h"
#include "platform/url_cache.h"
#include "platform/webkit/script_dialog.h"
#include "real_program.h"
#include "soup_server.h"
#include "test_support.h"
#include "web_processes.h"

using namespace platform;
using testing_support::Pump;
using testing_support::TestServer;
using testing_support::TitledPage;

namespace {

// Kills every web process of the engine that this process started, as the system
// kills a process that takes too much memory.
void KillWebProcesses() {
    for (const pid_t process : testing_support::WebProcesses()) kill(process, SIGKILL);
}

ScriptDialog* ShownScriptDialog() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* dialog = dynamic_cast<ScriptDialog*>(window); dialog && dialog->get_visible()) return dialog;
    return nullptr;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TestServer::Page SlowPage(const std::string& title, int delayMs) {
    TestServer::Page page;
    page.body = TitledPage(title);
    page.delayMs = delayMs;
    return page;
}

// The program's windows on real WebKit views, with pages from a server on 127.0.0.1.
class NavigationE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::PrepareProgramOnRealViews();
        server.Add("/start", TitledPage("Start page"));
    }

    FrmMain& Main() { return frmMain.Get(); }

    // Starts the program on the start page and waits until tab 0 has shown it.
    void StartOnStartPage() {
        SetCommandForTesting(server.Url("/start"));
        frmSplash.Get();
        ASSERT_TRUE(Pump([&] { return Main().labCaption.Caption() == "Start page" && !Main().Timer1(0).Enabled(); }));
    }

    void TypeAndEnter(const std::string& address) {
        Main().Combo1.SetText(address);
        Main().Combo1_KeyPress(13);
    }

    // True when the face shows the caption printed centred, as the current tab's face
    // prints it.
    bool FaceShows(int index, const std::string& caption) {
        PictureBox& face = Main().picTab(index);
        const Picture printed = face.Image();
        face.Cls();
        face.CurrentX() = face.Width() / 2 - face.TextWidth(caption) / 2;
        face.CurrentY() = index == CurrentTab ? 30 : 90;
        face.Print(caption);
        return testing_support::SameImage(printed, face.Image());
    }

    bool Shows(int frame) { return Main().Picture3.GetPicture() == Main().PicStore(frame).GetPicture(); }

    // Whether the tab shows the page, fully loaded.
    bool Shows(int tab, const std::string& url, const std::string& title) {
        return Main().WebBrowser1(tab).LocationURL() == url && Main().WebBrowser1(tab).LocationName() == title &&
               !Main().WebBrowser1(tab).Busy();
    }

    TestServer server;
};

TEST_F(NavigationE2eTest, AnAddressTypedAndEnteredLoadsInTheCurrentTabAndTitlesFollow) {
    server.Add("/typed", TitledPage("Typed page"));
    StartOnStartPage();
    const std::string address = server.Url("/typed");

    TypeAndEnter(address);
    ASSERT_TRUE(Pump([&] { return !Main().Timer1(0).Enabled() && Main().labCaption.Caption() == "Typed page"; }, 15000))
        << "the typed page did not load";

    EXPECT_EQ(server.Hits("/typed"), 1);
    EXPECT_EQ(frmDummy->Caption(), "Typed page");
    EXPECT_EQ(Main().Combo1.Text(), address);
    EXPECT_EQ(Main().picTab(0).ToolTipText(), "Typed page (" + address + ")");
    EXPECT_TRUE(FaceShows(0, "Typed page"));
    EXPECT_TRUE(Shows(8));
    EXPECT_FALSE(Main().Timer2.Enabled());
    bool listed = false;
    for (int i = 0; i < Main().Combo1.ListCount(); ++i) listed = listed || Main().Combo1.List(i) == address;
    EXPECT_TRUE(listed);
}

TEST_F(NavigationE2eTest, TwoTabsLoadingAtOnceBothFinishAndTheAnimationStopsAfterTheSecond) {
    server.Add("/quicker", SlowPage("Quicker page", 1500));
    server.Add("/slower", SlowPage("Slower page", 3500));
    StartOnStartPage();

    TypeAndEnter(server.Url("/quicker"));
    Main().AddTab(server.Url("/slower"));
    ASSERT_EQ(CurrentTab, 1);
    ASSERT_TRUE(Pump([&] { return Main().Timer2.Enabled(); }, 3000));

    // While both load the animation runs through its frames.
    std::set<cairo_surface_t*> framesSeen;
    ASSERT_TRUE(Pump(
        [&] {
            framesSeen.insert(Main().Picture3.GetPicture().Surface()->cobj());
            return !Main().Timer1(0).Enabled();
        },
        15000))
        << "the quicker page did not finish";
    EXPECT_GE(framesSeen.size(), 3u);

    // The first tab done; the second still loading takes the animation up again.
    EXPECT_TRUE(Main().WebBrowser1(1).Busy());
    EXPECT_TRUE(Main().Timer1(1).Enabled());
    ASSERT_TRUE(Pump([&] { return Main().Timer2.Enabled(); }, 500));
    EXPECT_EQ(Main().picTab(0).ToolTipText(), "Quicker page (" + server.Url("/quicker") + ")");

    // Between one tab's idle frame and the other's next poll the animation may pause
    // for a moment; it goes on through its frames while the slower page loads.
    framesSeen.clear();
    ASSERT_TRUE(Pump(
        [&] {
            if (Main().Timer2.Enabled()) framesSeen.insert(Main().Picture3.GetPicture().Surface()->cobj());
            return !Main().Timer1(1).Enabled();
        },
        15000))
        << "the slower page did not finish";
    EXPECT_GE(framesSeen.size(), 3u) << "the animation stood still while the slower page loaded";
    EXPECT_FALSE(Main().Timer2.Enabled());
    EXPECT_TRUE(Shows(8));
    EXPECT_EQ(Main().labCaption.Caption(), "Slower page");
    EXPECT_EQ(frmDummy->Caption(), "Slower page");
    EXPECT_EQ(Main().picTab(1).ToolTipText(), "Slower page (" + server.Url("/slower") + ")");
    EXPECT_TRUE(FaceShows(1, "Slower page"));
    EXPECT_EQ(server.Hits("/quicker"), 1);
    EXPECT_EQ(server.Hits("/slower"), 1);
}

TEST_F(NavigationE2eTest, TabsWhosePagesEndedWithTheirProcessSaySoAndComeBackOnRefreshOrATypedAddress) {
    server.Add("/second", TitledPage("Second page"));
    server.Add("/typed", TitledPage("Typed page"));
    StartOnStartPage();
    Main().AddTab(server.Url("/second"));
    ASSERT_TRUE(Pump([&] { return Shows(1, server.Url("/second"), "Second page") && !Main().Timer1(1).Enabled(); }));

    ASSERT_FALSE(testing_support::WebProcesses().empty());
    KillWebProcesses();
    const std::string endedStart = "Page ended: Start page";
    const std::string endedSecond = "Page ended: Second page";
    ASSERT_TRUE(Pump([&] {
        return Main().picTab(0).ToolTipText() == endedStart + " (" + server.Url("/start") + ")" &&
               Main().picTab(1).ToolTipText() == endedSecond + " (" + server.Url("/second") + ")";
    })) << "the faces do not tell that the pages ended";
    EXPECT_EQ(Main().labCaption.Caption(), endedSecond);
    EXPECT_EQ(Main().Combo1.Text(), server.Url("/second"));

    // Refresh loads the current tab's page again, in that tab.
    Main().picButton_Click(2);
    ASSERT_TRUE(Pump([&] { return Shows(1, server.Url("/second"), "Second page") && !Main().Timer1(1).Enabled(); }))
        << "Refresh did not load the page again";
    EXPECT_EQ(server.Hits("/second"), 2);
    EXPECT_EQ(Main().labCaption.Caption(), "Second page");

    // An address typed for the other tab opens in it; no tab is lost.
    Main().picTab_Click(0);
    TypeAndEnter(server.Url("/typed"));
    ASSERT_TRUE(Pump([&] { return Shows(0, server.Url("/typed"), "Typed page") && !Main().Timer1(0).Enabled(); }))
        << "the typed address did not open in the tab";
    EXPECT_EQ(Main().WebBrowser1.UBound(), 1);
    EXPECT_TRUE(Main().picTab.Exists(1));
    EXPECT_EQ(CurrentTab, 0);
    EXPECT_EQ(Main().labCaption.Caption(), "Typed page");
    EXPECT_TRUE(Main().WebBrowser1(0).ShowsPage());
    EXPECT_TRUE(FaceShows(0, "Typed page"));
}

TEST_F(NavigationE2eTest, AScriptAddressOnTheCommandLineOpensABlankPageWithoutRunningTheScript) {
    SetCommandForTesting("\"javascript:fetch('" + server.Url("/ran") + "')\"");
    frmSplash.Get();
    ASSERT_TRUE(Pump([&] {
        return server.Hits("/ran") > 0 ||
               (Main().WebBrowser1(0).LocationURL() == "about:blank" && !Main().WebBrowser1(0).Busy());
    }));
    EXPECT_EQ(server.Hits("/ran"), 0);
    EXPECT_EQ(Main().WebBrowser1(0).LocationURL(), "about:blank");
}

// A page of the program's first tab whose script opens dialogs with ten million
// characters of text: each dialog shows at once, cut as the screen shows lines,
// and the page gets the user's answers.
TEST_F(NavigationE2eTest, ScriptDialogsOfHugeTextsShowCutAtOnceAndThePageGetsTheAnswers) {
    const std::string huge = "'A'.repeat(1e7)";
    server.Add("/dialogs", "<html><head><title>Dialogs</title></head><body><script>"
                           "alert(" + huge + ");"
                           "const confirmed = confirm(" + huge + " + '\\n' + 'line\\n'.repeat(1e6));"
                           "const answer = prompt(" + huge + ", " + huge + ");"
                           "document.title = 'answered ' + confirmed + ' ' + answer;"
                           "</script></body></html>");
    SetCommandForTesting(server.Url("/dialogs"));
    frmSplash.Get();

    const std::string cutLine = std::string(ScreenLineChars - 1, 'A') + "\u2026";
    const struct {
        const char* kind;
        bool manyLines;
        bool prompt;
    } dialogs[] = {{"alert", false, false}, {"confirm", true, false}, {"prompt", false, true}};
    for (const auto& expected : dialogs) {
        SCOPED_TRACE(expected.kind);
        ASSERT_TRUE(Pump([] { return ShownScriptDialog() != nullptr; }, 30000)) << "no dialog came up";
        ScriptDialog& dialog = *ShownScriptDialog();
        const std::vector<std::string> lines = Lines(dialog.Text());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front(), cutLine);
        if (expected.manyLines) {
            EXPECT_EQ(lines.size(), static_cast<std::size_t>(ScreenTextLines));
            EXPECT_EQ(lines[1], "line");
            EXPECT_EQ(lines.back(), "\u2026");
        } else {
            EXPECT_EQ(lines.size(), 1u);
        }
        if (expected.prompt) {
            EXPECT_EQ(dialog.AnswerField().get_text(), cutLine);
            dialog.AnswerField().set_text("typed");
        }
        static_cast<Gtk::Button*>(dialog.get_widget_for_response(Gtk::RESPONSE_OK))->clicked();
    }
    ASSERT_TRUE(Pump([&] { return Main().WebBrowser1(0).LocationName() == "answered true typed"; }, 30000));

    // A dialog left open does not keep the tab from going to another page.
    server.Add("/left-open", "<script>alert('left open');</script>");
    TypeAndEnter(server.Url("/left-open"));
    ASSERT_TRUE(Pump([] { return ShownScriptDialog() != nullptr; }));
    TypeAndEnter(server.Url("/start"));
    ASSERT_TRUE(Pump([&] { return Shows(0, server.Url("/start"), "Start page"); }));
    EXPECT_EQ(ShownScriptDialog(), nullptr);
}

}  // namespace
