#include "soup_server.h"

#include <glib.h>
#include <libsoup/soup.h>

#include <algorithm>
#include <stdexcept>

namespace testing_support {

std::string TitledPage(const std::string& title) {
    return "<html><head><title>" + title + "</title></head><body><p>" + title + "</p></body></html>";
}

namespace {
void Respond(SoupServerMessage* msg, const TestServer::Page& page) {
    auto* headers = soup_server_message_get_response_headers(msg);
    for (const auto& [name, value] : page.headers) soup_message_headers_append(headers, name.c_str(), value.c_str());
    soup_server_message_set_status(msg, 200, nullptr);
    if (page.stallAfterBytes == 0) {
        soup_server_message_set_response(msg, page.contentType.c_str(), SOUP_MEMORY_COPY, page.body.data(), page.body.size());
        return;
    }
    // The whole length is announced, but the body is never completed: the server
    // waits for the rest once it has sent the first bytes.
    soup_message_headers_set_content_type(headers, page.contentType.c_str(), nullptr);
    soup_message_headers_set_content_length(headers, static_cast<goffset>(page.body.size()));
    soup_message_body_append(soup_server_message_get_response_body(msg), SOUP_MEMORY_COPY, page.body.data(),
                             std::min(page.stallAfterBytes, page.body.size()));
}
}  // namespace

TestServer::TestServer() {
    server_ = soup_server_new(nullptr, nullptr);
    soup_server_add_handler(server_, nullptr, reinterpret_cast<SoupServerCallback>(&TestServer::Handle), this, nullptr);
    GError* error = nullptr;
    if (!soup_server_listen_local(server_, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, &error)) {
        std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error("cannot listen on 127.0.0.1: " + message);
    }
    GSList* uris = soup_server_get_uris(server_);
    port_ = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

TestServer::~TestServer() {
    soup_server_disconnect(server_);
    g_object_unref(server_);
}

void TestServer::Add(const std::string& path, Page page) { pages_[path] = std::move(page); }

std::string TestServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int TestServer::Hits(const std::string& path) const {
    auto it = hits_.find(path);
    return it == hits_.end() ? 0 : it->second;
}

std::optional<std::string> TestServer::LastRequestHeader(const std::string& path, const std::string& name) const {
    auto request = lastRequestHeaders_.find(path);
    if (request == lastRequestHeaders_.end()) return std::nullopt;
    for (const auto& [headerName, value] : request->second)
        if (g_ascii_strcasecmp(headerName.c_str(), name.c_str()) == 0) return value;
    return std::nullopt;
}

void TestServer::Handle(SoupServer*, void* message, const char* path, void*, void* data) {
    auto* self = static_cast<TestServer*>(data);
    auto* msg = static_cast<SoupServerMessage*>(message);
    ++self->hits_[path];
    auto& headers = self->lastRequestHeaders_[path];
    headers.clear();
    soup_message_headers_foreach(
        soup_server_message_get_request_headers(msg),
        [](const char* name, const char* value, gpointer list) {
            static_cast<std::vector<std::pair<std::string, std::string>>*>(list)->emplace_back(name, value);
        },
        &headers);
    auto it = self->pages_.find(path);
    if (it == self->pages_.end()) {
        soup_server_message_set_status(msg, 404, nullptr);
        return;
    }
    if (it->second.delayMs <= 0) {
        Respond(msg, it->second);
        return;
    }
    soup_server_message_pause(msg);
    // A client that went away while its answer was held back gets none.
    struct Held { SoupServerMessage* msg; TestServer::Page page; bool gone = false; };
    auto* held = new Held{msg, it->second};
    g_object_ref(msg);
    g_signal_connect(msg, "disconnected", G_CALLBACK(+[](SoupServerMessage*, gpointer p) {
        static_cast<Held*>(p)->gone = true;
    }), held);
    g_timeout_add(it->second.delayMs, [](gpointer p) -> gboolean {
        auto* h = static_cast<Held*>(p);
        g_signal_handlers_disconnect_by_data(h->msg, h);
        if (!h->gone) {
            Respond(h->msg, h->page);
            soup_server_message_unpause(h->msg);
        }
        g_object_unref(h->msg);
        delete h;
        return G_SOURCE_REMOVE;
    }, held);
}

}  // namespace testing_support
