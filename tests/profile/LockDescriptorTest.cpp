// A writer locks the file through a descriptor open for writing where it may write the file:
// on NFS an exclusive lock through a read-only descriptor fails as if there were no locks.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FaultHook.h"
#include "FileAccess.h"
#include "TempDir.h"

using IniAccess::internal::FileOperation;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// How this process has the file open, from /proc: "r", "w", "rw", or "" when it has not.
std::string OpenMode(const std::string& file) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) != file) {
            continue;
        }
        std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
        for (std::string word; info >> word;) {
            if (word == "flags:") {
                int flags = 0;
                info >> std::oct >> flags;
                const int mode = flags & O_ACCMODE;
                return mode == O_RDWR ? "rw" : mode == O_WRONLY ? "w" : "r";
            }
        }
    }
    return "";
}

TEST(LockDescriptor, AWriterLocksThroughADescriptorOpenForWritingWhenItMay) {
    struct Row {
        const char* name;
        int refused;  // the error the first open fails with, or 0
        const char* mode;
    };
    const std::vector<Row> rows = {
        {"the user may write the file", 0, "rw"},
        {"opening for writing is refused", EACCES, "r"},
        {"the file system is read-only", EROFS, "r"},
        {"the file is a running program", ETXTBSY, "r"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string file = dir.File("t.kvd");
        WriteBytes(file, "[Q]\r\nk=v\r\n");
        int opens = 0;
        const IniAccess::internal::ScopedFaultHook hook(
            [&](FileOperation operation, const std::string&) {
                return operation == FileOperation::Open && ++opens == 1 ? row.refused : 0;
            });
        const IniAccess::internal::FileUpdate update(file);
        ASSERT_TRUE(update.Contents());
        EXPECT_EQ(*update.Contents(), "[Q]\r\nk=v\r\n");
        EXPECT_EQ(OpenMode(file), row.mode);
    }
}

}  // namespace
