#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TextCodec.h"

namespace IniAccess::internal {

// One line of a profile file, as byte offsets into it.
struct LineSpan {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // one past its last byte before the line end
    std::size_t next = 0;   // first byte of the following line

    bool HasLineEnd() const { return next > end; }
};

// A key line: the key as spelled in the file and the raw value after '=', blanks trimmed.
struct EntryLine {
    LineSpan line;
    std::size_t keyBegin = 0;
    std::size_t keyEnd = 0;
    bool hasValue = false;  // a line without '=' names a key that has no value
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

struct Lookup {
    bool sectionFound = false;
    std::optional<EntryLine> entry;
    // The section's last line that is not blank (its header when it has no other), where a new
    // key goes.
    std::optional<LineSpan> lastLine;
};

struct ValueText {
    std::string text;
    bool repaired = false;  // bytes that are not text in the file's encoding were replaced
};

// The bytes of a profile file, read by the rules of the platform's profile functions: line ends
// LF, CR or CRLF; blanks trimmed around names and values; a header is a line that starts with
// '[' and runs to the last ']'; names match ignoring ASCII case; the first of duplicate sections
// and keys counts. Structure is found by characters, never by bytes that may be the second half
// of a double-byte character.
class ProfileText {
  public:
    explicit ProfileText(std::string_view bytes);

    FileEncoding encoding() const { return encoding_; }
    std::string_view bytes() const { return bytes_; }
    bool HasBody() const { return body_ < bytes_.size(); }
    bool EndsWithLineEnd() const;

    // The file's own line end (the first one in it), CRLF when it has none; encoded.
    std::string LineEnd() const;

    // section and key are UTF-8, already trimmed. Only the first section of that name is searched.
    Lookup Find(std::string_view section, std::string_view key) const;

    // Every key line of the section that Find searches, in file order; for many lookups at once.
    std::vector<EntryLine> Entries(std::string_view section) const;

    // The key of a key line as readers compare it: decoded, cut at a NUL.
    std::string KeyName(const EntryLine& entry) const;

    // The value as every reader gets it: cut at a NUL, one pair of enclosing quotes removed.
    ValueText Value(const EntryLine& entry) const;

    // Value for each entry (an empty value for a null one), as Value gives them but converted
    // together: a code page converter costs more to set up and call than a short value to
    // convert. Fast path of Value; must agree with it; pinned by ProfileFileSnapshotGetAll.*.
    std::vector<ValueText> Values(const std::vector<const EntryLine*>& entries) const;

  private:
    std::size_t Unit(std::size_t pos) const;
    std::size_t FindLineEnd(std::size_t pos) const;
    LineSpan LineAt(std::size_t pos) const;
    // Find, or with `all` every entry of the section collected instead of one matched.
    Lookup Locate(std::string_view section, std::string_view key,
                  std::vector<EntryLine>* all) const;
    Lookup FindNamed(std::string_view section, std::string_view key,
                     std::vector<EntryLine>* all) const;
    std::size_t SkipBlanks(std::size_t pos, std::size_t end) const;
    std::size_t TrimEnd(std::size_t begin, std::size_t end) const;
    // Where the code unit first occurs in [begin, end); end when it does not.
    std::size_t FindUnit(std::size_t begin, std::size_t end, std::size_t unit) const;
    std::string Decode(std::size_t begin, std::size_t end, bool* repaired) const;
    std::size_t ValueEnd(const EntryLine& entry) const;
    // Values in one conversion; nothing when any value needed a repair, which is then told
    // value by value.
    std::optional<std::vector<ValueText>> DecodeTogether(
        const std::vector<const EntryLine*>& entries) const;
    std::optional<std::string> HeaderName(std::size_t begin, std::size_t end) const;
    EntryLine ParseEntry(const LineSpan& line, std::size_t start) const;
    // Reads line by line from pos, in the section (when result says it was found) or before it.
    Lookup Scan(std::size_t pos, std::string_view section, std::string_view key, Lookup result,
                std::vector<EntryLine>* all) const;

    std::string_view bytes_;
    FileEncoding encoding_;
    std::size_t body_;   // first byte after the byte-order mark
    std::size_t width_;  // bytes in one code unit: 2 in UTF-16, else 1
    std::size_t high_;   // which byte of a UTF-16 code unit holds its high half
};

// Whether a character is one of the blanks that profile readers trim: space, tab, CR, VT, FF
// and the DOS end-of-file mark. The ideographic space is text.
inline bool IsBlank(std::size_t c) {
    return c == 0x20 || c == 0x09 || c == 0x0D || c == 0x0B || c == 0x0C || c == 0x1A;
}

// A section or key name as the platform takes it from a caller: up to a NUL, blanks around it
// removed.
std::string NameArgument(std::string_view name);

}  // namespace IniAccess::internal
