#pragma once

#include <glib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

// A temporary folder for one benchmark run, holding the XDG folders that the run
// uses (set in the environment) and an empty program folder "program".
// Nothing when the folder cannot be made.
inline std::optional<std::filesystem::path> MakeBenchFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!g_mkdtemp(pattern.data())) return std::nullopt;
    const fs::path root = pattern;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        fs::create_directories(root / name);
        setenv(name, (root / name).c_str(), 1);
    }
    fs::create_directories(root / "program");
    return root;
}
