#include "BenchFiles.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace bench {

std::string MakeProfile(std::size_t size) {
    std::string text = "; benchmark template\r\n";
    for (int section = 0; text.size() + 64 < size; ++section) {
        text += "[Section" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 8 && text.size() + 64 < size; ++key) {
            text += "Key" + std::to_string(key) + "=value of key " + std::to_string(key) +
                    " in section " + std::to_string(section) + "\r\n";
        }
    }
    text += "[Target]\r\nTagName=found\r\n";
    return text;
}

std::string ProfileFile(std::size_t size) {
    static std::map<std::size_t, std::string> made;
    auto found = made.find(size);
    if (found != made.end()) {
        return found->second;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quelvar-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / ("profile-" + std::to_string(size) + ".ini")).string();
    std::ofstream(path, std::ios::binary) << MakeProfile(size);
    made[size] = path;
    return path;
}

}  // namespace bench
