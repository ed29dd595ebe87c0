#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace IniAccess {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point that starts at text[pos]; *length receives its length in bytes (at least 1).
// A malformed sequence yields kReplacementCharacter with a length of 1.
char32_t DecodeUtf8At(std::string_view text, std::size_t pos, std::size_t* length);

std::string EncodeUtf8(char32_t c);

// Names in profile files compare equal when they differ only in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace IniAccess
