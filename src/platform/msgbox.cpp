#include "platform/msgbox.h"

#include <gtkmm/messagedialog.h>

namespace platform {

namespace {
MsgBoxResponder responder;

Gtk::MessageType TypeOf(int buttons) {
    switch (buttons & 0x70) {
        case vbCritical: return Gtk::MESSAGE_ERROR;
        case vbQuestion: return Gtk::MESSAGE_QUESTION;
        case vbExclamation: return Gtk::MESSAGE_WARNING;
        default: return Gtk::MESSAGE_INFO;
    }
}
}  // namespace

void SetMsgBoxResponder(MsgBoxResponder r) { responder = std::move(r); }

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    if (responder) return responder(prompt, buttons, title);
    const bool yesNo = (buttons & 0x7) == vbYesNo;
    Gtk::MessageDialog dialog(prompt, false, TypeOf(buttons), yesNo ? Gtk::BUTTONS_YES_NO : Gtk::BUTTONS_OK, true);
    dialog.set_title(title);
    dialog.set_position(Gtk::WIN_POS_CENTER);
    const int response = dialog.run();
    if (yesNo) return response == Gtk::RESPONSE_YES ? vbYes : vbNo;
    return vbOK;
}

}  // namespace platform
