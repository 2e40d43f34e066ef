#include "platform/url_cache.h"

#include <algorithm>

#include "platform/webkit_url_cache.h"

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

void MemoryUrlCache::Add(std::string sourceUrlName, std::uint32_t type) {
    auto existing = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const UrlCacheEntryInfo& entry) { return entry.SourceUrlName == sourceUrlName; });
    if (existing != entries_.end()) {
        existing->CacheEntryType = type;
        return;
    }
    entries_.push_back({std::move(sourceUrlName), type});
}

std::vector<UrlCacheEntryInfo> MemoryUrlCache::Entries() { return entries_; }

bool MemoryUrlCache::DeleteEntry(const std::string& sourceUrlName) {
    return std::erase_if(entries_, [&](const UrlCacheEntryInfo& entry) { return entry.SourceUrlName == sourceUrlName; }) > 0;
}

}  // namespace platform
