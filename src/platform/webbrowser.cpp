#include "platform/webbrowser.h"

#include <gtkmm/eventbox.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {
// Every browser control, the one brought to the front last at the end. Never
// destroyed: forms held in static slots may outlive any static of this file.
std::vector<WebBrowser*>& Stacking() {
    static auto* browsers = new std::vector<WebBrowser*>;
    return *browsers;
}
}  // namespace

WebBrowser::WebBrowser() : WebBrowser(NewBrowserView()) {}

WebBrowser::WebBrowser(std::unique_ptr<BrowserView> view)
    : Control(std::make_unique<Gtk::EventBox>()), view_(std::move(view)) {
    auto& box = static_cast<Gtk::EventBox&>(Widget());
    box.set_visible_window(true);
    view_->Widget().show();
    box.add(view_->Widget());
    Stacking().push_back(this);
    ComeToFront();
}

BrowserView& WebBrowser::WorkingView() {
    if (view_->Answering()) return *view_;
    std::unique_ptr<BrowserView> view;
    try {
        view = NewBrowserView();
    } catch (const ToolkitError&) {
        // The engine can open no page now: the ended view stays, and loads nothing.
        return *view_;
    }
    view->events = std::move(view_->events);
    view->SetOffline(view_->Offline());
    auto& box = static_cast<Gtk::EventBox&>(Widget());
    box.remove();
    view_ = std::move(view);
    view_->Widget().show();
    box.add(view_->Widget());
    return *view_;
}

void WebBrowser::Refresh() {
    if (view_->Answering()) return view_->Refresh();
    const std::string address = view_->LocationURL();
    if (address.empty())
        WorkingView().GoHome();
    else
        WorkingView().Navigate(address);
}

WebBrowser::~WebBrowser() {
    const bool wasShown = ShowsPage();
    std::erase(Stacking(), this);
    static_cast<Gtk::EventBox&>(Widget()).remove();
    if (wasShown) ShowFrontmostSibling();
}

bool WebBrowser::ShowsPage() const { return Visible() && Widget().get_visible(); }

void WebBrowser::SetVisible(bool visible) {
    Control::SetVisible(visible);
    if (visible) ComeToFront();
}

void WebBrowser::SetFocus() { view_->Widget().grab_focus(); }

void WebBrowser::StackingChanged(int position) {
    if (position == 0) ComeToFront();
}

void WebBrowser::ComeToFront() {
    std::erase(Stacking(), this);
    Stacking().push_back(this);
    for (WebBrowser* other : Stacking())
        if (other != this && other->Parent() == Parent()) other->Widget().hide();
    if (Visible()) Widget().show();
}

void WebBrowser::ShowFrontmostSibling() {
    const auto& stacking = Stacking();
    const auto front = std::find_if(stacking.rbegin(), stacking.rend(), [this](WebBrowser* other) {
        return other->Parent() == Parent() && other->Visible();
    });
    if (front != stacking.rend()) (*front)->Widget().show();
}

}  // namespace platform
