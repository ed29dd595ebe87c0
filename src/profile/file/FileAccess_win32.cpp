// File access on Windows: UTF-16 paths, so that Japanese names work whatever the code page.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <utility>

#include "FaultInjection.h"
#include "FileAccess.h"
#include "ProfileError.h"
#include "TemporaryFile.h"

namespace quelvar::profile {

using namespace IniAccess;

namespace {

namespace fs = std::filesystem;

// The usual failures as portable conditions, so that messages can name them on any platform.
std::error_code ToErrorCode(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_ACCESS_DENIED:
            return std::make_error_code(std::errc::permission_denied);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        case ERROR_WRITE_PROTECT:
            return std::make_error_code(std::errc::read_only_file_system);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::make_error_code(std::errc::device_or_resource_busy);
        case ERROR_FILENAME_EXCED_RANGE:
            return std::make_error_code(std::errc::filename_too_long);
        default:
            return std::error_code(static_cast<int>(error), std::system_category());
    }
}

[[noreturn]] void Fail(const std::string& path, std::error_code code) {
    throw ProfileIoError(path, code);
}
[[noreturn]] void FailWith(const std::string& path, DWORD error) {
    Fail(path, ToErrorCode(error));
}

// Each system call below goes through here first, so that tests can make any of them fail.
bool Injected(FileOperation operation, const std::string& path, std::error_code* code) {
    if (const int error = InjectedFault(operation, path)) {
        *code = std::error_code(error, std::generic_category());
        return true;
    }
    return false;
}

// Windows takes a path longer than MAX_PATH only in its "\\?\" form (unless the machine's
// long-path policy is on), and then takes it as given: so make it full first. The margin leaves
// room for the temporary file's name beside the target.
std::wstring LongPathForm(const std::wstring& path) {
    constexpr std::size_t kMargin = 16;
    if (path.size() + kMargin < MAX_PATH || path.starts_with(L"\\\\?\\")) {
        return path;
    }
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return path;
    }
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) {
        return path;
    }
    full.resize(written);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) {
        return full;
    }
    if (full.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return LongPathForm(wide);
}

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    void reset(HANDLE handle) {
        if (valid()) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_;
};

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Where a write really lands: through a symbolic link to the file it names.
std::wstring FinalPath(const std::wstring& path) {
    const Handle file(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        return path;
    }
    wchar_t buffer[32768];
    const DWORD length = GetFinalPathNameByHandleW(file.get(), buffer, 32768, FILE_NAME_NORMALIZED);
    return (length > 0 && length < 32768) ? std::wstring(buffer, length) : path;
}

}  // namespace

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
constexpr int kLockWaitMs = 10000;

void Lock(HANDLE file, const std::string& path) {
    std::error_code injected;
    for (int waited = 0;; waited += 5) {
        if (Injected(FileOperation::Lock, path, &injected)) {
            Fail(path, injected);
        }
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &where)) {
            return;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            return;  // a file system without locks still gets the atomic replacement
        }
        if (waited >= kLockWaitMs) {
            Fail(path, std::make_error_code(std::errc::device_or_resource_busy));
        }
        Sleep(5);
    }
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

void ReplaceContents(const std::string& path, std::string_view contents);

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
    for (int attempt = 0; attempt < 100; ++attempt) {
        Handle file(OpenRegular(path));
        if (!file.valid()) {
            return;  // a new file: nothing to lock
        }
        Lock(file.get(), path);
        if (StillAtPath(file.get(), path)) {
            state_->contents = ReadAll(file.get(), path);
            state_->lock.reset(file.release());
            return;
        }
    }
    Fail(path, std::make_error_code(std::errc::device_or_resource_busy));
}

FileUpdate::~FileUpdate() = default;

const std::optional<std::string>& FileUpdate::Contents() const {
    return state_->contents;
}

void FileUpdate::Replace(std::string_view contents) {
    ReplaceContents(state_->path, contents);
}

void ReplaceWholeFile(const std::string& path, std::string_view contents) {
    FileUpdate(path).Replace(contents);
}

namespace {

// Where the new contents go: the file behind any symbolic link, or the new file's name. Refuses
// what must not be replaced (a folder, a read-only file).
struct Destination {
    bool exists = false;
    fs::path target;
    fs::path folder;
};

Destination FindDestination(const std::string& path) {
    const std::wstring given = WidePath(path);
    const DWORD attributes = GetFileAttributesW(given.c_str());
    Destination destination;
    destination.exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!destination.exists && !IsMissing(GetLastError())) {
        FailWith(path, GetLastError());
    }
    if (destination.exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, std::make_error_code(std::errc::is_a_directory));
    }
    if (destination.exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(path, std::make_error_code(std::errc::permission_denied));
    }
    destination.target = destination.exists ? fs::path(FinalPath(given)) : fs::path(given);
    const fs::path parent = destination.target.parent_path();
    destination.folder = parent.empty() ? fs::path(L".") : parent;
    return destination;
}

// Created exclusively, so that nothing already there is written through.
Handle CreateTemporaryFile(const fs::path& folder, const std::string& path, std::wstring* name) {
    HANDLE created = INVALID_HANDLE_VALUE;
    const auto create = [&](const fs::path& candidate) {
        std::error_code injected;
        if (Injected(FileOperation::Open, path, &injected)) {
            Fail(path, injected);
        }
        created = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created != INVALID_HANDLE_VALUE) {
            return CreateOutcome::Created;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            FailWith(path, GetLastError());
        }
        return CreateOutcome::NameTaken;
    };
    bool allTaken = false;
    const auto temporary = CreateTemporary(folder, create, &allTaken);
    if (!temporary) {
        FailWith(path, ERROR_FILE_EXISTS);
    }
    *name = temporary->wstring();
    return Handle(created);
}

void WriteAndFlush(HANDLE file, std::string_view contents, const std::string& path) {
    std::error_code injected;
    for (std::size_t done = 0; done < contents.size();) {
        if (Injected(FileOperation::Write, path, &injected)) {
            Fail(path, injected);
        }
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, contents.data() + done, chunk, &written, nullptr)) {
            FailWith(path, GetLastError());
        }
        done += written;
    }
    if (Injected(FileOperation::Flush, path, &injected)) {
        Fail(path, injected);
    }
    if (!FlushFileBuffers(file)) {
        FailWith(path, GetLastError());
    }
}

// ReplaceFileW keeps the old file's attributes and access rights; a new file is moved.
void MoveIntoPlace(const Destination& destination, const std::wstring& temporary,
                   const std::string& path) {
    std::error_code injected;
    if (Injected(FileOperation::Rename, path, &injected)) {
        Fail(path, injected);
    }
    const bool replaced =
        destination.exists && ReplaceFileW(destination.target.c_str(), temporary.c_str(), nullptr,
                                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!replaced && !MoveFileExW(temporary.c_str(), destination.target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FailWith(path, GetLastError());
    }
}

void ReplaceContents(const std::string& path, std::string_view contents) {
    const Destination destination = FindDestination(path);
    std::wstring temporary;
    Handle file = CreateTemporaryFile(destination.folder, path, &temporary);
    try {
        WriteAndFlush(file.get(), contents, path);
        CloseHandle(file.release());
        MoveIntoPlace(destination, temporary, path);
    } catch (...) {
        if (file.valid()) {
            CloseHandle(file.release());
        }
        DeleteFileW(temporary.c_str());
        throw;
    }
}

}  // namespace

}  // namespace quelvar::profile
