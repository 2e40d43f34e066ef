#include <gtest/gtest.h>

#include <memory>

#include "memory_url_cache.h"
#include "platform/url_cache.h"

namespace {

using platform::MemoryUrlCache;
using platform::UrlCacheEntryInfo;

std::vector<std::string> Names(platform::UrlCache& cache) {
    std::vector<std::string> names;
    for (const UrlCacheEntryInfo& entry : cache.Entries()) names.push_back(entry.SourceUrlName);
    return names;
}

TEST(MemoryUrlCache, ListsEntriesInTheOrderAddedAndKeepsTheirType) {
    MemoryUrlCache cache;
    EXPECT_TRUE(cache.Entries().empty());
    cache.Add("Cookie:me@b.test/");
    cache.Add("Visited:me@a.test/", 0);
    cache.Add("Cookie:me@a.test/");
    EXPECT_EQ(Names(cache), (std::vector<std::string>{"Cookie:me@b.test/", "Visited:me@a.test/", "Cookie:me@a.test/"}));
    EXPECT_EQ(cache.Entries()[0].CacheEntryType, platform::NORMAL_CACHE_ENTRY | platform::COOKIE_CACHE_ENTRY);
    EXPECT_EQ(cache.Entries()[1].CacheEntryType, 0u);

    cache.Add("Visited:me@a.test/", platform::NORMAL_CACHE_ENTRY);
    EXPECT_EQ(cache.Entries().size(), 3u) << "adding a name again changes its entry, not the count";
    EXPECT_EQ(cache.Entries()[1].CacheEntryType, platform::NORMAL_CACHE_ENTRY);
}

TEST(MemoryUrlCache, DeletesOnlyTheExactNameAndReportsMissingOnes) {
    MemoryUrlCache cache;
    cache.Add("Cookie:me@a.test/");
    cache.Add("Cookie:me@a.test/path");
    cache.Add("Cookie:me@kept.test/");
    cache.Protect("Cookie:me@kept.test/");
    EXPECT_EQ(cache.DeleteEntry("cookie:me@a.test/"), platform::DeleteResult::NoSuchEntry);
    EXPECT_EQ(cache.DeleteEntry("Cookie:me@a.test/"), platform::DeleteResult::Deleted);
    EXPECT_EQ(cache.DeleteEntry("Cookie:me@a.test/"), platform::DeleteResult::NoSuchEntry);
    EXPECT_EQ(cache.DeleteEntry("Cookie:me@kept.test/"), platform::DeleteResult::Failed);
    EXPECT_EQ(Names(cache), (std::vector<std::string>{"Cookie:me@a.test/path", "Cookie:me@kept.test/"}));
}

TEST(TheUrlCache, IsTheCacheLastSet) {
    auto owned = std::make_unique<MemoryUrlCache>();
    MemoryUrlCache* cache = owned.get();
    cache->Add("Cookie:me@a.test/");
    platform::SetUrlCache(std::move(owned));
    EXPECT_EQ(&platform::TheUrlCache(), cache);
    EXPECT_EQ(platform::TheUrlCache().DeleteEntry("Cookie:me@a.test/"), platform::DeleteResult::Deleted);
    EXPECT_TRUE(cache->Entries().empty());

    auto replacement = std::make_unique<MemoryUrlCache>();
    replacement->Add("Cookie:me@b.test/");
    platform::SetUrlCache(std::move(replacement));
    EXPECT_EQ(Names(platform::TheUrlCache()), std::vector<std::string>{"Cookie:me@b.test/"});
    platform::SetUrlCache(nullptr);
}

}  // namespace
