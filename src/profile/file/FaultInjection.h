#pragma once

#include <string>

// Making file operations fail on request, so that tests can prove what a failure at any step
// leaves behind. The module asks InjectedFault before every file operation; which definition
// answers is chosen when a program is linked, never when the module is compiled: the program
// links one that fails nothing (NoFaults.cpp), and the tests, fuzzers and profile benchmark link
// the hook of FaultHook.h.
namespace IniAccess::internal {

// The file operations a profile read or write is made of.
// Remove is the removal of a file that is no longer needed (a recovery copy once the file is
// whole): its failure leaves that file behind, and the save still succeeds.
enum class FileOperation { Open, Read, Write, Flush, Rename, Lock, Remove };

// The errno the operation is to fail with without being done, or 0 to do it.
int InjectedFault(FileOperation operation, const std::string& path);

}  // namespace IniAccess::internal
