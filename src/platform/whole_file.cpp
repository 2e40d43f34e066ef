#include "platform/whole_file.h"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/error.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// As many links in a row as the kernel follows before it gives up.
constexpr int MaxLinksFollowed = 40;

ToolkitError WriteError(const std::string& reason) {
    return ToolkitError(errors::PathFileAccessError, "Path/File access error: " + reason);
}

ToolkitError WriteError(int error) {
    if (error == ENOENT || error == ENOTDIR) return ToolkitError(errors::PathNotFound, "Path not found");
    return WriteError(g_strerror(error));
}

// The file the path stands for, symbolic links followed (to a file that may not exist yet).
fs::path FileBehindLinks(fs::path path) {
    for (int followed = 0;; ++followed) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) return path;
        if (followed == MaxLinksFollowed) throw WriteError(ELOOP);
        const fs::path target = fs::read_symlink(path, error);
        if (error) throw WriteError(error.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

// The permissions of the file there is to replace, none when there is none yet.
// Raises when it may not be replaced.
std::optional<mode_t> ReplaceableFileMode(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO waits for its other end.
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw WriteError(errno);
    }
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    if (!regular) throw WriteError("it is no regular file");
    // Made read-only by its owner: a user whose rights would let the open pass keeps off it too.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw WriteError("the file is read-only");
    return info.st_mode & 07777;
}

// Writes the whole text and its permissions to the descriptor, and onto the disk.
bool WriteAll(int fd, const std::string& text, std::optional<mode_t> mode) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        written += static_cast<std::size_t>(count);
    }
    // The temporary file was made under the umask; the old file's bits are kept exactly.
    if (mode && fchmod(fd, *mode) != 0) return false;
    return fsync(fd) == 0;
}

}  // namespace

void WriteWholeFile(const std::string& path, const std::string& text) {
    const std::string target = FileBehindLinks(path).string();
    const auto mode = ReplaceableFileMode(target);
    std::string temporary = target + ".XXXXXX";
    const int fd = g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) throw WriteError(errno);
    const auto failure = [&](int error) {
        g_unlink(temporary.c_str());
        return WriteError(error);
    };
    if (!WriteAll(fd, text, mode)) {
        const int error = errno;
        close(fd);
        throw failure(error);
    }
    if (close(fd) != 0) throw failure(errno);
    if (g_rename(temporary.c_str(), target.c_str()) != 0) throw failure(errno);
}

}  // namespace platform
