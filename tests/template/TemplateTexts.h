#pragma once

#include <string>
#include <vector>

#include "TagTemplate.h"

namespace quelvar {

// The eleven texts of a template in the order of TemplateFields, so that a whole template is
// compared at once.
inline std::vector<std::string> Texts(const TagTemplate& tagTemplate) {
    std::vector<std::string> texts;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        texts.push_back(tagTemplate.Text(field));
    }
    return texts;
}

}  // namespace quelvar
