// File access on Windows: reading, and the lock that makes a read-edit-write one step. UTF-16
// paths, so that Japanese names work whatever the code page.
#include <windows.h>

#include <cerrno>

#include "FileAccess.h"
#include "LockWait.h"
#include "ProfileError.h"
#include "Win32File.h"

namespace IniAccess::internal {

using win32::Fail;
using win32::FailWith;
using win32::Handle;
using win32::Injected;
using win32::IsMissing;
using win32::WidePath;

namespace {

// Whether the path names something that may be opened: false when it does not exist; throws for
// a folder and for what cannot be looked at.
bool ExistsAsFile(const std::string& path, const std::wstring& wide) {
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (IsMissing(error) || path.empty()) {
            return false;
        }
        FailWith(path, error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Fail(path, std::make_error_code(std::errc::is_a_directory));
    }
    return true;
}

// Pipes and devices would block or never end; a file too large is refused before it is read.
void CheckOpened(HANDLE file, const std::string& path) {
    if (GetFileType(file) != FILE_TYPE_DISK) {
        Fail(path, std::make_error_code(std::errc::invalid_argument));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        FailWith(path, GetLastError());
    }
    if (static_cast<std::uintmax_t>(size.QuadPart) > kMaxFileBytes) {
        Fail(path, std::make_error_code(std::errc::file_too_large));
    }
}

// Opens an existing regular file for reading, sharing it fully so that a writer can still
// replace it. An invalid handle when it does not exist.
HANDLE OpenRegular(const std::string& path) {
    std::error_code injected;
    if (Injected(FileOperation::Open, path, &injected)) {
        if (injected == std::errc::no_such_file_or_directory) {
            return INVALID_HANDLE_VALUE;
        }
        Fail(path, injected);
    }
    const std::wstring wide = WidePath(path);
    if (!ExistsAsFile(path, wide)) {
        return INVALID_HANDLE_VALUE;
    }
    Handle file(CreateFileW(wide.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (IsMissing(error)) {
            return INVALID_HANDLE_VALUE;
        }
        FailWith(path, error);
    }
    CheckOpened(file.get(), path);
    return file.release();
}

std::string ReadAll(HANDLE file, const std::string& path) {
    std::string contents;
    char buffer[65536];
    std::error_code injected;
    for (;;) {
        if (Injected(FileOperation::Read, path, &injected)) {
            Fail(path, injected);
        }
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            FailWith(path, GetLastError());
        }
        if (got == 0) {
            return contents;
        }
        if (contents.size() + got > kMaxFileBytes) {
            Fail(path, std::make_error_code(std::errc::file_too_large));
        }
        contents.append(buffer, got);
    }
}

// Writers lock one byte far past the end of any file: a lock on the contents would make the
// platform refuse reads by readers, who take no lock.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

void Lock(HANDLE file, const std::string& path) {
    WaitForLock(path, [&] {
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &where)) {
            return true;
        }
        // A file system without locks still gets the atomic replacement.
        const DWORD error = GetLastError();
        return error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING;
    });
}

// Whether the path still names the open file: the previous holder of the lock may have
// replaced it.
bool StillAtPath(HANDLE file, const std::string& path) {
    const Handle now(CreateFileW(WidePath(path).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    if (!now.valid() || !GetFileInformationByHandle(file, &a) ||
        !GetFileInformationByHandle(now.get(), &b)) {
        return false;
    }
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const Handle file(OpenRegular(path));
    if (!file.valid()) {
        return std::nullopt;
    }
    return ReadAll(file.get(), path);
}

struct FileUpdate::State {
    std::string path;
    Handle lock{INVALID_HANDLE_VALUE};
    std::optional<std::string> contents;
};

FileUpdate::FileUpdate(const std::string& path) : state_(std::make_unique<State>()) {
    state_->path = path;
    RetryWhileReplaced(path, [&] {
        Handle file(OpenRegular(path));
        if (!file.valid()) {
            return true;  // a new file: nothing to lock
        }
        Lock(file.get(), path);
        if (!StillAtPath(file.get(), path)) {
            return false;
        }
        state_->contents = ReadAll(file.get(), path);
        state_->lock.reset(file.release());
        return true;
    });
}

FileUpdate::~FileUpdate() = default;

const std::optional<std::string>& FileUpdate::Contents() const {
    return state_->contents;
}

void FileUpdate::Replace(std::string_view contents) {
    win32::ReplaceContents(state_->path, contents);
}

}  // namespace IniAccess::internal
