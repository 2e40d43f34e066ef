#include "platform/label.h"

#include <gdkmm/window.h>
#include <pangomm/layout.h>

#include "platform/text.h"

namespace platform {

Label::Label() : Control(std::make_unique<Gtk::DrawingArea>()) {
    area_ = static_cast<Gtk::DrawingArea*>(&Widget());
    Track(area_->signal_draw().connect([this](const Cairo::RefPtr<Cairo::Context>& cr) { return Draw(cr); }, false));
    ListenToPointer();
}

void Label::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    area_->queue_draw();
}

void Label::SetForeColor(OleColor color) {
    foreColor_ = color;
    area_->queue_draw();
}

void Label::SetBackColor(OleColor color) {
    backColor_ = color;
    area_->queue_draw();
}

void Label::SetTransparent(bool transparent) {
    transparent_ = transparent;
    area_->queue_draw();
}

void Label::SetAlignment(Align alignment) {
    alignment_ = alignment;
    area_->queue_draw();
}

void Label::SetFont(const std::string& name, double size, bool bold) {
    fontName_ = name;
    fontSize_ = size;
    fontBold_ = bold;
    area_->queue_draw();
}

void Label::SetUnderline(bool underline) {
    underline_ = underline;
    area_->queue_draw();
}

void Label::Refresh() {
    area_->queue_draw();
    if (auto window = area_->get_window()) window->process_updates(true);
}

void Label::CopySettingsFrom(const Control& other) {
    Control::CopySettingsFrom(other);
    if (auto label = dynamic_cast<const Label*>(&other)) {
        caption_ = label->caption_;
        foreColor_ = label->foreColor_;
        backColor_ = label->backColor_;
        transparent_ = label->transparent_;
        alignment_ = label->alignment_;
        fontName_ = label->fontName_;
        fontSize_ = label->fontSize_;
        fontBold_ = label->fontBold_;
        underline_ = label->underline_;
        area_->queue_draw();
    }
}

bool Label::Draw(const Cairo::RefPtr<Cairo::Context>& cr) {
    const int width = area_->get_allocated_width();
    if (!transparent_) {
        SetSourceColor(cr, backColor_);
        cr->paint();
    }
    auto layout = area_->create_pango_layout(ScreenLine(caption_));
    Pango::FontDescription font(fontName_);
    font.set_size(static_cast<int>(fontSize_ * PANGO_SCALE));
    font.set_weight(fontBold_ ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL);
    layout->set_font_description(font);
    if (underline_) {
        Pango::AttrList attributes;
        auto underline = Pango::Attribute::create_attr_underline(Pango::UNDERLINE_SINGLE);
        attributes.insert(underline);
        layout->set_attributes(attributes);
    }
    layout->set_width(width * PANGO_SCALE);
    layout->set_wrap(Pango::WRAP_WORD_CHAR);
    layout->set_alignment(alignment_ == Align::Left     ? Pango::ALIGN_LEFT
                          : alignment_ == Align::Center ? Pango::ALIGN_CENTER
                                                        : Pango::ALIGN_RIGHT);
    SetSourceColor(cr, Enabled() ? foreColor_ : 0x808080);
    cr->move_to(0, 0);
    layout->show_in_cairo_context(cr);
    return true;
}

}  // namespace platform
