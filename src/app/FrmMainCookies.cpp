#include <glib.h>

#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "platform/url_cache.h"

using namespace platform;

bool FrmMain::GetCookies() {
    lstCookies.Clear();
    const auto entries = TheUrlCache().Enumerate();
    if (!entries) return false;
    std::vector<std::string> names;
    for (const auto& entry : *entries) {
        if (!(entry.CacheEntryType & NORMAL_CACHE_ENTRY)) continue;
        const std::string& name = entry.SourceUrlName;
        if (name.size() >= 6 && g_ascii_strncasecmp(name.c_str(), "cookie", 6) == 0) names.push_back(name);
    }
    lstCookies.SetItems(std::move(names));
    return true;
}
