#pragma once

#include <gtkmm/window.h>

#include <memory>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace platform {

class WebKitView;

// A plain browser window of the layer's own: a page in a window, nothing more.
// It holds pop-ups the program leaves to the platform and the new windows the
// view's shortcut opens. It owns itself and is deleted once it has been closed,
// by the user or by its page.
class PlainBrowserWindow : public Gtk::Window {
public:
    // A window showing the address ("" leaves it empty).
    static PlainBrowserWindow& Open(const std::string& address, bool offline);
    // The window for a pop-up that a page of opener asked for. Returns its view,
    // which the engine then loads; the window shows itself once the page is ready.
    static GtkWidget* OpenPopup(WebKitView& opener);
    // Closes every plain browser window now.
    static void CloseAll();

    ~PlainBrowserWindow() override;

    WebKitView& View() { return *view_; }

private:
    explicit PlainBrowserWindow(std::unique_ptr<WebKitView> view);
    void ReadyToShow();
    void on_hide() override;
    void DeleteSoon();

    std::unique_ptr<WebKitView> view_;
    bool closing_ = false;
    sigc::connection deletion_;
};

}  // namespace platform
