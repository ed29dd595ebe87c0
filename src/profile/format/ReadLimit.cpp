#include "ReadLimit.h"

#include "IniAccess.h"
#include "TextCodec.h"
#include "Utf8.h"

namespace IniAccess::internal {

std::string CutToReadLimit(std::string utf8, bool* truncated) {
    // No character counts more than two bytes of code page 932, and none takes less than one
    // byte here: most values need no count.
    if (utf8.size() * 2 <= kMaxValueBytes) {
        return utf8;
    }
    std::size_t bytes = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t length = 0;
        bytes += Cp932Length(DecodeUtf8At(utf8, pos, &length));
        if (bytes > kMaxValueBytes) {
            *truncated = true;
            return utf8.substr(0, pos);
        }
        pos += length;
    }
    return utf8;
}

}  // namespace IniAccess::internal
