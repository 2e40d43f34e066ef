#include "common/RecordedAddresses.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/General.h"
#include "platform/error.h"

using namespace platform;
using General::LowerCase;
using General::LowerCaseInto;

namespace {

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

// Enough of the page's text before the read position to tell it is the same page.
constexpr std::size_t AnchorSize = 64;

ToolkitError AccessError() { return ToolkitError(errors::PathFileAccessError, "Path/File access error"); }

std::size_t Hash(std::string_view lowered) { return std::hash<std::string_view>{}(lowered); }

bool IsAddressLine(std::string_view line) {
    return line.size() >= AddressLineStart.size() &&
           g_ascii_strncasecmp(line.data(), AddressLineStart.data(), AddressLineStart.size()) == 0;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::string ReadAt(std::FILE* file, std::uintmax_t offset, std::size_t size) {
    std::string text(size, '\0');
    if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) throw AccessError();
    text.resize(std::fread(text.data(), 1, size, file));
    return text;
}

}  // namespace

bool RecordedAddresses::Contains(const std::string& path, const std::string& lowerAddressLine) {
    const int fd = General::OpenRegularFile(path, O_RDONLY);
    File file(fd < 0 ? nullptr : fdopen(fd, "rb"), &std::fclose);
    if (fd >= 0 && !file) close(fd);
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0) throw AccessError();
    if (!Continues(path, info, file.get())) StartAgain(path, info);
    if (ReadAddedLines(file.get(), lowerAddressLine)) return true;
    const std::size_t wanted = Hash(lowerAddressLine);
    return std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) {
        return line.hash == wanted && LineAtEquals(file.get(), line.offset, lowerAddressLine);
    });
}

bool RecordedAddresses::Continues(const std::string& path, const struct stat& info, std::FILE* file) const {
    if (path != path_ || info.st_dev != device_ || info.st_ino != inode_) return false;
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) < offset_) return false;
    return ReadAt(file, offset_ - anchor_.size(), anchor_.size()) == anchor_;
}

void RecordedAddresses::StartAgain(const std::string& path, const struct stat& info) {
    path_ = path;
    device_ = info.st_dev;
    inode_ = info.st_ino;
    offset_ = 0;
    anchor_.clear();
    lines_.clear();
}

bool RecordedAddresses::ReadAddedLines(std::FILE* file, const std::string& lowerAddressLine) {
    if (fseeko(file, static_cast<off_t>(offset_), SEEK_SET) != 0) throw AccessError();
    std::string line;
    char buffer[65536];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        const char* const end = buffer + count;
        for (const char* from = buffer; from < end;) {
            const auto* lineFeed = static_cast<const char*>(std::memchr(from, '\n', end - from));
            line.append(from, lineFeed ? lineFeed : end);
            if (!lineFeed) break;
            Note(WithoutCarriageReturn(line), offset_);
            offset_ += line.size() + 1;
            line.clear();
            from = lineFeed + 1;
        }
    }
    if (std::ferror(file)) throw AccessError();
    const auto anchorSize = static_cast<std::size_t>(std::min<std::uintmax_t>(offset_, AnchorSize));
    anchor_ = ReadAt(file, offset_ - anchorSize, anchorSize);

    const std::string_view unfinished = WithoutCarriageReturn(line);
    return IsAddressLine(unfinished) && LowerCase(unfinished) == lowerAddressLine;
}

void RecordedAddresses::Note(std::string_view line, std::uintmax_t offset) {
    if (!IsAddressLine(line)) return;
    LowerCaseInto(line, lowered_);
    lines_.push_back({Hash(lowered_), offset});
}

bool RecordedAddresses::LineAtEquals(std::FILE* file, std::uintmax_t offset, const std::string& lowerAddressLine) {
    if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) throw AccessError();
    std::string line;
    for (int ch; (ch = std::getc(file)) != EOF && ch != '\n';) line += static_cast<char>(ch);
    if (std::ferror(file)) throw AccessError();
    return LowerCase(WithoutCarriageReturn(line)) == lowerAddressLine;
}
