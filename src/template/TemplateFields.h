#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quelvar {

// One field of a tag template: its text box, its key in the template file, and the caption and
// tooltip the window shows for it.
struct TemplateField {
    std::string_view textBox;
    std::string_view key;
    std::string_view label;
    std::string_view tooltip;
};

inline constexpr std::size_t kFieldCount = 11;

// Positions in TemplateFields, which is in the alphabetical order of the text box names: the
// order in which every whole-template operation visits the fields.
enum Field : std::size_t {
    kAuthor,
    kBaseElement,
    kCloseTag,
    kDefault1,
    kDefault2,
    kDefault3,
    kElement1,
    kElement2,
    kElement3,
    kIndex,
    kTagName,
};

extern const std::array<TemplateField, kFieldCount> TemplateFields;

// A caption as it reads on screen: "&x" marks x as the access key and "&&" stands for "&".
std::string CaptionText(std::string_view caption);

// The one section of a template file.
inline constexpr std::string_view kTemplateSection = "Quelvar";

}  // namespace quelvar
