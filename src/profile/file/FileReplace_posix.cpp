// Replacing a file's contents on POSIX systems: by renaming a new file over it when the new file
// can be made the same as the old in every way a user sees, else by writing it in place.
#include <unistd.h>

#include <cerrno>

#include "PosixReplace.h"
#include "RecoveryCopyFiles.h"

namespace IniAccess::internal::posix {

namespace {

void RenameIntoPlace(Temporary& temporary, const ReplaceTarget& replace) {
    if (Injected(FileOperation::Rename, replace.path) ||
        ::rename(temporary.name().c_str(), replace.target.c_str()) != 0) {
        Fail(replace.path, errno);
    }
    temporary.MovedIntoPlace();
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
        // The folder takes no new file but the file may be written.
        WriteInPlaceWithoutCopy(replace, contents);
        return;
    }
    const bool same =
        !old || (CopyMetadata(*old, replace.lockedFd, temporary.fd(), path) && old->st_nlink == 1);
    temporary.Write(contents, path);
    if (!same) {
        WriteInPlaceWithCopy(temporary, replace, contents);
        return;
    }
    RenameIntoPlace(temporary, replace);
    RemoveRecoveryCopy(replace.target);  // left by an earlier save cut short: the file is whole
}

}  // namespace IniAccess::internal::posix
