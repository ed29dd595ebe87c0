#include "EditorMessages.h"
#include "frmEditor.h"

#include <gtest/gtest.h>

#include <functional>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "EditorFakes.h"
#include "FormLayout.h"
#include "FormMenu.h"
#include "ModalAnswer.h"
#include "QtCommonDialog.h"
#include "QtMsgBox.h"
#include "QtText.h"
#include "TempDir.h"
#include "Twips.h"

using namespace quelvar;
using namespace quelvar::qt;
using testing_support::AnswerNextModal;
using testing_support::FakeDialog;
using testing_support::FakeMsgBox;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// The window shown and active, over the message box and file dialog given.
template <class MsgBoxKind, class DialogKind>
class ShownEditor : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_))
            << "the window did not become active within 5 s";
    }

    QLineEdit* Box(const char* name) { return window_.findChild<QLineEdit*>(name); }
    QLabel* Label(const char* name) { return window_.findChild<QLabel*>(name); }
    QGroupBox* Frame() { return window_.findChild<QGroupBox*>("fraMainData"); }
    QString Focused() {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

    MsgBoxKind msgBox_;
    DialogKind cd_;
    frmEditor window_{msgBox_, cd_};
};

// The window and the document over fakes of the message box and file dialog.
using FrmEditor = ShownEditor<FakeMsgBox, FakeDialog>;

// The window with Qt's message box and file dialog over it, as the program makes them: for what
// these show.
class FrmEditorDialog : public ShownEditor<QtMsgBox, QtCommonDialog> {
  protected:
    FrmEditorDialog() {
        msgBox_.SetOwner(&window_);
        cd_.SetOwner(&window_);
    }
};

// The window shows the tables it is built from; their texts are pinned by TemplateTables and
// FormTables.
TEST_F(FrmEditor, CaptionsAndTooltipsAreTheFieldTable) {
    EXPECT_EQ(window_.windowTitle().toStdString(), layout::kWindowCaption);
    for (const layout::LabelledBox& placed : layout::kTabOrder) {
        const TemplateField& row = TemplateFields[placed.field];
        QLineEdit* box = Box(std::string(row.textBox).c_str());
        ASSERT_NE(box, nullptr) << row.textBox;
        EXPECT_EQ(box, window_.TextBox(placed.field));
        EXPECT_EQ(box->toolTip().toStdString(), row.tooltip);
        EXPECT_TRUE(box->text().isEmpty());
        QLabel* label = Label(std::string(placed.labelName).c_str());
        ASSERT_NE(label, nullptr) << placed.labelName;
        EXPECT_EQ(label->text().toStdString(), row.label);
        EXPECT_EQ(label->buddy(), box);
    }
    ASSERT_NE(Frame(), nullptr) << "no frame named fraMainData";
    EXPECT_EQ(Frame()->title().toStdString(), layout::kFrameCaption);
    EXPECT_EQ(window_.findChild<QMenu*>("mnuFile")->title().toStdString(),
              layout::kFileMenuCaption);
}

TEST_F(FrmEditor, LayoutKeepsTheTwipTablesProportions) {
    const double scale = window_.LayoutScaleFactor();
    EXPECT_GE(scale, 1.0);
    // Every text box is at least as tall as the platform wants it.
    EXPECT_GE(Box("txtTagName")->height() + 1, Box("txtTagName")->sizeHint().height());
    EXPECT_EQ(window_.centralWidget()->size(), TwipsToPixels(layout::kClientArea, scale).size());
    ASSERT_NE(Frame(), nullptr) << "no frame named fraMainData";
    EXPECT_EQ(Frame()->geometry(), TwipsToPixels(layout::kFrame, scale));
    EXPECT_EQ(Frame()->parentWidget(), window_.centralWidget());
    EXPECT_EQ(Box("txtDefault3")->parentWidget(), Frame());
    // Every label and box where the layout table puts it, in its container.
    for (const layout::LabelledBox& placed : layout::kTabOrder) {
        const std::string box(TemplateFields[placed.field].textBox);
        EXPECT_EQ(Box(box.c_str())->geometry(), TwipsToPixels(placed.box, scale)) << box;
        EXPECT_EQ(Label(std::string(placed.labelName).c_str())->geometry(),
                  TwipsToPixels(placed.label, scale))
            << placed.labelName;
    }

    // The boxes in the frame end at one right edge; the third default box is the narrower.
    const int right = Box("txtBaseElement")->geometry().right();
    for (QLineEdit* box :
         {Box("txtElement1"), Box("txtDefault1"), Box("txtElement2"), Box("txtDefault2"),
          Box("txtElement3"), Box("txtDefault3"), Box("txtCloseTag")}) {
        EXPECT_EQ(box->geometry().right(), right) << box->objectName().toStdString();
    }
    EXPECT_LT(Box("txtDefault3")->width(), Box("txtDefault1")->width());
    EXPECT_GT(Box("txtDefault3")->x(), Box("txtDefault2")->x());
    EXPECT_EQ(Label("Label1")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(Label("Label4")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(Label("Label7")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(Label("Label5")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // A fixed window.
    EXPECT_EQ(window_.minimumSize(), window_.maximumSize());
}

TEST_F(FrmEditor, FocusStartsInTheTagNameAndTabRunsTheFields) {
    EXPECT_EQ(Focused(), "txtTagName");
    const QStringList order = {"txtAuthor",   "txtBaseElement", "txtElement1", "txtDefault1",
                               "txtElement2", "txtDefault2",    "txtElement3", "txtDefault3",
                               "txtIndex",    "txtCloseTag",    "txtTagName"};
    for (const QString& next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(Focused(), next);
    }
}

// The focus chain itself, not only where Tab lands: the on-screen order of the fields.
TEST_F(FrmEditor, TheFocusChainRunsTheFieldsInTheirOnScreenOrder) {
    QStringList chain;
    QWidget* const first = Box("txtTagName");
    QWidget* widget = first;
    do {
        if (qobject_cast<QLineEdit*>(widget) && (widget->focusPolicy() & Qt::TabFocus)) {
            chain << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && chain.size() <= 11);
    EXPECT_EQ(chain, (QStringList{"txtTagName", "txtAuthor", "txtBaseElement", "txtElement1",
                                  "txtDefault1", "txtElement2", "txtDefault2", "txtElement3",
                                  "txtDefault3", "txtIndex", "txtCloseTag"}));
}

TEST_F(FrmEditor, AccessKeysMoveTheFocusToTheirBoxes) {
    const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_A, "txtAuthor"},
                                                    {Qt::Key_B, "txtBaseElement"},
                                                    {Qt::Key_I, "txtIndex"},
                                                    {Qt::Key_C, "txtCloseTag"},
                                                    {Qt::Key_N, "txtTagName"}};
    for (const auto& [key, box] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        EXPECT_EQ(Focused(), box);
    }
}

TEST_F(FrmEditor, ScreenReadersGetTheLabelAsNameAndTheTooltipAsDescription) {
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(window_.TextBox(field));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name),
                  QString::fromStdString(std::string(TemplateFields[field].label)).remove('&'));
        EXPECT_EQ(accessible->text(QAccessible::Description).toStdString(),
                  TemplateFields[field].tooltip);
    }
}

TEST_F(FrmEditor, TextBoxesTakeTextOfAnyLength) {
    const QString longText(100000, 'x');
    Box("txtBaseElement")->setText(longText);
    EXPECT_EQ(Box("txtBaseElement")->text(), longText);
    EXPECT_EQ(window_.Document().Fields().Text(kBaseElement).size(), 100000u);
}

TEST_F(FrmEditor, TypingPastingUndoingAndCommandsAllRaiseTheChangeProcedure) {
    EditorDocument& doc = window_.Document();
    EXPECT_EQ(doc.Changed(), 0);
    Box("txtIndex")->setText("");
    EXPECT_EQ(doc.Changed(), 0) << "assigning the same text is no change";

    QTest::keyClicks(Box("txtIndex"), "B12");
    EXPECT_EQ(doc.Fields().Text(kIndex), "B12");
    EXPECT_EQ(doc.Changed(), 1);

    doc.Form_Load();
    Box("txtIndex")->undo();
    EXPECT_EQ(doc.Changed(), 1);
    EXPECT_EQ(doc.Fields().Text(kIndex), Box("txtIndex")->text().toStdString());

    doc.Form_Load();
    Box("txtIndex")->insert("ペースト");
    EXPECT_EQ(doc.Changed(), 1);

    // A command's assignment shows in the box at once.
    doc.Fields().SetText(kCloseTag, "</a>");
    EXPECT_EQ(Box("txtCloseTag")->text(), "</a>");
}

// Only Yes clears: No, Esc and the box's close button keep what was typed, and the focus comes
// back to the field the user was in. The box is modal over the window.
TEST_F(FrmEditorDialog, NewAsksThroughAYesNoBoxWithNoAsDefault) {
    QTest::keyClicks(Box("txtAuthor"), "a");
    QString title, text;
    QMessageBox::Icon icon{};
    bool noIsDefault = false, modalOverTheWindow = false;
    const auto answering = AnswerNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        modalOverTheWindow = box->parentWidget() == &window_ && box->isModal();
        EXPECT_EQ(box->buttons().size(), 2);
        box->button(QMessageBox::No)->click();
    });
    QTest::keyClick(Box("txtAuthor"), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(title, Text(kNewTitle));
    // Qt shows a line break as a bare LF.
    EXPECT_EQ(text, Text(NewQuestion()).replace("\r\n", "\n"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_TRUE(noIsDefault);
    EXPECT_TRUE(modalOverTheWindow);

    struct Answer {
        const char* name;
        std::function<void(QMessageBox*)> give;
        bool clears;
    };
    const Answer answers[] = {
        {"No", [](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, false},
        {"Esc", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, false},
        {"the close button", [](QMessageBox* box) { box->close(); }, false},
        {"Yes", [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); }, true},
    };
    for (const Answer& answer : answers) {
        SCOPED_TRACE(answer.name);
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_))
            << "the window did not become active again within 5 s";
        Box("txtAuthor")->setFocus();
        const auto answering = AnswerNextModal(
            [&](QWidget* modal) { answer.give(qobject_cast<QMessageBox*>(modal)); });
        QTest::keyClick(Box("txtAuthor"), Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(Box("txtAuthor")->text(), answer.clears ? "" : "a");
        EXPECT_EQ(window_.Document().Changed(), answer.clears ? 0 : 1);
        EXPECT_EQ(window_.focusWidget(), Box("txtAuthor"));
    }
}

TEST_F(FrmEditorDialog, OpenShortcutShowsTheFilteredDialogAndACancelChangesNothing) {
    TempDir dir;
    const std::string file = dir.File("a.kvd");
    WriteBytes(file, "[Quelvar]\r\nTagName=x\r\n");
    window_.Document().OpenFile(file);
    QString title;
    QStringList filters, patterns, selected;
    const auto answering = AnswerNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        // The dialog is the window's file dialog control.
        ASSERT_EQ(window_.findChild<QObject*>("CD"), dialog);
        title = dialog->windowTitle();
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        filters = dialog->nameFilters();
        patterns = dialog->findChild<QFileSystemModel*>()->nameFilters();
        selected = dialog->selectedFiles();
        dialog->reject();
    });
    QTest::keyClick(Box("txtAuthor"), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(title, Text(kOpenTitle));
    EXPECT_EQ(filters, QStringList{"Quelvar(*.kvd)"});
    EXPECT_EQ(patterns, QStringList{"*.kvd"});
    EXPECT_EQ(selected, QStringList{QString::fromStdString(file)});
    EXPECT_EQ(window_.Document().CurrentFile(), file);
    EXPECT_EQ(Box("txtTagName")->text(), "x");
}

TEST_F(FrmEditorDialog, SaveShortcutWritesTheNameGivenWithoutAddingAnExtension) {
    TempDir dir;
    const std::string file = dir.File("plain");
    // Opening a file first makes the dialog start in its folder, as it does for a user.
    WriteBytes(dir.File("first.kvd"), "[Quelvar]\r\n");
    ASSERT_TRUE(window_.Document().OpenFile(dir.File("first.kvd")));
    Box("txtTagName")->insert("表");
    const auto answering = AnswerNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), Text(kSaveTitle));
        // A save dialog, which asks before replacing a file that exists.
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        // The dialog selects the opened file in its list once the folder has loaded, which may
        // be after this answer; a selection in the list outranks the typed name. So the list
        // selection is cleared and the answer waits until the dialog stands on the new name.
        dialog->selectFile("plain");
        for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
            view->clearSelection();
        }
        if (dialog->selectedFiles() == QStringList{QString::fromStdString(file)}) {
            static_cast<QDialog*>(dialog)->accept();
        }
    });
    QTest::keyClick(Box("txtTagName"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window_.Document().CurrentFile(), file);
    EXPECT_NE(ReadBytes(file).find("TagName=\x95\x5C\r\n"), std::string::npos);
}

// The File menu's items in order, the separator after Save, each with its caption and shortcut.
TEST_F(FrmEditor, EveryItemOfTheFileMenuWithItsShortcut) {
    const auto* file = window_.findChild<QMenu*>(Text(layout::kFileMenuName));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title().toStdString(), layout::kFileMenuCaption);
    const QList<QAction*> actions = file->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(layout::kFileMenu.size() + 1));
    const QAction* separator = actions[layout::kItemsBeforeSeparator];
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_EQ(separator->objectName().toStdString(), layout::kSeparatorName);
    for (std::size_t i = 0; i < layout::kFileMenu.size(); ++i) {
        const layout::MenuItem& item = layout::kFileMenu[i];
        const QAction* action =
            actions[static_cast<qsizetype>(i < layout::kItemsBeforeSeparator ? i : i + 1)];
        EXPECT_EQ(action->objectName().toStdString(), item.name) << i;
        EXPECT_EQ(action->text().toStdString(), item.caption) << item.name;
        const std::string shortcut = item.ctrlKey ? std::string("Ctrl+") + item.ctrlKey : "";
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText).toStdString(), shortcut)
            << item.name;
    }
}

TEST_F(FrmEditor, QuitClosesTheWindowWithoutAQuestion) {
    QTest::keyClicks(Box("txtTagName"), "unsaved");
    window_.findChild<QAction*>("mnuQuit")->trigger();
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(msgBox_.calls.empty());
}

}  // namespace
