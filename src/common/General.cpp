#include "common/General.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/error.h"

namespace General {

namespace {

platform::ToolkitError AccessError() {
    return platform::ToolkitError(platform::errors::PathFileAccessError, "Path/File access error");
}

std::string TakeGString(gchar* text) {
    const std::unique_ptr<gchar, decltype(&g_free)> owner(text, &g_free);
    return std::string(owner.get());
}

bool IsValidUtf8(const std::string& text) {
    return g_utf8_validate_len(text.data(), text.size(), nullptr);
}

// The lower-cased line that stands for the key.
std::string KeyLine(const std::string& key) {
    return LowerCase("[" + key + "]");
}

bool IsKeyLine(const std::string& line, const std::string& keyLine) {
    // Lowering keeps the brackets where they are, so most lines are settled cheaply.
    if (line.empty() || line.front() != '[' || line.back() != ']') return false;
    return LowerCase(line) == keyLine;
}

}  // namespace

std::string LowerCase(const std::string& text) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char ch) { return (ch & 0x80) == 0; });
    if (!ascii && IsValidUtf8(text)) return TakeGString(g_utf8_strdown(text.data(), text.size()));
    std::string lowered = text;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), g_ascii_tolower);
    return lowered;
}

LineReader::LineReader(const std::string& fileName) : stream_(fileName, std::ios::binary) {
    if (stream_.is_open()) return;
    std::error_code ignored;
    if (!std::filesystem::exists(fileName, ignored)) {
        throw platform::ToolkitError(platform::errors::FileNotFound, "File not found");
    }
    throw AccessError();
}

bool LineReader::AtEnd() {
    const bool end = stream_.peek() == std::ifstream::traits_type::eof();
    if (stream_.bad()) throw AccessError();
    return end;
}

std::string LineReader::ReadLine() {
    if (AtEnd()) throw platform::ToolkitError(platform::errors::InputPastEndOfFile, "Input past end of file");
    std::string line;
    std::getline(stream_, line);
    if (stream_.bad()) throw AccessError();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::string LineReader::ReadTextLine() {
    const std::string line = ReadLine();
    return TakeGString(g_utf8_make_valid(line.data(), static_cast<gssize>(line.size())));
}

std::string ReadIni(const std::string& fileName, const std::string& key) {
    const std::string keyLine = KeyLine(key);
    std::string iniValue;
    try {
        LineReader file(fileName);
        while (!file.AtEnd()) {
            if (IsKeyLine(file.ReadLine(), keyLine)) iniValue = file.ReadLine();
        }
    } catch (const platform::ToolkitError&) {
        return "";
    }
    return iniValue;
}

std::string ReadIniBlock(const std::string& fileName, const std::string& key) {
    const std::string keyLine = KeyLine(key);
    const std::string endLine = KeyLine("end");
    std::string iniValue;
    LineReader file(fileName);
    while (!file.AtEnd()) {
        if (!IsKeyLine(file.ReadLine(), keyLine)) continue;
        iniValue = file.ReadLine();
        for (std::string line = file.ReadLine(); !IsKeyLine(line, endLine); line = file.ReadLine()) {
            iniValue += "\r\n";
            iniValue += line;
        }
    }
    return iniValue;
}

std::string ReverseString(const std::string& text) {
    if (IsValidUtf8(text)) return TakeGString(g_utf8_strreverse(text.data(), text.size()));
    return std::string(text.rbegin(), text.rend());
}

std::string GetFileName(const std::string& path) {
    const auto lastBackslash = path.rfind('\\');
    if (lastBackslash == std::string::npos) {
        throw platform::ToolkitError(platform::errors::InvalidProcedureCall, "Invalid procedure call or argument");
    }
    return path.substr(lastBackslash + 1);
}

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

bool FolderExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

std::string GetMonthName(std::int16_t month) {
    static const std::array<const char*, 12> names = {"January", "February", "March",     "April",   "May",      "June",
                                                      "July",    "August",   "September", "October", "November", "December"};
    return month >= 1 && month <= 12 ? names[month - 1] : names[0];
}

}  // namespace General
