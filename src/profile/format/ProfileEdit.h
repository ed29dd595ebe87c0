#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ProfileText.h"

namespace IniAccess::internal {

// One change of a file's bytes: [begin, end) becomes replacement.
struct Splice {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string replacement;

    std::size_t SizeAfter(std::size_t size) const {
        return size - (end - begin) + replacement.size();
    }
};

// The change that stores key=value in section, changing nothing else: the key's line is
// replaced, or a line is added after the section's last line, or the section is added at the
// end. Nothing when the file already holds that value. The names and the value are UTF-8 and
// already checked; throws ProfileTextError when the file's encoding cannot store them. A change
// rather than the edited bytes, so that a large file need not be held twice.
std::optional<Splice> EditProfile(const ProfileText& text, std::string_view section,
                                  std::string_view key, std::string_view value);

// The value as written after '=': enclosed in one more pair of double quotes when readers would
// otherwise trim its blanks or take its own enclosing quotes away.
std::string StoredForm(std::string_view value);

}  // namespace IniAccess::internal
