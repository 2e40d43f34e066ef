#pragma once

#include <gtkmm/drawingarea.h>

#include "platform/control.h"
#include "platform/picture.h"

namespace platform {

// An image control: its picture stretched over its box, transparent elsewhere.
class Image : public Control {
public:
    Image();

    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture);

private:
    bool Draw(const Cairo::RefPtr<Cairo::Context>& cr);

    Gtk::DrawingArea* area_;
    Picture picture_;
};

}  // namespace platform
