#include "platform/common_dialog.h"

#include <glib.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/filefilter.h>

#include <algorithm>
#include <filesystem>

#include "platform/error.h"
#include "platform/text.h"

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

// The pattern that stands for every file that may be executed.
const char* const ProgramsPattern = "*.exe";

bool ListsPrograms(const FileFilter& filter) {
    return std::find(filter.patterns.begin(), filter.patterns.end(), ProgramsPattern) != filter.patterns.end();
}

// The chooser asks a filter about a file with only the fields named in `contains`
// set: the file's path for its list, the display name alone for the location bar's
// completion, where a program cannot be told apart and is offered.
gboolean ChooserLists(const GtkFileFilterInfo* info, gpointer data) {
    const auto& filter = *static_cast<const FileFilter*>(data);
    if ((info->contains & GTK_FILE_FILTER_FILENAME) && info->filename) return ListsFile(filter, info->filename);
    if ((info->contains & GTK_FILE_FILTER_DISPLAY_NAME) && info->display_name)
        return ListsPrograms(filter) || MatchesFilter(filter, info->display_name);
    return TRUE;
}

// The extension that the filter's first pattern gives a name ("*.tab": ".tab"), if it gives one.
std::string Extension(const FileFilter& filter) {
    const std::string& pattern = filter.patterns.front();
    if (pattern.rfind("*.", 0) != 0 || pattern == ProgramsPattern) return "";
    const std::string extension = pattern.substr(1);
    return extension.find_first_of("*?", 1) == std::string::npos ? extension : "";
}

// A name saved under a filter that would not list it gets the filter's extension.
std::string WithExtensionOf(const FileFilter& filter, const std::string& path) {
    if (MatchesFilter(filter, std::filesystem::path(path).filename().string())) return path;
    return path + Extension(filter);
}

// The chooser makes its Save button sensitive when the name changes, asking for the file
// before a folder typed into the name has loaded, and does not ask again once it has:
// Enter then did nothing. Enter in the name asks again, so that a name that stands for
// a file saves. (The name's completion list forwards its keys to the name itself.)
void AnswerEnterWithTheTypedName(Gtk::FileChooserDialog& dialog) {
    dialog.signal_map().connect([&dialog] {
        Gtk::Widget* name = dialog.get_focus();
        if (!name) return;
        name->signal_key_press_event().connect(
            [&dialog](GdkEventKey* event) {
                const bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter ||
                                   event->keyval == GDK_KEY_ISO_Enter;
                Gtk::Widget* save = dialog.get_widget_for_response(Gtk::RESPONSE_ACCEPT);
                if (enter && save && !save->is_sensitive() && dialog.get_file()) save->set_sensitive(true);
                return false;
            },
            false);
    });
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
    const std::string name = FoldCase(fileName);
    for (const auto& pattern : filter.patterns) {
        if (pattern == "*.*" || pattern == "*") return true;
        if (g_pattern_match_simple(FoldCase(pattern).c_str(), name.c_str())) return true;
    }
    return false;
}

bool ListsFile(const FileFilter& filter, const std::string& path) {
    if (ListsPrograms(filter) && g_file_test(path.c_str(), G_FILE_TEST_IS_EXECUTABLE) &&
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
        const auto filters = ParseFilter(Filter);
        std::vector<Glib::RefPtr<Gtk::FileFilter>> gtkFilters;
        for (const auto& entry : filters) {
            auto gtkFilter = Gtk::FileFilter::create();
            gtkFilter->set_name(entry.name);
            gtk_file_filter_add_custom(
                gtkFilter->gobj(), static_cast<GtkFileFilterFlags>(GTK_FILE_FILTER_FILENAME | GTK_FILE_FILTER_DISPLAY_NAME),
                ChooserLists, new FileFilter(entry), [](gpointer data) { delete static_cast<FileFilter*>(data); });
            dialog.add_filter(gtkFilter);
            gtkFilters.push_back(gtkFilter);
        }
        if (!gtkFilters.empty()) dialog.set_filter(gtkFilters.front());
        Propose(dialog, FileName, save);
        if (save) AnswerEnterWithTheTypedName(dialog);
        if (dialog.run() == Gtk::RESPONSE_ACCEPT) {
            chosen = dialog.get_filename();
            const auto shown = std::find(gtkFilters.begin(), gtkFilters.end(), dialog.get_filter());
            if (save && shown != gtkFilters.end()) chosen = WithExtensionOf(filters[shown - gtkFilters.begin()], *chosen);
        }
    }
    if (chosen) {
        FileName = *chosen;
        return;
    }
    if (CancelError) throw ToolkitError(cdlCancel, "Cancel was selected.");
    FileName.clear();
}

}  // namespace platform
