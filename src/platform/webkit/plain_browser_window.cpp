#include "platform/webkit/plain_browser_window.h"

#include <glibmm/main.h>
#include <webkit2/webkit2.h>

#include "platform/app.h"
#include "platform/text.h"
#include "platform/webkit/webkit_view.h"

namespace platform {

namespace {
constexpr int DefaultWidth = 800;
constexpr int DefaultHeight = 600;
constexpr int PageEndTimeoutMs = 5000;

// Puts an empty document in place of the view's page and waits until the engine
// has committed it: the page's scripts have stopped by then, and what they sent
// to the engine before (cookies set) went out before the engine's answer.
void EndPage(WebKitWebView* view) {
    bool committed = false;
    const gulong handler = g_signal_connect(view, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer done) {
        if (event == WEBKIT_LOAD_COMMITTED) *static_cast<bool*>(done) = true;
    }), &committed);
    webkit_web_view_load_html(view, "", "about:blank");
    WaitWithoutHandlers([&] { return committed; }, PageEndTimeoutMs);
    g_signal_handler_disconnect(view, handler);
}
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
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* plain = dynamic_cast<PlainBrowserWindow*>(window)) {
            EndPage(plain->View().WebView());
            plain->hide();
            delete plain;
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
