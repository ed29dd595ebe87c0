#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "PosixReplace.h"
#include "TemporaryFile.h"

namespace IniAccess::internal::posix {

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

void Temporary::Write(std::string_view contents, const std::string& path) {
    WriteAll(fd_.get(), contents, path);
    Flush(fd_.get(), path);
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

}  // namespace IniAccess::internal::posix
