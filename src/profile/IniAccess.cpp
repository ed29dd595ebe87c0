#include "IniAccess.h"

#include "FileAccess.h"
#include "ProfileEdit.h"
#include "ProfileText.h"
#include "Utf8.h"

namespace IniAccess {

namespace {

// Refuses text that would not read back as itself or would break the lines of the file.
void CheckWritable(const std::string& given, const std::string& trimmed, const std::string& part) {
    using Reason = ProfileTextError::Reason;
    if (given.find('\0') != std::string::npos) {
        throw ProfileTextError(Reason::Nul, part, U'\0');
    }
    for (const char c : trimmed) {
        if (c == '\n' || c == '\r') {
            throw ProfileTextError(Reason::LineBreak, part, static_cast<char32_t>(c));
        }
    }
}

}  // namespace

ProfileValue ReadProfileEntry(std::string fileName, std::string section, std::string key) {
    ProfileValue result;
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) {
        return result;
    }
    result.fileFound = true;
    const ProfileText text(*bytes);
    const Lookup found = text.Find(NameArgument(section), NameArgument(key));
    if (!found.entry) {
        return result;
    }
    ValueText stored = text.Value(*found.entry);
    result.repaired = stored.repaired;
    result.value = CutToReadLimit(stored.text, &result.truncated);
    return result;
}

std::string ReadProfileValue(std::string fileName, std::string section, std::string key) {
    return ReadProfileEntry(std::move(fileName), std::move(section), std::move(key)).value;
}

void StoreProfileValue(std::string fileName, std::string section, std::string key,
                       std::string value) {
    using Reason = ProfileTextError::Reason;
    const std::string sectionName = NameArgument(section);
    const std::string keyName = NameArgument(key);
    CheckWritable(section, sectionName, "section");
    CheckWritable(key, keyName, "key");
    CheckWritable(value, value, "value");
    if (sectionName.empty()) {
        throw ProfileTextError(Reason::EmptyName, "section", 0);
    }
    if (keyName.empty()) {
        throw ProfileTextError(Reason::EmptyName, "key", 0);
    }
    if (keyName.find('=') != std::string::npos) {
        throw ProfileTextError(Reason::KeyWithEquals, "key", U'=');
    }
    if (keyName.front() == '[') {
        throw ProfileTextError(Reason::KeyLikeHeader, "key", U'[');
    }

    const std::string bytes = ReadWholeFile(fileName).value_or(std::string());
    const ProfileText text(bytes);
    // Half a UTF-16 code unit at the end: anything added after it would be read out of step.
    if (text.encoding() == FileEncoding::Utf16LeBom && bytes.size() % 2 != 0) {
        throw ProfileIoError(fileName, std::make_error_code(std::errc::illegal_byte_sequence));
    }
    if (auto edited = EditProfile(text, sectionName, keyName, value)) {
        ReplaceWholeFile(fileName, *edited);
    }
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

FileEncoding EncodingForWrite(const std::string& fileName) {
    const auto bytes = ReadWholeFile(fileName);
    return bytes ? DetectEncoding(*bytes) : FileEncoding::Cp932;
}

}  // namespace IniAccess
