// Where the program takes DLLs from: the system folder only, never beside the program or from
// the current folder. A DLL of our own, built beside this test, stands for a planted one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "DllSearch.h"
#include "TempDir.h"

namespace {

constexpr wchar_t kPlanted[] = L"quelvar-planted.dll";
constexpr wchar_t kPlantedInFolder[] = L"quelvar-planted-here.dll";

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH * 4);
    std::wstring lower(path, length);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return lower;
}

std::wstring ProgramFolder() {
    const std::wstring path = ModulePath(nullptr);
    return path.substr(0, path.rfind(L'\\'));
}

// Loads a DLL the way any code does by its bare name, and unloads it again: true when found.
bool LoadsByName(const wchar_t* name) {
    HMODULE module = LoadLibraryW(name);
    if (!module) {
        return false;
    }
    FreeLibrary(module);
    return GetModuleHandleW(name) == nullptr;
}

TEST(DllSearch, SystemLibraryComesFromTheSystemFolder) {
    HMODULE library = quelvar::win::LoadSystemLibrary(L"comdlg32.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(ModulePath(library).find(L"\\system32\\comdlg32.dll"), std::wstring::npos)
        << "loaded from " << ModulePath(library).c_str();
}

TEST(DllSearch, SystemLibraryIgnoresADllBesideTheProgram) {
    EXPECT_EQ(quelvar::win::LoadSystemLibrary(kPlanted), nullptr);
    // The file is there and loads by the usual search: the refusal above is the folder's.
    EXPECT_TRUE(LoadsByName(kPlanted)) << "no " << kPlanted << " beside the test";
}

// One test for the process-wide setting: before it, both planted DLLs load by name; after it,
// neither does, and the system's own still do.
TEST(DllSearch, AfterStartUpNoDllComesFromBesideTheProgramOrTheCurrentFolder) {
    testing_support::TempDir folder;
    const std::wstring here = ProgramFolder();
    const std::wstring copy = folder.path().wstring() + L"\\" + kPlantedInFolder;
    ASSERT_TRUE(CopyFileW((here + L"\\" + kPlanted).c_str(), copy.c_str(), FALSE));
    wchar_t previous[MAX_PATH * 4];
    GetCurrentDirectoryW(MAX_PATH * 4, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().wstring().c_str()));
    EXPECT_TRUE(LoadsByName(kPlanted));
    EXPECT_TRUE(LoadsByName(kPlantedInFolder));

    EXPECT_TRUE(quelvar::win::LoadDllsFromSystemFolderOnly());
    EXPECT_FALSE(LoadsByName(kPlanted)) << "loaded from beside the program";
    EXPECT_FALSE(LoadsByName(kPlantedInFolder)) << "loaded from the current folder";
    EXPECT_TRUE(LoadsByName(L"comdlg32.dll") || GetModuleHandleW(L"comdlg32.dll"));
    // Back, so that the folder can be removed.
    SetCurrentDirectoryW(previous);
}

}  // namespace
