// Times procedures of the main window that run on every key, every page and every
// reading of the settings:
//
//  - Combo1_KeyUp, the address bar's inline completion, with 100,000 addresses in
//    the list (read from autocomplete.dat at start-up, as the program reads it);
//  - UpDateHistory, recording a finished page, when today's day page already holds
//    10,000 visits;
//  - LoadIni, reading filter.dat and autocomplete.dat of 100,000 lines in no order;
//  - Label3_MouseMove, opening the launch menu with 50,000 entries in launch.dat;
//  - the favourites sub-level of a hovered folder of 10,000 shortcuts opening.
//
// The program's windows run inside this process, in a program folder of its own,
// with browser doubles in place of the engine: what is timed is the program's own
// work. Each figure is the median of repeated runs.
//
//     micro_bench [RUNS]
#include <gdk/gdk.h>
#include <glib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench_figures.h"
#include "bench_folder.h"

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "browser_double.h"
#include "common/AutoComplete.h"
#include "common/Module2.h"
#include "memory_url_cache.h"
#include "menus/FrmFavMenu.h"
#include "menus/FrmMenu.h"
#include "menus/MenuState.h"
#include "platform/app.h"
#include "platform/combobox.h"
#include "platform/form.h"
#include "platform/listbox.h"
#include "platform/shell_folders.h"
#include "platform/url_cache.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t AddressCount = 100000;
constexpr std::size_t VisitCount = 10000;

using Clock = std::chrono::steady_clock;

double MicrosecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// "12.3 us (11.9-14.0)": the median of the runs and their spread.
std::string Figure(const std::vector<double>& runs, int decimals, const char* unit) {
    if (runs.empty()) return "n/a";
    const auto [low, high] = std::minmax_element(runs.begin(), runs.end());
    return Fixed(Median(runs), decimals) + " " + unit + " (" + Fixed(*low, decimals) + "-" + Fixed(*high, decimals) + ")";
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Distinct addresses of the kinds the address bar keeps: mostly web addresses with
// "http://", some with "https://", local files, and bare host names. The names are
// made up under the reserved .example domain; nothing is ever loaded.
std::vector<std::string> MakeAddresses(std::size_t count) {
    static const char* const syllables[] = {"ka", "lo", "mi", "ne", "ru", "sa", "to", "vi", "wen", "dor", "bel", "quin",
                                            "tar", "fo", "gu", "hal", "jo", "pex", "zu", "cra"};
    std::mt19937 random(20240601);
    const auto word = [&](int parts) {
        std::string text;
        for (int i = 0; i < parts; ++i) text += syllables[random() % std::size(syllables)];
        return text;
    };
    std::set<std::string> made;
    while (made.size() < count) {
        const std::string host = "www." + word(2 + static_cast<int>(random() % 3)) + ".example";
        const std::string path = "/" + word(2) + "/" + std::to_string(random() % 1000) + ".html";
        switch (random() % 10) {
            case 0: case 1: made.insert("https://" + host + path); break;
            case 2: made.insert("file:///home/user/" + word(3) + ".html"); break;
            case 3: made.insert(host); break;
            default: made.insert("http://" + host + path); break;
        }
    }
    std::vector<std::string> addresses(made.begin(), made.end());
    std::shuffle(addresses.begin(), addresses.end(), random);
    return addresses;
}

// The address bar's list as the program saves it: in the list's own order.
void WriteAddressList(const fs::path& folder, std::vector<std::string> addresses) {
    std::sort(addresses.begin(), addresses.end(), platform::ListLess);
    std::string text;
    for (const auto& address : addresses) text += address + "\r\n";
    WriteText(folder / "autocomplete.dat", text);
}

platform::BrowserDouble& BrowserOfTab(int index) {
    return static_cast<platform::BrowserDouble&>(frmMain->WebBrowser1(index).View());
}

// --- inline completion ----------------------------------------------------------

struct TypedText {
    std::string text;
    bool completes;
};

// What the user types: addresses of the list, half of them without their
// "http://", up to 30 characters; and texts that no address begins with.
std::vector<TypedText> TextsToType(const std::vector<std::string>& addresses) {
    std::vector<TypedText> texts;
    for (std::size_t i = 0; i < 20; ++i) {
        std::string text = addresses[(i * 4999 + 17) % addresses.size()];
        if (i % 2 == 0 && text.rfind("http://", 0) == 0) text.erase(0, 7);
        texts.push_back({text.substr(0, 30), true});
    }
    for (const char* text : {"zqxw.example/none", "www.zzzz", "http://nowhere.invalid/", "qqq", "file:///tmp/zz"})
        texts.push_back({text, false});
    return texts;
}

struct CompletionRun {
    double medianUs = 0;
    double slowestUs = 0;
    double searchMedianUs = 0;  // the look-up in the list alone
    int keys = 0;
    int completed = 0;
};

// Types each text one key at a time: the key's character replaces the selected,
// completed tail, and then the key comes up.
CompletionRun TypeAll(const std::vector<TypedText>& texts) {
    CompletionRun run;
    std::vector<double> times, searches;
    for (const auto& typed : texts) {
        for (std::size_t length = 1; length <= typed.text.size(); ++length) {
            const std::string sofar = typed.text.substr(0, length);
            frmMain->Combo1.SetText(sofar);
            const int keyCode = platform::KeyCodeOf(gdk_unicode_to_keyval(static_cast<unsigned char>(sofar.back())));
            const auto start = Clock::now();
            frmMain->Combo1_KeyUp(keyCode, 0);
            times.push_back(MicrosecondsSince(start));
            ++run.keys;
            if (frmMain->Combo1.Text() != sofar) ++run.completed;
            const auto searchStart = Clock::now();
            const auto found = AutoComplete::Complete(frmMain->Combo1.Items(), sofar);
            searches.push_back(MicrosecondsSince(searchStart));
            if (found && found->index >= frmMain->Combo1.Items().size()) std::cerr << "completion out of the list\n";
        }
    }
    run.medianUs = Median(times);
    run.slowestUs = *std::max_element(times.begin(), times.end());
    run.searchMedianUs = Median(searches);
    return run;
}

// --- recording visits -----------------------------------------------------------

std::string VisitEntry(const std::string& address, const std::string& title, int second) {
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", second / 3600 % 24, second / 60 % 60, second % 60);
    return "<font face=\"Arial\"><a href=\"" + address + "\" target=\"_top\">" + title + "</a> at " + clock +
           "</font><br>\r\n<font face=\"Arial\"><font size=\"1\">" + address + "</font><br>\r\n";
}

// Puts a fresh copy of the page in place in one step: a new file, as a new day's
// page or one that another program replaced would be.
void ReplaceFile(const fs::path& path, const std::string& text) {
    const fs::path temporary = path.string() + ".new";
    WriteText(temporary, text);
    fs::rename(temporary, path);
}

struct HistoryRun {
    double firstNewUs = 0;  // the first visit recorded since the page was put in place
    double nextNewUs = 0;   // a further new address
    double revisitUs = 0;   // an address the page already holds: nothing is written
};

double TimeRecording(const std::string& address, const std::string& title) {
    BrowserOfTab(0).Load(address, title);
    const auto start = Clock::now();
    frmMain->UpDateHistory(0);
    return MicrosecondsSince(start);
}

// Starts the program's windows in the folder, as the program starts: the splash
// window is the start object. Returns the time that took, in ms.
double StartProgram(const fs::path& folder, char* programName) {
    char* args[] = {programName, nullptr};
    platform::Init(1, args);
    platform::SetEndAction([] {});
    platform::SetAppPathForTesting(folder.string());
    platform::SetCommandForTesting("about:blank");
    platform::SetBrowserViewFactory([] { return std::make_unique<platform::BrowserDouble>(); });
    platform::SetUrlCache(std::make_unique<platform::MemoryUrlCache>());
    const auto start = Clock::now();
    frmSplash.Get();
    const double startupMs = MicrosecondsSince(start) / 1000.0;
    // The start-up's own page load ends with its poll, which records the first visit.
    if (!Pump([] { return !frmMain->Timer1(0).Enabled(); }, 5000)) std::cerr << "the first page never finished\n";
    return startupMs;
}

void BenchCompletion(const std::vector<std::string>& addresses, int runs, double startupMs) {
    std::cout << "Inline completion, Combo1_KeyUp, " << frmMain->Combo1.ListCount() << " addresses in Combo1\n";
    const auto texts = TextsToType(addresses);
    std::vector<double> medians, slowest, searches, reloads;
    CompletionRun last;
    for (int run = 0; run < runs; ++run) {
        last = TypeAll(texts);
        medians.push_back(last.medianUs);
        slowest.push_back(last.slowestUs);
        searches.push_back(last.searchMedianUs);
    }
    std::cout << "  per key:                      " << Figure(medians, 1, "us") << "\n";
    std::cout << "  slowest key of a run:         " << Figure(slowest, 1, "us") << "\n";
    std::cout << "  of a key, the list look-up:   " << Figure(searches, 1, "us")
              << "  (AutoComplete::Complete alone)\n";
    std::cout << "  (" << last.keys << " keys a run, " << last.completed << " of them completed the text)\n";
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        frmMain->LoadIni();
        reloads.push_back(MicrosecondsSince(start) / 1000.0);
    }
    std::cout << "  LoadIni (settings, skin and the list read again): " << Figure(reloads, 0, "ms") << "\n";
    std::cout << "  start-up of the windows with the list, once:      " << Fixed(startupMs, 0) << " ms\n";
}

// False when the program's day page did not hold what it was asked to record.
bool BenchHistory(const fs::path& folder, const std::vector<std::string>& addresses, int runs) {
    std::cout << "\nRecording a visit, UpDateHistory, today's page holding " << VisitCount << " visits\n";
    const fs::path history = folder / "history";
    fs::path dayPage;
    if (fs::is_directory(history))
        for (const auto& entry : fs::directory_iterator(history)) dayPage = entry.path();
    if (dayPage.empty()) {
        std::cout << "  n/a: the program wrote no day page for its first page\n";
        return false;
    }
    // Today's page as the program began it, with 10,000 visits added in its format.
    std::string page = ReadText(dayPage);
    for (std::size_t i = 0; i < VisitCount; ++i)
        page += VisitEntry(addresses[i], "Page " + std::to_string(i), static_cast<int>(i * 7));

    std::vector<double> firstNew, nextNew, revisit;
    bool recorded = true;
    for (int run = 0; run < runs; ++run) {
        ReplaceFile(dayPage, page);
        const std::string tag = std::to_string(run);
        const std::string first = "http://127.0.0.1/first-" + tag + ".html";
        const std::string next = "http://127.0.0.1/next-" + tag + ".html";
        firstNew.push_back(TimeRecording(first, "First " + tag));
        nextNew.push_back(TimeRecording(next, "Next " + tag));
        const auto sizeBefore = fs::file_size(dayPage);
        revisit.push_back(TimeRecording(addresses[VisitCount / 2], "Again"));
        const std::string written = ReadText(dayPage);
        recorded = recorded && written.find(first) != std::string::npos && written.find(next) != std::string::npos &&
                   fs::file_size(dayPage) == sizeBefore;
    }
    std::cout << "  first new address since the page was put in place: " << Figure(firstNew, 0, "us") << "\n";
    std::cout << "  a further new address:                             " << Figure(nextNew, 0, "us") << "\n";
    std::cout << "  an address the page already holds:                 " << Figure(revisit, 0, "us") << "\n";
    if (!recorded) std::cout << "  note: the day page did not hold what was recorded\n";
    return recorded;
}

// --- loading list files -----------------------------------------------------------

// LoadIni reads filter.dat into lstFilter and autocomplete.dat into Combo1, both sorted
// lists, whatever order the files have. Times LoadIni with each file holding 100,000
// lines in no order, beside LoadIni with both files empty.
void BenchListFiles(const fs::path& folder, std::vector<std::string> lines, int runs) {
    std::cout << "\nLoading list files in no order, LoadIni, " << lines.size() << " lines\n";
    std::mt19937 random(7);
    std::shuffle(lines.begin(), lines.end(), random);
    std::string unsorted;
    for (const auto& line : lines) unsorted += line + "\r\n";
    const auto timeLoadIni = [&](const std::string& filter, const std::string& addresses) {
        WriteText(folder / "filter.dat", filter);
        WriteText(folder / "autocomplete.dat", addresses);
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            const auto start = Clock::now();
            frmMain->LoadIni();
            times.push_back(MicrosecondsSince(start) / 1000.0);
        }
        return times;
    };
    const auto empty = timeLoadIni("", "");
    const auto filter = timeLoadIni(unsorted, "");
    const auto addresses = timeLoadIni("", unsorted);
    const bool loaded = frmMain->Combo1.ListCount() == static_cast<int>(lines.size());
    std::cout << "  both files empty:                  " << Figure(empty, 0, "ms") << "\n";
    std::cout << "  filter.dat with the lines:         " << Figure(filter, 0, "ms")
              << "  (target: under 500 ms beyond the empty files)\n";
    std::cout << "  autocomplete.dat with the lines:   " << Figure(addresses, 0, "ms")
              << "  (target: under 500 ms beyond the empty files)\n";
    if (!loaded) std::cout << "  note: the address list did not hold every line\n";
}

// --- the launch menu --------------------------------------------------------------

// Hovering the launch title in menu mode reads launch.dat and drops the menu down.
// Times that with a few entries and with 50,000, which once took minutes.
void BenchLaunchMenu(const fs::path& folder, int runs) {
    std::cout << "\nOpening the launch menu, Label3_MouseMove: launch.dat read and the menu shown\n";
    const auto timeOpening = [&](int entries) {
        std::string launch;
        for (int k = 0; k < entries; ++k) launch += "Entry " + std::to_string(k) + "\r\nnever-run\r\n";
        WriteText(folder / "launch.dat", launch);
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            MenuMode = 1;
            CurrentMenu = "";
            const auto start = Clock::now();
            frmMain->Label3_MouseMove();
            times.push_back(MicrosecondsSince(start) / 1000.0);
            frmMenu.Unload();
        }
        return times;
    };
    const auto few = timeOpening(50);
    const auto many = timeOpening(50000);
    std::cout << "  50 entries:       " << Figure(few, 0, "ms") << "\n";
    std::cout << "  50,000 entries:   " << Figure(many, 0, "ms") << "  (target: under 1 s)\n";
    fs::remove(folder / "launch.dat");
}

// --- the favourites menu -----------------------------------------------------------

// The open favourites level of that folder, or nothing.
FrmFavMenu* FavouritesLevel(const std::string& path) {
    for (auto* form : platform::LoadedForms())
        if (auto* level = dynamic_cast<FrmFavMenu*>(form); level && level->Source == path) return level;
    return nullptr;
}

// A folder row of the top level hovered long enough opens its sub-level: Timer2 fires
// and the level is built and shown. Times that for a folder of a few shortcuts and for
// folders of 2,000 and 10,000, which once froze the window for seconds; the time runs
// until the level's window is first drawn.
void BenchFavouritesLevel(int runs) {
    std::cout << "\nOpening a favourites level, Timer2_Timer of a hovered folder row: the level built and shown\n";
    const std::string favorites = Module2::FindSystemFolder(platform::CSIDL_FAVORITES);
    // The main window's first activation clears the hover path: let it pass before a level opens.
    Pump([] { return frmMain->Window().property_is_active().get_value(); }, 2000);
    const auto timeOpening = [&](int shortcuts) {
        const std::string folder = favorites + "/Shortcuts";
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (int k = 0; k < shortcuts; ++k)
            WriteText(fs::path(folder) / ("Shortcut " + std::to_string(k) + ".url"),
                      "[InternetShortcut]\r\nURL=http://127.0.0.1/" + std::to_string(k) + "\r\n");
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            MenuMode = 1;
            frmMain->labFavs_MouseMove();
            auto& top = frmFavMenu.Get();
            top.labFolder_MouseMove(0);
            const auto start = Clock::now();
            top.Timer2_Timer();
            FrmFavMenu* level = FavouritesLevel(folder);
            bool drawn = false;
            sigc::connection draw;
            if (level)
                draw = level->Window().signal_draw().connect(
                    [&](const Cairo::RefPtr<Cairo::Context>&) {
                        drawn = true;
                        return false;
                    },
                    true);
            if (!level || !Pump([&] { return drawn; }, 60000)) std::cerr << "the level never showed\n";
            times.push_back(MicrosecondsSince(start) / 1000.0);
            draw.disconnect();
            FavMenuHoverPath = "";
            Pump([] { return !frmFavMenu.Loaded(); }, 5000);
        }
        fs::remove_all(folder);
        return times;
    };
    const auto few = timeOpening(50);
    const auto some = timeOpening(2000);
    const auto many = timeOpening(10000);
    std::cout << "  50 shortcuts:       " << Figure(few, 0, "ms") << "\n";
    std::cout << "  2,000 shortcuts:    " << Figure(some, 0, "ms") << "\n";
    std::cout << "  10,000 shortcuts:   " << Figure(many, 0, "ms") << "  (target: under 250 ms)\n";
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const auto made = MakeBenchFolder("quellin-micro");
    if (!made) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    const fs::path root = *made;
    const fs::path folder = root / "program";
    fs::copy_file(fs::path(QUELLIN_SUPPLIED_DATA) / "History.dat", folder / "History.dat");
    const auto addresses = MakeAddresses(AddressCount);
    WriteAddressList(folder, addresses);

    const double startupMs = StartProgram(folder, argv[0]);
    std::cout << "\nMicro benchmarks: medians of " << runs << " runs (min-max)\n\n";
    BenchCompletion(addresses, runs, startupMs);
    const bool recorded = BenchHistory(folder, addresses, runs);
    BenchListFiles(folder, addresses, runs);
    BenchLaunchMenu(folder, runs);
    BenchFavouritesLevel(runs);

    std::error_code ignored;
    fs::remove_all(root, ignored);
    return recorded ? 0 : 1;
}
