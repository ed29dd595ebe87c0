#pragma once

#include <windows.h>

// Where the program looks for DLLs. A template opened from a Downloads folder makes that the
// current folder, and Windows would otherwise look there (and beside the program) for a DLL
// that something loads later: a planted file of that name would run as the program.
namespace quelvar::win {

// Limits every later DLL load of the process to the system folder. False on systems without
// SetDefaultDllDirectories (Windows 7 without update KB2533623), where at least the current
// folder is taken out of the search.
bool LoadDllsFromSystemFolderOnly();

// Loads a DLL from the system folder only, whatever the process-wide setting; nullptr (with
// the system's error) when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace quelvar::win
