#pragma once

#include <gtkmm/radiobutton.h>

#include <string>

#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

// An option button. The option buttons placed in one container form a group in
// which at most one is selected; a group may have none selected. Click runs
// whenever the button becomes selected, by the user or by the program.
class OptionButton : public Control {
public:
    OptionButton();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Value() const { return radio_->get_active(); }
    // Selecting one deselects the others of its container.
    void SetValue(bool value);
    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

protected:
    void GeometryChanged() override;

private:
    void JoinSiblings();

    Gtk::RadioButton* radio_;
    // Never shown: selecting it leaves the group with no visible button selected.
    Gtk::RadioButton none_;
    WidgetStyle style_;
    std::string caption_;
    bool joining_ = false;
};

}  // namespace platform
