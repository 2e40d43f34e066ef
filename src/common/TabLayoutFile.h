#pragma once

#include <optional>
#include <string>
#include <vector>

// The tab layout file's format: the header line, then the address of every open
// tab, one per line.
namespace General {

inline constexpr const char* TabLayoutHeader = "<Tab Layout File>";

// The addresses of a layout file, or nothing when it cannot be read or has another
// header (compared whole, letter case ignored). A tab's address is never a script:
// a script line stands for a blank tab.
std::optional<std::vector<std::string>> ReadTabLayout(const std::string& Path);

// Whether the engine would run the address as a script (a "javascript:" address):
// an address that the program did not take from the user opens a blank page instead.
bool IsScriptAddress(std::string address);

}  // namespace General
