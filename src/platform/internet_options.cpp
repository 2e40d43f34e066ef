#include "platform/internet_options.h"

#include <glib.h>
#include <gtkmm/box.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "platform/browser_view.h"
#include "platform/error.h"
#include "platform/glib_ptr.h"
#include "platform/msgbox.h"
#include "platform/regular_file.h"
#include "platform/whole_file.h"

namespace platform {

namespace {
constexpr const char* Group = "Home";
constexpr const char* Key = "Page";

using KeyFile = std::unique_ptr<GKeyFile, decltype(&g_key_file_free)>;
// Far more than the few lines the window writes.
constexpr std::size_t MaxOptionsBytes = 64 * 1024;

// The settings of the file, or nothing when something stands under its name that
// is no regular file of a readable size. A missing file holds no settings.
std::optional<KeyFile> ReadOptions(const std::string& path, GKeyFileFlags flags) {
    KeyFile file(g_key_file_new(), &g_key_file_free);
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 && errno == ENOENT) return file;
    const auto text = ReadSmallFile(path, MaxOptionsBytes);
    if (!text) return std::nullopt;
    g_key_file_load_from_data(file.get(), text->data(), text->size(), flags, nullptr);
    return file;
}
}  // namespace

std::string InternetOptionsFile() {
    return std::string(g_get_user_config_dir()) + "/quellin/internet-options.ini";
}

void LoadInternetOptions() {
    const auto file = ReadOptions(InternetOptionsFile(), G_KEY_FILE_NONE);
    if (!file) return;
    const GCharPtr page(g_key_file_get_string(file->get(), Group, Key, nullptr));
    if (page && *page) SetHomePage(page.get());
}

void SaveHomePage(const std::string& address) {
    const std::string path = InternetOptionsFile();
    const GCharPtr folder(g_path_get_dirname(path.c_str()));
    g_mkdir_with_parents(folder.get(), 0700);
    // What could not be read is never replaced by what the program did not read from it.
    const auto file = ReadOptions(path, G_KEY_FILE_KEEP_COMMENTS);
    if (!file) throw ToolkitError(errors::PathFileAccessError, "Path/File access error");
    g_key_file_set_string(file->get(), Group, Key, address.c_str());
    gsize length = 0;
    const GCharPtr text(g_key_file_to_data(file->get(), &length, nullptr));
    WriteWholeFile(path, std::string(text.get(), length));
    SetHomePage(address);
}

void ShowInternetOptions() {
    Gtk::Dialog dialog("Internet Options", true);
    dialog.set_position(Gtk::WIN_POS_CENTER);
    dialog.set_resizable(false);
    dialog.add_button("_Cancel", Gtk::RESPONSE_CANCEL);
    dialog.add_button("_OK", Gtk::RESPONSE_OK);
    dialog.set_default_response(Gtk::RESPONSE_OK);

    Gtk::Label label("_Home page:", true);
    Gtk::Entry entry;
    entry.set_text(HomePage());
    entry.set_width_chars(48);
    entry.set_activates_default(true);
    label.set_mnemonic_widget(entry);
    Gtk::Box row(Gtk::ORIENTATION_HORIZONTAL, 8);
    row.set_border_width(12);
    row.pack_start(label, Gtk::PACK_SHRINK);
    row.pack_start(entry, Gtk::PACK_EXPAND_WIDGET);
    dialog.get_content_area()->pack_start(row);
    dialog.show_all_children();

    if (dialog.run() != Gtk::RESPONSE_OK) return;
    const std::string address = entry.get_text();
    try {
        SaveHomePage(address.empty() ? "about:blank" : address);
    } catch (const ToolkitError& error) {
        MsgBox("The home page could not be saved.\n\n" + error.Description(), vbExclamation, "Internet Options");
    }
}

}  // namespace platform
