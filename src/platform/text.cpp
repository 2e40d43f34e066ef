#include "platform/text.h"

#include <glib.h>

#include <algorithm>
#include <memory>

namespace platform {

namespace {

std::string TakeGString(gchar* text) {
    const std::unique_ptr<gchar, decltype(&g_free)> owner(text, &g_free);
    return std::string(owner.get());
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char ch) { return (ch & 0x80) == 0; });
}

}  // namespace

std::string DisplayText(std::string_view text) {
    if (g_utf8_validate_len(text.data(), text.size(), nullptr)) return std::string(text);
    return TakeGString(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
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
