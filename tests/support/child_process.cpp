#include "child_process.h"

#include <gtest/gtest.h>
#include <glib.h>
#include <signal.h>

#include <filesystem>
#include <optional>

#include "test_support.h"

namespace testing_support {

bool RunThisProgram(const std::string& gtestFilter, const std::map<std::string, std::string>& environment,
                    int timeoutMs) {
    gchar** childEnvironment = g_get_environ();
    for (const auto& [name, value] : environment)
        childEnvironment = g_environ_setenv(childEnvironment, name.c_str(), value.c_str(), TRUE);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string filter = "--gtest_filter=" + gtestFilter;
    const gchar* argv[] = {self.c_str(), filter.c_str(), nullptr};
    GPid child = 0;
    GError* error = nullptr;
    const bool spawned = g_spawn_async(nullptr, const_cast<gchar**>(argv), childEnvironment, G_SPAWN_DO_NOT_REAP_CHILD,
                                       nullptr, nullptr, &child, &error);
    g_strfreev(childEnvironment);
    if (!spawned) {
        ADD_FAILURE() << "cannot start the child: " << error->message;
        g_error_free(error);
        return false;
    }
    std::optional<gint> status;
    g_child_watch_add(
        child,
        [](GPid pid, gint waitStatus, gpointer result) {
            *static_cast<std::optional<gint>*>(result) = waitStatus;
            g_spawn_close_pid(pid);
        },
        &status);
    if (!Pump([&] { return status.has_value(); }, timeoutMs)) {
        ADD_FAILURE() << "the child did not end";
        kill(child, SIGKILL);
        Pump([&] { return status.has_value(); });
        return false;
    }
    const bool succeeded = g_spawn_check_wait_status(*status, nullptr);
    EXPECT_TRUE(succeeded) << "the child failed; its output is above";
    return succeeded;
}

}  // namespace testing_support
