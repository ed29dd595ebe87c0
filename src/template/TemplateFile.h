#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "TagTemplate.h"

namespace quelvar {

// What a load had to do to the stored text, field by field (positions in TemplateFields).
struct LoadReport {
    std::vector<std::size_t> truncated;  // cut at the length limit of a value
    std::vector<std::size_t> repaired;   // held bytes that are not text in the file's encoding
};

// Reads the eleven values of the file, then sets every field to its value (missing keys and a
// missing file give empty fields). All or nothing: when a read fails, IniAccess::ProfileIoError
// escapes and no field has changed.
LoadReport LoadTemplate(TagTemplate& tagTemplate, const std::string& fileName);

// A field whose text the file cannot hold, and the first character that is the reason.
struct UnwritableField {
    std::size_t field;
    char32_t character;
};

// Thrown by SaveTemplate before it writes anything.
class UnwritableFieldsError : public std::runtime_error {
  public:
    explicit UnwritableFieldsError(std::vector<UnwritableField> fields);
    const std::vector<UnwritableField>& fields() const noexcept { return fields_; }

  private:
    std::vector<UnwritableField> fields_;
};

// Writes the eleven fields, empty ones too, in the order of TemplateFields. Writes nothing and
// throws UnwritableFieldsError when any field cannot be stored in the file's encoding; stops at
// the first failed write with IniAccess::ProfileIoError, the keys written before it in place.
void SaveTemplate(const TagTemplate& tagTemplate, const std::string& fileName);

// Empties the eleven fields in the order of TemplateFields.
void ClearTemplate(TagTemplate& tagTemplate);

}  // namespace quelvar
