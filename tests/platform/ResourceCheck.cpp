// Built, like the editor, as a GUI program with the editor's resource file: it exits with 0 when
// its icon group holds the four images and its version information names the product.
#include <windows.h>

#include <string>

namespace {

#pragma pack(push, 2)
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

int IconImages() {
    // 14 is RT_GROUP_ICON, whose macro follows the ANSI or Unicode setting of the build.
    HRSRC found = FindResourceW(nullptr, L"IDI_ICON1", MAKEINTRESOURCEW(14));
    if (!found) {
        return -1;
    }
    const auto* header =
        static_cast<const IconGroupHeader*>(LockResource(LoadResource(nullptr, found)));
    return header ? header->count : -1;
}

std::wstring ProductName() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    std::string data(size, '\0');
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, data.data())) {
        return {};
    }
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\StringFileInfo\\041104B0\\ProductName",
                        reinterpret_cast<void**>(&value), &length)) {
        return {};
    }
    return std::wstring(value);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (IconImages() != 4) {
        return 1;
    }
    return ProductName() == L"Quelvar Edit Tool" ? 0 : 2;
}
