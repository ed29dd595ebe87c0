#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code page 932 through the system's converters: iconv on POSIX, the Win32 API on Windows.
namespace IniAccess::internal {

// Code page 932 text to UTF-8. Undefined bytes become U+30FB and set *repaired; a lead byte
// with its trail byte is one character even when the pair is unassigned.
std::string DecodeCp932(std::string_view bytes, bool* repaired);

// UTF-8 to code page 932, without any check that it reads back the same; nothing when the
// converter rejects the text.
std::optional<std::string> EncodeCp932(std::string_view utf8);

}  // namespace IniAccess::internal
