// File access on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <utility>

#include "FaultInjection.h"
#include "FileAccess.h"
#include "ProfileError.h"

namespace IniAccess {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& path, int error) {
    throw ProfileIoError(path, std::error_code(error, std::generic_category()));
}

// Each system call below goes through here first, so that tests can make any of them fail.
bool Injected(FileOperation operation, const std::string& path) {
    if (const int error = InjectedFault(operation, path)) {
        errno = error;
        return true;
    }
    return false;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

// Where a write really lands: the end of a chain of symbolic links, so that the link stays a
// link and its target gets the new contents.
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

void WriteAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        const ssize_t written =
            Injected(FileOperation::Write, path) ? -1 : ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(path, errno);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string TemporaryName(const fs::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    const fs::path name =
        "." + target.filename().string() + "." + std::to_string(generator() % 1000000000) + ".tmp";
    return (target.parent_path().empty() ? fs::path(".") : target.parent_path()) / name;
}

// Creates the temporary file exclusively, so that nothing already there is written through.
std::pair<int, std::string> CreateTemporary(const std::string& target, mode_t mode,
                                            const std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(target);
        const int fd = Injected(FileOperation::Open, path)
                           ? -1
                           : ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            return {fd, std::move(name)};
        }
        if (errno != EEXIST) {
            Fail(path, errno);
        }
    }
    Fail(path, EEXIST);
}

void SyncFolder(const std::string& target) {
    const fs::path parent = fs::path(target).parent_path();
    const FileDescriptor folder(
        ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());  // the rename is done; a failure here cannot be undone
    }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const FileDescriptor file(
        Injected(FileOperation::Open, path) ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        Fail(path, errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        Fail(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        Fail(path, EISDIR);
    }
    // Read straight into the string, sized for the file and grown if the file grows meanwhile.
    std::string contents;
    std::size_t size = 0;
    contents.resize(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) + 1 : 65536);
    for (;;) {
        if (size == contents.size()) {
            contents.resize(contents.size() * 2);
        }
        const ssize_t got =
            Injected(FileOperation::Read, path)
                ? -1
                : ::read(file.get(), contents.data() + size, contents.size() - size);
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

void ReplaceWholeFile(const std::string& path, std::string_view contents) {
    const std::string target = FollowLinks(path);
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        Fail(path, errno);
    }
    if (exists && S_ISDIR(info.st_mode)) {
        Fail(path, EISDIR);
    }
    if (exists && !S_ISREG(info.st_mode)) {
        Fail(path, EINVAL);
    }
    // The rename would replace a read-only file that the folder lets us replace; the user
    // asked for that file not to be written.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        Fail(path, errno);
    }

    auto [fd, temporary] = CreateTemporary(target, exists ? (info.st_mode & 0777) : 0666, path);
    FileDescriptor file(fd);
    try {
        if (exists) {
            // Best effort: only the owner may hand a file to another owner.
            (void)::fchown(file.get(), info.st_uid, info.st_gid);
            if (::fchmod(file.get(), info.st_mode & 07777) != 0) {
                Fail(path, errno);
            }
        }
        WriteAll(file.get(), contents, path);
        if (Injected(FileOperation::Flush, path) || ::fsync(file.get()) != 0) {
            Fail(path, errno);
        }
        if (::close(file.release()) != 0) {
            Fail(path, errno);
        }
        if (Injected(FileOperation::Rename, path) ||
            ::rename(temporary.c_str(), target.c_str()) != 0) {
            Fail(path, errno);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    SyncFolder(target);
}

}  // namespace IniAccess
