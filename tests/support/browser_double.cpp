#include "browser_double.h"

#include <memory>

#include "platform/app.h"

namespace platform {

void BrowserDouble::Navigate(const std::string& address) { calls_.navigations.push_back(address); }

void BrowserDouble::GoHome() { ++calls_.goHome; }

void BrowserDouble::GoBack() {
    ++calls_.goBack;
    MoveInHistory(-1);
}

void BrowserDouble::GoForward() {
    ++calls_.goForward;
    MoveInHistory(+1);
}

// Like the engine, going where the history has no page raises; otherwise the
// address is the page gone to, and the test scripts its load.
void BrowserDouble::MoveInHistory(int step) {
    const long target = static_cast<long>(position_) + step;
    if (history_.empty() || target < 0 || target >= static_cast<long>(history_.size()))
        throw BrowserOperationFailed();
    position_ = static_cast<std::size_t>(target);
    url_ = history_[position_];
}

void BrowserDouble::Stop() { ++calls_.stop; }

void BrowserDouble::Refresh() { ++calls_.refresh; }

void BrowserDouble::ExecWB(int command, int option) {
    calls_.execWB.emplace_back(command, option);
    switch (command) {
        case SaveAs: case Cut: case Copy: case Paste: case SelectAll: return;
        default: throw BrowserOperationFailed();
    }
}

void BrowserDouble::SendKeys(const std::string& keys) { calls_.keys.push_back(keys); }

bool BrowserDouble::Busy() {
    if (!answering_) throw BrowserNotResponding();
    return busy_;
}

void BrowserDouble::StartLoad(const std::string& url) {
    busy_ = true;
    url_ = url;
    Deliver([this] {
        if (events.DownloadBegin) events.DownloadBegin();
    });
}

void BrowserDouble::Progress(long progress, long progressMax) {
    Deliver([this, progress, progressMax] {
        if (events.ProgressChange) events.ProgressChange(progress, progressMax);
    });
}

void BrowserDouble::Status(const std::string& text) {
    Deliver([this, text] {
        if (events.StatusTextChange) events.StatusTextChange(text);
    });
}

void BrowserDouble::SetTitle(const std::string& title) {
    title_ = title;
    Deliver([this, title] {
        if (events.TitleChange) events.TitleChange(title);
    });
}

void BrowserDouble::Finish() {
    busy_ = false;
    // A page reached through the history, or reloaded, keeps its place in it.
    if (history_.empty() || history_[position_] != url_) {
        if (!history_.empty()) history_.resize(position_ + 1);
        history_.push_back(url_);
        position_ = history_.size() - 1;
    }
    auto life = LifeToken();
    Deliver([this, url = url_] {
        if (events.DocumentComplete) events.DocumentComplete(url);
    });
    if (life.expired()) return;
    Deliver([this] {
        if (events.ProgressChange) events.ProgressChange(0, ProgressMax);
    });
}

void BrowserDouble::Load(const std::string& url, const std::string& title) {
    auto life = LifeToken();
    StartLoad(url);
    if (!life.expired()) SetTitle(title);
    if (!life.expired()) Finish();
}

BrowserDouble::NewWindowOutcome BrowserDouble::AskNewWindow() {
    auto outcome = std::make_shared<NewWindowOutcome>();
    Deliver([this, outcome] {
        outcome->asked = true;
        if (events.NewWindow2) events.NewWindow2(outcome->ppDisp, outcome->cancel);
    });
    return *outcome;
}

void BrowserDouble::Quit() {
    Deliver([this] {
        if (events.OnQuit) events.OnQuit();
    });
}

}  // namespace platform
