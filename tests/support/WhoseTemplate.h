#pragma once

#include <string>

#include "TemplateFile.h"

// Templates that say whose they are, for tests of saves between programs: a load shows whether
// the file holds one whole template, and whose.
namespace testing_support {

// Every field says whose template it is.
inline quelvar::TagTemplate TemplateOf(const std::string& who) {
    quelvar::TagTemplate t;
    for (std::size_t field = 0; field < quelvar::kFieldCount; ++field) {
        t.SetText(field, who + " " + std::string(quelvar::TemplateFields[field].key));
    }
    return t;
}

// Whose template it is: "" for eleven empty fields, "mixed" for anything else.
inline std::string Owner(const quelvar::TagTemplate& t) {
    const std::string first = t.Text(0).substr(0, t.Text(0).find(' '));
    for (std::size_t field = 0; field < quelvar::kFieldCount; ++field) {
        const std::string expected =
            first.empty() ? "" : first + " " + std::string(quelvar::TemplateFields[field].key);
        if (t.Text(field) != expected) {
            return "mixed";
        }
    }
    return first;
}

inline std::string OwnerOfFile(const std::string& file) {
    quelvar::TagTemplate t;
    quelvar::LoadTemplate(t, file);
    return Owner(t);
}

}  // namespace testing_support
