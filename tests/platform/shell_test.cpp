#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/error.h"
#include "platform/shell.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Shell, StartsAProgramDetachedWithoutAShellAndWithoutOurStreams) {
    const fs::path folder = testing_support::TempRoot() / "shell";
    fs::create_directories(folder);
    const fs::path report = folder / "report", done = folder / "done";
    const fs::path script = folder / "report.sh";
    std::ofstream(script) << "printf '%s|%s|%s|' \"$1\" \"$(readlink /proc/$$/fd/1)\" \"$PPID\" > '"
                          << report.string() << "'\ntouch '" << done.string() << "'\n";
    // The words arrive as a shell would split them; the metacharacters inside quotes
    // reach the program untouched because no shell runs in between.
    platform::Shell("sh '" + script.string() + "' 'two words; $HOME'");
    ASSERT_TRUE(testing_support::Pump([&] { return fs::exists(done); }));
    const std::string text = ReadWhole(report);
    EXPECT_EQ(text.substr(0, text.find('|')), "two words; $HOME");
    EXPECT_NE(text.find("|/dev/null|"), std::string::npos) << text;
    EXPECT_EQ(text.find("|" + std::to_string(getpid()) + "|"), std::string::npos) << "still our child: " << text;
    fs::remove_all(folder);
}

TEST(Shell, CommandsThatCannotStartRaiseWithTheReason) {
    struct Case {
        const char* command;
        int number;
    } cases[] = {
        {"", platform::errors::InvalidProcedureCall},
        {"   ", platform::errors::InvalidProcedureCall},
        {"editor \"unbalanced", platform::errors::InvalidProcedureCall},
        {"no-such-program-quellin --help", platform::errors::FileNotFound},
        {"/no/such/folder/program", platform::errors::FileNotFound},
    };
    for (const auto& c : cases) {
        try {
            platform::Shell(c.command);
            ADD_FAILURE() << "started: " << c.command;
        } catch (const platform::ToolkitError& error) {
            EXPECT_EQ(error.Number(), c.number) << c.command;
            EXPECT_FALSE(error.Description().empty()) << c.command;
        }
    }
}

}  // namespace
