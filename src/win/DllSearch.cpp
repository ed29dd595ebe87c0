#include "DllSearch.h"

#include <string>

#include "SystemFunction.h"

namespace quelvar::win {

bool LoadDllsFromSystemFolderOnly() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = SystemFunction<SetDirectories>(GetModuleHandleW(L"kernel32.dll"),
                                                               "SetDefaultDllDirectories");
    if (!setDirectories) {
        SetDllDirectoryW(L"");
        return false;
    }
    return setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != 0;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library || GetLastError() != ERROR_INVALID_PARAMETER) {
        return library;
    }
    // A system that does not know the flag: the DLL's full path in the system folder.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace quelvar::win
