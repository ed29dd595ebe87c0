#include "ProfileError.h"

namespace IniAccess {

// strerror's text is in the locale's encoding, UTF-8 on every system the program supports.
std::string SystemErrorText(std::error_code code) {
    return code.message();
}

}  // namespace IniAccess
