#include <gtest/gtest.h>
#include <gtkmm/button.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "platform/app.h"
#include "platform/text.h"
#include "platform/webkit/script_dialog.h"
#include "real_program.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

using platform::ScriptDialog;
using testing_support::Pump;
using testing_support::TestServer;

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

// A page of the program's first tab whose script opens dialogs with ten million
// characters of text: each dialog shows at once, cut as the screen shows lines,
// and the page gets the user's answers.
TEST(ScriptDialogE2eTest, HugeTextsAreShownCutAtOnceAndThePageGetsTheAnswers) {
    const std::string huge = "'A'.repeat(1e7)";
    TestServer server;
    server.Add("/dialogs", "<html><head><title>Dialogs</title></head><body><script>"
                           "alert(" + huge + ");"
                           "const confirmed = confirm(" + huge + " + '\\n' + 'line\\n'.repeat(1e6));"
                           "const answer = prompt(" + huge + ", " + huge + ");"
                           "document.title = 'answered ' + confirmed + ' ' + answer;"
                           "</script></body></html>");
    testing_support::PrepareProgramOnRealViews();
    platform::SetCommandForTesting(server.Url("/dialogs"));
    frmSplash.Get();

    const std::string cutLine = std::string(platform::ScreenLineChars - 1, 'A') + "\u2026";
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
            EXPECT_EQ(lines.size(), static_cast<std::size_t>(platform::ScreenTextLines));
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
    ASSERT_TRUE(Pump([] { return frmMain->WebBrowser1(0).LocationName() == "answered true typed"; }, 30000));
    EXPECT_EQ(ShownScriptDialog(), nullptr);
}

}  // namespace
