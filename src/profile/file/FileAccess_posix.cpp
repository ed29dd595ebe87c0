// File access on POSIX systems: reading, and the lock that makes a read-edit-write one step.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "FileAccess.h"
#include "LockWait.h"
#include "PosixFile.h"
#include "ProfileError.h"

namespace IniAccess::internal {

using posix::Fail;
using posix::FileDescriptor;

namespace {

// True once locked (LOCK_EX for writers, LOCK_SH for readers); false when keepWaiting stopped
// the waiting (a reader stops once the path names a new file).
bool Lock(int fd, const std::string& path, int mode = LOCK_EX,
          const std::function<bool()>& keepWaiting = {}) {
    const auto tryLock = [&] {
        if (::flock(fd, mode | LOCK_NB) == 0) {
            return true;
        }
        // File systems without locks still get atomic replacement, only not turns.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EBADF) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            Fail(path, errno);
        }
        return false;
    };
    return WaitForLock(path, tryLock, keepWaiting);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A file gone from the path is read as it was opened: it was whole when it was renamed away.
bool StillAtPath(const std::string& path, const struct stat* opened) {
    struct stat now {};
    return ::stat(path.c_str(), &now) != 0 || SameFile(now, *opened);
}

// On NFS, flock is a byte-range lock, and an exclusive one needs a descriptor open for writing:
// a writer's lock taken through a read-only one fails there as if locks did not exist. A file
// the user may only read is still opened for reading: its save fails later with the reason.
int OpenToLock(const std::string& target, const std::string& path, struct stat* info) {
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) {
        try {
            return posix::OpenRegular(target, O_RDWR, path, info);
        } catch (const ProfileIoError& error) {
            const int code = error.code().value();
            if (code != EACCES && code != EPERM && code != EROFS && code != ETXTBSY) {
                throw;
            }
        }
    }
    return posix::OpenRegular(target, O_RDONLY, path, info);
}

}  // namespace

// A writer that has to write the file in place holds its lock through the write, so the shared
// lock keeps a reader from seeing part old, part new. A writer that renames leaves the old file
// whole: the reader then reads the new file rather than wait on the old one.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::optional<std::string> contents;
    RetryWhileReplaced(path, [&] {
        struct stat opened {};
        const FileDescriptor file(posix::OpenRegular(path, O_RDONLY, path, &opened));
        if (file.get() < 0) {
            return true;
        }
        const auto stillAtPath = [&] { return StillAtPath(path, &opened); };
        if (!Lock(file.get(), path, LOCK_SH, stillAtPath) || !stillAtPath()) {
            return false;
        }
        if (::fstat(file.get(), &opened) != 0) {
            Fail(path, errno);
        }
        contents = posix::ReadAll(file.get(), opened, path);
        return true;
    });
    return contents;
}

struct FileUpdate::State {
    std::string path;
    std::string target;
    FileDescriptor lock;
    bool exists = false;
    struct stat info {};
    std::optional<std::string> contents;

    // False when the file changed between opening and locking it: try again.
    bool TryLock();
};

bool FileUpdate::State::TryLock() {
    struct stat opened {};
    FileDescriptor file(OpenToLock(target, path, &opened));
    struct stat now {};
    if (file.get() < 0) {
        // No file to lock yet: its folder stands for it until the new file is in place.
        FileDescriptor folder(
            ::open(posix::FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() < 0 && errno != EACCES) {
            Fail(path, errno);
        }
        if (folder.get() >= 0) {
            Lock(folder.get(), path);
        }
        if (::stat(target.c_str(), &now) == 0) {
            return false;
        }
        lock = std::move(folder);
        exists = false;
        return true;
    }
    Lock(file.get(), path);
    // The previous holder may have renamed a new file over the one we waited for.
    if (::stat(target.c_str(), &now) != 0 || !SameFile(now, opened)) {
        return false;
    }
    if (::fstat(file.get(), &info) != 0) {
        Fail(path, errno);
    }
    contents = posix::ReadAll(file.get(), info, path);
    lock = std::move(file);
    exists = true;
    return true;
}

FileUpdate::FileUpdate(const std::string& path) : state_(std::make_unique<State>()) {
    state_->path = path;
    state_->target = posix::FollowLinks(path);
    RetryWhileReplaced(path, [&] { return state_->TryLock(); });
}

FileUpdate::~FileUpdate() = default;

const std::optional<std::string>& FileUpdate::Contents() const {
    return state_->contents;
}

// A new file's folder is locked, so no other save of ours makes the file meanwhile.
bool FileUpdate::Replace(std::string_view contents) {
    const State& s = *state_;
    posix::ReplaceContents(
        {s.path, s.target, s.exists ? &s.info : nullptr, s.lock.get(), s.contents}, contents);
    return true;
}

}  // namespace IniAccess::internal
