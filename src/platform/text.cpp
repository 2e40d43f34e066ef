#include "platform/text.h"

#include <glib.h>

#include <algorithm>
#include <cstddef>

#include "platform/glib_ptr.h"

namespace platform {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char ch) { return (ch & 0x80) == 0; });
}

}  // namespace

std::string DisplayText(std::string_view text) {
    if (g_utf8_validate_len(text.data(), text.size(), nullptr)) return std::string(text);
    return TakeGString(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
}

std::string ScreenLine(std::string_view text) {
    // A character takes at most four bytes, and a byte that is no UTF-8 becomes one
    // character: this start of the text holds every character that can be shown.
    constexpr std::size_t MaxCharBytes = 4;
    const std::string_view start = text.substr(0, ScreenLineChars * MaxCharBytes);
    std::string shown = DisplayText(start);
    const glong length = g_utf8_strlen(shown.data(), static_cast<gssize>(shown.size()));
    if (length <= ScreenLineChars && start.size() == text.size()) return shown;
    shown.erase(static_cast<std::size_t>(g_utf8_offset_to_pointer(shown.data(), ScreenLineChars - 1) - shown.data()));
    return shown + "\u2026";
}

std::string ScreenText(std::string_view text) {
    std::string shown;
    std::size_t start = 0;
    for (long line = 1;; ++line) {
        const std::size_t end = text.find('\n', start);
        if (line == ScreenTextLines && end != std::string_view::npos) return shown + "\u2026";
        std::string_view part = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.ends_with('\r')) part.remove_suffix(1);
        shown += ScreenLine(part);
        if (end == std::string_view::npos) return shown;
        shown += '\n';
        start = end + 1;
    }
}

std::string FoldCase(std::string_view text) {
    if (IsAscii(text)) {
        std::string folded(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), g_ascii_tolower);
        return folded;
    }
    // The folding reads UTF-8 only: other bytes would run it past the end of the text.
    const std::string valid = DisplayText(text);
    return TakeGString(g_utf8_casefold(valid.data(), static_cast<gssize>(valid.size())));
}

}  // namespace platform
