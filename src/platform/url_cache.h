#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One entry of the URL cache; a cookie entry stands for all cookies of one domain
// and path and is named "Cookie:" + login name + "@" + domain + path.
struct UrlCacheEntryInfo {
    std::string SourceUrlName;
    std::uint32_t CacheEntryType = 0;
};

inline constexpr std::uint32_t NORMAL_CACHE_ENTRY = 1;
inline constexpr std::uint32_t COOKIE_CACHE_ENTRY = 0x00100000;

class UrlCache {
public:
    virtual ~UrlCache() = default;
    // Every entry now in the cache, in a stable order. Answers synchronously.
    virtual std::vector<UrlCacheEntryInfo> Entries() = 0;
    // Deletes the entry of that name; false when there is none or it cannot be deleted.
    virtual bool DeleteEntry(const std::string& sourceUrlName) = 0;
};

// The cache used by the program: WebKit's cookie store (made on first use)
// unless a test set another. Setting none goes back to WebKit's store.
UrlCache& TheUrlCache();
void SetUrlCache(std::unique_ptr<UrlCache> cache);

// An in-memory cache for tests: entries in the order added.
class MemoryUrlCache : public UrlCache {
public:
    // Adds an entry, or gives an entry of that name the new type.
    void Add(std::string sourceUrlName, std::uint32_t type = NORMAL_CACHE_ENTRY | COOKIE_CACHE_ENTRY);
    std::vector<UrlCacheEntryInfo> Entries() override;
    bool DeleteEntry(const std::string& sourceUrlName) override;

private:
    std::vector<UrlCacheEntryInfo> entries_;
};

}  // namespace platform
