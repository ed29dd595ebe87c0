#pragma once

#include <QMainWindow>
#include <array>

#include "EditorDocument.h"
#include "QtCommonDialog.h"
#include "QtMsgBox.h"
#include "TemplateFields.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace quelvar {

// The program's one window: the eleven fields as labelled text boxes and the File menu. It only
// shows the document's fields and hands every event to the document.
class frmEditor : public QMainWindow, public WindowHost {
    Q_OBJECT
  public:
    explicit frmEditor(QWidget* parent = nullptr);

    EditorDocument& Document() { return doc_; }
    QLineEdit* TextBox(std::size_t field) const { return textBoxes_.at(field); }
    // How much larger than its twip size the layout is drawn (at least 1).
    double LayoutScaleFactor() const { return scale_; }

    void Unload() override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLineEdit* txtAuthor;
    QLineEdit* txtBaseElement;
    QLineEdit* txtCloseTag;
    QLineEdit* txtDefault1;
    QLineEdit* txtDefault2;
    QLineEdit* txtDefault3;
    QLineEdit* txtElement1;
    QLineEdit* txtElement2;
    QLineEdit* txtElement3;
    QLineEdit* txtIndex;
    QLineEdit* txtTagName;
    QGroupBox* fraMainData;
    QMenu* mnuFile;
    QAction* mnuNew;
    QAction* mnuOpen;
    QAction* mnuSave;
    QAction* mnuSp0;
    QAction* mnuQuit;
    QtCommonDialog* CD;

  private:
    void BuildControls();
    void BuildMenu();
    void ShowField(std::size_t field);

    QtMsgBox msgBox_;
    EditorDocument doc_;
    std::array<QLineEdit*, kFieldCount> textBoxes_{};
    double scale_ = 1.0;
};

}  // namespace quelvar
