#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Inline completion of the address bar from its list of earlier addresses.
//
// Letter case is ignored the way the list sorts its entries: two texts are equal
// when their case-folded forms are. The entries must be in the list's order
// (case-folded text in byte order, see platform::ListLess), which lets both
// look-ups find their answer by binary search instead of walking every entry.
namespace AutoComplete {

// An entry that completes the typed text, and the part of it to select: the
// characters the user has not typed. Positions count characters.
struct Completion {
    std::size_t index;
    int selStart;
    int selLength;
};

// The first entry, in list order, that completes the typed text: either its form
// without a leading "http://" or "file:///" (any letter case) begins with the
// typed text, and the selection starts after that prefix and the typed text, or
// the entry itself begins with it, and the selection starts after the typed text.
// For one entry the stripped form is tried first. Nothing when no entry does.
std::optional<Completion> Complete(const std::vector<std::string>& entries, const std::string& typed);

// Whether an entry equals the text, letter case ignored.
bool Contains(const std::vector<std::string>& entries, const std::string& text);

}  // namespace AutoComplete
