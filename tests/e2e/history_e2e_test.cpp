#include <gtest/gtest.h>
#include <glib.h>
#include <webkit2/webkit2.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <locale>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "app/State.h"
#include "memory_url_cache.h"
#include "page_script.h"
#include "platform/app.h"
#include "platform/url_cache.h"
#include "platform/webkit/webkit_view.h"
#include "soup_server.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Pump;
using testing_support::TestServer;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The resources that a view loaded in full, frames included, by address.
class LoadedResources {
public:
    explicit LoadedResources(WebKitWebView* view) : view_(view) {
        g_signal_connect(view, "resource-load-started", G_CALLBACK(Started), this);
    }
    ~LoadedResources() {
        g_signal_handlers_disconnect_by_data(view_, this);
        for (auto& [uri, resource] : finished_) g_object_unref(resource);
    }
    LoadedResources(const LoadedResources&) = delete;
    LoadedResources& operator=(const LoadedResources&) = delete;

    bool Has(const std::string& uri) const { return finished_.count(uri) != 0; }

private:
    static void Started(WebKitWebView*, WebKitWebResource* resource, WebKitURIRequest*, gpointer self) {
        g_signal_connect(resource, "failed", G_CALLBACK(+[](WebKitWebResource* failed, GError*, gpointer) {
            g_object_set_data(G_OBJECT(failed), "quellin-test-failed", GINT_TO_POINTER(1));
        }), nullptr);
        g_signal_connect(resource, "finished", G_CALLBACK(+[](WebKitWebResource* done, gpointer self) {
            if (g_object_get_data(G_OBJECT(done), "quellin-test-failed")) return;
            auto& finished = static_cast<LoadedResources*>(self)->finished_;
            if (finished.emplace(webkit_web_resource_get_uri(done), done).second) g_object_ref(done);
        }), self);
    }

    WebKitWebView* view_;
    std::map<std::string, WebKitWebResource*> finished_;
};

std::string FileUri(const fs::path& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string text = uri;
    g_free(uri);
    return text;
}

// The program with real WebKit views on a program folder of its own, with the
// supplied History.dat from beside the program.
class HistoryEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::TempRoot() / "program";
        fs::create_directories(folder);
        const char* binary = std::getenv("QUELLIN_BINARY");  // the program, with the supplied files beside it
        ASSERT_NE(binary, nullptr);
        const fs::path supplied = fs::path(binary).parent_path() / "History.dat";
        fs::copy_file(supplied, folder / "History.dat", fs::copy_options::overwrite_existing);
        platform::SetAppPathForTesting(folder.string());
        platform::SetUrlCache(std::make_unique<platform::MemoryUrlCache>());
    }

    void Start(const std::string& address) {
        platform::SetCommandForTesting(address);
        frmSplash.Get();
    }

    WebKitWebView* View(int tab) {
        return dynamic_cast<platform::WebKitView&>(frmMain->WebBrowser1(tab).View()).WebView();
    }

    bool Settled(int tab) { return !frmMain->Timer1(tab).Enabled() && !frmMain->WebBrowser1(tab).Busy(); }

    std::string DayPage() { return ReadText(folder / "history" / testing_support::TodaysPageName()); }

    fs::path folder;
    TestServer server;
};

TEST_F(HistoryEndToEnd, APageLoadedInATabIsRecordedOnceAndHistoryShowsIt) {
    server.Add("/visited", "<html><head><title>Visited &amp; seen</title></head><body>Hello</body></html>");
    const std::string url = server.Url("/visited");
    const std::string addressLine = "<font face=\"Arial\"><font size=\"1\">" + url + "</font><br>\r\n";

    Start(url);
    ASSERT_TRUE(Pump([&] { return DayPage().find(addressLine) != std::string::npos; }));
    ASSERT_TRUE(Pump([&] { return Settled(0); }));
    EXPECT_NE(DayPage().find("<a href=\"" + url + "\" target=\"_top\">Visited &amp; seen</a> at "), std::string::npos);

    // Reloading the page adds nothing.
    frmMain->ClickBar("Refresh");
    ASSERT_TRUE(Pump([&] { return server.Hits("/visited") == 2 && Settled(0); }));
    EXPECT_EQ(Occurrences(DayPage(), addressLine), 1);

    LoadedResources loaded(View(0));
    frmMain->ClickBar("History");
    const std::string framePage = FileUri(folder / "history.htm");
    ASSERT_TRUE(Pump([&] { return frmMain->WebBrowser1(0).LocationURL() == framePage && Settled(0); }));
    EXPECT_EQ(frmMain->WebBrowser1(0).LocationName(), "History");
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 0);

    // Both frames loaded: the index and today's page.
    const std::string dayPage = FileUri(folder / "history" / testing_support::TodaysPageName());
    const std::string index = FileUri(folder / "contents.htm");
    ASSERT_TRUE(Pump([&] { return loaded.Has(dayPage) && loaded.Has(index); }));
    EXPECT_EQ(testing_support::EvaluateScript(View(0), "document.getElementById('date').getAttribute('src')"), "history/" + testing_support::TodaysPageName());
}

}  // namespace
