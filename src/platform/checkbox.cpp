#include "platform/checkbox.h"

#include "platform/app.h"

namespace platform {

CheckBox::CheckBox()
    : Control(std::make_unique<Gtk::CheckButton>()), check_(static_cast<Gtk::CheckButton*>(&Widget())), style_(*check_) {
    check_->set_use_underline(true);
    style_.SetRules("checkbutton { min-height: 0; padding: 0; }");
    Track(check_->signal_toggled().connect([this] {
        if (Click) DispatchWhileAlive([this] { Click(); });
    }));
}

void CheckBox::SetCaption(const std::string& caption) {
    caption_ = caption;
    check_->set_label(MnemonicLabel(caption));
    GeometryChanged();
}

void CheckBox::GeometryChanged() { WrapCaption(*check_, PixelWidth()); }

int CheckBox::Value() const { return check_->get_active() ? vbChecked : vbUnchecked; }

void CheckBox::SetValue(int value) { check_->set_active(value != vbUnchecked); }

}  // namespace platform
