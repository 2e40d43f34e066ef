#pragma once

#include <gtkmm/drawingarea.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/browser_view.h"

namespace platform {

// A browser view for tests. It records what the program asks of it, and a test
// scripts the page: each step raises the events the engine would, through the
// same dispatch.
class BrowserDouble : public BrowserView {
public:
    struct Calls {
        std::vector<std::string> navigations;
        int goHome = 0;
        int goBack = 0;
        int goForward = 0;
        int stop = 0;
        int refresh = 0;
        std::vector<std::pair<int, int>> execWB;  // command, option
        std::vector<std::string> keys;
    };

    // What the program answered to a new-window event. Not asked while its
    // handlers are held back.
    struct NewWindowOutcome {
        bool asked = false;
        BrowserView* ppDisp = nullptr;
        bool cancel = false;
    };

    // A page takes the keyboard focus as the engine's view does.
    Gtk::Widget& Widget() override {
        area_.set_can_focus(true);
        return area_;
    }

    void Navigate(const std::string& address) override;
    void GoHome() override;
    void GoBack() override;
    void GoForward() override;
    void Stop() override;
    void Refresh() override;
    void ExecWB(int command, int option) override;
    void SendKeys(const std::string& keys) override;

    std::string LocationName() override { return title_; }
    std::string LocationURL() override { return url_; }
    bool Busy() override;
    bool Answering() override { return answering_; }
    bool Offline() override { return offline_; }
    void SetOffline(bool offline) override { offline_ = offline; }

    const Calls& Recorded() const { return calls_; }

    // A load starts: Busy, the address becomes url, DownloadBegin.
    void StartLoad(const std::string& url);
    void Progress(long progress, long progressMax);
    void Status(const std::string& text);
    void SetTitle(const std::string& title);
    // The load ends: not Busy, the page joins the history, DocumentComplete and
    // a progress of 0.
    void Finish();
    // A whole load of a page with that title.
    void Load(const std::string& url, const std::string& title);
    NewWindowOutcome AskNewWindow();
    // The page closes its window: OnQuit.
    void Quit();
    // From now on reading Busy raises the error of an engine that no longer answers.
    void StopAnswering() { answering_ = false; }

private:
    void MoveInHistory(int step);

    Gtk::DrawingArea area_;
    Calls calls_;
    std::string url_;
    std::string title_;
    bool busy_ = false;
    bool offline_ = false;
    bool answering_ = true;
    std::vector<std::string> history_;
    std::size_t position_ = 0;  // the entry shown, when there is any
};

}  // namespace platform
