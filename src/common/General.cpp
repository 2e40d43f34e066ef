#include "common/General.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/error.h"
#include "platform/glib_ptr.h"
#include "platform/regular_file.h"
#include "platform/text.h"

namespace General {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

platform::ToolkitError AccessError() {
    return platform::ToolkitError(platform::errors::PathFileAccessError, "Path/File access error");
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

std::string LowerCase(std::string_view text) {
    std::string lowered;
    LowerCaseInto(text, lowered);
    return lowered;
}

void LowerCaseInto(std::string_view text, std::string& lowered) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char ch) { return (ch & 0x80) == 0; });
    if (!ascii && g_utf8_validate_len(text.data(), text.size(), nullptr)) {
        const platform::GCharPtr down(g_utf8_strdown(text.data(), static_cast<gssize>(text.size())));
        lowered = down.get();
        return;
    }
    lowered.assign(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), g_ascii_tolower);
}

int OpenRegularFile(const std::string& path, int flags) { return platform::OpenRegularFile(path, flags); }

LineReader::LineReader(const std::string& fileName) : fd_(OpenRegularFile(fileName, O_RDONLY)) {
    if (fd_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR) throw platform::ToolkitError(platform::errors::FileNotFound, "File not found");
        throw AccessError();
    }
    try {
        while (buffer_.size() < ByteOrderMark.size() && Fill()) {}
    } catch (const platform::ToolkitError&) {
        close(fd_);
        throw;
    }
    if (buffer_.starts_with(ByteOrderMark)) position_ = ByteOrderMark.size();
}

LineReader::~LineReader() { close(fd_); }

bool LineReader::Fill() {
    if (endOfFile_) return false;
    buffer_.erase(0, position_);
    position_ = 0;
    char chunk[65536];
    ssize_t count;
    do count = read(fd_, chunk, sizeof chunk);
    while (count < 0 && errno == EINTR);
    if (count < 0) throw AccessError();
    if (count == 0) endOfFile_ = true;
    buffer_.append(chunk, static_cast<std::size_t>(count));
    return count > 0;
}

bool LineReader::AtEnd() {
    return position_ >= buffer_.size() && !Fill();
}

std::string LineReader::ReadLine() {
    if (AtEnd()) throw platform::ToolkitError(platform::errors::InputPastEndOfFile, "Input past end of file");
    std::size_t searched = position_;
    std::size_t lineEnd;
    while ((lineEnd = buffer_.find_first_of("\r\n", searched)) == std::string::npos) {
        searched = buffer_.size() - position_;
        if (!Fill()) break;
    }
    if (lineEnd == std::string::npos) {
        std::string line = buffer_.substr(position_);
        position_ = buffer_.size();
        return line;
    }
    std::string line = buffer_.substr(position_, lineEnd - position_);
    // A CR right before LF belongs to one line ending with it; the LF may be in the next chunk.
    const bool carriageReturn = buffer_[lineEnd] == '\r';
    position_ = lineEnd + 1;
    if (carriageReturn && position_ >= buffer_.size()) Fill();
    if (carriageReturn && position_ < buffer_.size() && buffer_[position_] == '\n') ++position_;
    return line;
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

std::string OnOneLine(const std::string& text, const std::string& lineBreakBecomes) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        line += lineBreakBecomes;
    }
    return line;
}

bool ReadListFile(const std::string& path, std::vector<std::string>& lines) {
    try {
        LineReader file(path);
        while (!file.AtEnd()) lines.push_back(file.ReadLine());
        return true;
    } catch (const platform::ToolkitError& error) {
        std::error_code ignored;
        return error.Number() == platform::errors::FileNotFound && !std::filesystem::exists(path, ignored);
    }
}

std::string ReverseString(const std::string& text) {
    if (IsValidUtf8(text)) return platform::TakeGString(g_utf8_strreverse(text.data(), text.size()));
    return std::string(text.rbegin(), text.rend());
}

std::string GetFileName(const std::string& path) {
    const auto lastBackslash = path.find_last_of("\\/");
    if (lastBackslash == std::string::npos) {
        throw platform::ToolkitError(platform::errors::InvalidProcedureCall, "Invalid procedure call or argument");
    }
    return path.substr(lastBackslash + 1);
}

FolderIgnoringCase::FolderIgnoringCase(std::string folder) : folder_(std::move(folder)) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        names_.insert(entry.path().filename().string());
    }
    // Visited in byte order, so the first name of each folded form is kept.
    for (const auto& name : names_) byFoldedName_.emplace(platform::FoldCase(name), name);
}

std::string FolderIgnoringCase::PathOf(const std::string& name) const {
    if (names_.contains(name)) return folder_ + "/" + name;
    const auto match = byFoldedName_.find(platform::FoldCase(name));
    return folder_ + "/" + (match != byFoldedName_.end() ? match->second : name);
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
