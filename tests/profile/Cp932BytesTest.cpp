// Every byte of code page 932 in its class: lead bytes, trail bytes and single bytes, each range
// checked over all of its members, so that a wrong edge anywhere fails.
#include <gtest/gtest.h>

#include <string>

#include "IniAccess.h"
#include "TextCodec.h"

using IniAccess::Cp932CharacterLength;
using IniAccess::Cp932Length;
using IniAccess::DecodeText;
using IniAccess::FileEncoding;

namespace {

// UTF-8 for the expectations, written out here rather than taken from the code under test.
std::string Utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool IsLeadByte(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TEST(Cp932Bytes, LeadBytesAre0x81To0x9FAnd0xE0To0xFC) {
    for (int b = 0; b <= 0xFF; ++b) {
        const std::string pair = {static_cast<char>(b), '\x40'};
        EXPECT_EQ(Cp932CharacterLength(pair, 0), IsLeadByte(b) ? 2u : 1u) << std::hex << b;
    }
}

TEST(Cp932Bytes, TrailBytesAre0x40To0x7EAnd0x80To0xFCAfterEveryLeadByte) {
    for (const int lead : {0x81, 0x9F, 0xE0, 0xFC}) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const bool isTrail =
                (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
            const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
            EXPECT_EQ(Cp932CharacterLength(pair, 0), isTrail ? 2u : 1u)
                << std::hex << lead << " " << trail;
        }
        // A lead byte that ends the text has no trail byte.
        EXPECT_EQ(Cp932CharacterLength(std::string(1, static_cast<char>(lead)), 0), 1u);
    }
}

// Each byte that is a character on its own, with the character it stands for and the one byte
// the read limit counts for it.
TEST(Cp932Bytes, SingleBytesReadAsTheirOwnCharacterAndCountOneByte) {
    const struct {
        int first, last;
        char32_t firstCharacter;
    } kRanges[] = {
        {0x01, 0x7F, U'\u0001'},  // ASCII, the backslash at 0x5C among them
        {0x80, 0x80, U'\u0080'}, {0xA0, 0xA0, U'\uF8F0'},
        {0xA1, 0xDF, U'\uFF61'},  // half-width katakana
        {0xFD, 0xFF, U'\uF8F1'},
    };
    int covered = 0;
    for (const auto& range : kRanges) {
        for (int b = range.first; b <= range.last; ++b) {
            const char32_t expected = range.firstCharacter + static_cast<char32_t>(b - range.first);
            bool repaired = false;
            EXPECT_EQ(
                DecodeText(FileEncoding::Cp932, std::string(1, static_cast<char>(b)), &repaired),
                Utf8(expected))
                << std::hex << b;
            EXPECT_FALSE(repaired) << std::hex << b;
            EXPECT_EQ(Cp932Length(expected), 1u) << std::hex << b;
            ++covered;
        }
    }
    // With the 60 lead bytes, every byte but NUL.
    EXPECT_EQ(covered + 60, 255);
}

TEST(Cp932Bytes, DoubleByteCharactersAtTheEdgesOfTheLeadAndTrailRanges) {
    const struct {
        const char* bytes;
        const char* text;
    } kCases[] = {
        {"\x81\x40", "\u3000"}, {"\x81\x7E", "×"},  {"\x81\x80", "÷"},  {"\x81\xFC", "◯"},
        {"\x88\x9F", "亜"},     {"\x9F\x40", "檗"}, {"\x9F\xFC", "滌"}, {"\xE0\x40", "漾"},
        {"\xFC\x4B", "黑"},     {"\xEA\xA4", "熙"},
    };
    for (const auto& c : kCases) {
        bool repaired = false;
        const std::string text = DecodeText(FileEncoding::Cp932, c.bytes, &repaired);
        EXPECT_EQ(text, c.text) << c.text;
        EXPECT_FALSE(repaired) << c.text;
        EXPECT_EQ(IniAccess::EncodeText(FileEncoding::Cp932, text, "value"), c.bytes) << c.text;
    }
    EXPECT_EQ(Cp932Length(U'亜'), 2u);
    EXPECT_EQ(Cp932Length(U'\u3000'), 2u);
}

}  // namespace
