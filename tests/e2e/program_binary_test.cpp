#include <gtest/gtest.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "soup_server.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program as it is installed: its executable with the supplied files beside it,
// in a program folder of the test's own, since the program keeps its data there.
class ProgramBinaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* built = std::getenv("QUELLIN_BINARY");
        if (!built) GTEST_SKIP() << "QUELLIN_BINARY names no program";
        folder = testing_support::TempRoot() / "installed";
        fs::create_directories(folder);
        fs::copy_file(built, folder / "quellin");
        fs::copy_file(fs::path(built).parent_path() / "History.dat", folder / "History.dat");
    }

    void TearDown() override {
        if (pid <= 0) return;
        if (!exited) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        g_spawn_close_pid(pid);
    }

    void StartProgram(const std::string& commandLine) {
        const std::string program = (folder / "quellin").string();
        gchar* argv[] = {const_cast<gchar*>(program.c_str()), const_cast<gchar*>(commandLine.c_str()), nullptr};
        GError* error = nullptr;
        ASSERT_TRUE(g_spawn_async(folder.c_str(), argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid,
                                  &error))
            << (error ? error->message : "");
    }

    bool StillRunning() {
        exited = exited || waitpid(pid, nullptr, WNOHANG) != 0;
        return !exited;
    }

    fs::path folder;
    GPid pid = 0;
    bool exited = false;
};

TEST_F(ProgramBinaryTest, StartsOnTheCommandLinesPageAndRecordsItInTodaysHistory) {
    testing_support::TestServer server;
    server.Add("/start", "<html><head><title>Started from the command line</title></head><body>Hello</body></html>");
    StartProgram("\"" + server.Url("/start") + "\"");

    const fs::path dayPage = folder / "history" / testing_support::TodaysPageName();
    // The test's server runs on this thread's loop, so the loop runs while the program starts.
    const bool recorded = testing_support::Pump(
        [&] { return ReadText(dayPage).find(server.Url("/start")) != std::string::npos || !StillRunning(); }, 60000);
    ASSERT_TRUE(recorded) << "the program's first page was never recorded";
    ASSERT_TRUE(StillRunning()) << "the program ended on its own";
    EXPECT_EQ(server.Hits("/start"), 1);
    EXPECT_NE(ReadText(dayPage).find("Started from the command line"), std::string::npos);
}

}  // namespace
