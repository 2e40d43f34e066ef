#pragma once

#include <string>

namespace platform {

// Shell folder identifiers.
inline constexpr int CSIDL_FAVORITES = 6;

// The path of a special folder of the user, made on first use. False when the
// folder is unknown or cannot be made. The Favorites folder lies in the
// program's data folder: $XDG_DATA_HOME/quellin/Favorites.
bool SpecialFolderPath(int folderId, std::string& path);

// The file name that a favourite's name (a page title, say) gives, without the
// ".url" extension: "/", NUL and control characters are dropped, blanks trimmed and
// the name shortened to what a file system takes. "" when nothing usable is left
// ("", "." and "..").
std::string FavoriteFileName(std::string name);

// Whether a path lies inside the folder (links resolved), never the folder itself.
bool PathInside(const std::string& path, const std::string& folder);

}  // namespace platform
