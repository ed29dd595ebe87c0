#include "ProfileEdit.h"

namespace IniAccess::internal {

std::string StoredForm(std::string_view value) {
    if (value.empty()) {
        return {};
    }
    const auto front = static_cast<unsigned char>(value.front());
    const auto back = static_cast<unsigned char>(value.back());
    const bool quoted = value.size() >= 2 && (front == '"' || front == '\'') && back == front;
    if (IsBlank(front) || IsBlank(back) || quoted) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

namespace {

// The key's line with the new value; the key keeps its spelling from the file and the line its
// own line end.
Splice ReplaceEntry(std::string_view bytes, const EntryLine& entry, std::string_view equals,
                    std::string_view storedValue) {
    Splice splice{entry.line.begin, entry.line.end, {}};
    splice.replacement.reserve(entry.keyEnd - entry.keyBegin + equals.size() + storedValue.size());
    splice.replacement += bytes.substr(entry.keyBegin, entry.keyEnd - entry.keyBegin);
    splice.replacement += equals;
    splice.replacement += storedValue;
    return splice;
}

// The key line added after the section's last line. It takes that line's own line end: the
// file's first one could join with what follows (a CR before an LF) and swallow a line.
Splice InsertAfter(std::string_view bytes, const LineSpan& anchor, std::string_view keyLine,
                   const std::string& lineEnd) {
    const std::string anchorEnd =
        anchor.HasLineEnd() ? std::string(bytes.substr(anchor.end, anchor.next - anchor.end))
                            : lineEnd;
    Splice splice{anchor.end, anchor.next, {}};
    splice.replacement.reserve(keyLine.size() + 2 * anchorEnd.size());
    splice.replacement += anchorEnd;
    splice.replacement += keyLine;
    splice.replacement += anchorEnd;
    return splice;
}

// A new section with its one key line at the end of the file.
Splice AppendSection(const ProfileText& text, std::string_view section, std::string_view keyLine,
                     const std::string& lineEnd) {
    const FileEncoding encoding = text.encoding();
    const std::size_t size = text.bytes().size();
    Splice splice{size, size, {}};
    std::string& out = splice.replacement;
    if (text.HasBody() && !text.EndsWithLineEnd()) {
        out += lineEnd;
    }
    out += EncodeText(encoding, "[", "section") + EncodeText(encoding, section, "section") +
           EncodeText(encoding, "]", "section") + lineEnd;
    out += keyLine;
    out += lineEnd;
    return splice;
}

}  // namespace

std::optional<Splice> EditProfile(const ProfileText& text, std::string_view section,
                                  std::string_view key, std::string_view value) {
    const FileEncoding encoding = text.encoding();
    const std::string storedValue = EncodeText(encoding, StoredForm(value), "value");
    const std::string equals = EncodeText(encoding, "=", "value");
    const Lookup found = text.Find(section, key);

    if (found.entry) {
        // A value read with repairs is stored as it was shown, so that every reader agrees.
        const ValueText current = text.Value(*found.entry);
        if (current.text == value && !current.repaired) {
            return std::nullopt;
        }
        return ReplaceEntry(text.bytes(), *found.entry, equals, storedValue);
    }
    const std::string lineEnd = text.LineEnd();
    const std::string keyLine = EncodeText(encoding, key, "key") + equals + storedValue;
    if (found.sectionFound && found.lastLine) {
        return InsertAfter(text.bytes(), *found.lastLine, keyLine, lineEnd);
    }
    return AppendSection(text, section, keyLine, lineEnd);
}

}  // namespace IniAccess::internal
