#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fuzz_support {

Parts Split(const std::uint8_t* data, std::size_t size, int count) {
    Parts parts;
    std::size_t pos = static_cast<std::size_t>(count);
    if (size < pos) {
        return parts;
    }
    for (int i = 0; i < count; ++i) {
        const std::size_t length = std::min<std::size_t>(data[i] % 32, size - pos);
        parts.names[i].assign(reinterpret_cast<const char*>(data + pos), length);
        pos += length;
    }
    parts.file.assign(reinterpret_cast<const char*>(data + pos), size - pos);
    return parts;
}

const std::string& ScratchFile() {
    static const std::string path = [] {
        const std::filesystem::path folder = std::filesystem::exists("/dev/shm")
                                                 ? "/dev/shm"
                                                 : std::filesystem::temp_directory_path();
        return (folder / ("quelvar-fuzz-" + std::to_string(::getpid()) + ".ini")).string();
    }();
    return path;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::abort();
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fuzz_support
