#pragma once

#include <gtkmm/checkbutton.h>

#include <string>

#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;

// A check box with a caption. Click runs whenever its Value changes, by the
// user or by the program.
class CheckBox : public Control {
public:
    CheckBox();

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // vbChecked or vbUnchecked.
    int Value() const;
    void SetValue(int value);
    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

protected:
    void GeometryChanged() override;

private:
    Gtk::CheckButton* check_;
    WidgetStyle style_;
    std::string caption_;
};

}  // namespace platform
