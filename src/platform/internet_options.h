#pragma once

#include <string>

namespace platform {

// The platform's Internet Options: a small window where the user sets the home page
// that GoHome opens. The setting is kept in $XDG_CONFIG_HOME/quellin/internet-options.ini
// and read when the program starts.
void ShowInternetOptions();

// The settings file, and reading it into the home page (an unreadable file changes nothing).
std::string InternetOptionsFile();
void LoadInternetOptions();
// Writes the home page and applies it; raises ToolkitError 75 when it cannot be written.
void SaveHomePage(const std::string& address);

}  // namespace platform
