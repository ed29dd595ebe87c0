#include "Win32CommonDialog.h"

#include <cderr.h>

#include <cstdio>

#include "DllSearch.h"
#include "SystemFunction.h"
#include "WinText.h"

namespace quelvar::win {

namespace {

// The dialogs' library is loaded when a dialog is first shown, not at start: under Wine it
// and what it pulls in cost a good part of the start-up time.
template <typename Function>
Function CommonDialogCall(const char* name) {
    static HMODULE library = LoadSystemLibrary(L"comdlg32.dll");
    return SystemFunction<Function>(library, name);
}

BOOL WINAPI OpenFileName(OPENFILENAMEW* ofn) {
    using Fn = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const auto call = CommonDialogCall<Fn>("GetOpenFileNameW");
    return call ? call(ofn) : FALSE;
}

BOOL WINAPI SaveFileName(OPENFILENAMEW* ofn) {
    using Fn = BOOL(WINAPI*)(OPENFILENAMEW*);
    static const auto call = CommonDialogCall<Fn>("GetSaveFileNameW");
    return call ? call(ofn) : FALSE;
}

DWORD WINAPI ExtendedError() {
    using Fn = DWORD(WINAPI*)();
    static const auto call = CommonDialogCall<Fn>("CommDlgExtendedError");
    // Without the library there was no dialog: say so rather than pass it off as a cancel.
    return call ? call() : CDERR_INITIALIZATION;
}

}  // namespace

FileDialogCalls SystemFileDialogs() {
    return {OpenFileName, SaveFileName, ExtendedError};
}

Win32CommonDialog::Win32CommonDialog(MsgBox& msgBox, FileDialogCalls calls)
    : msgBox_(msgBox), calls_(calls) {}

std::wstring DialogFilter(const std::string& filter) {
    std::wstring result = Wide(filter);
    for (wchar_t& c : result) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    result.append(2, L'\0');
    return result;
}

std::string FileDialogFailedMessage(DWORD code) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%04lX", static_cast<unsigned long>(code));
    return "ファイルのダイアログを表示できませんでした。\r\n"
           "The file dialog could not be shown.\r\n\r\n"
           "CommDlgExtendedError " +
           std::string(number);
}

bool Win32CommonDialog::Show(Purpose purpose) {
    const bool open = purpose == Purpose::Open;
    std::wstring path = Wide(FileName);
    path.resize(kPathRoom - 1);
    path.push_back(L'\0');
    const std::wstring title = Wide(DialogTitle);
    const std::wstring filter = DialogFilter(Filter);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(kPathRoom);
    ofn.lpstrTitle = title.c_str();
    // No default extension: the name the user gives is used unchanged.
    ofn.lpstrDefExt = nullptr;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    if (!(open ? calls_.open : calls_.save)(&ofn)) {
        // Zero means the user cancelled; anything else is a dialog that failed.
        if (const DWORD code = calls_.extendedError()) {
            msgBox_.Show(FileDialogFailedMessage(code), MB_OK | MB_ICONERROR, DialogTitle);
        }
        return false;
    }
    FileName = Utf8(path.c_str());
    return true;
}

}  // namespace quelvar::win
