#include "EditorMenu.h"

#include <array>

namespace quelvar::win {

HMENU CreateEditorMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kCmdNew, L"&New Templete\tCtrl+N");
    AppendMenuW(file, MF_STRING, kCmdOpen, L"&Open Templete\tCtrl+O");
    AppendMenuW(file, MF_STRING, kCmdSave, L"&Save Templete\tCtrl+S");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kCmdQuit, L"&Quit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"File(&F)");
    return bar;
}

HACCEL CreateEditorAccelerators() {
    std::array<ACCEL, 3> keys{{
        {FVIRTKEY | FCONTROL, 'N', kCmdNew},
        {FVIRTKEY | FCONTROL, 'O', kCmdOpen},
        {FVIRTKEY | FCONTROL, 'S', kCmdSave},
    }};
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

}  // namespace quelvar::win
