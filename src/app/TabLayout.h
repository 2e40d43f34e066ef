#pragma once

#include <string>

// Tab layout files: a header line "<Tab Layout File>" and the address of every open
// tab, one per line, CR LF ended, UTF-8.
namespace TabLayout {

// Writes the addresses of the open tabs, after asking before replacing an existing
// file. The file is replaced atomically; a file that cannot be written is reported
// in a message box.
void SaveTabLayout(const std::string& Path);

// Replaces the open tabs by the tabs of the file when its header is right: tab 0
// keeps its place and gets the first address. A file that cannot be read, or has
// another header, leaves the tabs alone.
void OpenTabLayout(const std::string& Path);

}  // namespace TabLayout
