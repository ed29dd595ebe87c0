// Templates between programs on Windows, tried with real processes: a file another program holds
// open, saves ended at any moment, loads racing saves, two programs writing one file, and what a
// save keeps of the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "FileAccess.h"
#include "IniAccess.h"
#include "TempDir.h"
#include "TemplateFile.h"
#include "WhoseTemplate.h"
#include "WideText.h"

using namespace quelvar;
using testing_support::OwnerOfFile;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::TemplateOf;
using testing_support::WriteBytes;

namespace {

// Under Wine a process takes a second or so to start; none of these should take longer than this.
constexpr DWORD kDeadlineMs = 30000;

// A run of tests/platform/WinChild.cpp, started and waited for until it says it has begun.
class Child {
  public:
    explicit Child(const std::wstring& arguments) {
        static int count = 0;
        event_ = L"quelvar-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++count);
        started_ = CreateEventW(nullptr, TRUE, FALSE, event_.c_str());
        go_ = CreateEventW(nullptr, TRUE, FALSE, (event_ + L".go").c_str());
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring program(self);
        program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"quelvar_win_child.exe";
        std::wstring command = L"\"" + program + L"\" " + arguments + L" " + event_;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_)) {
            ADD_FAILURE() << "cannot start the child: error " << GetLastError();
            return;
        }
        CloseHandle(process_.hThread);
        const HANDLE either[] = {started_, process_.hProcess};
        const DWORD woke = WaitForMultipleObjects(2, either, FALSE, kDeadlineMs);
        if (woke != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the child did not start: "
                          << (woke == WAIT_TIMEOUT ? "timed out" : "it ended");
        }
    }
    ~Child() {
        if (process_.hProcess != nullptr) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, kDeadlineMs);
            CloseHandle(process_.hProcess);
        }
        CloseHandle(started_);
        CloseHandle(go_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    wchar_t const* Event() const { return event_.c_str(); }
    void Go() { SetEvent(go_); }
    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit code; 259 (still active) when it has not ended by the deadline.
    DWORD Wait() {
        EXPECT_EQ(WaitForSingleObject(process_.hProcess, kDeadlineMs), WAIT_OBJECT_0)
            << "the child did not end in time";
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    // Ends it at once, as another program ending it or a crash would.
    void Kill() {
        TerminateProcess(process_.hProcess, 99);
        EXPECT_EQ(Wait(), 99u);
    }

  private:
    std::wstring event_;
    HANDLE started_ = nullptr;
    HANDLE go_ = nullptr;
    PROCESS_INFORMATION process_{};
};

std::uint64_t MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
}

// A scanner or viewer that lets go is waited for; one that does not is reported as using the
// file, which is then as it was. Either way nothing is left beside it.
TEST(BetweenPrograms, AFileHeldOpenForReadingIsWaitedForThenReportedInUse) {
    struct Case {
        int holdMs;
        bool saved;
    };
    for (const Case c : {Case{1500, true}, Case{20000, false}}) {
        TempDir dir;
        const std::string file = dir.File("held.kvd");
        SaveTemplate(TemplateOf("old"), file);
        const std::string before = ReadBytes(file);
        Child holder(L"hold \"" + IniAccess::WideFromUtf8(file) + L"\" " +
                     std::to_wstring(c.holdMs));
        const auto start = std::chrono::steady_clock::now();
        std::error_code failure;
        try {
            SaveTemplate(TemplateOf("new"), file);
        } catch (const TemplateSaveError& error) {
            failure = error.code();
        }
        std::printf("held %d ms: the save %s after %llu ms\n", c.holdMs,
                    failure ? "gave up" : "was made",
                    static_cast<unsigned long long>(MillisecondsSince(start)));
        if (c.saved) {
            EXPECT_FALSE(failure) << failure.message();
            EXPECT_EQ(OwnerOfFile(file), "new");
        } else {
            EXPECT_EQ(failure, std::errc::device_or_resource_busy) << failure.message();
            EXPECT_EQ(ReadBytes(file), before);
        }
        EXPECT_EQ(dir.Listing(), "held.kvd\n") << c.holdMs;
    }
}

// A save ended in the middle may leave its temporary file (".quelvar-" and six letters), never
// anything else, and the file is always one whole template. Small saves in a tight loop spend
// much of their time in the replacement, where a kill would find a gap if there were one.
TEST(BetweenPrograms, SavesEndedAtRandomMomentsLeaveTheOldOrTheNewFile) {
    TempDir dir;
    const std::string file = dir.File("killed.kvd");
    std::mt19937 random(20261209);
    int temporaries = 0;
    std::map<std::string, int> found;
    constexpr int kRounds = 30;
    for (int round = 0; round < kRounds; ++round) {
        SaveTemplate(TemplateOf("A"), file);
        Child saver(L"save \"" + IniAccess::WideFromUtf8(file) + L"\" 0");
        Sleep(random() % 300);
        saver.Kill();
        TagTemplate t;
        try {
            LoadTemplate(t, file, MissingFile::IsAnError);
            found[testing_support::Owner(t)] += 1;
        } catch (const IniAccess::ProfileIoError& error) {
            found["unreadable: " + error.code().message()] += 1;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name == "killed.kvd") {
                continue;
            }
            const bool temporary = name.size() == 15 && name.starts_with(".quelvar-") &&
                                   name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789",
                                                          9) == std::string::npos;
            EXPECT_TRUE(temporary) << "round " << round << " left " << name;
            temporaries += temporary ? 1 : 0;
            std::filesystem::remove(entry.path());
        }
    }
    std::printf("%d saves ended: %d temporary files left; the file held", kRounds, temporaries);
    for (const auto& [what, count] : found) {
        std::printf(" %s %d times;", what.c_str(), count);
    }
    std::printf("\n");
    EXPECT_EQ(found["A"] + found["B"], kRounds);
}

// No load finds the file missing or sees two templates mixed, and every save is made.
TEST(BetweenPrograms, LoadsDuringSavesNeverMissTheFileNorMixIt) {
    TempDir dir;
    const std::string file = dir.File("busy.kvd");
    SaveTemplate(TemplateOf("A"), file);
    Child saver(L"save \"" + IniAccess::WideFromUtf8(file) + L"\" 200");
    int loads = 0, missing = 0, mixed = 0, failed = 0;
    while (saver.Running()) {
        TagTemplate t;
        try {
            LoadTemplate(t, file, MissingFile::IsAnError);
            const std::string owner = testing_support::Owner(t);
            mixed += owner == "A" || owner == "B" ? 0 : 1;
        } catch (const IniAccess::ProfileIoError& error) {
            (error.code() == std::errc::no_such_file_or_directory ? missing : failed) += 1;
        }
        ++loads;
    }
    EXPECT_EQ(saver.Wait(), 0u) << "a save failed";
    std::printf("%d loads during 200 saves: %d missing, %d mixed, %d failed\n", loads, missing,
                mixed, failed);
    EXPECT_GT(loads, 0);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(dir.Listing(), "busy.kvd\n");
}

// Each write adds a key of its own, so that a lost update shows as a missing key.
TEST(BetweenPrograms, TwoProgramsWritingDifferentKeysBothKeepTheirKeys) {
    TempDir dir;
    const std::string file = dir.File("shared.ini");
    WriteBytes(file, "[Other]\r\nx=1\r\n");
    constexpr int kKeys = 100;
    Child a(L"keys \"" + IniAccess::WideFromUtf8(file) + L"\" a " + std::to_wstring(kKeys));
    Child b(L"keys \"" + IniAccess::WideFromUtf8(file) + L"\" b " + std::to_wstring(kKeys));
    a.Go();
    b.Go();
    EXPECT_EQ(a.Wait(), 0u);
    EXPECT_EQ(b.Wait(), 0u);
    int lost = 0;
    for (int round = 1; round <= kKeys; ++round) {
        for (const std::string prefix : {"a", "b"}) {
            const std::string key = prefix + std::to_string(round);
            lost += IniAccess::ReadProfileValue(file, "S", key) == key ? 0 : 1;
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(IniAccess::ReadProfileValue(file, "Other", "x"), "1");
    EXPECT_EQ(dir.Listing(), "shared.ini\n");
}

TEST(BetweenPrograms, ASaveKeepsTheHiddenAndSystemAttributes) {
    TempDir dir;
    const std::string file = dir.File("kept.kvd");
    SaveTemplate(TemplateOf("old"), file);
    ASSERT_TRUE(SetFileAttributesW(IniAccess::WideFromUtf8(file).c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    SaveTemplate(TemplateOf("new"), file);
    EXPECT_EQ(
        GetFileAttributesW(IniAccess::WideFromUtf8(file).c_str()),
        static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(OwnerOfFile(file), "new");
}

// A file that another program makes after a save found it missing is read and edited, not
// replaced as if it were still missing.
TEST(BetweenPrograms, AFileMadeAfterItWasFoundMissingIsNotReplaced) {
    TempDir dir;
    const std::string file = dir.File("late.ini");
    {
        IniAccess::internal::FileUpdate update(file);
        ASSERT_FALSE(update.Contents().has_value());
        WriteBytes(file, "[Other]\r\nx=1\r\n");
        EXPECT_FALSE(update.Replace("[S]\r\nk=v\r\n"));
    }
    EXPECT_EQ(ReadBytes(file), "[Other]\r\nx=1\r\n");
    EXPECT_EQ(dir.Listing(), "late.ini\n");
}

// A device name is no file to save into, and is said to be none.
TEST(BetweenPrograms, ASaveToADeviceNameIsRefusedAsNotAFile) {
    TempDir dir;
    for (const char* name : {"prn.kvd", "LPT1.kvd", "CON"}) {
        std::error_code failure;
        try {
            SaveTemplate(TemplateOf("x"), dir.File(name));
        } catch (const TemplateSaveError& error) {
            failure = error.code();
        }
        EXPECT_EQ(failure, std::errc::invalid_argument) << name << ": " << failure.message();
    }
    EXPECT_EQ(dir.Listing(), "");
}

}  // namespace
