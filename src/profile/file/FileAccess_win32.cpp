// File access on Windows: reading, and the lock that makes a read-edit-write one step. UTF-16
// paths, so that Japanese names work whatever the code page.
#include <windows.h>

#include <cerrno>

#include "BesideFile.h"
#include "FileAccess.h"
#include "LockWait.h"
#include "ProfileError.h"
#include "WideText.h"
#include "Win32File.h"

namespace IniAccess::internal {

using win32::Fail;
using win32::FailWith;
using win32::Handle;
using win32::Injected;
using win32::IsMissing;
using win32::NamesDevice;
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
    if (NamesDevice(path)) {
        Fail(path, std::make_error_code(std::errc::invalid_argument));
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

// Savers of a file take turns through a lock file beside it rather than a lock on the file
// itself: the replacement renames over the file, which no open handle on it may hinder. The lock
// file goes when its last holder closes it, a process that ends included.
HANDLE TakeSaveLock(const std::string& path) {
    const std::wstring name =
        WidePath(BesideFile(Utf8FromWide(win32::FinalPath(WidePath(path))), ".quelvar-lock-"));
    Handle lock(INVALID_HANDLE_VALUE);
    int refusedWhileMissing = 0;
    WaitForLock(path, [&] {
        if (!lock.valid()) {
            lock.reset(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                   nullptr));
        }
        if (!lock.valid()) {
            const DWORD error = GetLastError();
            if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
                return false;
            }
            if (error != ERROR_ACCESS_DENIED) {
                return true;  // no lock to be had here: the save will say why when it writes
            }
            // Refused while its last holder removes it, and then gone at once: try again. Refused
            // twice with nothing there, the folder takes no new file, and the save will say so
            // when it makes its own.
            const bool missing = GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES &&
                                 IsMissing(GetLastError());
            refusedWhileMissing = missing ? refusedWhileMissing + 1 : 0;
            return refusedWhileMissing >= 2;
        }
        OVERLAPPED where{};
        if (LockFileEx(lock.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &where)) {
            return true;
        }
        // A file system without locks still gets the replacement in one step.
        const DWORD error = GetLastError();
        return error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING;
    });
    return lock.release();
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

// No handle on the file stays open: the file is read whole under the savers' lock.
FileUpdate::FileUpdate(const std::string& path) : state_(std::make_unique<State>()) {
    state_->path = path;
    if (NamesDevice(path)) {
        Fail(path, std::make_error_code(std::errc::invalid_argument));
    }
    state_->lock.reset(TakeSaveLock(path));
    state_->contents = ReadWholeFile(path);
}

FileUpdate::~FileUpdate() = default;

const std::optional<std::string>& FileUpdate::Contents() const {
    return state_->contents;
}

bool FileUpdate::Replace(std::string_view contents) {
    return win32::ReplaceContents(state_->path, contents, state_->contents.has_value());
}

}  // namespace IniAccess::internal
