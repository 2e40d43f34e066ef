#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The toolkit's error number for a file dialog the user cancelled.
inline constexpr int cdlCancel = 32755;

// The common file dialog: an open or save file chooser with a title and a filter.
// FileName holds the name chosen last and is proposed the next time the dialog shows.
class CommonDialog {
public:
    std::string DialogTitle;
    // "Name (patterns)|patterns|Name|patterns...": a name, then its patterns joined by ";".
    std::string Filter;
    std::string FileName;
    // When set, cancelling raises ToolkitError cdlCancel; otherwise it leaves FileName "".
    bool CancelError = false;

    void ShowOpen();
    void ShowSave();

private:
    void ShowChooser(bool save);
};

// A filter string split into its named pattern lists; a name without patterns is left out.
struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;
};
std::vector<FileFilter> ParseFilter(const std::string& filter);
// Whether a file name matches one of the patterns, letter case ignored ("*.*" matches every name).
bool MatchesFilter(const FileFilter& filter, const std::string& fileName);
// Whether the file at the path is listed under the filter. Programs here carry no
// file extension, so the pattern "*.exe" of the desktop the filters come from
// stands for every file that may be executed; other patterns match the file's name.
bool ListsFile(const FileFilter& filter, const std::string& path);

// Tests answer file dialogs themselves: the answer is the chosen file name, or nothing to cancel.
struct FileDialogRequest {
    bool save;
    std::string title;
    std::string filter;
    std::string proposedFileName;
};
using FileDialogResponder = std::function<std::optional<std::string>(const FileDialogRequest&)>;
void SetFileDialogResponder(FileDialogResponder responder);

}  // namespace platform
