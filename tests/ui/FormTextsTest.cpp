// The window's captions, tooltips and menu as the user sees them, written out here rather than
// taken from the tables the window is built from.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "EditorFakes.h"
#include "frmEditor.h"

using quelvar::frmEditor;
using testing_support::FakeDialog;
using testing_support::FakeMsgBox;

namespace {

class FormTexts : public ::testing::Test {
  protected:
    FakeMsgBox msgBox_;
    FakeDialog dialog_;
    frmEditor window_{msgBox_, dialog_};
};

TEST_F(FormTexts, EveryLabelLeadsToItsBoxWithItsCaptionAndTooltip) {
    const struct {
        const char* label;
        const char* caption;
        const char* box;
        const char* tooltip;
    } kRows[] = {
        {"Label1", "Tag&Name：", "txtTagName", "タグの名前を指定します。"},
        {"Label2", "&Author：", "txtAuthor", "作者名を指定します。"},
        {"Label4", "&BaseElement：", "txtBaseElement",
         "ベースエレメント(固定されている部分を入力します)"},
        {"Label6", "Element1：", "txtElement1", "指定可能要素1の要素名を入力します。"},
        {"Label7", "Default：", "txtDefault1", "指定可能要素1のデフォルトの値を入力します。"},
        {"Label8", "Element2：", "txtElement2", "指定可能要素2の要素名を入力します。"},
        {"Label9", "Default：", "txtDefault2", "指定可能要素2のデフォルトの値を入力します。"},
        {"Label10", "Element3：", "txtElement3", "指定可能要素3の要素名を入力します。"},
        {"Label11", "Default：", "txtDefault3", "指定可能要素3のデフォルトの値を入力します。"},
        {"Label3", "&Index：", "txtIndex",
         "要素を並べる順番を指定します。  B=ベースエレメント 1=指定可能要素1 "
         "2=指定可能要素2 3=指定可能要素3"},
        {"Label5", "&CloseTag：", "txtCloseTag",
         "閉じタグを入力します。使用しない場合はそのまま。"},
    };
    for (const auto& row : kRows) {
        const auto* label = window_.findChild<QLabel*>(row.label);
        const auto* box = window_.findChild<QLineEdit*>(row.box);
        ASSERT_NE(label, nullptr) << row.label;
        ASSERT_NE(box, nullptr) << row.box;
        EXPECT_EQ(label->text().toStdString(), row.caption) << row.label;
        EXPECT_EQ(label->buddy(), box) << row.label;
        EXPECT_EQ(box->toolTip().toStdString(), row.tooltip) << row.box;
    }
}

TEST_F(FormTexts, EveryItemOfTheFileMenuWithItsShortcut) {
    const struct {
        const char* name;
        const char* text;
        const char* shortcut;
    } kItems[] = {
        {"mnuNew", "&New Templete", "Ctrl+N"},
        {"mnuOpen", "&Open Templete", "Ctrl+O"},
        {"mnuSave", "&Save Templete", "Ctrl+S"},
        {"mnuSp0", "", ""},
        {"mnuQuit", "&Quit", ""},
    };
    const auto* file = window_.findChild<QMenu*>("mnuFile");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title().toStdString(), "File(&F)");
    const QList<QAction*> actions = file->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(kItems)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const auto& item = kItems[i];
        EXPECT_EQ(actions[i]->objectName().toStdString(), item.name) << i;
        EXPECT_EQ(actions[i]->isSeparator(), std::string(item.name) == "mnuSp0") << item.name;
        EXPECT_EQ(actions[i]->text().toStdString(), item.text) << item.name;
        EXPECT_EQ(actions[i]->shortcut().toString(QKeySequence::PortableText).toStdString(),
                  item.shortcut)
            << item.name;
    }
}

}  // namespace
