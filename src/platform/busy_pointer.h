#pragma once

#include "platform/form.h"

namespace platform {

// Shows the hourglass pointer over a form while it lives. The work it covers lets
// no events run, so the pointer goes to the screen at once.
class BusyPointer {
public:
    explicit BusyPointer(Form& form);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Glib::RefPtr<Gdk::Window> window_;
};

}  // namespace platform
