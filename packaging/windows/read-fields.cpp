// Test helper for check-installer.sh: waits for the editor's window, prints the full path of the
// program that owns it and the text of each of its edit boxes (UTF-8, one line each), then closes
// the window and waits for the program to end (with "keep": leaves it open). With "modal" it only
// waits until a modal dialog (a message box, a file dialog) has disabled the window. Exit code 0
// only if all of that happened.
//
//   read-fields.exe [seconds [keep|modal]]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

BOOL CALLBACK collectEdit(HWND child, LPARAM found) {
    wchar_t className[32] = L"";
    GetClassNameW(child, className, 32);
    if (_wcsicmp(className, L"Edit") == 0)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

// WM_GETTEXT is marshalled across processes for windows of the standard classes.
std::wstring windowText(HWND window) {
    auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    auto copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring imagePath(HANDLE process) {
    wchar_t path[32768] = L"";
    DWORD size = 32768;
    if (!QueryFullProcessImageNameW(process, 0, path, &size))
        return L"?";
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    HWND window = nullptr;
    for (int waited = 0; !window && waited < seconds * 10; ++waited) {
        window = FindWindowW(nullptr, L"Quelvar Edit Tool");
        if (!window)
            Sleep(100);
    }
    if (!window) {
        std::fprintf(stderr, "no window \"Quelvar Edit Tool\" within %d s\n", seconds);
        return 1;
    }
    std::string mode = argc > 2 ? argv[2] : "";
    if (mode == "modal") {
        for (int waited = 0; IsWindowEnabled(window) && waited < seconds * 10; ++waited)
            Sleep(100);
        // The dialog disables its owner before it has finished building itself.
        Sleep(1000);
        return IsWindowEnabled(window) ? 1 : 0;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId);
    if (!process) {
        std::fprintf(stderr, "cannot open the window's process\n");
        return 1;
    }
    // The window may show before a file named at start fills its boxes: read them until two
    // reads 300 ms apart agree and some box has text, or for three seconds (a program started
    // without a file keeps them empty).
    std::vector<std::wstring> texts;
    for (int waited = 0; waited < 10; ++waited) {
        Sleep(300);
        std::vector<HWND> edits;
        EnumChildWindows(window, collectEdit, reinterpret_cast<LPARAM>(&edits));
        std::vector<std::wstring> now;
        for (HWND edit : edits)
            now.push_back(windowText(edit));
        bool filled = false;
        for (const auto& text : now)
            filled = filled || !text.empty();
        bool settled = filled && now == texts;
        texts = now;
        if (settled)
            break;
    }
    std::printf("program=%s\n", utf8(imagePath(process)).c_str());
    for (const auto& text : texts)
        std::printf("field=%s\n", utf8(text).c_str());
    std::fflush(stdout);
    if (mode == "keep") {
        CloseHandle(process);
        return 0;
    }

    PostMessageW(window, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!ended) {
        std::fprintf(stderr, "the program did not end after WM_CLOSE\n");
        return 1;
    }
    return 0;
}
