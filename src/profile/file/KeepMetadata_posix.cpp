#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "PosixReplace.h"

namespace IniAccess::internal::posix {

namespace {

std::vector<std::string> AttributeNames(int fd) {
    std::vector<char> list(65536);
    const ssize_t size = ::flistxattr(fd, list.data(), list.size());
    std::vector<std::string> names;
    for (ssize_t pos = 0; size > 0 && pos < size;) {
        names.emplace_back(list.data() + pos);
        pos += static_cast<ssize_t>(names.back().size()) + 1;
    }
    return names;
}

// Extended attributes carry ACLs too. The new file may also have inherited a default ACL of
// the folder that the old file did not have.
bool CopyAttributes(int from, int to) {
    const std::vector<std::string> names = AttributeNames(from);
    for (const std::string& name : AttributeNames(to)) {
        if (std::find(names.begin(), names.end(), name) == names.end() &&
            ::fremovexattr(to, name.c_str()) != 0) {
            return false;
        }
    }
    for (const std::string& name : names) {
        std::vector<char> value(65536);
        const ssize_t size = ::fgetxattr(from, name.c_str(), value.data(), value.size());
        if (size < 0 || ::fsetxattr(to, name.c_str(), value.data(), size, 0) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool CopyMetadata(const struct stat& old, int lockedFd, int fd, const std::string& path) {
    // The group alone when the owner cannot be given; what is missing shows in the check below.
    [[maybe_unused]] const bool given = ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
                                        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
    // After fchown, which may clear the set-id bits, and whatever the umask took away.
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        Fail(path, errno);
    }
    const bool attributes = CopyAttributes(lockedFd, fd);
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        Fail(path, errno);
    }
    return attributes && made.st_uid == old.st_uid && made.st_gid == old.st_gid &&
           (made.st_mode & 07777) == (old.st_mode & 07777);
}

}  // namespace IniAccess::internal::posix
