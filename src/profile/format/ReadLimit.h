#pragma once

#include <string>

namespace IniAccess::internal {

// A value as a read returns it: at most kMaxValueBytes of code page 932, cut between
// characters; *truncated tells whether anything was cut.
std::string CutToReadLimit(std::string utf8, bool* truncated);

}  // namespace IniAccess::internal
