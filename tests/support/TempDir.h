#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

// A folder of its own for each test, removed with everything in it afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(std::string_view name) const { return (path_ / name).string(); }

    // The names in the folder, sorted; shows files a failed write may have left behind.
    std::string Listing() const;

  private:
    std::filesystem::path path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);

}  // namespace testing_support
