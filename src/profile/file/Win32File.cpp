#include "Win32File.h"

#include "ProfileError.h"
#include "WideText.h"

namespace IniAccess::internal::win32 {

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

bool Injected(FileOperation operation, const std::string& path, std::error_code* code) {
    if (const int error = InjectedFault(operation, path)) {
        *code = std::error_code(error, std::generic_category());
        return true;
    }
    return false;
}

namespace {

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

}  // namespace

std::wstring WidePath(const std::string& utf8) {
    return LongPathForm(WideFromUtf8(utf8));
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool NamesDevice(const std::string& path) {
    const std::wstring given = WideFromUtf8(path);
    wchar_t full[MAX_PATH];
    const DWORD length = GetFullPathNameW(given.c_str(), MAX_PATH, full, nullptr);
    const std::wstring_view kDevices = L"\\\\.\\";
    return length > 0 && length < MAX_PATH &&
           std::wstring_view(full, length).starts_with(kDevices) &&
           !std::wstring_view(given).starts_with(kDevices);
}

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

namespace {

// Holders such as virus scanners, indexers and viewers let go within a second or two.
constexpr ULONGLONG kHeldWaitMs = 5000;
constexpr DWORD kHeldPollMs = 2;

bool HeldByAnother(DWORD error, const std::wstring& file) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        return true;
    }
    if (error != ERROR_ACCESS_DENIED) {
        return false;
    }
    const Handle probe(CreateFileW(file.c_str(), DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid() || GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

DWORD RetryWhileHeld(const std::wstring& file, const std::function<DWORD()>& attempt) {
    const ULONGLONG deadline = GetTickCount64() + kHeldWaitMs;
    for (;;) {
        const DWORD error = attempt();
        if (error == ERROR_SUCCESS || !HeldByAnother(error, file)) {
            return error;
        }
        if (GetTickCount64() >= deadline) {
            return ERROR_SHARING_VIOLATION;
        }
        Sleep(kHeldPollMs);
    }
}

void RemoveTemporary(const std::wstring& name) {
    RetryWhileHeld(name, [&]() -> DWORD {
        return DeleteFileW(name.c_str()) || IsMissing(GetLastError()) ? ERROR_SUCCESS
                                                                      : GetLastError();
    });
}

}  // namespace IniAccess::internal::win32
