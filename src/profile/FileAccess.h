#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace IniAccess {

// The whole file; nothing when it does not exist. Throws ProfileIoError when it exists but
// cannot be read (no permission, a folder, an I/O error).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Gives the file the new contents in one step: a temporary file created beside it, written,
// flushed to disk and renamed over it, so that a failure at any point leaves the old file as it
// was and no temporary file behind. A symbolic link is written through to its target. Throws
// ProfileIoError.
void ReplaceWholeFile(const std::string& path, std::string_view contents);

}  // namespace IniAccess
