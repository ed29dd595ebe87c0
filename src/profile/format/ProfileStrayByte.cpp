#include "ProfileFile.h"

namespace IniAccess {

// A template editor shows the byte as U+FFFD and promises to save what it shows; the byte itself
// is not text in any encoding, so nothing the user sees is lost.
void ProfileFile::DropStrayByte() {
    if (IsUtf16(Encoding()) && bytes_.size() % 2 != 0) {
        bytes_.pop_back();
        changed_ = true;
        index_.reset();
    }
}

}  // namespace IniAccess
