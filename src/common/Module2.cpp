#include "common/Module2.h"

#include "platform/error.h"
#include "platform/shell_folders.h"

namespace Module2 {

namespace {
std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
}  // namespace

std::string FindSystemFolder(std::int32_t FolderId) {
    try {
        std::string path;
        if (!platform::SpecialFolderPath(FolderId, path)) return "";
        path = TrimBlanks(path);
        path = path.substr(0, path.find('\0'));
        return TrimBlanks(path);
    } catch (const platform::ToolkitError& error) {
        throw error.WithSourcePrefix("FindSystemFolder");
    }
}

}  // namespace Module2
