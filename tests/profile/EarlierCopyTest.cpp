// A save that writes in place and fails leaves the recovery copy made by an earlier save cut
// short: the file may still be the damaged one that copy recovers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FaultHook.h"
#include "IniAccess.h"
#include "TempDir.h"

using IniAccess::internal::FileOperation;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

const std::string kOld = "[Q]\r\nk=old\r\n";
const std::string kEarlier = "[Q]\r\nk=earlier\r\n; and more\r\n";

TEST(EarlierCopy, AFailedWriteInPlaceKeepsTheEarlierCopyAndASuccessfulOneRemovesIt) {
    struct Row {
        const char* name;
        FileOperation failing;
        int firstFailing;  // the first of these operations that fails, counting from 1
        bool stored;
        const char* file;
        const char* listing;
    };
    const std::vector<Row> rows = {
        {"the earlier copy cannot be set aside", FileOperation::Rename, 1, false,
         "[Q]\r\nk=old\r\n", ".quelvar-recovery-be4dc97135e41326\nlink.kvd\nt.kvd\n"},
        {"the new copy cannot take the name", FileOperation::Rename, 2, false, "[Q]\r\nk=old\r\n",
         ".quelvar-recovery-be4dc97135e41326\nlink.kvd\nt.kvd\n"},
        {"the write in place fails", FileOperation::Write, 2, false, "[Q]\r\nk=old\r\n",
         ".quelvar-recovery-be4dc97135e41326\nlink.kvd\nt.kvd\n"},
        {"the flush of the write in place fails", FileOperation::Flush, 2, false,
         "[Q]\r\nk=old\r\n", ".quelvar-recovery-be4dc97135e41326\nlink.kvd\nt.kvd\n"},
        {"nothing fails", FileOperation::Open, 1000, true, "[Q]\r\nk=new\r\n", "link.kvd\nt.kvd\n"},
        // Saved all the same: the earlier copy, no longer wanted, stays where Open never looks.
        {"the earlier copy cannot be removed", FileOperation::Remove, 1, true, "[Q]\r\nk=new\r\n",
         ".quelvar-earlier-be4dc97135e41326\nlink.kvd\nt.kvd\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string file = dir.File("t.kvd");
        const std::string copy = dir.File(".quelvar-recovery-be4dc97135e41326");
        WriteBytes(file, kOld);
        std::filesystem::create_hard_link(file, dir.File("link.kvd"));  // so it is written in place
        WriteBytes(copy, kEarlier);
        int seen = 0;
        {
            const IniAccess::internal::ScopedFaultHook hook(
                [&](FileOperation operation, const std::string&) {
                    return operation == row.failing && ++seen >= row.firstFailing ? EIO : 0;
                });
            const bool stored = IniAccess::WriteProfileValue(file, "Q", "k", "new");
            EXPECT_EQ(stored, row.stored);
        }
        EXPECT_EQ(ReadBytes(file), row.file);
        EXPECT_EQ(dir.Listing(), row.listing);
        if (!row.stored) {
            EXPECT_EQ(ReadBytes(copy), kEarlier);
        }
    }
}

}  // namespace
