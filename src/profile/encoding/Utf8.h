#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace IniAccess::internal {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point that starts at text[pos]; *length receives its length in bytes (at least 1).
// A malformed sequence yields kReplacementCharacter with a length of 1.
char32_t DecodeUtf8At(std::string_view text, std::size_t pos, std::size_t* length);

std::string EncodeUtf8(char32_t c);

// EncodeUtf8 into out, which has room for four bytes; returns how many it wrote. For loops
// that would otherwise make a string per character.
std::size_t WriteUtf8(char32_t c, char* out);

// The text with every byte that does not belong to a well-formed UTF-8 sequence (overlong
// forms, surrogates, the old five- and six-byte forms included) replaced by U+FFFD, which sets
// *repaired.
std::string RepairUtf8(std::string_view bytes, bool* repaired);

// Names in profile files compare equal when they differ only in the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace IniAccess::internal
