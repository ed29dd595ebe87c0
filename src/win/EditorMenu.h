#pragma once

#include <windows.h>

// The File menu and its shortcuts.
namespace quelvar::win {

// Command ids stay clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
enum MenuCommand : WORD {
    kCmdNew = 101,
    kCmdOpen = 102,
    kCmdSave = 103,
    kCmdQuit = 104,
};

// "File(&F)" with New, Open, Save, a separator and Quit; each shortcut is shown after a tab.
HMENU CreateEditorMenu();

// Ctrl+N, Ctrl+O and Ctrl+S. The caller destroys it.
HACCEL CreateEditorAccelerators();

}  // namespace quelvar::win
