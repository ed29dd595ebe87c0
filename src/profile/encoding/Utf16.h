#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace IniAccess::internal {

// UTF-16 text to UTF-8. A lone surrogate and an odd byte at the end each become U+FFFD and set
// *repaired.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian, bool* repaired);

// UTF-8 text to UTF-16; nothing when it is not valid UTF-8.
std::optional<std::string> EncodeUtf16(std::string_view utf8, bool bigEndian);

}  // namespace IniAccess::internal
