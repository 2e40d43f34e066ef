#include <gtest/gtest.h>
#include <gtkmm/main.h>
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

#include "platform/app.h"
#include "test_support.h"

namespace testing_support {

// Every process of a test, the test program and each child it starts, has a folder
// of its own: inside the given folder when there is one, else in the temporary folder.
const std::filesystem::path& TempRoot() {
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
    RunLoopUntil([] { return false; }, ms);
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


}  // namespace testing_support

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Every test process gets folders of its own.
    const auto& root = testing_support::TempRoot();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        auto folder = root / name;
        std::filesystem::create_directories(folder);
        setenv(name, folder.c_str(), 1);
    }
    char* args[] = {argv[0], nullptr};
    platform::Init(1, args);
    platform::SetEndAction([] {});
    int result = RUN_ALL_TESTS();
    // Controls that the tests unloaded are deleted once their handlers have returned,
    // as they would be in the program's loop.
    platform::DoEvents();
    std::error_code ignored;
    if (!std::getenv(testing_support::TestRootVariable)) std::filesystem::remove_all(root, ignored);
    return result;
}
