#include "cookies/CookieNames.h"

#include <glib.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace CookieNames {

std::string Lower(std::string_view name) {
    const auto length = static_cast<gssize>(name.size());
    gchar* lowered = g_utf8_validate(name.data(), length, nullptr) ? g_utf8_strdown(name.data(), length)
                                                                   : g_ascii_strdown(name.data(), length);
    std::string result(lowered);
    g_free(lowered);
    return result;
}

std::vector<std::string> NotIn(const std::vector<std::string>& names, const std::vector<std::string>& others) {
    std::unordered_set<std::string> lowered;
    lowered.reserve(others.size());
    for (const auto& other : others) lowered.insert(Lower(other));
    std::vector<std::string> result;
    for (const auto& name : names)
        if (!lowered.contains(Lower(name))) result.push_back(name);
    return result;
}

std::vector<std::string> FoundIn(const std::vector<std::string>& names, const std::vector<std::string>& others) {
    std::unordered_map<std::string, int> counts;
    counts.reserve(others.size());
    for (const auto& other : others) ++counts[Lower(other)];
    std::vector<std::string> result;
    for (const auto& name : names) {
        const auto found = counts.find(Lower(name));
        if (found == counts.end()) continue;
        result.insert(result.end(), found->second, name);
    }
    return result;
}

namespace {
bool Blank(std::string_view word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return g_ascii_isspace(c); });
}
}  // namespace

WordFilter::WordFilter(const std::vector<std::string>& words) {
    for (const auto& word : words)
        if (!Blank(word)) words_.push_back(Lower(word));
}

bool WordFilter::Matches(std::string_view name) const {
    const std::string lowered = Lower(name);
    return std::any_of(words_.begin(), words_.end(),
                       [&](const std::string& word) { return lowered.find(word) != std::string::npos; });
}

}  // namespace CookieNames
