#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "IniAccess.h"
#include "TextCodec.h"

namespace IniAccess::internal {
struct EntryLine;
struct ValueText;
struct Splice;
}  // namespace IniAccess::internal

namespace IniAccess {

// A profile file read once and held in memory: every read answers from that one snapshot and
// every write edits the bytes in memory, by the same rules as ReadProfileValue and
// WriteProfileValue, so that many values cost one read and one replacement of the file.
class ProfileFile {
  public:
    // Reads the file once. Throws ProfileIoError when it exists but cannot be read.
    static ProfileFile Read(const std::string& fileName);

    ProfileFile(std::string fileName, std::optional<std::string> bytes);

    // Reads from bytes, which must outlive it, until the first change: a write then holds the
    // file as read and as edited, and no third copy. Fast path of the constructor; must agree
    // with it; pinned by ProfileFileSnapshotBorrowing.*.
    static ProfileFile Borrowing(std::string fileName, const std::optional<std::string>& bytes);
    // The bytes must outlive the file: a temporary would be gone before the first read.
    static ProfileFile Borrowing(std::string fileName, std::optional<std::string>&& bytes) = delete;

    bool Found() const { return found_; }
    const std::string& Bytes() const { return borrowed_ ? *borrowed_ : bytes_; }
    bool Changed() const { return changed_; }

    // The encoding a write uses: the file's own, code page 932 for a new file.
    FileEncoding Encoding() const;

    // What ReadProfileEntry returns for this snapshot.
    ProfileValue Get(std::string_view section, std::string_view key) const;

    // Get for each key of one section, with the text of all of them converted at once.
    std::vector<ProfileValue> GetAll(std::string_view section,
                                     const std::vector<std::string_view>& keys) const;

    // Stores key=value in memory as WriteProfileValue stores it in a file. Throws
    // ProfileTextError for text the file cannot hold, and ProfileIoError for a file whose
    // damage makes any edit unsafe; the bytes are then unchanged.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Drops the half of a UTF-16 code unit that ends a UTF-16 file with an odd number of bytes,
    // which a read shows as U+FFFD, so that the file can be edited and is written out whole.
    void DropStrayByte();

    // Takes these bytes as the file's own, so that edits build on them and the file is written
    // with them whatever the edits change.
    void RebaseOn(std::string bytes);

  private:
    // The keys of one section, found in one pass and kept until the bytes change: a template
    // load asks for eleven keys of one section.
    struct SectionIndex;
    const SectionIndex& Index(const std::string& section) const;
    // The key's first line in the section, or null.
    const internal::EntryLine* Entry(const SectionIndex& index, std::string_view key) const;
    ProfileValue Result(internal::ValueText stored) const;
    // Half a UTF-16 code unit at the end: anything added after it would be read out of step.
    bool HasStrayByte() const;
    // Every change of the bytes: marks the file changed and drops the index.
    void Apply(const internal::Splice& splice);

    std::string fileName_;
    const std::string* borrowed_ = nullptr;
    std::string bytes_;
    bool found_ = false;
    bool changed_ = false;
    mutable std::shared_ptr<const SectionIndex> index_;
};

// Locks the file, reads it, lets edit change it in memory and, when anything changed, replaces
// the file once. When edit throws, the file is not touched. edit may run more than once: when
// another program made the file after it was found missing, edit runs again on what that
// program wrote.
void UpdateProfileFile(const std::string& fileName,
                       const std::function<void(ProfileFile& file)>& edit);

}  // namespace IniAccess
