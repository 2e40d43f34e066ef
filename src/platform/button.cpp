#include "platform/button.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/window.h>

#include <locale>
#include <sstream>

#include "platform/app.h"

namespace platform {

CommandButton::CommandButton() : Control(std::make_unique<Gtk::Button>()) {
    button_ = static_cast<Gtk::Button*>(&Widget());
    button_->get_style_context()->add_provider(style_, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    ApplyStyle();
    Track(button_->signal_clicked().connect([this] {
        if (Click) Dispatch([this] { Click(); });
    }));
    Track(button_->signal_hierarchy_changed().connect([this](Gtk::Widget*) { ListenToWindow(); }));
}

CommandButton::~CommandButton() { windowKeys_.disconnect(); }

void CommandButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    button_->set_label(caption);
}

void CommandButton::SetFont(const std::string& name, double size, bool bold) {
    fontName_ = name;
    fontSize_ = size;
    fontBold_ = bold;
    ApplyStyle();
}

// The caption's label inherits the button's font.
void CommandButton::ApplyStyle() {
    std::ostringstream css;
    css.imbue(std::locale::classic());
    css << "button { min-height: 0; min-width: 0; padding: 1px 4px; font-family: \"" << fontName_
        << "\"; font-size: " << fontSize_ << "pt; font-weight: " << (fontBold_ ? "bold" : "normal") << "; }";
    style_->load_from_data(css.str());
}

// Esc is heard on the window the button sits in, whichever control has the focus.
void CommandButton::ListenToWindow() {
    windowKeys_.disconnect();
    auto* window = dynamic_cast<Gtk::Window*>(button_->get_toplevel());
    if (!window) return;
    windowKeys_ = window->signal_key_press_event().connect(
        [this](GdkEventKey* event) {
            if (!cancel_ || event->keyval != GDK_KEY_Escape || !button_->is_sensitive() || !button_->get_visible())
                return false;
            button_->clicked();
            return true;
        },
        false);
}

}  // namespace platform
