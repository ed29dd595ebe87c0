#include "EditorDocument.h"

#include <exception>
#include <optional>

#include "EditorMessages.h"
#include "RecoveryCopy.h"
#include "TemplateFile.h"

namespace quelvar {

EditorDocument::EditorDocument(MsgBox& msgBox, CommonDialog& cd, WindowHost& window)
    : msgBox_(msgBox), cd_(cd), window_(window) {
    fields_.AddChangeListener([this](std::size_t) { FieldChanged(); });
}

void EditorDocument::Form_Load() {
    changed_ = 0;
}

// Every field's change ends here, the one place that marks the template as changed.
void EditorDocument::FieldChanged() {
    changed_ = 1;
}

void EditorDocument::Tell(const std::string& prompt, int icon, std::string_view title) {
    msgBox_.Show(prompt, mb::kOk | icon, std::string(title));
}

void EditorDocument::mnuNew_Click() {
    if (changed_ == 1) {
        const int answer =
            msgBox_.Show(NewQuestion(), mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2,
                         std::string(kNewTitle));
        // Only a clear Yes discards the fields; a box closed any other way keeps them.
        if (answer != mb::kIdYes) {
            return;
        }
    }
    ClearTemplate(fields_);
    changed_ = 0;
}

void EditorDocument::mnuOpen_Click() {
    cd_.DialogTitle = kOpenTitle;
    cd_.Filter = kTemplateFilter;
    cd_.FileName = currentFile_;
    if (!cd_.ShowOpen()) {
        return;
    }
    OpenFile(cd_.FileName);
}

// A save cut short while it wrote the file in place left the whole new template beside it; the
// user chooses which to load. Either way the copy stays until the template is saved. A copy
// that is there but cannot be checked may hold the only whole template: the user hears of it
// before the file opens as it is.
std::string EditorDocument::ChooseSource(const std::string& fileName) {
    std::optional<std::string> copy;
    try {
        copy = IniAccess::FindRecoveryCopy(fileName);
    } catch (const IniAccess::ProfileIoError& error) {
        Tell(RecoveryUncheckedMessage(IniAccess::RecoveryCopyPath(fileName), error),
             mb::kIconWarning, kOpenTitle);
        return fileName;
    }
    if (!copy) {
        return fileName;
    }
    const int answer = msgBox_.Show(RecoveryQuestion(fileName, *copy),
                                    mb::kYesNo | mb::kIconQuestion, std::string(kOpenTitle));
    return answer == mb::kIdYes ? *copy : fileName;
}

bool EditorDocument::OpenFile(const std::string& fileName) {
    LoadReport report;
    std::string source;
    try {
        // CurrentFile stays the template's own name, so that Save writes the template.
        source = ChooseSource(fileName);
        report = LoadTemplate(fields_, source, MissingFile::IsAnError);
    } catch (const IniAccess::ProfileIoError& error) {
        Tell(OpenFailedMessage(error), mb::kIconError, kOpenTitle);
        return false;
    } catch (const std::exception& error) {
        Tell(UnexpectedOpenFailureMessage(error.what()), mb::kIconError, kOpenTitle);
        return false;
    }
    currentFile_ = fileName;
    recoveredFrom_ = source == fileName ? std::string() : source;
    recoveredFor_ = source == fileName ? std::string() : fileName;
    if (!report.truncated.empty() || !report.repaired.empty()) {
        Tell(LoadWarningMessage(report), mb::kIconWarning, kOpenTitle);
    }
    return true;
}

void EditorDocument::mnuSave_Click() {
    cd_.DialogTitle = kSaveTitle;
    cd_.Filter = kTemplateFilter;
    cd_.FileName = currentFile_;
    if (!cd_.ShowSave()) {
        return;
    }
    // The chosen name is kept even when the save fails, so that the next try starts from it.
    currentFile_ = cd_.FileName;
    try {
        Save();
    } catch (const UnwritableFieldsError& error) {
        Tell(UnwritableFieldsMessage(error), mb::kIconWarning, kSaveTitle);
    } catch (const TemplateSaveError& error) {
        Tell(SaveFailedMessage(error), mb::kIconError, kSaveTitle);
    } catch (const std::exception& error) {
        Tell(UnexpectedSaveFailureMessage(error.what()), mb::kIconError, kSaveTitle);
    }
}

// New clears the fields but not the memory of the copy: a save to the template then still
// writes the copy's other sections rather than whatever a crash left of the file.
void EditorDocument::Save() {
    const bool recovered = !recoveredFor_.empty() && currentFile_ == recoveredFor_;
    SaveTemplate(fields_, currentFile_, recovered ? recoveredFrom_ : std::string());
    if (recovered) {
        recoveredFrom_.clear();
        recoveredFor_.clear();
    }
}

void EditorDocument::mnuQuit_Click() {
    window_.Unload();
}

}  // namespace quelvar
