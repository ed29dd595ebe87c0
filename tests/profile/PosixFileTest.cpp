// What only POSIX systems have: permissions, owners, inodes and symbolic links.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "ChildProcess.h"
#include "FaultHook.h"
#include "IniAccess.h"
#include "ProfileFileFixture.h"

using IniAccess::ProfileIoError;
using IniAccess::WriteProfileValue;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// Runs the check as an ordinary user: permissions mean nothing to root, which runs CI.
bool AsUnprivilegedUser(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    const testing_support::ChildEnd end = testing_support::WaitChild(child);
    EXPECT_FALSE(end.timedOut) << "the check as an ordinary user: " << end.Describe();
    return end.Succeeded();
}

class PosixFile : public testing_support::KeptFileTest {};

TEST_F(PosixFile, WritingTheStoredValueAgainLeavesTheFileUntouched) {
    WriteBytes(file_, "[Q]\r\nk = \"same\"  \r\n");
    struct stat before {};
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);
    ASSERT_TRUE(WriteProfileValue(file_, "Q", "k", "same"));
    struct stat after {};
    ASSERT_EQ(::stat(file_.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(ReadBytes(file_), "[Q]\r\nk = \"same\"  \r\n");
}

TEST_F(PosixFile, ASymbolicLinkIsWrittenThroughAndStaysALink) {
    const std::string target = dir_.File("real.kvd");
    WriteBytes(target, "[Q]\r\nk=1\r\n");
    std::filesystem::remove(file_);
    std::filesystem::create_symlink("real.kvd", file_);
    ASSERT_TRUE(WriteProfileValue(file_, "Q", "k", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(file_));
    EXPECT_EQ(ReadBytes(target), "[Q]\r\nk=2\r\n");
    EXPECT_EQ(dir_.Listing(), "real.kvd\nt.kvd\n");
}

TEST_F(PosixFile, TheFileKeepsItsPermissionsWhateverTheUmask) {
    for (const mode_t umask : {022, 077}) {
        const mode_t previous = ::umask(umask);
        for (const auto mode : {0640, 0664, 0660, 0600}) {
            WriteBytes(file_, "[Q]\r\nk=1\r\n");
            std::filesystem::permissions(file_, std::filesystem::perms(mode));
            EXPECT_TRUE(WriteProfileValue(file_, "Q", "k", "2"));
            EXPECT_EQ(std::filesystem::status(file_).permissions(), std::filesystem::perms(mode))
                << std::oct << mode << " under umask " << umask;
        }
        ::umask(previous);
    }
}

TEST_F(PosixFile, ReadOnlyFileIsNotWrittenAndStaysAsItWas) {
    std::filesystem::permissions(file_, std::filesystem::perms(0444));
    EXPECT_TRUE(AsUnprivilegedUser([&] { return !WriteProfileValue(file_, "Q", "k", "v"); }));
    ExpectUntouched();
}

// A folder that takes no new file leaves only a write in place, which the file allows.
TEST_F(PosixFile, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    std::filesystem::permissions(file_, std::filesystem::perms(0666));
    std::filesystem::permissions(dir_.path(), std::filesystem::perms(0555));
    struct stat before {};
    ASSERT_EQ(::stat(file_.c_str(), &before), 0);
    EXPECT_TRUE(AsUnprivilegedUser([&] { return WriteProfileValue(file_, "Q", "k", "v"); }));
    std::filesystem::permissions(dir_.path(), std::filesystem::perms(0777));
    struct stat after {};
    ASSERT_EQ(::stat(file_.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(ReadBytes(file_), "[Q]\r\nk=v\r\n; keep me\r\n");
    EXPECT_EQ(dir_.Listing(), "t.kvd\n");
}

// The real rename fails: a folder took the file's place after it was read (a file held open
// cannot give its name away on Windows).
TEST_F(PosixFile, AFailedRenameIsReportedAndLeavesNoTemporaryFile) {
    {
        const IniAccess::internal::ScopedFaultHook hook(
            [&](IniAccess::internal::FileOperation operation, const std::string&) {
                if (operation == IniAccess::internal::FileOperation::Rename) {
                    std::filesystem::remove(file_);
                    std::filesystem::create_directory(file_);
                    WriteBytes(file_ + "/inside", "kept");
                }
                return 0;
            });
        try {
            IniAccess::StoreProfileValue(file_, "Q", "k", "new");
            ADD_FAILURE() << "a failed rename went unreported";
        } catch (const ProfileIoError& error) {
            EXPECT_EQ(error.code(), std::errc::is_a_directory);
        }
    }
    EXPECT_EQ(ReadBytes(file_ + "/inside"), "kept");
    EXPECT_EQ(dir_.Listing(), "t.kvd\n");
}

TEST_F(PosixFile, UnreadableFileIsAnErrorWithTheSystemsReason) {
    std::filesystem::permissions(file_, std::filesystem::perms(0));
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        try {
            IniAccess::ReadProfileValue(file_, "Q", "k");
        } catch (const ProfileIoError& error) {
            return error.code() == std::errc::permission_denied;
        }
        return false;
    }));
}

}  // namespace
