#pragma once

#include <string>

// What the savers do with recovery copies, and the platform's part of finding them
// (RecoveryCopy_posix.cpp, RecoveryCopy_win32.cpp).
namespace IniAccess::internal {

// Where an earlier recovery copy waits while a save makes a new one: a name FindRecoveryCopy
// never finds.
std::string SetAsidePath(const std::string& path);

// Removes the file's recovery copy and any earlier one set aside: the file has been saved whole.
// A removal that fails leaves the copy, which FindRecoveryCopy later finds equal to the file and
// removes.
void RemoveRecoveryCopy(const std::string& path);

// The name a file's copies are found by: the file behind any symbolic link on POSIX systems,
// where a save may write through the link in place; the name as given on Windows, which saves
// only by replacement.
std::string CopyTarget(const std::string& path);

bool CopyExists(const std::string& file);

// Removes a copy, through the fault hook; a failure leaves it.
void RemoveCopy(const std::string& file);

}  // namespace IniAccess::internal
