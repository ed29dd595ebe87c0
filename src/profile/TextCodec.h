#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace IniAccess {

// How a profile file stores its text. A byte-order mark selects Unicode; every other file is
// code page 932 (Shift-JIS with the Windows extensions), the ANSI code page of the users' systems.
enum class FileEncoding { Cp932, Utf8Bom, Utf16LeBom, Utf16BeBom };

inline bool IsUtf16(FileEncoding encoding) {
    return encoding == FileEncoding::Utf16LeBom || encoding == FileEncoding::Utf16BeBom;
}

FileEncoding DetectEncoding(std::string_view fileBytes);
std::string_view ByteOrderMark(FileEncoding encoding);

// The character that bytes the encoding does not define are read as: U+30FB in code page 932,
// as the platform reads them there, so that such text can be saved again; U+FFFD in Unicode files.
char32_t RepairCharacter(FileEncoding encoding);

// Decodes file text (without its byte-order mark) to UTF-8. Undefined bytes become
// RepairCharacter() and set *repaired; nothing is dropped.
std::string DecodeText(FileEncoding encoding, std::string_view bytes, bool* repaired);

// The first character of utf8 that the encoding cannot store so that it reads back unchanged
// (U+FFFD stands for bytes that are not UTF-8); nothing when all of it can be stored.
std::optional<char32_t> FirstUnstorable(FileEncoding encoding, std::string_view utf8);

// Encodes UTF-8 text for the file. Throws ProfileTextError naming `part` when the text is not
// valid UTF-8 or holds a character the encoding cannot store unchanged; never substitutes.
std::string EncodeText(FileEncoding encoding, std::string_view utf8, const std::string& part);

// How many bytes of code page 932 text the character at pos takes: two for a lead byte with a
// trail byte, even an unassigned pair, else one. Every decoder keeps these boundaries, so that
// they agree with the line scanner.
std::size_t Cp932CharacterLength(std::string_view bytes, std::size_t pos);

// The length of a character in code page 932, as the platform's 8-bit profile functions count
// it: one byte for ASCII, half-width katakana and the characters the single bytes 0x80, 0xA0 and
// 0xFD to 0xFF read as (U+0080, U+F8F0 to U+F8F3), two for everything else.
std::size_t Cp932Length(char32_t c);

}  // namespace IniAccess
