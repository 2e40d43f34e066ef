#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002;

// The key store: the registry values the program reads, kept in a text file of the
// layer, $XDG_CONFIG_HOME/quellin/registry, which the program never writes. Each
// line holds a root, a key path, a value name and the value, separated by tabs:
//   HKEY_LOCAL_MACHINE<TAB>SOFTWARE\Microsoft\Shared Tools\MSINFO<TAB>PATH<TAB>/usr/bin/hardinfo
// Roots, key paths and value names are compared without regard to letter case, and
// the last line for a value wins. Empty lines and lines starting with "#" are skipped.
std::string KeyStorePath();

// The text of a value, or nothing when the store holds none. Where the store holds
// no location of the system-information program, the first such program found on
// PATH answers for it, so the desktop's own tool is used.
std::optional<std::string> ReadKeyValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName);

}  // namespace platform
