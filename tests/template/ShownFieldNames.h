#pragma once

namespace quelvar {

// The fields as the messages name them, in the order of TemplateFields, written out so that a
// wrong name in the program's own table fails the tests that use it.
inline constexpr const char* kShownFieldNames[] = {
    "Author",
    "BaseElement",
    "CloseTag",
    "Default (Element1)",
    "Default (Element2)",
    "Default (Element3)",
    "Element1",
    "Element2",
    "Element3",
    "Index",
    "TagName",
};

}  // namespace quelvar
