#pragma once

#include <string>

namespace quelvar::profile {

// A value as a read returns it: at most kMaxValueBytes of code page 932, cut between
// characters; *truncated tells whether anything was cut.
std::string CutToReadLimit(std::string utf8, bool* truncated);

}  // namespace quelvar::profile
