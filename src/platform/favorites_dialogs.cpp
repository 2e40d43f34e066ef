#include "platform/favorites_dialogs.h"

#include <glibmm/main.h>
#include <gtkmm/box.h>
#include <gtkmm/buttonbox.h>
#include <gtkmm/cellrendererpixbuf.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>

#include <algorithm>
#include <filesystem>

#include "platform/app.h"
#include "platform/form.h"
#include "platform/internet_shortcut.h"
#include "platform/listbox.h"
#include "platform/msgbox.h"
#include "platform/shell_folders.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace platform {

std::function<void(AddFavoriteDialog&)> AddFavoriteDialog::WhenShown;
std::function<void(OrganizeFavoritesDialog&)> OrganizeFavoritesDialog::WhenShown;

namespace {

constexpr const char* ShortcutExtension = ".url";
// How many entries a message about a failed deletion names.
constexpr std::size_t MaxFailuresListed = 10;

bool IsShortcut(const fs::directory_entry& entry) {
    std::error_code error;
    if (!entry.is_regular_file(error)) return false;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return extension == ShortcutExtension;
}

// The sub-folders and the shortcuts of a folder, each in name order, letter case ignored.
// Links to folders are not followed, so nothing outside the Favorites folder is listed.
struct FolderContents {
    std::vector<fs::path> folders, shortcuts;
};

FolderContents ReadFolder(const fs::path& folder) {
    FolderContents contents;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_symlink(error)) continue;
        if (entry.is_directory(error)) contents.folders.push_back(entry.path());
        else if (IsShortcut(entry)) contents.shortcuts.push_back(entry.path());
    }
    const auto byName = [](const fs::path& a, const fs::path& b) {
        return ListLess(a.filename().string(), b.filename().string());
    };
    std::sort(contents.folders.begin(), contents.folders.end(), byName);
    std::sort(contents.shortcuts.begin(), contents.shortcuts.end(), byName);
    return contents;
}

void AddFoldersBelow(const fs::path& folder, std::vector<std::string>& into) {
    for (const auto& sub : ReadFolder(folder).folders) {
        into.push_back(sub.string());
        AddFoldersBelow(sub, into);
    }
}

// The Favorites folder and every folder below it.
std::vector<std::string> AllFolders(const std::string& favorites) {
    std::vector<std::string> folders{favorites};
    AddFoldersBelow(favorites, folders);
    return folders;
}

// How a folder is shown: "Favourites" for the top, then its path below it.
std::string FolderLabel(const std::string& favorites, const std::string& folder) {
    const auto relative = fs::path(folder).lexically_relative(favorites).string();
    return relative == "." ? "Favourites" : "Favourites/" + relative;
}

void PrepareDialog(Gtk::Dialog& dialog, const std::string& title, Form* owner) {
    dialog.set_title(title);
    dialog.set_modal(true);
    TakeOutControlBox(dialog);
    dialog.set_border_width(8);
    if (owner) dialog.set_transient_for(owner->Window());
}

// Shows the dialog and runs a nested loop until it is closed.
template <typename Dialog>
void RunShown(Dialog& owner, Gtk::Dialog& dialog, const bool& closed) {
    dialog.show_all();
    if (Dialog::WhenShown) Glib::signal_idle().connect_once([&owner] { Dialog::WhenShown(owner); });
    while (!closed && !Ended()) g_main_context_iteration(nullptr, TRUE);
    dialog.hide();
}

// A one-line question for a name; false when the user cancels.
bool AskText(Gtk::Window& parent, const std::string& title, const std::string& prompt, std::string& text) {
    Gtk::Dialog ask(title, parent, true);
    TakeOutControlBox(ask);
    ask.set_border_width(8);
    Gtk::Label label(prompt, Gtk::ALIGN_START);
    Gtk::Entry entry;
    entry.set_text(text);
    entry.set_activates_default(true);
    ask.get_content_area()->pack_start(label, Gtk::PACK_SHRINK, 4);
    ask.get_content_area()->pack_start(entry, Gtk::PACK_SHRINK, 4);
    ask.add_button("Cancel", Gtk::RESPONSE_CANCEL);
    ask.add_button("OK", Gtk::RESPONSE_OK);
    ask.set_default_response(Gtk::RESPONSE_OK);
    ask.show_all();
    if (ask.run() != Gtk::RESPONSE_OK) return false;
    text = entry.get_text();
    return true;
}

// The target of a new or renamed entry, or "" (the user was told) when the name is unusable.
std::string TargetInside(const std::string& favorites, const fs::path& folder, const std::string& name,
                         const std::string& extension) {
    const std::string fileName = FavoriteFileName(name);
    const std::string target = (folder / (fileName + extension)).string();
    if (fileName.empty() || !PathInside(target, favorites)) {
        MsgBox("\"" + name + "\" cannot be used as a name.", vbExclamation);
        return "";
    }
    return target;
}

// Removes what it can of an entry of the Favorites folder, a folder from the inside out, and notes each
// entry that could not be removed (not its folders, which stay because of it).
void RemoveTree(const fs::path& path, const std::string& favorites, std::vector<std::string>& failures) {
    std::error_code error;
    const std::size_t failedBefore = failures.size();
    if (fs::is_directory(fs::symlink_status(path, error))) {
        std::vector<fs::path> children;
        for (const auto& entry : fs::directory_iterator(path, error)) children.push_back(entry.path());
        for (const auto& child : children) RemoveTree(child, favorites, failures);
    }
    if (fs::remove(path, error) || failures.size() > failedBefore) return;
    failures.push_back(DisplayText(path.lexically_relative(favorites).string()) + " (" + error.message() + ")");
}

}  // namespace

AddFavoriteDialog::AddFavoriteDialog(std::string favorites, std::string address, const std::string& title, Form* owner)
    : favorites_(std::move(favorites)), address_(std::move(address)), folders_(AllFolders(favorites_)) {
    PrepareDialog(dialog_, "Add to Favourites", owner);
    auto* area = dialog_.get_content_area();
    auto* nameLabel = Gtk::make_managed<Gtk::Label>("Name:", Gtk::ALIGN_START);
    auto* folderLabel = Gtk::make_managed<Gtk::Label>("Create in:", Gtk::ALIGN_START);
    area->pack_start(*nameLabel, Gtk::PACK_SHRINK, 2);
    area->pack_start(nameEntry_, Gtk::PACK_SHRINK, 2);
    area->pack_start(*folderLabel, Gtk::PACK_SHRINK, 2);
    area->pack_start(folderCombo_, Gtk::PACK_SHRINK, 2);
    nameEntry_.set_text(FavoriteFileName(title.empty() ? address_ : title));
    nameEntry_.set_activates_default(true);
    nameEntry_.set_width_chars(40);
    for (const auto& folder : folders_) folderCombo_.append(FolderLabel(favorites_, folder));
    folderCombo_.set_active(0);
    dialog_.add_button("Cancel", Gtk::RESPONSE_CANCEL);
    dialog_.add_button("OK", Gtk::RESPONSE_OK);
    dialog_.set_default_response(Gtk::RESPONSE_OK);
    dialog_.signal_response().connect([this](int response) { response == Gtk::RESPONSE_OK ? Accept() : Cancel(); });
}

void AddFavoriteDialog::Run() { RunShown(*this, dialog_, closed_); }

void AddFavoriteDialog::Accept() {
    const int chosen = folderCombo_.get_active_row_number();
    if (chosen < 0) return;
    const std::string file = TargetInside(favorites_, folders_[chosen], Name(), ShortcutExtension);
    if (file.empty()) return;
    std::error_code error;
    if (fs::exists(file, error) &&
        MsgBox("A favourite named \"" + fs::path(file).stem().string() + "\" already exists. Replace it?",
               vbYesNo + vbQuestion) != vbYes)
        return;
    if (!WriteInternetShortcut(file, address_)) {
        MsgBox("The favourite could not be saved.", vbExclamation);
        return;
    }
    closed_ = true;
}

void AddFavoriteDialog::Cancel() { closed_ = true; }

OrganizeFavoritesDialog::OrganizeFavoritesDialog(std::string favorites, Form* owner)
    : favorites_(std::move(favorites)), store_(Gtk::TreeStore::create(columns_)) {
    PrepareDialog(dialog_, "Organise Favourites", owner);
    dialog_.set_default_size(420, 360);
    view_.set_model(store_);
    auto* column = Gtk::make_managed<Gtk::TreeViewColumn>("Favourites");
    auto* icon = Gtk::make_managed<Gtk::CellRendererPixbuf>();
    column->pack_start(*icon, false);
    column->add_attribute(icon->property_icon_name(), columns_.icon);
    column->pack_start(columns_.name);
    view_.append_column(*column);
    view_.set_headers_visible(false);
    auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
    scroller->set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    scroller->set_shadow_type(Gtk::SHADOW_IN);
    scroller->add(view_);
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 8);
    auto* buttons = Gtk::make_managed<Gtk::ButtonBox>(Gtk::ORIENTATION_VERTICAL);
    buttons->set_layout(Gtk::BUTTONBOX_START);
    buttons->set_spacing(4);
    const auto addButton = [&](const char* caption, std::function<void()> action) {
        auto* button = Gtk::make_managed<Gtk::Button>(caption);
        button->signal_clicked().connect(std::move(action));
        buttons->pack_start(*button, Gtk::PACK_SHRINK);
    };
    addButton("New Folder", [this] { AskNewFolder(); });
    addButton("Rename", [this] { AskRename(); });
    addButton("Move to Folder...", [this] { AskMove(); });
    addButton("Delete", [this] { DeleteSelected(); });
    row->pack_start(*scroller, Gtk::PACK_EXPAND_WIDGET);
    row->pack_start(*buttons, Gtk::PACK_SHRINK);
    dialog_.get_content_area()->pack_start(*row, Gtk::PACK_EXPAND_WIDGET);
    dialog_.add_button("Close", Gtk::RESPONSE_CLOSE);
    dialog_.signal_response().connect([this](int) { Close(); });
    Fill();
}

void OrganizeFavoritesDialog::Run() { RunShown(*this, dialog_, closed_); }

void OrganizeFavoritesDialog::Close() { closed_ = true; }

void OrganizeFavoritesDialog::Fill() {
    store_->clear();
    FillFolder(favorites_, nullptr);
    view_.expand_all();
}

void OrganizeFavoritesDialog::FillFolder(const std::string& folder, const Gtk::TreeNodeChildren* under) {
    const auto contents = ReadFolder(folder);
    const auto add = [&](const fs::path& path, bool isFolder) {
        auto row = under ? *store_->append(*under) : *store_->append();
        row[columns_.icon] = isFolder ? "folder" : "text-html";
        row[columns_.name] = DisplayText(isFolder ? path.filename().string() : path.stem().string());
        row[columns_.path] = path.string();
        row[columns_.folder] = isFolder;
        return row;
    };
    for (const auto& sub : contents.folders) {
        auto row = add(sub, true);
        FillFolder(sub.string(), &row.children());
    }
    for (const auto& shortcut : contents.shortcuts) add(shortcut, false);
}

std::vector<std::string> OrganizeFavoritesDialog::Entries() const {
    std::vector<std::string> entries;
    store_->foreach_iter([&](const Gtk::TreeModel::iterator& it) {
        const std::string path = (*it)[columns_.path];
        const bool folder = (*it)[columns_.folder];
        const fs::path relative = fs::path(path).lexically_relative(favorites_);
        entries.push_back(folder ? relative.string() + "/" : fs::path(relative).replace_extension().string());
        return false;
    });
    return entries;
}

bool OrganizeFavoritesDialog::Select(const std::string& relative) {
    const std::string wanted = (fs::path(favorites_) / relative).string();
    bool found = false;
    store_->foreach_iter([&](const Gtk::TreeModel::iterator& it) {
        const std::string path = (*it)[columns_.path];
        const std::string shortcut = wanted + ShortcutExtension;
        if (path != wanted && path != shortcut) return false;
        view_.get_selection()->select(it);
        found = true;
        return true;
    });
    return found;
}

std::string OrganizeFavoritesDialog::SelectedPath() const {
    auto it = const_cast<Gtk::TreeView&>(view_).get_selection()->get_selected();
    return it ? std::string((*it)[columns_.path]) : "";
}

bool OrganizeFavoritesDialog::SelectedIsFolder() const {
    auto it = const_cast<Gtk::TreeView&>(view_).get_selection()->get_selected();
    return it && (*it)[columns_.folder];
}

bool OrganizeFavoritesDialog::NewFolder(const std::string& name) {
    const std::string selected = SelectedPath();
    const fs::path in = selected.empty() ? fs::path(favorites_)
                        : SelectedIsFolder() ? fs::path(selected)
                                             : fs::path(selected).parent_path();
    const std::string target = TargetInside(favorites_, in, name, "");
    if (target.empty()) return false;
    std::error_code error;
    if (!fs::create_directory(target, error)) {
        MsgBox("The folder \"" + name + "\" could not be made.", vbExclamation);
        return false;
    }
    Fill();
    return true;
}

bool OrganizeFavoritesDialog::MoveSelectedEntry(const std::string& target) {
    const std::string selected = SelectedPath();
    std::error_code error;
    if (fs::exists(target, error)) {
        MsgBox("\"" + fs::path(target).filename().string() + "\" is there already.", vbExclamation);
        return false;
    }
    // A folder cannot go into itself.
    if (SelectedIsFolder() && PathInside(target, selected)) {
        MsgBox("A folder cannot be moved into itself.", vbExclamation);
        return false;
    }
    fs::rename(selected, target, error);
    if (error) {
        MsgBox("\"" + fs::path(selected).filename().string() + "\" could not be moved.", vbExclamation);
        return false;
    }
    Fill();
    return true;
}

bool OrganizeFavoritesDialog::RenameSelected(const std::string& name) {
    const std::string selected = SelectedPath();
    if (selected.empty()) return false;
    const std::string target =
        TargetInside(favorites_, fs::path(selected).parent_path(), name, SelectedIsFolder() ? "" : ShortcutExtension);
    return !target.empty() && MoveSelectedEntry(target);
}

bool OrganizeFavoritesDialog::MoveSelectedTo(const std::string& folder) {
    const std::string selected = SelectedPath();
    if (selected.empty()) return false;
    const fs::path into = fs::path(favorites_) / folder;
    const std::string target = (into / fs::path(selected).filename()).string();
    if (!PathInside(target, favorites_)) return false;
    return MoveSelectedEntry(target);
}

bool OrganizeFavoritesDialog::DeleteSelected() {
    const std::string selected = SelectedPath();
    if (selected.empty()) return false;
    const std::string name = SelectedIsFolder() ? fs::path(selected).filename().string() : fs::path(selected).stem().string();
    const std::string what = SelectedIsFolder() ? "the folder \"" + name + "\" and everything in it" : "\"" + name + "\"";
    if (MsgBox("Delete " + what + "?", vbYesNo + vbQuestion) != vbYes) return false;
    std::vector<std::string> failures;
    RemoveTree(selected, favorites_, failures);
    Fill();
    if (failures.empty()) return true;
    std::string list;
    for (std::size_t i = 0; i < failures.size() && i < MaxFailuresListed; ++i) list += "\n" + failures[i];
    if (failures.size() > MaxFailuresListed) list += "\n(and " + std::to_string(failures.size() - MaxFailuresListed) + " more)";
    MsgBox("Not all of \"" + DisplayText(name) + "\" could be deleted. These are still there:\n" + list, vbExclamation);
    return false;
}

void OrganizeFavoritesDialog::AskNewFolder() {
    std::string name = "New Folder";
    if (AskText(dialog_, "New Folder", "Name of the new folder:", name)) NewFolder(name);
}

// The name is offered as shown; left as it is, the entry keeps its name byte for
// byte, even one that is no valid UTF-8.
void OrganizeFavoritesDialog::AskRename() {
    const std::string selected = SelectedPath();
    if (selected.empty()) return;
    const fs::path path(selected);
    const std::string shown = DisplayText(SelectedIsFolder() ? path.filename().string() : path.stem().string());
    std::string name = shown;
    if (AskText(dialog_, "Rename", "New name:", name) && name != shown) RenameSelected(name);
}

void OrganizeFavoritesDialog::AskMove() {
    if (SelectedPath().empty()) return;
    Gtk::Dialog ask("Move to Folder", dialog_, true);
    TakeOutControlBox(ask);
    ask.set_border_width(8);
    Gtk::Label label("Move to:", Gtk::ALIGN_START);
    Gtk::ComboBoxText folders;
    const auto all = AllFolders(favorites_);
    for (const auto& folder : all) folders.append(FolderLabel(favorites_, folder));
    folders.set_active(0);
    ask.get_content_area()->pack_start(label, Gtk::PACK_SHRINK, 4);
    ask.get_content_area()->pack_start(folders, Gtk::PACK_SHRINK, 4);
    ask.add_button("Cancel", Gtk::RESPONSE_CANCEL);
    ask.add_button("OK", Gtk::RESPONSE_OK);
    ask.show_all();
    if (ask.run() != Gtk::RESPONSE_OK || folders.get_active_row_number() < 0) return;
    const std::string chosen = all[folders.get_active_row_number()];
    const std::string relative = fs::path(chosen).lexically_relative(favorites_).string();
    MoveSelectedTo(relative == "." ? "" : relative);
}

void AddFavorite(const std::string& address, const std::string& title, Form* owner) {
    std::string favorites;
    if (!SpecialFolderPath(CSIDL_FAVORITES, favorites)) {
        MsgBox("The Favorites folder cannot be made.", vbExclamation);
        return;
    }
    AddFavoriteDialog(favorites, address, title, owner).Run();
}

void DoOrganizeFavDlg(Form* owner, const std::string& path) {
    std::error_code error;
    if (!fs::is_directory(path, error)) return;
    OrganizeFavoritesDialog(path, owner).Run();
}

}  // namespace platform
