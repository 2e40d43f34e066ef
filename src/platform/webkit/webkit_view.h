#pragma once

#include <memory>
#include <string>

#include "platform/browser_view.h"

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitNavigationAction WebKitNavigationAction;
typedef struct _WebKitPolicyDecision WebKitPolicyDecision;
typedef struct _WebKitHitTestResult WebKitHitTestResult;
typedef struct _WebKitScriptDialog WebKitScriptDialog;
typedef struct _GtkWidget GtkWidget;
typedef struct _GCancellable GCancellable;

namespace Gtk { class Window; }

namespace platform {

class FindBar;
class ScriptDialog;

// The browser view realised on WebKitGTK: one WebKitWebView in the shared web
// context, its signals turned into the view's events.
class WebKitView : public BrowserView {
public:
    // The most pop-ups a page opens for one load that the program starts or one
    // action of the user in the page (a click, a key); the pop-ups it opens share
    // its count until the user acts in them. Pages asking for more are refused
    // without the program being asked.
    static constexpr int PopupsPerAction = 20;

    // What a view whose engine has ended names its page by: this, then the page's title.
    static constexpr const char* EndedPagePrefix = "Page ended: ";

    WebKitView();
    // The view of a pop-up that a page of opener asked for. It shares opener's web
    // process, so that the page can script it and close it, and starts in
    // opener's offline mode.
    explicit WebKitView(WebKitView& opener);
    ~WebKitView() override;

    // Ends the page of every view there is (shown or hidden, in a tab, a window, or
    // waiting for its deletion): puts an empty document in its place and waits,
    // running no handler of the program, until the engine has committed them all
    // and the cookies the pages set on their way out have reached the store.
    static void EndEveryPage();

    // The view of a newly loaded browser control. While a page asks for a pop-up,
    // the view is related to that page's, so that the program can hand it back
    // and the pop-up itself, not a reload of its address, lands there.
    static std::unique_ptr<WebKitView> ForNewControl();

    Gtk::Widget& Widget() override;

    void Navigate(const std::string& address) override;
    void GoHome() override;
    void GoBack() override;
    void GoForward() override;
    void Stop() override;
    void Refresh() override;
    void ExecWB(int command, int option) override;
    void SendKeys(const std::string& keys) override;

    std::string LocationName() override;
    std::string LocationURL() override;
    bool Busy() override;
    bool Answering() override { return answering_; }
    bool Offline() override { return offline_; }
    void SetOffline(bool offline) override;

    WebKitWebView* WebView() const { return view_; }
    // The find bar, once "^f" has opened it.
    FindBar* Finder() const { return findBar_.get(); }

private:
    explicit WebKitView(GtkWidget* floatingView);
    void ConnectSignals();
    void LoadDeferredAddress();

    void LoadChanged(int loadEvent);
    void ReadTitleOfFinishedPage();
    void LoadSettled(unsigned load, const std::string* title, const std::string& url);
    void ProgressChanged();
    void TitleChanged();
    void MouseTargetChanged(WebKitHitTestResult* target);
    GtkWidget* CreatePopup(WebKitNavigationAction* action);
    void AskForNewWindowLater(const std::string& uri);
    // The view that holds a pop-up of this view's page counts against this page's pop-ups.
    void SharePopupsWith(BrowserView* popupView);
    // A load the program starts, or an action of the user in the page.
    void RenewPopups();
    // The program starts a load: a dialog of the page is answered as cancelled, for
    // a page waiting for its answer would not be left, and the next page may open
    // pop-ups again.
    void LeavePage();
    bool ShowScriptDialog(WebKitScriptDialog* dialog);
    bool DecidePolicy(WebKitPolicyDecision* decision, int type);
    bool RefuseWhileOffline(const char* uri, WebKitPolicyDecision* decision);
    void Closed();
    void WebProcessTerminated();

    // The window the view lies in, for the dialogs it opens; none when not placed.
    Gtk::Window* Toplevel() const;
    void SavePage();
    void OpenNewWindow();
    void Print();
    void ShowFindBar();
    void ShowProperties();

    WebKitWebView* view_;
    Gtk::Widget* widget_;
    bool offline_ = false;
    bool answering_ = true;
    // The page shown when the engine ended, which the view goes on naming.
    std::string endedTitle_;
    std::string endedAddress_;
    std::shared_ptr<int> popupsLeft_ = std::make_shared<int>(PopupsPerAction);
    // The view whose page asked for the pop-up this view was made for; the engine
    // takes this view as that pop-up only once.
    // Until then it loads nothing (a page loaded first would no longer be the
    // pop-up's window) and keeps the address it was last sent to.
    const WebKitView* popupOf_ = nullptr;
    std::string deferredAddress_;
    // The engine reports a page's title after the end of its load; a load counts as
    // ended once the title has been read from the page.
    std::string title_;
    bool loading_ = false;
    unsigned loadsStarted_ = 0;
    int loadsSettling_ = 0;
    GCancellable* pendingReads_;
    long progress_ = 0;
    std::string statusText_;
    std::unique_ptr<FindBar> findBar_;
    std::unique_ptr<ScriptDialog> scriptDialog_;
};

}  // namespace platform
