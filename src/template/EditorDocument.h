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
    // Changed is named as the controls and procedures are (below) and keeps the type that naming
    // convention gives such a flag, a 16-bit integer holding 0 or 1 rather than a bool, so that
    // the windows, the tests and whoever reads the flag compare the same values.
    std::int16_t Changed() const { return changed_; }

    // The window's controls and procedures are named by a form designer's convention: frm for the
    // window, fra for its frame, txt for a text box, mnu for a menu item, and Control_Event for
    // the procedure an event runs (Form_Load, mnuOpen_Click). The field, layout and menu tables
    // that both windows are built from name the controls so, each window routes its events to these
    // procedures, and users and testers speak of the window in the same words; hence these names
    // rather than this code's own style. For the same reason "Templete" in the menu and the
    // dialogs' titles is spelled so on purpose.
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
    void Save();
    void FieldChanged();
    void Tell(const std::string& prompt, int icon, std::string_view title);

    MsgBox& msgBox_;
    CommonDialog& cd_;
    WindowHost& window_;
    TagTemplate fields_;
    std::string currentFile_;
    std::int16_t changed_ = 0;
    // The recovery copy loaded on Open instead of its template, and that template: a save to it
    // writes the copy's bytes, so that nothing of the copy is lost and no damage of the file is
    // kept. Forgotten once saved and when another file is opened.
    std::string recoveredFrom_;
    std::string recoveredFor_;
};

}  // namespace quelvar
