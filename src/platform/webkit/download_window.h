#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/window.h>

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// A small window that follows one download: the file it goes to, how far it has
// come, and how it ended. While the download runs its button cancels it; after
// the end the button closes the window.
class DownloadWindow : public Gtk::Window {
public:
    DownloadWindow(const std::string& path, std::function<void()> cancel);

    void ShowProgress(double fraction, std::uint64_t receivedBytes);
    void ShowDone();
    void ShowFailed(const std::string& reason);
    void ShowCancelled();

    // What the window says about the download now.
    std::string Status() const { return status_.get_text(); }
    Gtk::Button& ActionButton() { return button_; }

private:
    void Ended(const std::string& status);

    Gtk::Box box_{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::Label file_;
    Gtk::ProgressBar bar_;
    Gtk::Label status_;
    Gtk::Button button_{"_Cancel", true};
    std::function<void()> cancel_;
    bool running_ = true;
};

}  // namespace platform
