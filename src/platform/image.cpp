#include "platform/image.h"

namespace platform {

Image::Image() : Control(std::make_unique<Gtk::DrawingArea>()) {
    area_ = static_cast<Gtk::DrawingArea*>(&Widget());
    Track(area_->signal_draw().connect([this](const Cairo::RefPtr<Cairo::Context>& cr) { return Draw(cr); }, false));
    ListenToPointer();
}

void Image::SetPicture(const Picture& picture) {
    picture_ = picture;
    area_->queue_draw();
}

void Image::SetBorder(bool border) {
    border_ = border;
    area_->queue_draw();
}

bool Image::Draw(const Cairo::RefPtr<Cairo::Context>& cr) {
    const int inset = border_ ? 1 : 0;
    const int width = area_->get_allocated_width(), height = area_->get_allocated_height();
    if (border_) {
        cr->set_source_rgb(0.4, 0.4, 0.4);
        cr->set_line_width(1);
        cr->rectangle(0.5, 0.5, width - 1, height - 1);
        cr->stroke();
    }
    if (picture_.Empty() || width <= 2 * inset || height <= 2 * inset) return true;
    cr->translate(inset, inset);
    cr->scale(double(width - 2 * inset) / picture_.PixelWidth(), double(height - 2 * inset) / picture_.PixelHeight());
    cr->set_source(picture_.Surface(), 0, 0);
    cr->paint();
    return true;
}

}  // namespace platform
