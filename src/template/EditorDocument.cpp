#include "EditorDocument.h"

#include <array>
#include <exception>

#include "EditorMessages.h"
#include "TemplateFile.h"

namespace quelvar {

EditorDocument::EditorDocument(MsgBox& msgBox, CommonDialog& cd, WindowHost& window)
    : msgBox_(msgBox), cd_(cd), window_(window) {
    fields_.AddChangeListener([this](std::size_t field) { FieldChanged(field); });
}

void EditorDocument::FieldChanged(std::size_t field) {
    using Procedure = void (EditorDocument::*)();
    static constexpr std::array<Procedure, kFieldCount> kChangeProcedures{
        &EditorDocument::txtAuthor_Change,   &EditorDocument::txtBaseElement_Change,
        &EditorDocument::txtCloseTag_Change, &EditorDocument::txtDefault1_Change,
        &EditorDocument::txtDefault2_Change, &EditorDocument::txtDefault3_Change,
        &EditorDocument::txtElement1_Change, &EditorDocument::txtElement2_Change,
        &EditorDocument::txtElement3_Change, &EditorDocument::txtIndex_Change,
        &EditorDocument::txtTagName_Change,
    };
    (this->*kChangeProcedures.at(field))();
}

void EditorDocument::Form_Load() {
    changed_ = 0;
}

// Every field's change ends here, the one place that marks the template as changed.
void EditorDocument::txtTagName_Change() {
    changed_ = 1;
}
void EditorDocument::txtAuthor_Change() {
    txtTagName_Change();
}
void EditorDocument::txtBaseElement_Change() {
    txtTagName_Change();
}
void EditorDocument::txtCloseTag_Change() {
    txtTagName_Change();
}
void EditorDocument::txtDefault1_Change() {
    txtTagName_Change();
}
void EditorDocument::txtDefault2_Change() {
    txtTagName_Change();
}
void EditorDocument::txtDefault3_Change() {
    txtTagName_Change();
}
void EditorDocument::txtElement1_Change() {
    txtTagName_Change();
}
void EditorDocument::txtElement2_Change() {
    txtTagName_Change();
}
void EditorDocument::txtElement3_Change() {
    txtTagName_Change();
}
void EditorDocument::txtIndex_Change() {
    txtTagName_Change();
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

bool EditorDocument::OpenFile(const std::string& fileName) {
    LoadReport report;
    try {
        report = LoadTemplate(fields_, fileName, MissingFile::IsAnError);
    } catch (const IniAccess::ProfileIoError& error) {
        Tell(OpenFailedMessage(error), mb::kIconError, kOpenTitle);
        return false;
    } catch (const std::exception& error) {
        Tell(UnexpectedFailureMessage(false, error.what()), mb::kIconError, kOpenTitle);
        return false;
    }
    currentFile_ = fileName;
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
        SaveTemplate(fields_, currentFile_);
    } catch (const UnwritableFieldsError& error) {
        Tell(UnwritableFieldsMessage(error), mb::kIconWarning, kSaveTitle);
    } catch (const TemplateSaveError& error) {
        Tell(SaveFailedMessage(error), mb::kIconError, kSaveTitle);
    } catch (const std::exception& error) {
        Tell(UnexpectedFailureMessage(true, error.what()), mb::kIconError, kSaveTitle);
    }
}

void EditorDocument::mnuQuit_Click() {
    window_.Unload();
}

}  // namespace quelvar
