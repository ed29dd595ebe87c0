// A write into any file bytes: afterwards every other key reads as before and the written key
// reads the new value; a refused write leaves the file as it was.
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "IniAccess.h"
#include "ProfileText.h"
#include "ReadLimit.h"
#include "Utf8.h"

namespace {

using Name = std::pair<std::string, std::string>;

// The section and key names the file holds, as a reader would find them, and a few others.
std::set<Name> NamesIn(const std::string& bytes, const Name& written) {
    const IniAccess::FileEncoding encoding = IniAccess::DetectEncoding(bytes);
    bool repaired = false;
    const std::string text = IniAccess::DecodeText(
        encoding, std::string_view(bytes).substr(IniAccess::ByteOrderMark(encoding).size()),
        &repaired);
    std::set<std::string> sections = {"", written.first, "other"};
    std::set<std::string> keys = {written.second, "k"};
    std::size_t start = 0;
    while (start <= text.size() && sections.size() < 12 && keys.size() < 12) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string line = IniAccess::internal::NameArgument(text.substr(start, end - start));
        const std::size_t close = line.rfind(']');
        if (!line.empty() && line.front() == '[' && close != std::string::npos && close > 0) {
            sections.insert(IniAccess::internal::NameArgument(line.substr(1, close - 1)));
        } else {
            keys.insert(IniAccess::internal::NameArgument(line.substr(0, line.find('='))));
        }
        start = end + 1;
    }
    std::set<Name> names;
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            names.insert({section, key});
        }
    }
    return names;
}

bool Same(const std::string& a, const std::string& b) {
    return IniAccess::internal::EqualsIgnoringAsciiCase(IniAccess::internal::NameArgument(a),
                                                        IniAccess::internal::NameArgument(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz_support::Parts parts = fuzz_support::Split(data, size, 3);
    const Name written{parts.names[0], parts.names[1]};
    const std::string& value = parts.names[2];
    const std::string& path = fuzz_support::ScratchFile();
    fuzz_support::WriteFile(path, parts.file);

    const std::set<Name> names = NamesIn(parts.file, written);
    std::vector<std::string> before;
    for (const Name& name : names) {
        before.push_back(IniAccess::ReadProfileValue(path, name.first, name.second));
    }
    try {
        IniAccess::StoreProfileValue(path, written.first, written.second, value);
    } catch (const IniAccess::ProfileTextError&) {
        if (fuzz_support::ReadFile(path) != parts.file) {
            std::abort();  // a refused write touched the file
        }
        return 0;
    } catch (const IniAccess::ProfileIoError& error) {
        // The only failure a writable scratch file may give: UTF-16 text cut inside a unit.
        if (error.code() != std::errc::illegal_byte_sequence ||
            fuzz_support::ReadFile(path) != parts.file) {
            std::abort();
        }
        return 0;
    }
    std::size_t i = 0;
    bool cut = false;
    for (const Name& name : names) {
        const std::string after = IniAccess::ReadProfileValue(path, name.first, name.second);
        const bool isWritten = Same(name.first, written.first) && Same(name.second, written.second);
        if (after != (isWritten ? IniAccess::internal::CutToReadLimit(value, &cut) : before[i])) {
            std::abort();
        }
        ++i;
    }
    return 0;
}
