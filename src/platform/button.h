#pragma once

#include <gtkmm/button.h>

#include <string>

#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

// A push button with a caption. Click runs when it is pressed with the pointer or
// from the keyboard (space or Enter while it has the focus); a Cancel button also
// answers the Esc key anywhere in its window, a Default button the Enter key.
// The theme's padding is trimmed so that a caption fits the size the button is given.
class CommandButton : public Control {
public:
    CommandButton();
    ~CommandButton() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    bool Default() const { return default_; }
    void SetDefault(bool isDefault) { default_ = isDefault; }
    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

private:
    void ListenToWindow();

    Gtk::Button* button_;
    WidgetStyle style_;
    std::string caption_;
    bool cancel_ = false;
    bool default_ = false;
    sigc::connection windowKeys_;
};

}  // namespace platform
