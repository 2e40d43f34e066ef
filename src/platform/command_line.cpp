#include "platform/command_line.h"

#include <glib.h>

#include <filesystem>
#include <system_error>

namespace platform {

std::string CommandLineOf(int argc, char** argv) {
    // A file named relative to the folder the program was started in is opened by
    // its full path: the browser knows nothing of that folder.
    std::error_code error;
    if (argc == 2 && !g_path_is_absolute(argv[1]) && std::filesystem::is_regular_file(argv[1], error))
        return std::filesystem::absolute(argv[1], error).lexically_normal().string();
    std::string command;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command += ' ';
        command += argv[i];
    }
    return command;
}

}  // namespace platform
