#include "cookies/CookieNames.h"

#include <glib.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "common/General.h"

namespace CookieNames {

std::vector<std::string> NotIn(const std::vector<std::string>& names, const std::vector<std::string>& others) {
    std::unordered_set<std::string> lowered;
    lowered.reserve(others.size());
    for (const auto& other : others) lowered.insert(General::LowerCase(other));
    std::vector<std::string> result;
    for (const auto& name : names)
        if (!lowered.contains(General::LowerCase(name))) result.push_back(name);
    return result;
}

std::vector<std::string> FoundIn(const std::vector<std::string>& names, const std::vector<std::string>& others) {
    std::unordered_map<std::string, int> counts;
    counts.reserve(others.size());
    for (const auto& other : others) ++counts[General::LowerCase(other)];
    std::vector<std::string> result;
    for (const auto& name : names) {
        const auto found = counts.find(General::LowerCase(name));
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
        if (!Blank(word)) words_.push_back(General::LowerCase(word));
}

bool WordFilter::Matches(std::string_view name) const {
    const std::string lowered = General::LowerCase(std::string(name));
    return std::any_of(words_.begin(), words_.end(),
                       [&](const std::string& word) { return lowered.find(word) != std::string::npos; });
}

}  // namespace CookieNames
