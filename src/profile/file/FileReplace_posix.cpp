// Replacing a file's contents on POSIX systems: by renaming a new file over it when the new file
// can be made the same as the old in every way a user sees, else by writing it in place.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <vector>

#include "PosixFile.h"
#include "RecoveryCopy.h"
#include "TemporaryFile.h"

namespace IniAccess::internal::posix {

namespace {

volatile sig_atomic_t deferredSignal = 0;

extern "C" void DeferSignal(int signal) {
    deferredSignal = signal;
}

// The signals that end the program wait until the save has finished or cleaned up, so that
// neither a half-written file nor a temporary one is left behind. They are caught rather than
// blocked: a mask covers only this thread, and any other thread of the program could take the
// signal. SIGXFSZ is ignored so that a file-size limit comes back from write() as EFBIG, a
// failure the user is shown.
class SaveSignals {
  public:
    SaveSignals() {
        deferredSignal = 0;
        struct sigaction defer {};
        defer.sa_handler = DeferSignal;
        defer.sa_flags = SA_RESTART;
        sigfillset(&defer.sa_mask);
        for (std::size_t i = 0; i < std::size(kEnding); ++i) {
            sigaction(kEnding[i], nullptr, &previous_[i]);
            if (previous_[i].sa_handler != SIG_IGN) {
                sigaction(kEnding[i], &defer, nullptr);
            }
        }
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previousXfsz_);
    }
    ~SaveSignals() {
        sigaction(SIGXFSZ, &previousXfsz_, nullptr);
        for (std::size_t i = 0; i < std::size(kEnding); ++i) {
            sigaction(kEnding[i], &previous_[i], nullptr);
        }
        if (deferredSignal != 0) {
            ::raise(deferredSignal);
        }
    }
    SaveSignals(const SaveSignals&) = delete;
    SaveSignals& operator=(const SaveSignals&) = delete;

  private:
    static constexpr int kEnding[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
    struct sigaction previous_[std::size(kEnding)]{};
    struct sigaction previousXfsz_ {};
};

class Temporary {
  public:
    Temporary(const std::string& target, const std::string& path, bool mayFail);
    ~Temporary() { Remove(); }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    bool valid() const { return fd_.get() >= 0 || !name_.empty(); }
    int fd() const { return fd_.get(); }
    const std::string& name() const { return name_; }
    void Close(const std::string& path);
    void Keep() { name_.clear(); }  // renamed into place, or left to recover from
    void RenameTo(const std::string& name, const std::string& path);
    void Remove();

  private:
    FileDescriptor fd_;
    std::string name_;
};

// Created exclusively, so that nothing already there is written through. mayFail is set when
// replacing a file: its mode is copied later, and a folder that refuses new files gives no
// temporary instead of an error. A new file gets the mode the umask allows.
Temporary::Temporary(const std::string& target, const std::string& path, bool mayFail) {
    const auto create = [&](const std::filesystem::path& name) {
        const int fd = Injected(FileOperation::Open, path)
                           ? -1
                           : ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                    mayFail ? 0600 : 0666);
        if (fd >= 0) {
            fd_ = FileDescriptor(fd);
            return CreateOutcome::Created;
        }
        if (mayFail && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            return CreateOutcome::Refused;
        }
        if (errno != EEXIST) {
            Fail(path, errno);
        }
        return CreateOutcome::NameTaken;
    };
    bool allTaken = false;
    if (const auto name = CreateTemporary(FolderOf(target), create, &allTaken)) {
        name_ = name->string();
    } else if (allTaken) {
        Fail(path, EEXIST);
    }
}

void Temporary::Close(const std::string& path) {
    if (::close(fd_.release()) != 0) {
        Fail(path, errno);
    }
}

void Temporary::RenameTo(const std::string& name, const std::string& path) {
    if (Injected(FileOperation::Rename, path) || ::rename(name_.c_str(), name.c_str()) != 0) {
        Fail(path, errno);
    }
    name_ = name;
}

void Temporary::Remove() {
    fd_ = FileDescriptor();
    if (!name_.empty()) {
        ::unlink(name_.c_str());
        name_.clear();
    }
}

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

// Gives the new file the old one's owner, group, mode and attributes. False when it cannot
// have them all: only the owner (or root) may hand a file to another owner.
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

void Flush(int fd, const std::string& path) {
    if (Injected(FileOperation::Flush, path) || ::fsync(fd) != 0) {
        Fail(path, errno);
    }
}

void SyncFolder(const std::string& target, const std::string& path) {
    const FileDescriptor folder(
        ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0 && !Injected(FileOperation::Flush, path)) {
        ::fsync(folder.get());  // the rename is done; a failure here cannot be undone
    }
}

// Puts bytes at the start of the file and cuts it there.
void Overwrite(int fd, std::string_view bytes, const std::string& path, Faults faults) {
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        Fail(path, errno);
    }
    WriteAll(fd, bytes, path, faults);
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        Fail(path, errno);
    }
    if (faults == Faults::Injectable) {
        Flush(fd, path);
    } else {
        ::fsync(fd);
    }
}

// The same file keeps its owner, group, links and attributes. A failed write puts the old
// contents back; a crash during it, or a failure to put them back, is what the recovery copy
// beside the file is for.
void WriteInPlace(const ReplaceTarget& replace, std::string_view contents, Temporary* copy) {
    struct stat info {};
    FileDescriptor file(OpenRegular(replace.target, O_WRONLY, replace.path, &info));
    if (file.get() < 0 || info.st_ino != replace.existing->st_ino ||
        info.st_dev != replace.existing->st_dev) {
        Fail(replace.path, EBUSY);
    }
    try {
        Overwrite(file.get(), contents, replace.path, Faults::Injectable);
    } catch (...) {
        try {
            Overwrite(file.get(), replace.original.value_or(std::string()), replace.path,
                      Faults::None);
        } catch (...) {  // the first failure is the one to report
            if (copy) {
                copy->Keep();
            }
        }
        throw;
    }
}

void WriteTemporary(Temporary& temporary, std::string_view contents, const std::string& path) {
    WriteAll(temporary.fd(), contents, path);
    Flush(temporary.fd(), path);
    temporary.Close(path);
}

// An earlier recovery copy, moved aside while a new one takes its name: a failed save then puts
// it back, since the file may still be the one it was made to recover.
class EarlierCopy {
  public:
    EarlierCopy(const std::string& target, const std::string& path)
        : copy_(RecoveryCopyPath(target)), aside_(SetAsidePath(target)) {
        if (::rename(copy_.c_str(), aside_.c_str()) != 0) {
            if (errno != ENOENT) {
                Fail(path, errno);
            }
            aside_.clear();
        }
    }
    EarlierCopy(const EarlierCopy&) = delete;
    EarlierCopy& operator=(const EarlierCopy&) = delete;
    const std::string& copy() const { return copy_; }
    void Drop() {
        if (!aside_.empty()) {
            ::unlink(aside_.c_str());
        }
    }
    void PutBack() {
        if (!aside_.empty()) {
            ::rename(aside_.c_str(), copy_.c_str());
        }
    }

  private:
    std::string copy_;
    std::string aside_;
};

// Only once complete and on disk does the new copy take the name Open looks for: a crash while
// it was written leaves a file no one offers.
void WriteInPlaceWithCopy(Temporary& temporary, const ReplaceTarget& replace,
                          std::string_view contents) {
    EarlierCopy earlier(replace.target, replace.path);
    try {
        temporary.RenameTo(earlier.copy(), replace.path);
        SyncFolder(replace.target, replace.path);
        WriteInPlace(replace, contents, &temporary);
    } catch (...) {
        if (!temporary.name().empty()) {  // the file holds its old contents again
            temporary.Remove();
            earlier.PutBack();
        }
        throw;
    }
    earlier.Drop();
}

void RenameIntoPlace(Temporary& temporary, const ReplaceTarget& replace) {
    if (Injected(FileOperation::Rename, replace.path) ||
        ::rename(temporary.name().c_str(), replace.target.c_str()) != 0) {
        Fail(replace.path, errno);
    }
    temporary.Keep();
    SyncFolder(replace.target, replace.path);
}

}  // namespace

void ReplaceContents(const ReplaceTarget& replace, std::string_view contents) {
    const SaveSignals signals;
    const struct stat* old = replace.existing;
    const std::string& path = replace.path;
    // The rename would replace a read-only file that the folder lets us replace; the user
    // asked for that file not to be written.
    if (old && ::access(replace.target.c_str(), W_OK) != 0) {
        Fail(path, errno);
    }
    Temporary temporary(replace.target, path, old != nullptr);
    if (!temporary.valid()) {
        // The folder takes no new file but the file may be written: in place, without a copy.
        WriteInPlace(replace, contents, nullptr);
        return;
    }
    const bool same =
        !old || (CopyMetadata(*old, replace.lockedFd, temporary.fd(), path) && old->st_nlink == 1);
    WriteTemporary(temporary, contents, path);
    if (!same) {
        WriteInPlaceWithCopy(temporary, replace, contents);
        return;  // the copy is removed on the way out
    }
    RenameIntoPlace(temporary, replace);
    RemoveRecoveryCopy(replace.target);
}

}  // namespace IniAccess::internal::posix
