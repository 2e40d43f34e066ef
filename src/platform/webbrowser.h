#pragma once

#include <memory>

#include "platform/browser_view.h"
#include "platform/control.h"

namespace platform {

// The browser control hosted in a form: a control around a browser view made by
// the layer's factory. Operations and properties go to the view; events come back
// through view().events.
//
// Browsers stacked in one container all stay Visible, as the program expects, but
// only the one in front is shown: the engine need not draw pages that nobody can
// see, and a browser behind takes none of the clicks meant for the page in front,
// however the toolkit restacks the container's children when the window is shown
// again.
//
// A view whose engine has ended is put back to work by the next page the control
// is asked for: a new view takes its place, with its events and its offline mode.
// While the engine can open no new view, the ended one stays and loads nothing.
class WebBrowser : public Control {
public:
    WebBrowser();
    explicit WebBrowser(std::unique_ptr<BrowserView> view);
    ~WebBrowser() override;

    BrowserView& View() { return *view_; }
    // The control's own object, handed to the platform for a pop-up.
    BrowserView* Object() { return view_.get(); }

    void Navigate(const std::string& address) { WorkingView().Navigate(address); }
    void GoHome() { WorkingView().GoHome(); }
    void GoBack() { view_->GoBack(); }
    void GoForward() { view_->GoForward(); }
    void Stop() { view_->Stop(); }
    // Loads the page again; in a new view when the engine of the present one ended.
    void Refresh();
    void ExecWB(int command, int option) { view_->ExecWB(command, option); }
    std::string LocationName() { return view_->LocationName(); }
    std::string LocationURL() { return view_->LocationURL(); }
    bool Busy() { return view_->Busy(); }
    bool Offline() { return view_->Offline(); }
    void SetOffline(bool offline) { view_->SetOffline(offline); }

    void SetVisible(bool visible) override;
    // The page itself takes the keyboard: the arrow keys scroll it.
    void SetFocus() override;
    // Whether the page is shown: the browser is visible and in front of its siblings.
    bool ShowsPage() const;

protected:
    void StackingChanged(int position) override;

private:
    // The view, or a new one in its place when its engine has ended.
    BrowserView& WorkingView();
    void ComeToFront();
    void ShowFrontmostSibling();

    // The view owns its widget; the control holds it in a box of its own.
    std::unique_ptr<BrowserView> view_;
};

}  // namespace platform
