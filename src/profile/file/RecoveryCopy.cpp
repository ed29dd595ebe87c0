#include "RecoveryCopy.h"

#include <cstdint>

#include "FileAccess.h"

#ifdef _WIN32
#include "Win32File.h"
#else
#include <unistd.h>

#include "PosixFile.h"
#endif

namespace IniAccess {

using namespace quelvar::profile;

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
    DeleteFileW(win32::WidePath(file).c_str());
}
#else
constexpr std::string_view kSeparators = "/";

std::string Target(const std::string& path) {
    return posix::FollowLinks(path);
}

void Remove(const std::string& file) {
    ::unlink(file.c_str());
}
#endif

}  // namespace

std::string RecoveryCopyPath(const std::string& path) {
    const std::string target = Target(path);
    const std::size_t slash = target.find_last_of(kSeparators);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, start) + ".quelvar-recovery-" + NameHash(target.substr(start));
}

std::optional<std::string> FindRecoveryCopy(const std::string& path) {
    const std::string copy = RecoveryCopyPath(path);
    if (!ReadWholeFile(copy)) {
        return std::nullopt;  // the usual case, without waiting for the savers' lock
    }
    const FileUpdate update(path);
    const std::optional<std::string> contents = ReadWholeFile(copy);
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
}

}  // namespace IniAccess
