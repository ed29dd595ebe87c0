#include "IniAccess.h"

#include "ProfileFile.h"

namespace IniAccess {

ProfileValue ReadProfileEntry(std::string fileName, std::string section, std::string key) {
    return ProfileFile::Read(fileName).Get(section, key);
}

std::string ReadProfileValue(std::string fileName, std::string section, std::string key) {
    return ReadProfileEntry(std::move(fileName), std::move(section), std::move(key)).value;
}

void StoreProfileValue(std::string fileName, std::string section, std::string key,
                       std::string value) {
    UpdateProfileFile(fileName, [&](ProfileFile& file) { file.Set(section, key, value); });
}

bool WriteProfileValue(std::string fileName, std::string section, std::string key,
                       std::string value) {
    try {
        StoreProfileValue(std::move(fileName), std::move(section), std::move(key),
                          std::move(value));
        return true;
    } catch (const ProfileIoError&) {
        return false;
    }
}

std::optional<char32_t> FirstUnwritable(FileEncoding encoding, std::string_view value) {
    const std::size_t breaking = value.find_first_of(std::string_view("\r\n\0", 3));
    if (auto bad = FirstUnstorable(encoding, value.substr(0, breaking))) {
        return bad;
    }
    if (breaking != std::string_view::npos) {
        return static_cast<char32_t>(value[breaking]);
    }
    return std::nullopt;
}

}  // namespace IniAccess
