#include "ProfileGenerator.h"

#include <algorithm>

#include "IniAccess.h"

namespace generator {

namespace {

// UTF-8 here; written in the file's own encoding.
const std::vector<std::string> kSections = {
    "Quelvar", "quelvar", "QUELVAR", "Q", "表", "ソ", "ゼゾ", "a]b", "s p", "Ｑ", "ｑ", "ア", "ヂ"};
const std::vector<std::string> kKeys = {"TagName", "tagname", "Edited", "k",  "K",  "ア",
                                        "ヂ",      "表",      "ソ",     ";k", "#k", "a b",
                                        "Ｋ",      "ｋ",      "x]",     "ゾ", "k\\"};
const std::vector<std::string> kValues = {
    "",      "v",       "a=b",         "表示",   "①②ⅰ",
    "ｱｲｳ",   "\"q\"",   "'s'",         "\"x'",   "\"",
    "''",    "a;b#c\\", "  padded  ",  "\t tab", "\u3000全角\u3000",
    "x\x1A", "\" a \"", "<img src=\"", "B123",   "ソ表ゾ",
    "=",     "==x"};

std::string Cp932(const std::string& utf8) {
    return IniAccess::EncodeText(IniAccess::FileEncoding::Cp932, utf8, "text");
}

}  // namespace

std::size_t ProfileGenerator::Pick(std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
}

bool ProfileGenerator::Chance(int percent) {
    return static_cast<int>(Pick(100)) < percent;
}

std::string ProfileGenerator::Blanks() {
    static const std::vector<std::string> kBlanks = {"",   "",     "",     " ",    "  ",
                                                     "\t", " \t ", "\x0B", "\x0C", "\x1A"};
    return kBlanks[Pick(kBlanks.size())];
}

std::string ProfileGenerator::Value() {
    if (Chance(8)) {
        // Around the 255-byte limit, with double-byte characters where a cut may fall.
        std::string value;
        const std::size_t target = 240 + Pick(70);
        while (IniAccess::EncodeText(IniAccess::FileEncoding::Cp932, value, "v").size() < target) {
            value += Chance(30) ? "表" : (Chance(50) ? "x" : "ｱ");
        }
        return value;
    }
    return kValues[Pick(kValues.size())];
}

std::string ProfileGenerator::WritableSection() {
    return kSections[Pick(kSections.size())];
}

std::string ProfileGenerator::WritableKey() {
    return kKeys[Pick(kKeys.size())];
}

std::string ProfileGenerator::WritableValue() {
    // At most 255 bytes, so that the platform reads back all of it: whole characters come off.
    std::string value = Value();
    while (IniAccess::EncodeText(IniAccess::FileEncoding::Cp932, value, "v").size() > 255) {
        while ((static_cast<unsigned char>(value.back()) & 0xC0) == 0x80) {
            value.pop_back();
        }
        value.pop_back();
    }
    return value;
}

GeneratedFile ProfileGenerator::Next() {
    GeneratedFile file;
    std::vector<std::string> sections = {""};
    std::vector<std::string> keys;
    static const std::vector<std::string> kLineEnds = {"\r\n", "\n", "\r"};
    const std::size_t style = Pick(100);
    const std::string fixedEnd = style < 60 ? "\r\n" : (style < 75 ? "\n" : "\r");
    const bool mixedEnds = style >= 85;
    const std::size_t encodingPick = Pick(100);
    const bool utf8 = encodingPick >= 85 && encodingPick < 95;
    const bool utf16 = encodingPick >= 95;

    std::string text;  // UTF-8, except for raw bytes spliced into code page 932 files
    std::vector<std::pair<std::size_t, std::string>> rawBytes;
    // The platform reads a UTF-8 byte-order mark as part of the first line.
    if (utf8) {
        text += "; made in UTF-8" + fixedEnd;
    }
    const std::size_t lines = 1 + Pick(14);
    for (std::size_t i = 0; i < lines; ++i) {
        const std::size_t kind = Pick(100);
        std::string line;
        if (kind < 8) {
            line = Blanks();
        } else if (kind < 25) {
            std::string name = kSections[Pick(kSections.size())];
            if (Chance(3)) {
                name.clear();
            }
            sections.push_back(name);
            line = Blanks() + "[" + Blanks() + name + Blanks() + (Chance(95) ? "]" : "") +
                   (Chance(10) ? " ; trailing" : "");
        } else if (kind < 85) {
            std::string key = kKeys[Pick(kKeys.size())];
            keys.push_back(key);
            std::string value = Value();
            if (Chance(2)) {
                value += std::string(1, '\0') + "after nul";
            }
            line = Blanks() + key + Blanks() + "=" + Blanks() + value + Blanks();
            if (!utf8 && !utf16 && Chance(4)) {
                // Bytes that are not text: an unassigned pair, a byte only Windows defines.
                rawBytes.emplace_back(text.size() + line.size(), Chance(50) ? "\x85\x40" : "\xFF");
            }
        } else if (kind < 90) {
            std::string key = kKeys[Pick(kKeys.size())];
            keys.push_back(key);
            line = Blanks() + key + Blanks();
        } else {
            line = (Chance(50) ? ";" : "#") + kKeys[Pick(kKeys.size())] + "=" + Value();
        }
        text += line;
        if (i + 1 < lines || Chance(70)) {
            text += mixedEnds ? kLineEnds[Pick(kLineEnds.size())] : fixedEnd;
        }
    }

    if (utf16) {
        // Either byte order, chosen without a draw so that the files after this one stay the same.
        const bool bigEndian = text.size() % 2 == 1;
        const auto encoding =
            bigEndian ? IniAccess::FileEncoding::Utf16BeBom : IniAccess::FileEncoding::Utf16LeBom;
        file.bytes = std::string(IniAccess::ByteOrderMark(encoding)) +
                     IniAccess::EncodeText(encoding, text, "t");
        file.description = bigEndian ? "UTF-16BE" : "UTF-16LE";
    } else if (utf8) {
        file.bytes = "\xEF\xBB\xBF" + text;
        file.description = "UTF-8";
    } else {
        // Splice the raw bytes in from the back, so that earlier offsets stay right.
        std::string encoded;
        std::size_t done = 0;
        for (const auto& [offset, bytes] : rawBytes) {
            encoded += Cp932(text.substr(done, offset - done)) + bytes;
            done = offset;
        }
        encoded += Cp932(text.substr(done));
        file.bytes = encoded;
        file.description = "code page 932";
    }
    file.description += mixedEnds ? ", mixed line ends" : "";

    keys.push_back("missing");
    sections.push_back("nowhere");
    std::sort(sections.begin(), sections.end());
    sections.erase(std::unique(sections.begin(), sections.end()), sections.end());
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            file.queries.push_back({section, key});
        }
    }
    return file;
}

}  // namespace generator
