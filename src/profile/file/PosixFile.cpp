#include "PosixFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "FileAccess.h"
#include "ProfileError.h"

namespace IniAccess::internal::posix {

namespace fs = std::filesystem;

void Fail(const std::string& path, int error) {
    throw ProfileIoError(path, std::error_code(error, std::generic_category()));
}

bool Injected(FileOperation operation, const std::string& path) {
    if (const int error = InjectedFault(operation, path)) {
        errno = error;
        return true;
    }
    return false;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.release();
    }
    return *this;
}

std::string FollowLinks(const std::string& path) {
    fs::path current(path);
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current.string();
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            Fail(path, error.value());
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    Fail(path, ELOOP);
}

namespace {

void CheckKind(const struct stat& info, const std::string& path) {
    if (S_ISDIR(info.st_mode)) {
        Fail(path, EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        Fail(path, EINVAL);
    }
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes) {
        Fail(path, EFBIG);
    }
}

}  // namespace

int OpenRegular(const std::string& file, int flags, const std::string& path, struct stat* info) {
    // Opening a device can itself do something (rewind a tape, hang up a line): look first.
    if (::stat(file.c_str(), info) == 0 && !S_ISREG(info->st_mode) && !S_ISDIR(info->st_mode)) {
        Fail(path, EINVAL);
    }
    const int fd = Injected(FileOperation::Open, path)
                       ? -1
                       : ::open(file.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return -1;
        }
        Fail(path, errno == ENXIO ? EINVAL : errno);
    }
    FileDescriptor opened(fd);
    if (::fstat(fd, info) != 0) {
        Fail(path, errno);
    }
    CheckKind(*info, path);
    // A regular file never blocks; reads and writes need not expect EAGAIN.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return opened.release();
}

std::string ReadAll(int fd, const struct stat& info, const std::string& path) {
    // Read straight into the string, sized for the file and grown if the file grows meanwhile.
    std::string contents(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == contents.size()) {
            if (contents.size() > kMaxFileBytes) {
                Fail(path, EFBIG);
            }
            contents.resize(contents.size() * 2);
        }
        const ssize_t got = Injected(FileOperation::Read, path)
                                ? -1
                                : ::read(fd, contents.data() + size, contents.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(path, errno);
        }
        if (got == 0) {
            contents.resize(size);
            return contents;
        }
        size += static_cast<std::size_t>(got);
    }
}

void WriteAll(int fd, std::string_view data, const std::string& path, Faults faults) {
    while (!data.empty()) {
        const bool injected = faults == Faults::Injectable && Injected(FileOperation::Write, path);
        const ssize_t written = injected ? -1 : ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(path, errno);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string FolderOf(const std::string& file) {
    const fs::path parent = fs::path(file).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
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
        ::fsync(folder.get());
    }
}

}  // namespace IniAccess::internal::posix
