#include "platform/internet_shortcut.h"

#include <glib.h>

#include <string_view>

#include "platform/error.h"
#include "platform/regular_file.h"
#include "platform/whole_file.h"

namespace platform {

namespace {
// Far more than any real shortcut holds; a larger file is read as no shortcut.
constexpr std::size_t MaxShortcutBytes = 64 * 1024;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && g_ascii_strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsSectionHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }
}  // namespace

std::string ReadInternetShortcut(const std::string& fileName) {
    const auto text = ReadSmallFile(fileName, MaxShortcutBytes);
    if (!text) return "";
    std::string address;
    bool inSection = false;
    for (const std::string& line : TextLines(*text)) {
        if (IsSectionHeader(line)) {
            // A later section of the same name starts afresh: the last one wins.
            inSection = EqualsIgnoringCase(line, "[InternetShortcut]");
            if (inSection) address.clear();
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos && EqualsIgnoringCase(std::string_view(line).substr(0, equals), "URL"))
            address = line.substr(equals + 1);
    }
    return address;
}

bool WriteInternetShortcut(const std::string& fileName, const std::string& address) {
    return Try([&] { WriteWholeFile(fileName, "[InternetShortcut]\r\nURL=" + address + "\r\n"); });
}

}  // namespace platform
