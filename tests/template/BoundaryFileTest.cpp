// Values at the edges of what a file can hold, read from a file on disk as a user opens it: each
// row goes through ReadProfileEntry and through LoadTemplate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IniAccess.h"
#include "TempDir.h"
#include "TemplateFile.h"

using namespace quelvar;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct Row {
    const char* what;
    std::string stored;    // the value's bytes in the file
    std::string expected;  // the text read
    bool truncated;
    bool repaired;
};

std::string Times(int count, const std::string& piece) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += piece;
    }
    return out;
}

void ExpectReadFromFile(const std::string& bom, const std::vector<Row>& rows) {
    TempDir dir;
    const std::string file = dir.File("edge.kvd");
    for (const Row& row : rows) {
        WriteBytes(file, bom + "[Quelvar]\r\nTagName=" + row.stored + "\r\nIndex=B\r\n");
        const IniAccess::ProfileValue read =
            IniAccess::ReadProfileEntry(file, "Quelvar", "TagName");
        EXPECT_EQ(read.value, row.expected) << row.what;
        EXPECT_EQ(read.truncated, row.truncated) << row.what;
        EXPECT_EQ(read.repaired, row.repaired) << row.what;

        TagTemplate loaded;
        const LoadReport report = LoadTemplate(loaded, file, MissingFile::IsAnError);
        EXPECT_EQ(loaded.Text(kTagName), row.expected) << row.what;
        EXPECT_EQ(loaded.Text(kIndex), "B") << row.what;
        EXPECT_EQ(report.truncated,
                  row.truncated ? std::vector<std::size_t>{kTagName} : std::vector<std::size_t>{})
            << row.what;
        EXPECT_EQ(report.repaired,
                  row.repaired ? std::vector<std::size_t>{kTagName} : std::vector<std::size_t>{})
            << row.what;
    }
}

TEST(BoundaryFile, SingleBytesAtTheEdgesOfCodePage932) {
    ExpectReadFromFile(
        "", {
                {"0x80", "a\x80z", "a\u0080z", false, false},
                {"0xA0", "a\xA0z", "a\uF8F0z", false, false},
                {"0xA1", "a\xA1z", "a｡z", false, false},
                {"0xDF", "a\xDFz", "aﾟz", false, false},
                {"0xFD-0xFF", "\xFD\xFE\xFF", "\uF8F1\uF8F2\uF8F3", false, false},
                {"last lead 0xFC", "\xFC\x4B", "黑", false, false},
                {"lead 0xFC alone", "a\xFC", "a・", false, true},
                {"lead 0x9F then DEL", "\x9F\x7F", "・\x7F", false, true},
                {"lead 0xE0 then 0xFD", "\xE0\xFD", "・\uF8F1", false, true},
                {"a real middle dot beside 0xA0", "\xA0\x81\x45", "\uF8F0・", false, false},
            });
}

// The platform counts the file's bytes: a value of exactly 255 is whole, whichever single bytes
// end it, and a character that would cross the limit is left out whole.
TEST(BoundaryFile, The255ByteCutCountsSingleBytesAsOne) {
    const std::string x254(254, 'x');
    ExpectReadFromFile("", {
                               {"254 + 0x80", x254 + "\x80", x254 + "\u0080", false, false},
                               {"254 + 0xA0", x254 + "\xA0", x254 + "\uF8F0", false, false},
                               {"254 + 0xFF", x254 + "\xFF", x254 + "\uF8F3", false, false},
                               {"254 + katakana", x254 + "\xDF", x254 + "ﾟ", false, false},
                               {"255 katakana", Times(255, "\xB1"), Times(255, "ｱ"), false, false},
                               {"256 katakana", Times(256, "\xB1"), Times(255, "ｱ"), true, false},
                               {"254 + two katakana", x254 + "\xB1\xB1", x254 + "ｱ", true, false},
                               {"253 + kanji", std::string(253, 'x') + "\x88\x9F",
                                std::string(253, 'x') + "亜", false, false},
                               {"254 + kanji", x254 + "\x88\x9F", x254, true, false},
                               {"127 kanji + 0x80", Times(127, "\x88\x9F") + "\x80",
                                Times(127, "亜") + "\u0080", false, false},
                               {"127 kanji + 0xFD + a", Times(127, "\x88\x9F") + "\xFD" + "a",
                                Times(127, "亜") + "\uF8F1", true, false},
                           });
}

TEST(BoundaryFile, Utf8BeyondUnicodeOverlongAndSurrogatesAreRepairedByteByByte) {
    const std::string r = "\uFFFD";
    ExpectReadFromFile("\xEF\xBB\xBF",
                       {
                           {"U+10FFFF", "a\xF4\x8F\xBF\xBF", "a\U0010FFFF", false, false},
                           {"U+110000", "a\xF4\x90\x80\x80", "a" + Times(4, r), false, true},
                           {"lead 0xF5", "\xF5\x80\x80\x80", Times(4, r), false, true},
                           {"lead 0xFF", "\xFF", r, false, true},
                           {"overlong 2", "\xC0\xAF", Times(2, r), false, true},
                           {"overlong 2 at C1", "\xC1\xBF", Times(2, r), false, true},
                           {"overlong 3", "\xE0\x80\xAF", Times(3, r), false, true},
                           {"overlong 3 top", "\xE0\x9F\xBF", Times(3, r), false, true},
                           {"overlong 4", "\xF0\x8F\xBF\xBF", Times(4, r), false, true},
                           {"first surrogate", "\xED\xA0\x80", Times(3, r), false, true},
                           {"last surrogate", "\xED\xBF\xBF", Times(3, r), false, true},
                           {"before surrogates", "\xED\x9F\xBF", "\uD7FF", false, false},
                           {"after surrogates", "\xEE\x80\x80", "\uE000", false, false},
                           {"cut short", "a\xE6\x9C", "a" + Times(2, r), false, true},
                       });
}

}  // namespace
