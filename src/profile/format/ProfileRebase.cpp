#include "ProfileFile.h"

namespace IniAccess {

// The file on disk may be cut short by a crash; the whole template then lives in another file,
// and the edit must start from that one's bytes, every section and comment of it.
void ProfileFile::RebaseOn(std::string bytes) {
    bytes_ = std::move(bytes);
    borrowed_ = nullptr;  // the lock holder's bytes are the damaged file's
    found_ = true;
    changed_ = true;  // written even when no value differs: the file on disk is not these bytes
    index_.reset();
}

}  // namespace IniAccess
