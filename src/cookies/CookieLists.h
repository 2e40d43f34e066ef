#pragma once

#include <string>
#include <vector>

#include "platform/listbox.h"

// Helpers the cookie windows share for their lists of cookie entry names.
namespace CookieLists {

// Empties the list and adds the items in order (a sorted list sorts them).
void Fill(platform::ListBox& list, const std::vector<std::string>& items);

// The items that are selected, or that are not, in list order.
std::vector<std::string> Selected(const platform::ListBox& list, bool selected = true);

// Deletes each cookie entry from the URL cache. A name already gone is passed
// over; when the cache cannot delete one or more, the user is told once.
void DeleteCookies(const std::vector<std::string>& names);

}  // namespace CookieLists
