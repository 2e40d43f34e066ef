#include "platform/browser_view.h"

#include "platform/app.h"
#include "platform/webkit/webkit_view.h"

namespace platform {

namespace {
// The engine's own failure code for an operation it cannot carry out (E_FAIL).
constexpr int UnspecifiedError = -2147467259;

BrowserViewFactory factory;
std::string homePage = "about:blank";
}  // namespace

void BrowserView::Deliver(std::function<void()> event) {
    Dispatch([life = LifeToken(), event = std::move(event)] {
        if (!life.expired()) event();
    });
}

ToolkitError BrowserOperationFailed() {
    return ToolkitError(UnspecifiedError, "Unspecified error");
}

ToolkitError BrowserNotResponding() {
    return ToolkitError(errors::ObjectNotResponding, "Automation error");
}

ToolkitError BrowserCannotOpen() {
    return ToolkitError(errors::CannotCreateObject, "ActiveX component can't create object");
}

void SetBrowserViewFactory(BrowserViewFactory newFactory) { factory = std::move(newFactory); }

std::unique_ptr<BrowserView> NewBrowserView() {
    if (factory) return factory();
    return WebKitView::ForNewControl();
}

void SetHomePage(const std::string& address) { homePage = address; }

const std::string& HomePage() { return homePage; }

}  // namespace platform
