#include "RecoveryCopy.h"

#include "BesideFile.h"
#include "FileAccess.h"
#include "RecoveryCopyFiles.h"

namespace IniAccess {

using internal::CopyExists;
using internal::RemoveCopy;

namespace {

std::string Beside(const std::string& path, std::string_view prefix) {
    return internal::BesideFile(internal::CopyTarget(path), prefix);
}

}  // namespace

std::string RecoveryCopyPath(const std::string& path) {
    return Beside(path, ".quelvar-recovery-");
}

std::string internal::SetAsidePath(const std::string& path) {
    return Beside(path, ".quelvar-earlier-");
}

std::optional<std::string> FindRecoveryCopy(const std::string& path) {
    const std::string copy = RecoveryCopyPath(path);
    if (!CopyExists(copy)) {
        return std::nullopt;  // the usual case, without waiting for the savers' lock
    }
    const internal::FileUpdate update(path);
    const std::optional<std::string> contents = internal::ReadWholeFile(copy);
    if (!update.Contents() || !contents) {
        return std::nullopt;
    }
    if (*contents == *update.Contents()) {
        RemoveCopy(copy);
        return std::nullopt;
    }
    return copy;
}

void internal::RemoveRecoveryCopy(const std::string& path) {
    RemoveCopy(RecoveryCopyPath(path));
    RemoveCopy(SetAsidePath(path));  // kept by a save whose failure could not be undone
}

}  // namespace IniAccess
