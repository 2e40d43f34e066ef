#include "platform/key_store.h"

#include <glib.h>

#include <sstream>
#include <vector>

#include "platform/glib_ptr.h"
#include "platform/regular_file.h"

namespace platform {

namespace {

// Far more than any real store holds; a larger file is read as no store.
constexpr std::size_t MaxKeyStoreBytes = 64 * 1024;

std::string RootName(std::uint32_t root) {
    switch (root) {
        case 0x80000000: return "HKEY_CLASSES_ROOT";
        case 0x80000001: return "HKEY_CURRENT_USER";
        case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
        case 0x80000003: return "HKEY_USERS";
        default: return "";
    }
}

bool SameName(const std::string& a, const std::string& b) { return g_ascii_strcasecmp(a.c_str(), b.c_str()) == 0; }

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

std::optional<std::string> StoredValue(const std::string& root, const std::string& keyPath, const std::string& valueName) {
    std::optional<std::string> value;
    // Only a small regular file is read: a pipe or a huge file in its place never holds the program up.
    const auto text = ReadSmallFile(KeyStorePath(), MaxKeyStoreBytes);
    if (!text) return value;
    for (const std::string& line : TextLines(*text)) {
        if (line.empty() || line.front() == '#') continue;
        const auto fields = Fields(line);
        if (fields.size() == 4 && SameName(fields[0], root) && SameName(fields[1], keyPath) &&
            SameName(fields[2], valueName))
            value = fields[3];
    }
    return value;
}

// The system-information programs that Debian ships, the most thorough first.
std::optional<std::string> SystemInformationProgram() {
    for (const char* name : {"hardinfo", "hardinfo2", "kinfocenter", "gnome-system-monitor", "mate-system-monitor"}) {
        if (const GCharPtr path{g_find_program_in_path(name)}) return std::string(path.get());
    }
    return std::nullopt;
}

}  // namespace

std::string KeyStorePath() {
    return TakeGString(g_build_filename(g_get_user_config_dir(), "quellin", "registry", nullptr));
}

std::optional<std::string> ReadKeyValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) {
    const std::string rootName = RootName(root);
    if (rootName.empty()) return std::nullopt;
    if (auto value = StoredValue(rootName, keyPath, valueName)) return value;
    if (root == HKEY_LOCAL_MACHINE && SameName(keyPath, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO") &&
        SameName(valueName, "PATH"))
        return SystemInformationProgram();
    return std::nullopt;
}

}  // namespace platform
