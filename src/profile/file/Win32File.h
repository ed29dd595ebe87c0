#pragma once

// What the Windows file access shares between reading, locking and replacing a file.
#include <windows.h>

#include <functional>
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

// Whether the path names a device rather than a file: "CON", "prn.kvd", "LPT1.kvd" and the like
// do in any folder.
bool NamesDevice(const std::string& path);

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

// Tries attempt again while another program's open handle on file is what keeps it from
// succeeding (a sharing violation, or an access denied that a user who may delete the file gets
// only while it is open), for at most a few seconds; gives attempt's answer, or
// ERROR_SHARING_VIOLATION when the file was still held at the end.
DWORD RetryWhileHeld(const std::wstring& file, const std::function<DWORD()>& attempt);

// Removes a temporary file of a save that failed; nothing is reported, the failure is.
void RemoveTemporary(const std::wstring& name);

// What the new file keeps of the one it replaces, given through the new file's open handle
// (FileKeep_win32.cpp): its creation time and attributes (hidden, system), then its access rights
// where the handle may set them.
void KeepTimeAndAttributes(const std::wstring& from, HANDLE to);
void KeepAccessRights(const std::wstring& from, HANDLE to);

// Gives the file at path the new contents in one step (a temporary file beside it, flushed and
// renamed over it). False, with nothing written, when existed is false and the file exists now.
// Throws ProfileIoError.
bool ReplaceContents(const std::string& path, std::string_view contents, bool existed);

}  // namespace IniAccess::internal::win32
