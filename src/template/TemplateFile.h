#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProfileError.h"
#include "TagTemplate.h"

namespace quelvar {

// What a load had to do to the stored text, field by field (positions in TemplateFields).
struct LoadReport {
    std::vector<std::size_t> truncated;  // cut at the length limit of a value
    std::vector<std::size_t> repaired;   // held bytes that are not text in the file's encoding
};

// Whether a file that does not exist loads as eleven empty fields, as a template file always
// has, or is an error, for a file the user has just chosen to open.
enum class MissingFile { ReadsEmpty, IsAnError };

// Reads the file once, then sets every field to its value (missing keys give empty fields). All
// or nothing: when the read fails, IniAccess::ProfileIoError escapes and no field has changed.
LoadReport LoadTemplate(TagTemplate& tagTemplate, const std::string& fileName,
                        MissingFile missing = MissingFile::ReadsEmpty);

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

// SaveTemplate could not write the file; the file is as it was.
class TemplateSaveError : public IniAccess::ProfileIoError {
  public:
    explicit TemplateSaveError(const IniAccess::ProfileIoError& cause)
        : IniAccess::ProfileIoError(cause) {}
};

// Writes the eleven fields, empty ones too, in the order of TemplateFields, in one replacement
// of the file. All or nothing: throws UnwritableFieldsError when any field cannot be stored in
// the file's encoding, TemplateSaveError when the file cannot be read or written, and the file
// is then unchanged. With a recovered file (the recovery copy the user chose on Open), the file
// is written as that file's bytes with the fields set, when it is still there at the save.
void SaveTemplate(const TagTemplate& tagTemplate, const std::string& fileName,
                  const std::string& recovered = std::string());

// Empties the eleven fields in the order of TemplateFields.
void ClearTemplate(TagTemplate& tagTemplate);

}  // namespace quelvar
