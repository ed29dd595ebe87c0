#include "ProfileError.h"

#include <cstdio>

#include "Utf8.h"

namespace IniAccess {

namespace {

std::string Explain(ProfileTextError::Reason reason, const std::string& part, char32_t c) {
    using Reason = ProfileTextError::Reason;
    switch (reason) {
        case Reason::Unstorable:
            return "The " + part + " holds " +
                   DescribeCharacter(c, "\"", "\"", CodeStyle::InParentheses) +
                   ", which the file's encoding cannot store.";
        case Reason::InvalidText:
            return "The " + part + " is not valid UTF-8 text.";
        case Reason::LineBreak:
            return "The " + part + " holds a line break, which a profile file cannot store.";
        case Reason::Nul:
            return "The " + part + " holds a NUL character, which a profile file cannot store.";
        case Reason::EmptyName:
            return "The " + part + " name is empty.";
        case Reason::KeyWithEquals:
            return "The key name holds '=', which a profile file cannot store in a name.";
        case Reason::KeyLikeHeader:
            return "The key name starts with '[', which a profile file reads as a section.";
    }
    return "The " + part + " cannot be stored.";
}

}  // namespace

std::string DescribeCharacter(char32_t c, std::string_view open, std::string_view close,
                              CodeStyle codeStyle) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (c < 0x20 || c == 0x7F) {
        return code;
    }
    const std::string shownCode =
        codeStyle == CodeStyle::InParentheses ? "(" + std::string(code) + ")" : code;
    return std::string(open) + internal::EncodeUtf8(c) + std::string(close) + " " + shownCode;
}

ProfileIoError::ProfileIoError(std::string path, std::error_code code)
    : std::runtime_error(path + ": " + SystemErrorText(code)),
      path_(std::move(path)),
      code_(code) {}

ProfileTextError::ProfileTextError(Reason reason, std::string part, char32_t character)
    : std::invalid_argument(Explain(reason, part, character)),
      reason_(reason),
      part_(std::move(part)),
      character_(character) {}

}  // namespace IniAccess
