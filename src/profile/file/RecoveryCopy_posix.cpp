#include <sys/stat.h>
#include <unistd.h>

#include "PosixFile.h"
#include "RecoveryCopyFiles.h"

namespace IniAccess::internal {

std::string CopyTarget(const std::string& path) {
    return posix::FollowLinks(path);
}

bool CopyExists(const std::string& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0;
}

void RemoveCopy(const std::string& file) {
    if (!posix::Injected(FileOperation::Remove, file)) {
        ::unlink(file.c_str());
    }
}

}  // namespace IniAccess::internal
