// Files that are not what a profile file should be: pipes, devices, sockets, huge files, and
// files whose links and attributes a replacement must not lose.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "ChildProcess.h"
#include "FaultHook.h"
#include "FileAccess.h"
#include "IniAccess.h"
#include "TempDir.h"
#include "TemplateFile.h"

using IniAccess::ProfileIoError;
using testing_support::ReadBytes;
using testing_support::RunChild;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// 0 when reading, writing, loading and saving all refuse the file with `expected`, promptly.
int RefusedEverywhere(const std::string& file, std::errc expected) {
    ::alarm(5);  // a read that blocks ends the child, and the test fails
    int wrong = 0;
    try {
        IniAccess::ReadProfileValue(file, "Q", "k");
        wrong |= 1;
    } catch (const ProfileIoError& error) {
        wrong |= error.code() == expected ? 0 : 2;
    }
    try {
        IniAccess::StoreProfileValue(file, "Q", "k", "v");
        wrong |= 4;
    } catch (const ProfileIoError& error) {
        wrong |= error.code() == expected ? 0 : 8;
    }
    quelvar::TagTemplate t;
    try {
        quelvar::LoadTemplate(t, file);
        wrong |= 16;
    } catch (const ProfileIoError& error) {
        wrong |= error.code() == expected ? 0 : 32;
    }
    try {
        quelvar::SaveTemplate(t, file);
        wrong |= 64;
    } catch (const quelvar::TemplateSaveError& error) {
        wrong |= error.code() == expected ? 0 : 128;
    }
    return wrong;
}

TEST(HostileFile, PipesDevicesAndSocketsAreRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.File("fifo.kvd");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const std::string zero = dir.File("zero.kvd");
    std::filesystem::create_symlink("/dev/zero", zero);
    const std::string socketFile = dir.File("socket.kvd");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketFile.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    for (const std::string& file : {fifo, zero, socketFile}) {
        const auto end =
            RunChild([&] { return RefusedEverywhere(file, std::errc::invalid_argument); }, 20);
        EXPECT_TRUE(end.Succeeded()) << file << ": " << end.Describe();
    }
    ::close(listener);
    EXPECT_EQ(dir.Listing(), "fifo.kvd\nsocket.kvd\nzero.kvd\n");
}

TEST(HostileFile, AFileLargerThanTheLimitIsRefusedBeforeItIsRead) {
    TempDir dir;
    const std::string file = dir.File("huge.ini");
    WriteBytes(file, "[Q]\r\nk=v\r\n");
    std::filesystem::resize_file(file,
                                 IniAccess::internal::kMaxFileBytes + 1);  // sparse: no disk used
    const auto end =
        RunChild([&] { return RefusedEverywhere(file, std::errc::file_too_large); }, 20);
    EXPECT_TRUE(end.Succeeded()) << end.Describe();
    EXPECT_EQ(std::filesystem::file_size(file), IniAccess::internal::kMaxFileBytes + 1);
}

TEST(HostileFile, AFileWithOtherHardLinksIsWrittenInPlaceForEveryName) {
    TempDir dir;
    const std::string file = dir.File("t.ini");
    const std::string other = dir.File("other-name.ini");
    WriteBytes(file, "[Q]\r\nk=1\r\n");
    std::filesystem::create_hard_link(file, other);
    ASSERT_TRUE(IniAccess::WriteProfileValue(file, "Q", "k", "2"));
    EXPECT_EQ(ReadBytes(other), "[Q]\r\nk=2\r\n");
    EXPECT_EQ(std::filesystem::hard_link_count(file), 2u);
    EXPECT_EQ(dir.Listing(), "other-name.ini\nt.ini\n");

    // A failure part way through puts the old contents back.
    int writes = 0;
    {
        const IniAccess::internal::ScopedFaultHook hook(
            [&](IniAccess::internal::FileOperation operation, const std::string&) {
                return operation == IniAccess::internal::FileOperation::Write && ++writes == 2
                           ? ENOSPC
                           : 0;
            });
        EXPECT_FALSE(IniAccess::WriteProfileValue(file, "Q", "k", "3"));
    }
    EXPECT_EQ(ReadBytes(other), "[Q]\r\nk=2\r\n");
    EXPECT_EQ(dir.Listing(), "other-name.ini\nt.ini\n");
}

TEST(HostileFile, ExtendedAttributesAreKept) {
    TempDir dir;
    const std::string file = dir.File("t.ini");
    WriteBytes(file, "[Q]\r\nk=1\r\n");
    if (::setxattr(file.c_str(), "user.quelvar.test", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "the temporary folder's file system takes no user attributes: "
                     << std::strerror(errno);
    }
    // An access ACL giving nobody read and write, in the kernel's form: a version, then
    // entries of tag, permissions and id (owner, named user, group, mask, others).
    const auto entry = [](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        std::string bytes(8, '\0');
        std::memcpy(bytes.data(), &tag, 2);
        std::memcpy(bytes.data() + 2, &perm, 2);
        std::memcpy(bytes.data() + 4, &id, 4);
        return bytes;
    };
    const std::uint32_t version = 2;
    std::string acl(reinterpret_cast<const char*>(&version), 4);
    acl += entry(0x01, 6, ~0u) + entry(0x02, 6, 65534) + entry(0x04, 4, ~0u) + entry(0x10, 6, ~0u) +
           entry(0x20, 4, ~0u);
    const bool hasAcl =
        ::setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;

    ASSERT_TRUE(IniAccess::WriteProfileValue(file, "Q", "k", "2"));
    char value[16] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.quelvar.test", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    if (hasAcl) {
        std::string kept(256, '\0');
        const ssize_t size =
            ::getxattr(file.c_str(), "system.posix_acl_access", kept.data(), kept.size());
        EXPECT_EQ(kept.substr(0, size > 0 ? static_cast<std::size_t>(size) : 0), acl);
    }
}

}  // namespace
