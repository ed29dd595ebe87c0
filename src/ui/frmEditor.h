#pragma once

#include <QMainWindow>
#include <array>

#include "EditorDocument.h"
#include "FormLayout.h"
#include "TemplateFields.h"

class QLineEdit;

namespace quelvar::qt {

// The program's one window: the eleven fields as labelled text boxes and the File menu. It only
// shows the document's fields and hands every event to the document. Its controls carry the
// object names of the twip table ("txtTagName", "Label1", "fraMainData", "mnuSave" ...), by
// which tests and accessibility tools find them.
class frmEditor : public QMainWindow, public WindowHost {
    Q_OBJECT
  public:
    // The window uses the message box and file dialog it is given, and does not own them: main
    // makes them and gives them the window as their owner once it is made; tests may give fakes.
    frmEditor(MsgBox& msgBox, CommonDialog& fileDialog, QWidget* parent = nullptr);

    EditorDocument& Document() { return doc_; }
    QLineEdit* TextBox(std::size_t field) const { return textBoxes_.at(field); }
    // How much larger than its twip size the layout is drawn (at least 1).
    double LayoutScaleFactor() const { return scale_; }

    void Unload() override;

  protected:
    bool event(QEvent* event) override;

  private:
    void SetIcon();
    void BuildMenu();
    void BuildControls();
    // The row's label and text box in their container; returns the box.
    QLineEdit* PlaceRow(const layout::LabelledBox& row, QWidget* container);
    void ShowField(std::size_t field);

    EditorDocument doc_;
    std::array<QLineEdit*, kFieldCount> textBoxes_{};
    double scale_ = 1.0;
    bool iconPending_ = false;
};

}  // namespace quelvar::qt
