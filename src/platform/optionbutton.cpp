#include "platform/optionbutton.h"

#include "platform/app.h"

namespace platform {

OptionButton::OptionButton()
    : Control(std::make_unique<Gtk::RadioButton>()), radio_(static_cast<Gtk::RadioButton*>(&Widget())), style_(*radio_) {
    radio_->set_use_underline(true);
    style_.SetRules("radiobutton { min-height: 0; padding: 0; }");
    JoinSiblings();
    Track(radio_->signal_toggled().connect([this] {
        if (radio_->get_active() && !joining_ && Click) DispatchWhileAlive([this] { Click(); });
    }));
    Track(radio_->signal_parent_changed().connect([this](Gtk::Widget*) { JoinSiblings(); }));
}

// The group is the option buttons that share the widget's parent.
void OptionButton::JoinSiblings() {
    joining_ = true;
    Gtk::RadioButton* sibling = nullptr;
    if (auto* parent = dynamic_cast<Gtk::Container*>(radio_->get_parent()))
        for (Gtk::Widget* child : parent->get_children())
            if (auto* other = dynamic_cast<Gtk::RadioButton*>(child); other && other != radio_) sibling = other;
    if (sibling)
        radio_->join_group(*sibling);
    else
        radio_->reset_group();
    none_.reset_group();
    none_.join_group(*radio_);
    if (!sibling) none_.set_active(true);
    joining_ = false;
}

void OptionButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    radio_->set_label(MnemonicLabel(caption));
    GeometryChanged();
}

void OptionButton::GeometryChanged() { WrapCaption(*radio_, PixelWidth()); }

void OptionButton::SetValue(bool value) {
    if (value)
        radio_->set_active(true);
    else if (Value())
        none_.set_active(true);
}

}  // namespace platform
