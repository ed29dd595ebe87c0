#include "BesideFile.h"

#include <cstdint>

namespace IniAccess::internal {

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
#else
constexpr std::string_view kSeparators = "/";
#endif

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

}  // namespace

std::string BesideFile(const std::string& target, std::string_view prefix) {
    const std::size_t slash = target.find_last_of(kSeparators);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, start) + std::string(prefix) + NameHash(target.substr(start));
}

}  // namespace IniAccess::internal
