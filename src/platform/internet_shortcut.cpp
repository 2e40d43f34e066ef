#include "platform/internet_shortcut.h"

#include <glib.h>
#include <glibmm/fileutils.h>

#include <sstream>
#include <string_view>

#include "platform/error.h"
#include "platform/whole_file.h"

namespace platform {

namespace {
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && g_ascii_strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsSectionHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }
}  // namespace

std::string ReadInternetShortcut(const std::string& fileName) {
    std::string text;
    try {
        text = Glib::file_get_contents(fileName);
    } catch (const Glib::Error&) {
        return "";
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    std::istringstream lines(text);
    std::string line, address;
    bool inSection = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
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
