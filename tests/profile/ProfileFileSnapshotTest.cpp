// Many values of one snapshot: a whole section read at once, and edits of a file that is held
// only once until it changes.
#include "ProfileFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using IniAccess::ProfileFile;
using IniAccess::ProfileValue;

namespace {

struct Expected {
    std::string_view key;
    std::string value;
    bool truncated;
    bool repaired;
};

// Code page 932: テンプレート, half-width ｱｲｳ, 150 times あ (300 bytes), a lead byte whose trail
// byte is unassigned, a lead byte at the very end, a byte only the Windows code page maps.
const std::string kCp932Section =
    "[Other]\r\nName=other\r\n"
    "[Quelvar]\r\n"
    "Name=\x83\x65\x83\x93\x83\x76\x83\x8C\x81\x5B\x83\x67\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Half=\xB1\xB2\xB3\r\n"
    "Broken=x\x85\x40y\r\n"
    "Nul=ab" +
    std::string(1, '\0') +
    "cd\r\n"
    "Bare\r\n"
    "Private=\xA0x\r\n"
    "Long=" +
    [] {
        std::string a;
        for (int i = 0; i < 150; ++i) {
            a += "\x82\xA0";
        }
        return a;
    }() +
    "\r\n"
    "Name=second\r\n"
    "End=\x83";

std::string Japanese(int count) {
    std::string a;
    for (int i = 0; i < count; ++i) {
        a += "あ";
    }
    return a;
}

const std::vector<Expected> kCp932Values = {
    {"name", "テンプレート", false, false},
    {"Quoted", "  spaced  ", false, false},
    {"Half", "ｱｲｳ", false, false},
    {"Broken", "x・y", false, true},
    {"Nul", "ab", false, false},
    {"Bare", "", false, false},
    {"Private", "\uF8F0x", false, false},
    {"Long", Japanese(127), true, false},
    {"Absent", "", false, false},
    {"End", "・", false, true},
};

void ExpectValues(const std::string& bytes, const std::vector<Expected>& table) {
    const ProfileFile file("test.ini", bytes);
    std::vector<std::string_view> keys;
    for (const Expected& row : table) {
        keys.push_back(row.key);
    }
    const std::vector<ProfileValue> all = file.GetAll("Quelvar", keys);
    ASSERT_EQ(all.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(std::string(table[i].key));
        EXPECT_EQ(all[i].value, table[i].value);
        EXPECT_EQ(all[i].truncated, table[i].truncated);
        EXPECT_EQ(all[i].repaired, table[i].repaired);
        EXPECT_TRUE(all[i].fileFound);
        // One value at a time reads the same.
        const ProfileValue one = file.Get("Quelvar", table[i].key);
        EXPECT_EQ(one.value, table[i].value);
        EXPECT_EQ(one.repaired, table[i].repaired);
    }
}

TEST(ProfileFileSnapshotGetAll, EveryValueOfACodePage932SectionReadsAsAloneEvenBesideDamage) {
    ExpectValues(kCp932Section, kCp932Values);
}

TEST(ProfileFileSnapshotGetAll, WithoutDamageEveryValueIsConvertedTogether) {
    // The same section without the two damaged values: the path that converts all at once.
    std::vector<Expected> whole;
    for (const Expected& row : kCp932Values) {
        if (!row.repaired) {
            whole.push_back(row);
        }
    }
    std::string bytes = kCp932Section;
    bytes.replace(bytes.find("Broken="), std::string_view("Broken=x\x85\x40y\r\n").size(), "");
    bytes.resize(bytes.find("End="));
    ExpectValues(bytes, whole);
}

TEST(ProfileFileSnapshotGetAll, UnicodeFilesAndMissingOnesRead) {
    ExpectValues("\xEF\xBB\xBF[Quelvar]\r\nName=テンプレート\r\nBroken=a\xFF\r\n",
                 {{"Name", "テンプレート", false, false},
                  {"Broken", "a\uFFFD", false, true},
                  {"Absent", "", false, false}});
    const ProfileFile missing("missing.ini", std::nullopt);
    const std::vector<ProfileValue> all = missing.GetAll("Quelvar", {"Name", "Index"});
    ASSERT_EQ(all.size(), 2u);
    for (const ProfileValue& value : all) {
        EXPECT_EQ(value.value, "");
        EXPECT_FALSE(value.fileFound);
    }
}

struct Edit {
    std::string_view section;
    std::string_view key;
    std::string value;
};

struct EditCase {
    std::string_view name;
    std::vector<Edit> edits;
    std::string expected;
};

TEST(ProfileFileSnapshotBorrowing, EditsLeaveTheBytesReadAsTheyWere) {
    const std::string big(20000, 'v');  // more than the room kept for edits in place
    const std::vector<EditCase> cases = {
        {"replace",
         {{"Quelvar", "TagName", "new"}},
         "[Quelvar]\r\nTagName=new\r\n[Next]\r\nx=1\r\n"},
        {"insert, then replace twice",
         {{"Quelvar", "Index", "B1"}, {"Quelvar", "TagName", "a"}, {"Next", "x", "longer value"}},
         "[Quelvar]\r\nTagName=a\r\nIndex=B1\r\n[Next]\r\nx=longer value\r\n"},
        {"grow past the room, then shrink",
         {{"Quelvar", "TagName", big}, {"Quelvar", "Index", "B2"}, {"Quelvar", "TagName", "s"}},
         "[Quelvar]\r\nTagName=s\r\nIndex=B2\r\n[Next]\r\nx=1\r\n"},
        {"grow past the room and stay",
         {{"Quelvar", "Index", "B3"}, {"Next", "y", big}},
         "[Quelvar]\r\nTagName=old\r\nIndex=B3\r\n[Next]\r\nx=1\r\ny=" + big + "\r\n"},
        {"a new section",
         {{"New", "k", "v"}},
         "[Quelvar]\r\nTagName=old\r\n[Next]\r\nx=1\r\n[New]\r\nk=v\r\n"},
        {"the value it has",
         {{"Quelvar", "TagName", "old"}},
         "[Quelvar]\r\nTagName=old\r\n[Next]\r\nx=1\r\n"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        const std::optional<std::string> read = "[Quelvar]\r\nTagName=old\r\n[Next]\r\nx=1\r\n";
        ProfileFile file = ProfileFile::Borrowing("test.ini", read);
        for (const Edit& edit : c.edits) {
            file.Set(edit.section, edit.key, edit.value);
        }
        EXPECT_EQ(file.Bytes(), c.expected);
        EXPECT_EQ(*read, "[Quelvar]\r\nTagName=old\r\n[Next]\r\nx=1\r\n");
        EXPECT_EQ(file.Changed(), c.name != "the value it has");
    }
}

TEST(ProfileFileSnapshotBorrowing, ANewFileGetsItsSection) {
    const std::optional<std::string> none;
    ProfileFile file = ProfileFile::Borrowing("new.ini", none);
    EXPECT_FALSE(file.Found());
    file.Set("Quelvar", "TagName", "テ");
    EXPECT_EQ(file.Bytes(), "[Quelvar]\r\nTagName=\x83\x65\r\n");
    EXPECT_FALSE(none.has_value());
}

}  // namespace
