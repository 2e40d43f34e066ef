#include "memory_url_cache.h"

#include <algorithm>

namespace platform {

void MemoryUrlCache::Add(std::string sourceUrlName, std::uint32_t type) {
    auto existing = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const UrlCacheEntryInfo& entry) { return entry.SourceUrlName == sourceUrlName; });
    if (existing != entries_.end()) {
        existing->CacheEntryType = type;
        return;
    }
    entries_.push_back({std::move(sourceUrlName), type});
}

std::optional<std::vector<UrlCacheEntryInfo>> MemoryUrlCache::Enumerate() {
    if (!readable_) return std::nullopt;
    return entries_;
}

DeleteResult MemoryUrlCache::DeleteEntry(const std::string& sourceUrlName) {
    deletions_.push_back(sourceUrlName);
    if (!readable_ || std::find(protected_.begin(), protected_.end(), sourceUrlName) != protected_.end())
        return DeleteResult::Failed;
    const bool erased =
        std::erase_if(entries_, [&](const UrlCacheEntryInfo& entry) { return entry.SourceUrlName == sourceUrlName; }) > 0;
    return erased ? DeleteResult::Deleted : DeleteResult::NoSuchEntry;
}

}  // namespace platform
