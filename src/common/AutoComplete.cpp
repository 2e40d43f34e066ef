#include "common/AutoComplete.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/text.h"

namespace AutoComplete {

namespace {

std::string Fold(std::string_view text) { return platform::FoldCase(text); }

int CharacterCount(std::string_view text) {
    return static_cast<int>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
}

// The count characters of text that start at character from; nothing when the
// text is shorter than that.
std::optional<std::string_view> Characters(std::string_view text, int from, int count) {
    const char* position = text.data();
    const char* const end = text.data() + text.size();
    auto advance = [&](int characters) {
        for (int i = 0; i < characters; ++i) {
            if (position >= end) return false;
            position = g_utf8_next_char(position);
        }
        return position <= end;
    };
    if (!advance(from)) return std::nullopt;
    const char* const start = position;
    if (!advance(count)) return std::nullopt;
    return std::string_view(start, static_cast<std::size_t>(position - start));
}

bool CharactersEqual(std::string_view text, int from, int count, std::string_view foldedWanted) {
    const auto part = Characters(text, from, count);
    return part && Fold(*part) == foldedWanted;
}

struct Prefix {
    std::string_view folded;
    int length;
};
constexpr std::array<Prefix, 2> StrippedPrefixes{{{"http://", 7}, {"file:///", 8}}};

// The length of the scheme prefix that the stripped form leaves out, 0 for none.
int PrefixLength(std::string_view entry) {
    for (const auto& prefix : StrippedPrefixes) {
        if (CharactersEqual(entry, 0, prefix.length, prefix.folded)) return prefix.length;
    }
    return 0;
}

// How one entry completes the typed text (typedLength characters, foldedTyped
// its folded form): by its stripped form first, else by itself.
std::optional<Completion> CompleteWith(std::size_t index, std::string_view entry, int typedLength,
                                       const std::string& foldedTyped) {
    const int length = CharacterCount(entry);
    if (const int prefix = PrefixLength(entry); prefix > 0 && CharactersEqual(entry, prefix, typedLength, foldedTyped))
        return Completion{index, prefix + typedLength, length - prefix - typedLength};
    if (CharactersEqual(entry, 0, typedLength, foldedTyped)) return Completion{index, typedLength, length - typedLength};
    return std::nullopt;
}

// The entries whose folded form begins with key, as [first, last). In the list's
// order they lie together.
std::pair<std::size_t, std::size_t> EntriesBeginningWith(const std::vector<std::string>& entries,
                                                          const std::string& key) {
    auto head = [&key](const std::string& entry) { return Fold(entry).compare(0, key.size(), key); };
    const auto first = std::partition_point(entries.begin(), entries.end(),
                                            [&](const std::string& entry) { return head(entry) < 0; });
    const auto last = std::partition_point(first, entries.end(),
                                           [&](const std::string& entry) { return head(entry) <= 0; });
    return {static_cast<std::size_t>(first - entries.begin()), static_cast<std::size_t>(last - entries.begin())};
}

}  // namespace

std::optional<Completion> Complete(const std::vector<std::string>& entries, const std::string& typed) {
    const int typedLength = CharacterCount(typed);
    const std::string foldedTyped = Fold(typed);
    // An entry that completes the text begins, once folded, with the typed text
    // or with a prefix and the typed text: the first one in list order is the
    // first that completes it within one of those runs of entries.
    std::vector<std::string> keys{foldedTyped};
    for (const auto& prefix : StrippedPrefixes) keys.push_back(std::string(prefix.folded) + foldedTyped);
    std::optional<Completion> best;
    for (const auto& key : keys) {
        const auto [first, last] = EntriesBeginningWith(entries, key);
        for (std::size_t index = first; index < last && (!best || index < best->index); ++index) {
            if (auto completion = CompleteWith(index, entries[index], typedLength, foldedTyped)) {
                best = completion;
                break;
            }
        }
    }
    return best;
}

bool Contains(const std::vector<std::string>& entries, const std::string& text) {
    // An entry equal to the text comes first among those that begin with it.
    const std::string key = Fold(text);
    const auto [first, last] = EntriesBeginningWith(entries, key);
    return first < last && Fold(entries[first]) == key;
}

}  // namespace AutoComplete
