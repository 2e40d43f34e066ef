#include "platform/url_cache.h"

#include "platform/webkit/webkit_url_cache.h"

namespace platform {

namespace {
std::unique_ptr<UrlCache>& CurrentCache() {
    static std::unique_ptr<UrlCache> cache;
    return cache;
}
}  // namespace

UrlCache& TheUrlCache() {
    auto& cache = CurrentCache();
    if (!cache) cache = std::make_unique<WebKitUrlCache>();
    return *cache;
}

void SetUrlCache(std::unique_ptr<UrlCache> cache) { CurrentCache() = std::move(cache); }

}  // namespace platform
