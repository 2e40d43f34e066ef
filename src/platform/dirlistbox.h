#pragma once

#include <string>

#include "platform/listbox.h"

namespace platform {

// A folder list box: the sub-folders of Path as full paths, in the order of
// their names, letter case ignored.
class DirListBox : public ListBox {
public:
    DirListBox();

    const std::string& Path() const { return path_; }
    // Raises ToolkitError 76 when the folder does not exist.
    void SetPath(const std::string& path);

private:
    std::string path_;
};

}  // namespace platform
