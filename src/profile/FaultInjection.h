#pragma once

#include <functional>
#include <string>

namespace IniAccess {

// The file operations a profile read or write is made of.
enum class FileOperation { Open, Read, Write, Flush, Rename, Lock };

// A hook that is asked before every file operation; a non-zero result is taken as the errno
// the operation failed with, and the operation is not done. Lets tests prove what a failure
// at any step leaves behind. Not thread-safe; unset (empty) in the program.
using FaultHook = std::function<int(FileOperation operation, const std::string& path)>;

// Installs the hook and returns the one it replaces.
FaultHook SetFaultHook(FaultHook hook);

// The errno the hook asks the operation to fail with, or 0.
int InjectedFault(FileOperation operation, const std::string& path);

}  // namespace IniAccess
