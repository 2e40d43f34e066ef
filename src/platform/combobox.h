#pragma once

#include <gtkmm/comboboxtext.h>

#include <string>
#include <vector>

#include "platform/control.h"

namespace platform {

// Key codes as the key handlers receive them.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyClear = 12;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyShift = 16;
inline constexpr int vbKeyControl = 17;
inline constexpr int vbKeyDelete = 46;

// Turns a GDK key value into the toolkit's key code (letters upper case).
int KeyCodeOf(unsigned keyval);

// An editable combo box whose list is kept sorted, letter case ignored.
class ComboBox : public Control {
public:
    ComboBox();

    std::string Text() const;
    void SetText(const std::string& text);
    // Selection in the text, in characters.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);

    void AddItem(const std::string& item);
    // Replaces the list with these items, sorted once.
    void SetItems(std::vector<std::string> items);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const;
    const std::vector<std::string>& Items() const { return items_; }

    std::function<void(int keyCode, int shift)> KeyDown;
    // The character typed (13 for Enter); not consumed, it goes on to the text.
    std::function<void(int keyAscii)> KeyPress;
    std::function<void(int keyCode, int shift)> KeyUp;
    std::function<void()> Change;

private:
    Gtk::Entry& Entry() const;
    void ListChanged();
    void FillPopupList();
    // Puts these rows in the drop-down, keeping the text.
    void SetRows(const std::vector<std::string>& rows);
    bool MoveThroughList(int step);
    // Makes a row active, or none (-1), without raising Click.
    void SetActiveQuietly(int row);

    Gtk::ComboBoxText* combo_;
    std::vector<std::string> items_;
    bool popupListCurrent_ = false;
    bool settingText_ = false;
    bool quiet_ = false;
};

}  // namespace platform
