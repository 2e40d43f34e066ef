#include <glib.h>

#include "app/Forms.h"
#include "platform/url_cache.h"

using namespace platform;

void FrmMain::GetCookies() {
    lstCookies.Clear();
    for (const auto& entry : TheUrlCache().Entries()) {
        if (!(entry.CacheEntryType & NORMAL_CACHE_ENTRY)) continue;
        const std::string& name = entry.SourceUrlName;
        if (name.size() >= 6 && g_ascii_strncasecmp(name.c_str(), "cookie", 6) == 0) lstCookies.AddItem(name);
    }
}
