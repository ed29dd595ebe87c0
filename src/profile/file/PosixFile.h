#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <utility>

#include "FaultInjection.h"

// The pieces of file access that the POSIX reader, locker and replacer share.
namespace IniAccess::internal::posix {

[[noreturn]] void Fail(const std::string& path, int error);

// Each system call goes through here first, so that tests can make any of them fail; sets errno.
bool Injected(FileOperation operation, const std::string& path);

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

// Where a write really lands: the end of a chain of symbolic links, so that the link stays a
// link and its target gets the new contents.
std::string FollowLinks(const std::string& path);

// Opens an existing regular file without waiting on a pipe or a device, and checks its size
// against kMaxFileBytes. -1 when the file (or a folder on its way) does not exist; throws
// ProfileIoError for everything else. path is the name the caller was given, for messages.
int OpenRegular(const std::string& file, int flags, const std::string& path, struct stat* info);

// Reads the open file from its current position to its end.
std::string ReadAll(int fd, const struct stat& info, const std::string& path);

// Whether a step may fail through the fault hook: putting old contents back after a failure
// must not be failed again.
enum class Faults { Injectable, None };

// Writes all of data, retrying short writes.
void WriteAll(int fd, std::string_view data, const std::string& path,
              Faults faults = Faults::Injectable);

// The folder that holds file, or "." for a bare name.
std::string FolderOf(const std::string& file);

void Flush(int fd, const std::string& path);
// Flushes the folder after a rename; the rename is done, so a failure here is not reported.
void SyncFolder(const std::string& target, const std::string& path);

// What a replacement needs to know of the file it replaces.
struct ReplaceTarget {
    const std::string& path;                     // as the caller gave it
    const std::string& target;                   // after symbolic links
    const struct stat* existing;                 // the file locked and read; null for a new file
    int lockedFd;                                // that file, open for reading
    const std::optional<std::string>& original;  // its contents as read
};

// Gives the file its new contents; see FileUpdate::Replace.
void ReplaceContents(const ReplaceTarget& replace, std::string_view contents);

}  // namespace IniAccess::internal::posix
