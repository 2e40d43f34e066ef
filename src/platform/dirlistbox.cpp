#include "platform/dirlistbox.h"

#include <filesystem>

#include "platform/error.h"

namespace platform {

DirListBox::DirListBox() : ListBox(true) {}

void DirListBox::SetPath(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) throw ToolkitError(errors::PathNotFound, "Path not found");
    path_ = path;
    Clear();
    for (const auto& entry : std::filesystem::directory_iterator(path_, error))
        if (entry.is_directory(error)) AddItem(entry.path().string());
}

}  // namespace platform
