// Writes in place between programs, with real processes: a file with a second hard link cannot
// be replaced by rename, so its save writes over the file itself. A load meanwhile must see one
// whole version, and a save killed at any point must leave the file whole or a whole copy that
// Open offers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "FileAccess.h"
#include "RecoveryCopy.h"
#include "TempDir.h"

using IniAccess::internal::FileUpdate;
using IniAccess::internal::ReadWholeFile;
using testing_support::ChildEnd;
using testing_support::ReadBytes;
using testing_support::StartChild;
using testing_support::TempDir;
using testing_support::WaitChild;
using testing_support::WriteBytes;

namespace {

// Two versions of one template of about 1 MiB (4 MiB for the kills, so that a kill can land
// inside the write), each one letter throughout its comment, so that a mix is told apart.
std::size_t versionSize = 1u << 20;

std::string Version(char letter) {
    // b is shorter: a load between the write and the cut that ends it would see b and a's end.
    const std::size_t size = letter == 'a' ? versionSize : versionSize / 4 * 3;
    return "[Quelvar]\r\nTagName=" + std::string(1, letter) + "\r\n;" +
           std::string(size - 24, letter) + "\r\n";
}

bool IsOneVersion(const std::string& bytes) {
    return bytes == Version('a') || bytes == Version('b');
}

// The template and a second name for it, as a backup folder made with hard links has.
std::string HardLinkedTemplate(const TempDir& dir) {
    const std::string file = dir.File("linked.kvd");
    WriteBytes(file, Version('a'));
    std::filesystem::create_hard_link(file, dir.File("backup.kvd"));
    return file;
}

TEST(InPlaceWrite, ALoadDuringAWriteInPlaceSeesOneWholeVersion) {
    versionSize = 1u << 20;
    TempDir dir;
    const std::string file = HardLinkedTemplate(dir);
    const std::string done = dir.File("saver-done");
    const pid_t saver = StartChild([&] {
        for (int save = 0; save < 200; ++save) {
            FileUpdate(file).Replace(Version(save % 2 == 0 ? 'b' : 'a'));
            // Saves come from a user, never back to back. Without a pause the saver takes its
            // lock again at once, and the loads, which flock does not queue, starve behind it.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        WriteBytes(done, "");
        return 0;
    });
    // Loads through the other name, as another program of the team would, until the saver ends.
    const std::string a = Version('a'), b = Version('b');
    int loads = 0, mixed = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (loads < 2000 && !std::filesystem::exists(done) &&
           std::chrono::steady_clock::now() < deadline) {
        const auto bytes = ReadWholeFile(dir.File("backup.kvd"));
        mixed += bytes && (*bytes == a || *bytes == b) ? 0 : 1;
        ++loads;
    }
    const ChildEnd end = WaitChild(saver, 120);
    ASSERT_TRUE(end.Succeeded()) << end.Describe();
    std::printf("%d loads during 200 writes in place, %d mixed\n", loads, mixed);
    EXPECT_GE(loads, 50) << "the loads did not overlap the saves";
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(dir.Listing(), "backup.kvd\nlinked.kvd\nsaver-done\n");
}

// What Open finds after a save was killed: the file whole, or else a whole recovery copy.
enum class Found { Whole, Recovered, Lost };

Found AfterKill(const std::string& file, std::string* copyProblem) {
    const std::optional<std::string> copy = IniAccess::FindRecoveryCopy(file);
    if (copy && !IsOneVersion(ReadBytes(*copy))) {
        *copyProblem = "a partial recovery copy is offered: " + *copy;
    }
    if (IsOneVersion(ReadBytes(file))) {
        return Found::Whole;
    }
    return copy ? Found::Recovered : Found::Lost;
}

// Only the template, its second name and temporaries of killed saves (".quelvar-" and six
// letters), which Open never looks at, may be left; they are cleared for the next round.
void ClearLeftovers(const TempDir& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name != "linked.kvd" && name != "backup.kvd") {
            std::filesystem::remove(entry.path());
        }
    }
}

// Returns once the recovery copy exists, polled every 100 us; a test failure after 10 s.
void WaitForCopy(const std::string& file) {
    const std::string copy = IniAccess::RecoveryCopyPath(file);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(copy)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ADD_FAILURE() << "no recovery copy within 10 s: the saver never wrote in place";
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

// Returns once the tag name at the start of the file changes, polled every 100 us; a test
// failure after 10 s.
void WaitForWriteInPlace(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY);
    char before = 0, now = 0;
    if (::pread(fd, &before, 1, 19) != 1) {
        ADD_FAILURE() << "cannot read " << file;
        ::close(fd);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::pread(fd, &now, 1, 19) != 1 || now == before) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ADD_FAILURE() << "the file did not change within 10 s: no write in place began";
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    ::close(fd);
}

TEST(InPlaceWrite, ASaveKilledAtAnyPointLeavesTheFileWholeOrAWholeCopyThatOpenOffers) {
    versionSize = 4u << 20;
    TempDir dir;
    const std::string file = HardLinkedTemplate(dir);
    std::mt19937 random(20261207);
    int whole = 0, recovered = 0, lost = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    for (int kill = 0; kill < 30 && std::chrono::steady_clock::now() < deadline; ++kill) {
        const pid_t saver = StartChild([&] {
            for (int save = 0; save < 1000; ++save) {
                FileUpdate(file).Replace(Version(save % 2 == 0 ? 'b' : 'a'));
            }
            return 0;
        });
        // A third of the kills at any moment of the saves, a third soon after the copy is in
        // place, a third as soon as the write over the file has begun.
        if (kill % 3 == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
        } else if (kill % 3 == 1) {
            WaitForCopy(file);
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        } else if (kill % 3 == 2) {
            WaitForWriteInPlace(file);
        }
        ::kill(saver, SIGKILL);
        const ChildEnd end = WaitChild(saver, 30);
        ASSERT_EQ(end.signal, SIGKILL) << end.Describe();
        std::string copyProblem;
        const Found found = AfterKill(file, &copyProblem);
        EXPECT_EQ(copyProblem, "");
        whole += found == Found::Whole ? 1 : 0;
        recovered += found == Found::Recovered ? 1 : 0;
        lost += found == Found::Lost ? 1 : 0;
        ClearLeftovers(dir);
        WriteBytes(file, Version('a'));
    }
    std::printf("kills: %d left the file whole, %d damaged it with a whole copy offered, %d lost\n",
                whole, recovered, lost);
    EXPECT_EQ(lost, 0);
    EXPECT_GE(whole + recovered, 10) << "too few kills before the deadline";
}

}  // namespace
