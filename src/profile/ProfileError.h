#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace IniAccess {

// The system's own description of an error, as UTF-8 whatever the system's code page. On Windows
// the C++ library gives it in the ANSI code page, which a UTF-8 message would show as U+FFFD.
std::string SystemErrorText(std::error_code code);

// A profile file exists but could not be read, or could not be written.
// what() is the path and SystemErrorText; path() and code() let callers phrase their own.
class ProfileIoError : public std::runtime_error {
  public:
    ProfileIoError(std::string path, std::error_code code);

    const std::string& path() const noexcept { return path_; }
    std::error_code code() const noexcept { return code_; }

  private:
    std::string path_;
    std::error_code code_;
};

// Text that a write refuses because storing it would change it or break the file's structure.
class ProfileTextError : public std::invalid_argument {
  public:
    enum class Reason {
        Unstorable,     // the file's encoding has no exact form for the character
        InvalidText,    // the argument is not valid UTF-8
        LineBreak,      // CR or LF would split the line
        Nul,            // NUL would end the text early for every reader
        EmptyName,      // a section or key name that is empty after trimming blanks
        KeyWithEquals,  // a key name holding '=' would read back shorter
        KeyLikeHeader,  // a key name starting with '[' would read back as a section
    };

    // part is "section", "key" or "value"; character is the offending character, if any.
    ProfileTextError(Reason reason, std::string part, char32_t character);

    Reason reason() const noexcept { return reason_; }
    const std::string& part() const noexcept { return part_; }
    char32_t character() const noexcept { return character_; }

  private:
    Reason reason_;
    std::string part_;
    char32_t character_;
};

// How DescribeCharacter shows a character's code after the character.
enum class CodeStyle { Bare, InParentheses };

// A character as messages name it: the character between open and close, then its code
// ("U+00E9"); a control character by its code alone.
std::string DescribeCharacter(char32_t c, std::string_view open, std::string_view close,
                              CodeStyle codeStyle);

}  // namespace IniAccess
