#pragma once

#include <gtkmm/drawingarea.h>

#include "platform/control.h"
#include "platform/picture.h"

namespace platform {

// An image control: its picture stretched over its box, transparent where there is none.
class Image : public Control {
public:
    Image();

    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture);
    // A bordered image draws a thin line round its box and the picture inside it.
    bool Border() const { return border_; }
    void SetBorder(bool border);

private:
    bool Draw(const Cairo::RefPtr<Cairo::Context>& cr);

    Gtk::DrawingArea* area_;
    Picture picture_;
    bool border_ = false;
};

}  // namespace platform
