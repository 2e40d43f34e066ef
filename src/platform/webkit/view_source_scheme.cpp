#include "platform/webkit/view_source_scheme.h"

#include <gio/gio.h>
#include <webkit2/webkit2.h>

#include <cstring>
#include <string>

#include "platform/glib_ptr.h"
#include "platform/webkit/webkit_session.h"

namespace platform::webkit {

namespace {

constexpr char Scheme[] = "view-source";
// Where a view keeps the page whose source it is about to show.
constexpr char KeptPage[] = "quellin-page-for-source";

std::string Escaped(const char* text, gssize length) {
    return TakeGString(g_markup_escape_text(text, length));
}

void RespondWithSource(WebKitURISchemeRequest* request, const std::string& address, const guchar* data,
                       gsize length) {
    const GCharPtr text(g_utf8_make_valid(reinterpret_cast<const gchar*>(data), static_cast<gssize>(length)));
    const std::string page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Source of " +
                             Escaped(address.c_str(), -1) +
                             "</title></head><body><pre style=\"white-space: pre-wrap\">" + Escaped(text.get(), -1) +
                             "</pre></body></html>";
    GBytes* bytes = g_bytes_new(page.data(), page.size());
    const GObjectPtr<GInputStream> stream(g_memory_input_stream_new_from_bytes(bytes));
    webkit_uri_scheme_request_finish(request, stream.get(), static_cast<gint64>(page.size()), "text/html");
    g_bytes_unref(bytes);
}

void RespondNotAvailable(WebKitURISchemeRequest* request) {
    const GErrorPtr error(
        g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "The source is only shown for the page on display."));
    webkit_uri_scheme_request_finish_error(request, error.get());
}

void ServeSource(WebKitURISchemeRequest* request, gpointer) {
    const std::string address = webkit_uri_scheme_request_get_uri(request) + std::strlen(Scheme) + 1;
    WebKitWebView* view = webkit_uri_scheme_request_get_web_view(request);
    auto* kept = view ? static_cast<WebKitWebResource*>(g_object_steal_data(G_OBJECT(view), KeptPage)) : nullptr;
    if (!kept || address != webkit_web_resource_get_uri(kept)) {
        if (kept) g_object_unref(kept);
        return RespondNotAvailable(request);
    }

    struct Pending {
        WebKitURISchemeRequest* request;
        std::string address;
    };
    webkit_web_resource_get_data(
        kept, nullptr,
        [](GObject* resource, GAsyncResult* result, gpointer data) {
            auto* pending = static_cast<Pending*>(data);
            gsize length = 0;
            guchar* source = webkit_web_resource_get_data_finish(WEBKIT_WEB_RESOURCE(resource), result, &length, nullptr);
            if (source)
                RespondWithSource(pending->request, pending->address, source, length);
            else
                RespondNotAvailable(pending->request);
            g_free(source);
            g_object_unref(pending->request);
            delete pending;
            g_object_unref(resource);
        },
        new Pending{WEBKIT_URI_SCHEME_REQUEST(g_object_ref(request)), address});
}

}  // namespace

void RegisterViewSourceScheme() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    webkit_web_context_register_uri_scheme(Context(), Scheme, ServeSource, nullptr, nullptr);
    // Web pages may neither open nor embed it: only the program navigates there.
    webkit_security_manager_register_uri_scheme_as_display_isolated(
        webkit_web_context_get_security_manager(Context()), Scheme);
}

bool IsViewSourceAddress(const std::string& address) {
    const char* scheme = g_uri_peek_scheme(address.c_str());
    return scheme && std::strcmp(scheme, Scheme) == 0;
}

void KeepShownPageForSource(WebKitWebView* view) {
    WebKitWebResource* shown = webkit_web_view_get_main_resource(view);
    if (shown)
        g_object_set_data_full(G_OBJECT(view), KeptPage, g_object_ref(shown), g_object_unref);
    else
        g_object_set_data(G_OBJECT(view), KeptPage, nullptr);
}

}  // namespace platform::webkit
