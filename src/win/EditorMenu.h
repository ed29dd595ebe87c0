#pragma once

#include <windows.h>

#include "FormMenu.h"

// The File menu and its shortcuts, made from the shared menu table.
namespace quelvar::win {

// The items' command ids, in the table's order. They stay clear of IDOK and IDCANCEL, which the
// dialog manager sends for Enter and Esc.
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

// The item a command id stands for; nullptr for any other id.
const layout::MenuItem* MenuItemOf(WORD id);

}  // namespace quelvar::win
