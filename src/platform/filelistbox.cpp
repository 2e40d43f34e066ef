#include "platform/filelistbox.h"

#include <glib.h>

#include <algorithm>
#include <filesystem>

#include "platform/error.h"

namespace platform {

FileListBox::FileListBox(std::string pattern) : ListBox(true), pattern_(std::move(pattern)) {}

void FileListBox::SetPath(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) throw ToolkitError(errors::PathNotFound, "Path not found");
    path_ = path;
    Refresh();
}

void FileListBox::SetPattern(const std::string& pattern) {
    pattern_ = pattern;
    Refresh();
}

void FileListBox::Refresh() {
    Clear();
    if (path_.empty()) return;
    // Patterns match without regard to letter case, as the desktop's file names did.
    gchar* folded = g_utf8_casefold(pattern_.c_str(), -1);
    GPatternSpec* matcher = g_pattern_spec_new(folded);
    g_free(folded);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error)) {
        if (!entry.is_regular_file(error)) continue;
        const std::string name = entry.path().filename().string();
        gchar* foldedName = g_utf8_casefold(name.c_str(), -1);
        if (g_pattern_spec_match_string(matcher, foldedName)) AddItem(name);
        g_free(foldedName);
    }
    g_pattern_spec_free(matcher);
}

}  // namespace platform
