#include "RecoveryCopy.h"

#include <cstdint>

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

// FNV-1a: fixed length whatever the name's, and the same on every system and in every version.
std::string NameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) {
        hex[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    }
    return hex;
}

#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";

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
constexpr std::string_view kSeparators = "/";

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
    const std::string target = Target(path);
    const std::size_t slash = target.find_last_of(kSeparators);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, start) + std::string(prefix) + NameHash(target.substr(start));
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
