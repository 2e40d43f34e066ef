#include "platform/webbrowser.h"

#include <gtkmm/eventbox.h>

namespace platform {

WebBrowser::WebBrowser() : WebBrowser(NewBrowserView()) {}

WebBrowser::WebBrowser(std::unique_ptr<BrowserView> view)
    : Control(std::make_unique<Gtk::EventBox>()), view_(std::move(view)) {
    auto& box = static_cast<Gtk::EventBox&>(Widget());
    box.set_visible_window(true);
    view_->Widget().show();
    box.add(view_->Widget());
}

void WebBrowser::ReplaceView(std::unique_ptr<BrowserView> view) {
    auto& box = static_cast<Gtk::EventBox&>(Widget());
    box.remove();
    view_ = std::move(view);
    view_->Widget().show();
    box.add(view_->Widget());
}

WebBrowser::~WebBrowser() {
    static_cast<Gtk::EventBox&>(Widget()).remove();
}

}  // namespace platform
