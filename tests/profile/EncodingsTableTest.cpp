// Every encoding a profile file may use: how it is recognised, its mark, the character that
// stands for bytes it does not define, and a value written into and read from a file in it.
#include <gtest/gtest.h>

#include <string>

#include "IniAccess.h"
#include "ProfileFile.h"
#include "TempDir.h"
#include "TextCodec.h"

using IniAccess::ByteOrderMark;
using IniAccess::DetectEncoding;
using IniAccess::FileEncoding;
using IniAccess::IsUtf16;
using IniAccess::ProfileFile;
using IniAccess::ReadProfileValue;
using IniAccess::RepairCharacter;
using IniAccess::WriteProfileValue;
using namespace std::string_literals;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

TEST(EncodingsTable, EveryEncodingFromItsMarkToItsBytesOnDisk) {
    const struct {
        const char* what;
        FileEncoding encoding;
        std::string mark;
        char32_t repair;
        bool utf16;
        std::string before;  // [Q] k=old
        std::string after;   // [Q] k=表
    } kRows[] = {
        {"code page 932", FileEncoding::Cp932, "", U'\u30FB', false, "[Q]\r\nk=old\r\n",
         "[Q]\r\nk=\x95\x5C\r\n"},
        {"UTF-8", FileEncoding::Utf8Bom, "\xEF\xBB\xBF", U'\uFFFD', false,
         "\xEF\xBB\xBF[Q]\r\nk=old\r\n", "\xEF\xBB\xBF[Q]\r\nk=\xE8\xA1\xA8\r\n"},
        {"UTF-16LE", FileEncoding::Utf16LeBom, "\xFF\xFE", U'\uFFFD', true,
         "\xFF\xFE[\0Q\0]\0\r\0\n\0k\0=\0o\0l\0d\0\r\0\n\0"s,
         "\xFF\xFE[\0Q\0]\0\r\0\n\0k\0=\0\x68\x88\r\0\n\0"s},
        {"UTF-16BE", FileEncoding::Utf16BeBom, "\xFE\xFF", U'\uFFFD', true,
         "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\0o\0l\0d\0\r\0\n"s,
         "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\x88\x68\0\r\0\n"s},
    };
    TempDir dir;
    const std::string file = dir.File("t.ini");
    for (const auto& row : kRows) {
        EXPECT_EQ(DetectEncoding(row.before), row.encoding) << row.what;
        EXPECT_EQ(ByteOrderMark(row.encoding), row.mark) << row.what;
        EXPECT_EQ(RepairCharacter(row.encoding), row.repair) << row.what;
        EXPECT_EQ(IsUtf16(row.encoding), row.utf16) << row.what;

        WriteBytes(file, row.before);
        EXPECT_EQ(ProfileFile::Read(file).Encoding(), row.encoding) << row.what;
        EXPECT_EQ(ReadProfileValue(file, "Q", "k"), "old") << row.what;
        ASSERT_TRUE(WriteProfileValue(file, "Q", "k", "表")) << row.what;
        EXPECT_EQ(ReadBytes(file), row.after) << row.what;
        EXPECT_EQ(ReadProfileValue(file, "Q", "k"), "表") << row.what;
    }
}

// Only a whole mark at the very start selects Unicode; anything else is code page 932.
TEST(EncodingsTable, AnythingButAWholeMarkIsCodePage932) {
    for (const std::string& bytes :
         {""s, "\xEF\xBB"s, "\xEF"s, "\xFF"s, "\xFE"s, " \xEF\xBB\xBF"s, "\xBB\xEF\xBF"s,
          "\xFF\xFF"s, "\xFE\xFE"s, "\x00\x00\xFE\xFF"s}) {
        EXPECT_EQ(DetectEncoding(bytes), FileEncoding::Cp932) << bytes.size();
    }
    TempDir dir;
    EXPECT_EQ(ProfileFile::Read(dir.File("new.ini")).Encoding(), FileEncoding::Cp932);
}

}  // namespace
