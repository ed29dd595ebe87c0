#include "Utf8.h"

namespace IniAccess::internal {

char32_t DecodeUtf8At(std::string_view text, std::size_t pos, std::size_t* length) {
    *length = 1;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return lead;
    }
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacementCharacter;
    }
    if (extra >= text.size() - pos) {
        return kReplacementCharacter;
    }
    for (std::size_t i = 1; i <= extra; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            return kReplacementCharacter;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kReplacementCharacter;
    }
    *length = extra + 1;
    return c;
}

std::string EncodeUtf8(char32_t c) {
    char bytes[4];
    return std::string(bytes, WriteUtf8(c, bytes));
}

std::size_t WriteUtf8(char32_t c, char* out) {
    const auto put = [&](std::size_t i, char32_t bits) { out[i] = static_cast<char>(bits); };
    if (c < 0x80) {
        put(0, c);
        return 1;
    }
    if (c < 0x800) {
        put(0, 0xC0 | (c >> 6));
        put(1, 0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        put(0, 0xE0 | (c >> 12));
        put(1, 0x80 | ((c >> 6) & 0x3F));
        put(2, 0x80 | (c & 0x3F));
        return 3;
    }
    put(0, 0xF0 | (c >> 18));
    put(1, 0x80 | ((c >> 12) & 0x3F));
    put(2, 0x80 | ((c >> 6) & 0x3F));
    put(3, 0x80 | (c & 0x3F));
    return 4;
}

std::string RepairUtf8(std::string_view bytes, bool* repaired) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t length = 0;
        const char32_t c = DecodeUtf8At(bytes, pos, &length);
        if (c == kReplacementCharacter && length == 1) {
            *repaired = true;
            out += EncodeUtf8(kReplacementCharacter);
        } else {
            out.append(bytes.substr(pos, length));
        }
        pos += length;
    }
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace IniAccess::internal
