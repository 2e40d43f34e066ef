#include <gtest/gtest.h>
#include <gtkmm/offscreenwindow.h>
#include <glib.h>

#include <string>

#include "platform/webkit/webkit_session.h"
#include "platform/webkit/webkit_view.h"
#include "soup_server.h"
#include "test_support.h"
#include "web_processes.h"

namespace {

using testing_support::Pump;
using testing_support::TestServer;

int WebProcesses() { return static_cast<int>(testing_support::WebProcesses().size()); }

struct ShownView {
    ShownView() {
        window.set_default_size(320, 240);
        window.add(view.Widget());
        window.show_all();
        view.events.DocumentComplete = [this](const std::string& url) { completed = url; };
    }
    Gtk::OffscreenWindow window;
    platform::WebKitView view;
    std::string completed;
};

TEST(EngineStartTest, TheFirstViewTakesOverTheWebProcessStartedAheadAndLaterViewsGetTheirOwn) {
    TestServer server;
    server.Add("/page", "<html><head><title>Started ahead</title></head><body>page</body></html>");

    platform::webkit::StartEngine();
    ASSERT_TRUE(Pump([] { return WebProcesses() == 1; })) << "no web process was started ahead";

    ShownView first;
    first.view.Navigate(server.Url("/page"));
    ASSERT_TRUE(Pump([&] { return first.completed == server.Url("/page") && !first.view.Busy(); }));
    EXPECT_EQ(first.view.LocationName(), "Started ahead");
    EXPECT_EQ(WebProcesses(), 1) << "the first page did not run in the process started ahead";

    ShownView second;
    second.view.Navigate(server.Url("/page"));
    ASSERT_TRUE(Pump([&] { return second.completed == server.Url("/page") && !second.view.Busy(); }));
    EXPECT_EQ(WebProcesses(), 2) << "only the first view takes over the process started ahead";
}

}  // namespace
