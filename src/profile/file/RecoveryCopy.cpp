#include "RecoveryCopy.h"

#include "BesideFile.h"
#include "FileAccess.h"

#ifdef _WIN32
#include "Win32File.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include "PosixFile.h"
#endif

namespace IniAccess {

namespace {

#ifdef _WIN32
std::string Target(const std::string& path) {
    return path;  // Windows saves only by replacement, so its copies are found by the given name
}

void Remove(const std::string& file) {
    DeleteFileW(internal::win32::WidePath(file).c_str());
}

bool Exists(const std::string& file) {
    return GetFileAttributesW(internal::win32::WidePath(file).c_str()) != INVALID_FILE_ATTRIBUTES;
}
#else
std::string Target(const std::string& path) {
    return internal::posix::FollowLinks(path);
}

void Remove(const std::string& file) {
    ::unlink(file.c_str());
}

bool Exists(const std::string& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0;
}
#endif

std::string Beside(const std::string& path, std::string_view prefix) {
    return internal::BesideFile(Target(path), prefix);
}

}  // namespace

std::string RecoveryCopyPath(const std::string& path) {
    return Beside(path, ".quelvar-recovery-");
}

std::string SetAsidePath(const std::string& path) {
    return Beside(path, ".quelvar-earlier-");
}

bool HasRecoveryCopy(const std::string& path) {
    return Exists(RecoveryCopyPath(path));
}

std::optional<std::string> FindRecoveryCopy(const std::string& path) {
    const std::string copy = RecoveryCopyPath(path);
    if (!Exists(copy)) {
        return std::nullopt;  // the usual case, without waiting for the savers' lock
    }
    const internal::FileUpdate update(path);
    const std::optional<std::string> contents = internal::ReadWholeFile(copy);
    if (!update.Contents() || !contents) {
        return std::nullopt;
    }
    if (*contents == *update.Contents()) {
        Remove(copy);
        return std::nullopt;
    }
    return copy;
}

void RemoveRecoveryCopy(const std::string& path) {
    Remove(RecoveryCopyPath(path));
    Remove(SetAsidePath(path));  // kept by a save whose failure could not be undone
}

}  // namespace IniAccess
