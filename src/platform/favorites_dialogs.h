#pragma once

#include <gtkmm/comboboxtext.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/treestore.h>
#include <gtkmm/treeview.h>

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Form;

// The shell's dialogs over the Favorites folder. Each is modal and returns when
// it closes; timers and other windows' events go on meanwhile. Nothing they
// write lies outside the Favorites folder.

// Adds a favourite: its name, proposed from the page title, and the folder to
// create it in (the Favorites folder or one of its sub-folders).
class AddFavoriteDialog {
public:
    AddFavoriteDialog(std::string favorites, std::string address, const std::string& title, Form* owner);

    // Shows the dialog until it closes; the shortcut is written when the user accepts.
    void Run();

    std::string Name() const { return nameEntry_.get_text(); }
    void SetName(const std::string& name) { nameEntry_.set_text(name); }
    // The folders offered, the Favorites folder first.
    const std::vector<std::string>& Folders() const { return folders_; }
    void SetFolder(int index) { folderCombo_.set_active(index); }
    // The OK button: writes the shortcut and closes, or says why not and stays open.
    void Accept();
    void Cancel();

    // Tests act on the dialog once it is shown.
    static std::function<void(AddFavoriteDialog&)> WhenShown;

private:
    std::string favorites_;
    std::string address_;
    std::vector<std::string> folders_;
    bool closed_ = false;
    Gtk::Dialog dialog_;
    Gtk::Entry nameEntry_;
    Gtk::ComboBoxText folderCombo_;
};

// Organises the favourites: lists the folders and shortcuts and offers New
// Folder, Rename, Move to Folder and Delete.
class OrganizeFavoritesDialog {
public:
    OrganizeFavoritesDialog(std::string favorites, Form* owner);

    void Run();

    // The entries as paths relative to the Favorites folder, a folder with a
    // trailing "/", each folder followed by what it holds.
    std::vector<std::string> Entries() const;
    // Selects an entry by its relative path (a folder without its trailing "/").
    bool Select(const std::string& relative);
    // The actions; each says why it cannot act in a message box and returns false.
    // A new folder goes into the selected folder, beside the selected shortcut, or at the top.
    bool NewFolder(const std::string& name);
    bool RenameSelected(const std::string& name);
    // Moves into a folder given relative to the Favorites folder ("" for the top).
    bool MoveSelectedTo(const std::string& folder);
    // Asks first.
    bool DeleteSelected();
    void Close();

    static std::function<void(OrganizeFavoritesDialog&)> WhenShown;

private:
    struct Columns : Gtk::TreeModelColumnRecord {
        Gtk::TreeModelColumn<Glib::ustring> icon;
        Gtk::TreeModelColumn<Glib::ustring> name;
        Gtk::TreeModelColumn<std::string> path;
        Gtk::TreeModelColumn<bool> folder;
        Columns() {
            add(icon);
            add(name);
            add(path);
            add(folder);
        }
    };

    void Fill();
    void FillFolder(const std::string& folder, const Gtk::TreeNodeChildren* under);
    std::string SelectedPath() const;
    bool SelectedIsFolder() const;
    // Moves or renames the selected entry to target, within the Favorites folder.
    bool MoveSelectedEntry(const std::string& target);
    void AskNewFolder();
    void AskRename();
    void AskMove();

    std::string favorites_;
    bool closed_ = false;
    Columns columns_;
    Glib::RefPtr<Gtk::TreeStore> store_;
    Gtk::Dialog dialog_;
    Gtk::TreeView view_;
};

// The shell's entry points: the add dialog on the user's Favorites folder, and
// the organise dialog on a folder (nothing for a path that is no folder).
void AddFavorite(const std::string& address, const std::string& title, Form* owner);
void DoOrganizeFavDlg(Form* owner, const std::string& path);

}  // namespace platform
