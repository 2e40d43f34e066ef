#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

typedef struct _SoupServer SoupServer;

namespace testing_support {

// A small HTML page whose title and only paragraph are the text.
std::string TitledPage(const std::string& title);

// An HTTP server on 127.0.0.1 inside the test process, served by the UI thread's
// main loop. Pages are registered by path.
class TestServer {
public:
    struct Page {
        std::string body;
        std::string contentType = "text/html";
        std::vector<std::pair<std::string, std::string>> headers;
        int delayMs = 0;  // the response is held back this long
        // When not 0: only this many bytes of the body are sent, and the response never ends.
        std::size_t stallAfterBytes = 0;
    };

    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    void Add(const std::string& path, Page page);
    void Add(const std::string& path, const std::string& html) {
        Page page;
        page.body = html;
        Add(path, std::move(page));
    }
    std::string Url(const std::string& path) const;
    int Port() const { return port_; }
    int Hits(const std::string& path) const;
    // A header of the last request for that path, found without regard to letter
    // case; nothing when the path was never asked for or the header was missing.
    std::optional<std::string> LastRequestHeader(const std::string& path, const std::string& name) const;

private:
    static void Handle(SoupServer*, void* msg, const char* path, void* query, void* self);

    SoupServer* server_ = nullptr;
    int port_ = 0;
    std::map<std::string, Page> pages_;
    std::map<std::string, int> hits_;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> lastRequestHeaders_;
};

}  // namespace testing_support
