// Our profile code against the platform's own functions: every read agrees with
// GetPrivateProfileStringA, every write leaves the platform reading what it read before except
// the value written, and files the platform writes read back the same through ours. Where we
// are deliberately sounder, the difference is named and counted, never silently accepted.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "IniAccess.h"
#include "PlatformProfile.h"
#include "ProfileGenerator.h"
#include "ProfileText.h"
#include "TempDir.h"
#include "Utf8.h"

using generator::GeneratedFile;
using generator::Name;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

using namespace std::string_literals;

constexpr std::uint32_t kSeed = 20261207;
const int kGeneratedFiles = std::getenv("QUELVAR_QUICK") ? 300 : 10000;
const int kWrittenFiles = std::getenv("QUELVAR_QUICK") ? 100 : 2000;

// Tallies the comparisons and keeps the first disagreements to show.
class Tally {
  public:
    void Agree() { ++compared_, ++agreed_; }
    void Named(const std::string& difference) { ++compared_, ++named_[difference]; }
    void Disagree(const std::string& what) {
        ++compared_;
        if (failures_.size() < 20) {
            failures_.push_back(what);
        }
        ++disagreed_;
    }

    void Report(const char* title, int files) const {
        std::printf("%s: %d files, %ld comparisons, %ld agreed, %ld disagreed\n", title, files,
                    compared_, agreed_, disagreed_);
        if (agreed_ == 0) {
            ADD_FAILURE() << title << ": no comparison agreed, so nothing was compared";
        }
        for (const auto& [difference, count] : named_) {
            std::printf("  deliberate difference, %ld times: %s\n", count, difference.c_str());
        }
        for (const std::string& failure : failures_) {
            ADD_FAILURE() << failure;
        }
    }

  private:
    long compared_ = 0, agreed_ = 0, disagreed_ = 0;
    std::map<std::string, long> named_;
    std::vector<std::string> failures_;
};

std::string Hex(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (const char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
        out += buffer;
    }
    return out;
}

const char* kCutDifference =
    "a value over 255 bytes is cut between characters, never inside one (the platform may "
    "return half a character or a stray byte at the end)";

const char* kEmptySectionDifference =
    "a read with section \"\" finds the [] section of the file, as Windows does (Wine reads the "
    "lines before the first header)";

// Whether the file has a header whose name is empty once trimmed, such as "[]" or "[ ]".
bool HasEmptyHeader(const std::string& bytes) {
    const IniAccess::FileEncoding encoding = IniAccess::DetectEncoding(bytes);
    bool repaired = false;
    const std::string text = IniAccess::DecodeText(
        encoding, std::string_view(bytes).substr(IniAccess::ByteOrderMark(encoding).size()),
        &repaired);
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
        const std::string line = IniAccess::internal::NameArgument(text.substr(begin, end - begin));
        const std::size_t close = line.rfind(']');
        if (line.starts_with('[') && close != std::string::npos && close > 0 &&
            IniAccess::internal::NameArgument(line.substr(1, close - 1)).empty()) {
            return true;
        }
        begin = end + 1;
    }
    return false;
}

// A byte the platform may leave at the end of a value it cut inside a character: the first
// half of that character, or a stray NUL.
bool IsCutRemnant(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b == 0 || (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Compares one read; `context` says where it came from when they disagree.
void Compare(Tally& tally, const std::string& file, const Name& name, const std::string& context) {
    const std::string theirs = platform::Read(file, name.section, name.key);
    const std::string ours =
        platform::ToAnsi(IniAccess::ReadProfileValue(file, name.section, name.key));
    if (ours == theirs) {
        tally.Agree();
    } else if (theirs.size() == 255 && ours.size() == 254 && theirs.starts_with(ours) &&
               IsCutRemnant(theirs.back())) {
        tally.Named(kCutDifference);
    } else if (IniAccess::internal::NameArgument(name.section).empty() &&
               HasEmptyHeader(testing_support::ReadBytes(file))) {
        tally.Named(kEmptySectionDifference);
    } else {
        tally.Disagree(context + ": [" + name.section + "] " + name.key +
                       "\n  ours:     " + Hex(ours) + "\n  platform: " + Hex(theirs));
    }
}

class Differential : public ::testing::Test {
  protected:
    // A fresh name for every file: the platform caches what it has read by name.
    std::string NextFile() { return dir_.File("f" + std::to_string(++files_) + ".ini"); }

    TempDir dir_;
    int files_ = 0;
};

struct HandMade {
    const char* what;
    std::string bytes;
    std::vector<Name> queries;
};

std::vector<HandMade> HandMadeFiles() {
    const std::string longAscii(300, 'x');
    std::string cutInside(254, 'x');
    cutInside +=
        "\x95\x5C"
        "tail";
    return {
        {"blanks around names, '=' and values",
         " \t[ Q \t]  \r\n \x0B k \f=\x1A  a  b \t \r\n",
         {{"Q", "k"}, {" Q ", " k "}, {"Q", "a"}}},
        {"quotes",
         "[Q]\r\na=\"x\"\r\nb=' y '\r\nc=\"z'\r\nd=\"\r\ne=\"\"\r\nf=\"\"\"\"\r\n",
         {{"Q", "a"}, {"Q", "b"}, {"Q", "c"}, {"Q", "d"}, {"Q", "e"}, {"Q", "f"}}},
        {"letter case",
         "[quelvar]\r\ntagname=1\r\nＫ=2\r\n",
         {{"QUELVAR", "TagName"}, {"Quelvar", "ｋ"}, {"quelvar", "Ｋ"}}},
        {"lines without '='", "[Q]\r\nk\r\nk=2\r\nlone\r\n", {{"Q", "k"}, {"Q", "lone"}}},
        {"comment lines", "[Q]\r\n;k=1\r\n#k=2\r\nk=3\r\n", {{"Q", "k"}, {"Q", ";k"}, {"Q", "#k"}}},
        {"keys before any section", "k=1\r\n[Q]\r\nk=2\r\n", {{"", "k"}, {"Q", "k"}}},
        {"duplicate keys and sections",
         "[Q]\r\nk=1\r\nk=2\r\n[R]\r\nr=1\r\n[Q]\r\nk=3\r\nm=4\r\n",
         {{"Q", "k"}, {"Q", "m"}, {"R", "r"}}},
        {"LF line ends", "[Q]\na=1\nb=2\n", {{"Q", "a"}, {"Q", "b"}}},
        {"CRLF line ends", "[Q]\r\na=1\r\nb=2\r\n", {{"Q", "a"}, {"Q", "b"}}},
        {"mixed line ends",
         "[Q]\na=1\r\nb=2\rc=3\n\rd=4",
         {{"Q", "a"}, {"Q", "b"}, {"Q", "c"}, {"Q", "d"}}},
        {"no final line end", "[Q]\r\nk=last", {{"Q", "k"}}},
        {"UTF-8 byte-order mark after a first comment",
         "\xEF\xBB\xBF; c\r\n[Q]\r\nk=表①\r\n",
         {{"Q", "k"}}},
        {"UTF-16LE byte-order mark",
         "\xFF\xFE[\0Q\0]\0\r\0\n\0k\0=\0\x68\x88\r\0\n\0"s,
         {{"Q", "k"}}},
        {"UTF-16BE byte-order mark",
         "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\x88\x68\0\r\0\n\0\x5B\0\x52\0\x5D\0\r\0r\0=\0\x31"s,
         {{"Q", "k"}, {"R", "r"}}},
        {"a section after the first in a file of CR-only lines",
         "[A]\rk=1\r[Q]\rk=2\r",
         {{"Q", "k"}, {"A", "k"}}},
        {"second bytes 0x5C, 0x5B and 0x5D",
         "[\x83\x5D]\r\n\x95\x5C=\x83\x5C\r\n\x83\x5B\x83\x5D=1\r\n",
         {{"ゾ", "表"}, {"ゾ", "ゼゾ"}, {"ゾ", "ソ"}}},
        {"a header whose only ']' is a second byte", "[Q]\r\n[\x83\x5D\r\nk=1\r\n", {{"Q", "k"}}},
        {"values of 254 to 300 bytes",
         "[Q]\r\na=" + std::string(254, 'x') + "\r\nb=" + std::string(255, 'x') + "\r\nc=" +
             std::string(256, 'x') + "\r\nd=" + longAscii + "\r\ne=" + cutInside + "\r\n",
         {{"Q", "a"}, {"Q", "b"}, {"Q", "c"}, {"Q", "d"}, {"Q", "e"}}},
        {"single bytes that end a value of 255 bytes",
         "[Q]\r\na=" + std::string(254, 'x') + "\x80\r\nb=" + std::string(254, 'x') +
             "\xA0\r\nc=" + std::string(254, 'x') + "\xFF\r\nd=" + std::string(254, 'x') +
             "\xDF\r\ne=" + std::string(253, 'x') + "\xFD\xFE\r\n",
         {{"Q", "a"}, {"Q", "b"}, {"Q", "c"}, {"Q", "d"}, {"Q", "e"}}},
        {"bytes that are not text",
         "[Q]\r\na=\x85\x40\r\nb=\xFF\xFD\x80\xA0\r\n",
         {{"Q", "a"}, {"Q", "b"}}},
        {"NUL in a value", "[Q]\r\nk=ab\0cd\r\nq=\"ab\0\"\r\n"s, {{"Q", "k"}, {"Q", "q"}}},
    };
}

TEST_F(Differential, HandMadeFilesReadAsThePlatformReadsThem) {
    Tally tally;
    for (const HandMade& made : HandMadeFiles()) {
        const std::string file = NextFile();
        WriteBytes(file, made.bytes);
        for (const Name& name : made.queries) {
            Compare(tally, file, name, made.what);
        }
        Compare(tally, file, {"Q", "missing"}, made.what);
        Compare(tally, file, {"missing", "k"}, made.what);
    }
    tally.Report("hand-made files", static_cast<int>(HandMadeFiles().size()));
}

// Windows reads the byte-order mark as part of the first line and so loses the first header;
// Wine, like us, does not. Either way we read the key.
TEST_F(Differential, AUtf8FileKeepsItsFirstHeader) {
    const std::string file = NextFile();
    WriteBytes(file, "\xEF\xBB\xBF[Q]\r\nk=1\r\n");
    EXPECT_EQ(IniAccess::ReadProfileValue(file, "Q", "k"), "1");
    std::printf("UTF-8 file with a header first: the platform reads \"%s\", we read \"1\"\n",
                platform::Read(file, "Q", "k").c_str());
}

// A value that reads with repairs, written back as it was shown, then reads the same for the
// platform as for us: the bytes that were not text are gone from the file.
TEST_F(Differential, AValueStoredAsShownReadsTheSameEverywhere) {
    Tally tally;
    for (const std::string& stored : {"a\x81"s, "\x85\x40x"s, "x\xFF\xFDy"s, "\x81\x7F"s}) {
        const std::string file = NextFile();
        WriteBytes(file, "[Q]\r\nk=" + stored + "\r\nz=1\r\n");
        const std::string shown = IniAccess::ReadProfileValue(file, "Q", "k");
        ASSERT_TRUE(IniAccess::WriteProfileValue(file, "Q", "k", shown));
        platform::Forget(file);
        Compare(tally, file, {"Q", "k"}, "after storing the shown value of " + Hex(stored));
        Compare(tally, file, {"Q", "z"}, "after storing the shown value of " + Hex(stored));
        EXPECT_EQ(platform::Read(file, "Q", "k"), platform::ToAnsi(shown)) << Hex(stored);
    }
    tally.Report("values stored as shown", 4);
}

TEST_F(Differential, AUtf16BigEndianFileWrittenByUsStaysBigEndianAndReadsTheSame) {
    const std::string file = NextFile();
    WriteBytes(file, "\xFE\xFF\0[\0Q\0]\0\r\0\n\0k\0=\0x\0\r\0\n"s);
    ASSERT_TRUE(IniAccess::WriteProfileValue(file, "Q", "n", "表"));
    platform::Forget(file);
    EXPECT_TRUE(testing_support::ReadBytes(file).starts_with("\xFE\xFF"));
    EXPECT_EQ(platform::Read(file, "Q", "k"), "x");
    EXPECT_EQ(platform::Read(file, "Q", "n"), platform::ToAnsi("表"));
}

TEST_F(Differential, GeneratedFilesReadAsThePlatformReadsThem) {
    generator::ProfileGenerator generate(kSeed);
    Tally tally;
    for (int i = 0; i < kGeneratedFiles; ++i) {
        const GeneratedFile made = generate.Next();
        const std::string file = NextFile();
        WriteBytes(file, made.bytes);
        for (const Name& name : made.queries) {
            Compare(tally, file, name,
                    "generated file " + std::to_string(i) + " (" + made.description +
                        "): " + Hex(made.bytes));
        }
        std::filesystem::remove(file);
    }
    tally.Report("generated files", kGeneratedFiles);
}

TEST_F(Differential, AfterOurWriteThePlatformReadsOnlyTheWrittenValueAnew) {
    generator::ProfileGenerator generate(kSeed + 1);
    Tally tally;
    int refused = 0;
    for (int i = 0; i < kWrittenFiles; ++i) {
        GeneratedFile made = generate.Next();
        const Name written{generate.WritableSection(), generate.WritableKey()};
        const std::string value = generate.WritableValue();
        made.queries.push_back(written);
        const std::string file = NextFile();
        WriteBytes(file, made.bytes);
        std::vector<std::string> before;
        for (const Name& name : made.queries) {
            before.push_back(platform::Read(file, name.section, name.key));
        }
        try {
            if (!IniAccess::WriteProfileValue(file, written.section, written.key, value)) {
                tally.Disagree("write failed on generated file " + std::to_string(i));
                continue;
            }
        } catch (const IniAccess::ProfileTextError& error) {
            // Text the file's encoding cannot hold: refused rather than stored as '?'.
            if (++refused <= 3) {
                std::printf("refused: [%s] %s: %s\n", written.section.c_str(), written.key.c_str(),
                            error.what());
            }
            continue;
        }
        platform::Forget(file);
        for (std::size_t q = 0; q < made.queries.size(); ++q) {
            const Name& name = made.queries[q];
            const bool same =
                IniAccess::internal::EqualsIgnoringAsciiCase(name.section, written.section) &&
                IniAccess::internal::EqualsIgnoringAsciiCase(name.key, written.key);
            const std::string expected = same ? platform::ToAnsi(value) : before[q];
            const std::string theirs = platform::Read(file, name.section, name.key);
            if (theirs == expected) {
                tally.Agree();
            } else {
                tally.Disagree("after writing [" + written.section + "] " + written.key + "=" +
                               value + " into generated file " + std::to_string(i) + " (" +
                               made.description + "): " + Hex(made.bytes) + "\n  query [" +
                               name.section + "] " + name.key + "\n  expected: " + Hex(expected) +
                               "\n  platform: " + Hex(theirs));
            }
        }
        std::filesystem::remove(file);
    }
    std::printf("writes refused for text the file cannot hold: %d\n", refused);
    tally.Report("files written by us, read by the platform", kWrittenFiles);
}

TEST_F(Differential, FilesThePlatformWritesReadBackTheSameThroughOurs) {
    generator::ProfileGenerator generate(kSeed + 2);
    Tally tally;
    for (int i = 0; i < kWrittenFiles; ++i) {
        GeneratedFile made = generate.Next();
        const std::string file = NextFile();
        if (i % 2 == 0) {
            WriteBytes(file, made.bytes);
        } else {
            made.queries.clear();
        }
        for (int w = 0; w < 5; ++w) {
            const Name name{generate.WritableSection(), generate.WritableKey()};
            platform::Write(file, name.section, name.key, generate.WritableValue());
            made.queries.push_back(name);
        }
        platform::Forget(file);
        for (const Name& name : made.queries) {
            Compare(tally, file, name, "platform-written file " + std::to_string(i));
        }
        std::filesystem::remove(file);
    }
    tally.Report("files written by the platform, read by us", kWrittenFiles);
}

}  // namespace
