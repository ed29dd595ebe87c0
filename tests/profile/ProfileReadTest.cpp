// Reading follows the platform's profile functions, so that every existing template file reads
// as it always has.
#include <gtest/gtest.h>

#include <string>

#include "IniAccess.h"
#include "TempDir.h"

using IniAccess::ReadProfileEntry;
using IniAccess::ReadProfileValue;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

using namespace std::string_literals;

class ProfileRead : public ::testing::Test {
  protected:
    // Reads key in section from a file holding exactly these bytes.
    std::string Read(std::string_view bytes, const std::string& section, const std::string& key) {
        WriteBytes(file_, bytes);
        return ReadProfileValue(file_, section, key);
    }

    TempDir dir_;
    std::string file_ = dir_.File("t.kvd");
};

TEST_F(ProfileRead, MissingFileSectionKeyAndEmptyValueAllReadEmpty) {
    EXPECT_EQ(ReadProfileValue(dir_.File("none.kvd"), "Quelvar", "TagName"), "");
    EXPECT_EQ(ReadProfileValue(dir_.File("no/such/folder.kvd"), "Quelvar", "TagName"), "");
    EXPECT_EQ(Read("[Other]\r\nTagName=A\r\n", "Quelvar", "TagName"), "");
    EXPECT_EQ(Read("[Quelvar]\r\nIndex=B\r\n", "Quelvar", "TagName"), "");
    EXPECT_EQ(Read("[Quelvar]\r\nTagName=\r\n", "Quelvar", "TagName"), "");
    EXPECT_EQ(Read("", "Quelvar", "TagName"), "");
}

TEST_F(ProfileRead, BlanksAroundNamesValuesAndArgumentsAreTrimmed) {
    const std::string file = " \t[ Quelvar \t]  \r\n \x0B Tag Name \f=\x1A  a  b \t \r\n";
    EXPECT_EQ(Read(file, "Quelvar", "Tag Name"), "a  b");
    EXPECT_EQ(Read(file, "  Quelvar\t", " Tag Name "), "a  b");
    // The ideographic space is text, not a blank.
    EXPECT_EQ(Read("[Q]\r\nk=\x81\x40x\x81\x40\r\n", "Q", "k"), "\u3000x\u3000");
    EXPECT_EQ(Read("[Q]\r\nk=\x81\x40x\x81\x40\r\n", "Q", "\u3000k"), "");
}

TEST_F(ProfileRead, NamesMatchIgnoringAsciiCaseOnly) {
    EXPECT_EQ(Read("[quelvar]\r\ntagname=x\r\n", "QUELVAR", "TagName"), "x");
    // Full-width Ａ (82 60) and ａ (82 81) are different names.
    EXPECT_EQ(Read("[Q]\r\n\x82\x60=1\r\n", "Q", "ａ"), "");
    EXPECT_EQ(Read("[Q]\r\n\x82\x60=1\r\n", "Q", "Ａ"), "1");
    // ア (83 41) and ヂ (83 61) differ only in the ASCII case of a second byte.
    EXPECT_EQ(Read("[Q]\r\n\x83\x41=1\r\n", "Q", "ヂ"), "");
    EXPECT_EQ(Read("[Q]\r\n\x83\x61=2\r\n", "Q", "ヂ"), "2");
    // Whole names only.
    EXPECT_EQ(Read("[Q]\r\nTagNameX=1\r\nTag=2\r\n", "Q", "TagName"), "");
    // The ends of the alphabet fold; the characters just outside it, 32 apart like the letters,
    // do not.
    EXPECT_EQ(Read("[AZ]\r\naz=1\r\n", "az", "AZ"), "1");
    EXPECT_EQ(Read("[az]\r\nAZ=1\r\n", "AZ", "az"), "1");
    EXPECT_EQ(Read("[@]\r\n[=1\r\n", "`", "["), "");
    EXPECT_EQ(Read("[`]\r\n{=1\r\n", "@", "{"), "");
    EXPECT_EQ(Read("[Q]\r\n[=1\r\n", "Q", "{"), "");
    EXPECT_EQ(Read("[Q]\r\n@=1\r\n", "Q", "`"), "");
    EXPECT_EQ(Read("[Q]\r\n`=1\r\n", "Q", "`"), "1");
}

TEST_F(ProfileRead, SecondBytesThatLookLikeSyntaxAreText) {
    // ゾ ends in 0x5D ']', ゼ in 0x5B '[', 表 and ソ in 0x5C '\'.
    EXPECT_EQ(Read("[\x83\x5D]\r\nk=1\r\n", "ゾ", "k"), "1");
    EXPECT_EQ(Read("[\x83\x5B\x83\x5D]\r\nk=1\r\n", "ゼゾ", "k"), "1");
    // With no real ']' the line is no header but a line of the section before it.
    EXPECT_EQ(Read("[Q]\r\n[\x83\x5D\r\nk=1\r\n", "Q", "k"), "1");
    EXPECT_EQ(Read("[Q]\r\n\x95\x5C=\x83\x5C\r\n", "Q", "表"), "ソ");
    // NEC and IBM extension characters decode as the Windows code page does.
    EXPECT_EQ(Read("[Q]\r\nk=\x87\x40\xFA\x40\\\r\n", "Q", "k"), "①ⅰ\\");
}

TEST_F(ProfileRead, HeaderNameRunsToTheLastBracket) {
    EXPECT_EQ(Read("[a]b] trailing\r\nk=1\r\n", "a]b", "k"), "1");
    EXPECT_EQ(Read("[Q]\r\n[no bracket\r\n", "Q", "[no bracket"), "");
    EXPECT_EQ(Read("[Q]\r\n[Other\r\nk=2\r\n", "Q", "k"), "2");
}

TEST_F(ProfileRead, ValueIsEverythingAfterTheFirstEqualsSign) {
    EXPECT_EQ(Read("[Q]\r\nk=a=b;c#d\\\r\n", "Q", "k"), "a=b;c#d\\");
    EXPECT_EQ(Read("[Q]\r\n;k=1\r\n#k=2\r\nk=3\r\n", "Q", "k"), "3");
    EXPECT_EQ(Read("[Q]\r\n;k=1\r\n", "Q", ";k"), "1");
    EXPECT_EQ(Read("[Q]\r\n=v\r\n", "Q", ""), "v");
}

TEST_F(ProfileRead, OnePairOfMatchingQuotesIsRemoved) {
    EXPECT_EQ(Read("[Q]\r\nk=\"a b\"\r\n", "Q", "k"), "a b");
    EXPECT_EQ(Read("[Q]\r\nk=' a '\r\n", "Q", "k"), " a ");
    EXPECT_EQ(Read("[Q]\r\nk=\"\"\"x\"\"\"\r\n", "Q", "k"), "\"\"x\"\"");
    EXPECT_EQ(Read("[Q]\r\nk=\"\"\r\n", "Q", "k"), "");
    EXPECT_EQ(Read("[Q]\r\nk=\"\r\n", "Q", "k"), "\"");
    EXPECT_EQ(Read("[Q]\r\nk=\"a'\r\n", "Q", "k"), "\"a'");
    EXPECT_EQ(Read("[Q]\r\nk=a\"\r\n", "Q", "k"), "a\"");
}

TEST_F(ProfileRead, FirstOfDuplicateKeysAndSectionsWins) {
    EXPECT_EQ(Read("[Q]\r\nk=1\r\nK=2\r\n", "Q", "k"), "1");
    EXPECT_EQ(Read("[Q]\r\na=1\r\n[Q]\r\nk=2\r\n", "Q", "k"), "");
    // A line without '=' names the key with no value and hides the later line.
    EXPECT_EQ(Read("[Q]\r\nk\r\nk=2\r\n", "Q", "k"), "");
}

TEST_F(ProfileRead, KeysBeforeTheFirstHeaderBelongToTheEmptySection) {
    EXPECT_EQ(Read("k=1\r\n[Q]\r\nk=2\r\n", "", "k"), "1");
    EXPECT_EQ(Read("k=1\r\n[Q]\r\nk=2\r\n", "Q", "k"), "2");
    // Unless the file names the empty section itself.
    EXPECT_EQ(Read("k=1\r\n[Q]\r\nk=2\r\n[ ]\r\nk=3\r\n", "", "k"), "3");
    EXPECT_EQ(Read("k=1\r\n[]\r\nother=3\r\n", "", "k"), "");
}

TEST_F(ProfileRead, AnyLineEndEndsALine) {
    EXPECT_EQ(Read("[Q]\na=1\rb=2\r\nc=3", "Q", "a"), "1");
    EXPECT_EQ(Read("[Q]\na=1\rb=2\r\nc=3", "Q", "b"), "2");
    EXPECT_EQ(Read("[Q]\na=1\rb=2\r\nc=3", "Q", "c"), "3");
    EXPECT_EQ(Read("[Q]\r\r\nk=4\n\n", "Q", "k"), "4");
    // A section after the first, in a file whose lines all end in CR.
    EXPECT_EQ(Read("[A]\rk=1\r[Q]\rk=2\r", "Q", "k"), "2");
    EXPECT_EQ(Read("[A]\rk=1\r[Q]\rk=2\r", "A", "k"), "1");
    EXPECT_EQ(Read("\xFE\xFF\0[\0A\0]\0\r\0k\0=\0\x31\0\r\0[\0Q\0]\0\r\0k\0=\0\x32\0\r"s, "Q", "k"),
              "2");
}

TEST_F(ProfileRead, NulEndsTheValue) {
    EXPECT_EQ(Read("[Q]\r\nk=ab\0cd\r\n"s, "Q", "k"), "ab");
    EXPECT_EQ(Read("[Q]\r\nk=\"ab\0\"\r\n"s, "Q", "k"), "\"ab");
}

TEST_F(ProfileRead, ByteOrderMarksSelectUnicode) {
    EXPECT_EQ(Read("\xEF\xBB\xBF[Q]\r\nk=表①😀\r\n", "Q", "k"), "表①😀");
    const std::string utf16 = "\xFF\xFE[\0Q\0]\0\r\0\n\0k\0=\0\x68\x88\r\0\n\0"s;
    EXPECT_EQ(Read(utf16, "Q", "k"), "表");
    EXPECT_EQ(Read(utf16, "q", "K"), "表");
    const std::string utf16be = "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\x88\x68\0\r\0\n"s;
    EXPECT_EQ(Read(utf16be, "Q", "k"), "表");
}

TEST_F(ProfileRead, ValuesAreCutAt255BytesOfCodePage932) {
    const std::string longValue(300, 'x');
    auto entry = [&](std::string_view bytes) {
        WriteBytes(file_, bytes);
        return ReadProfileEntry(file_, "Q", "k");
    };
    auto read = entry("[Q]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(read.value, std::string(255, 'x'));
    EXPECT_TRUE(read.truncated);
    EXPECT_FALSE(read.repaired);
    EXPECT_FALSE(entry("[Q]\r\nk=" + std::string(255, 'x') + "\r\n").truncated);

    // A double-byte character that would straddle the limit is left out whole.
    read = entry("[Q]\r\nk=" + std::string(254, 'x') + "\x95\x5C\r\n");
    EXPECT_EQ(read.value, std::string(254, 'x'));
    EXPECT_TRUE(read.truncated);
    // Half-width katakana count one byte, like ASCII.
    std::string kana;
    for (int i = 0; i < 255; ++i) {
        kana += "\xB1";
    }
    read = entry("[Q]\r\nk=" + kana + "\r\n");
    EXPECT_FALSE(read.truncated);
    EXPECT_EQ(read.value.size(), 255u * 3);
    // In Unicode files the limit still counts code page 932 bytes.
    std::string wide;
    for (int i = 0; i < 130; ++i) {
        wide += "表";
    }
    read = entry("\xEF\xBB\xBF[Q]\r\nk=" + wide + "\r\n");
    EXPECT_TRUE(read.truncated);
    EXPECT_EQ(read.value.size(), 127u * 3);
}

TEST_F(ProfileRead, UndefinedBytesAreRepairedAndReported) {
    // An unassigned pair, and a lead byte whose next byte cannot follow it.
    WriteBytes(file_, "[Q]\r\nk=a\x85\x40\x81 b\r\ngood=\x95\x5C\r\n");
    const auto read = ReadProfileEntry(file_, "Q", "k");
    EXPECT_EQ(read.value, "a・・ b");
    EXPECT_TRUE(read.repaired);
    EXPECT_FALSE(ReadProfileEntry(file_, "Q", "good").repaired);
}

TEST_F(ProfileRead, MalformedUtf8IsRepairedEvenInFormsOldDecodersAccept) {
    // The old five-byte form, a surrogate, an overlong slash.
    WriteBytes(file_, "\xEF\xBB\xBF[Q]\r\nk=a\xF8\x88\x80\x80\x80|\xED\xA0\x80|\xC0\xAF\r\n");
    const auto read = ReadProfileEntry(file_, "Q", "k");
    EXPECT_TRUE(read.repaired);
    EXPECT_EQ(read.value, "a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD");
}

TEST_F(ProfileRead, AFileThatExistsButCannotBeReadIsAnError) {
    EXPECT_THROW(ReadProfileValue(dir_.path().string(), "Q", "k"), IniAccess::ProfileIoError);
}

}  // namespace
