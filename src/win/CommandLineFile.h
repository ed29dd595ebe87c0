#pragma once

#include <optional>
#include <string>

namespace quelvar::win {

// The file named on a command line as the system splits it (quotes group, the program's own
// name comes first): empty when there is none; nothing when there is more than one argument.
std::optional<std::wstring> FileArgument(const wchar_t* commandLine);

}  // namespace quelvar::win
