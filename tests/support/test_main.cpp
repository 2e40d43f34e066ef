#include <gtest/gtest.h>
#include <gtkmm/main.h>
#include <gtkmm/window.h>
#include <glib.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/State.h"
#include "cookies/FrmFilter.h"
#include "dialogs/FrmOptions.h"
#include "menus/MenuState.h"
#include "platform/app.h"
#include "platform/browser_view.h"
#include "platform/common_dialog.h"
#include "platform/form.h"
#include "platform/msgbox.h"
#include "platform/url_cache.h"
#include "platform/webkit/webkit_session.h"
#include "test_support.h"

namespace testing_support {

namespace {

// Every process of a test, the test program and each child it starts, has a folder
// of its own: inside the given folder when there is one, else in the temporary folder.
const std::filesystem::path& ProcessRoot() {
    static const std::filesystem::path root = [] {
        // Inside the folder that tests/support/with-own-display makes and removes once
        // every process of the test has ended; a test program started on its own makes
        // one in the temporary folder and removes it.
        const char* given = std::getenv(TestRootVariable);
        const std::filesystem::path parent =
            given && *given ? std::filesystem::path(given) : std::filesystem::temp_directory_path();
        std::string pattern = (parent / "quellin-test-XXXXXX").string();
        return std::filesystem::path(g_mkdtemp(pattern.data()));
    }();
    return root;
}

// The folder of the running test; empty between tests.
std::filesystem::path testFolder;

}  // namespace

const std::filesystem::path& TempRoot() { return testFolder.empty() ? ProcessRoot() : testFolder; }

namespace {

bool RunLoopUntil(const std::function<bool()>& done, gint64 timeoutMs) {
    const gint64 deadline = g_get_monotonic_time() + timeoutMs * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > deadline) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
    return true;
}

// How many times longer than usual a test waits before it gives up.
gint64 TimeScale() {
    static const gint64 scale = [] {
        const char* given = std::getenv(TimeScaleVariable);
        return std::max<gint64>(1, given ? g_ascii_strtoll(given, nullptr, 10) : 1);
    }();
    return scale;
}

}  // namespace

bool Pump(const std::function<bool()>& done, int timeoutMs) { return RunLoopUntil(done, timeoutMs * TimeScale()); }

void PumpFor(int ms) {
    RunLoopUntil([] { return false; }, ms * TimeScale());
}

std::string TodaysPageName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream name;
    name.imbue(std::locale::classic());
    name << std::put_time(&local, "%d %B %Y") << ".htm";
    return name.str();
}

std::uint32_t Pixel(const Cairo::RefPtr<Cairo::ImageSurface>& surface, int x, int y) {
    surface->flush();
    const auto* row = reinterpret_cast<const std::uint32_t*>(surface->get_data() + y * surface->get_stride());
    return row[x] & 0xFFFFFF;
}

bool SameImage(const platform::Picture& a, const platform::Picture& b) {
    if (a.PixelWidth() != b.PixelWidth() || a.PixelHeight() != b.PixelHeight()) return false;
    a.Surface()->flush();
    b.Surface()->flush();
    for (int y = 0; y < a.PixelHeight(); ++y) {
        const auto* rowA = reinterpret_cast<const std::uint32_t*>(a.Surface()->get_data() + y * a.Surface()->get_stride());
        const auto* rowB = reinterpret_cast<const std::uint32_t*>(b.Surface()->get_data() + y * b.Surface()->get_stride());
        for (int x = 0; x < a.PixelWidth(); ++x)
            if ((rowA[x] & 0xFFFFFF) != (rowB[x] & 0xFFFFFF)) return false;
    }
    return true;
}


namespace {

constexpr const char* XdgFolderVariables[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"};

// The XDG folders are the process's own: GLib and the engine read the variables
// once per process, and the engine's sandbox takes the folders as they were when
// its processes start. Each test finds them empty.
void SetXdgVariables() {
    for (const char* name : XdgFolderVariables) {
        std::filesystem::create_directories(ProcessRoot() / name);
        setenv(name, (ProcessRoot() / name).c_str(), 1);
    }
}

void EmptyXdgFolders() {
    for (const char* name : XdgFolderVariables) {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(ProcessRoot() / name, ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }
}

// Gives each test a folder of its own, the program folder by default, and puts back
// after it what the test changed in this process: no form stays loaded, the
// modules' state is as the program starts with it, the XDG folders are empty and
// the test's folder is gone.
class TestIsolation : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& test) override {
        std::string name = std::string(test.test_suite_name()) + "." + test.name();
        std::replace(name.begin(), name.end(), '/', '_');
        testFolder = ProcessRoot() / name;
        std::filesystem::create_directories(testFolder);
        platform::SetAppPathForTesting(testFolder.string());
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        // As at the end of the program, no handler of a window runs any more.
        platform::SetEndAction([] {});
        platform::End();
        platform::DiscardLoadedForms();
        // Windows of the toolkit that outlive forms, as a download's, close as well.
        for (Gtk::Window* window : Gtk::Window::list_toplevels()) window->hide();
        platform::SetMsgBoxResponder(nullptr);
        platform::SetFileDialogResponder(nullptr);
        platform::SetBrowserViewFactory(nullptr);
        platform::SetUrlCache(nullptr);
        platform::SetCommandForTesting("");
        platform::SetHomePage(startingHomePage_);
        ResetState();
        ResetMenuState();
        ResetFilterState();
        ResetOptionsState();
        // The discarded forms and controls are deleted once the events already queued for them have run.
        platform::DoEvents();
        platform::ForgetFocusHandOver();
        platform::SetEndAction([] {});
        EmptyXdgFolders();
        // The engine's cookie store file went with them: it starts a new one.
        platform::webkit::ReopenCookieStore();
        std::error_code ignored;
        std::filesystem::remove_all(testFolder, ignored);
        testFolder.clear();
    }

private:
    const std::string startingHomePage_ = platform::HomePage();
};

}  // namespace

}  // namespace testing_support

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Every test process gets folders of its own.
    const auto& root = testing_support::ProcessRoot();
    testing_support::SetXdgVariables();
    char* args[] = {argv[0], nullptr};
    platform::Init(1, args);
    platform::SetEndAction([] {});
    ::testing::UnitTest::GetInstance()->listeners().Append(new testing_support::TestIsolation);
    int result = RUN_ALL_TESTS();
    // Controls that the tests unloaded are deleted once their handlers have returned,
    // as they would be in the program's loop.
    platform::DoEvents();
    std::error_code ignored;
    if (!std::getenv(testing_support::TestRootVariable)) std::filesystem::remove_all(root, ignored);
    return result;
}
