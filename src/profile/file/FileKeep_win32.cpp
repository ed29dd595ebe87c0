// What a replacement keeps of the file it replaces, given to the new file through its open handle
// before it takes the file's name. Each is kept where the user may set it; a save does not fail
// for one it cannot.
#include <windows.h>
// After windows.h:
#include <aclapi.h>

#include "Win32File.h"

namespace IniAccess::internal::win32 {

namespace {

// The attributes a user sets on a file. The archive attribute is set, as on any file written.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Entries inherited from the folder come to the new file by themselves.
bool HasOwnEntries(PACL dacl) {
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (GetAce(dacl, i, &entry) &&
            !(static_cast<ACE_HEADER*>(entry)->AceFlags & INHERITED_ACE)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void KeepTimeAndAttributes(const std::wstring& from, HANDLE to) {
    WIN32_FILE_ATTRIBUTE_DATA old{};
    FILE_BASIC_INFO basic{};
    if (!GetFileAttributesExW(from.c_str(), GetFileExInfoStandard, &old) ||
        !GetFileInformationByHandleEx(to, FileBasicInfo, &basic, sizeof basic)) {
        return;
    }
    basic.CreationTime.LowPart = old.ftCreationTime.dwLowDateTime;
    basic.CreationTime.HighPart = static_cast<LONG>(old.ftCreationTime.dwHighDateTime);
    basic.LastAccessTime.QuadPart = 0;  // zero: left as they are
    basic.LastWriteTime.QuadPart = 0;
    basic.ChangeTime.QuadPart = 0;
    basic.FileAttributes |= old.dwFileAttributes & kKeptAttributes;
    SetFileInformationByHandle(to, FileBasicInfo, &basic, sizeof basic);
}

// Given last: they may take from the user the right to change the file's attributes.
void KeepAccessRights(const std::wstring& from, HANDLE to) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(from.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const bool isProtected = GetSecurityDescriptorControl(descriptor, &control, &revision) &&
                             (control & SE_DACL_PROTECTED);
    if (dacl != nullptr && (isProtected || HasOwnEntries(dacl))) {
        const SECURITY_INFORMATION what =
            DACL_SECURITY_INFORMATION | (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION);
        SetSecurityInfo(to, SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
    }
    LocalFree(descriptor);
}

}  // namespace IniAccess::internal::win32
