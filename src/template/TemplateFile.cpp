#include "TemplateFile.h"

#include <string_view>
#include <system_error>
#include <vector>

#include "IniAccess.h"
#include "ProfileFile.h"

namespace quelvar {

namespace {

const std::string kSection(kTemplateSection);

const std::vector<std::string_view>& FieldKeys() {
    static const std::vector<std::string_view> keys = [] {
        std::vector<std::string_view> all;
        for (const TemplateField& field : TemplateFields) {
            all.push_back(field.key);
        }
        return all;
    }();
    return keys;
}

}  // namespace

LoadReport LoadTemplate(TagTemplate& tagTemplate, const std::string& fileName,
                        MissingFile missing) {
    // One snapshot of the file for all eleven values: a file replaced meanwhile must not load
    // as a mix of two templates, and nothing changes unless the whole read succeeds.
    const IniAccess::ProfileFile file = IniAccess::ProfileFile::Read(fileName);
    if (missing == MissingFile::IsAnError && !file.Found()) {
        throw IniAccess::ProfileIoError(fileName,
                                        std::make_error_code(std::errc::no_such_file_or_directory));
    }
    std::vector<IniAccess::ProfileValue> values = file.GetAll(kSection, FieldKeys());
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

namespace {

void CheckWritable(const TagTemplate& tagTemplate, IniAccess::FileEncoding encoding) {
    std::vector<UnwritableField> unwritable;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        if (auto bad = IniAccess::FirstUnwritable(encoding, tagTemplate.Text(field))) {
            unwritable.push_back({field, *bad});
        }
    }
    if (!unwritable.empty()) {
        throw UnwritableFieldsError(std::move(unwritable));
    }
}

}  // namespace

void SaveTemplate(const TagTemplate& tagTemplate, const std::string& fileName,
                  const std::string& recovered) {
    // One transaction: the eleven writes are made in memory and the file is replaced once, so
    // that a failure leaves the old template whole and a concurrent save waits its turn.
    try {
        IniAccess::UpdateProfileFile(fileName, [&](IniAccess::ProfileFile& file) {
            // Read under the template's lock: no other save makes or removes the copy meanwhile.
            // A copy gone since Open was removed by a save that left the file whole.
            if (!recovered.empty()) {
                IniAccess::ProfileFile copy = IniAccess::ProfileFile::Read(recovered);
                if (copy.Found()) {
                    file.RebaseOn(copy.Bytes());
                }
            }
            file.DropStrayByte();  // Open has warned that it is shown as U+FFFD
            CheckWritable(tagTemplate, file.Encoding());
            for (std::size_t field = 0; field < kFieldCount; ++field) {
                file.Set(kSection, TemplateFields[field].key, tagTemplate.Text(field));
            }
        });
    } catch (const IniAccess::ProfileIoError& error) {
        throw TemplateSaveError(error);
    }
}

void ClearTemplate(TagTemplate& tagTemplate) {
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        tagTemplate.SetText(field, std::string());
    }
}

}  // namespace quelvar
