#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The settings file browser.ini: the text the options dialog writes and the
// values the program reads back from it.
namespace SettingsFile {

// What the options dialog shows. A group of option buttons of which none is
// selected is left out of the file, and so is an empty optional here.
struct SettingsDialogValues {
    std::string SkinFolder;  // "default", or "skins\" and the skin's folder name
    int HistoryInNewTab = 0;  // check boxes: 0 or 1
    int SearchInNewTab = 0;
    std::string SearchPage;
    std::optional<std::string> DefaultPage;  // "home", "about:blank" or the typed address
    std::optional<int> PopupMode;            // 0 to 3
    int FastPaint = 0;
    std::optional<int> NewTabMode;  // 0 or 1
    int NoAutoComplete = 0;
    std::optional<int> CookieTrapMode;  // 0 to 3
};

// The whole text of browser.ini for these values: blocks of header, value and an empty
// line, in the file's fixed order, then one more empty line; every line ends with CR LF.
// A check box is written as a number with a blank for its sign (" 1"), an option as its
// digit. A value holds one line, so line breaks typed or pasted into a text are dropped.
std::string BrowserIniText(const SettingsDialogValues& values);

// Replaces the file at that path with BrowserIniText(values) in one step, so that a
// failed write leaves the old file whole. Raises a ToolkitError when it cannot be written.
void WriteBrowserIni(const std::string& path, const SettingsDialogValues& values);

// The settings as the program holds them.
struct Settings {
    std::string SkinFolder;
    std::int16_t HistoryInNewTab = 0;
    std::int16_t SearchInNewTab = 0;
    std::string SearchPage;
    std::string DefaultPage;
    std::int16_t PopupMode = 0;
    std::int16_t FastPaint = 0;
    std::int16_t NewTabMode = 0;
    std::int16_t NoAutoComplete = 0;
    std::int16_t CookieTrapMode = 0;
};

// Reads every setting from the file; a missing file or key gives 0 or "".
Settings ReadSettings(const std::string& iniPath);

}  // namespace SettingsFile
