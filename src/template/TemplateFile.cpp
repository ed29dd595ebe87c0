#include "TemplateFile.h"

#include <array>

#include "IniAccess.h"

namespace quelvar {

namespace {

const std::string kSection(kTemplateSection);

}  // namespace

LoadReport LoadTemplate(TagTemplate& tagTemplate, const std::string& fileName) {
    // Every value is read before any field changes: a half-loaded mix of two templates would be
    // saved over one of them later.
    std::array<IniAccess::ProfileValue, kFieldCount> values;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        values[field] =
            IniAccess::ReadProfileEntry(fileName, kSection, std::string(TemplateFields[field].key));
    }
    LoadReport report;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        if (values[field].truncated) {
            report.truncated.push_back(field);
        }
        if (values[field].repaired) {
            report.repaired.push_back(field);
        }
        tagTemplate.SetText(field, std::move(values[field].value));
    }
    return report;
}

UnwritableFieldsError::UnwritableFieldsError(std::vector<UnwritableField> fields)
    : std::runtime_error("The template holds text that its file cannot store."),
      fields_(std::move(fields)) {}

void SaveTemplate(const TagTemplate& tagTemplate, const std::string& fileName) {
    const IniAccess::FileEncoding encoding = IniAccess::EncodingForWrite(fileName);
    std::vector<UnwritableField> unwritable;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        if (auto bad = IniAccess::FirstUnwritable(encoding, tagTemplate.Text(field))) {
            unwritable.push_back({field, *bad});
        }
    }
    if (!unwritable.empty()) {
        throw UnwritableFieldsError(std::move(unwritable));
    }
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        IniAccess::StoreProfileValue(fileName, kSection, std::string(TemplateFields[field].key),
                                     tagTemplate.Text(field));
    }
}

void ClearTemplate(TagTemplate& tagTemplate) {
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        tagTemplate.SetText(field, std::string());
    }
}

}  // namespace quelvar
