#pragma once

#include <string>

namespace platform {

// Internet shortcut files (*.url) as desktop shells write them: a section
// "[InternetShortcut]" holding "URL=address" among other keys, lines ended by CR LF.

// The address of a shortcut: the value of the URL key (its case ignored) within
// the last "[InternetShortcut]" section (header case ignored, the whole line). ""
// when the file cannot be read or that section holds no URL.
std::string ReadInternetShortcut(const std::string& fileName);

// Writes a shortcut to the address, replacing the file whole. False when it cannot be written.
bool WriteInternetShortcut(const std::string& fileName, const std::string& address);

}  // namespace platform
