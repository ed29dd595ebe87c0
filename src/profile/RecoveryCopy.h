#pragma once

#include <optional>
#include <string>

// The recovery copy: when a save has to write a file in place, the whole new contents wait in a
// file beside it until the write is done, so that a save cut short by a crash loses nothing.
namespace IniAccess {

// Where the recovery copy of a file is: in the folder of the file (after symbolic links), named
// ".quelvar-recovery-" and 16 hexadecimal digits of a hash of the file's name, short enough
// beside a name of any allowed length.
std::string RecoveryCopyPath(const std::string& path);

// The recovery copy of the file when there is one and it differs from the file; a copy equal to
// the file is a leftover and is removed. Looked at under the lock that savers take, so that no
// save makes or removes a copy meanwhile. Nothing when there is no copy (found without reading
// or waiting, so that a file without one costs nothing) or the file does not exist. Throws
// ProfileIoError.
std::optional<std::string> FindRecoveryCopy(const std::string& path);

}  // namespace IniAccess
