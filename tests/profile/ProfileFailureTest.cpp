// A write that cannot be done as asked changes nothing and says so; a file that cannot be read
// is an error, not an empty value.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FaultHook.h"
#include "IniAccess.h"
#include "ProfileFileFixture.h"

using IniAccess::ProfileIoError;
using IniAccess::ProfileTextError;
using IniAccess::WriteProfileValue;
using IniAccess::internal::FileOperation;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

using namespace std::string_literals;
using Reason = ProfileTextError::Reason;

class ProfileFailure : public testing_support::KeptFileTest {};

TEST_F(ProfileFailure, FoldersAndMissingFoldersAreNotWritable) {
    EXPECT_FALSE(WriteProfileValue(dir_.path().string(), "Q", "k", "v"));
    EXPECT_FALSE(WriteProfileValue(dir_.File("missing/t.kvd"), "Q", "k", "v"));
    EXPECT_FALSE(WriteProfileValue(dir_.File("t.kvd/inner.kvd"), "Q", "k", "v"));
    ExpectUntouched();
}

// Every step of a write can fail; none of them may leave a damaged file or a stray one.
TEST_F(ProfileFailure, AFailureAtAnyStepLeavesTheFileAsItWas) {
    for (const FileOperation failing :
         {FileOperation::Open, FileOperation::Read, FileOperation::Write, FileOperation::Flush,
          FileOperation::Rename}) {
        for (const int error : {ENOSPC, EIO, EACCES}) {
            // The first open is the read of the file; fail the second (the new file) instead.
            int opens = 0;
            {
                const IniAccess::internal::ScopedFaultHook hook(
                    [&](FileOperation operation, const std::string&) {
                        if (operation != failing) {
                            return 0;
                        }
                        return (operation == FileOperation::Open && ++opens == 1) ? 0 : error;
                    });
                try {
                    IniAccess::StoreProfileValue(file_, "Q", "k", "new");
                    ADD_FAILURE() << "no failure for operation " << static_cast<int>(failing);
                } catch (const ProfileIoError& caught) {
                    EXPECT_EQ(caught.code().value(), error);
                    EXPECT_NE(std::string(caught.what()).find(file_), std::string::npos);
                }
            }
            ExpectUntouched();
        }
    }
}

TEST_F(ProfileFailure, AUtf16FileCutInsideACodeUnitIsNotWritten) {
    const std::string damaged = "\xFF\xFE[\0Q\0]\0\r\0\n\0k\0=\0v"s;
    WriteBytes(file_, damaged);
    try {
        IniAccess::StoreProfileValue(file_, "Q", "other", "x");
        ADD_FAILURE() << "wrote after half a code unit";
    } catch (const ProfileIoError& error) {
        EXPECT_EQ(error.code(), std::errc::illegal_byte_sequence);
    }
    EXPECT_EQ(ReadBytes(file_), damaged);
}

TEST_F(ProfileFailure, TextThatWouldNotReadBackIsRefusedBeforeTouchingTheFile) {
    const auto reasonFor = [&](const std::string& section, const std::string& key,
                               const std::string& value) {
        try {
            WriteProfileValue(file_, section, key, value);
        } catch (const ProfileTextError& error) {
            return error.reason();
        }
        ADD_FAILURE() << "accepted [" << section << "] " << key << "=" << value;
        return Reason::Unstorable;
    };
    EXPECT_EQ(reasonFor("Q", "k", "a\nb"), Reason::LineBreak);
    EXPECT_EQ(reasonFor("Q", "k", "a\rb"), Reason::LineBreak);
    EXPECT_EQ(reasonFor("Q", "k", "a\0b"s), Reason::Nul);
    EXPECT_EQ(reasonFor("Q\n", "k", "v"), Reason::LineBreak);
    EXPECT_EQ(reasonFor("Q", "k\0"s, "v"), Reason::Nul);
    EXPECT_EQ(reasonFor("Q", "a=b", "v"), Reason::KeyWithEquals);
    EXPECT_EQ(reasonFor("Q", " [k]", "v"), Reason::KeyLikeHeader);
    EXPECT_EQ(reasonFor(" ", "k", "v"), Reason::EmptyName);
    EXPECT_EQ(reasonFor("Q", "\t", "v"), Reason::EmptyName);
    EXPECT_EQ(reasonFor("Q", "k", "\xFF"), Reason::InvalidText);
    EXPECT_EQ(reasonFor("Q", "k", "a😀"), Reason::Unstorable);
    EXPECT_EQ(reasonFor("Q", "k", "¥100"), Reason::Unstorable);
    EXPECT_EQ(reasonFor("Q", "😀", "v"), Reason::Unstorable);
    ExpectUntouched();

    try {
        WriteProfileValue(file_, "Q", "k", "ok😀");
    } catch (const ProfileTextError& error) {
        EXPECT_EQ(error.character(), U'😀');
        EXPECT_EQ(error.part(), "value");
        EXPECT_NE(std::string(error.what()).find("U+1F600"), std::string::npos);
    }
    // Nothing is created for a refused write either.
    EXPECT_THROW(WriteProfileValue(dir_.File("new.kvd"), "Q", "k", "a\nb"), ProfileTextError);
    ExpectUntouched();
}

}  // namespace
