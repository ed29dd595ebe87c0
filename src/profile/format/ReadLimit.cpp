#include "ReadLimit.h"

#include "IniAccess.h"
#include "TextCodec.h"
#include "Utf8.h"

namespace quelvar::profile {

using namespace IniAccess;

std::string CutToReadLimit(const std::string& utf8, bool* truncated) {
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

}  // namespace quelvar::profile
