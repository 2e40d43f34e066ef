#include "platform/webkit_url_cache.h"

#include <glib.h>
#include <libsoup/soup.h>
#include <webkit2/webkit2.h>

#include <limits>
#include <memory>
#include <optional>
#include <set>

#include "platform/app.h"
#include "platform/webkit_session.h"

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

std::optional<CookieList> AllCookies() {
    PendingReply<std::optional<CookieList>> reply;
    webkit_cookie_manager_get_all_cookies(
        webkit::CookieManager(), nullptr,
        [](GObject* manager, GAsyncResult* result, gpointer data) {
            GError* error = nullptr;
            GList* cookies = webkit_cookie_manager_get_all_cookies_finish(WEBKIT_COOKIE_MANAGER(manager), result, &error);
            if (error) {
                g_error_free(error);
                PendingReply<std::optional<CookieList>>::Deliver(data, std::nullopt);
                return;
            }
            CookieList list;
            for (GList* item = cookies; item; item = item->next) list.emplace_back(static_cast<SoupCookie*>(item->data));
            g_list_free(cookies);
            PendingReply<std::optional<CookieList>>::Deliver(data, std::move(list));
        },
        reply.CallbackData());
    auto answer = reply.Wait();
    if (!answer) return std::nullopt;
    return std::move(*answer);
}

bool DeleteCookie(SoupCookie* cookie) {
    PendingReply<bool> reply;
    webkit_cookie_manager_delete_cookie(
        webkit::CookieManager(), cookie, nullptr,
        [](GObject* manager, GAsyncResult* result, gpointer data) {
            GError* error = nullptr;
            const bool deleted = webkit_cookie_manager_delete_cookie_finish(WEBKIT_COOKIE_MANAGER(manager), result, &error);
            if (error) g_error_free(error);
            PendingReply<bool>::Deliver(data, deleted);
        },
        reply.CallbackData());
    return reply.Wait(DeletionTimeoutMs).value_or(false);
}

// "Cookie:" + login name + "@" + domain without its leading dot + path: a host
// cookie and a domain cookie of the same name and path share one entry.
std::string EntryName(SoupCookie* cookie) {
    std::string domain = soup_cookie_get_domain(cookie);
    if (!domain.empty() && domain.front() == '.') domain.erase(0, 1);
    return std::string("Cookie:") + g_get_user_name() + "@" + domain + soup_cookie_get_path(cookie);
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

bool WebKitUrlCache::DeleteEntry(const std::string& sourceUrlName) {
    auto cookies = AllCookies();
    if (!cookies) return false;
    bool matched = false;
    bool allDeleted = true;
    for (const auto& cookie : *cookies) {
        if (EntryName(cookie.get()) != sourceUrlName) continue;
        matched = true;
        allDeleted = DeleteCookie(cookie.get()) && allDeleted;
    }
    return matched && allDeleted;
}

}  // namespace platform
