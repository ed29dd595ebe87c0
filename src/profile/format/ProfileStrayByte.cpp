#include "ProfileFile.h"

#include "ProfileEdit.h"

namespace IniAccess {

// A template editor shows the byte as U+FFFD and promises to save what it shows; the byte itself
// is not text in any encoding, so nothing the user sees is lost.
void ProfileFile::DropStrayByte() {
    // Through Apply: the bytes may still be those of the lock holder, which must stay as read.
    if (HasStrayByte()) {
        const std::size_t size = Bytes().size();
        Apply(internal::Splice{size - 1, size, {}});
    }
}

}  // namespace IniAccess
