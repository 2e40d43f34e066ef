#include "web_processes.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testing_support {

std::vector<pid_t> WebProcesses() {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        if (!std::getline(stat, text)) continue;
        // pid (name) state parent ...
        const auto open = text.find('('), close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        const std::string name = text.substr(open + 1, close - open - 1);
        const pid_t parent = std::atoi(text.c_str() + close + 4);
        if (parent == getpid() && name.starts_with("WebKitWebProces")) found.push_back(std::atoi(text.c_str()));
    }
    return found;
}

}  // namespace testing_support
