#include <glib.h>
#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "program_fixture.h"
#include "app/FrmDummy.h"
#include "app/State.h"
#include "menus/MenuModule.h"
#include "platform/twips.h"
#include "x_window.h"

using namespace platform;
using testing_support::Pump;

namespace {

namespace fs = std::filesystem;

// Runs a command line of the desktop's tools; its output. A listing may fail while
// windows come and go, and is then only empty.
std::string RunTool(const std::vector<std::string>& words, bool mustSucceed = true) {
    std::vector<char*> argv;
    for (const auto& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    gchar* out = nullptr;
    gint status = 0;
    EXPECT_TRUE(g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, &out, nullptr,
                             &status, nullptr));
    if (mustSucceed) {
        EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << words[0] << " " << words[1];
    }
    std::string text = out ? out : "";
    g_free(out);
    return text;
}

// The address list the program starts with, out of its sorted order: saving writes it sorted.
constexpr const char* ListAtStart = "b\r\na\r\n";
constexpr const char* ListSaved = "a\r\nb\r\n";

// Every way of closing the main window, as the user takes it.
enum class Route { CloseButton, FileClose, TaskbarWindow, WindowManagerClose, AltF4 };

const char* RouteName(Route route) {
    switch (route) {
        case Route::CloseButton: return "CloseButton";
        case Route::FileClose: return "FileClose";
        case Route::TaskbarWindow: return "TaskbarWindow";
        case Route::WindowManagerClose: return "WindowManagerClose";
        case Route::AltF4: return "AltF4";
    }
    return "";
}

// A route, and the cookie-trap mode the program closes in.
using RouteAndMode = std::tuple<Route, int>;

class CloseRouteTest : public ProgramTest, public ::testing::WithParamInterface<RouteAndMode> {
protected:
    void StartShown(int cookieTrapMode) {
        WriteFile("autocomplete.dat", ListAtStart);
        WriteFile("browser.ini", "[CookieTrap]\r\n" + std::to_string(cookieTrapMode) + "\r\n");
        Start("about:blank");
        ASSERT_TRUE(Pump([] { return frmMain->Window().get_mapped() && frmDummy->Window().get_mapped(); }, 5000));
        frmMain->WaitForPlacement();
    }

    void Close(Route route) {
        FrmMain& main = frmMain.Get();
        switch (route) {
            case Route::CloseButton: {
                Gtk::Widget& button = main.picClose.Widget();
                int x = 0, y = 0, originX = 0, originY = 0;
                button.translate_coordinates(main.Window(), button.get_allocated_width() / 2,
                                             button.get_allocated_height() / 2, x, y);
                main.Window().get_window()->get_origin(originX, originY);
                x += originX;
                y += originY;
                // A window the pointer has just entered sees its next move.
                RunTool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.05",
                         "mousemove_relative", "1", "0", "sleep", "0.05", "click", "1"});
                break;
            }
            case Route::FileClose: MenuModule::MenuCommand("close"); break;
            case Route::TaskbarWindow: RunTool({"wmctrl", "-i", "-c", x_window::Id(frmDummy.Get())}); break;
            case Route::WindowManagerClose: RunTool({"wmctrl", "-i", "-c", x_window::Id(main)}); break;
            case Route::AltF4:
                // The keys go to the window that has the focus once the program has taken it.
                // Now and then openbox lets a key pressed just after an activation reach no
                // window; a person would press it again.
                for (int press = 0; press < 3 && endCalls == 0; ++press) {
                    RunTool({"xdotool", "windowactivate", "--sync", x_window::Id(main)});
                    ASSERT_TRUE(Pump([&] { return main.Window().is_active(); }, 5000)) << "the main window was not activated";
                    RunTool({"xdotool", "key", "alt+F4"});
                    Pump([this] { return endCalls > 0; }, 3000);
                }
                break;
        }
    }
};

// Each route saves the address list and ends the program: at once in mode 0, through
// the closing-down check otherwise, which removes the session's new cookie in mode 1.
TEST_P(CloseRouteTest, SavesTheAddressListAndRunsTheClosingDownCheck) {
    const auto [route, mode] = GetParam();
    StartShown(mode);
    urlCache->Add("Cookie:me@tracker.example/");
    ASSERT_NO_FATAL_FAILURE(Close(route));
    ASSERT_TRUE(Pump([this] { return endCalls > 0; }, 10000)) << "the program did not end";
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(ReadFile("autocomplete.dat"), ListSaved);
    EXPECT_EQ(urlCache->Entries().empty(), mode == 1);
    EXPECT_FALSE(frmDummy.Loaded());
    EXPECT_FALSE(frmMain.Loaded() && frmMain->Visible());
}

INSTANTIATE_TEST_SUITE_P(EveryRoute, CloseRouteTest,
                         ::testing::Combine(::testing::Values(Route::CloseButton, Route::FileClose,
                                                              Route::TaskbarWindow, Route::WindowManagerClose,
                                                              Route::AltF4),
                                            ::testing::Values(0, 1)),
                         [](const auto& info) {
                             return std::string(RouteName(std::get<0>(info.param))) + "Mode" +
                                    std::to_string(std::get<1>(info.param));
                         });

// The installed program, closed by the window manager: it saves before it ends.
TEST(ProgramBinaryUnderAWindowManager, TheWindowManagersCloseSavesTheAddressList) {
    const char* built = std::getenv("QUELLIN_BINARY");
    if (!built) GTEST_SKIP() << "QUELLIN_BINARY names no program";
    const fs::path folder = testing_support::TempRoot() / "installed";
    fs::create_directories(folder);
    fs::copy_file(built, folder / "quellin");
    fs::copy_file(fs::path(built).parent_path() / "History.dat", folder / "History.dat");
    std::ofstream(folder / "autocomplete.dat", std::ios::binary) << ListAtStart;

    const std::string program = (folder / "quellin").string();
    gchar* argv[] = {const_cast<gchar*>(program.c_str()), const_cast<gchar*>("about:blank"), nullptr};
    GPid pid = 0;
    ASSERT_TRUE(g_spawn_async(folder.c_str(), argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr));
    bool exited = false;
    const auto stillRunning = [&] { return !(exited = exited || waitpid(pid, nullptr, WNOHANG) != 0); };

    // The main window: the program's largest, once it is up.
    std::string mainWindow;
    ASSERT_TRUE(Pump([&] {
        std::istringstream windows(RunTool({"wmctrl", "-l", "-p", "-G"}, false));
        std::string id, desktop, owner, x, y, width, height;
        for (std::string line; std::getline(windows, line);) {
            std::istringstream fields(line);
            fields >> id >> desktop >> owner >> x >> y >> width >> height;
            if (owner == std::to_string(pid) && std::stoi(width) > 600 && std::stoi(height) > 400) mainWindow = id;
        }
        return !mainWindow.empty() || !stillRunning();
    }, 60000)) << "no main window";
    ASSERT_TRUE(stillRunning());
    testing_support::PumpFor(500);

    RunTool({"wmctrl", "-i", "-c", mainWindow});
    const bool ended = Pump([&] { return !stillRunning(); }, 20000);
    if (!ended) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    g_spawn_close_pid(pid);
    ASSERT_TRUE(ended) << "the window manager's close did not end the program";
    std::ifstream saved(folder / "autocomplete.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), ListSaved);
}

}  // namespace
