// The command line, a file named on it, and Qt's texts in the desktop's language.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include "CommandLine.h"
#include "EditorFakes.h"
#include "EditorMessages.h"
#include "FaultHook.h"
#include "ModalAnswer.h"
#include "QtMsgBox.h"
#include "Startup.h"
#include "TempDir.h"
#include "Translations.h"
#include "frmEditor.h"

using namespace quelvar;
using namespace quelvar::qt;
using testing_support::AnswerNextModal;
using testing_support::FakeDialog;
using testing_support::FakeMsgBox;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

TEST(StartupCommandLine, TakesOneFileAndRefusesWhatItDoesNotKnow) {
    EXPECT_EQ(ReadCommandLine({"quelvar-edit"}).file, "");
    EXPECT_FALSE(ReadCommandLine({"quelvar-edit"}).exitCode);
    const CommandLine one = ReadCommandLine({"quelvar-edit", "テンプレート.kvd"});
    EXPECT_EQ(one.file, "テンプレート.kvd");
    EXPECT_FALSE(one.exitCode);
    EXPECT_EQ(ReadCommandLine({"quelvar-edit", "--", "-dash.kvd"}).file, "-dash.kvd");
    EXPECT_EQ(ReadCommandLine({"quelvar-edit", "a.kvd", "b.kvd"}).exitCode, 2);
    EXPECT_EQ(ReadCommandLine({"quelvar-edit", "--bogus"}).exitCode, 2);

    char program[] = "quelvar-edit", help[] = "--help", version[] = "-v", file[] = "x.kvd",
         dashes[] = "--";
    char* helpArgs[] = {program, file, help};
    char* versionArgs[] = {program, version};
    char* fileArgs[] = {program, file};
    char* escapedArgs[] = {program, dashes, help};
    EXPECT_TRUE(AsksForHelpOrVersion(3, helpArgs));
    EXPECT_TRUE(AsksForHelpOrVersion(2, versionArgs));
    EXPECT_FALSE(AsksForHelpOrVersion(2, fileArgs));
    EXPECT_FALSE(AsksForHelpOrVersion(3, escapedArgs));
}

class Startup : public ::testing::Test {
  protected:
    static constexpr int kStartGiveUpMs = 5000;

    void TearDown() override { IniAccess::internal::SetFaultHook({}); }

    // Starts with the file as the program does and returns the message shown, if any.
    QString StartWith(const std::string& file) {
        window_.show();
        OpenOnStart(window_, file);
        // Either the file loads or its message comes up.
        QElapsedTimer waited;
        waited.start();
        while (msgBox_.calls.empty() && window_.Document().CurrentFile().empty()) {
            if (waited.elapsed() > kStartGiveUpMs) {
                ADD_FAILURE() << "neither the file nor a message came within " << kStartGiveUpMs
                              << " ms of the start";
                break;
            }
            QTest::qWait(10);
        }
        return msgBox_.calls.empty() ? QString() : QString::fromStdString(msgBox_.calls[0].prompt);
    }

    TempDir dir_;
    FakeMsgBox msgBox_;
    FakeDialog dialog_;
    frmEditor window_{msgBox_, dialog_};
};

TEST_F(Startup, AFileOnTheCommandLineOpensAsOpenOpensIt) {
    const std::string file = dir_.File("start.kvd");
    WriteBytes(file, "[Quelvar]\r\nTagName=\x83\x5E\x83\x4F\r\nIndex=B\r\n");
    EXPECT_EQ(StartWith(file), "");
    EXPECT_EQ(window_.Document().CurrentFile(), file);
    EXPECT_EQ(window_.findChild<QLineEdit*>("txtTagName")->text(), "タグ");
    EXPECT_EQ(window_.findChild<QLineEdit*>("txtIndex")->text(), "B");
}

TEST_F(Startup, AMissingFileGetsOpensMessageAndAnEmptyWindow) {
    const QString message = StartWith(dir_.File("missing.kvd"));
    EXPECT_EQ(
        message.toStdString(),
        OpenFailedMessage(IniAccess::ProfileIoError(
            dir_.File("missing.kvd"), std::make_error_code(std::errc::no_such_file_or_directory))));
    EXPECT_EQ(window_.Document().CurrentFile(), "");
    EXPECT_EQ(window_.findChild<QLineEdit*>("txtTagName")->text(), "");
}

TEST_F(Startup, AnUnreadableFileGetsOpensMessageAndAnEmptyWindow) {
    const std::string file = dir_.File("locked.kvd");
    WriteBytes(file, "[Quelvar]\r\nTagName=x\r\n");
    IniAccess::internal::SetFaultHook(
        [](IniAccess::internal::FileOperation operation, const std::string&) {
            return operation == IniAccess::internal::FileOperation::Open ? EACCES : 0;
        });
    const QString message = StartWith(file);
    EXPECT_EQ(message.toStdString(),
              OpenFailedMessage(IniAccess::ProfileIoError(
                  file, std::make_error_code(std::errc::permission_denied))));
    EXPECT_EQ(window_.Document().CurrentFile(), "");
    EXPECT_EQ(window_.findChild<QLineEdit*>("txtTagName")->text(), "");
}

TEST(StartupTranslations, QtsButtonsSpeakJapaneseOnAJapaneseDesktop) {
    const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm";
    if (!QFile::exists(file)) {
        GTEST_SKIP() << file.toStdString() << " is not installed (qt6-translations-l10n)";
    }
    QTranslator* translator = InstallQtTranslations(QLocale(QLocale::Japanese, QLocale::Japan));
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translations are not installed";
    QString yes, no;
    const auto answering = AnswerNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        yes = box->button(QMessageBox::Yes)->text();
        no = box->button(QMessageBox::No)->text();
        box->button(QMessageBox::No)->click();
    });
    QtMsgBox msgBox;
    EXPECT_EQ(msgBox.Show("本当に？", 292, "題名"), 7);
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_TRUE(yes.contains("はい")) << yes.toStdString();
    EXPECT_TRUE(no.contains("いいえ")) << no.toStdString();
}

}  // namespace
