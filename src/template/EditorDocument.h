#pragma once

#include <cstdint>
#include <string>

#include "TagTemplate.h"
#include "WindowServices.h"

namespace quelvar {

// The editing state of the main window and the procedures behind its events: the eleven fields,
// the file last chosen in a dialog, and whether any field has changed since start or New.
class EditorDocument {
  public:
    EditorDocument(MsgBox& msgBox, CommonDialog& cd, WindowHost& window);
    EditorDocument(const EditorDocument&) = delete;
    EditorDocument& operator=(const EditorDocument&) = delete;

    // The fields; every change to them, from a command or from typing, marks the template as
    // changed.
    TagTemplate& Fields() { return fields_; }
    const TagTemplate& Fields() const { return fields_; }

    const std::string& CurrentFile() const { return currentFile_; }
    std::int16_t Changed() const { return changed_; }

    void Form_Load();

    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuQuit_Click();

    // Opens the file as mnuOpen_Click does after its dialog: the same reads and messages, and
    // the question whether to load the recovery copy of a save cut short, when there is one.
    // False when nothing was loaded.
    bool OpenFile(const std::string& fileName);

  private:
    std::string ChooseSource(const std::string& fileName);
    void FieldChanged();
    void Tell(const std::string& prompt, int icon, std::string_view title);

    MsgBox& msgBox_;
    CommonDialog& cd_;
    WindowHost& window_;
    TagTemplate fields_;
    std::string currentFile_;
    std::int16_t changed_ = 0;
};

}  // namespace quelvar
