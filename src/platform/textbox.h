#pragma once

#include <gtkmm/entry.h>

#include <string>

#include "platform/color.h"
#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

// A one-line text box. Change runs whenever its text changes, typed or set.
class TextBox : public Control {
public:
    TextBox();

    std::string Text() const;
    void SetText(const std::string& text);
    OleColor BackColor() const { return backColor_; }
    void SetBackColor(OleColor color);
    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

    std::function<void()> Change;

private:
    Gtk::Entry* entry_;
    WidgetStyle style_;
    OleColor backColor_ = vbWindowBackground;
};

}  // namespace platform
