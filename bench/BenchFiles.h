#pragma once

#include <cstddef>
#include <string>

namespace bench {

// A profile file of about `size` bytes: sections of eight keys each, and last the section
// "Target" holding "TagName", so that a lookup has to read past everything else.
std::string MakeProfile(std::size_t size);

// The path of a file of that size in the benchmark's own folder, made on first use.
std::string ProfileFile(std::size_t size);

}  // namespace bench
