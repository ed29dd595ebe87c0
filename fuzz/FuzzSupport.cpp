#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProfileText.h"
#include "TextCodec.h"
#include "Utf8.h"

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

std::string CutToReadLimit(const std::string& utf8) {
    std::size_t bytes = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 0;
        bytes += IniAccess::Cp932Length(IniAccess::DecodeUtf8At(utf8, pos, &length));
        if (bytes > 255) {
            return utf8.substr(0, pos);
        }
        pos += length;
    }
    return utf8;
}

std::string NameArgument(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    while (!name.empty() && IniAccess::IsBlank(static_cast<unsigned char>(name.front()))) {
        name.remove_prefix(1);
    }
    while (!name.empty() && IniAccess::IsBlank(static_cast<unsigned char>(name.back()))) {
        name.remove_suffix(1);
    }
    return std::string(name);
}

}  // namespace fuzz_support
