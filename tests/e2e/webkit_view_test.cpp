#include <gtest/gtest.h>
#include <gtkmm/clipboard.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/label.h>
#include <gtkmm/offscreenwindow.h>
#include <gio/gio.h>
#include <glib.h>
#include <glibmm/main.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/text.h"
#include "platform/webkit/find_bar.h"
#include "platform/webkit/page_properties_dialog.h"
#include "platform/webkit/plain_browser_window.h"
#include "platform/webkit/webkit_view.h"
#include "page_script.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

using platform::BrowserView;
using platform::PlainBrowserWindow;
using platform::WebKitView;
using testing_support::Pump;
using testing_support::PumpFor;
using testing_support::TestServer;

std::string Page(const std::string& title, const std::string& body = "") {
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

// Runs a script in the view's page and gives back its value as text.
std::string Evaluate(WebKitView& view, const std::string& script) {
    return testing_support::EvaluateScript(view.WebView(), script);
}

std::vector<PlainBrowserWindow*> PlainWindows() {
    std::vector<PlainBrowserWindow*> found;
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* plain = dynamic_cast<PlainBrowserWindow*>(window)) found.push_back(plain);
    return found;
}

PlainBrowserWindow* PlainWindowShowing(const std::string& url) {
    for (PlainBrowserWindow* window : PlainWindows())
        if (window->get_visible() && window->View().LocationURL() == url && !window->View().Busy()) return window;
    return nullptr;
}

template <typename Window>
Window* Toplevel() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* found = dynamic_cast<Window*>(window)) return found;
    return nullptr;
}

// Answers a modal dialog of that GTK type once it is up, again and again until it
// closes (a file chooser ignores an answer while it is still reading its folder);
// gives up after 10 s.
void AnswerDialogWhenShown(GType type, std::function<void(Gtk::Window&)> answer) {
    Glib::signal_timeout().connect([type, answer, ticksLeft = 200, answered = false]() mutable {
        bool shown = false;
        for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
            if (window->get_visible() && G_TYPE_CHECK_INSTANCE_TYPE(window->gobj(), type)) {
                shown = answered = true;
                answer(*window);
            }
        }
        return (shown || !answered) && --ticksLeft > 0;
    }, 50);
}

// Moves the pointer over the view as the X server would report it.
void MovePointer(Gtk::Widget& widget, double x, double y) {
    GdkEvent* event = gdk_event_new(GDK_MOTION_NOTIFY);
    event->motion.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget.gobj())));
    event->motion.send_event = TRUE;
    event->motion.time = GDK_CURRENT_TIME;
    event->motion.x = x;
    event->motion.y = y;
    event->motion.x_root = x;
    event->motion.y_root = y;
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_widget_event(widget.gobj(), event);
    gdk_event_free(event);
}

class WebKitViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        Show(view_, window_);
        Record(view_);
    }

    void TearDown() override {
        for (PlainBrowserWindow* window : PlainWindows()) window->hide();
        PumpFor(50);
    }

    static void Show(WebKitView& view, Gtk::OffscreenWindow& window) {
        window.set_default_size(640, 480);
        window.add(view.Widget());
        window.show_all();
    }

    void Record(WebKitView& view) {
        view.events.DownloadBegin = [this] { log_.push_back("DownloadBegin"); };
        view.events.ProgressChange = [this](long progress, long progressMax) {
            EXPECT_EQ(progressMax, BrowserView::ProgressMax);
            EXPECT_GE(progress, 0);
            EXPECT_LE(progress, progressMax);
            log_.push_back(progress == 0 ? "Progress 0" : "Progress");
        };
        view.events.TitleChange = [this](const std::string& title) { log_.push_back("Title " + title); };
        view.events.DocumentComplete = [this, &view](const std::string& url) {
            log_.push_back("Complete " + url);
            titleAtComplete_ = view.LocationName();
        };
        view.events.StatusTextChange = [this](const std::string& text) { log_.push_back("Status " + text); };
        view.events.OnQuit = [this] { log_.push_back("Quit"); };
    }

    bool Logged(const std::string& entry) const {
        return std::find(log_.begin(), log_.end(), entry) != log_.end();
    }

    // Navigates and waits until the page has been loaded.
    void Load(const std::string& address, const std::string& expectedUrl = "") {
        const std::string url = expectedUrl.empty() ? address : expectedUrl;
        log_.clear();
        view_.Navigate(address);
        ASSERT_TRUE(Pump([&] { return Logged("Complete " + url) && !view_.Busy(); })) << "no load of " << url;
    }

    TestServer server_;
    std::vector<std::string> log_;
    std::string titleAtComplete_;
    Gtk::OffscreenWindow window_;
    WebKitView view_;
};

TEST_F(WebKitViewTest, NavigateReturnsAtOnceAndTheLoadEventsFollowInOrder) {
    server_.Add("/slow", TestServer::Page{Page("Slow page", "<p>late</p>"), "text/html", {}, 300});
    const std::string url = server_.Url("/slow");

    view_.Navigate(url);
    EXPECT_TRUE(log_.empty()) << "events must come later, from the main loop";
    EXPECT_TRUE(view_.Busy());
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + url); }));
    EXPECT_FALSE(view_.Busy());

    EXPECT_EQ(view_.LocationName(), "Slow page");
    EXPECT_EQ(view_.LocationURL(), url);
    EXPECT_EQ(titleAtComplete_, "Slow page") << "the title must be readable when the document is complete";

    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_.front(), "DownloadBegin");
    const auto progress = std::find(log_.begin(), log_.end(), "Progress");
    const auto title = std::find(log_.begin(), log_.end(), "Title Slow page");
    const auto complete = std::find(log_.begin(), log_.end(), "Complete " + url);
    EXPECT_LT(progress, complete) << "progress is reported while loading";
    EXPECT_LT(title, complete);
    EXPECT_EQ(log_.back(), "Progress 0") << "an idle view reports no progress";
}

TEST_F(WebKitViewTest, AFreshViewHasNoTitleNoAddressAndIsIdle) {
    EXPECT_EQ(view_.LocationName(), "");
    EXPECT_EQ(view_.LocationURL(), "");
    EXPECT_FALSE(view_.Busy());
    view_.Navigate("");
    // The engine handles navigations in turn: once the next one has finished, the
    // empty one would have reported whatever it was going to.
    server_.Add("/next", Page("Next"));
    view_.Navigate(server_.Url("/next"));
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/next")) && !view_.Busy(); }));
    EXPECT_EQ(std::count_if(log_.begin(), log_.end(), [](const std::string& entry) { return entry.starts_with("Complete"); }), 1)
        << "an empty address loads nothing";
    EXPECT_EQ(log_.front(), "DownloadBegin");
}

TEST_F(WebKitViewTest, AnAbsoluteLocalPathIsLoadedAsAFileUri) {
    const auto folder = testing_support::TempRoot() / "local pages";
    std::filesystem::create_directories(folder);
    const auto path = folder / "start page.html";
    std::ofstream(path) << Page("Local page");
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    const std::string expected = uri;
    g_free(uri);

    Load(path.string(), expected);
    EXPECT_EQ(view_.LocationURL(), expected);
    EXPECT_NE(expected.find("start%20page.html"), std::string::npos);
    ASSERT_TRUE(Pump([&] { return view_.LocationName() == "Local page"; }));
}

TEST_F(WebKitViewTest, AMailAddressGoesToTheDesktopsMailProgramAndThePageStays) {
    // A mail program of this test's own desktop, which notes the address it was given.
    const auto noted = testing_support::TempRoot() / "mail-program-was-given.txt";
    const auto program = testing_support::TempRoot() / "mail-program";
    std::ofstream(program) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << noted.string() << ".part' && mv '"
                           << noted.string() << ".part' '" << noted.string() << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::filesystem::path applications = std::filesystem::path(g_get_user_data_dir()) / "applications";
    std::filesystem::create_directories(applications);
    std::ofstream(applications / "test-mail.desktop")
        << "[Desktop Entry]\nType=Application\nName=Test mail\nExec=" << program.string()
        << " %u\nMimeType=x-scheme-handler/mailto;\n";
    std::ofstream(std::filesystem::path(g_get_user_config_dir()) / "mimeapps.list")
        << "[Default Applications]\nx-scheme-handler/mailto=test-mail.desktop\n";

    server_.Add("/page", Page("Page"));
    Load(server_.Url("/page"));
    view_.Navigate("mailto:someone@example.org");
    ASSERT_TRUE(Pump([&] { return std::filesystem::exists(noted); })) << "no mail program was started";
    std::ifstream given(noted);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(given), {}), "mailto:someone@example.org");
    EXPECT_EQ(view_.LocationURL(), server_.Url("/page"));
}

TEST_F(WebKitViewTest, AnAddressWithoutASchemeIsLoadedOverHttpAndAPageWithoutATitleIsKnownByItsAddress) {
    server_.Add("/untitled", "<html><body>no title here</body></html>");
    const std::string url = server_.Url("/untitled");
    Load(url.substr(std::string("http://").size()), url);
    EXPECT_EQ(view_.LocationURL(), url);
    EXPECT_EQ(view_.LocationName(), url);
}

TEST_F(WebKitViewTest, ViewSourceShowsTheSourceOfThePageOnDisplay) {
    const std::string body = "<p class=\"x\">Fish &amp; chips</p><script>document.title = 'Changed';</script>";
    server_.Add("/page", Page("Menu", body));
    Load(server_.Url("/page"));
    Load("view-source:" + server_.Url("/page"));
    EXPECT_EQ(view_.LocationName(), "Source of " + server_.Url("/page"));
    EXPECT_EQ(Evaluate(view_, "document.querySelector('pre').textContent"), Page("Menu", body));
    EXPECT_EQ(server_.Hits("/page"), 1) << "the source is the copy already loaded";

    // Another page's source is not fetched, and web pages cannot open the scheme.
    server_.Add("/other", Page("Other"));
    Load("view-source:" + server_.Url("/other"));
    EXPECT_EQ(server_.Hits("/other"), 0);
    server_.Add("/sneaky", Page("Sneaky", "<script>location.href = 'view-source:' + location.href;</script>"));
    Load(server_.Url("/sneaky"));
    PumpFor(300);
    EXPECT_EQ(view_.LocationURL(), server_.Url("/sneaky"));
    EXPECT_EQ(view_.LocationName(), "Sneaky");
}

TEST_F(WebKitViewTest, GoesBackAndForwardAndRaisesWhereThereIsNoPage) {
    server_.Add("/one", Page("One"));
    server_.Add("/two", Page("Two"));

    for (auto move : {&WebKitView::GoBack, &WebKitView::GoForward}) {
        try {
            (view_.*move)();
            ADD_FAILURE() << "a view without history must raise";
        } catch (const platform::ToolkitError& error) {
            EXPECT_EQ(error.Description(), "Unspecified error");
        }
    }

    Load(server_.Url("/one"));
    Load(server_.Url("/two"));
    EXPECT_THROW(view_.GoForward(), platform::ToolkitError);

    log_.clear();
    view_.GoBack();
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/one")) && !view_.Busy(); }));
    EXPECT_EQ(view_.LocationURL(), server_.Url("/one"));
    EXPECT_EQ(view_.LocationName(), "One");
    EXPECT_THROW(view_.GoBack(), platform::ToolkitError);

    log_.clear();
    view_.GoForward();
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/two")) && !view_.Busy(); }));
    EXPECT_EQ(view_.LocationName(), "Two");
}

TEST_F(WebKitViewTest, GoHomeLoadsTheHomePageAndRefreshLoadsAgain) {
    server_.Add("/home", Page("Home"));
    platform::SetHomePage(server_.Url("/home"));
    log_.clear();
    view_.GoHome();
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/home")); }));
    EXPECT_EQ(server_.Hits("/home"), 1);

    log_.clear();
    view_.Refresh();
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/home")); }));
    EXPECT_EQ(server_.Hits("/home"), 2);
    platform::SetHomePage("about:blank");
}

TEST_F(WebKitViewTest, StopEndsALoadThatIsUnderWay) {
    server_.Add("/never", TestServer::Page{Page("Late"), "text/html", {}, 5000});
    view_.Navigate(server_.Url("/never"));
    ASSERT_TRUE(Pump([&] { return Logged("DownloadBegin"); }));
    view_.Stop();
    ASSERT_TRUE(Pump([&] { return !view_.Busy(); }, 2000));
    EXPECT_NE(view_.LocationName(), "Late");
}

TEST_F(WebKitViewTest, OfflineRefusesNetworkLoadsUntilSwitchedBack) {
    server_.Add("/page", Page("Network page"));
    server_.Add("/picture.png", TestServer::Page{"not really a picture", "image/png", {}, 0});
    const auto path = testing_support::TempRoot() / "with-picture.html";
    std::ofstream(path) << Page("Local", "<img src='" + server_.Url("/picture.png") + "'>");

    EXPECT_FALSE(view_.Offline());
    view_.SetOffline(true);
    EXPECT_TRUE(view_.Offline());

    view_.Navigate(server_.Url("/page"));
    ASSERT_TRUE(Pump([&] { return !view_.Busy(); }));
    PumpFor(300);
    EXPECT_EQ(server_.Hits("/page"), 0);
    EXPECT_NE(view_.LocationName(), "Network page");

    // A local page still loads, without the pictures it would fetch from the network.
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    const std::string localUrl = uri;
    g_free(uri);
    // The page's load ends only once its pictures have been fetched or refused.
    Load(path.string(), localUrl);
    EXPECT_EQ(server_.Hits("/picture.png"), 0);

    view_.SetOffline(false);
    EXPECT_FALSE(view_.Offline());
    Load(server_.Url("/page"));
    EXPECT_EQ(server_.Hits("/page"), 1);
    Load(path.string(), localUrl);
    EXPECT_TRUE(Pump([&] { return server_.Hits("/picture.png") == 1; }));
}

// A port on 127.0.0.1 that counts the connections made to it and closes each at once:
// a load that comes here fails, but the connection shows that it was tried.
class ConnectionCounter {
public:
    ConnectionCounter() : service_(g_socket_service_new()) {
        GInetAddress* loopback = g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4);
        GSocketAddress* address = g_inet_socket_address_new(loopback, 0);
        GSocketAddress* bound = nullptr;
        const bool listening = g_socket_listener_add_address(G_SOCKET_LISTENER(service_), address, G_SOCKET_TYPE_STREAM,
                                                             G_SOCKET_PROTOCOL_TCP, nullptr, &bound, nullptr);
        g_object_unref(address);
        g_object_unref(loopback);
        if (!listening) throw std::runtime_error("cannot listen on 127.0.0.1");
        port_ = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(bound));
        g_object_unref(bound);
        g_signal_connect(service_, "incoming", G_CALLBACK(&Incoming), this);
        g_socket_service_start(service_);
    }
    ~ConnectionCounter() {
        g_socket_service_stop(service_);
        g_socket_listener_close(G_SOCKET_LISTENER(service_));
        g_object_unref(service_);
    }
    ConnectionCounter(const ConnectionCounter&) = delete;
    ConnectionCounter& operator=(const ConnectionCounter&) = delete;

    std::string Url(const std::string& scheme, const std::string& path) const {
        return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
    }
    int Connections() const { return connections_; }

private:
    // The service closes the connection once this returns.
    static gboolean Incoming(GSocketService*, GSocketConnection*, GObject*, gpointer self) {
        ++static_cast<ConnectionCounter*>(self)->connections_;
        return TRUE;
    }

    GSocketService* service_;
    int port_ = 0;
    int connections_ = 0;
};

TEST_F(WebKitViewTest, OfflineNeverConnectsToTheNetworkOverHttpOrHttps) {
    for (const std::string scheme : {"http", "https"}) {
        SCOPED_TRACE(scheme);
        ConnectionCounter network;
        const auto path = testing_support::TempRoot() / (scheme + "-picture.html");
        std::ofstream(path) << Page("Local", "<img src='" + network.Url(scheme, "/picture.png") + "'>");
        gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        const std::string localUrl = uri;
        g_free(uri);
        view_.SetOffline(true);

        // Asked for a page, the view starts no load and does not even connect to its host.
        log_.clear();
        view_.Navigate(network.Url(scheme, "/page"));
        ASSERT_TRUE(Pump([&] { return !view_.Busy(); }));
        EXPECT_FALSE(Logged("DownloadBegin"));
        EXPECT_EQ(network.Connections(), 0);

        // A local page loads without its picture from the network; once online, the
        // picture is asked for.
        Load(path.string(), localUrl);
        EXPECT_EQ(network.Connections(), 0);
        view_.SetOffline(false);
        Load(path.string(), localUrl);
        EXPECT_TRUE(Pump([&] { return network.Connections() > 0; }));
    }
}

class NewWindowTest : public WebKitViewTest {
protected:
    void SetUp() override {
        WebKitViewTest::SetUp();
        server_.Add("/popup", Page("Pop-up"));
        server_.Add("/opener", Page("Opener", "<script>window.open('/popup', 'extra');</script>"));
    }

    void OpenPopup() {
        view_.Navigate(server_.Url("/opener"));
        ASSERT_TRUE(Pump([&] { return asked_; })) << "no NewWindow2";
    }

    bool asked_ = false;
};

TEST_F(NewWindowTest, CancellingSuppressesTheWindow) {
    view_.events.NewWindow2 = [this](BrowserView*& ppDisp, bool& cancel) {
        asked_ = true;
        EXPECT_EQ(ppDisp, nullptr);
        cancel = true;
    };
    OpenPopup();
    // The page hears the answer before it runs its next script.
    EXPECT_EQ(Evaluate(view_, "window.open('/popup') === null"), "true");
    EXPECT_TRUE(PlainWindows().empty());
    EXPECT_EQ(server_.Hits("/popup"), 0);
}

TEST_F(NewWindowTest, AnotherViewHandedBackLoadsThePopup) {
    Gtk::OffscreenWindow otherWindow;
    WebKitView other;
    Show(other, otherWindow);
    std::string otherCompleted;
    other.events.DocumentComplete = [&](const std::string& url) { otherCompleted = url; };
    view_.events.NewWindow2 = [&](BrowserView*& ppDisp, bool&) {
        asked_ = true;
        ppDisp = &other;
    };

    OpenPopup();
    ASSERT_TRUE(Pump([&] { return otherCompleted == server_.Url("/popup"); }));
    EXPECT_EQ(other.LocationName(), "Pop-up");
    EXPECT_TRUE(PlainWindows().empty());
    EXPECT_EQ(server_.Hits("/popup"), 1);
}

TEST_F(NewWindowTest, APopupAskedForWhileHandlersAreBlockedIsDecidedOnceTheyRunAgain) {
    Gtk::OffscreenWindow otherWindow;
    WebKitView other;
    Show(other, otherWindow);
    view_.events.NewWindow2 = [&](BrowserView*& ppDisp, bool&) {
        asked_ = true;
        ppDisp = &other;
    };
    {
        platform::HandlerBlock block;
        view_.Navigate(server_.Url("/opener"));
        ASSERT_TRUE(Pump([&] { return !view_.Busy(); }));
        PumpFor(200);
        EXPECT_FALSE(asked_);
    }
    ASSERT_TRUE(Pump([&] { return asked_; }));
    ASSERT_TRUE(Pump([&] { return other.LocationURL() == server_.Url("/popup") && !other.Busy(); }));
    EXPECT_EQ(other.LocationName(), "Pop-up");
    EXPECT_TRUE(PlainWindows().empty());
}

TEST_F(NewWindowTest, LeftAloneThePopupOpensInAPlainWindowThatItsPageCanClose) {
    view_.events.NewWindow2 = [this](BrowserView*&, bool&) { asked_ = true; };
    OpenPopup();
    PlainBrowserWindow* popup = nullptr;
    ASSERT_TRUE(Pump([&] { return (popup = PlainWindowShowing(server_.Url("/popup"))) != nullptr; }));
    ASSERT_TRUE(Pump([&] { return popup->get_title() == "Pop-up"; }));

    // The opener keeps its hold on the window it opened.
    EXPECT_EQ(Evaluate(view_, "document.title"), "Opener");
    Evaluate(popup->View(), "window.close()");
    ASSERT_TRUE(Pump([&] { return PlainWindows().empty(); })) << "the page's window.close() must close the window";
}

TEST_F(NewWindowTest, APopupOfAnOfflineViewIsOfflineToo) {
    view_.events.NewWindow2 = [this](BrowserView*&, bool&) { asked_ = true; };
    view_.SetOffline(true);
    const auto path = testing_support::TempRoot() / "opener.html";
    std::ofstream(path) << Page("Local opener", "<script>window.open('" + server_.Url("/popup") + "');</script>");
    view_.Navigate(path.string());
    ASSERT_TRUE(Pump([&] { return asked_; }));
    ASSERT_TRUE(Pump([&] { return !PlainWindows().empty(); }));
    EXPECT_TRUE(PlainWindows().front()->View().Offline());
    PumpFor(300);
    EXPECT_EQ(server_.Hits("/popup"), 0);
}

TEST_F(WebKitViewTest, APageClosingItsWindowRaisesOnQuit) {
    server_.Add("/closing", Page("Closing", "<script>window.close();</script>"));
    view_.Navigate(server_.Url("/closing"));
    ASSERT_TRUE(Pump([&] { return Logged("Quit"); }));
}

TEST_F(WebKitViewTest, AfterTheWebProcessEndsBusyRaisesFromThenOn) {
    server_.Add("/page", Page("Page"));
    Load(server_.Url("/page"));
    webkit_web_view_terminate_web_process(view_.WebView());
    auto raises = [&] {
        try {
            view_.Busy();
            return false;
        } catch (const platform::ToolkitError& error) {
            EXPECT_EQ(error.Number(), platform::errors::ObjectNotResponding);
            return true;
        }
    };
    ASSERT_TRUE(Pump(raises));
    view_.Navigate(server_.Url("/page"));
    PumpFor(300);
    EXPECT_TRUE(raises());
    EXPECT_EQ(server_.Hits("/page"), 1);
}

TEST_F(WebKitViewTest, DestroyingAViewInTheMiddleOfALoadIsClean) {
    server_.Add("/slow", TestServer::Page{Page("Slow"), "text/html", {}, 300});
    Gtk::OffscreenWindow window;
    auto view = std::make_unique<WebKitView>();
    Show(*view, window);
    Record(*view);
    view->Navigate(server_.Url("/slow"));
    ASSERT_TRUE(Pump([&] { return Logged("DownloadBegin"); }));
    view.reset();
    // The same slow page, asked for later by a live view, is answered after the
    // destroyed view's request would have been.
    log_.clear();
    view_.Navigate(server_.Url("/slow"));
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/slow")); }));
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "Complete " + server_.Url("/slow")), 1)
        << "a destroyed view reports nothing";
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "DownloadBegin"), 1);
}

TEST_F(WebKitViewTest, AViewOutlivingItsWindowIsDestroyedCleanly) {
    server_.Add("/page", Page("Page", "<p>words</p>"));
    auto window = std::make_unique<Gtk::OffscreenWindow>();
    auto view = std::make_unique<WebKitView>();
    Show(*view, *window);
    Record(*view);
    view->Navigate(server_.Url("/page"));
    ASSERT_TRUE(Pump([&] { return !view->Busy(); }));
    view->SendKeys("^f");
    view->Finder()->Find("words");
    window.reset();
    PumpFor(100);
    view.reset();
    PumpFor(100);
}

TEST_F(WebKitViewTest, EventsHeldBackWhileHandlersAreBlockedArriveAfterwards) {
    server_.Add("/page", Page("Page"));
    {
        platform::HandlerBlock block;
        view_.Navigate(server_.Url("/page"));
        ASSERT_TRUE(Pump([&] { return !view_.Busy(); }));
        EXPECT_TRUE(log_.empty());
    }
    ASSERT_TRUE(Pump([&] { return Logged("Complete " + server_.Url("/page")); }));
    EXPECT_EQ(log_.front(), "DownloadBegin");
}

TEST_F(WebKitViewTest, StatusTextNamesTheLinkUnderThePointer) {
    server_.Add("/target", Page("Target"));
    server_.Add("/links", Page("Links",
        "<a href='/target' style='display:block;position:absolute;left:0;top:0;width:200px;height:100px'>go</a>"));
    Load(server_.Url("/links"));
    log_.clear();
    ASSERT_TRUE(Pump([&] {
        MovePointer(view_.Widget(), 50, 50);
        PumpFor(20);
        return Logged("Status " + server_.Url("/target"));
    }));
    ASSERT_TRUE(Pump([&] {
        MovePointer(view_.Widget(), 400, 300);
        PumpFor(20);
        return log_.back() == "Status ";
    }));
}

TEST_F(WebKitViewTest, EditingCommandsCutPasteAndSelectAll) {
    server_.Add("/form", Page("Form", "<input id='a' value='alpha'><input id='b'>"));
    Load(server_.Url("/form"));
    Evaluate(view_, "document.getElementById('a').focus()");
    view_.ExecWB(BrowserView::SelectAll, 2);
    view_.ExecWB(BrowserView::Cut, 2);
    ASSERT_TRUE(Pump([&] { return Evaluate(view_, "document.getElementById('a').value") == ""; }));
    Evaluate(view_, "document.getElementById('b').focus()");
    view_.ExecWB(BrowserView::Paste, 2);
    EXPECT_TRUE(Pump([&] { return Evaluate(view_, "document.getElementById('b').value") == "alpha"; }));
    EXPECT_THROW(view_.ExecWB(99, 0), platform::ToolkitError);
}

TEST_F(WebKitViewTest, SaveAsAsksForAFileAndWritesTheArchive) {
    server_.Add("/keep", Page("Worth keeping", "<p>kept words</p>"));
    Load(server_.Url("/keep"));
    const auto target = testing_support::TempRoot() / "saved.mht";
    std::string suggested;
    AnswerDialogWhenShown(GTK_TYPE_FILE_CHOOSER_DIALOG, [&](Gtk::Window& window) {
        auto& dialog = dynamic_cast<Gtk::FileChooserDialog&>(window);
        if (suggested.empty()) suggested = dialog.get_current_name();
        dialog.set_current_folder(target.parent_path().string());
        dialog.set_current_name(target.filename().string());
        dialog.response(Gtk::RESPONSE_ACCEPT);
    });
    view_.ExecWB(BrowserView::SaveAs, 0);
    EXPECT_EQ(suggested, "Worth keeping.mht");
    auto saved = [&] {
        std::ifstream in(target);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return text.find("kept words") != std::string::npos;
    };
    EXPECT_TRUE(Pump(saved));
}

TEST_F(WebKitViewTest, ShortcutNewWindowOpensAPlainWindowOnTheSamePage) {
    server_.Add("/page", Page("Same page"));
    Load(server_.Url("/page"));
    view_.SendKeys("^n");
    PlainBrowserWindow* window = nullptr;
    ASSERT_TRUE(Pump([&] { return (window = PlainWindowShowing(server_.Url("/page"))) != nullptr; }));
    EXPECT_EQ(window->View().LocationName(), "Same page");
}

TEST_F(WebKitViewTest, ShortcutFindOpensABarThatCountsMatches) {
    server_.Add("/text", Page("Text", "<p>needle hay needle hay Needle</p>"));
    Load(server_.Url("/text"));
    EXPECT_EQ(view_.Finder(), nullptr);
    view_.SendKeys("^f");
    ASSERT_NE(view_.Finder(), nullptr);
    EXPECT_TRUE(view_.Finder()->get_visible());
    view_.Finder()->Find("needle");
    EXPECT_TRUE(Pump([&] { return view_.Finder()->Outcome() == "3 matches"; })) << view_.Finder()->Outcome();
    view_.Finder()->Find("thread");
    EXPECT_TRUE(Pump([&] { return view_.Finder()->Outcome() == "Phrase not found"; })) << view_.Finder()->Outcome();
}

TEST_F(WebKitViewTest, ShortcutPropertiesShowsTitleAddressAndType) {
    server_.Add("/page", Page("Described"));
    Load(server_.Url("/page"));
    view_.SendKeys("+{F10}p");
    auto* dialog = Toplevel<platform::PagePropertiesDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->get_visible());
    EXPECT_EQ(dialog->get_title(), "Properties");
    EXPECT_EQ(dialog->Value("Title:"), "Described");
    EXPECT_EQ(dialog->Value("Address:"), server_.Url("/page"));
    EXPECT_EQ(dialog->Value("Type:"), "text/html");
    dialog->response(Gtk::RESPONSE_CLOSE);
    EXPECT_TRUE(Pump([] { return Toplevel<platform::PagePropertiesDialog>() == nullptr; }));
}

// The label of the window that shows the text, searched through its containers.
Gtk::Label* LabelShowing(Gtk::Widget& widget, const std::string& text) {
    if (auto* label = dynamic_cast<Gtk::Label*>(&widget)) return label->get_text() == text ? label : nullptr;
    auto* container = dynamic_cast<Gtk::Container*>(&widget);
    if (!container) return nullptr;
    for (Gtk::Widget* child : container->get_children())
        if (Gtk::Label* found = LabelShowing(*child, text)) return found;
    return nullptr;
}

TEST_F(WebKitViewTest, PropertiesOfAHugeAddressShowOneScreenLineAndCopyTheAddressWhole) {
    const std::string address = "data:text/html," + std::string(2'000'000, 'a');
    Load(address);
    view_.SendKeys("+{F10}p");
    auto* dialog = Toplevel<platform::PagePropertiesDialog>();
    ASSERT_NE(dialog, nullptr);
    const std::string shown = dialog->Value("Address:");
    EXPECT_LE(g_utf8_strlen(shown.c_str(), -1), platform::ScreenLineChars);
    EXPECT_EQ(shown.substr(0, 20), address.substr(0, 20));
    Gtk::Label* label = LabelShowing(*dialog, shown);
    ASSERT_NE(label, nullptr);
    for (int start : {0, 5}) {
        label->select_region(start, -1);
        g_signal_emit_by_name(label->gobj(), "copy-clipboard");
        EXPECT_EQ(Gtk::Clipboard::get()->wait_for_text().raw(), address.substr(start)) << "selected from " << start;
    }
    dialog->response(Gtk::RESPONSE_CLOSE);
    EXPECT_TRUE(Pump([] { return Toplevel<platform::PagePropertiesDialog>() == nullptr; }));
}

TEST_F(WebKitViewTest, ShortcutPrintShowsThePrintDialog) {
    server_.Add("/page", Page("Printable"));
    Load(server_.Url("/page"));
    std::string shown;
    AnswerDialogWhenShown(GTK_TYPE_DIALOG, [&](Gtk::Window& window) {
        shown = G_OBJECT_TYPE_NAME(window.gobj());
        gtk_dialog_response(GTK_DIALOG(window.gobj()), GTK_RESPONSE_CANCEL);
    });
    view_.SendKeys("^p");
    EXPECT_EQ(shown, "GtkPrintUnixDialog");
}

TEST(DefaultBrowserViewFactory, MakesWebKitViews) {
    EXPECT_NE(dynamic_cast<WebKitView*>(platform::NewBrowserView().get()), nullptr);
}

}  // namespace
