#include "ProfileFile.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "FileAccess.h"
#include "LockWait.h"
#include "ProfileEdit.h"
#include "ProfileText.h"
#include "ReadLimit.h"
#include "Utf8.h"

namespace IniAccess {

struct ProfileFile::SectionIndex {
    std::string section;
    std::vector<std::pair<std::string, internal::EntryLine>> keys;  // ASCII-folded name, first line
};

namespace {

// Refuses text that would not read back as itself or would break the lines of the file.
void CheckWritable(std::string_view given, std::string_view trimmed, const std::string& part) {
    using Reason = ProfileTextError::Reason;
    if (given.find('\0') != std::string_view::npos) {
        throw ProfileTextError(Reason::Nul, part, U'\0');
    }
    for (const char c : trimmed) {
        if (c == '\n' || c == '\r') {
            throw ProfileTextError(Reason::LineBreak, part, static_cast<char32_t>(c));
        }
    }
}

void CheckNames(std::string_view section, std::string_view key, const std::string& sectionName,
                const std::string& keyName) {
    using Reason = ProfileTextError::Reason;
    CheckWritable(section, sectionName, "section");
    CheckWritable(key, keyName, "key");
    if (sectionName.empty()) {
        throw ProfileTextError(Reason::EmptyName, "section", 0);
    }
    if (keyName.empty()) {
        throw ProfileTextError(Reason::EmptyName, "key", 0);
    }
    if (keyName.find('=') != std::string::npos) {
        throw ProfileTextError(Reason::KeyWithEquals, "key", U'=');
    }
    if (keyName.front() == '[') {
        throw ProfileTextError(Reason::KeyLikeHeader, "key", U'[');
    }
}

}  // namespace

ProfileFile ProfileFile::Read(const std::string& fileName) {
    return ProfileFile(fileName, internal::ReadWholeFile(fileName));
}

ProfileFile::ProfileFile(std::string fileName, std::optional<std::string> bytes)
    : fileName_(std::move(fileName)), found_(bytes.has_value()) {
    if (bytes) {
        bytes_ = std::move(*bytes);
    }
}

ProfileFile ProfileFile::Borrowing(std::string fileName, const std::optional<std::string>& bytes) {
    ProfileFile file(std::move(fileName), std::nullopt);
    file.found_ = bytes.has_value();
    file.borrowed_ = bytes ? &*bytes : nullptr;
    return file;
}

FileEncoding ProfileFile::Encoding() const {
    return DetectEncoding(Bytes());
}

namespace {

std::string FoldAscii(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return name;
}

}  // namespace

const ProfileFile::SectionIndex& ProfileFile::Index(const std::string& section) const {
    if (!index_ || !internal::EqualsIgnoringAsciiCase(index_->section, section)) {
        const internal::ProfileText text(Bytes());
        auto index = std::make_shared<SectionIndex>();
        index->section = section;
        for (const internal::EntryLine& entry : text.Entries(section)) {
            index->keys.emplace_back(FoldAscii(text.KeyName(entry)), entry);
        }
        index_ = std::move(index);
    }
    return *index_;
}

const internal::EntryLine* ProfileFile::Entry(const SectionIndex& index,
                                              std::string_view key) const {
    const std::string wanted = FoldAscii(internal::NameArgument(key));
    // The first line of a key counts, as it does for Find.
    const auto found = std::find_if(index.keys.begin(), index.keys.end(),
                                    [&](const auto& entry) { return entry.first == wanted; });
    return found == index.keys.end() ? nullptr : &found->second;
}

ProfileValue ProfileFile::Result(internal::ValueText stored) const {
    ProfileValue result;
    result.fileFound = found_;
    result.repaired = stored.repaired;
    result.value = internal::CutToReadLimit(std::move(stored.text), &result.truncated);
    return result;
}

ProfileValue ProfileFile::Get(std::string_view section, std::string_view key) const {
    const internal::EntryLine* entry = Entry(Index(internal::NameArgument(section)), key);
    return Result(entry ? internal::ProfileText(Bytes()).Value(*entry) : internal::ValueText{});
}

std::vector<ProfileValue> ProfileFile::GetAll(std::string_view section,
                                              const std::vector<std::string_view>& keys) const {
    const SectionIndex& index = Index(internal::NameArgument(section));
    std::vector<const internal::EntryLine*> entries;
    entries.reserve(keys.size());
    for (const std::string_view key : keys) {
        entries.push_back(Entry(index, key));
    }
    std::vector<internal::ValueText> stored = internal::ProfileText(Bytes()).Values(entries);
    std::vector<ProfileValue> results;
    results.reserve(keys.size());
    for (internal::ValueText& value : stored) {
        results.push_back(Result(std::move(value)));
    }
    return results;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string sectionName = internal::NameArgument(section);
    const std::string keyName = internal::NameArgument(key);
    CheckNames(section, key, sectionName, keyName);
    CheckWritable(value, value, "value");
    if (HasStrayByte()) {
        throw ProfileIoError(fileName_, std::make_error_code(std::errc::illegal_byte_sequence));
    }
    const internal::ProfileText text(Bytes());
    if (auto splice = internal::EditProfile(text, sectionName, keyName, value)) {
        Apply(*splice);
    }
}

bool ProfileFile::HasStrayByte() const {
    return IsUtf16(Encoding()) && Bytes().size() % 2 != 0;
}

// A read shows the byte as U+FFFD, and a caller that saves what it was shown writes no byte
// there; the byte is not text in any encoding, so nothing a reader gets is lost.
void ProfileFile::DropStrayByte() {
    if (HasStrayByte()) {
        const std::size_t size = Bytes().size();
        Apply(internal::Splice{size - 1, size, {}});
    }
}

// The file on disk may be cut short by a crash; the whole contents then live in another file,
// and the edit must start from that one's bytes, every section and comment of it. Marked changed
// even when no value differs: the file on disk is not these bytes.
void ProfileFile::RebaseOn(std::string bytes) {
    found_ = true;
    Apply(internal::Splice{0, Bytes().size(), std::move(bytes)});
}

namespace {

// Room for the lines a save of several keys adds, so that its later edits are made in place.
constexpr std::size_t kEditRoom = 16 << 10;

}  // namespace

void ProfileFile::Apply(const internal::Splice& splice) {
    changed_ = true;
    index_.reset();
    const std::size_t size = splice.SizeAfter(Bytes().size());
    if (!borrowed_ && size <= bytes_.capacity()) {
        bytes_.replace(splice.begin, splice.end - splice.begin, splice.replacement);
        return;
    }
    // The first edit copies the file as read once; a string grown by itself would double.
    std::string edited;
    edited.reserve(size + kEditRoom);
    edited.append(Bytes(), 0, splice.begin);
    edited += splice.replacement;
    edited.append(Bytes(), splice.end);
    bytes_ = std::move(edited);
    borrowed_ = nullptr;
}

// A file that another program makes between the read and the replacement is read again and
// edited, never replaced as if it were still missing.
void UpdateProfileFile(const std::string& fileName,
                       const std::function<void(ProfileFile& file)>& edit) {
    internal::RetryWhileReplaced(fileName, [&] {
        internal::FileUpdate update(fileName);
        ProfileFile file = ProfileFile::Borrowing(fileName, update.Contents());
        edit(file);
        return !file.Changed() || update.Replace(file.Bytes());
    });
}

}  // namespace IniAccess
