#pragma once

#include <glib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The readers under test take a file name: each input is written to a file in a
// folder of this process, removed when the process ends normally.
namespace fuzz {

class TemporaryFolder {
public:
    TemporaryFolder() {
        gchar* made = g_dir_make_tmp("quellin-fuzz-XXXXXX", nullptr);
        if (!made) std::abort();
        path_ = made;
        g_free(made);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline const std::string& Folder() {
    static const TemporaryFolder folder;
    return folder.Path();
}

// Writes the bytes to the folder's file of that name and returns its path.
inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
    return path;
}

}  // namespace fuzz
