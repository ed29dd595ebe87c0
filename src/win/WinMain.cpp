// The Windows program: the window over the template document, and the file named on the
// command line opened as Open would open it.
#include <windows.h>

#include <optional>
#include <string>

#include "CommandLineFile.h"
#include "DllSearch.h"
#include "FormLayout.h"
#include "Win32CommonDialog.h"
#include "Win32MsgBox.h"
#include "WinText.h"
#include "frmEditor.h"

namespace {

constexpr wchar_t kUsage[] =
    L"quelvar-edit.exe [ファイル]\r\n\r\n"
    L"テンプレートファイルを 1 つ指定すると、開いた状態で起動します。\r\n"
    L"Give one template file to start with it open.";

// Before the window is up, or when it cannot be: a box of its own, under the program's name.
void ShowStartError(const wchar_t* text) {
    const std::wstring title = quelvar::win::Wide(quelvar::layout::kWindowCaption);
    MessageBoxW(nullptr, text, title.c_str(), MB_OK | MB_ICONERROR);
}

int RunMessageLoop(quelvar::win::frmEditor& window) {
    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 1;
        }
        if (!window.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    // Before anything loads a DLL on demand (the dialogs, the shell's handlers).
    quelvar::win::LoadDllsFromSystemFolderOnly();
    const std::optional<std::wstring> file = quelvar::win::FileArgument(GetCommandLineW());
    if (!file) {
        ShowStartError(kUsage);
        return 2;
    }

    quelvar::win::Win32MsgBox msgBox;
    quelvar::win::Win32CommonDialog fileDialog(msgBox);
    quelvar::win::frmEditor window(instance, msgBox, fileDialog);
    if (!window.Handle()) {
        ShowStartError(L"ウィンドウを作成できませんでした。\r\nThe window could not be created.");
        return 1;
    }
    msgBox.SetOwner(window.Handle());
    fileDialog.SetOwner(window.Handle());
    ShowWindow(window.Handle(), show);
    UpdateWindow(window.Handle());
    if (!file->empty()) {
        // After the window is up, so that a message about the file stands over it.
        window.Document().OpenFile(quelvar::win::Utf8(*file));
    }
    return RunMessageLoop(window);
}
