#include "ProfileEdit.h"

namespace quelvar::profile {

using namespace IniAccess;

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

std::optional<std::string> EditProfile(const ProfileText& text, std::string_view section,
                                       std::string_view key, std::string_view value) {
    const FileEncoding encoding = text.encoding();
    const std::string_view bytes = text.bytes();
    const std::string storedValue = EncodeText(encoding, StoredForm(value), "value");
    const std::string equals = EncodeText(encoding, "=", "value");
    const Lookup found = text.Find(section, key);

    if (found.entry) {
        const EntryLine& entry = *found.entry;
        // A value read with repairs is stored as it was shown, so that every reader agrees.
        const ValueText current = text.Value(entry);
        if (current.text == value && !current.repaired) {
            return std::nullopt;
        }
        // The key keeps its spelling from the file; the line keeps its own line end.
        std::string out;
        out.reserve(bytes.size() + storedValue.size() + equals.size());
        out += bytes.substr(0, entry.line.begin);
        out += bytes.substr(entry.keyBegin, entry.keyEnd - entry.keyBegin);
        out += equals + storedValue;
        out += bytes.substr(entry.line.end);
        return out;
    }

    const std::string lineEnd = text.LineEnd();
    const std::string keyLine = EncodeText(encoding, key, "key") + equals + storedValue;
    if (found.sectionFound && found.lastLine) {
        const LineSpan& anchor = *found.lastLine;
        std::string out;
        out.reserve(bytes.size() + keyLine.size() + 2 * lineEnd.size());
        // The new line takes the anchor's own line end: the file's first one could join with
        // what follows (a CR before an LF) and swallow a line.
        const std::string anchorEnd =
            anchor.HasLineEnd() ? std::string(bytes.substr(anchor.end, anchor.next - anchor.end))
                                : lineEnd;
        out += bytes.substr(0, anchor.end);
        out += anchorEnd;
        out += keyLine + anchorEnd;
        out += bytes.substr(anchor.next);
        return out;
    }

    std::string out;
    out.reserve(bytes.size() + keyLine.size() + section.size() * 2 + 4 * lineEnd.size() + 8);
    out += bytes;
    if (text.HasBody() && !text.EndsWithLineEnd()) {
        out += lineEnd;
    }
    out += EncodeText(encoding, "[", "section") + EncodeText(encoding, section, "section") +
           EncodeText(encoding, "]", "section") + lineEnd;
    out += keyLine + lineEnd;
    return out;
}

}  // namespace quelvar::profile
