#include "platform/webkit/plain_browser_window.h"

#include <glibmm/main.h>
#include <webkit2/webkit2.h>

#include <vector>

#include "platform/text.h"
#include "platform/webkit/webkit_view.h"

namespace platform {

namespace {
constexpr int DefaultWidth = 800;
constexpr int DefaultHeight = 600;
}  // namespace

PlainBrowserWindow& PlainBrowserWindow::Open(const std::string& address, bool offline) {
    auto view = std::make_unique<WebKitView>();
    view->SetOffline(offline);
    auto* window = new PlainBrowserWindow(std::move(view));
    window->show();
    window->View().Navigate(address);
    return *window;
}

GtkWidget* PlainBrowserWindow::OpenPopup(WebKitView& opener) {
    auto* window = new PlainBrowserWindow(std::make_unique<WebKitView>(opener));
    g_signal_connect(window->View().WebView(), "ready-to-show", G_CALLBACK(+[](WebKitWebView*, gpointer self) {
        static_cast<PlainBrowserWindow*>(self)->ReadyToShow();
    }), window);
    return GTK_WIDGET(window->View().WebView());
}

void PlainBrowserWindow::CloseAll() {
    std::vector<PlainBrowserWindow*> windows;
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* plain = dynamic_cast<PlainBrowserWindow*>(window)) windows.push_back(plain);
    for (PlainBrowserWindow* window : windows) {
        window->hide();
        delete window;
    }
}

PlainBrowserWindow::PlainBrowserWindow(std::unique_ptr<WebKitView> view) : view_(std::move(view)) {
    set_default_size(DefaultWidth, DefaultHeight);
    add(view_->Widget());
    view_->events.TitleChange = [this](const std::string&) { set_title(ScreenLine(view_->LocationName())); };
    view_->events.DocumentComplete = [this](const std::string&) { set_title(ScreenLine(view_->LocationName())); };
    view_->events.OnQuit = [this] {
        hide();
        DeleteSoon();
    };
}

PlainBrowserWindow::~PlainBrowserWindow() {
    deletion_.disconnect();
    g_signal_handlers_disconnect_by_data(view_->WebView(), this);
}

// The page may ask for a size of its own (window.open with a width and height).
void PlainBrowserWindow::ReadyToShow() {
    GdkRectangle geometry{};
    webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(view_->WebView()), &geometry);
    if (geometry.width > 0 && geometry.height > 0) set_default_size(geometry.width, geometry.height);
    show();
}

void PlainBrowserWindow::on_hide() {
    Gtk::Window::on_hide();
    DeleteSoon();
}

// Not at once: the window may be in the middle of one of its own handlers.
void PlainBrowserWindow::DeleteSoon() {
    if (closing_) return;
    closing_ = true;
    deletion_ = Glib::signal_idle().connect([this] {
        delete this;
        return false;
    });
}

}  // namespace platform
