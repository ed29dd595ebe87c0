// Writing changes only the line it must, in the file's own encoding and line ends, and what it
// writes reads back as written.
#include <gtest/gtest.h>

#include <string>

#include "IniAccess.h"
#include "ProfileFileFixture.h"

using IniAccess::ReadProfileValue;
using IniAccess::WriteProfileValue;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

using namespace std::string_literals;

class ProfileWrite : public testing_support::ProfileFolderTest {
  protected:
    // The file's bytes after writing key=value into a file that held `before`.
    std::string After(std::string_view before, const std::string& section, const std::string& key,
                      const std::string& value) {
        WriteBytes(file_, before);
        EXPECT_TRUE(WriteProfileValue(file_, section, key, value));
        return ReadBytes(file_);
    }
};

TEST_F(ProfileWrite, MissingFileIsCreatedWithHeaderAndKey) {
    EXPECT_TRUE(WriteProfileValue(file_, "Quelvar", "TagName", "表"));
    EXPECT_EQ(ReadBytes(file_), "[Quelvar]\r\nTagName=\x95\x5C\r\n");
    EXPECT_EQ(dir_.Listing(), "t.kvd\n");
}

TEST_F(ProfileWrite, WritingTheSameKeyTwiceLeavesOneLineWithTheSecondValue) {
    ASSERT_TRUE(WriteProfileValue(file_, "Q", "k", "first"));
    ASSERT_TRUE(WriteProfileValue(file_, "Q", "K", "second"));
    EXPECT_EQ(ReadBytes(file_), "[Q]\r\nk=second\r\n");
}

TEST_F(ProfileWrite, EveryLineTheWriteDoesNotTouchStaysByteForByte) {
    const std::string before =
        "; comment\r\n\r\n[Other]\r\n  spaced = kept  \r\n[Q]\r\n a = 1 \n"
        "k  =  old\r\n\x85\x40junk=\xFF\r\n\r\n[Tail]\rx=y";
    EXPECT_EQ(After(before, "q", "K", "new"),
              "; comment\r\n\r\n[Other]\r\n  spaced = kept  \r\n[Q]\r\n a = 1 \n"
              "k=new\r\n\x85\x40junk=\xFF\r\n\r\n[Tail]\rx=y");
}

TEST_F(ProfileWrite, NewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
    EXPECT_EQ(After("[Q]\r\na=1\r\n; note\r\n\r\n\r\n[R]\r\n", "Q", "b", "2"),
              "[Q]\r\na=1\r\n; note\r\nb=2\r\n\r\n\r\n[R]\r\n");
    EXPECT_EQ(After("[Q]\r\n\r\n[R]\r\n", "Q", "b", "2"), "[Q]\r\nb=2\r\n\r\n[R]\r\n");
    // The section's last line without a line end gets one first.
    EXPECT_EQ(After("[Q]\r\na=1", "Q", "b", "2"), "[Q]\r\na=1\r\nb=2\r\n");
    // The new line ends as the line before it does, so that no line end joins the next line's
    // (a CR before the LF of a blank line would swallow that line).
    EXPECT_EQ(After("[Quelvar]\rEdited=e\n\n[Other]", "Quelvar", "TagName", "t"),
              "[Quelvar]\rEdited=e\nTagName=t\n\n[Other]");
    EXPECT_EQ(After("[Q]\na=1\r[R]\n", "Q", "b", "2"), "[Q]\na=1\rb=2\r[R]\n");
}

TEST_F(ProfileWrite, ASectionAfterTheFirstInACrOnlyFileIsWrittenInPlace) {
    EXPECT_EQ(After("[A]\rk=1\r[Q]\rk=2\r", "Q", "k", "3"), "[A]\rk=1\r[Q]\rk=3\r");
    EXPECT_EQ(After("[A]\rk=1\r[Q]\rk=2\r", "Q", "n", "4"), "[A]\rk=1\r[Q]\rk=2\rn=4\r");
}

TEST_F(ProfileWrite, AUtf16BigEndianFileStaysBigEndian) {
    const std::string before = "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\0x\0\r\0\n"s;
    EXPECT_EQ(After(before, "Q", "k", "表"), "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\x88\x68\0\r\0\n"s);
    EXPECT_EQ(After(before, "Q", "n", "1"),
              "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\0x\0\r\0\n\0n\0=\0\x31\0\r\0\n"s);
    EXPECT_EQ(ReadProfileValue(file_, "Q", "n"), "1");
}

TEST_F(ProfileWrite, AValueReadWithRepairsIsStoredAsShown) {
    // A lone lead byte before the line end reads as "・"; writing that back stores "・".
    EXPECT_EQ(After("[Q]\r\nk=a\x81\r\n", "Q", "k", "a・"), "[Q]\r\nk=a\x81\x45\r\n");
    EXPECT_EQ(After("\xEF\xBB\xBF[Q]\nk=\xFF\n", "Q", "k", "\uFFFD"),
              "\xEF\xBB\xBF[Q]\nk=\xEF\xBF\xBD\n");
}

TEST_F(ProfileWrite, NewSectionGoesAtTheEndInTheFilesOwnLineEnds) {
    EXPECT_EQ(After("[A]\nx=1\n", "Q", "k", "v"), "[A]\nx=1\n[Q]\nk=v\n");
    EXPECT_EQ(After("[A]\nx=1", "Q", "k", "v"), "[A]\nx=1\n[Q]\nk=v\n");
    EXPECT_EQ(After("[A]\rx=1\r\r\n", "Q", "k", "v"), "[A]\rx=1\r\r\n[Q]\rk=v\r");
    EXPECT_EQ(After("", "Q", "k", "v"), "[Q]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, ReplacedLineKeepsTheKeysSpellingAndItsLineEnd) {
    EXPECT_EQ(After("[Q]\n  TAGname = x \r\ny=1", "q", "TagName", "z"), "[Q]\nTAGname=z\r\ny=1");
    EXPECT_EQ(After("[Q]\r\nk", "Q", "k", "v"), "[Q]\r\nk=v");
    EXPECT_EQ(After("[Q]\r\nk=1\r\nk=2\r\n", "Q", "k", "3"), "[Q]\r\nk=3\r\nk=2\r\n");
}

TEST_F(ProfileWrite, EmptyValueIsWrittenAsKeyEquals) {
    EXPECT_EQ(After("[Q]\r\nk=v\r\n", "Q", "k", ""), "[Q]\r\nk=\r\n");
    EXPECT_EQ(After("[Q]\r\n", "Q", "e", ""), "[Q]\r\ne=\r\n");
}

TEST_F(ProfileWrite, ValuesReadersWouldChangeAreQuotedSoTheyReadBackAsWritten) {
    for (const std::string value :
         {" lead", "trail\t", "\"quoted\"", "'single'", "\"\"", "\x1A", "  "}) {
        ASSERT_TRUE(WriteProfileValue(file_, "Q", "k", value));
        EXPECT_EQ(ReadProfileValue(file_, "Q", "k"), value);
    }
    EXPECT_EQ(After("", "Q", "k", " a "), "[Q]\r\nk=\" a \"\r\n");
    // Anything else is written as it is.
    for (const std::string value : {"\"", "a\"b\"", "\"a'", "x;y#z=\\", "'"}) {
        EXPECT_EQ(After("", "Q", "k", value), "[Q]\r\nk=" + value + "\r\n");
        EXPECT_EQ(ReadProfileValue(file_, "Q", "k"), value);
    }
    EXPECT_EQ(After("", "Q", "k", "\u3000a\u3000"),
              "[Q]\r\nk=\x81\x40"
              "a\x81\x40\r\n");
}

TEST_F(ProfileWrite, UnicodeFilesAreWrittenInTheirOwnEncoding) {
    EXPECT_EQ(After("\xEF\xBB\xBF[Q]\nk=1\n", "Q", "k", "😀"), "\xEF\xBB\xBF[Q]\nk=😀\n");
    EXPECT_EQ(After("\xFF\xFE[\0Q\0]\0\r\0\n\0"s, "Q", "k", "表"),
              "\xFF\xFE[\0Q\0]\0\r\0\n\0k\0=\0\x68\x88\r\0\n\0"s);
    EXPECT_EQ(ReadProfileValue(file_, "Q", "k"), "表");
}

TEST_F(ProfileWrite, JapaneseValuesRoundTripThroughCodePage932) {
    const std::string value = "タグ表示①ⅰ\\ｱｲｳ～－";
    ASSERT_TRUE(WriteProfileValue(file_, "Quelvar", "TagName", value));
    EXPECT_EQ(ReadProfileValue(file_, "Quelvar", "TagName"), value);
}

}  // namespace
