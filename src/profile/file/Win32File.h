#pragma once

// What the Windows file access shares between reading, locking and replacing a file.
#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "FaultInjection.h"

namespace IniAccess::internal::win32 {

// The usual failures as portable conditions, so that messages can name them on any platform.
std::error_code ToErrorCode(DWORD error);

[[noreturn]] void Fail(const std::string& path, std::error_code code);
[[noreturn]] void FailWith(const std::string& path, DWORD error);

// Each system call goes through here first, so that tests can make any of them fail.
bool Injected(FileOperation operation, const std::string& path, std::error_code* code);

// A UTF-8 path as the system's wide functions take it, long ones included.
std::wstring WidePath(const std::string& utf8);

bool IsMissing(DWORD error);

// Where a write really lands: through a symbolic link to the file it names.
std::wstring FinalPath(const std::wstring& path);

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

// Gives the file at path the new contents in one step (a temporary file beside it, flushed and
// moved into place). Throws ProfileIoError.
void ReplaceContents(const std::string& path, std::string_view contents);

}  // namespace IniAccess::internal::win32
