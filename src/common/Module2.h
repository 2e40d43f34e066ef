#pragma once

#include <cstdint>
#include <string>

// Special folders of the user's shell.
namespace Module2 {

// The path of a special folder (6: Favorites), blanks trimmed; "" when the shell
// cannot give it. Toolkit errors reach the caller with "FindSystemFolder::" before their source.
std::string FindSystemFolder(std::int32_t FolderId);

}  // namespace Module2
