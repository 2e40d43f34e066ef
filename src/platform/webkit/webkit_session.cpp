#include "platform/webkit/webkit_session.h"

#include <glib.h>
#include <webkit2/webkit2.h>

#include <utility>

#include "platform/webkit/webkit_download.h"

namespace platform::webkit {

std::string DataFolder() {
    gchar* folder = g_build_filename(g_get_user_data_dir(), "quellin", nullptr);
    std::string result = folder;
    g_free(folder);
    g_mkdir_with_parents(result.c_str(), 0700);
    return result;
}

std::string CookieStoreFile() { return DataFolder() + "/cookies.sqlite"; }

namespace {
WebKitWebContext* context = nullptr;

void StoreCookiesIn(const std::string& file) {
    webkit_cookie_manager_set_persistent_storage(webkit_web_context_get_cookie_manager(context), file.c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
}
}  // namespace

WebKitWebContext* Context() {
    if (context) return context;
    const std::string data = DataFolder();
    const std::string cache = data + "/cache";
    WebKitWebsiteDataManager* manager = webkit_website_data_manager_new(
        "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr);
    context = webkit_web_context_new_with_website_data_manager(manager);
    g_object_unref(manager);
    StoreCookiesIn(CookieStoreFile());
    HandleDownloads(context);
    return context;
}

void ReopenCookieStore() {
    if (!context) return;
    // The engine ignores being given the file it already stores in: it is handed a
    // store in memory first.
    StoreCookiesIn(":memory:");
    StoreCookiesIn(CookieStoreFile());
}

WebKitCookieManager* CookieManager() {
    return webkit_web_context_get_cookie_manager(Context());
}

namespace {
WebKitWebView* startedPage = nullptr;
}  // namespace

void StartEngine() {
    // Any question for the network process launches it; the answer is not needed.
    webkit_cookie_manager_get_accept_policy(CookieManager(), nullptr, nullptr, nullptr);
    // A web process is launched by the first load of a page, and an empty
    // document is the cheapest one.
    if (startedPage) return;
    startedPage = WEBKIT_WEB_VIEW(g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", Context(), nullptr)));
    webkit_web_view_load_html(startedPage, "", "about:blank");
}

WebKitWebView* TakeStartedPage() { return std::exchange(startedPage, nullptr); }

}  // namespace platform::webkit
