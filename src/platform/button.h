#pragma once

#include <gtkmm/button.h>

#include <string>

#include "platform/control.h"

namespace platform {

// A push button with a caption. Click runs when it is pressed with the pointer or
// from the keyboard (space or Enter while it has the focus); a Cancel button also
// answers the Esc key anywhere in its window.
class CommandButton : public Control {
public:
    CommandButton();
    ~CommandButton() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }

private:
    void ListenToWindow();

    Gtk::Button* button_;
    std::string caption_;
    bool cancel_ = false;
    sigc::connection windowKeys_;
};

}  // namespace platform
