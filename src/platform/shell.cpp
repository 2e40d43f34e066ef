#include "platform/shell.h"

#include <glib.h>
#include <unistd.h>

#include <memory>

#include "platform/error.h"
#include "platform/glib_ptr.h"

namespace platform {

namespace {
using Argv = std::unique_ptr<char*, decltype(&g_strfreev)>;

// In the started program, before it runs: a session of its own, so that it
// outlives this process and its terminal.
void Detach(gpointer) { setsid(); }
}  // namespace

void Shell(const std::string& PathName, int /*WindowStyle*/) {
    GError* rawError = nullptr;
    char** rawArgv = nullptr;
    if (!g_shell_parse_argv(PathName.c_str(), nullptr, &rawArgv, &rawError)) {
        const GErrorPtr error(rawError);
        throw ToolkitError(errors::InvalidProcedureCall, error->message);
    }
    Argv argv(rawArgv, &g_strfreev);
    // Without G_SPAWN_DO_NOT_REAP_CHILD the program is started through an intermediate
    // child that exits at once, so it is nobody's child here and needs no reaping.
    const auto flags = static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDIN_FROM_DEV_NULL |
                                                G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
    if (!g_spawn_async(nullptr, argv.get(), nullptr, flags, Detach, nullptr, nullptr, &rawError)) {
        const GErrorPtr error(rawError);
        throw ToolkitError(errors::FileNotFound, error->message);
    }
}

}  // namespace platform
