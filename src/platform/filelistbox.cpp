#include "platform/filelistbox.h"

#include <glib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace platform {

FileListBox::FileListBox(std::string pattern) : ListBox(true), pattern_(std::move(pattern)) {}

void FileListBox::SetPath(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) throw ToolkitError(errors::PathNotFound, "Path not found");
    path_ = path;
    Refresh();
}

void FileListBox::Refresh() {
    Clear();
    if (path_.empty()) return;
    // Patterns match without regard to letter case, as the desktop's file names did.
    const std::unique_ptr<GPatternSpec, decltype(&g_pattern_spec_free)> matcher(
        g_pattern_spec_new(FoldCase(pattern_).c_str()), &g_pattern_spec_free);
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error)) {
        if (!entry.is_regular_file(error)) continue;
        std::string name = entry.path().filename().string();
        if (g_pattern_spec_match_string(matcher.get(), FoldCase(name).c_str())) names.push_back(std::move(name));
    }
    SetItems(std::move(names));
}

}  // namespace platform
