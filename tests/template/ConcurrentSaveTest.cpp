// Templates between programs, tried with real processes: saves at the same moment, a file
// replaced while it loads, signals and limits during a save, a file shared through its group.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "IniAccess.h"
#include "TempDir.h"
#include "TemplateFile.h"
#include "WhoseTemplate.h"

using namespace quelvar;
using testing_support::ChildEnd;
using testing_support::OwnerOfFile;
using testing_support::ReadBytes;
using testing_support::RunChild;
using testing_support::StartChild;
using testing_support::TempDir;
using testing_support::TemplateOf;
using testing_support::WaitChild;
using testing_support::WriteBytes;

namespace {

TEST(ConcurrentSave, TwoProgramsSavingAtOnceLeaveOneWholeTemplateAndLoadsNeverMix) {
    TempDir dir;
    const std::string file = dir.File("shared.kvd");
    const auto saver = [&](const std::string& who) {
        return [file, who] {
            const TagTemplate mine = TemplateOf(who);
            for (int round = 0; round < 150; ++round) {
                SaveTemplate(mine, file);
            }
            return 0;
        };
    };
    const pid_t a = StartChild(saver("alpha"));
    const pid_t b = StartChild(saver("beta"));
    // Loads run while both save; the file starts missing, so the first saves also race to
    // create it.
    int mixed = 0;
    for (int load = 0; load < 300; ++load) {
        const std::string owner = OwnerOfFile(file);
        mixed += (owner != "" && owner != "alpha" && owner != "beta") ? 1 : 0;
    }
    const ChildEnd endA = WaitChild(a);
    const ChildEnd endB = WaitChild(b);
    EXPECT_TRUE(endA.Succeeded()) << endA.Describe();
    EXPECT_TRUE(endB.Succeeded()) << endB.Describe();
    EXPECT_EQ(mixed, 0);
    const std::string last = OwnerOfFile(file);
    EXPECT_TRUE(last == "alpha" || last == "beta") << last;
    EXPECT_EQ(dir.Listing(), "shared.kvd\n");
}

// Each write adds a key of its own, so that a lost update shows as a missing key.
TEST(ConcurrentSave, TwoProgramsWritingDifferentKeysBothKeepTheirKeys) {
    TempDir dir;
    const std::string file = dir.File("shared.ini");
    WriteBytes(file, "[Other]\r\nx=1\r\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const auto writer = [&](const std::string& prefix) {
        return [&, prefix] {
            char go = 0;
            if (::read(ready[0], &go, 1) != 1) {
                return 2;
            }
            for (int round = 1; round <= 150; ++round) {
                const std::string key = prefix + std::to_string(round);
                if (!IniAccess::WriteProfileValue(file, "S", key, key)) {
                    return 1;
                }
            }
            return 0;
        };
    };
    const pid_t a = StartChild(writer("a"));
    const pid_t b = StartChild(writer("b"));
    ASSERT_EQ(::write(ready[1], "go", 2), 2);  // both start at the same moment
    const ChildEnd endA = WaitChild(a);
    const ChildEnd endB = WaitChild(b);
    EXPECT_TRUE(endA.Succeeded()) << endA.Describe();
    EXPECT_TRUE(endB.Succeeded()) << endB.Describe();
    ::close(ready[0]);
    ::close(ready[1]);
    int lost = 0;
    for (int round = 1; round <= 150; ++round) {
        for (const std::string prefix : {"a", "b"}) {
            const std::string key = prefix + std::to_string(round);
            lost += IniAccess::ReadProfileValue(file, "S", key) == key ? 0 : 1;
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(IniAccess::ReadProfileValue(file, "Other", "x"), "1");
}

TEST(ConcurrentSave, ALoadWhileAnotherProgramReplacesTheFileSeesOneWholeTemplate) {
    TempDir dir;
    const std::string file = dir.File("swapped.kvd");
    SaveTemplate(TemplateOf("alpha"), file);
    const std::string alpha = ReadBytes(file);
    SaveTemplate(TemplateOf("beta"), file);
    const std::string beta = ReadBytes(file);
    // Replaces the file by rename, as any careful program does, as fast as it can.
    const pid_t swapper = StartChild([&] {
        for (int round = 0;; ++round) {
            const std::string temporary = dir.File("swap.tmp");
            WriteBytes(temporary, round % 2 ? alpha : beta);
            std::rename(temporary.c_str(), file.c_str());
        }
        return 0;
    });
    int mixed = 0;
    for (int load = 0; load < 2000; ++load) {
        const std::string owner = OwnerOfFile(file);
        mixed += (owner != "alpha" && owner != "beta") ? 1 : 0;
    }
    ::kill(swapper, SIGKILL);
    const ChildEnd end = WaitChild(swapper);
    EXPECT_EQ(end.signal, SIGKILL) << end.Describe();
    EXPECT_EQ(mixed, 0);
}

// A large file takes long enough to write that the signal lands inside the save.
TEST(ConcurrentSave, SigtermDuringASaveLeavesOneWholeFileAndNoTemporary) {
    TempDir dir;
    const std::string file = dir.File("big.ini");
    // Long comment lines: quick to look through, so that most of each save is spent writing.
    std::string filler = "[Filler]\r\n";
    while (filler.size() < (4u << 20)) {
        filler += ";" + std::string(1000, 'x') + "\r\n";
    }
    const std::string withA = filler + "[Quelvar]\r\nTagName=A\r\n";
    const std::string withB = filler + "[Quelvar]\r\nTagName=B\r\n";
    std::mt19937 random(20261207);
    for (int round = 0; round < 12; ++round) {
        WriteBytes(file, withA);
        const pid_t saver = StartChild([&] {
            for (int i = 0;; ++i) {
                IniAccess::WriteProfileValue(file, "Quelvar", "TagName", i % 2 ? "A" : "B");
            }
            return 0;
        });
        ::usleep(60000 + random() % 240000);
        ::kill(saver, SIGTERM);
        // A save ends within milliseconds of the signal; one that does not would repeat the
        // wait in every round.
        const ChildEnd end = WaitChild(saver, 5);
        ASSERT_EQ(end.signal, SIGTERM) << "round " << round << ": " << end.Describe();
        const std::string now = ReadBytes(file);
        EXPECT_TRUE(now == withA || now == withB) << "round " << round << ": " << now.size();
        EXPECT_EQ(dir.Listing(), "big.ini\n") << "round " << round;
    }
}

TEST(ConcurrentSave, AFileSizeLimitIsAFailureShownNotTheEndOfTheProgram) {
    TempDir dir;
    const std::string file = dir.File("limited.kvd");
    const std::string original = "[Quelvar]\r\nTagName=old\r\n" + std::string(3000, ';') + "\r\n";
    WriteBytes(file, original);
    const ChildEnd end = RunChild([&] {
        const struct rlimit limit { 4096, 4096 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SaveTemplate(TemplateOf(std::string(200, 'x')), file);
        } catch (const TemplateSaveError& error) {
            return error.code() == std::errc::file_too_large ? 0 : 2;
        }
        return 3;
    });
    EXPECT_TRUE(end.Succeeded()) << end.Describe();
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_EQ(dir.Listing(), "limited.kvd\n");
}

TEST(ConcurrentSave, ANameOfTheLongestLengthAllowedSaves) {
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".kvd";
    const std::string file = dir.File(name);
    SaveTemplate(TemplateOf("long"), file);
    SaveTemplate(TemplateOf("longer"), file);
    EXPECT_EQ(OwnerOfFile(file), "longer");
    EXPECT_EQ(dir.Listing(), name + "\n");
}

// Saved by another member of the group, a group-shared file keeps its owner, group and mode,
// whether or not that member may create files in the folder.
TEST(ConcurrentSave, AGroupSharedFileSavedByAnotherMemberKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making a file owned by another user needs root";
    }
    const struct group* users = ::getgrnam("users");
    if (users == nullptr) {
        GTEST_SKIP() << "this system has no group 'users' to share the file through";
    }
    const gid_t shared = users->gr_gid;
    for (const auto folderMode : {0777, 0755}) {
        TempDir dir;
        std::filesystem::permissions(dir.path(), std::filesystem::perms(folderMode));
        const std::string file = dir.File("team.kvd");
        SaveTemplate(TemplateOf("root"), file);
        ASSERT_EQ(::chown(file.c_str(), 0, shared), 0);
        ASSERT_EQ(::chmod(file.c_str(), 0660), 0);

        const ChildEnd end = RunChild([&] {
            if (!testing_support::BecomeNobody({shared})) {
                return 2;
            }
            SaveTemplate(TemplateOf("member"), file);
            return 0;
        });
        EXPECT_TRUE(end.Succeeded()) << end.Describe();
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 0u) << "folder mode " << std::oct << folderMode;
        EXPECT_EQ(info.st_gid, shared);
        EXPECT_EQ(info.st_mode & 07777, 0660u);
        EXPECT_EQ(OwnerOfFile(file), "member");
        EXPECT_EQ(dir.Listing(), "team.kvd\n");
    }
}

}  // namespace
