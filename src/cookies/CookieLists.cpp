#include "cookies/CookieLists.h"

#include "platform/msgbox.h"
#include "platform/url_cache.h"

namespace CookieLists {

void Fill(platform::ListBox& list, const std::vector<std::string>& items) { list.SetItems(items); }

std::vector<std::string> Selected(const platform::ListBox& list, bool selected) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.Selected(i) == selected) items.push_back(list.List(i));
    return items;
}

void DeleteCookies(const std::vector<std::string>& names) {
    bool failed = false;
    for (const auto& name : names) failed = platform::TheUrlCache().DeleteEntry(name) == platform::DeleteResult::Failed || failed;
    if (failed)
        platform::MsgBox("Some cookies could not be removed: the cookie store cannot be changed (it may be read-only, "
                         "or in use by another program).",
                         platform::vbExclamation);
}

}  // namespace CookieLists
