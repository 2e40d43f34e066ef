#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>

namespace platform {

// The engine's cookie store as its SQLite file holds it, read apart from the
// engine: the engine reports no failure to write the file, so what a change
// really left for the next start of the program is read back from here.
class WebKitCookieFile {
public:
    explicit WebKitCookieFile(std::string path) : path_(std::move(path)) {}

    // The paths of the cookies stored under that name and host (the domain as the
    // engine keeps it, with a leading dot for a domain cookie); nothing when the
    // file cannot be read (missing, damaged, or locked for longer than a moment).
    std::optional<std::set<std::string>> Paths(const std::string& name, const std::string& host) const;

private:
    std::string path_;
};

}  // namespace platform
