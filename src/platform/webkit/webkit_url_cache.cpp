#include "platform/webkit/webkit_url_cache.h"

#include <glib.h>
#include <libsoup/soup.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/app.h"
#include "platform/webkit/webkit_cookie_file.h"
#include "platform/webkit/webkit_session.h"

namespace platform {

namespace {

constexpr int ReplyTimeoutMs = 10000;
// A deletion is waited for until the engine answers (it always does, with an error
// if its process went away): the program must not end while one is on its way.
constexpr int DeletionTimeoutMs = std::numeric_limits<int>::max();

struct SoupCookieFree {
    void operator()(SoupCookie* cookie) const { soup_cookie_free(cookie); }
};
using CookiePtr = std::unique_ptr<SoupCookie, SoupCookieFree>;
using CookieList = std::vector<CookiePtr>;

// The answer to one asynchronous call of the engine. The callback shares the
// state, so a reply that comes after we stopped waiting still lands safely.
template <typename Value>
class PendingReply {
public:
    gpointer CallbackData() const { return new std::shared_ptr<State>(state_); }

    static void Deliver(gpointer callbackData, Value value) {
        std::unique_ptr<std::shared_ptr<State>> state(static_cast<std::shared_ptr<State>*>(callbackData));
        (*state)->value = std::move(value);
        (*state)->arrived = true;
    }

    std::optional<Value> Wait(int timeoutMs = ReplyTimeoutMs) {
        if (!WaitWithoutHandlers([this] { return state_->arrived; }, timeoutMs)) return std::nullopt;
        return std::move(state_->value);
    }

private:
    struct State {
        bool arrived = false;
        Value value{};
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

using CookieListReply = PendingReply<std::optional<CookieList>>;

// The answer of a call that lists cookies, finished by `Finish`.
template <GList* (*Finish)(WebKitCookieManager*, GAsyncResult*, GError**)>
void DeliverCookieList(GObject* manager, GAsyncResult* result, gpointer data) {
    GError* error = nullptr;
    GList* cookies = Finish(WEBKIT_COOKIE_MANAGER(manager), result, &error);
    if (error) {
        g_error_free(error);
        CookieListReply::Deliver(data, std::nullopt);
        return;
    }
    CookieList list;
    for (GList* item = cookies; item; item = item->next) list.emplace_back(static_cast<SoupCookie*>(item->data));
    g_list_free(cookies);
    CookieListReply::Deliver(data, std::move(list));
}

std::optional<CookieList> AllCookies() {
    CookieListReply reply;
    webkit_cookie_manager_get_all_cookies(webkit::CookieManager(), nullptr,
                                          DeliverCookieList<webkit_cookie_manager_get_all_cookies_finish>,
                                          reply.CallbackData());
    auto answer = reply.Wait();
    if (!answer) return std::nullopt;
    return std::move(*answer);
}

// The cookies that a request for the address would carry.
std::optional<CookieList> CookiesSentTo(const std::string& uri) {
    CookieListReply reply;
    webkit_cookie_manager_get_cookies(webkit::CookieManager(), uri.c_str(), nullptr,
                                      DeliverCookieList<webkit_cookie_manager_get_cookies_finish>,
                                      reply.CallbackData());
    auto answer = reply.Wait();
    if (!answer) return std::nullopt;
    return std::move(*answer);
}

// The answer of a call that changes the store, finished by `Finish`.
template <gboolean (*Finish)(WebKitCookieManager*, GAsyncResult*, GError**)>
void DeliverChange(GObject* manager, GAsyncResult* result, gpointer data) {
    GError* error = nullptr;
    const bool done = Finish(WEBKIT_COOKIE_MANAGER(manager), result, &error);
    if (error) g_error_free(error);
    PendingReply<bool>::Deliver(data, done);
}

bool DeleteCookie(SoupCookie* cookie) {
    PendingReply<bool> reply;
    webkit_cookie_manager_delete_cookie(webkit::CookieManager(), cookie, nullptr,
                                        DeliverChange<webkit_cookie_manager_delete_cookie_finish>, reply.CallbackData());
    return reply.Wait(DeletionTimeoutMs).value_or(false);
}

bool AddCookie(SoupCookie* cookie) {
    PendingReply<bool> reply;
    webkit_cookie_manager_add_cookie(webkit::CookieManager(), cookie, nullptr,
                                     DeliverChange<webkit_cookie_manager_add_cookie_finish>, reply.CallbackData());
    return reply.Wait(DeletionTimeoutMs).value_or(false);
}

// "Cookie:" + login name + "@" + domain without its leading dot + path: a host
// cookie and a domain cookie of the same name and path share one entry.
std::string EntryName(SoupCookie* cookie) {
    std::string domain = soup_cookie_get_domain(cookie);
    if (!domain.empty() && domain.front() == '.') domain.erase(0, 1);
    return std::string("Cookie:") + g_get_user_name() + "@" + domain + soup_cookie_get_path(cookie);
}

bool HasEntry(const CookieList& cookies, const std::string& sourceUrlName) {
    return std::any_of(cookies.begin(), cookies.end(),
                       [&](const CookiePtr& cookie) { return EntryName(cookie.get()) == sourceUrlName; });
}

// "https://" + domain + path of an entry name of this user; nothing for another name.
std::optional<std::string> EntryAddress(const std::string& sourceUrlName) {
    const std::string prefix = std::string("Cookie:") + g_get_user_name() + "@";
    if (sourceUrlName.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    const std::string domainAndPath = sourceUrlName.substr(prefix.size());
    const auto slash = domainAndPath.find('/');
    if (slash == 0 || slash == std::string::npos) return std::nullopt;
    std::string uri = "https://" + domainAndPath;
    if (!g_uri_is_valid(uri.c_str(), G_URI_FLAGS_NONE, nullptr)) return std::nullopt;
    return uri;
}

// A cookie with an expiry that has not yet passed; the store may still hold
// cookies whose time ran out since they were set.
bool IsLivePersistent(SoupCookie* cookie) {
    GDateTime* expires = soup_cookie_get_expires(cookie);
    if (!expires) return false;
    GDateTime* now = g_date_time_new_now_utc();
    const bool live = g_date_time_compare(expires, now) > 0;
    g_date_time_unref(now);
    return live;
}

using NameAndHost = std::pair<std::string, std::string>;

NameAndHost NameAndHostOf(SoupCookie* cookie) { return {soup_cookie_get_name(cookie), soup_cookie_get_domain(cookie)}; }

// The store's file forgets a deleted cookie by its name and host alone, taking
// with it the cookies of that name and host on every other path. These are the
// live ones of them that the engine holds, found only when the file lists such
// a cookie on another path (the whole store is listed then).
CookieList SharingNameAndHost(const CookieList& entry, const std::string& sourceUrlName, const WebKitCookieFile& file) {
    std::set<NameAndHost> atRisk;
    for (const auto& cookie : entry) {
        const auto key = NameAndHostOf(cookie.get());
        const auto paths = file.Paths(key.first, key.second);
        if (paths && std::any_of(paths->begin(), paths->end(),
                                 [&](const std::string& path) { return path != soup_cookie_get_path(cookie.get()); }))
            atRisk.insert(key);
    }
    CookieList kept;
    if (atRisk.empty()) return kept;
    auto all = AllCookies();
    if (!all) return kept;
    for (auto& cookie : *all)
        if (atRisk.count(NameAndHostOf(cookie.get())) && EntryName(cookie.get()) != sourceUrlName &&
            IsLivePersistent(cookie.get()))
            kept.push_back(std::move(cookie));
    return kept;
}

// Whether the file, as the next start of the program will read it, holds none
// of the entry's cookies and every cookie kept.
bool FileHoldsOnly(const WebKitCookieFile& file, const CookieList& entry, const CookieList& kept) {
    const auto holds = [&](const CookiePtr& cookie) -> std::optional<bool> {
        const auto [name, host] = NameAndHostOf(cookie.get());
        const auto paths = file.Paths(name, host);
        if (!paths) return std::nullopt;
        return paths->count(soup_cookie_get_path(cookie.get())) > 0;
    };
    return std::all_of(entry.begin(), entry.end(), [&](const CookiePtr& cookie) { return holds(cookie) == false; }) &&
           std::all_of(kept.begin(), kept.end(), [&](const CookiePtr& cookie) { return holds(cookie) == true; });
}

}  // namespace

std::optional<std::vector<UrlCacheEntryInfo>> WebKitUrlCache::Enumerate() {
    auto cookies = AllCookies();
    if (!cookies) return std::nullopt;
    std::set<std::string> names;
    for (const auto& cookie : *cookies)
        if (IsLivePersistent(cookie.get())) names.insert(EntryName(cookie.get()));
    std::vector<UrlCacheEntryInfo> entries;
    for (const auto& name : names) entries.push_back({name, NORMAL_CACHE_ENTRY | COOKIE_CACHE_ENTRY});
    return entries;
}

DeleteResult WebKitUrlCache::DeleteEntry(const std::string& sourceUrlName) {
    // Listing the whole store costs time that grows faster than the store: a secure
    // request to the entry's own domain and path carries every cookie of the entry.
    // Only when that finds none (an odd name, or one already gone) is the store listed.
    std::optional<CookieList> cookies;
    if (auto uri = EntryAddress(sourceUrlName)) cookies = CookiesSentTo(*uri);
    if (!cookies || !HasEntry(*cookies, sourceUrlName)) cookies = AllCookies();
    if (!cookies) return DeleteResult::Failed;
    CookieList entry;
    for (auto& cookie : *cookies)
        if (EntryName(cookie.get()) == sourceUrlName) entry.push_back(std::move(cookie));
    if (entry.empty()) return DeleteResult::NoSuchEntry;

    const WebKitCookieFile file(webkit::CookieStoreFile());
    const CookieList kept = SharingNameAndHost(entry, sourceUrlName, file);
    // The kept cookies go as well and come back afresh: putting back one that the
    // engine still holds would wipe its name and host from the file once more.
    bool done = true;
    for (const auto& cookie : entry) done = DeleteCookie(cookie.get()) && done;
    for (const auto& cookie : kept) done = DeleteCookie(cookie.get()) && done;
    for (const auto& cookie : kept) done = AddCookie(cookie.get()) && done;
    return done && FileHoldsOnly(file, entry, kept) ? DeleteResult::Deleted : DeleteResult::Failed;
}

}  // namespace platform
