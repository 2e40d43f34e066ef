#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

// What became of the deletion of an entry.
enum class DeleteResult {
    Deleted,
    NoSuchEntry,
    // The cache could not delete the entry, or could not keep the deletion for the
    // next start of the program.
    Failed,
};

class UrlCache {
public:
    virtual ~UrlCache() = default;
    // Every entry now in the cache, in a stable order; nothing when the cache could
    // not be read (the engine did not answer, or answered with an error). Answers synchronously.
    virtual std::optional<std::vector<UrlCacheEntryInfo>> Enumerate() = 0;
    // Every entry, or none when the cache could not be read.
    std::vector<UrlCacheEntryInfo> Entries() { return Enumerate().value_or(std::vector<UrlCacheEntryInfo>{}); }
    // Deletes the entry of that name and returns once the deletion is stored.
    virtual DeleteResult DeleteEntry(const std::string& sourceUrlName) = 0;
};

// The cache used by the program: WebKit's cookie store (made on first use)
// unless a test set another. Setting none goes back to WebKit's store.
UrlCache& TheUrlCache();
void SetUrlCache(std::unique_ptr<UrlCache> cache);

}  // namespace platform
