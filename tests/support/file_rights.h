#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

// File rights that hold for every user running the tests, root included: root
// writes over permissions, but not over a folder's immutable attribute, and file
// rights checked as another user's.
namespace testing_support {

// While it lives, nothing can be made, renamed or removed in the folder.
class UnchangeableFolder {
public:
    explicit UnchangeableFolder(std::filesystem::path folder) : folder_(std::move(folder)) { holds_ = Set(true); }
    ~UnchangeableFolder() { Set(false); }
    UnchangeableFolder(const UnchangeableFolder&) = delete;
    UnchangeableFolder& operator=(const UnchangeableFolder&) = delete;

    // False where the process may neither set the attribute nor is bound by permissions.
    bool Holds() const { return holds_; }

private:
    bool Set(bool unchangeable) {
        if (geteuid() != 0) {
            std::filesystem::permissions(folder_, std::filesystem::perms::owner_write,
                                         unchangeable ? std::filesystem::perm_options::remove
                                                      : std::filesystem::perm_options::add);
            return true;
        }
        const int fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool set = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = unchangeable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        set = set && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return set;
    }

    std::filesystem::path folder_;
    bool holds_ = false;
};

// Runs the call with the file rights of an unprivileged user (nobody), so that a
// file without read permission cannot be read.
template <typename Call>
void WithoutFilePrivileges(Call&& call) {
    const bool root = geteuid() == 0;
    if (root) setfsuid(65534);
    std::forward<Call>(call)();
    if (root) setfsuid(0);
}

}  // namespace testing_support
