// Code-page conversion on Windows, through the platform's own converters.
#include <windows.h>

#include "TextCodec.h"
#include "Utf8.h"

namespace IniAccess {

namespace {

constexpr UINT kCodePage932 = 932;
// What the code page reads undefined bytes as; a genuine U+30FB passes strict conversion.
constexpr wchar_t kDefaultCharacter = 0x30FB;

std::wstring ToWide(UINT codePage, DWORD flags, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string ToUtf8(const wchar_t* text, std::size_t count) {
    if (count == 0) {
        return {};
    }
    const int size = static_cast<int>(count);
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::string DecodeCp932(std::string_view bytes, bool* repaired) {
    const std::wstring whole = ToWide(kCodePage932, MB_ERR_INVALID_CHARS, bytes);
    if (!whole.empty() || bytes.empty()) {
        return ToUtf8(whole.data(), whole.size());
    }
    // Some bytes are not code page 932: convert character by character, keeping the same
    // character boundaries as the line scanner.
    std::string out;
    const std::string repair = EncodeUtf8(RepairCharacter(FileEncoding::Cp932));
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = Cp932CharacterLength(bytes, pos);
        // Strict conversion also rejects the few single bytes the code page maps to private-use
        // characters; those are text there and round-trip. Only the default character is not.
        const std::wstring one = ToWide(kCodePage932, 0, bytes.substr(pos, length));
        if (one.empty() || one == std::wstring(1, kDefaultCharacter)) {
            *repaired = true;
            out += repair;
        } else {
            out += ToUtf8(one.data(), one.size());
        }
        pos += length;
    }
    return out;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian, bool* repaired) {
    std::wstring units;
    units.reserve(bytes.size() / 2);
    const std::size_t low = bigEndian ? 1 : 0;
    for (std::size_t pos = 0; pos + 1 < bytes.size(); pos += 2) {
        units += static_cast<wchar_t>(static_cast<unsigned char>(bytes[pos + low]) |
                                      (static_cast<unsigned char>(bytes[pos + 1 - low]) << 8));
    }
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const wchar_t unit = units[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            out += ToUtf8(&units[i], 2);
            ++i;
        } else if (high || low) {
            *repaired = true;
            out += EncodeUtf8(kReplacementCharacter);
        } else {
            out += ToUtf8(&units[i], 1);
        }
    }
    if (bytes.size() % 2 != 0) {
        *repaired = true;
        out += EncodeUtf8(kReplacementCharacter);
    }
    return out;
}

}  // namespace

std::string DecodeText(FileEncoding encoding, std::string_view bytes, bool* repaired) {
    switch (encoding) {
        case FileEncoding::Utf8Bom:
            return RepairUtf8(bytes, repaired);
        case FileEncoding::Utf16LeBom:
        case FileEncoding::Utf16BeBom:
            return DecodeUtf16(bytes, encoding == FileEncoding::Utf16BeBom, repaired);
        case FileEncoding::Cp932:
            break;
    }
    return DecodeCp932(bytes, repaired);
}

std::optional<std::string> ConvertToFile(FileEncoding encoding, std::string_view utf8) {
    if (utf8.empty()) {
        return std::string();
    }
    const std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    if (wide.empty()) {
        return std::nullopt;
    }
    switch (encoding) {
        case FileEncoding::Utf8Bom:
            return std::string(utf8);
        case FileEncoding::Utf16LeBom:
        case FileEncoding::Utf16BeBom: {
            const bool bigEndian = encoding == FileEncoding::Utf16BeBom;
            std::string out;
            for (const wchar_t unit : wide) {
                const char low = static_cast<char>(unit & 0xFF);
                const char high = static_cast<char>((unit >> 8) & 0xFF);
                out += bigEndian ? high : low;
                out += bigEndian ? low : high;
            }
            return out;
        }
        case FileEncoding::Cp932:
            break;
    }
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), length,
                        nullptr, &usedDefault);
    return out;
}

}  // namespace IniAccess
