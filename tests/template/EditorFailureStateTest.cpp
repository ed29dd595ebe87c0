// What the document holds after an Open or Save that failed: the file it names, its changed
// mark, its fields, and where the next dialog starts.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "EditorDocument.h"
#include "EditorFakes.h"
#include "EditorMessages.h"
#include "FaultHook.h"
#include "TempDir.h"
#include "TemplateTexts.h"

using namespace quelvar;
using namespace testing_support;

namespace {

class EditorFailureState : public ::testing::TestWithParam<int> {
  protected:
    // Opens first.kvd, then sets the changed mark as the parameter says.
    void SetUp() override {
        doc_.Form_Load();
        WriteBytes(first_, "[Quelvar]\r\nTagName=first\r\n");
        dialog_.choices.push_back(first_);
        doc_.mnuOpen_Click();
        ASSERT_EQ(doc_.CurrentFile(), first_);
        ASSERT_EQ(doc_.Changed(), 1);
        if (GetParam() == 0) {
            doc_.Form_Load();
        }
    }

    // The next Open and Save dialogs are shown, cancelled, and report where they started.
    void ExpectNextDialogsStartFrom(const std::string& name, const char* what) {
        const std::size_t shown = dialog_.shown.size();
        dialog_.choices.push_back(std::nullopt);
        doc_.mnuOpen_Click();
        dialog_.choices.push_back(std::nullopt);
        doc_.mnuSave_Click();
        ASSERT_EQ(dialog_.shown.size(), shown + 2) << what;
        EXPECT_EQ(dialog_.shown[shown].initialName, name) << what;
        EXPECT_EQ(dialog_.shown[shown + 1].initialName, name) << what;
    }

    TempDir dir_;
    std::string first_ = dir_.File("first.kvd");
    FakeMsgBox msgBox_;
    FakeDialog dialog_;
    FakeWindow window_;
    EditorDocument doc_{msgBox_, dialog_, window_};
};

struct Failure {
    const char* what;
    std::function<std::string(TempDir&)> prepare;  // returns the name chosen in the dialog
    IniAccess::internal::FileOperation failing;
    int error;  // 0: no fault made
};

// An Open that fails leaves everything as it was: fields, changed mark, the file's name.
TEST_P(EditorFailureState, AFailedOpenKeepsTheFileNameTheMarkAndTheFields) {
    using IniAccess::internal::FileOperation;
    const auto existing = [](TempDir& dir) {
        WriteBytes(dir.File("second.kvd"), "[Quelvar]\r\nTagName=second\r\nEdited=x\r\n");
        return dir.File("second.kvd");
    };
    const Failure kFailures[] = {
        {"read error", existing, FileOperation::Read, EIO},
        {"open refused", existing, FileOperation::Open, EACCES},
        {"missing file", [](TempDir& dir) { return dir.File("missing.kvd"); }, FileOperation::Open,
         0},
        {"a folder", [](TempDir& dir) { return dir.path().string(); }, FileOperation::Open, 0},
    };
    for (const Failure& failure : kFailures) {
        const std::vector<std::string> before = Texts(doc_.Fields());
        const int changed = doc_.Changed();
        msgBox_.calls.clear();
        dialog_.choices.push_back(failure.prepare(dir_));
        {
            const IniAccess::internal::ScopedFaultHook hook(
                [&](FileOperation operation, const std::string&) {
                    return operation == failure.failing ? failure.error : 0;
                });
            doc_.mnuOpen_Click();
        }
        ASSERT_EQ(msgBox_.calls.size(), 1u) << failure.what;
        EXPECT_EQ(msgBox_.calls[0].title, kOpenTitle) << failure.what;
        EXPECT_EQ(doc_.CurrentFile(), first_) << failure.what;
        EXPECT_EQ(doc_.Changed(), changed) << failure.what;
        EXPECT_EQ(Texts(doc_.Fields()), before) << failure.what;
        ExpectNextDialogsStartFrom(first_, failure.what);
    }
}

// A Save that fails keeps the name chosen, so that the next try starts from it, and does not
// touch the changed mark or the fields.
TEST_P(EditorFailureState, AFailedSaveKeepsTheChosenNameTheMarkAndTheFields) {
    using IniAccess::internal::FileOperation;
    const auto existing = [](TempDir& dir) {
        WriteBytes(dir.File("second.kvd"), "[Quelvar]\r\nTagName=second\r\n");
        return dir.File("second.kvd");
    };
    const Failure kFailures[] = {
        {"no space", existing, FileOperation::Rename, ENOSPC},
        {"write error", existing, FileOperation::Write, EIO},
        {"lock refused", existing, FileOperation::Lock, EACCES},
        {"a folder", [](TempDir& dir) { return dir.path().string(); }, FileOperation::Open, 0},
        {"new file in a missing folder", [](TempDir& dir) { return dir.File("no/such.kvd"); },
         FileOperation::Open, 0},
    };
    for (const Failure& failure : kFailures) {
        const std::vector<std::string> before = Texts(doc_.Fields());
        const int changed = doc_.Changed();
        msgBox_.calls.clear();
        const std::string chosen = failure.prepare(dir_);
        dialog_.choices.push_back(chosen);
        {
            const IniAccess::internal::ScopedFaultHook hook(
                [&](FileOperation operation, const std::string&) {
                    return operation == failure.failing ? failure.error : 0;
                });
            doc_.mnuSave_Click();
        }
        ASSERT_EQ(msgBox_.calls.size(), 1u) << failure.what;
        EXPECT_EQ(msgBox_.calls[0].title, kSaveTitle) << failure.what;
        EXPECT_EQ(msgBox_.calls[0].style, mb::kIconError) << failure.what;
        EXPECT_EQ(doc_.CurrentFile(), chosen) << failure.what;
        EXPECT_EQ(doc_.Changed(), changed) << failure.what;
        EXPECT_EQ(Texts(doc_.Fields()), before) << failure.what;
        ExpectNextDialogsStartFrom(chosen, failure.what);
    }
}

TEST_P(EditorFailureState, ASaveRefusedForItsTextKeepsTheChosenNameTheMarkAndTheFields) {
    doc_.Fields().SetText(kElement3, "😀");
    if (GetParam() == 0) {
        doc_.Form_Load();
    }
    const std::vector<std::string> before = Texts(doc_.Fields());
    const std::string chosen = dir_.File("refused.kvd");
    dialog_.choices.push_back(chosen);
    doc_.mnuSave_Click();
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].style, mb::kIconWarning);
    EXPECT_EQ(doc_.CurrentFile(), chosen);
    EXPECT_EQ(doc_.Changed(), GetParam());
    EXPECT_EQ(Texts(doc_.Fields()), before);
    EXPECT_EQ(dir_.Listing(), "first.kvd\n");
    ExpectNextDialogsStartFrom(chosen, "unwritable text");
}

INSTANTIATE_TEST_SUITE_P(ChangedMark, EditorFailureState, ::testing::Values(0, 1));

}  // namespace
