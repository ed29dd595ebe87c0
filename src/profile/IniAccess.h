#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ProfileError.h"
#include "TextCodec.h"

// Reading and writing one value of a profile (INI) file per call, by the rules of the platform's
// profile functions: each call reads the file, and a write replaces it. These single-value
// functions define what a value is; the tests hold them against the platform's own functions,
// the fuzzers drive them and the benchmarks measure them. The program loads and saves a template
// through ProfileFile (ProfileFile.h) instead, which answers by the same rules for all its values
// from one read and stores them with one replacement; of this header it uses ProfileValue and
// FirstUnwritable. Strings are UTF-8; files hold code page 932 text unless a byte-order mark
// says UTF-8, UTF-16LE or UTF-16BE. No state is kept between calls.
namespace IniAccess {

// The longest value a read returns, in bytes of code page 932, as the platform's 256-byte
// receive area allows.
inline constexpr std::size_t kMaxValueBytes = 255;

// The stored value; "" when the file, the section or the key is missing or the value is empty.
// Throws ProfileIoError when the file exists but cannot be read.
std::string ReadProfileValue(std::string fileName, std::string section, std::string key);

// Stores key=value in section, creating the file, section and key as needed and keeping every
// other line byte for byte. False when the file cannot be written; the file is then unchanged.
// Throws ProfileTextError, before touching the file, for text the file cannot hold as given.
bool WriteProfileValue(std::string fileName, std::string section, std::string key,
                       std::string value);

// What ReadProfileValue returns, and what it had to do to the stored text.
struct ProfileValue {
    std::string value;
    bool truncated = false;  // the stored value was longer than kMaxValueBytes
    bool repaired = false;   // bytes that are not text in the file's encoding were replaced
    bool fileFound = false;  // the file exists (a missing one reads as empty values)
};
ProfileValue ReadProfileEntry(std::string fileName, std::string section, std::string key);

// WriteProfileValue that reports a failed write as ProfileIoError with the system's reason.
void StoreProfileValue(std::string fileName, std::string section, std::string key,
                       std::string value);

// The first character of a value that a write to a file in this encoding would refuse: a line
// break, a NUL, or a character the encoding cannot store. Nothing when the value can be written.
std::optional<char32_t> FirstUnwritable(FileEncoding encoding, std::string_view value);

}  // namespace IniAccess
