#pragma once

#include <string>
#include <string_view>

namespace IniAccess::internal {

// The name of a file that a save keeps beside target (a file path with symbolic links already
// followed): in target's folder, prefix then 16 hexadecimal digits of a hash of target's name,
// short enough beside a name of any allowed length.
std::string BesideFile(const std::string& target, std::string_view prefix);

}  // namespace IniAccess::internal
