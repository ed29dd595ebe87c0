#include "TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "Deadline.h"
#include "IniAccess.h"

using IniAccess::DecodeText;
using IniAccess::FileEncoding;
using IniAccess::FirstUnstorable;

namespace {

TEST(TextCodec, CodePage932IsTheWindowsCodePage) {
    bool repaired = false;
    // 0x5C is a backslash, not a yen sign; the NEC and IBM rows are there.
    EXPECT_EQ(DecodeText(FileEncoding::Cp932, "\\\x87\x40\xED\x40\xFA\x40\x81\x60", &repaired),
              "\\①纊ⅰ～");
    EXPECT_FALSE(repaired);
}

TEST(TextCodec, SingleBytesOnlyTheWindowsCodePageDefinesRoundTrip) {
    bool repaired = false;
    const std::string bytes = "\x80\xA0\xFD\xFE\xFF";
    const std::string text = DecodeText(FileEncoding::Cp932, bytes, &repaired);
    EXPECT_EQ(text, "\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    EXPECT_FALSE(repaired);
    EXPECT_EQ(IniAccess::EncodeText(FileEncoding::Cp932, text, "value"), bytes);
}

TEST(TextCodec, UndefinedBytesBecomeOneCharacterEach) {
    // An unassigned pair is one character; a lead byte without a trail byte is one on its own,
    // the last byte of the text too. A conversion that does not move past it never ends.
    const auto decoded =
        testing_support::ResultWithin<std::pair<std::string, bool>>(std::chrono::seconds(5), [] {
            bool repaired = false;
            std::string text = DecodeText(FileEncoding::Cp932, "\x85\x40|\x81 |\x81", &repaired);
            return std::make_pair(text, repaired);
        });
    ASSERT_TRUE(decoded) << "decoding a lead byte at the end did not end within 5 s";
    EXPECT_EQ(decoded->first, "・|・ |・");
    EXPECT_TRUE(decoded->second);
    bool repaired = false;
    repaired = false;
    EXPECT_EQ(DecodeText(FileEncoding::Utf8Bom, "a\xC3(b", &repaired), "a\uFFFD(b");
    EXPECT_TRUE(repaired);
}

// After a lead byte, 0x40 to 0x7E and 0x80 to 0xFC are trail bytes; anything else, DEL among
// them, is a character of its own and the lead byte alone is undefined.
TEST(TextCodec, TrailByteRangesEndWhereTheWindowsCodePageEndsThem) {
    const struct {
        const char* bytes;
        const char* text;
    } kCases[] = {
        {"\x81\x3F", "・?"},      {"\x81\x40", "\u3000"},     {"\x81\x7E", "×"},
        {"\x81\x7F", "・\x7F"},   {"\x81\x80", "÷"},          {"\x81\xFC", "◯"},
        {"\x81\xFD", "・\uF8F1"}, {"\x88\x9F\x7F", "亜\x7F"}, {"\xE0\x40", "漾"},
        {"\xFC\x4B", "黑"},       {"\x9F\x7F", "・\x7F"},
    };
    for (const auto& c : kCases) {
        bool repaired = false;
        EXPECT_EQ(DecodeText(FileEncoding::Cp932, c.bytes, &repaired), c.text) << c.text;
        EXPECT_EQ(IniAccess::Cp932CharacterLength(c.bytes, 0),
                  std::string_view(c.text).starts_with("・") ? 1u : 2u)
            << c.text;
    }
}

TEST(TextCodec, NearSubstitutesCountAsUnstorable) {
    EXPECT_EQ(FirstUnstorable(FileEncoding::Cp932, "表ｱ①ⅰ\\～"), std::nullopt);
    EXPECT_EQ(FirstUnstorable(FileEncoding::Cp932, "ab¥"), U'¥');
    EXPECT_EQ(FirstUnstorable(FileEncoding::Cp932, "a—b"), U'—');
    EXPECT_EQ(FirstUnstorable(FileEncoding::Cp932, "表😀é"), U'😀');
    EXPECT_EQ(FirstUnstorable(FileEncoding::Utf8Bom, "表😀é¥"), std::nullopt);
    EXPECT_EQ(FirstUnstorable(FileEncoding::Utf16LeBom, "表😀é¥"), std::nullopt);
    EXPECT_EQ(FirstUnstorable(FileEncoding::Utf8Bom, "ok\xFF"), U'\uFFFD');
}

TEST(TextCodec, UnwritableFindsTheFirstOffendingCharacter) {
    EXPECT_EQ(IniAccess::FirstUnwritable(FileEncoding::Cp932, "a\nb😀"), U'\n');
    EXPECT_EQ(IniAccess::FirstUnwritable(FileEncoding::Cp932, "😀\nb"), U'😀');
    EXPECT_EQ(IniAccess::FirstUnwritable(FileEncoding::Utf8Bom, "😀\rb"), U'\r');
    EXPECT_EQ(IniAccess::FirstUnwritable(FileEncoding::Cp932, "タグ"), std::nullopt);
}

}  // namespace
