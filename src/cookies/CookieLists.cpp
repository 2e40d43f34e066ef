#include "cookies/CookieLists.h"

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
    for (const auto& name : names) platform::TheUrlCache().DeleteEntry(name);
}

}  // namespace CookieLists
