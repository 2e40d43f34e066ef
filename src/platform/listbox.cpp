#include "platform/listbox.h"

#include <glib.h>
#include <gtk/gtk.h>

#include <algorithm>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/text.h"

namespace platform {

bool ListLess(const std::string& a, const std::string& b) { return FoldCase(a) < FoldCase(b); }

void SortForList(std::vector<std::string>& items) {
    // Each item is folded once, not at every comparison of the sort.
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) keys.emplace_back(FoldCase(items[i]), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> sorted;
    sorted.reserve(items.size());
    for (const auto& key : keys) sorted.push_back(std::move(items[key.second]));
    items = std::move(sorted);
}

ListBox::ListBox(bool sorted, bool multiSelect)
    : Control(std::make_unique<Gtk::ScrolledWindow>()), sorted_(sorted), store_(Gtk::ListStore::create(columns_)) {
    auto& scroller = static_cast<Gtk::ScrolledWindow&>(Widget());
    view_.set_model(store_);
    view_.set_headers_visible(false);
    view_.append_column("", columns_.text);
    view_.get_selection()->set_mode(multiSelect ? Gtk::SELECTION_MULTIPLE : Gtk::SELECTION_SINGLE);
    Track(view_.get_selection()->signal_changed().connect([this] { SyncSelectionFromView(); }));
    // Taking the focus moves the view's cursor to its first row, which would select
    // that row; a list box gains no selection from the focus alone.
    Track(view_.signal_grab_focus().connect([this] { focusing_ = true; }, false));
    Track(view_.signal_grab_focus().connect([this] { focusing_ = false; }, true));
    view_.get_selection()->set_select_function(
        [this](const Glib::RefPtr<Gtk::TreeModel>&, const Gtk::TreeModel::Path&, bool selected) {
            return selected || !focusing_;
        });
    Track(view_.signal_row_activated().connect([this](const Gtk::TreePath&, Gtk::TreeViewColumn*) {
        if (DblClick) DispatchWhileAlive([this] { DblClick(); });
    }));
    view_.show();
    scroller.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    scroller.set_shadow_type(Gtk::SHADOW_IN);
    scroller.add(view_);
}

void ListBox::AddItem(const std::string& item) {
    int index = static_cast<int>(items_.size());
    if (sorted_)
        index = static_cast<int>(std::upper_bound(items_.begin(), items_.end(), item, ListLess) - items_.begin());
    AddItem(item, index);
}

void ListBox::AddItem(const std::string& item, int index) {
    if (index < 0 || index > ListCount()) throw ToolkitError(errors::InvalidProcedureCall, "Invalid procedure call or argument");
    items_.insert(items_.begin() + index, item);
    selected_.insert(selected_.begin() + index, false);
    if (listIndex_ >= index) ++listIndex_;
    // Inserted with its text in one step: the view hears of the row once.
    gtk_list_store_insert_with_values(store_->gobj(), nullptr, index, columns_.text.index(), ScreenLine(item).c_str(), -1);
}

void ListBox::SetItems(std::vector<std::string> items) {
    if (sorted_) SortForList(items);
    items_ = std::move(items);
    selected_.assign(items_.size(), false);
    listIndex_ = -1;
    // The view is filled while detached, so that it does not lay itself out for each row;
    // detaching tells the selection of a change that is none.
    syncing_ = true;
    view_.unset_model();
    store_->clear();
    for (const auto& item : items_)
        gtk_list_store_insert_with_values(store_->gobj(), nullptr, -1, 0, ScreenLine(item).c_str(), -1);
    view_.set_model(store_);
    syncing_ = false;
}

void ListBox::CheckIndex(int index) const {
    if (index < 0 || index >= ListCount()) throw ToolkitError(errors::InvalidProcedureCall, "Invalid procedure call or argument");
}

void ListBox::RemoveItem(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
    selected_.erase(selected_.begin() + index);
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
    // The view moves its cursor to the next row and selects that row alone: it is
    // told again what is selected, so that what it highlights is the selection.
    syncing_ = true;
    store_->erase(store_->children()[index]);
    ShowSelectionInView();
    syncing_ = false;
}

void ListBox::ShowSelectionInView() {
    auto selection = view_.get_selection();
    selection->unselect_all();
    auto row = store_->children().begin();
    for (std::size_t i = 0; i < selected_.size(); ++i, ++row)
        if (selected_[i]) selection->select(row);
}

void ListBox::Clear() {
    items_.clear();
    selected_.clear();
    listIndex_ = -1;
    // A fresh store in place of the old one: the view hears of no row one by one.
    syncing_ = true;
    store_ = Gtk::ListStore::create(columns_);
    view_.set_model(store_);
    syncing_ = false;
}

const std::string& ListBox::List(int index) const {
    CheckIndex(index);
    return items_[index];
}

void ListBox::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw ToolkitError(errors::InvalidPropertyValue, "Invalid property value");
    listIndex_ = index;
    syncing_ = true;
    if (index < 0)
        view_.get_selection()->unselect_all();
    else
        view_.get_selection()->select(store_->children()[index]);
    syncing_ = false;
    ReadSelectionFromView();
    if (Click) DispatchWhileAlive([this] { Click(); });
}

bool ListBox::Selected(int index) const {
    CheckIndex(index);
    return selected_[index];
}

void ListBox::SetSelected(int index, bool selected) {
    CheckIndex(index);
    syncing_ = true;
    if (selected)
        view_.get_selection()->select(store_->children()[index]);
    else
        view_.get_selection()->unselect(store_->children()[index]);
    syncing_ = false;
    ReadSelectionFromView();
    // In a single-selection list the selected item is the current one.
    if (view_.get_selection()->get_mode() == Gtk::SELECTION_SINGLE) {
        if (selected)
            listIndex_ = index;
        else if (listIndex_ == index)
            listIndex_ = -1;
    }
}

void ListBox::ReadSelectionFromView() {
    auto selection = view_.get_selection();
    for (int i = 0; i < ListCount(); ++i) selected_[i] = selection->is_selected(store_->children()[i]);
}

std::string ListBox::Text() const { return listIndex_ >= 0 ? items_[listIndex_] : std::string(); }

void ListBox::SyncSelectionFromView() {
    if (syncing_) return;
    ReadSelectionFromView();
    auto rows = view_.get_selection()->get_selected_rows();
    listIndex_ = rows.empty() ? -1 : rows.front()[0];
    if (Click) DispatchWhileAlive([this] { Click(); });
}

void ListBox::CopySettingsFrom(const Control& other) { Control::CopySettingsFrom(other); }

}  // namespace platform
