#include "platform/webkit/webkit_view.h"

#include <gio/gio.h>
#include <glib.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/window.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/address.h"
#include "platform/app.h"
#include "platform/glib_ptr.h"
#include "platform/webkit/find_bar.h"
#include "platform/webkit/page_properties_dialog.h"
#include "platform/webkit/plain_browser_window.h"
#include "platform/webkit/view_source_scheme.h"
#include "platform/webkit/web_process_pool.h"
#include "platform/webkit/webkit_session.h"

namespace platform {

namespace {

// Every view gets settings and user content of its own: a page may open windows
// without a click (the program decides about pop-ups itself), and the offline
// filter is added to one view at a time. Raises the toolkit error when the engine
// can take no further view.
GtkWidget* NewWebView(WebKitWebView* related) {
    webkit::RegisterViewSourceScheme();
    const GObjectPtr<WebKitSettings> settings(
        webkit_settings_new_with_settings("javascript-can-open-windows-automatically", TRUE, nullptr));
    const GObjectPtr<WebKitUserContentManager> content(webkit_user_content_manager_new());
    WebKitWebView* view = webkit::NewPooledView(related, settings.get(), content.get());
    if (!view) throw BrowserCannotOpen();
    return GTK_WIDGET(view);
}

// Whether loading the address would reach the network.
bool NeedsNetwork(const char* uri) {
    if (!uri) return false;
    const char* scheme = g_uri_peek_scheme(uri);
    if (!scheme) return false;
    const std::string name = scheme;
    return name == "http" || name == "https" || name == "ws" || name == "wss" || name == "ftp";
}

// A mail address is no page: it goes to the desktop's mail program, as a browser
// hands it on. False for any other address.
bool HandToDesktop(const char* uri) {
    if (!uri || g_strcmp0(g_uri_peek_scheme(uri), "mailto") != 0) return false;
    GError* rawError = nullptr;
    if (!g_app_info_launch_default_for_uri(uri, nullptr, &rawError)) {
        const GErrorPtr error(rawError);
        g_printerr("Quellin: no program opens %s: %s\n", uri, error->message);
    }
    return true;
}

// A content filter that blocks every network load of a page: the pictures, scripts
// and frames of a local page while the view is offline. Compiled once; the layer
// waits for it, so that going offline takes effect at once.
WebKitUserContentFilter* OfflineFilter() {
    static struct {
        WebKitUserContentFilter* filter = nullptr;
        bool compiling = false;
        bool failed = false;
    } state;
    if (state.filter || state.failed) return state.filter;
    if (!state.compiling) {
        state.compiling = true;
        // Pop-ups are left out: the program still hears about them, and a pop-up
        // window of an offline view is offline itself.
        const std::string everythingButPopups =
            R"("resource-type":["document","image","style-sheet","script","font","raw","svg-document",)"
            R"("media","ping","fetch","websocket","other"])";
        std::string rules;
        for (const char* scheme : {"^https?:", "^wss?:", "^ftp:"}) {
            rules += rules.empty() ? "[" : ",";
            rules += std::string(R"({"trigger":{"url-filter":")") + scheme + R"(",)" + everythingButPopups +
                     R"(},"action":{"type":"block"}})";
        }
        rules += "]";
        const std::string folder = webkit::DataFolder() + "/content-filters";
        WebKitUserContentFilterStore* store = webkit_user_content_filter_store_new(folder.c_str());
        GBytes* source = g_bytes_new(rules.data(), rules.size());
        webkit_user_content_filter_store_save(
            store, "offline", source, nullptr,
            [](GObject* store, GAsyncResult* result, gpointer) {
                GError* error = nullptr;
                state.filter = webkit_user_content_filter_store_save_finish(
                    WEBKIT_USER_CONTENT_FILTER_STORE(store), result, &error);
                if (error) {
                    g_warning("the offline content filter cannot be compiled: %s", error->message);
                    g_error_free(error);
                    state.failed = true;
                }
                state.compiling = false;
                g_object_unref(store);
            },
            nullptr);
        g_bytes_unref(source);
    }
    WaitWithoutHandlers([] { return !state.compiling; });
    return state.filter;
}

// How long the pages are given to end.
constexpr int PageEndTimeoutMs = 5000;

// A cookie that a page sets as it goes (on its way out, or a moment before) reaches
// the store a little after the empty document has replaced the page: the store is
// taken as settled once it has not changed for this long.
constexpr gint64 CookiesQuietMicroseconds = 150000;
constexpr int CookiesSettleTimeoutMs = 2000;

void WaitUntilTheCookiesSettle() {
    gint64 lastChange = g_get_monotonic_time();
    WebKitCookieManager* cookies = webkit::CookieManager();
    const gulong handler = g_signal_connect(cookies, "changed", G_CALLBACK(+[](WebKitCookieManager*, gpointer last) {
        *static_cast<gint64*>(last) = g_get_monotonic_time();
    }), &lastChange);
    WaitWithoutHandlers([&] { return g_get_monotonic_time() - lastChange >= CookiesQuietMicroseconds; },
                        CookiesSettleTimeoutMs);
    g_signal_handler_disconnect(cookies, handler);
}

// Every view there is, for ending all their pages at once.
std::vector<WebKitView*> liveViews;

// The view whose page is asking for a new window while the program decides.
WebKitView* openerAsking = nullptr;
// The views made while it asks, with the tokens that tell whether they still live.
std::vector<std::pair<std::weak_ptr<const bool>, WebKitView*>> madeForPopup;

// Marks a view as asking for a new window for as long as it lives.
class AskingForNewWindow {
public:
    explicit AskingForNewWindow(WebKitView* opener) : outer_(std::exchange(openerAsking, opener)) {}
    ~AskingForNewWindow() { openerAsking = outer_; }
    AskingForNewWindow(const AskingForNewWindow&) = delete;
    AskingForNewWindow& operator=(const AskingForNewWindow&) = delete;

private:
    WebKitView* outer_;
};

std::string SuggestedFileName(const std::string& title) {
    std::string name = title.empty() ? "page" : title;
    for (char& c : name)
        if (c == '/') c = '_';
    return name + ".mht";
}

// Asks where to save the page; "" when the user cancels.
std::string AskSaveFileName(Gtk::Window* parent, const std::string& suggestion) {
    Gtk::FileChooserDialog dialog("Save Web Page", Gtk::FILE_CHOOSER_ACTION_SAVE);
    if (parent) dialog.set_transient_for(*parent);
    dialog.add_button("_Cancel", Gtk::RESPONSE_CANCEL);
    dialog.add_button("_Save", Gtk::RESPONSE_ACCEPT);
    dialog.set_default_response(Gtk::RESPONSE_ACCEPT);
    dialog.set_do_overwrite_confirmation(true);
    dialog.set_current_name(suggestion);
    auto archives = Gtk::FileFilter::create();
    archives->set_name("Web Archive, single file (*.mht)");
    archives->add_pattern("*.mht");
    dialog.add_filter(archives);
    auto all = Gtk::FileFilter::create();
    all->set_name("All Files");
    all->add_pattern("*");
    dialog.add_filter(all);
    if (dialog.run() != Gtk::RESPONSE_ACCEPT) return "";
    return dialog.get_filename();
}

void ShowSaveFailure(const char* reason) {
    GtkWidget* message = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_CLOSE,
                                                "The page could not be saved.");
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(message), "%s", reason);
    g_signal_connect(message, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    gtk_widget_show(message);
}

}  // namespace

WebKitView::WebKitView() : WebKitView(NewWebView(nullptr)) {}

WebKitView::WebKitView(WebKitView& opener) : WebKitView(NewWebView(opener.view_)) {
    SetOffline(opener.offline_);
}

std::unique_ptr<WebKitView> WebKitView::ForNewControl() {
    if (!openerAsking) return std::make_unique<WebKitView>();
    auto view = std::make_unique<WebKitView>(*openerAsking);
    view->popupOf_ = openerAsking;
    madeForPopup.emplace_back(view->LifeToken(), view.get());
    return view;
}

WebKitView::WebKitView(GtkWidget* floatingView)
    : view_(WEBKIT_WEB_VIEW(g_object_ref_sink(floatingView))), widget_(Glib::wrap(floatingView)),
      pendingReads_(g_cancellable_new()) {
    gtk_widget_show(floatingView);
    ConnectSignals();
    liveViews.push_back(this);
}

WebKitView::~WebKitView() {
    std::erase(liveViews, this);
    g_cancellable_cancel(pendingReads_);
    g_object_unref(pendingReads_);
    findBar_.reset();
    g_signal_handlers_disconnect_by_data(view_, this);
    gtk_widget_destroy(GTK_WIDGET(view_));
    g_object_unref(view_);
}

void WebKitView::EndEveryPage() {
    struct Ending {
        WebKitWebView* view;
        gulong handler = 0;
        bool committed = false;
    };
    // Each engine view is held until its end has been waited for, should its
    // WebKitView go meanwhile.
    std::vector<Ending> endings;
    endings.reserve(liveViews.size());
    for (WebKitView* view : liveViews)
        if (view->answering_) endings.push_back({WEBKIT_WEB_VIEW(g_object_ref(view->view_))});
    for (Ending& ending : endings) {
        ending.handler = g_signal_connect(ending.view, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer self) {
            if (event == WEBKIT_LOAD_COMMITTED) static_cast<Ending*>(self)->committed = true;
        }), &ending);
        webkit_web_view_load_html(ending.view, "", "about:blank");
    }
    WaitWithoutHandlers([&] { return std::all_of(endings.begin(), endings.end(), [](const Ending& e) { return e.committed; }); },
                        PageEndTimeoutMs);
    for (Ending& ending : endings) {
        g_signal_handler_disconnect(ending.view, ending.handler);
        g_object_unref(ending.view);
    }
    if (!endings.empty()) WaitUntilTheCookiesSettle();
}

void WebKitView::ConnectSignals() {
    g_signal_connect(view_, "load-changed", G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, gpointer self) {
        static_cast<WebKitView*>(self)->LoadChanged(event);
    }), this);
    g_signal_connect(view_, "notify::estimated-load-progress", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
        static_cast<WebKitView*>(self)->ProgressChanged();
    }), this);
    g_signal_connect(view_, "notify::title", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
        static_cast<WebKitView*>(self)->TitleChanged();
    }), this);
    g_signal_connect(view_, "mouse-target-changed",
                     G_CALLBACK(+[](WebKitWebView*, WebKitHitTestResult* target, guint, gpointer self) {
                         static_cast<WebKitView*>(self)->MouseTargetChanged(target);
                     }), this);
    g_signal_connect(view_, "create",
                     G_CALLBACK(+[](WebKitWebView*, WebKitNavigationAction* action, gpointer self) {
                         return static_cast<WebKitView*>(self)->CreatePopup(action);
                     }), this);
    g_signal_connect(view_, "decide-policy",
                     G_CALLBACK(+[](WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                    gpointer self) -> gboolean {
                         return static_cast<WebKitView*>(self)->DecidePolicy(decision, type);
                     }), this);
    g_signal_connect(view_, "close", G_CALLBACK(+[](WebKitWebView*, gpointer self) {
        static_cast<WebKitView*>(self)->Closed();
    }), this);
    g_signal_connect(view_, "web-process-terminated",
                     G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason, gpointer self) {
                         static_cast<WebKitView*>(self)->WebProcessTerminated();
                     }), this);
}

Gtk::Widget& WebKitView::Widget() { return *widget_; }

void WebKitView::LoadDeferredAddress() {
    popupOf_ = nullptr;
    Navigate(std::exchange(deferredAddress_, ""));
}

// A view whose engine has stopped answering stays dead: loading anything would
// start a new web process behind the program's back.
void WebKitView::Navigate(const std::string& address) {
    if (popupOf_) {
        deferredAddress_ = address;
        return;
    }
    if (address.empty() || !answering_) return;
    const std::string uri = UriForAddress(address);
    // Offline, a network address never reaches the engine: it would connect to the host
    // before it asks whether to load the page.
    if (offline_ && NeedsNetwork(uri.c_str())) return;
    if (webkit::IsViewSourceAddress(uri)) webkit::KeepShownPageForSource(view_);
    webkit_web_view_load_uri(view_, uri.c_str());
}

void WebKitView::GoHome() { Navigate(HomePage()); }

void WebKitView::GoBack() {
    if (!answering_) return;
    if (!webkit_web_view_can_go_back(view_)) throw BrowserOperationFailed();
    webkit_web_view_go_back(view_);
}

void WebKitView::GoForward() {
    if (!answering_) return;
    if (!webkit_web_view_can_go_forward(view_)) throw BrowserOperationFailed();
    webkit_web_view_go_forward(view_);
}

void WebKitView::Stop() { webkit_web_view_stop_loading(view_); }

void WebKitView::Refresh() {
    if (answering_) webkit_web_view_reload(view_);
}

void WebKitView::ExecWB(int command, int) {
    switch (command) {
        case SaveAs: return SavePage();
        case Cut: return webkit_web_view_execute_editing_command(view_, WEBKIT_EDITING_COMMAND_CUT);
        case Copy: return webkit_web_view_execute_editing_command(view_, WEBKIT_EDITING_COMMAND_COPY);
        case Paste: return webkit_web_view_execute_editing_command(view_, WEBKIT_EDITING_COMMAND_PASTE);
        case SelectAll: return webkit_web_view_execute_editing_command(view_, WEBKIT_EDITING_COMMAND_SELECT_ALL);
        default: throw BrowserOperationFailed();
    }
}

// The view's own shortcuts; other keystrokes mean nothing to it.
void WebKitView::SendKeys(const std::string& keys) {
    if (keys == "^n") OpenNewWindow();
    else if (keys == "^p") Print();
    else if (keys == "^f") ShowFindBar();
    else if (keys == "+{F10}p") ShowProperties();
}

// A page without a title is known by its address.
std::string WebKitView::LocationName() { return title_.empty() ? LocationURL() : title_; }

std::string WebKitView::LocationURL() {
    const char* uri = webkit_web_view_get_uri(view_);
    return uri ? uri : "";
}

bool WebKitView::Busy() {
    if (!answering_) throw BrowserNotResponding();
    return webkit_web_view_is_loading(view_) || loadsSettling_ > 0;
}

void WebKitView::SetOffline(bool offline) {
    if (offline == offline_) return;
    offline_ = offline;
    WebKitUserContentFilter* filter = OfflineFilter();
    if (!filter) return;
    WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(view_);
    if (offline)
        webkit_user_content_manager_add_filter(content, filter);
    else
        webkit_user_content_manager_remove_filter(content, filter);
}

void WebKitView::LoadChanged(int loadEvent) {
    if (loadEvent == WEBKIT_LOAD_STARTED) {
        loading_ = true;
        ++loadsStarted_;
        progress_ = 0;
        auto life = LifeToken();
        Deliver([this] {
            if (events.DownloadBegin) events.DownloadBegin();
        });
        if (!life.expired()) ProgressChanged();
    } else if (loadEvent == WEBKIT_LOAD_FINISHED) {
        loading_ = false;
        ReadTitleOfFinishedPage();
    }
}

// Asks the page for its title, so that the title can be read when the program
// hears that the document is complete.
void WebKitView::ReadTitleOfFinishedPage() {
    struct Read {
        WebKitView* view;
        unsigned load;
        std::string url;
    };
    ++loadsSettling_;
    webkit_web_view_evaluate_javascript(
        view_, "document.title", -1, "quellin-layer", nullptr, pendingReads_,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<Read> read(static_cast<Read*>(data));
            GError* error = nullptr;
            JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
            if (error) {
                const bool viewGone = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
                g_error_free(error);
                if (!viewGone) read->view->LoadSettled(read->load, nullptr, read->url);
                return;
            }
            gchar* text = jsc_value_is_string(value) ? jsc_value_to_string(value) : nullptr;
            g_object_unref(value);
            const std::string title = text ? text : "";
            g_free(text);
            read->view->LoadSettled(read->load, text ? &title : nullptr, read->url);
        },
        new Read{this, loadsStarted_, LocationURL()});
}

void WebKitView::LoadSettled(unsigned load, const std::string* title, const std::string& url) {
    --loadsSettling_;
    auto life = LifeToken();
    // A title read after the next load started belongs to the page that is gone.
    if (title && load == loadsStarted_ && *title != title_) {
        title_ = *title;
        Deliver([this, title = title_] {
            if (events.TitleChange) events.TitleChange(title);
        });
        if (life.expired()) return;
    }
    Deliver([this, url] {
        if (events.DocumentComplete) events.DocumentComplete(url);
    });
    if (life.expired() || loading_) return;
    progress_ = 0;
    Deliver([this] {
        if (events.ProgressChange) events.ProgressChange(0, ProgressMax);
    });
}

void WebKitView::ProgressChanged() {
    // Progress belongs to a load under way; its end reports 0 itself.
    if (!loading_) return;
    const long progress = std::lround(webkit_web_view_get_estimated_load_progress(view_) * ProgressMax);
    if (progress == progress_) return;
    progress_ = progress;
    Deliver([this, progress] {
        if (events.ProgressChange) events.ProgressChange(progress, ProgressMax);
    });
}

void WebKitView::TitleChanged() {
    const char* title = webkit_web_view_get_title(view_);
    if ((title ? title : "") == title_) return;
    title_ = title ? title : "";
    Deliver([this, title = title_] {
        if (events.TitleChange) events.TitleChange(title);
    });
}

void WebKitView::MouseTargetChanged(WebKitHitTestResult* target) {
    std::string text;
    if (webkit_hit_test_result_context_is_link(target))
        if (const char* link = webkit_hit_test_result_get_link_uri(target)) text = link;
    if (text == statusText_) return;
    statusText_ = text;
    Deliver([this, text] {
        if (events.StatusTextChange) events.StatusTextChange(text);
    });
}

GtkWidget* WebKitView::CreatePopup(WebKitNavigationAction* action) {
    const char* requested = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    const std::string uri = requested ? requested : "";
    // The engine wants its answer now, but the program cannot be asked while its
    // handlers are held back: refuse the engine's window and ask the program later.
    if (HandlersBlocked()) {
        AskForNewWindowLater(uri);
        return nullptr;
    }
    auto life = LifeToken();
    bool asked = false;
    BrowserView* target = nullptr;
    bool cancel = false;
    Dispatch([&] {
        asked = true;
        AskingForNewWindow asking(this);
        if (events.NewWindow2) events.NewWindow2(target, cancel);
    });
    // The views made meanwhile that the engine does not take load what they were sent to.
    auto* related = dynamic_cast<WebKitView*>(target);
    const bool takesPopup = asked && !cancel && !life.expired() && related && related->popupOf_ == this;
    std::erase_if(madeForPopup, [&](const auto& entry) {
        const auto& [token, made] = entry;
        if (token.expired()) return true;
        if (made->popupOf_ != this) return false;
        if (!(takesPopup && made == related)) made->LoadDeferredAddress();
        return true;
    });
    if (takesPopup) {
        related->popupOf_ = nullptr;
        return GTK_WIDGET(related->view_);
    }
    if (!asked || cancel || life.expired()) return nullptr;
    if (target) {
        // The engine only takes a view related to the opener: any other view
        // loads the pop-up's address instead.
        target->Navigate(uri);
        return nullptr;
    }
    return PlainBrowserWindow::OpenPopup(*this);
}

void WebKitView::AskForNewWindowLater(const std::string& uri) {
    Deliver([this, uri] {
        BrowserView* target = nullptr;
        bool cancel = false;
        const bool offline = offline_;
        if (events.NewWindow2) events.NewWindow2(target, cancel);
        if (cancel) return;
        if (target)
            target->Navigate(uri);
        else
            PlainBrowserWindow::Open(uri, offline);
    });
}

bool WebKitView::DecidePolicy(WebKitPolicyDecision* decision, int type) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return false;
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (HandToDesktop(uri)) {
        webkit_policy_decision_ignore(decision);
        return true;
    }
    return RefuseWhileOffline(uri, decision);
}

bool WebKitView::RefuseWhileOffline(const char* uri, WebKitPolicyDecision* decision) {
    if (!offline_ || !NeedsNetwork(uri)) return false;
    webkit_policy_decision_ignore(decision);
    return true;
}

void WebKitView::Closed() {
    Deliver([this] {
        if (events.OnQuit) events.OnQuit();
    });
}

void WebKitView::WebProcessTerminated() { answering_ = false; }

Gtk::Window* WebKitView::Toplevel() const {
    auto* window = dynamic_cast<Gtk::Window*>(widget_->get_toplevel());
    // A window that is never on screen cannot hold a dialog.
    if (!window || !window->get_is_toplevel() || GTK_IS_OFFSCREEN_WINDOW(window->gobj())) return nullptr;
    return window;
}

void WebKitView::SavePage() {
    auto life = LifeToken();
    const std::string path = AskSaveFileName(Toplevel(), SuggestedFileName(title_));
    if (path.empty() || life.expired()) return;
    GFile* file = g_file_new_for_path(path.c_str());
    webkit_web_view_save_to_file(
        view_, file, WEBKIT_SAVE_MODE_MHTML, nullptr,
        [](GObject* view, GAsyncResult* result, gpointer) {
            GError* error = nullptr;
            if (webkit_web_view_save_to_file_finish(WEBKIT_WEB_VIEW(view), result, &error)) return;
            ShowSaveFailure(error->message);
            g_error_free(error);
        },
        nullptr);
    g_object_unref(file);
}

void WebKitView::OpenNewWindow() { PlainBrowserWindow::Open(LocationURL(), offline_); }

void WebKitView::Print() {
    WebKitPrintOperation* operation = webkit_print_operation_new(view_);
    Gtk::Window* parent = Toplevel();
    webkit_print_operation_run_dialog(operation, parent ? parent->gobj() : nullptr);
    g_object_unref(operation);
}

void WebKitView::ShowFindBar() {
    if (!findBar_) findBar_ = std::make_unique<FindBar>(*widget_, webkit_web_view_get_find_controller(view_));
    findBar_->Open();
}

void WebKitView::ShowProperties() {
    std::string contentType;
    if (WebKitWebResource* page = webkit_web_view_get_main_resource(view_))
        if (WebKitURIResponse* response = webkit_web_resource_get_response(page))
            if (const char* type = webkit_uri_response_get_mime_type(response)) contentType = type;
    PagePropertiesDialog::Show(Toplevel(), LocationName(), LocationURL(), contentType);
}

}  // namespace platform
