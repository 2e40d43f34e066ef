#pragma once

#include <string>
#include <vector>

#include "platform/listbox.h"

namespace platform {

// A file list box: the names of the files in Path that match Pattern ("*.htm"),
// in the order of the name, letter case ignored.
class FileListBox : public ListBox {
public:
    explicit FileListBox(std::string pattern = "*.*");

    const std::string& Path() const { return path_; }
    // Raises ToolkitError 76 when the folder does not exist.
    void SetPath(const std::string& path);
    const std::string& Pattern() const { return pattern_; }
    // Reads the folder again.
    void Refresh();

private:
    std::string path_;
    std::string pattern_;
};

}  // namespace platform
