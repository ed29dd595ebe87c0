#include "ProfileText.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "Utf8.h"

namespace IniAccess::internal {

namespace {

constexpr std::size_t kLf = 0x0A;
constexpr std::size_t kCr = 0x0D;

std::string_view TrimUtf8(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view CutAtNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes)
    : bytes_(bytes),
      encoding_(DetectEncoding(bytes)),
      body_(ByteOrderMark(encoding_).size()),
      width_(IsUtf16(encoding_) ? 2 : 1),
      high_(encoding_ == FileEncoding::Utf16BeBom ? 0 : 1) {}

std::size_t ProfileText::Unit(std::size_t pos) const {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes_[i]); };
    if (width_ == 2 && pos + 1 < bytes_.size()) {
        return byte(pos + 1 - high_) | (static_cast<std::size_t>(byte(pos + high_)) << 8);
    }
    return byte(pos);
}

std::size_t ProfileText::FindUnit(std::size_t begin, std::size_t end, std::size_t unit) const {
    if (width_ == 1) {
        // In code page 932 every byte below 0x40 is a character of its own, never the second
        // half of a double-byte one, so a byte search finds '=', NUL and line ends safely.
        const void* hit = std::memchr(bytes_.data() + begin, static_cast<int>(unit), end - begin);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes_.data()) : end;
    }
    for (std::size_t pos = begin; pos < end; pos += width_) {
        if (Unit(pos) == unit) {
            return pos;
        }
    }
    return end;
}

// One pass for both line ends: a search for LF alone would run to the end of a file whose lines
// end in CR, once for every line.
std::size_t ProfileText::FindLineEnd(std::size_t pos) const {
    const std::size_t size = bytes_.size();
    if (width_ == 1) {
        const char* const data = bytes_.data();
        while (pos < size && data[pos] != '\n' && data[pos] != '\r') {
            ++pos;
        }
        return pos;
    }
    for (; pos < size; pos += width_) {
        const std::size_t unit = Unit(pos);
        if (unit == kLf || unit == kCr) {
            return pos;
        }
    }
    return size;
}

LineSpan ProfileText::LineAt(std::size_t pos) const {
    const std::size_t size = bytes_.size();
    const std::size_t end = FindLineEnd(pos);
    std::size_t next = end;
    if (end < size) {
        next = end + width_;
        if (Unit(end) == kCr && next < size && Unit(next) == kLf) {
            next += width_;
        }
    }
    return {pos, end, std::min(next, size)};
}

std::size_t ProfileText::SkipBlanks(std::size_t pos, std::size_t end) const {
    while (pos < end && IsBlank(Unit(pos))) {
        pos += width_;
    }
    return std::min(pos, end);
}

std::size_t ProfileText::TrimEnd(std::size_t begin, std::size_t end) const {
    // Blanks are below 0x40, so in code page 932 a trailing blank byte is always a blank.
    while (end >= begin + width_ && IsBlank(Unit(end - width_))) {
        end -= width_;
    }
    return end;
}

std::string ProfileText::Decode(std::size_t begin, std::size_t end, bool* repaired) const {
    const std::string_view raw = bytes_.substr(begin, end - begin);
    if (width_ == 1 && std::all_of(raw.begin(), raw.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(raw);
    }
    return DecodeText(encoding_, raw, repaired);
}

bool ProfileText::EndsWithLineEnd() const {
    if (!HasBody()) {
        return false;
    }
    const std::size_t last = Unit(bytes_.size() - width_);
    return last == kLf || last == kCr;
}

std::string ProfileText::LineEnd() const {
    const LineSpan first = LineAt(body_);
    if (!first.HasLineEnd()) {
        return EncodeText(encoding_, "\r\n", "line end");
    }
    return std::string(bytes_.substr(first.end, first.next - first.end));
}

std::optional<std::string> ProfileText::HeaderName(std::size_t begin, std::size_t end) const {
    bool repaired = false;
    const std::string line = Decode(begin, end, &repaired);
    // The caller saw '[' at begin; the name runs to the last ']' of the line.
    const std::size_t close = line.rfind(']');
    if (close == std::string::npos || close == 0) {
        return std::nullopt;
    }
    return std::string(CutAtNul(TrimUtf8(std::string_view(line).substr(1, close - 1))));
}

EntryLine ProfileText::ParseEntry(const LineSpan& line, std::size_t start) const {
    EntryLine entry;
    entry.line = line;
    entry.keyBegin = start;
    const std::size_t end = TrimEnd(start, line.end);
    const std::size_t equals = FindUnit(start, end, '=');
    entry.keyEnd = TrimEnd(start, equals);
    entry.hasValue = equals < end;
    if (entry.hasValue) {
        entry.valueBegin = SkipBlanks(equals + width_, end);
        entry.valueEnd = std::max(entry.valueBegin, end);
    }
    return entry;
}

Lookup ProfileText::Find(std::string_view section, std::string_view key) const {
    return Locate(section, key, nullptr);
}

std::vector<EntryLine> ProfileText::Entries(std::string_view section) const {
    std::vector<EntryLine> entries;
    Locate(section, {}, &entries);
    return entries;
}

std::string ProfileText::KeyName(const EntryLine& entry) const {
    bool repaired = false;
    return Decode(entry.keyBegin, FindUnit(entry.keyBegin, entry.keyEnd, 0), &repaired);
}

Lookup ProfileText::Locate(std::string_view section, std::string_view key,
                           std::vector<EntryLine>* all) const {
    Lookup named = FindNamed(section, key, all);
    if (named.sectionFound || !section.empty()) {
        return named;
    }
    // Without a "[]" header, the lines before the first header stand for the empty name.
    Lookup result;
    result.sectionFound = true;
    return Scan(body_, section, key, result, all);
}

Lookup ProfileText::FindNamed(std::string_view section, std::string_view key,
                              std::vector<EntryLine>* all) const {
    if (width_ != 1) {
        return Scan(body_, section, key, Lookup{}, all);
    }
    // Only a '[' that starts a line can open a section, so the search jumps from one '[' to
    // the next instead of reading every line. A '[' that is the second byte of a double-byte
    // character follows its first byte, which is no blank and no line end, and so is passed.
    // Fast path of Scan; must agree with it; pinned by ProfileProperty.* and Differential.*.
    for (std::size_t pos = body_; pos < bytes_.size();) {
        const std::size_t bracket = FindUnit(pos, bytes_.size(), '[');
        if (bracket == bytes_.size()) {
            break;
        }
        pos = bracket + 1;
        std::size_t lineStart = bracket;
        while (lineStart > body_ && Unit(lineStart - 1) != kCr && IsBlank(Unit(lineStart - 1))) {
            --lineStart;
        }
        if (lineStart > body_ && Unit(lineStart - 1) != kLf && Unit(lineStart - 1) != kCr) {
            continue;
        }
        const LineSpan line = LineAt(lineStart);
        pos = line.next;
        const auto name = HeaderName(bracket, line.end);
        if (name && EqualsIgnoringAsciiCase(*name, section)) {
            Lookup result;
            result.sectionFound = true;
            result.lastLine = line;
            return Scan(line.next, section, key, result, all);
        }
    }
    return {};
}

Lookup ProfileText::Scan(std::size_t pos, std::string_view section, std::string_view key,
                         Lookup result, std::vector<EntryLine>* all) const {
    bool inSection = result.sectionFound;
    while (pos < bytes_.size()) {
        const LineSpan line = LineAt(pos);
        pos = line.next;
        const std::size_t start = SkipBlanks(line.begin, line.end);
        if (start == line.end) {
            continue;
        }
        if (Unit(start) == '[') {
            if (auto name = HeaderName(start, line.end)) {
                if (inSection) {
                    return result;
                }
                if (EqualsIgnoringAsciiCase(*name, section)) {
                    inSection = result.sectionFound = true;
                    result.lastLine = line;
                }
                continue;
            }
        }
        if (!inSection) {
            continue;
        }
        result.lastLine = line;
        const EntryLine entry = ParseEntry(line, start);
        if (all) {
            all->push_back(entry);
            continue;
        }
        if (EqualsIgnoringAsciiCase(KeyName(entry), key)) {
            result.entry = entry;
            return result;
        }
    }
    return result;
}

namespace {

// One pair of enclosing quotes is not part of the value.
void Unquote(std::string& text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text.pop_back();
        text.erase(0, 1);
    }
}

}  // namespace

std::size_t ProfileText::ValueEnd(const EntryLine& entry) const {
    return FindUnit(entry.valueBegin, entry.valueEnd, 0);
}

ValueText ProfileText::Value(const EntryLine& entry) const {
    ValueText value;
    if (!entry.hasValue) {
        return value;
    }
    value.text = Decode(entry.valueBegin, ValueEnd(entry), &value.repaired);
    Unquote(value.text);
    return value;
}

std::vector<ValueText> ProfileText::Values(const std::vector<const EntryLine*>& entries) const {
    // Unicode files are converted here without any set-up to share.
    if (encoding_ == FileEncoding::Cp932) {
        if (auto together = DecodeTogether(entries)) {
            return std::move(*together);
        }
    }
    std::vector<ValueText> values;
    values.reserve(entries.size());
    for (const EntryLine* entry : entries) {
        values.push_back(entry ? Value(*entry) : ValueText{});
    }
    return values;
}

std::optional<std::vector<ValueText>> ProfileText::DecodeTogether(
    const std::vector<const EntryLine*>& entries) const {
    // LF cannot occur inside a value, so it parts them in the joined text and in its conversion.
    std::string joined;
    for (const EntryLine* entry : entries) {
        if (entry && entry->hasValue) {
            joined.append(bytes_, entry->valueBegin, ValueEnd(*entry) - entry->valueBegin);
        }
        joined += '\n';
    }
    bool repaired = false;
    const std::string text = DecodeText(encoding_, joined, &repaired);
    if (repaired) {
        return std::nullopt;
    }
    std::vector<ValueText> values(entries.size());
    std::size_t begin = 0;
    for (ValueText& value : values) {
        const std::size_t end = text.find('\n', begin);
        value.text.assign(text, begin, end - begin);
        Unquote(value.text);
        begin = end + 1;
    }
    return values;
}

std::string NameArgument(std::string_view name) {
    return std::string(TrimUtf8(CutAtNul(name)));
}

}  // namespace IniAccess::internal
