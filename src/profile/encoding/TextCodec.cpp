#include "TextCodec.h"

#include "Cp932.h"
#include "ProfileError.h"
#include "Utf16.h"
#include "Utf8.h"

namespace IniAccess {

FileEncoding DetectEncoding(std::string_view fileBytes) {
    if (fileBytes.starts_with("\xFF\xFE")) {
        return FileEncoding::Utf16LeBom;
    }
    if (fileBytes.starts_with("\xFE\xFF")) {
        return FileEncoding::Utf16BeBom;
    }
    if (fileBytes.starts_with("\xEF\xBB\xBF")) {
        return FileEncoding::Utf8Bom;
    }
    return FileEncoding::Cp932;
}

std::string_view ByteOrderMark(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::Utf8Bom:
            return "\xEF\xBB\xBF";
        case FileEncoding::Utf16LeBom:
            return "\xFF\xFE";
        case FileEncoding::Utf16BeBom:
            return "\xFE\xFF";
        case FileEncoding::Cp932:
            break;
    }
    return {};
}

std::string DecodeText(FileEncoding encoding, std::string_view bytes, bool* repaired) {
    switch (encoding) {
        case FileEncoding::Utf8Bom:
            return internal::RepairUtf8(bytes, repaired);
        case FileEncoding::Utf16LeBom:
        case FileEncoding::Utf16BeBom:
            return internal::DecodeUtf16(bytes, encoding == FileEncoding::Utf16BeBom, repaired);
        case FileEncoding::Cp932:
            break;
    }
    return internal::DecodeCp932(bytes, repaired);
}

char32_t RepairCharacter(FileEncoding encoding) {
    return encoding == FileEncoding::Cp932 ? U'\u30FB' : internal::kReplacementCharacter;
}

namespace {

// UTF-8 to the encoding without any check that it reads back the same; nothing when the
// converter rejects the text.
std::optional<std::string> ConvertToFile(FileEncoding encoding, std::string_view utf8) {
    switch (encoding) {
        case FileEncoding::Utf8Bom: {
            bool repaired = false;
            internal::RepairUtf8(utf8, &repaired);
            return repaired ? std::nullopt : std::optional<std::string>(utf8);
        }
        case FileEncoding::Utf16LeBom:
        case FileEncoding::Utf16BeBom:
            return internal::EncodeUtf16(utf8, encoding == FileEncoding::Utf16BeBom);
        case FileEncoding::Cp932:
            break;
    }
    return internal::EncodeCp932(utf8);
}

// Converters may substitute a near character (code page 932 has one byte for both the yen sign
// and the backslash), so text counts as stored only when it decodes back to itself.
std::optional<std::string> EncodeExactly(FileEncoding encoding, std::string_view utf8) {
    auto bytes = ConvertToFile(encoding, utf8);
    if (!bytes) {
        return std::nullopt;
    }
    bool repaired = false;
    if (DecodeText(encoding, *bytes, &repaired) != utf8 || repaired) {
        return std::nullopt;
    }
    return bytes;
}

struct Fault {
    char32_t character;
    bool malformed;
};

std::optional<Fault> FindFault(FileEncoding encoding, std::string_view utf8) {
    if (EncodeExactly(encoding, utf8)) {
        return std::nullopt;
    }
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 0;
        const char32_t c = internal::DecodeUtf8At(utf8, pos, &length);
        if (c == internal::kReplacementCharacter && length == 1) {
            return Fault{c, true};
        }
        if (!EncodeExactly(encoding, utf8.substr(pos, length))) {
            return Fault{c, false};
        }
        pos += length;
    }
    // Every character alone is storable but the whole is not: blame the text itself.
    return Fault{internal::kReplacementCharacter, true};
}

}  // namespace

std::optional<char32_t> FirstUnstorable(FileEncoding encoding, std::string_view utf8) {
    if (auto fault = FindFault(encoding, utf8)) {
        return fault->character;
    }
    return std::nullopt;
}

std::string EncodeText(FileEncoding encoding, std::string_view utf8, const std::string& part) {
    if (auto bytes = EncodeExactly(encoding, utf8)) {
        return std::move(*bytes);
    }
    const Fault fault =
        FindFault(encoding, utf8).value_or(Fault{internal::kReplacementCharacter, true});
    throw ProfileTextError(fault.malformed ? ProfileTextError::Reason::InvalidText
                                           : ProfileTextError::Reason::Unstorable,
                           part, fault.character);
}

std::size_t Cp932CharacterLength(std::string_view bytes, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const bool lead =
        (byte(pos) >= 0x81 && byte(pos) <= 0x9F) || (byte(pos) >= 0xE0 && byte(pos) <= 0xFC);
    if (!lead || pos + 1 >= bytes.size()) {
        return 1;
    }
    const unsigned char next = byte(pos + 1);
    return ((next >= 0x40 && next <= 0x7E) || (next >= 0x80 && next <= 0xFC)) ? 2 : 1;
}

std::size_t Cp932Length(char32_t c) {
    if (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) {
        return 1;
    }
    // The Windows-only bytes are single bytes of the file too: a value ending in one of them is
    // as long as its bytes, not one byte longer.
    for (const auto& [byte, mapped] : internal::kWindowsOnlyBytes) {
        if (mapped == c) {
            return 1;
        }
    }
    return 2;
}

}  // namespace IniAccess
