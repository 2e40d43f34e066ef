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

bool Image::Draw(const Cairo::RefPtr<Cairo::Context>& cr) {
    if (picture_.Empty()) return true;
    cr->scale(double(area_->get_allocated_width()) / picture_.PixelWidth(),
              double(area_->get_allocated_height()) / picture_.PixelHeight());
    cr->set_source(picture_.Surface(), 0, 0);
    cr->paint();
    return true;
}

}  // namespace platform
