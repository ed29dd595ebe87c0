// Writing the new contents over the file itself, for a file that a rename would change in a way
// the user sees (another owner, other hard links) or a folder that takes no new file. The same
// file keeps its owner, group, links and attributes. A failed write puts the old contents back;
// a crash during it, or a failure to put them back, is what the recovery copy is for.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

#include "PosixReplace.h"
#include "RecoveryCopy.h"
#include "RecoveryCopyFiles.h"

namespace IniAccess::internal::posix {

namespace {

// What a write in place came to.
enum class InPlace {
    Written,          // the file holds the new contents
    OldContentsBack,  // the write failed; the file holds its old contents again
    LeftDamaged,      // the write failed, and so did putting the old contents back
};

// The file that was locked and read, open for writing; throws, with nothing written, when the
// path names another file now.
FileDescriptor OpenSameFile(const ReplaceTarget& replace) {
    struct stat info {};
    FileDescriptor file(OpenRegular(replace.target, O_WRONLY, replace.path, &info));
    if (file.get() < 0 || info.st_ino != replace.existing->st_ino ||
        info.st_dev != replace.existing->st_dev) {
        Fail(replace.path, EBUSY);
    }
    return file;
}

// Puts bytes at the start of the file and cuts it there.
void Overwrite(int fd, std::string_view bytes, const std::string& path, Faults faults) {
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        Fail(path, errno);
    }
    WriteAll(fd, bytes, path, faults);
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        Fail(path, errno);
    }
    if (faults == Faults::Injectable) {
        Flush(fd, path);
    } else {
        ::fsync(fd);
    }
}

// Never throws: the failure of the write, the one to report, is left in *failure.
InPlace WriteOver(int fd, const ReplaceTarget& replace, std::string_view contents,
                  std::exception_ptr* failure) {
    try {
        Overwrite(fd, contents, replace.path, Faults::Injectable);
        return InPlace::Written;
    } catch (...) {
        *failure = std::current_exception();
    }
    try {
        Overwrite(fd, replace.original.value_or(std::string()), replace.path, Faults::None);
        return InPlace::OldContentsBack;
    } catch (...) {
        return InPlace::LeftDamaged;
    }
}

// An earlier recovery copy, moved aside while a new one takes its name: a save that changes
// nothing puts it back, since the file may still be the one it was made to recover.
class EarlierCopy {
  public:
    // Throws, with nothing changed, when there is one that cannot be moved aside.
    EarlierCopy(const std::string& target, const std::string& path)
        : copy_(RecoveryCopyPath(target)), aside_(SetAsidePath(target)) {
        if (Injected(FileOperation::Rename, path) || ::rename(copy_.c_str(), aside_.c_str()) != 0) {
            if (errno != ENOENT) {
                Fail(path, errno);
            }
            aside_.clear();
        }
    }
    EarlierCopy(const EarlierCopy&) = delete;
    EarlierCopy& operator=(const EarlierCopy&) = delete;

    const std::string& copy() const { return copy_; }
    // The file is whole: the earlier copy recovers nothing any more.
    void Drop() {
        if (!aside_.empty()) {
            RemoveCopy(aside_);
        }
    }
    // Not failed through the fault hook: it undoes a failure, as putting old contents back does.
    void PutBack() {
        if (!aside_.empty()) {
            ::rename(aside_.c_str(), copy_.c_str());
        }
    }

  private:
    std::string copy_;
    std::string aside_;
};

}  // namespace

// Only once complete and on disk does the new contents' file take the recovery copy's name: a
// crash while it was written leaves a file FindRecoveryCopy never finds. What the write came to
// decides, in this one place, what becomes of that copy and of an earlier one.
void WriteInPlaceWithCopy(Temporary& temporary, const ReplaceTarget& replace,
                          std::string_view contents) {
    const FileDescriptor file = OpenSameFile(replace);
    EarlierCopy earlier(replace.target, replace.path);
    try {
        temporary.RenameTo(earlier.copy(), replace.path);
    } catch (...) {
        earlier.PutBack();
        throw;  // the temporary, under its own name still, goes with its owner
    }
    SyncFolder(replace.target, replace.path);
    std::exception_ptr failure;
    switch (WriteOver(file.get(), replace, contents, &failure)) {
        case InPlace::Written:
            temporary.Remove();
            earlier.Drop();
            break;
        case InPlace::OldContentsBack:
            temporary.Remove();
            earlier.PutBack();
            break;
        case InPlace::LeftDamaged:
            temporary.KeptForRecovery();  // and any earlier copy stays aside
            break;
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void WriteInPlaceWithoutCopy(const ReplaceTarget& replace, std::string_view contents) {
    const FileDescriptor file = OpenSameFile(replace);
    std::exception_ptr failure;
    WriteOver(file.get(), replace, contents, &failure);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace IniAccess::internal::posix
