#pragma once

#include <gtkmm/liststore.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

// A list box of text items. A sorted one keeps its items in alphabetical order,
// letter case ignored; new items go after equal ones.
class ListBox : public Control {
public:
    explicit ListBox(bool sorted = false, bool multiSelect = false);

    bool Sorted() const { return sorted_; }
    void AddItem(const std::string& item);
    void AddItem(const std::string& item, int index);
    // Replaces every item with these (in list order when sorted), none selected.
    // Sorts once: far faster than adding a long list item by item.
    void SetItems(std::vector<std::string> items);
    // Raises ToolkitError 5 for an index out of range.
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const;
    const std::vector<std::string>& Items() const { return items_; }

    // -1 when no item is selected.
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    // The selected item's text, "" when none.
    std::string Text() const;

    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

    void CopySettingsFrom(const Control& other) override;

private:
    struct Columns : Gtk::TreeModelColumnRecord {
        Gtk::TreeModelColumn<Glib::ustring> text;
        Columns() { add(text); }
    };

    void CheckIndex(int index) const;
    void SyncSelectionFromView();
    void ReadSelectionFromView();
    void ShowSelectionInView();

    bool sorted_;
    std::vector<std::string> items_;
    std::vector<bool> selected_;
    int listIndex_ = -1;
    Columns columns_;
    Glib::RefPtr<Gtk::ListStore> store_;
    Gtk::TreeView view_;
    WidgetStyle style_{view_};
    bool syncing_ = false;
    bool focusing_ = false;
};

// Case-insensitive order of a sorted list.
bool ListLess(const std::string& a, const std::string& b);
// Puts the items in that order; equal ones keep their order.
void SortForList(std::vector<std::string>& items);

}  // namespace platform
