#include "platform/shell_folders.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <filesystem>

namespace platform {

namespace {
// File systems take names of up to 255 bytes; the extension needs four.
constexpr std::size_t MaxNameBytes = 251;
}  // namespace

bool SpecialFolderPath(int folderId, std::string& path) {
    if (folderId != CSIDL_FAVORITES) return false;
    const std::string favorites = std::string(g_get_user_data_dir()) + "/quellin/Favorites";
    if (g_mkdir_with_parents(favorites.c_str(), 0700) != 0) return false;
    std::error_code error;
    if (!std::filesystem::is_directory(favorites, error)) return false;
    path = favorites;
    return true;
}

std::string FavoriteFileName(std::string name) {
    std::erase(name, '\0');
    gchar* valid = g_utf8_make_valid(name.c_str(), static_cast<gssize>(name.size()));
    std::string kept;
    for (const gchar* p = valid; *p; p = g_utf8_next_char(p)) {
        const gunichar c = g_utf8_get_char(p);
        if (c == '/' || g_unichar_iscntrl(c)) continue;
        kept.append(p, static_cast<std::size_t>(g_utf8_next_char(p) - p));
    }
    g_free(valid);
    const auto first = kept.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    kept = kept.substr(first, kept.find_last_not_of(' ') - first + 1);
    if (kept.size() > MaxNameBytes) {
        const gchar* end = g_utf8_find_prev_char(kept.c_str(), kept.c_str() + MaxNameBytes + 1);
        kept.resize(static_cast<std::size_t>(end - kept.c_str()));
    }
    if (kept == "." || kept == "..") return "";
    return kept;
}

bool PathInside(const std::string& path, const std::string& folder) {
    std::error_code error;
    const auto base = std::filesystem::weakly_canonical(folder, error);
    if (error) return false;
    const auto target = std::filesystem::weakly_canonical(path, error);
    if (error) return false;
    const auto [baseEnd, targetAt] = std::mismatch(base.begin(), base.end(), target.begin(), target.end());
    return baseEnd == base.end() && targetAt != target.end();
}

}  // namespace platform
