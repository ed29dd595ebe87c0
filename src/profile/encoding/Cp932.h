#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Code page 932 through the system's converters: iconv on POSIX, the Win32 API on Windows.
namespace IniAccess::internal {

// Five single bytes that the Windows code page maps, to C1 control U+0080 and to private-use
// characters, and that iconv leaves undefined; files written on Windows may hold them.
inline constexpr std::pair<unsigned char, char32_t> kWindowsOnlyBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

// Code page 932 text to UTF-8. Undefined bytes become U+30FB and set *repaired; a lead byte
// with its trail byte is one character even when the pair is unassigned.
std::string DecodeCp932(std::string_view bytes, bool* repaired);

// UTF-8 to code page 932, without any check that it reads back the same; nothing when the
// converter rejects the text.
std::optional<std::string> EncodeCp932(std::string_view utf8);

}  // namespace IniAccess::internal
