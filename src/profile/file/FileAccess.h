#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace IniAccess::internal {

// Larger files are refused before they are read whole: a template is a few hundred bytes, and
// every real profile file is far below this.
inline constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

// The whole file; nothing when it does not exist. Only a regular file is read, without waiting
// on a pipe or a device. Read under a shared lock where a save may write the file in place, so
// that it is never part old, part new. Throws ProfileIoError when it exists but cannot be read
// (no permission, a folder, not a regular file, larger than kMaxFileBytes, an I/O error, a lock
// held by another program for too long).
std::optional<std::string> ReadWholeFile(const std::string& path);

// One read-edit-write of a file, holding an advisory lock from the read to the replacement so
// that writers of the same file take turns and none loses another's update, and readers wait
// for a write in place. A symbolic link is written through to its target.
class FileUpdate {
  public:
    // Locks and reads the file. Throws ProfileIoError as ReadWholeFile does.
    explicit FileUpdate(const std::string& path);
    ~FileUpdate();
    FileUpdate(const FileUpdate&) = delete;
    FileUpdate& operator=(const FileUpdate&) = delete;

    // The contents read under the lock; nothing when the file does not exist.
    const std::optional<std::string>& Contents() const;

    // Gives the file the new contents in one step, so that a failure at any point leaves the old
    // file as it was and no temporary file behind. The file keeps its owner, group, mode and
    // extended attributes (on Windows: its attributes, creation time and access rights). False
    // when the file did not exist when read and another program has made it since: nothing was
    // written, and the update is to be made again on what that program wrote. Throws
    // ProfileIoError.
    bool Replace(std::string_view contents);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace IniAccess::internal
