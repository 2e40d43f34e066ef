#include "common/TabLayoutFile.h"

#include <glib.h>

#include <algorithm>
#include <string_view>

#include "common/General.h"
#include "platform/error.h"

namespace General {

namespace {
bool IsHeader(const std::string& line) { return g_ascii_strcasecmp(line.c_str(), TabLayoutHeader) == 0; }
}  // namespace

// The engine drops leading controls and blanks and every tab before it reads the scheme.
bool IsScriptAddress(std::string address) {
    std::erase(address, '\t');
    const auto start = std::find_if(address.begin(), address.end(), [](unsigned char ch) { return ch > ' '; });
    address.erase(address.begin(), start);
    constexpr std::string_view Scheme = "javascript:";
    return address.size() >= Scheme.size() && g_ascii_strncasecmp(address.c_str(), Scheme.data(), Scheme.size()) == 0;
}

std::optional<std::vector<std::string>> ReadTabLayout(const std::string& Path) {
    std::vector<std::string> addresses;
    try {
        LineReader file(Path);
        if (!IsHeader(file.ReadLine())) return std::nullopt;
        while (!file.AtEnd()) {
            std::string address = file.ReadLine();
            addresses.push_back(IsScriptAddress(address) ? "about:blank" : std::move(address));
        }
    } catch (const platform::ToolkitError&) {
        return std::nullopt;
    }
    return addresses;
}

}  // namespace General
