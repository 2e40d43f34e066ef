#include "platform/webkit/webkit_cookie_file.h"

#include <sqlite3.h>

#include <memory>

namespace platform {

namespace {

// The engine holds its lock only while it writes one change.
constexpr int BusyTimeoutMs = 1000;

struct DatabaseClose {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct StatementFinalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

}  // namespace

std::optional<std::set<std::string>> WebKitCookieFile::Paths(const std::string& name, const std::string& host) const {
    sqlite3* opened = nullptr;
    const int openResult = sqlite3_open_v2(path_.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, DatabaseClose> database(opened);
    if (openResult != SQLITE_OK) return std::nullopt;
    sqlite3_busy_timeout(database.get(), BusyTimeoutMs);

    sqlite3_stmt* prepared = nullptr;
    const int prepareResult = sqlite3_prepare_v2(
        database.get(), "SELECT path FROM moz_cookies WHERE name = ?1 AND host = ?2", -1, &prepared, nullptr);
    std::unique_ptr<sqlite3_stmt, StatementFinalize> statement(prepared);
    if (prepareResult != SQLITE_OK) return std::nullopt;
    sqlite3_bind_text(statement.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(statement.get(), 2, host.c_str(), -1, SQLITE_TRANSIENT);

    std::set<std::string> paths;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto* path = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
        paths.insert(path ? path : "");
    }
    if (step != SQLITE_DONE) return std::nullopt;
    return paths;
}

}  // namespace platform
