// Start-up time and memory of the browser, set beside the floor that the engine
// itself sets (minimal_webkit: a window with nothing but WebKit views, either the
// pages of a notebook, one shown at a time, or stacked and all shown, the way the
// browser places the views of its tabs).
//
//     startup_memory_bench --program BUILD/quellin --supplied SOURCE/data --minimal BUILD/bench/minimal_webkit
//                          [--runs N] [--settle-ms MS] [--idle-s S] [--budget-s S] [--many-tabs N]
//
// Both programs load one small page from a server of this process on 127.0.0.1.
// The page's load event sends a beacon back to the server; the time from starting
// the program to the first beacon is the start-up time. Memory is the proportional
// set size (PSS), and beside it the private memory, summed over the program and
// every process it started (the WebKit web and network processes), read once the
// pages have loaded and settled. At rest on the loaded page, the CPU time and the
// wake-ups (context switches) of the program's main process are counted over a
// while (30 s unless given). Each figure is the median of several runs; in every
// run the programs take turns in an order that rotates from run to run, each
// started only once the one before it and all its processes have ended. No run
// starts that would end beyond the time budget (900 s unless given). Run it
// inside a session bus (dbus-run-session), as a desktop starts programs.
//
// Once the runs are done, one more start of the browser opens tabs one after
// another up to a ceiling (500 unless given; 0 leaves it out): how many tabs one
// instance holds, and its memory at 10, 100 and 300 tabs.
//
// The browser runs in a copy of its program folder, with a browser.ini of its own
// whose default page is the benchmark page, so the developer's settings stay as
// they are. New tabs are opened by clicking the toolbar's New Tab button with
// xdotool, one at a time, each waited for until its page has loaded.
#include <gio/gio.h>
#include <glib.h>
#include <libsoup/soup.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

gint64 NowUs() { return g_get_monotonic_time(); }

// Runs the main loop until done() or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const gint64 deadline = NowUs() + gint64(timeoutMs) * 1000;
    while (!done()) {
        if (NowUs() > deadline) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
    return true;
}

void PumpFor(int ms) { PumpUntil([] { return false; }, ms); }

// --- the page and its beacon -------------------------------------------------

constexpr const char* PagePath = "/page.html";
constexpr const char* BeaconPath = "/loaded";

// A small page of text; its load event reports back to the server.
constexpr const char* PageHtml = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Benchmark page</title>
<style>body{font-family:sans-serif;margin:2em;max-width:40em}h1{color:#345}</style></head>
<body><h1>Benchmark page</h1>
<p>A short page of plain text, served from 127.0.0.1, so that what is measured is the
browser and its engine rather than the network.</p>
<ul><li>one</li><li>two</li><li>three</li></ul>
<script>addEventListener("load", () => fetch("/loaded?" + Math.random(), {cache: "no-store"}));</script>
</body></html>
)";

// An HTTP server on 127.0.0.1 that serves the page and notes when each beacon came.
class BeaconServer {
public:
    BeaconServer() {
        server_ = soup_server_new(nullptr, nullptr);
        soup_server_add_handler(server_, nullptr, &BeaconServer::Handle, this, nullptr);
        GError* error = nullptr;
        if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
            const std::string message = error->message;
            g_error_free(error);
            throw std::runtime_error("cannot listen on 127.0.0.1: " + message);
        }
        GSList* uris = soup_server_get_uris(server_);
        port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
        g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    }
    ~BeaconServer() {
        soup_server_disconnect(server_);
        g_object_unref(server_);
    }
    BeaconServer(const BeaconServer&) = delete;
    BeaconServer& operator=(const BeaconServer&) = delete;

    std::string PageUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + PagePath; }
    void Reset() { beacons_.clear(); }
    std::size_t Beacons() const { return beacons_.size(); }
    gint64 BeaconTime(std::size_t i) const { return beacons_.at(i); }

private:
    static void Handle(SoupServer*, SoupServerMessage* msg, const char* path, GHashTable*, gpointer data) {
        auto* self = static_cast<BeaconServer*>(data);
        soup_message_headers_append(soup_server_message_get_response_headers(msg), "Cache-Control", "no-store");
        const std::string requested = path;
        if (requested == BeaconPath) {
            self->beacons_.push_back(NowUs());
            soup_server_message_set_status(msg, 204, nullptr);
        } else if (requested == PagePath) {
            soup_server_message_set_response(msg, "text/html; charset=utf-8", SOUP_MEMORY_STATIC, PageHtml,
                                             std::char_traits<char>::length(PageHtml));
            soup_server_message_set_status(msg, 200, nullptr);
        } else {
            soup_server_message_set_status(msg, 404, nullptr);
        }
    }

    SoupServer* server_ = nullptr;
    int port_ = 0;
    std::vector<gint64> beacons_;
};

// --- processes -------------------------------------------------------------------

// A process as /proc shows it: its id and its start time, which together name it
// even after the id has been given to another process.
struct ProcessId {
    pid_t pid;
    unsigned long long startTime;
};

// The text of a file under /proc; "" when it cannot be read, as when its process
// ended while it was read.
std::string ReadProcFile(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) return "";
    std::string text(contents, length);
    g_free(contents);
    return text;
}

// Parent id and start time from /proc/<pid>/stat; nothing when the process is gone.
std::optional<std::pair<pid_t, unsigned long long>> ReadStat(pid_t pid) {
    const std::string text = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
    // The command name is in parentheses and may hold blanks: fields count from after it.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    pid_t parent = 0;
    unsigned long long start = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 4) parent = static_cast<pid_t>(std::stol(field));
        if (i == 22) {
            start = std::stoull(field);
            return std::make_pair(parent, start);
        }
    }
    return std::nullopt;
}

// The process and all its descendants.
std::vector<ProcessId> ProcessTree(pid_t root) {
    std::multimap<pid_t, ProcessId> children;
    std::optional<ProcessId> rootId;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return g_ascii_isdigit(c); })) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        const auto stat = ReadStat(pid);
        if (!stat) continue;
        children.emplace(stat->first, ProcessId{pid, stat->second});
        if (pid == root) rootId = ProcessId{pid, stat->second};
    }
    std::vector<ProcessId> tree;
    if (!rootId) return tree;
    tree.push_back(*rootId);
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const auto [first, last] = children.equal_range(tree[i].pid);
        for (auto it = first; it != last; ++it) tree.push_back(it->second);
    }
    return tree;
}

bool StillRunning(const ProcessId& process) {
    const auto stat = ReadStat(process.pid);
    return stat && stat->second == process.startTime;
}

// Memory of one process from /proc/<pid>/smaps_rollup, in kB: its proportional
// set size (shared pages split among the processes that map them) and its private
// pages. Zero when it is gone.
struct ProcessMemory {
    long pssKb = 0;
    long privateKb = 0;
};

ProcessMemory MemoryOf(pid_t pid) {
    ProcessMemory memory;
    std::istringstream lines(ReadProcFile("/proc/" + std::to_string(pid) + "/smaps_rollup"));
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = line.substr(0, colon);
        const long kb = std::atol(line.c_str() + colon + 1);
        if (key == "Pss") memory.pssKb = kb;
        if (key == "Private_Clean" || key == "Private_Dirty") memory.privateKb += kb;
    }
    return memory;
}

// CPU time (user and system, in clock ticks) and wake-ups (voluntary and
// involuntary context switches) of one process so far.
struct ProcessActivity {
    long long cpuTicks = 0;
    long long wakeUps = 0;
};

ProcessActivity ActivityOf(pid_t pid) {
    ProcessActivity activity;
    const std::string stat = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    if (close != std::string::npos) {
        std::istringstream fields(stat.substr(close + 2));
        std::string field;
        for (int i = 3; fields >> field && i <= 15; ++i)
            if (i == 14 || i == 15) activity.cpuTicks += std::stoll(field);
    }
    std::istringstream lines(ReadProcFile("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
            activity.wakeUps += std::atoll(line.c_str() + line.find(':') + 1);
    return activity;
}

struct TreeMemory {
    double pssMb = 0;
    double privateMb = 0;
    std::size_t processes = 0;
};

TreeMemory MemoryOfTree(pid_t root) {
    TreeMemory tree;
    long pssKb = 0, privateKb = 0;
    for (const auto& process : ProcessTree(root)) {
        const ProcessMemory memory = MemoryOf(process.pid);
        pssKb += memory.pssKb;
        privateKb += memory.privateKb;
        ++tree.processes;
    }
    tree.pssMb = pssKb / 1024.0;
    tree.privateMb = privateKb / 1024.0;
    return tree;
}

// A program started by the benchmark, with its output in a log file. Stopping it
// ends the program and then every process it started that outlives it.
class Program {
public:
    Program(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
            const fs::path& log) {
        GSubprocessLauncher* launcher = g_subprocess_launcher_new(G_SUBPROCESS_FLAGS_NONE);
        for (const auto& [name, value] : environment) g_subprocess_launcher_setenv(launcher, name.c_str(), value.c_str(), TRUE);
        g_subprocess_launcher_set_stdout_file_path(launcher, log.c_str());
        g_subprocess_launcher_set_flags(launcher, G_SUBPROCESS_FLAGS_STDERR_MERGE);
        std::vector<const char*> args;
        for (const auto& arg : argv) args.push_back(arg.c_str());
        args.push_back(nullptr);
        GError* error = nullptr;
        process_ = g_subprocess_launcher_spawnv(launcher, args.data(), &error);
        g_object_unref(launcher);
        if (!process_) {
            const std::string message = error->message;
            g_error_free(error);
            throw std::runtime_error("cannot start " + argv.front() + ": " + message);
        }
        pid_ = static_cast<pid_t>(std::stol(g_subprocess_get_identifier(process_)));
        // The flag outlives this object, should the process never end.
        g_subprocess_wait_async(
            process_, nullptr,
            [](GObject*, GAsyncResult*, gpointer flag) {
                auto* exited = static_cast<std::shared_ptr<bool>*>(flag);
                **exited = true;
                delete exited;
            },
            new std::shared_ptr<bool>(exited_));
    }
    ~Program() { Stop(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t Pid() const { return pid_; }
    bool Exited() const { return *exited_; }

    void Stop() {
        if (!process_) return;
        // The processes the program started, without the program itself.
        auto started = Exited() ? std::vector<ProcessId>{} : ProcessTree(pid_);
        if (!started.empty()) started.erase(started.begin());
        if (!Exited()) {
            g_subprocess_send_signal(process_, SIGTERM);
            if (!PumpUntil([this] { return Exited(); }, 5000)) g_subprocess_force_exit(process_);
            PumpUntil([this] { return Exited(); }, 5000);
        }
        // The engine's processes would end by themselves a little later; they are
        // ended now, so that they take nothing from the next run.
        for (const auto& process : started)
            if (StillRunning(process)) kill(process.pid, SIGKILL);
        PumpUntil([&] { return std::none_of(started.begin(), started.end(), StillRunning); }, 3000);
        g_object_unref(process_);
        process_ = nullptr;
    }

private:
    GSubprocess* process_ = nullptr;
    pid_t pid_ = 0;
    std::shared_ptr<bool> exited_ = std::make_shared<bool>(false);
};

// Runs a short command and returns its output; nothing when it failed.
std::optional<std::string> Output(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    gchar* out = nullptr;
    gint status = 0;
    if (!g_spawn_sync(nullptr, args.data(), nullptr, static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL), nullptr, nullptr,
                      &out, nullptr, &status, nullptr))
        return std::nullopt;
    std::string text = out ? out : "";
    g_free(out);
    if (!g_spawn_check_wait_status(status, nullptr)) return std::nullopt;
    return text;
}

// --- the browser's window ----------------------------------------------------------

struct Geometry {
    std::string window;
    long x = 0, y = 0, width = 0, height = 0;
};

std::optional<Geometry> GeometryOf(const std::string& window) {
    const auto text = Output({"xdotool", "getwindowgeometry", "--shell", window});
    if (!text) return std::nullopt;
    Geometry geometry{window};
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const long value = std::atol(line.c_str() + equals + 1);
        if (key == "X") geometry.x = value;
        if (key == "Y") geometry.y = value;
        if (key == "WIDTH") geometry.width = value;
        if (key == "HEIGHT") geometry.height = value;
    }
    return geometry;
}

// The main window: the largest visible window of the process that lies on the
// screen (the taskbar carrier window lies far off it).
std::optional<Geometry> MainWindow(pid_t pid) {
    const auto text = Output({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid), "--name", "."});
    if (!text) return std::nullopt;
    std::optional<Geometry> best;
    std::istringstream ids(*text);
    for (std::string id; std::getline(ids, id);) {
        const auto geometry = GeometryOf(id);
        if (!geometry || geometry->x < 0 || geometry->y < 0 || geometry->x > 8000 || geometry->y > 8000) continue;
        if (!best || geometry->width * geometry->height > best->width * best->height) best = geometry;
    }
    return best;
}

// The toolbar's New Tab button, in pixels inside the main window: the toolbar lies
// at (80, 660) twips, the button at (2100, 15) inside it, 495 twips square, and a
// pixel is 15 twips. The click goes to its middle.
constexpr int NewTabX = (80 + 2100 + 495 / 2) / 15;
constexpr int NewTabY = (660 + 15 + 495 / 2) / 15;

bool ClickNewTab(const Geometry& window) {
    return Output({"xdotool", "mousemove", "--window", window.window, std::to_string(NewTabX), std::to_string(NewTabY),
                   "click", "1"})
        .has_value();
}

// --- figures ---------------------------------------------------------------------

struct Samples {
    std::vector<double> values;

    void Add(double value) { values.push_back(value); }
    bool Empty() const { return values.empty(); }
    double Median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Min() const { return *std::min_element(values.begin(), values.end()); }
    double Max() const { return *std::max_element(values.begin(), values.end()); }
};

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// "412 ms (398-440)": the median and the spread of the runs; "n/a" when no run
// gave a figure.
std::string Figure(const Samples& samples, int decimals, const char* unit) {
    if (samples.Empty()) return "n/a";
    return Fixed(samples.Median(), decimals) + " " + unit + " (" + Fixed(samples.Min(), decimals) + "-" +
           Fixed(samples.Max(), decimals) + ")";
}

struct MemoryFigures {
    Samples pssMb;
    Samples privateMb;
    std::size_t processes = 0;

    void Add(const TreeMemory& memory) {
        pssMb.Add(memory.pssMb);
        privateMb.Add(memory.privateMb);
        processes = memory.processes;
    }
};

// What one extra view adds, from the medians with one and with ten views.
std::optional<double> PerExtraView(const Samples& one, const Samples& ten, int views) {
    if (one.Empty() || ten.Empty()) return std::nullopt;
    return (ten.Median() - one.Median()) / (views - 1);
}

// CPU time in ms and wake-ups of a main process at rest, per run.
struct IdleFigures {
    Samples cpuMs;
    Samples wakeUps;
};

struct Figures {
    Samples quellinStartupMs;
    Samples minimalStartupMs;
    MemoryFigures quellinOneTab;
    MemoryFigures quellinTenTabs;
    MemoryFigures minimalOneView;
    MemoryFigures minimalTenInNotebook;
    MemoryFigures minimalTenStacked;
    MemoryFigures minimalTenInTurn;
    IdleFigures quellinIdle;
    IdleFigures minimalIdle;
    // The many-tabs run: memory at 1 tab and at each measured count, the tabs
    // held and why the run stopped.
    std::optional<TreeMemory> manyTabsOne;
    std::map<int, TreeMemory> manyTabsAt;
    int tabsHeld = 0;
    std::string manyTabsEnd;
};

double LoadAverage() { return std::atof(ReadProcFile("/proc/loadavg").c_str()); }

// --- the benchmark -----------------------------------------------------------------

struct Options {
    fs::path program;
    fs::path supplied;
    fs::path minimal;
    int runs = 5;
    int settleMs = 1500;
    int idleS = 30;
    int budgetS = 900;
    int manyTabs = 500;
};

// The numbers of tabs at which the many-tabs run reads the memory, and the number
// that one instance must hold.
constexpr int ManyTabsMeasured[] = {10, 100, 300};
constexpr int TabsToHold = 300;

constexpr int ViewsOpened = 10;

class Benchmark {
public:
    Benchmark(Options options, fs::path root) : options_(std::move(options)), root_(std::move(root)) {
        programFolder_ = root_ / "program";
        CopyProgramFolder();
        std::ofstream(programFolder_ / "browser.ini", std::ios::binary)
            << "[Default]\r\n" << server_.PageUrl() << "\r\n\r\n";
    }

    // Whether a run failed: its logs stay for a look.
    bool KeepRoot() const { return keepRoot_; }

    void Run() {
        const gint64 deadline = started_ + gint64(options_.budgetS) * 1000 * 1000;
        loadAtStart_ = LoadAverage();
        // The first start of each program fills the disk cache and the user folders.
        Progress("warming up (not counted)");
        MeasureQuellin(nullptr);
        MeasureMinimal(1, "notebook", nullptr);
        // The programs take turns, so that a busy spell of the machine falls on all
        // of them, and the order rotates, so that none always follows the same one.
        const std::vector<std::function<void()>> measurements{
            [this] { MeasureQuellin(&figures_); },
            [this] { MeasureMinimal(1, "notebook", &figures_); },
            [this] { MeasureMinimal(ViewsOpened, "notebook", &figures_); },
            [this] { MeasureMinimal(ViewsOpened, "stacked", &figures_); },
            [this] { MeasureMinimal(ViewsOpened, "in-turn", &figures_); },
        };
        gint64 longestRunUs = 0;
        for (int run = 1; run <= options_.runs; ++run) {
            // A run starts only when it can end within the budget, judged by the runs so far.
            if (run > 1 && NowUs() + longestRunUs > deadline) {
                Progress("the time budget is spent after " + std::to_string(run - 1) + " runs");
                break;
            }
            Progress("run " + std::to_string(run) + " of " + std::to_string(options_.runs));
            const gint64 runStart = NowUs();
            for (std::size_t i = 0; i < measurements.size(); ++i)
                measurements[(i + static_cast<std::size_t>(run)) % measurements.size()]();
            longestRunUs = std::max(longestRunUs, NowUs() - runStart);
        }
        if (options_.manyTabs > 0) {
            Progress("many tabs: up to " + std::to_string(options_.manyTabs));
            MeasureManyTabs();
        }
        Print();
    }

private:
    void Progress(const std::string& what) const {
        std::cerr << Fixed((NowUs() - started_) / 1e6, 0) << " s: " << what << "\n";
    }

    void CopyProgramFolder() {
        fs::create_directories(programFolder_);
        const fs::path build = options_.program.parent_path();
        fs::copy_file(options_.program, programFolder_ / options_.program.filename());
        // The files supplied with the program, as the build placed them next to it.
        for (const auto& entry : fs::recursive_directory_iterator(options_.supplied)) {
            if (!entry.is_regular_file()) continue;
            const fs::path relative = fs::relative(entry.path(), options_.supplied);
            fs::create_directories((programFolder_ / relative).parent_path());
            fs::copy_file(build / relative, programFolder_ / relative);
        }
        if (fs::is_directory(build / "skins"))
            fs::copy(build / "skins", programFolder_ / "skins", fs::copy_options::recursive);
    }

    // Each program keeps its own user folders for the whole benchmark, so that
    // after the warm-up both start as they do on a user's machine. Both use X
    // directly, where xdotool reaches their windows, and never a proxy.
    std::map<std::string, std::string> EnvironmentFor(const std::string& name) const {
        const fs::path folders = root_ / ("xdg-" + name);
        std::map<std::string, std::string> environment{{"GDK_BACKEND", "x11"}, {"no_proxy", "127.0.0.1"}};
        for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
            const fs::path folder = folders / variable;
            fs::create_directories(folder);
            environment[variable] = folder.string();
        }
        return environment;
    }

    // CPU time and wake-ups of the program's main process over the idle window.
    void MeasureIdle(const Program& program, IdleFigures& figures) {
        const ProcessActivity before = ActivityOf(program.Pid());
        PumpFor(options_.idleS * 1000);
        const ProcessActivity after = ActivityOf(program.Pid());
        if (program.Exited()) return;
        figures.cpuMs.Add((after.cpuTicks - before.cpuTicks) * 1000.0 / sysconf(_SC_CLK_TCK));
        figures.wakeUps.Add(static_cast<double>(after.wakeUps - before.wakeUps));
    }

    bool WaitForBeacons(std::size_t count, int timeoutMs, const Program& program) {
        return PumpUntil([&] { return server_.Beacons() >= count || program.Exited(); }, timeoutMs) &&
               server_.Beacons() >= count;
    }

    // Starts the browser on the page, then opens nine more tabs with New Tab. A
    // warm-up run (no figures) ends once the first page has loaded.
    void MeasureQuellin(Figures* figures) {
        server_.Reset();
        const gint64 start = NowUs();
        Program program({(programFolder_ / options_.program.filename()).string(), server_.PageUrl()},
                        EnvironmentFor("quellin"), root_ / "quellin.log");
        if (!WaitForBeacons(1, 30000, program)) return Fail("quellin: the first page did not load within 30 s");
        const double startupMs = (server_.BeaconTime(0) - start) / 1000.0;
        if (!figures) return;
        PumpFor(options_.settleMs);
        const TreeMemory one = MemoryOfTree(program.Pid());
        MeasureIdle(program, figures->quellinIdle);

        std::optional<Geometry> window;
        PumpUntil([&] { return (window = MainWindow(program.Pid())).has_value(); }, 5000);
        if (!window) return Fail("quellin: its main window was not found");
        for (std::size_t tabs = 2; tabs <= ViewsOpened; ++tabs) {
            if (!ClickNewTab(*window)) return Fail("quellin: xdotool could not click New Tab");
            if (!WaitForBeacons(tabs, 15000, program))
                return Fail("quellin: tab " + std::to_string(tabs) + " did not load its page within 15 s");
        }
        PumpFor(options_.settleMs);
        const TreeMemory ten = MemoryOfTree(program.Pid());
        if (server_.Beacons() != ViewsOpened)
            return Fail("quellin: " + std::to_string(server_.Beacons()) + " pages loaded in 10 tabs");
        figures->quellinStartupMs.Add(startupMs);
        figures->quellinOneTab.Add(one);
        figures->quellinTenTabs.Add(ten);
    }

    void MeasureManyTabs() {
        server_.Reset();
        Program program({(programFolder_ / options_.program.filename()).string(), server_.PageUrl()},
                        EnvironmentFor("quellin"), root_ / "quellin-many-tabs.log");
        if (!WaitForBeacons(1, 30000, program)) return Fail("quellin: the first page did not load within 30 s");
        PumpFor(options_.settleMs);
        figures_.manyTabsOne = MemoryOfTree(program.Pid());
        std::optional<Geometry> window;
        PumpUntil([&] { return (window = MainWindow(program.Pid())).has_value(); }, 5000);
        if (!window) return Fail("quellin: its main window was not found");
        figures_.tabsHeld = 1;
        for (int tabs = 2; tabs <= options_.manyTabs; ++tabs) {
            if (!ClickNewTab(*window)) return Fail("quellin: xdotool could not click New Tab");
            if (!WaitForBeacons(static_cast<std::size_t>(tabs), 15000, program)) {
                figures_.manyTabsEnd = program.Exited() ? "the program ended at tab " + std::to_string(tabs)
                                                        : "tab " + std::to_string(tabs) + " did not load within 15 s";
                return;
            }
            figures_.tabsHeld = tabs;
            if (std::ranges::count(ManyTabsMeasured, tabs)) {
                PumpFor(options_.settleMs);
                figures_.manyTabsAt[tabs] = MemoryOfTree(program.Pid());
            }
        }
        figures_.manyTabsEnd = "the ceiling of the run";
    }

    void MeasureMinimal(int views, const std::string& layout, Figures* figures) {
        server_.Reset();
        const gint64 start = NowUs();
        Program program({options_.minimal.string(), server_.PageUrl(), std::to_string(views), layout},
                        EnvironmentFor("minimal"), root_ / "minimal.log");
        if (!WaitForBeacons(static_cast<std::size_t>(views), 30000, program))
            return Fail("minimal_webkit: " + std::to_string(views) + " views did not load within 30 s");
        const double startupMs = (server_.BeaconTime(0) - start) / 1000.0;
        if (!figures) return;
        PumpFor(options_.settleMs);
        const TreeMemory memory = MemoryOfTree(program.Pid());
        if (views == 1) {
            figures->minimalStartupMs.Add(startupMs);
            figures->minimalOneView.Add(memory);
            MeasureIdle(program, figures->minimalIdle);
        } else if (layout == "notebook") {
            figures->minimalTenInNotebook.Add(memory);
        } else if (layout == "stacked") {
            figures->minimalTenStacked.Add(memory);
        } else {
            figures->minimalTenInTurn.Add(memory);
        }
    }

    void Fail(const std::string& why) {
        ++failures_;
        Progress("run left out: " + why + " (logs in " + root_.string() + ")");
        keepRoot_ = true;
    }

    static void PrintIdleRow(const std::string& name, const IdleFigures& idle) {
        std::cout << "  " << Padded(name, 40) << Padded(Figure(idle.cpuMs, 0, "ms"), 26) << Figure(idle.wakeUps, 0, "")
                  << "\n";
    }

    static std::string Ratio(const Samples& ours, const Samples& floor) {
        return floor.Median() > 0 ? Fixed(ours.Median() / floor.Median(), 2) : "n/a";
    }

    static void PrintMemoryRow(const std::string& name, const MemoryFigures& memory) {
        std::cout << "  " << Padded(name, 40) << Padded(Figure(memory.pssMb, 1, "MB"), 26)
                  << Padded(Figure(memory.privateMb, 1, "MB"), 26) << memory.processes << "\n";
    }

    // One extra tab or view: what ten cost beyond one, divided by nine.
    static void PrintPerExtraView(const std::string& name, const MemoryFigures& one, const MemoryFigures& ten) {
        const auto pss = PerExtraView(one.pssMb, ten.pssMb, ViewsOpened);
        const auto privateMb = PerExtraView(one.privateMb, ten.privateMb, ViewsOpened);
        if (!pss || !privateMb) return;
        std::cout << "  " << Padded(name, 40) << Padded(Fixed(*pss, 1) + " MB", 26) << Fixed(*privateMb, 1) << " MB\n";
    }

    // The browser's extra tab set beside the engine's extra view.
    void PrintPerExtraRatio(const std::string& name, const MemoryFigures& engineTen) const {
        const auto& one = figures_.quellinOneTab;
        const auto& ten = figures_.quellinTenTabs;
        const auto& engineOne = figures_.minimalOneView;
        const auto pss = PerExtraView(one.pssMb, ten.pssMb, ViewsOpened);
        const auto privateMb = PerExtraView(one.privateMb, ten.privateMb, ViewsOpened);
        const auto enginePss = PerExtraView(engineOne.pssMb, engineTen.pssMb, ViewsOpened);
        const auto enginePrivate = PerExtraView(engineOne.privateMb, engineTen.privateMb, ViewsOpened);
        if (!pss || !privateMb || !enginePss || !enginePrivate) return;
        std::cout << "  " << Padded(name, 40) << Padded(Fixed(*pss / *enginePss, 2), 26)
                  << Fixed(*privateMb / *enginePrivate, 2) << "\n";
    }

    // Memory per tab at each count, set beside what one more view of the engine
    // alone costs (views opened in turn, as tabs are).
    void PrintManyTabs() const {
        if (!figures_.manyTabsOne) return;
        std::cout << "\nMany tabs, opened one after another with New Tab (one run)\n";
        std::cout << "  " << Padded("tabs held", 40) << figures_.tabsHeld << ", up to " << figures_.manyTabsEnd
                  << " (target at least " << TabsToHold << " with the program running: "
                  << (figures_.tabsHeld >= TabsToHold ? "met" : "missed") << ")\n";
        const auto enginePerView =
            PerExtraView(figures_.minimalOneView.pssMb, figures_.minimalTenInTurn.pssMb, ViewsOpened);
        std::cout << "  " << Padded("", 40) << Padded("PSS", 26) << Padded("per tab beyond 1", 26) << "processes\n";
        for (const auto& [tabs, memory] : figures_.manyTabsAt) {
            const double perTab = (memory.pssMb - figures_.manyTabsOne->pssMb) / (tabs - 1);
            std::string target = "n/a";
            if (enginePerView)
                target = "target at most " + Fixed(*enginePerView, 1) + " MB, the engine's extra view: " +
                         (perTab <= *enginePerView ? "met" : "missed");
            std::cout << "  " << Padded("quellin, " + std::to_string(tabs) + " tabs", 40)
                      << Padded(Fixed(memory.pssMb, 1) + " MB", 26) << Padded(Fixed(perTab, 2) + " MB", 26)
                      << Padded(std::to_string(memory.processes), 11) << target << "\n";
        }
    }

    void Print() const {
        const std::size_t runs = figures_.quellinStartupMs.values.size();
        std::cout << "\nStart-up and memory: medians of " << runs << " runs (min-max) on this machine, "
                  << g_get_num_processors() << " CPUs, load average " << Fixed(loadAtStart_, 1) << " at the start and "
                  << Fixed(LoadAverage(), 1) << " at the end\n";
        std::cout << "Page: " << server_.PageUrl() << "\n\n";

        std::cout << "Start-up to the first finished page (the page's load event reaches the server)\n";
        std::cout << "  " << Padded("quellin", 40) << Figure(figures_.quellinStartupMs, 0, "ms") << "\n";
        std::cout << "  " << Padded("minimal_webkit (the floor)", 40) << Figure(figures_.minimalStartupMs, 0, "ms")
                  << "\n";
        if (!figures_.quellinStartupMs.Empty() && !figures_.minimalStartupMs.Empty()) {
            const double ratio = figures_.quellinStartupMs.Median() / figures_.minimalStartupMs.Median();
            std::cout << "  " << Padded("quellin / floor", 40) << Fixed(ratio, 2) << " (target at most 1.05: "
                      << (ratio <= 1.05 ? "met" : "missed") << ")\n";
        }

        std::cout << "\nMemory of the whole process tree\n";
        std::cout << "  " << Padded("", 40) << Padded("PSS", 26) << Padded("private", 26) << "processes\n";
        PrintMemoryRow("quellin, 1 tab", figures_.quellinOneTab);
        PrintMemoryRow("quellin, 10 tabs", figures_.quellinTenTabs);
        PrintMemoryRow("minimal_webkit, 1 view", figures_.minimalOneView);
        PrintMemoryRow("minimal_webkit, 10 views in a notebook", figures_.minimalTenInNotebook);
        PrintMemoryRow("minimal_webkit, 10 views stacked, shown", figures_.minimalTenStacked);
        PrintMemoryRow("minimal_webkit, 10 views opened in turn", figures_.minimalTenInTurn);

        std::cout << "\nPer extra tab or view (10 less 1, divided by 9)\n";
        std::cout << "  " << Padded("", 40) << Padded("PSS", 26) << "private\n";
        PrintPerExtraView("quellin", figures_.quellinOneTab, figures_.quellinTenTabs);
        PrintPerExtraView("engine alone, views in a notebook", figures_.minimalOneView, figures_.minimalTenInNotebook);
        PrintPerExtraView("engine alone, views stacked, shown", figures_.minimalOneView, figures_.minimalTenStacked);
        PrintPerExtraView("engine alone, views opened in turn", figures_.minimalOneView, figures_.minimalTenInTurn);
        std::cout << "  quellin / engine (target at most 1.00 against views opened in turn, as tabs are)\n";
        PrintPerExtraRatio("  against views in a notebook", figures_.minimalTenInNotebook);
        PrintPerExtraRatio("  against views stacked, shown", figures_.minimalTenStacked);
        PrintPerExtraRatio("  against views opened in turn", figures_.minimalTenInTurn);
        const auto& quellinOne = figures_.quellinOneTab;
        const auto& engineOne = figures_.minimalOneView;
        if (!quellinOne.pssMb.Empty() && !engineOne.pssMb.Empty())
            std::cout << "  " << Padded("quellin's 1 tab beyond 1 view", 40)
                      << Padded(Fixed(quellinOne.pssMb.Median() - engineOne.pssMb.Median(), 1) + " MB", 26)
                      << Fixed(quellinOne.privateMb.Median() - engineOne.privateMb.Median(), 1) << " MB\n";
        std::cout << "\nAt rest on the loaded page: the main process over " << options_.idleS << " s\n";
        std::cout << "  " << Padded("", 40) << Padded("CPU time", 26) << "wake-ups\n";
        PrintIdleRow("quellin, 1 tab", figures_.quellinIdle);
        PrintIdleRow("minimal_webkit, 1 view", figures_.minimalIdle);
        if (!figures_.quellinIdle.cpuMs.Empty() && !figures_.minimalIdle.cpuMs.Empty())
            std::cout << "  " << Padded("quellin / floor", 40)
                      << Padded(Ratio(figures_.quellinIdle.cpuMs, figures_.minimalIdle.cpuMs), 26)
                      << Ratio(figures_.quellinIdle.wakeUps, figures_.minimalIdle.wakeUps)
                      << "  (the browser's own timers wake it: 500 ms carrier, 2 s tab captions)\n";
        PrintManyTabs();
        if (failures_) std::cout << "\n" << failures_ << " runs were left out; see the messages above.\n";
    }

    Options options_;
    fs::path root_;
    fs::path programFolder_;
    BeaconServer server_;
    Figures figures_;
    gint64 started_ = NowUs();
    double loadAtStart_ = 0;
    int failures_ = 0;
    bool keepRoot_ = false;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--program") options.program = value;
        else if (name == "--supplied") options.supplied = value;
        else if (name == "--minimal") options.minimal = value;
        else if (name == "--runs") options.runs = std::max(1, std::atoi(value.c_str()));
        else if (name == "--settle-ms") options.settleMs = std::max(0, std::atoi(value.c_str()));
        else if (name == "--idle-s") options.idleS = std::max(1, std::atoi(value.c_str()));
        else if (name == "--budget-s") options.budgetS = std::max(1, std::atoi(value.c_str()));
        else if (name == "--many-tabs") options.manyTabs = std::max(0, std::atoi(value.c_str()));
        else return std::nullopt;
    }
    if (argc % 2 == 0 || options.program.empty() || options.supplied.empty() || options.minimal.empty())
        return std::nullopt;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: startup_memory_bench --program QUELLIN --supplied DATA_FOLDER --minimal MINIMAL_WEBKIT"
                     " [--runs N] [--settle-ms MS] [--idle-s S] [--budget-s S] [--many-tabs N]\n";
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "quellin-bench-XXXXXX").string();
    if (!g_mkdtemp(pattern.data())) {
        std::cerr << "cannot make a temporary folder\n";
        return 1;
    }
    const fs::path root = pattern;
    bool keep = false;
    int result = 0;
    try {
        Benchmark benchmark(*options, root);
        benchmark.Run();
        keep = benchmark.KeepRoot();
    } catch (const std::exception& error) {
        std::cerr << "benchmark failed: " << error.what() << "\n";
        keep = true;
        result = 1;
    }
    std::error_code ignored;
    if (!keep) fs::remove_all(root, ignored);
    return result;
}
