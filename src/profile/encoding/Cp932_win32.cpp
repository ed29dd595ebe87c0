// Code-page conversion on Windows, through the platform's own converters.
#include <windows.h>

#include "Cp932.h"
#include "TextCodec.h"
#include "Utf8.h"
#include "WideText.h"

namespace IniAccess::internal {

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

}  // namespace

std::string DecodeCp932(std::string_view bytes, bool* repaired) {
    const std::wstring whole = ToWide(kCodePage932, MB_ERR_INVALID_CHARS, bytes);
    if (!whole.empty() || bytes.empty()) {
        return Utf8FromWide(whole);
    }
    // Some bytes are not code page 932: convert character by character, keeping the same
    // character boundaries as the line scanner.
    std::string out;
    const std::string repair = EncodeUtf8(RepairCharacter(FileEncoding::Cp932));
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = Cp932CharacterLength(bytes, pos);
        // Strict conversion also rejects the few single bytes the code page maps to private-use
        // characters; those are text there and round-trip. Only the default character is not.
        const std::string_view character = bytes.substr(pos, length);
        const std::wstring one = ToWide(kCodePage932, 0, character);
        // The default character is also a character of its own (0x81 0x45): only where the
        // strict conversion refuses it does it stand for damage.
        if (one.empty() || (one == std::wstring(1, kDefaultCharacter) &&
                            ToWide(kCodePage932, MB_ERR_INVALID_CHARS, character).empty())) {
            *repaired = true;
            out += repair;
        } else {
            out += Utf8FromWide(one);
        }
        pos += length;
    }
    return out;
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
    if (utf8.empty()) {
        return std::string();
    }
    const std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    if (wide.empty()) {
        return std::nullopt;
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

}  // namespace IniAccess::internal
