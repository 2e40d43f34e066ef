#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/url_cache.h"

namespace platform {

// An in-memory cache for tests: entries in the order added.
class MemoryUrlCache : public UrlCache {
public:
    // Adds an entry, or gives an entry of that name the new type.
    void Add(std::string sourceUrlName, std::uint32_t type = NORMAL_CACHE_ENTRY | COOKIE_CACHE_ENTRY);
    // An unreadable cache enumerates nothing and deletes nothing.
    void SetReadable(bool readable) { readable_ = readable; }
    // Names that deletions leave in place and report failed, as an engine may refuse one.
    void Protect(std::string sourceUrlName) { protected_.push_back(std::move(sourceUrlName)); }
    std::optional<std::vector<UrlCacheEntryInfo>> Enumerate() override;
    DeleteResult DeleteEntry(const std::string& sourceUrlName) override;
    // Every deletion asked for, in order.
    const std::vector<std::string>& Deletions() const { return deletions_; }

private:
    std::vector<UrlCacheEntryInfo> entries_;
    std::vector<std::string> protected_;
    std::vector<std::string> deletions_;
    bool readable_ = true;
};

}  // namespace platform
