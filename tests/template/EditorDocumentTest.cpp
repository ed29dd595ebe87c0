#include "EditorDocument.h"

#include <gtest/gtest.h>

#include <vector>

#include "EditorFakes.h"
#include "EditorMessages.h"
#include "FaultHook.h"
#include "TempDir.h"
#include "TemplateTexts.h"

using namespace quelvar;
using namespace testing_support;
using namespace std::string_literals;

namespace {

class EditorDocumentCommands : public ::testing::Test {
  protected:
    EditorDocumentCommands() { doc_.Form_Load(); }
    void Open(const std::string& path) {
        dialog_.choices.push_back(path);
        doc_.mnuOpen_Click();
    }
    void Save(const std::string& path) {
        dialog_.choices.push_back(path);
        doc_.mnuSave_Click();
    }

    TempDir dir_;
    FakeMsgBox msgBox_;
    FakeDialog dialog_;
    FakeWindow window_;
    EditorDocument doc_{msgBox_, dialog_, window_};
};

TEST_F(EditorDocumentCommands, StartsEmptyAndUnchanged) {
    EXPECT_EQ(doc_.Changed(), 0);
    EXPECT_EQ(doc_.CurrentFile(), "");
    EXPECT_EQ(Texts(doc_.Fields()), std::vector<std::string>(kFieldCount));
}

TEST_F(EditorDocumentCommands, EveryFieldsChangeMarksTheTemplateChanged) {
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        doc_.Form_Load();
        doc_.Fields().SetText(field, doc_.Fields().Text(field));
        EXPECT_EQ(doc_.Changed(), 0) << "the same text is no change";
        doc_.Fields().SetText(field, doc_.Fields().Text(field) + "x");
        EXPECT_EQ(doc_.Changed(), 1) << TemplateFields[field].textBox;
    }
}

TEST_F(EditorDocumentCommands, NewRightAfterStartClearsWithoutAsking) {
    doc_.mnuNew_Click();
    EXPECT_TRUE(msgBox_.calls.empty());
    EXPECT_EQ(doc_.Changed(), 0);
}

TEST_F(EditorDocumentCommands, NewAsksBeforeDiscardingChanges) {
    doc_.Fields().SetText(kTagName, "a");
    doc_.mnuNew_Click();
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].prompt, NewQuestion());
    EXPECT_EQ(msgBox_.calls[0].style, 292);
    EXPECT_EQ(msgBox_.calls[0].title, kNewTitle);
    // No keeps everything, and the question comes again next time.
    EXPECT_EQ(doc_.Fields().Text(kTagName), "a");
    EXPECT_EQ(doc_.Changed(), 1);

    // Any answer but Yes keeps them too: a box closed by Escape or its close box (Cancel), a
    // failing call (0), and anything else the platform may return.
    for (const int answer : {mb::kIdNo, 2, 0, -1, mb::kIdOk}) {
        msgBox_.answers.push_back(answer);
        doc_.mnuNew_Click();
        EXPECT_EQ(doc_.Fields().Text(kTagName), "a") << answer;
        EXPECT_EQ(doc_.Changed(), 1) << answer;
    }

    msgBox_.answers.push_back(mb::kIdYes);
    doc_.mnuNew_Click();
    EXPECT_EQ(msgBox_.calls.size(), 7u);
    EXPECT_EQ(Texts(doc_.Fields()), std::vector<std::string>(kFieldCount));
    EXPECT_EQ(doc_.Changed(), 0);
}

TEST_F(EditorDocumentCommands, OpenGoesThroughTheDialogAndMarksLoadedFieldsChanged) {
    const std::string file = dir_.File("img.kvd");
    WriteBytes(file, "[Quelvar]\r\nTagName=img\r\nIndex=B1\r\n");
    Open(file);
    ASSERT_EQ(dialog_.shown.size(), 1u);
    EXPECT_TRUE(dialog_.shown[0].open);
    EXPECT_EQ(dialog_.shown[0].title, kOpenTitle);
    EXPECT_EQ(dialog_.shown[0].filter, kTemplateFilter);
    EXPECT_EQ(dialog_.shown[0].initialName, "");
    EXPECT_EQ(doc_.CurrentFile(), file);
    EXPECT_EQ(doc_.Fields().Text(kTagName), "img");
    EXPECT_EQ(doc_.Fields().Text(kIndex), "B1");
    EXPECT_EQ(doc_.Changed(), 1);
    EXPECT_TRUE(msgBox_.calls.empty());

    // The load counts as a change: New asks. The dialogs start from the opened file, after New too.
    msgBox_.answers.push_back(mb::kIdYes);
    doc_.mnuNew_Click();
    EXPECT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(doc_.CurrentFile(), file);
    doc_.mnuSave_Click();
    EXPECT_FALSE(dialog_.shown.back().open);
    EXPECT_EQ(dialog_.shown.back().title, kSaveTitle);
    EXPECT_EQ(dialog_.shown.back().filter, kTemplateFilter);
    EXPECT_EQ(dialog_.shown.back().initialName, file);
}

TEST_F(EditorDocumentCommands, OpeningWhatTheFieldsAlreadyHoldChangesNothing) {
    const std::string file = dir_.File("empty.kvd");
    WriteBytes(file, "[Quelvar]\r\n");
    Open(file);
    EXPECT_EQ(doc_.Changed(), 0);
    EXPECT_EQ(doc_.CurrentFile(), file);
}

TEST_F(EditorDocumentCommands, CancellingADialogChangesNothing) {
    doc_.Fields().SetText(kTagName, "kept");
    dialog_.choices.push_back(std::nullopt);
    doc_.mnuOpen_Click();
    dialog_.choices.push_back(std::nullopt);
    doc_.mnuSave_Click();
    EXPECT_EQ(dialog_.shown.size(), 2u);
    EXPECT_EQ(doc_.CurrentFile(), "");
    EXPECT_EQ(doc_.Fields().Text(kTagName), "kept");
    EXPECT_TRUE(msgBox_.calls.empty());
    EXPECT_EQ(dir_.Listing(), "");
}

TEST_F(EditorDocumentCommands, SaveWritesTheChosenFileAndKeepsTheChangedMark) {
    doc_.Fields().SetText(kTagName, "タグ");
    const std::string file = dir_.File("new.kvd");
    Save(file);
    EXPECT_EQ(doc_.CurrentFile(), file);
    EXPECT_EQ(doc_.Changed(), 1);
    EXPECT_TRUE(msgBox_.calls.empty());
    // No extension is added to the name given.
    const std::string bare = dir_.File("bare");
    Save(bare);
    EXPECT_EQ(dir_.Listing(), "bare\nnew.kvd\n");
    EXPECT_NE(ReadBytes(bare).find("TagName=\x83\x5E\x83\x4F\r\n"), std::string::npos);
}

TEST_F(EditorDocumentCommands, QuitUnloadsTheWindowWithoutAskingOrSaving) {
    doc_.Fields().SetText(kTagName, "unsaved");
    doc_.mnuQuit_Click();
    EXPECT_EQ(window_.unloads, 1);
    EXPECT_TRUE(msgBox_.calls.empty());
    EXPECT_TRUE(dialog_.shown.empty());
}

TEST_F(EditorDocumentCommands, AFailedSaveShowsWhyAndThatNothingWasSaved) {
    const std::string file = dir_.File("t.kvd");
    const std::string original = "[Quelvar]\r\nTagName=old\r\nIndex=old\r\n";
    WriteBytes(file, original);
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        doc_.Fields().SetText(field, "new" + std::to_string(field));
    }
    {
        const IniAccess::internal::ScopedFaultHook hook(
            [&](IniAccess::internal::FileOperation operation, const std::string&) {
                return operation == IniAccess::internal::FileOperation::Rename ? ENOSPC : 0;
            });
        Save(file);
    }

    ASSERT_EQ(msgBox_.calls.size(), 1u);
    const auto& message = msgBox_.calls[0];
    EXPECT_EQ(message.title, kSaveTitle);
    EXPECT_EQ(message.style, mb::kIconError);
    EXPECT_EQ(message.prompt, SaveFailedMessage(TemplateSaveError(IniAccess::ProfileIoError(
                                  file, std::make_error_code(std::errc::no_space_on_device)))));
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_EQ(dir_.Listing(), "t.kvd\n");
}

TEST_F(EditorDocumentCommands, AFailureAtAnyStepOfASaveIsShownAndLeavesTheFileAsItWas) {
    const std::string file = dir_.File("t.kvd");
    const std::string original = "; mine\r\n[Quelvar]\r\nTagName=old\r\n";
    doc_.Fields().SetText(kTagName, "new");
    using IniAccess::internal::FileOperation;
    for (const FileOperation failing :
         {FileOperation::Open, FileOperation::Read, FileOperation::Lock, FileOperation::Write,
          FileOperation::Flush, FileOperation::Rename}) {
        WriteBytes(file, original);
        msgBox_.calls.clear();
        {
            const IniAccess::internal::ScopedFaultHook hook(
                [failing](FileOperation operation, const std::string&) {
                    return operation == failing ? EIO : 0;
                });
            Save(file);
        }
        ASSERT_EQ(msgBox_.calls.size(), 1u) << static_cast<int>(failing);
        EXPECT_EQ(msgBox_.calls[0].title, kSaveTitle);
        EXPECT_EQ(msgBox_.calls[0].prompt,
                  SaveFailedMessage(TemplateSaveError(IniAccess::ProfileIoError(
                      file, std::error_code(EIO, std::generic_category())))));
        EXPECT_EQ(ReadBytes(file), original);
        EXPECT_EQ(dir_.Listing(), "t.kvd\n");
    }
}

TEST_F(EditorDocumentCommands, SavingIntoAFolderIsReportedWithTheReason) {
    Save(dir_.path().string());
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].prompt,
              SaveFailedMessage(TemplateSaveError(IniAccess::ProfileIoError(
                  dir_.path().string(), std::make_error_code(std::errc::is_a_directory)))));
}

TEST_F(EditorDocumentCommands, TextTheFileCannotHoldIsNamedAndNothingIsWritten) {
    const std::string file = dir_.File("t.kvd");
    WriteBytes(file, "[Quelvar]\r\nTagName=old\r\n");
    doc_.Fields().SetText(kTagName, "ok");
    doc_.Fields().SetText(kDefault2, "a😀b");
    doc_.Fields().SetText(kAuthor, "¥");
    Save(file);
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    const auto& message = msgBox_.calls[0];
    EXPECT_EQ(message.title, kSaveTitle);
    EXPECT_EQ(message.style, mb::kIconWarning);
    EXPECT_NE(message.prompt.find("Author：「¥」 U+00A5"), std::string::npos) << message.prompt;
    EXPECT_NE(message.prompt.find("Default (Element2)：「😀」 U+1F600"), std::string::npos);
    EXPECT_EQ(message.prompt.find("TagName"), std::string::npos);
    EXPECT_EQ(ReadBytes(file), "[Quelvar]\r\nTagName=old\r\n");
}

// Each field alone holding what the file cannot store: nothing is written, and the message names
// that field and no other.
TEST_F(EditorDocumentCommands, EveryFieldIsCheckedBeforeAnythingIsWritten) {
    const std::string file = dir_.File("t.kvd");
    const std::string original = "[Quelvar]\r\nTagName=old\r\n";
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        for (const std::string& bad : {"a😀"s, "a\0b"s}) {
            WriteBytes(file, original);
            msgBox_.calls.clear();
            for (std::size_t other = 0; other < kFieldCount; ++other) {
                doc_.Fields().SetText(other, other == field ? bad : "ok");
            }
            Save(file);
            ASSERT_EQ(msgBox_.calls.size(), 1u) << field;
            const std::string& prompt = msgBox_.calls[0].prompt;
            EXPECT_EQ(msgBox_.calls[0].style, mb::kIconWarning) << field;
            for (std::size_t named = 0; named < kFieldCount; ++named) {
                const std::string name = FieldName(named);
                const bool shown = prompt.find("\r\n" + name + "：") != std::string::npos;
                EXPECT_EQ(shown, named == field) << name << " for field " << field;
            }
            EXPECT_EQ(ReadBytes(file), original) << field;
            EXPECT_EQ(dir_.Listing(), "t.kvd\n");
        }
    }
}

TEST_F(EditorDocumentCommands, AFailedOpenChangesNothingAndSaysWhy) {
    const std::string first = dir_.File("first.kvd");
    WriteBytes(first, "[Quelvar]\r\nTagName=first\r\n");
    Open(first);
    const auto before = Texts(doc_.Fields());

    const std::string second = dir_.File("second.kvd");
    WriteBytes(second, "[Quelvar]\r\nTagName=second\r\nEdited=someone\r\n");
    {
        const IniAccess::internal::ScopedFaultHook hook(
            [&](IniAccess::internal::FileOperation operation, const std::string&) {
                return operation == IniAccess::internal::FileOperation::Read ? EIO : 0;
            });
        Open(second);
    }
    EXPECT_EQ(Texts(doc_.Fields()), before);
    EXPECT_EQ(doc_.CurrentFile(), first);
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].title, kOpenTitle);
    EXPECT_EQ(msgBox_.calls[0].style, mb::kIconError);
    EXPECT_EQ(msgBox_.calls[0].prompt, OpenFailedMessage(IniAccess::ProfileIoError(
                                           second, std::error_code(EIO, std::generic_category()))));

    // A file that vanished after it was chosen, and a folder, fail the same way.
    Open(dir_.File("vanished.kvd"));
    Open(dir_.path().string());
    EXPECT_EQ(msgBox_.calls.size(), 3u);
    EXPECT_EQ(msgBox_.calls[1].prompt,
              OpenFailedMessage(IniAccess::ProfileIoError(
                  dir_.File("vanished.kvd"),
                  std::make_error_code(std::errc::no_such_file_or_directory))));
    EXPECT_EQ(msgBox_.calls[2].prompt,
              OpenFailedMessage(IniAccess::ProfileIoError(
                  dir_.path().string(), std::make_error_code(std::errc::is_a_directory))));
    EXPECT_EQ(Texts(doc_.Fields()), before);
    EXPECT_EQ(doc_.CurrentFile(), first);
}

TEST_F(EditorDocumentCommands, OpenWarnsAboutValuesItCouldNotShowAsStored) {
    const std::string file = dir_.File("long.kvd");
    WriteBytes(file, "[Quelvar]\r\nElement1Default=" + std::string(300, 'x') +
                         "\r\nCloseTag=\x85\x40\r\n");
    Open(file);
    EXPECT_EQ(doc_.CurrentFile(), file);
    EXPECT_EQ(doc_.Fields().Text(kDefault1), std::string(255, 'x'));
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    const auto& message = msgBox_.calls[0];
    EXPECT_EQ(message.title, kOpenTitle);
    EXPECT_EQ(message.style, mb::kIconWarning);
    LoadReport report;
    report.truncated = {kDefault1};
    report.repaired = {kCloseTag};
    EXPECT_EQ(message.prompt, LoadWarningMessage(report));
}

}  // namespace
