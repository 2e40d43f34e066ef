#include "platform/textbox.h"

#include "platform/app.h"

namespace platform {

TextBox::TextBox() : Control(std::make_unique<Gtk::Entry>()), entry_(static_cast<Gtk::Entry*>(&Widget())), style_(*entry_) {
    SetBackColor(backColor_);
    Track(entry_->signal_changed().connect([this] {
        if (Change) DispatchWhileAlive([this] { Change(); });
    }));
}

std::string TextBox::Text() const { return entry_->get_text(); }

void TextBox::SetText(const std::string& text) { entry_->set_text(text); }

// The theme's padding is trimmed so that the text fits the height the box is given.
void TextBox::SetBackColor(OleColor color) {
    backColor_ = color;
    style_.SetRules("entry { min-height: 0; padding: 0 3px; background-color: " + CssColor(color) +
                    "; background-image: none; }");
}

}  // namespace platform
