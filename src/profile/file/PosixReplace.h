#pragma once

#include <signal.h>
#include <sys/stat.h>

#include <string>
#include <string_view>

#include "PosixFile.h"

// The pieces of a replacement on POSIX systems, which FileReplace_posix.cpp puts together: the
// signals held while a save runs, the temporary file, what the new file keeps of the old one,
// and the write in place with its recovery copy.
namespace IniAccess::internal::posix {

// The signals that end the program wait until the save has finished or cleaned up, so that
// neither a half-written file nor a temporary one is left behind (SaveSignals_posix.cpp).
class SaveSignals {
  public:
    SaveSignals();
    ~SaveSignals();
    SaveSignals(const SaveSignals&) = delete;
    SaveSignals& operator=(const SaveSignals&) = delete;

  private:
    static constexpr int kEnding[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
    struct sigaction previous_[std::size(kEnding)]{};
    struct sigaction previousXfsz_ {};
};

// The file the new contents are written to beside the target, removed when this goes unless it
// has been moved into place or kept for recovery (Temporary_posix.cpp).
class Temporary {
  public:
    // Created exclusively, so that nothing already there is written through. mayFail is set
    // when replacing a file: its mode is copied later, and a folder that refuses new files gives
    // no temporary (valid() is false) instead of an error. A new file gets the mode the umask
    // allows.
    Temporary(const std::string& target, const std::string& path, bool mayFail);
    ~Temporary() { Remove(); }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    bool valid() const { return fd_.get() >= 0 || !name_.empty(); }
    int fd() const { return fd_.get(); }
    const std::string& name() const { return name_; }

    // Writes, flushes and closes it.
    void Write(std::string_view contents, const std::string& path);
    // Gives it another name in its folder; it is still this object's to remove.
    void RenameTo(const std::string& name, const std::string& path);
    // It is the file now: no longer this object's to remove.
    void MovedIntoPlace() { name_.clear(); }
    // It holds the only whole new contents: left for FindRecoveryCopy to find.
    void KeptForRecovery() { name_.clear(); }
    void Remove();

  private:
    FileDescriptor fd_;
    std::string name_;
};

// Gives the new file the old one's owner, group, mode and extended attributes (ACLs among
// them). False when it cannot have them all: only the owner (or root) may hand a file to
// another owner (KeepMetadata_posix.cpp).
bool CopyMetadata(const struct stat& old, int lockedFd, int fd, const std::string& path);

// Writes the new contents over the file itself (InPlaceWrite_posix.cpp). With a temporary
// holding the complete new contents, that file first becomes the recovery copy, so that a
// crash during the write loses nothing; without one (the folder takes no new file) the write
// has no copy. A write that fails puts the old contents back. Throws ProfileIoError.
void WriteInPlaceWithCopy(Temporary& temporary, const ReplaceTarget& replace,
                          std::string_view contents);
void WriteInPlaceWithoutCopy(const ReplaceTarget& replace, std::string_view contents);

}  // namespace IniAccess::internal::posix
