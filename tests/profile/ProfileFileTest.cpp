// One ProfileFile used the way a template load and save use it: many keys of more than one
// section from one snapshot, and reads after writes to the same object.
#include "ProfileFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using IniAccess::ProfileFile;

namespace {

const std::string kBytes =
    "[First]\r\na=1\r\nb=2\r\n[Second]\r\na=one\r\nc=three\r\n[first]\r\nb=late\r\nd=4\r\n";

TEST(ProfileFile, ReadsKeysOfSeveralSectionsInAnyOrderFromOneSnapshot) {
    const ProfileFile file("mem.ini", kBytes);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } kReads[] = {
        {"First", "a", "1"},      {"Second", "a", "one"}, {"First", "b", "2"},
        {"SECOND", "C", "three"}, {"Second", "b", ""},    {"first", "d", ""},
        {"Third", "a", ""},       {"First", "c", ""},     {"Second", "a", "one"},
        {"First", "a", "1"},
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& read : kReads) {
            EXPECT_EQ(file.Get(read.section, read.key).value, read.value)
                << "[" << read.section << "] " << read.key << " in round " << round;
            EXPECT_TRUE(file.Get(read.section, read.key).fileFound);
        }
    }
    EXPECT_FALSE(file.Changed());
    EXPECT_EQ(file.Bytes(), kBytes);
}

TEST(ProfileFile, ReadsAfterWritesSeeTheNewBytesInEverySection) {
    ProfileFile file("mem.ini", kBytes);
    EXPECT_EQ(file.Get("First", "a").value, "1");
    EXPECT_EQ(file.Get("Second", "c").value, "three");

    file.Set("First", "a", "new");
    EXPECT_TRUE(file.Changed());
    EXPECT_EQ(file.Get("First", "a").value, "new");
    EXPECT_EQ(file.Get("First", "b").value, "2");
    EXPECT_EQ(file.Get("Second", "a").value, "one");

    // The section read last is the one written next: its keys must not come from before.
    EXPECT_EQ(file.Get("Second", "c").value, "three");
    file.Set("Second", "c", "drei");
    file.Set("Second", "e", "added");
    EXPECT_EQ(file.Get("Second", "c").value, "drei");
    EXPECT_EQ(file.Get("Second", "e").value, "added");
    EXPECT_EQ(file.Get("First", "a").value, "new");

    file.Set("New", "k", "v");
    EXPECT_EQ(file.Get("New", "k").value, "v");
    EXPECT_EQ(file.Get("Second", "a").value, "one");

    EXPECT_EQ(file.Bytes(),
              "[First]\r\na=new\r\nb=2\r\n[Second]\r\na=one\r\nc=drei\r\ne=added\r\n"
              "[first]\r\nb=late\r\nd=4\r\n[New]\r\nk=v\r\n");
}

TEST(ProfileFile, AFileThatDoesNotExistReadsEmptyAndGrowsWithItsWrites) {
    ProfileFile file("none.ini", std::nullopt);
    EXPECT_FALSE(file.Found());
    EXPECT_EQ(file.Get("Quelvar", "TagName").value, "");
    EXPECT_FALSE(file.Get("Quelvar", "TagName").fileFound);
    file.Set("Quelvar", "TagName", "タグ");
    file.Set("Quelvar", "Index", "B");
    EXPECT_EQ(file.Get("Quelvar", "TagName").value, "タグ");
    EXPECT_EQ(file.Get("quelvar", "index").value, "B");
    EXPECT_EQ(file.Bytes(), "[Quelvar]\r\nTagName=\x83\x5E\x83\x4F\r\nIndex=B\r\n");
}

}  // namespace
