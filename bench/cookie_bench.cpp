// Times the cookie trap's comparisons at 100, 1,000 and 10,000 cookie entries in
// the store, beside one scan of the store (GetCookies):
//
//  - the closing-down check, CheckCookies, in mode 1 with ten cookies added during
//    the browser session (scan, comparison with the baseline, ten deletions), and
//    in mode 3 with twenty filter words;
//  - RefreshLists of the new-cookies window, with a tenth of the entries new.
//
// The program's windows run inside this process with browser doubles and the
// in-memory URL cache: what is timed is the program's own work, not the engine's.
// For scale, one scan of the engine's own cookie store (WebKitUrlCache) holding
// that many entries is timed too. Each figure is the median of repeated runs.
//
//     cookie_bench [RUNS]
#include <glib.h>
#include <libsoup/soup.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench_folder.h"

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "browser_double.h"
#include "cookies/CookieForms.h"
#include "cookies/FrmCleanup.h"
#include "cookies/FrmNewcookies.h"
#include "memory_url_cache.h"
#include "platform/app.h"
#include "platform/url_cache.h"
#include "platform/webkit/webkit_session.h"
#include "platform/webkit/webkit_url_cache.h"

namespace fs = std::filesystem;

namespace {

constexpr double ExitCheckTargetMs = 50;
constexpr int NewInSession = 10;

using Clock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double MedianOf(int runs, const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(run());
    std::sort(times.begin(), times.end());
    return runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
}

std::string Ms(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%8.2f ms", value);
    return text;
}

std::string EntryName(int index) {
    return "Cookie:user@host" + std::to_string(index) + (index % 3 ? ".example/" : ".example/path/");
}

// A store of `count` cookie entries; the first `count - added` make the baseline.
platform::MemoryUrlCache& FreshStore(int count, int added) {
    auto cache = std::make_unique<platform::MemoryUrlCache>();
    auto& store = *cache;
    for (int i = 0; i < count - added; ++i) store.Add(EntryName(i));
    platform::SetUrlCache(std::move(cache));
    frmMain->GetCookies();
    frmMain->BaselineTaken = true;
    for (int i = count - added; i < count; ++i) store.Add(EntryName(i));
    return store;
}

double TimeExitCheck(int count, int mode) {
    FreshStore(count, NewInSession);
    Settings.CookieTrapMode = static_cast<std::int16_t>(mode);
    platform::SetEndAction([] {});
    // Loading the closing-down window runs the check.
    const double ms = MillisecondsOf([] { frmCleanup.Get(); });
    frmCleanup.Unload();
    return ms;
}

double TimeScan(int count) {
    FreshStore(count, 0);
    return MillisecondsOf([] { frmMain->GetCookies(); });
}

double TimeRefreshLists(int count) {
    FreshStore(count, count / 10);
    frmMain->GetCookies();
    FrmNewcookies& window = frmNewcookies.Get();
    for (int i = count - count / 10; i < count; ++i) window.lstNewCookies.AddItem(EntryName(i));
    const double ms = MillisecondsOf([&] { window.RefreshLists(); });
    frmNewcookies.Unload();
    return ms;
}

// Gives the engine's store cookies of entries `from` to `to` - 1 and waits until it has them all.
bool AddEngineCookies(int from, int to) {
    int pending = to - from;
    for (int i = from; i < to; ++i) {
        SoupCookie* cookie = soup_cookie_new("c", "1", ("host" + std::to_string(i) + ".example").c_str(), "/", 3600);
        webkit_cookie_manager_add_cookie(
            platform::webkit::CookieManager(), cookie, nullptr,
            [](GObject* manager, GAsyncResult* result, gpointer left) {
                webkit_cookie_manager_add_cookie_finish(WEBKIT_COOKIE_MANAGER(manager), result, nullptr);
                --*static_cast<int*>(left);
            },
            &pending);
        soup_cookie_free(cookie);
    }
    const gint64 deadline = g_get_monotonic_time() + 120 * G_USEC_PER_SEC;
    while (pending > 0 && g_get_monotonic_time() < deadline) g_main_context_iteration(nullptr, TRUE);
    return pending == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto made = MakeBenchFolder("quellin-cookies");
    if (!made) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    const fs::path root = *made;
    const fs::path folder = root / "program";
    std::string words;
    for (int i = 0; i < 20; ++i) words += "word" + std::to_string(i * 37) + "\r\n";
    std::ofstream(folder / "filter.dat", std::ios::binary) << words << "host99.\r\n";

    char* args[] = {argv[0], nullptr};
    platform::Init(1, args);
    platform::SetEndAction([] {});
    platform::SetAppPathForTesting(folder.string());
    platform::SetCommandForTesting("about:blank");
    platform::SetBrowserViewFactory([] { return std::make_unique<platform::BrowserDouble>(); });
    platform::SetUrlCache(std::make_unique<platform::MemoryUrlCache>());
    frmSplash.Get();

    std::cout << "\nCookie trap: medians of " << runs << " runs, in-memory store\n\n";
    std::cout << "  entries   one scan    exit check (mode 1)   exit check (mode 3)   RefreshLists\n";
    bool metTarget = true;
    for (int count : {100, 1000, 10000}) {
        const double scan = MedianOf(runs, [&] { return TimeScan(count); });
        const double mode1 = MedianOf(runs, [&] { return TimeExitCheck(count, 1); });
        const double mode3 = MedianOf(runs, [&] { return TimeExitCheck(count, 3); });
        const double refresh = MedianOf(runs, [&] { return TimeRefreshLists(count); });
        std::printf("  %7d %s   %s           %s           %s\n", count, Ms(scan).c_str(), Ms(mode1).c_str(),
                    Ms(mode3).c_str(), Ms(refresh).c_str());
        if (count == 10000) metTarget = std::max(mode1, mode3) - scan < ExitCheckTargetMs;
    }
    std::cout << "\n  the engine's store (WebKitUrlCache):  one scan    one deletion\n";
    platform::WebKitUrlCache engine;
    int stored = 0;
    for (int count : {100, 1000, 10000}) {
        if (!AddEngineCookies(stored, count)) {
            std::cout << "  " << count << ": n/a, the engine did not take the cookies\n";
            break;
        }
        stored = count;
        const double scan = MedianOf(runs, [&] { return MillisecondsOf([&] { engine.Enumerate(); }); });
        int deleted = 0;
        const double deletion = MedianOf(runs, [&] {
            const std::string entry = "Cookie:" + std::string(g_get_user_name()) + "@host" + std::to_string(deleted++) + ".example/";
            return MillisecondsOf([&] { engine.DeleteEntry(entry); });
        });
        AddEngineCookies(0, deleted);
        std::printf("  %7d                         %s   %s\n", count, Ms(scan).c_str(), Ms(deletion).c_str());
    }
    std::cout << "\n  target: the exit check adds under " << ExitCheckTargetMs
              << " ms to closing at 10,000 entries (check less one scan): " << (metTarget ? "met" : "NOT met") << "\n";

    std::error_code ignored;
    fs::remove_all(root, ignored);
    return metTarget ? 0 : 1;
}
