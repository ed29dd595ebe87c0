#include "Utf16.h"

#include "Utf8.h"

namespace IniAccess::internal {

namespace {

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUnit(std::string& out, char32_t unit, bool bigEndian) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>((unit >> 8) & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

}  // namespace

std::string DecodeUtf16(std::string_view bytes, bool bigEndian, bool* repaired) {
    const std::size_t low = bigEndian ? 1 : 0;
    const auto unitAt = [&](std::size_t pos) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[pos + low]) |
                                     (static_cast<unsigned char>(bytes[pos + 1 - low]) << 8));
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t pos = 0;
    for (; pos + 1 < bytes.size(); pos += 2) {
        const char32_t unit = unitAt(pos);
        if (IsHighSurrogate(unit) && pos + 3 < bytes.size() && IsLowSurrogate(unitAt(pos + 2))) {
            out += EncodeUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(pos + 2) - 0xDC00));
            pos += 2;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            *repaired = true;
            out += EncodeUtf8(kReplacementCharacter);
        } else {
            out += EncodeUtf8(unit);
        }
    }
    if (pos < bytes.size()) {
        *repaired = true;
        out += EncodeUtf8(kReplacementCharacter);
    }
    return out;
}

std::optional<std::string> EncodeUtf16(std::string_view utf8, bool bigEndian) {
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 0;
        const char32_t c = DecodeUtf8At(utf8, pos, &length);
        if (c == kReplacementCharacter && length == 1) {
            return std::nullopt;
        }
        if (c >= 0x10000) {
            AppendUnit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
            AppendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUnit(out, c, bigEndian);
        }
        pos += length;
    }
    return out;
}

}  // namespace IniAccess::internal
