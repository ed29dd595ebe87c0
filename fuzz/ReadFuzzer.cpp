// Any file bytes, any section and key: no crash, no hang, and the result is valid text of at
// most 255 bytes in code page 932.
#include <cstdlib>

#include "FuzzSupport.h"
#include "IniAccess.h"
#include "Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz_support::Parts parts = fuzz_support::Split(data, size, 2);
    const std::string& path = fuzz_support::ScratchFile();
    fuzz_support::WriteFile(path, parts.file);

    const IniAccess::ProfileValue read =
        IniAccess::ReadProfileEntry(path, parts.names[0], parts.names[1]);
    std::size_t bytes = 0;
    for (std::size_t pos = 0; pos < read.value.size();) {
        std::size_t length = 0;
        const char32_t c = IniAccess::internal::DecodeUtf8At(read.value, pos, &length);
        if (c == IniAccess::internal::kReplacementCharacter && length == 1) {
            std::abort();  // not UTF-8
        }
        bytes += IniAccess::Cp932Length(c);
        pos += length;
    }
    if (bytes > IniAccess::kMaxValueBytes || !read.fileFound ||
        read.value != IniAccess::ReadProfileValue(path, parts.names[0], parts.names[1])) {
        std::abort();
    }
    return 0;
}
