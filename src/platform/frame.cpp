#include "platform/frame.h"

namespace platform {

Frame::Frame() : Control(std::make_unique<Gtk::Fixed>()), area_(static_cast<Gtk::Fixed*>(&Widget())), style_(label_) {
    label_.set_use_underline(true);
    label_.show();
    border_.set_label_widget(label_);
    border_.set_label_align(0.03, 0.5);
    border_.show();
    area_->put(border_, 0, 0);
}

void Frame::SetCaption(const std::string& caption) {
    caption_ = caption;
    label_.set_text_with_mnemonic(MnemonicLabel(caption));
}

void Frame::GeometryChanged() { border_.set_size_request(PixelWidth(), PixelHeight()); }

}  // namespace platform
