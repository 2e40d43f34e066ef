#include "platform/webkit/download_window.h"

#include <glib.h>

#include <utility>

#include "platform/glib_ptr.h"

namespace platform {

DownloadWindow::DownloadWindow(const std::string& path, std::function<void()> cancel) : cancel_(std::move(cancel)) {
    set_title("Downloading " + TakeGString(g_filename_display_basename(path.c_str())));
    set_default_size(360, -1);
    set_border_width(12);
    file_.set_text(TakeGString(g_filename_display_name(path.c_str())));
    file_.set_ellipsize(Pango::ELLIPSIZE_MIDDLE);
    file_.set_xalign(0);
    status_.set_xalign(0);
    status_.set_text("Starting...");
    box_.pack_start(file_, Gtk::PACK_SHRINK);
    box_.pack_start(bar_, Gtk::PACK_SHRINK);
    box_.pack_start(status_, Gtk::PACK_SHRINK);
    button_.set_halign(Gtk::ALIGN_END);
    box_.pack_start(button_, Gtk::PACK_SHRINK);
    add(box_);
    button_.signal_clicked().connect([this] {
        if (running_)
            cancel_();
        else
            hide();
    });
    show_all();
}

void DownloadWindow::ShowProgress(double fraction, std::uint64_t receivedBytes) {
    if (!running_) return;
    bar_.set_fraction(fraction);
    status_.set_text(TakeGString(g_format_size(receivedBytes)) + " received");
}

void DownloadWindow::ShowDone() {
    bar_.set_fraction(1.0);
    Ended("Done");
}

void DownloadWindow::ShowFailed(const std::string& reason) { Ended("Failed: " + reason); }

void DownloadWindow::ShowCancelled() { Ended("Cancelled"); }

void DownloadWindow::Ended(const std::string& status) {
    running_ = false;
    status_.set_text(status);
    button_.set_label("_Close");
}

}  // namespace platform
