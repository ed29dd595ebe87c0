// File access on Windows: UTF-16 paths, so that Japanese names work whatever the code page.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <utility>

#include "FaultInjection.h"
#include "FileAccess.h"
#include "ProfileError.h"

namespace IniAccess {

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

std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
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

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code injected;
    if (Injected(FileOperation::Open, path, &injected)) {
        if (injected == std::errc::no_such_file_or_directory) {
            return std::nullopt;
        }
        Fail(path, injected);
    }
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (IsMissing(error) || path.empty()) {
            return std::nullopt;
        }
        FailWith(path, error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Fail(path, std::make_error_code(std::errc::is_a_directory));
    }
    const Handle file(CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (IsMissing(error)) {
            return std::nullopt;
        }
        FailWith(path, error);
    }
    std::string contents;
    char buffer[65536];
    for (;;) {
        if (Injected(FileOperation::Read, path, &injected)) {
            Fail(path, injected);
        }
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            FailWith(path, GetLastError());
        }
        if (got == 0) {
            return contents;
        }
        contents.append(buffer, got);
    }
}

void ReplaceWholeFile(const std::string& path, std::string_view contents) {
    const std::wstring given = WidePath(path);
    const DWORD attributes = GetFileAttributesW(given.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && !IsMissing(GetLastError())) {
        FailWith(path, GetLastError());
    }
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, std::make_error_code(std::errc::is_a_directory));
    }
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(path, std::make_error_code(std::errc::permission_denied));
    }
    const fs::path target = exists ? fs::path(FinalPath(given)) : fs::path(given);
    const fs::path folder = target.parent_path().empty() ? fs::path(L".") : target.parent_path();

    std::error_code injected;
    static std::mt19937_64 generator{std::random_device{}()};
    std::wstring temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        if (Injected(FileOperation::Open, path, &injected)) {
            Fail(path, injected);
        }
        temporary = (folder / (L"." + target.filename().wstring() + L"." +
                               std::to_wstring(generator() % 1000000000) + L".tmp"))
                        .wstring();
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            FailWith(path, GetLastError());
        }
    }
    if (created == INVALID_HANDLE_VALUE) {
        FailWith(path, ERROR_FILE_EXISTS);
    }
    Handle file(created);
    try {
        for (std::size_t done = 0; done < contents.size();) {
            if (Injected(FileOperation::Write, path, &injected)) {
                Fail(path, injected);
            }
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 20));
            DWORD written = 0;
            if (!WriteFile(file.get(), contents.data() + done, chunk, &written, nullptr)) {
                FailWith(path, GetLastError());
            }
            done += written;
        }
        if (Injected(FileOperation::Flush, path, &injected)) {
            Fail(path, injected);
        }
        if (!FlushFileBuffers(file.get())) {
            FailWith(path, GetLastError());
        }
        CloseHandle(file.release());
        if (Injected(FileOperation::Rename, path, &injected)) {
            Fail(path, injected);
        }
        // ReplaceFileW keeps the old file's attributes and access rights; a new file is moved.
        const bool replaced =
            exists && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        if (!replaced && !MoveFileExW(temporary.c_str(), target.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            FailWith(path, GetLastError());
        }
    } catch (...) {
        if (file.valid()) {
            CloseHandle(file.release());
        }
        DeleteFileW(temporary.c_str());
        throw;
    }
}

}  // namespace IniAccess
