#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

int OpenRegularFile(const std::string& path, int flags) {
    // Without O_NONBLOCK, opening a FIFO waits for its other end.
    const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = ENOENT;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    const int fd = OpenRegularFile(path, O_RDONLY);
    if (fd < 0) return std::nullopt;
    std::string content(maxBytes + 1, '\0');
    std::size_t size = 0;
    bool failed = false;
    while (size < content.size()) {
        const ssize_t count = read(fd, content.data() + size, content.size() - size);
        if (count < 0 && errno == EINTR) continue;
        failed = count < 0;
        if (count <= 0) break;
        size += static_cast<std::size_t>(count);
    }
    close(fd);
    if (failed || size > maxBytes) return std::nullopt;
    content.resize(size);
    return content;
}

std::vector<std::string> TextLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

}  // namespace platform
