#include "TemplateFile.h"

#include <array>
#include <system_error>

#include "IniAccess.h"

namespace quelvar {

namespace {

const std::string kSection(kTemplateSection);

}  // namespace

LoadReport LoadTemplate(TagTemplate& tagTemplate, const std::string& fileName,
                        MissingFile missing) {
    // Every value is read before any field changes: a half-loaded mix of two templates would be
    // saved over one of them later.
    std::array<IniAccess::ProfileValue, kFieldCount> values;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        values[field] =
            IniAccess::ReadProfileEntry(fileName, kSection, std::string(TemplateFields[field].key));
        // Checked at every read: a file that vanishes halfway must not load half a template.
        if (missing == MissingFile::IsAnError && !values[field].fileFound) {
            throw IniAccess::ProfileIoError(
                fileName, std::make_error_code(std::errc::no_such_file_or_directory));
        }
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
    IniAccess::FileEncoding encoding{};
    try {
        encoding = IniAccess::EncodingForWrite(fileName);
    } catch (const IniAccess::ProfileIoError& error) {
        throw TemplateSaveError(error, 0);
    }
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
        try {
            IniAccess::StoreProfileValue(fileName, kSection, std::string(TemplateFields[field].key),
                                         tagTemplate.Text(field));
        } catch (const IniAccess::ProfileIoError& error) {
            throw TemplateSaveError(error, field);
        }
    }
}

void ClearTemplate(TagTemplate& tagTemplate) {
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        tagTemplate.SetText(field, std::string());
    }
}

}  // namespace quelvar
