#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comparisons of cookie entry names and filter words. Names are compared with both
// sides lower-cased; each name is lower-cased once and looked up in a set, so a
// comparison costs the same whatever the size of the store.
namespace CookieNames {

// Every name of `names`, in order and duplicates kept, that equals no name of `others`.
std::vector<std::string> NotIn(const std::vector<std::string>& names, const std::vector<std::string>& others);

// Every name of `names`, in order, once for each name of `others` that it equals.
std::vector<std::string> FoundIn(const std::vector<std::string>& names, const std::vector<std::string>& others);

// Filter words lower-cased once, for matching many names.
class WordFilter {
public:
    explicit WordFilter(const std::vector<std::string>& words);
    // Whether the name contains one of the words. A word that is empty or only
    // blanks matches nothing: it would be contained in every name.
    bool Matches(std::string_view name) const;

private:
    std::vector<std::string> words_;
};

}  // namespace CookieNames
