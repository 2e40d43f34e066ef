#include "platform/app.h"

#include "platform/error.h"
#include "platform/internet_options.h"
#include "platform/retire.h"

#include <glib.h>
#include <gtk/gtk.h>
#include <gtkmm/main.h>
#include <unistd.h>

#include <deque>
#include <filesystem>

namespace platform {

void RunHandler(const std::function<void()>& handler);

namespace {

std::string commandLine;
std::string appPathForTesting;
std::function<void()> endAction = [] { _exit(0); };
bool ended = false;
int blockDepth = 0;
std::deque<std::function<void()>> heldHandlers;

void ReleaseHeldHandlers() {
    while (blockDepth == 0 && !ended && !heldHandlers.empty()) {
        auto handler = std::move(heldHandlers.front());
        heldHandlers.pop_front();
        RunHandler(handler);
    }
}
}  // namespace

void Init(int argc, char** argv) {
    // The program places its own top-level windows, which only X11 allows: on a
    // Wayland desktop it runs through XWayland.
    gdk_set_allowed_backends("x11");
    gtk_init(&argc, &argv);
    Gtk::Main::init_gtkmm_internals();
    LoadInternetOptions();
    commandLine = CommandLineOf(argc, argv);
}

const std::string& Command() { return commandLine; }

void SetAppPathForTesting(std::string folder) { appPathForTesting = std::move(folder); }
void SetCommandForTesting(std::string command) { commandLine = std::move(command); }

std::string AppPath() {
    if (!appPathForTesting.empty()) return appPathForTesting;
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

void DoEvents() {
    // Runs what is pending, up to a marker queued behind it at the lowest priority.
    // Timers that are always due would hold the marker back: a time limit ends the sweep then.
    bool reached = false;
    const guint marker = g_idle_add_full(
        G_PRIORITY_LOW,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &reached, nullptr);
    constexpr gint64 limitMicroseconds = 100000;
    const gint64 end = g_get_monotonic_time() + limitMicroseconds;
    while (!reached && g_get_monotonic_time() < end) g_main_context_iteration(nullptr, FALSE);
    if (!reached) g_source_remove(marker);
}

void Run() {
    while (!ended) g_main_context_iteration(nullptr, TRUE);
}

void End() {
    ended = true;
    endAction();
}

bool Ended() { return ended; }

void SetEndAction(std::function<void()> action) {
    endAction = std::move(action);
    ended = false;
}

bool HandlersBlocked() { return blockDepth > 0; }

HandlerBlock::HandlerBlock() { ++blockDepth; }

HandlerBlock::~HandlerBlock() {
    if (--blockDepth == 0 && !heldHandlers.empty())
        g_idle_add([](gpointer) -> gboolean { ReleaseHeldHandlers(); return G_SOURCE_REMOVE; }, nullptr);
}

void Dispatch(std::function<void()> handler) {
    if (ended) return;
    if (blockDepth > 0) {
        heldHandlers.push_back(std::move(handler));
        return;
    }
    // Events held back earlier happened first: they run before this one.
    ReleaseHeldHandlers();
    if (!ended) RunHandler(handler);
}

void RunHandler(const std::function<void()>& handler) {
    // A toolkit error that no handler caught is reported; the program goes on.
    HandlerScope running;
    try {
        handler();
    } catch (const ToolkitError& error) {
        g_warning("Run-time error %d: %s (%s)", error.Number(), error.Description().c_str(), error.Source().c_str());
    }
}

bool WaitWithoutHandlers(const std::function<bool()>& done, int timeoutMs) {
    HandlerBlock block;
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    while (!done() && g_get_monotonic_time() < deadline) {
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(500);
    }
    return done();
}

}  // namespace platform
