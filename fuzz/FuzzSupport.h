#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz_support {

// Splits fuzzer input into a few strings: each of the first `count` bytes gives the length of
// one part (modulo 32); the rest of the input is the last part, the file.
struct Parts {
    std::string names[3];
    std::string file;
};
Parts Split(const std::uint8_t* data, std::size_t size, int count);

// A file of this process's own on a memory file system where there is one, so that each run
// costs no disk writes.
const std::string& ScratchFile();
void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);

}  // namespace fuzz_support
