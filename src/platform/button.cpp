#include "platform/button.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/window.h>

#include "platform/app.h"

namespace platform {

CommandButton::CommandButton()
    : Control(std::make_unique<Gtk::Button>()), button_(static_cast<Gtk::Button*>(&Widget())), style_(*button_) {
    button_->set_use_underline(true);
    style_.SetRules("button { min-height: 0; min-width: 0; padding: 1px 4px; }");
    Track(button_->signal_clicked().connect([this] {
        if (Click) DispatchWhileAlive([this] { Click(); });
    }));
    Track(button_->signal_hierarchy_changed().connect([this](Gtk::Widget*) { ListenToWindow(); }));
}

CommandButton::~CommandButton() { windowKeys_.disconnect(); }

void CommandButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    button_->set_label(MnemonicLabel(caption));
}

// Esc and Enter are heard on the window the button sits in. Enter presses the
// default button unless the focus is on another button, which takes it itself.
void CommandButton::ListenToWindow() {
    windowKeys_.disconnect();
    auto* window = dynamic_cast<Gtk::Window*>(button_->get_toplevel());
    if (!window) return;
    windowKeys_ = window->signal_key_press_event().connect(
        [this, window](GdkEventKey* event) {
            if (!button_->is_sensitive() || !button_->get_visible()) return false;
            const bool escape = cancel_ && event->keyval == GDK_KEY_Escape;
            const bool enter = default_ && (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) &&
                               !dynamic_cast<Gtk::Button*>(window->get_focus());
            if (!escape && !enter) return false;
            button_->clicked();
            return true;
        },
        false);
}

}  // namespace platform
