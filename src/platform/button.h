#pragma once

#include <gtkmm/button.h>
#include <gtkmm/cssprovider.h>

#include <string>

#include "platform/control.h"

namespace platform {

// A push button with a caption. Click runs when it is pressed with the pointer or
// from the keyboard (space or Enter while it has the focus); a Cancel button also
// answers the Esc key anywhere in its window. The theme's padding is trimmed so
// that a caption fits the size the button is given.
class CommandButton : public Control {
public:
    CommandButton();
    ~CommandButton() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    void SetFont(const std::string& name, double size, bool bold);

private:
    void ListenToWindow();
    void ApplyStyle();

    Gtk::Button* button_;
    Glib::RefPtr<Gtk::CssProvider> style_ = Gtk::CssProvider::create();
    std::string fontName_ = "Sans";
    double fontSize_ = 8;
    bool fontBold_ = false;
    std::string caption_;
    bool cancel_ = false;
    sigc::connection windowKeys_;
};

}  // namespace platform
