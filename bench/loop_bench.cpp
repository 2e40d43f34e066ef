// Times what the tests check only in order and count, never by the clock:
//
//  - a Timer enabled again while it runs: when its first tick comes;
//  - DoEvents while two 1 ms timers are always due: how long it takes to return;
//  - WaitWithoutHandlers given up: how long it waited for its 50 ms;
//  - ReadIni looking for a section behind 50 megabytes of other lines, and in a
//    file of one 50-megabyte line.
//
// Each figure is the median of repeated runs, printed beside its target.
//
//     loop_bench [RUNS]
#include <glib.h>

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

#include "common/General.h"
#include "platform/app.h"
#include "platform/timer.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Pump(const std::function<bool()>& done, int timeoutMs) {
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done() && g_get_monotonic_time() < deadline)
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// "412 ms (405-430)": the median of the runs and their spread.
std::string Figure(const std::vector<double>& runs) {
    const auto [low, high] = std::minmax_element(runs.begin(), runs.end());
    char text[96];
    std::snprintf(text, sizeof text, "%.0f ms (%.0f-%.0f)", Median(runs), *low, *high);
    return text;
}

std::vector<double> Repeat(int runs, const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(run());
    return times;
}

// A 400 ms timer enabled again 200 ms into its count: the time of its first tick.
double TimerEnabledAgain() {
    platform::Timer timer;
    double firstTick = 0;
    const auto start = Clock::now();
    timer.Tick = [&] {
        if (!firstTick) firstTick = MillisecondsSince(start);
    };
    timer.SetInterval(400);
    Pump([] { return false; }, 200);
    timer.SetEnabled(true);
    timer.SetInterval(400);
    Pump([&] { return firstTick != 0; }, 2000);
    return firstTick;
}

// Each tick outlasts the interval, so one timer is due again while the other runs.
double DoEventsWithTimersAlwaysDue() {
    platform::Timer first, second;
    for (platform::Timer* timer : {&first, &second}) {
        timer->Tick = [] { g_usleep(2000); };
        timer->SetInterval(1);
    }
    Pump([] { return false; }, 5);
    const auto start = Clock::now();
    platform::DoEvents();
    return MillisecondsSince(start);
}

double WaitGivenUp() {
    const auto start = Clock::now();
    platform::WaitWithoutHandlers([] { return false; }, 50);
    return MillisecondsSince(start);
}

double ReadIniOf(const std::string& file) {
    const auto start = Clock::now();
    General::ReadIni(file, "skin");
    return MillisecondsSince(start);
}

void BenchReadIni(const fs::path& folder, int runs) {
    std::string content;
    content.reserve(51 << 20);
    const std::string chunk = "[other]\r\nsome value text 0123456789 abcdefghijklmnopqrstuvwxyz\r\n\x01\xff garbage [x\n";
    while (content.size() < (50 << 20)) content += chunk;
    content += "[skin]\r\nfound\r\n";
    const std::string lines = (folder / "big.ini").string();
    std::ofstream(lines, std::ios::binary) << content;
    const std::string oneLine = (folder / "oneline.ini").string();
    std::ofstream(oneLine, std::ios::binary) << "[" + std::string(50 << 20, 'x');
    content.clear();
    content.shrink_to_fit();

    const bool found = General::ReadIni(lines, "skin") == "found";
    std::cout << "\nReadIni, a section behind 50 MB\n";
    std::cout << "  of short lines:          " << Figure(Repeat(runs, [&] { return ReadIniOf(lines); }))
              << "  (target: under 1000 ms)\n";
    std::cout << "  in one line:             " << Figure(Repeat(runs, [&] { return ReadIniOf(oneLine); }))
              << "  (target: under 1000 ms)\n";
    if (!found) std::cout << "  note: the section was not found\n";
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto made = MakeBenchFolder("quellin-loop");
    if (!made) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    char* args[] = {argv[0], nullptr};
    platform::Init(1, args);
    platform::SetEndAction([] {});

    std::cout << "\nTimers and the main loop: medians of " << runs << " runs (min-max)\n\n";
    std::cout << "  first tick, enabled again at 200 ms: " << Figure(Repeat(runs, TimerEnabledAgain))
              << "  (target: 395-420 ms, the count goes on)\n";
    std::cout << "  DoEvents, 1 ms timers always due:    " << Figure(Repeat(runs, DoEventsWithTimersAlwaysDue))
              << "  (target: under 500 ms)\n";
    std::cout << "  WaitWithoutHandlers given 50 ms:     " << Figure(Repeat(runs, WaitGivenUp))
              << "  (target: 45-100 ms)\n";
    BenchReadIni(*made / "program", runs);

    std::error_code ignored;
    fs::remove_all(*made, ignored);
    return 0;
}
