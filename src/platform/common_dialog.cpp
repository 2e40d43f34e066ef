#include "platform/common_dialog.h"

#include <glib.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/filefilter.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/error.h"

namespace platform {

namespace {
FileDialogResponder responder;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string Folded(const std::string& text) {
    std::unique_ptr<char, decltype(&g_free)> folded(g_utf8_casefold(text.c_str(), -1), &g_free);
    return folded.get();
}

// Offers the previous file name: its folder, and its name (selected when the file exists).
void Propose(Gtk::FileChooserDialog& dialog, const std::string& fileName, bool save) {
    if (fileName.empty()) return;
    const std::filesystem::path path(fileName);
    std::error_code error;
    if (path.has_parent_path() && std::filesystem::is_directory(path.parent_path(), error))
        dialog.set_current_folder(path.parent_path().string());
    if (save)
        dialog.set_current_name(path.filename().string());
    else if (std::filesystem::is_regular_file(path, error))
        dialog.set_filename(fileName);
}
}  // namespace

void SetFileDialogResponder(FileDialogResponder r) { responder = std::move(r); }

std::vector<FileFilter> ParseFilter(const std::string& filter) {
    std::vector<FileFilter> filters;
    if (filter.empty()) return filters;
    const auto fields = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilter entry{fields[i], {}};
        for (const auto& pattern : Split(fields[i + 1], ';'))
            if (!pattern.empty()) entry.patterns.push_back(pattern);
        if (!entry.patterns.empty()) filters.push_back(std::move(entry));
    }
    return filters;
}

bool MatchesFilter(const FileFilter& filter, const std::string& fileName) {
    const std::string name = Folded(fileName);
    for (const auto& pattern : filter.patterns) {
        if (pattern == "*.*" || pattern == "*") return true;
        if (g_pattern_match_simple(Folded(pattern).c_str(), name.c_str())) return true;
    }
    return false;
}

bool ListsFile(const FileFilter& filter, const std::string& path) {
    const auto programs = std::find(filter.patterns.begin(), filter.patterns.end(), "*.exe");
    if (programs != filter.patterns.end() && g_file_test(path.c_str(), G_FILE_TEST_IS_EXECUTABLE) &&
        !g_file_test(path.c_str(), G_FILE_TEST_IS_DIR))
        return true;
    return MatchesFilter(filter, std::filesystem::path(path).filename().string());
}

void CommonDialog::ShowOpen() { ShowChooser(false); }
void CommonDialog::ShowSave() { ShowChooser(true); }

void CommonDialog::ShowChooser(bool save) {
    std::optional<std::string> chosen;
    if (responder) {
        chosen = responder(FileDialogRequest{save, DialogTitle, Filter, FileName});
    } else {
        Gtk::FileChooserDialog dialog(DialogTitle, save ? Gtk::FILE_CHOOSER_ACTION_SAVE : Gtk::FILE_CHOOSER_ACTION_OPEN);
        dialog.add_button("_Cancel", Gtk::RESPONSE_CANCEL);
        dialog.add_button(save ? "_Save" : "_Open", Gtk::RESPONSE_ACCEPT);
        dialog.set_default_response(Gtk::RESPONSE_ACCEPT);
        dialog.set_position(Gtk::WIN_POS_CENTER);
        dialog.set_local_only(true);
        for (const auto& entry : ParseFilter(Filter)) {
            auto gtkFilter = Gtk::FileFilter::create();
            gtkFilter->set_name(entry.name);
            gtkFilter->add_custom(Gtk::FILE_FILTER_FILENAME, [entry](const Gtk::FileFilter::Info& info) {
                return ListsFile(entry, info.filename);
            });
            dialog.add_filter(gtkFilter);
        }
        Propose(dialog, FileName, save);
        if (dialog.run() == Gtk::RESPONSE_ACCEPT) chosen = dialog.get_filename();
    }
    if (chosen) {
        FileName = *chosen;
        return;
    }
    if (CancelError) throw ToolkitError(cdlCancel, "Cancel was selected.");
    FileName.clear();
}

}  // namespace platform
