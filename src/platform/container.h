#pragma once

#include <gtkmm/fixed.h>

namespace platform {

class Control;

// Anything that holds controls: a form's client area, a picture box.
class Container {
public:
    virtual ~Container() = default;
    virtual Gtk::Fixed& ChildArea() = 0;
};

}  // namespace platform
