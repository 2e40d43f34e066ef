#include "platform/busy_pointer.h"

#include <gdkmm/cursor.h>
#include <gdkmm/display.h>

namespace platform {

BusyPointer::BusyPointer(Form& form) : window_(form.Window().get_window()) {
    if (!window_) return;
    window_->set_cursor(Gdk::Cursor::create(window_->get_display(), "wait"));
    window_->get_display()->flush();
}

BusyPointer::~BusyPointer() {
    if (!window_) return;
    window_->set_cursor();
    window_->get_display()->flush();
}

}  // namespace platform
