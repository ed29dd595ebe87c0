#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"

namespace testing_support {

// A profile file named t.kvd in a folder of its own, where the tests of reading and writing work.
class ProfileFolderTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string file_ = dir_.File("t.kvd");
};

// The file holding kOriginal, in a folder anyone may write, for the writes that must fail or be
// refused and leave the file and its folder as they were.
class KeptFileTest : public ProfileFolderTest {
  protected:
    static inline const std::string kOriginal = "[Q]\r\nk=old\r\n; keep me\r\n";

    void SetUp() override {
        std::filesystem::permissions(dir_.path(), std::filesystem::perms(0777));
        WriteBytes(file_, kOriginal);
    }

    void ExpectUntouched() {
        EXPECT_EQ(ReadBytes(file_), kOriginal);
        EXPECT_EQ(dir_.Listing(), "t.kvd\n");
    }
};

}  // namespace testing_support
