#include "platform/webkit/webkit_download.h"

#include <glib/gstdio.h>
#include <glibmm/main.h>
#include <gtkmm/filechooserdialog.h>
#include <webkit2/webkit2.h>

#include <memory>
#include <string>

#include "platform/webkit/download_window.h"

namespace platform::webkit {

namespace {

// One download, from the question where to save it until its window is closed.
// It owns itself.
class Download {
public:
    static void Start(WebKitDownload* download) { new Download(download); }

private:
    explicit Download(WebKitDownload* download) : download_(WEBKIT_DOWNLOAD(g_object_ref(download))) {
        g_signal_connect(download_, "decide-destination",
                         G_CALLBACK(+[](WebKitDownload*, const char* suggested, gpointer self) -> gboolean {
                             static_cast<Download*>(self)->AskWhereToSave(suggested);
                             return TRUE;
                         }), this);
        g_signal_connect(download_, "created-destination", G_CALLBACK(+[](WebKitDownload*, const char*, gpointer self) {
            static_cast<Download*>(self)->created_ = true;
        }), this);
        g_signal_connect(download_, "notify::estimated-progress", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
            static_cast<Download*>(self)->Progressed();
        }), this);
        g_signal_connect(download_, "failed", G_CALLBACK(+[](WebKitDownload*, GError* error, gpointer self) {
            static_cast<Download*>(self)->Failed(error);
        }), this);
        g_signal_connect(download_, "finished", G_CALLBACK(+[](WebKitDownload*, gpointer self) {
            static_cast<Download*>(self)->Finished();
        }), this);
    }

    ~Download() {
        g_signal_handlers_disconnect_by_data(download_, this);
        g_object_unref(download_);
    }

    // The window of the page that started the download, if it lies on screen.
    Gtk::Window* PageWindow() const {
        WebKitWebView* view = webkit_download_get_web_view(download_);
        if (!view) return nullptr;
        GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(view));
        if (!GTK_IS_WINDOW(toplevel) || !gtk_widget_is_toplevel(toplevel) || GTK_IS_OFFSCREEN_WINDOW(toplevel))
            return nullptr;
        return Glib::wrap(GTK_WINDOW(toplevel));
    }

    void AskWhereToSave(const char* suggested) {
        chooser_ = std::make_unique<Gtk::FileChooserDialog>("Save File", Gtk::FILE_CHOOSER_ACTION_SAVE);
        if (Gtk::Window* parent = PageWindow()) chooser_->set_transient_for(*parent);
        chooser_->add_button("_Cancel", Gtk::RESPONSE_CANCEL);
        chooser_->add_button("_Save", Gtk::RESPONSE_ACCEPT);
        chooser_->set_default_response(Gtk::RESPONSE_ACCEPT);
        chooser_->set_do_overwrite_confirmation(true);
        chooser_->set_current_folder(DownloadFolder());
        chooser_->set_current_name(suggested && *suggested ? suggested : "download");
        chooser_->signal_response().connect([this](int response) { Chosen(response); });
        chooser_->show();
    }

    void Chosen(int response) {
        const std::string path = response == Gtk::RESPONSE_ACCEPT ? chooser_->get_filename() : "";
        chooser_->hide();
        if (path.empty()) {
            webkit_download_cancel(download_);
            return;
        }
        destination_ = path;
        // The chooser asked before it accepted a file that is there already.
        webkit_download_set_allow_overwrite(download_, g_file_test(path.c_str(), G_FILE_TEST_EXISTS));
        window_ = std::make_unique<DownloadWindow>(path, [this] { webkit_download_cancel(download_); });
        window_->signal_hide().connect([this] { WindowClosed(); });
        webkit_download_set_destination(download_, path.c_str());
    }

    void Progressed() {
        if (window_)
            window_->ShowProgress(webkit_download_get_estimated_progress(download_),
                                  webkit_download_get_received_data_length(download_));
    }

    void Failed(GError* error) {
        ended_ = true;
        // A file this download began is never left half written.
        if (created_) g_remove(destination_.c_str());
        if (!WindowShown()) {
            DeleteSoon();
        } else if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER)) {
            window_->ShowCancelled();
        } else {
            window_->ShowFailed(error->message);
        }
    }

    // The engine reports the end of a failed download as well.
    void Finished() {
        if (ended_) return;
        ended_ = true;
        if (WindowShown())
            window_->ShowDone();
        else
            DeleteSoon();
    }

    bool WindowShown() const { return window_ && window_->get_visible(); }

    // Closing the window of a download under way cancels it; the download goes
    // once the engine has told its end.
    void WindowClosed() {
        if (ended_)
            DeleteSoon();
        else
            webkit_download_cancel(download_);
    }

    void DeleteSoon() {
        Glib::signal_idle().connect_once([this] { delete this; });
    }

    WebKitDownload* download_;
    std::unique_ptr<Gtk::FileChooserDialog> chooser_;
    std::unique_ptr<DownloadWindow> window_;
    std::string destination_;
    bool created_ = false;
    bool ended_ = false;
};

}  // namespace

const char* DownloadFolder() {
    const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
    return folder && g_file_test(folder, G_FILE_TEST_IS_DIR) ? folder : g_get_home_dir();
}

void HandleDownloads(WebKitWebContext* context) {
    g_signal_connect(context, "download-started", G_CALLBACK(+[](WebKitWebContext*, WebKitDownload* download, gpointer) {
        Download::Start(download);
    }), nullptr);
}

}  // namespace platform::webkit
