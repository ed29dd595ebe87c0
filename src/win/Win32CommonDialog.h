#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "WindowServices.h"

namespace quelvar::win {

// The calls that show the dialogs, so that tests can see what the dialog is given.
struct FileDialogCalls {
    BOOL(WINAPI* open)(OPENFILENAMEW*);
    BOOL(WINAPI* save)(OPENFILENAMEW*);
    DWORD(WINAPI* extendedError)();
};

FileDialogCalls SystemFileDialogs();

// The platform's open and save dialogs. A dialog that cannot be shown is reported through the
// message box, and the command ends as on a cancel.
class Win32CommonDialog : public CommonDialog {
  public:
    explicit Win32CommonDialog(MsgBox& msgBox, FileDialogCalls calls = SystemFileDialogs());

    void SetOwner(HWND owner) { owner_ = owner; }
    bool ShowOpen() override { return Show(Purpose::Open); }
    bool ShowSave() override { return Show(Purpose::Save); }

    // Room for the longest path the system takes, in UTF-16 units with the final NUL.
    static constexpr std::size_t kPathRoom = 32768;

  private:
    enum class Purpose { Open, Save };
    bool Show(Purpose purpose);

    MsgBox& msgBox_;
    FileDialogCalls calls_;
    HWND owner_ = nullptr;
};

// "description|pattern|..." as the dialog takes it: NUL between the parts, two at the end.
std::wstring DialogFilter(const std::string& filter);

std::string FileDialogFailedMessage(DWORD code);

}  // namespace quelvar::win
