#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/error.h"

namespace Gtk { class Widget; }

namespace platform {

// The embeddable HTML view hosted by a browser control: the operations, properties
// and events that the program uses. Events arrive later, on the UI thread.
class BrowserView {
public:
    // Command ids of ExecWB.
    enum Command { SaveAs = 4, Cut = 11, Copy = 12, Paste = 13, SelectAll = 17 };
    // The progress maximum that ProgressChange reports with.
    static constexpr long ProgressMax = 10000;

    struct Events {
        std::function<void(const std::string& text)> StatusTextChange;
        std::function<void(long progress, long progressMax)> ProgressChange;
        std::function<void()> DownloadBegin;
        std::function<void(const std::string& text)> TitleChange;
        std::function<void(const std::string& url)> DocumentComplete;
        // ppDisp: set to another view to load the pop-up there; cancel: suppress it.
        std::function<void(BrowserView*& ppDisp, bool& cancel)> NewWindow2;
        std::function<void()> OnQuit;
    };

    BrowserView() = default;
    BrowserView(const BrowserView&) = delete;
    BrowserView& operator=(const BrowserView&) = delete;
    virtual ~BrowserView() = default;

    virtual Gtk::Widget& Widget() = 0;

    virtual void Navigate(const std::string& address) = 0;
    virtual void GoHome() = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Stop() = 0;
    virtual void Refresh() = 0;
    virtual void ExecWB(int command, int option) = 0;
    // Keystrokes for the view's own shortcuts: "^n", "^p", "^f", "+{F10}p".
    virtual void SendKeys(const std::string& keys) = 0;

    virtual std::string LocationName() = 0;
    virtual std::string LocationURL() = 0;
    // Raises ToolkitError once the view no longer answers.
    virtual bool Busy() = 0;
    // False once the engine behind the view has ended: the view loads nothing more.
    virtual bool Answering() = 0;
    virtual bool Offline() = 0;
    virtual void SetOffline(bool offline) = 0;

    Events events;

protected:
    // Hands an event to the program through Dispatch. An event held back while
    // handlers are blocked is dropped if this view is gone by the time it runs.
    void Deliver(std::function<void()> event);
    // Expires when this view is destroyed: code that runs a program handler and
    // then goes on checks it first.
    std::weak_ptr<const bool> LifeToken() const { return life_; }

private:
    std::shared_ptr<const bool> life_ = std::make_shared<const bool>(true);
};

// What a view raises when it cannot carry out an operation (going back with no
// earlier page), and when its engine no longer answers.
ToolkitError BrowserOperationFailed();
ToolkitError BrowserNotResponding();
// What making a view raises when the engine can open no further page.
ToolkitError BrowserCannotOpen();

// Makes the view of every browser control loaded from now on.
using BrowserViewFactory = std::function<std::unique_ptr<BrowserView>()>;
void SetBrowserViewFactory(BrowserViewFactory factory);
std::unique_ptr<BrowserView> NewBrowserView();

// The page GoHome opens ("about:blank" unless set).
void SetHomePage(const std::string& address);
const std::string& HomePage();

}  // namespace platform
