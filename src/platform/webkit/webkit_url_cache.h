#pragma once

#include "platform/url_cache.h"

namespace platform {

// The URL cache over the engine's cookie store. One entry stands for the
// persistent cookies of one domain and path; session cookies are not entries.
// Every call waits for the engine's reply without running the program's handlers.
class WebKitUrlCache : public UrlCache {
public:
    // Entries sorted by name; nothing when the store cannot be read.
    std::optional<std::vector<UrlCacheEntryInfo>> Enumerate() override;
    // Deletes every cookie of the entry's domain and path and returns once the
    // engine has removed them all; the cookies of the same names and hosts on other
    // paths stay. Failed unless the store's file, read back, shows just that.
    DeleteResult DeleteEntry(const std::string& sourceUrlName) override;
};

}  // namespace platform
