// The recovery copy a save cut short leaves beside a template: Open asks whether to load it,
// removes a leftover equal to the file, and a save of the template removes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "EditorDocument.h"
#include "EditorFakes.h"
#include "EditorMessages.h"
#include "FaultHook.h"
#include "RecoveryCopy.h"
#include "TempDir.h"

using namespace quelvar;
using namespace testing_support;

namespace {

const std::string kOld = "[Quelvar]\r\nTagName=old\r\n";
const std::string kNew = "[Quelvar]\r\nTagName=recovered\r\n";

class RecoveryCopy : public ::testing::Test {
  protected:
    RecoveryCopy() { doc_.Form_Load(); }

    void Save() {
        dialog_.choices.push_back(doc_.CurrentFile());
        doc_.mnuSave_Click();
    }

    TempDir dir_;
    const std::string file_ = dir_.File("t.kvd");
    // The name is fixed for good: copies left by one version are found by the next.
    const std::string copy_ = dir_.File(".quelvar-recovery-be4dc97135e41326");
    FakeMsgBox msgBox_;
    FakeDialog dialog_;
    FakeWindow window_;
    EditorDocument doc_{msgBox_, dialog_, window_};
};

TEST_F(RecoveryCopy, OpenAsksAboutACopyThatDiffersAndLoadsWhatTheUserChooses) {
    struct Row {
        const char* name;
        std::optional<std::string> copy;
        int answer;
        bool asked;
        const char* tagName;
        const char* listing;
    };
    const std::vector<Row> rows = {
        {"differing copy, Yes", kNew, mb::kIdYes, true, "recovered",
         ".quelvar-recovery-be4dc97135e41326\nt.kvd\n"},
        {"differing copy, No", kNew, mb::kIdNo, true, "old",
         ".quelvar-recovery-be4dc97135e41326\nt.kvd\n"},
        {"copy equal to the file", kOld, mb::kIdYes, false, "old", "t.kvd\n"},
        {"no copy", std::nullopt, mb::kIdYes, false, "old", "t.kvd\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(copy_);
        WriteBytes(file_, kOld);
        if (row.copy) {
            WriteBytes(copy_, *row.copy);
        }
        msgBox_.calls.clear();
        msgBox_.answers = {row.answer};
        EXPECT_TRUE(doc_.OpenFile(file_));
        ASSERT_EQ(msgBox_.calls.size(), row.asked ? 1u : 0u);
        if (row.asked) {
            EXPECT_EQ(msgBox_.calls[0].prompt, RecoveryQuestion(file_, copy_));
            EXPECT_EQ(msgBox_.calls[0].style, 36);  // Yes/No with the question mark
            EXPECT_EQ(msgBox_.calls[0].title, kOpenTitle);
        }
        EXPECT_EQ(doc_.Fields().Text(kTagName), row.tagName);
        EXPECT_EQ(doc_.CurrentFile(), file_);
        EXPECT_EQ(ReadBytes(file_), kOld) << "Open never writes the template";
        EXPECT_EQ(dir_.Listing(), row.listing);
    }
}

TEST_F(RecoveryCopy, SavingTheRecoveredTemplateWritesItAndRemovesTheCopy) {
    WriteBytes(file_, kOld);
    WriteBytes(copy_, kNew);
    msgBox_.answers = {mb::kIdYes};
    ASSERT_TRUE(doc_.OpenFile(file_));
    Save();
    EXPECT_EQ(ReadBytes(file_),
              "[Quelvar]\r\nTagName=recovered\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\n"
              "Element1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\n"
              "Element2=\r\nElement3=\r\nIndex=\r\n");
    EXPECT_EQ(dir_.Listing(), "t.kvd\n");
}

// The copy is the whole template a save was writing: a save of what was loaded from it keeps
// every section and comment of it, and nothing of the file that a crash cut short.
TEST_F(RecoveryCopy, SavingTheRecoveredTemplateWritesTheCopysBytesWithTheFields) {
    const std::string copy =
        "; kept by hand\r\n[Quelvar]\r\nTagName=recovered\r\nEdited=\r\nBaseElement=b\r\n"
        "CloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\n"
        "Element1=\r\nElement2=\r\nElement3=\r\nIndex=\r\n\r\n[Other]\r\nKey=value\r\n";
    struct Row {
        const char* name;
        bool clearFirst;  // New between Open and Save
        bool edit;        // the author typed in between
        const char* saved;
    };
    const std::vector<Row> rows = {
        {"Yes, Save", false, false, copy.c_str()},
        {"Yes, an edit, Save", false, true,
         "; kept by hand\r\n[Quelvar]\r\nTagName=recovered\r\nEdited=me\r\nBaseElement=b\r\n"
         "CloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\n"
         "Element1=\r\nElement2=\r\nElement3=\r\nIndex=\r\n\r\n[Other]\r\nKey=value\r\n"},
        {"Yes, New, an edit, Save", true, true,
         "; kept by hand\r\n[Quelvar]\r\nTagName=\r\nEdited=me\r\nBaseElement=\r\n"
         "CloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\n"
         "Element1=\r\nElement2=\r\nElement3=\r\nIndex=\r\n\r\n[Other]\r\nKey=value\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteBytes(file_, "[Quelvar]\r\nTagName=old\r\nEdited=half wri");
        WriteBytes(copy_, copy);
        msgBox_.answers = {mb::kIdYes, mb::kIdYes};
        ASSERT_TRUE(doc_.OpenFile(file_));
        if (row.clearFirst) {
            doc_.mnuNew_Click();
        }
        if (row.edit) {
            doc_.Fields().SetText(kAuthor, "me");
        }
        Save();
        EXPECT_EQ(ReadBytes(file_), row.saved);
        EXPECT_EQ(dir_.Listing(), "t.kvd\n");
    }
}

// Saved under another name, what was loaded from a copy goes into that file as into any other:
// its own sections stay, and the template and its copy wait for a save of their own.
TEST_F(RecoveryCopy, SavingRecoveredFieldsUnderAnotherNameKeepsThatFilesSections) {
    const std::string damaged = "[Quelvar]\r\nTagName=old\r\nEdited=half wri";
    WriteBytes(file_, damaged);
    WriteBytes(copy_, "[Quelvar]\r\nTagName=recovered\r\n\r\n[CopyOnly]\r\nKey=copy\r\n");
    const std::string other = dir_.File("other.kvd");
    WriteBytes(other, "; mine\r\n[Mine]\r\nKey=mine\r\n");
    msgBox_.answers = {mb::kIdYes};
    ASSERT_TRUE(doc_.OpenFile(file_));
    dialog_.choices.push_back(other);
    doc_.mnuSave_Click();
    EXPECT_EQ(ReadBytes(other),
              "; mine\r\n[Mine]\r\nKey=mine\r\n[Quelvar]\r\nEdited=\r\nBaseElement=\r\n"
              "CloseTag=\r\nElement1Default=\r\nElement2Default=\r\nElement3Default=\r\n"
              "Element1=\r\nElement2=\r\nElement3=\r\nIndex=\r\nTagName=recovered\r\n");
    EXPECT_EQ(ReadBytes(file_), damaged);
    EXPECT_EQ(dir_.Listing(), ".quelvar-recovery-be4dc97135e41326\nother.kvd\nt.kvd\n");
}

// A copy that cannot be compared with the file may hold the only whole template: the user is
// told where it is, and the file opens as it is.
TEST_F(RecoveryCopy, ACopyThatCannotBeCheckedIsToldOfAndTheFileOpens) {
    struct Row {
        const char* name;
        bool copyIsAFolder;
        int lockFault;  // the first lock fails with this
        std::errc reason;
    };
    const std::vector<Row> rows = {
        {"the copy is a folder", true, 0, std::errc::is_a_directory},
        {"the template's lock is held", false, EBUSY, std::errc::device_or_resource_busy},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(copy_);
        WriteBytes(file_, kOld);
        if (row.copyIsAFolder) {
            std::filesystem::create_directory(copy_);
        } else {
            WriteBytes(copy_, kNew);
        }
        msgBox_.calls.clear();
        int locks = 0;
        {
            const IniAccess::internal::ScopedFaultHook hook(
                [&](IniAccess::internal::FileOperation operation, const std::string&) {
                    return operation == IniAccess::internal::FileOperation::Lock && ++locks == 1
                               ? row.lockFault
                               : 0;
                });
            EXPECT_TRUE(doc_.OpenFile(file_));
        }
        ASSERT_EQ(msgBox_.calls.size(), 1u);
        EXPECT_EQ(msgBox_.calls[0].prompt,
                  RecoveryUncheckedMessage(
                      copy_, IniAccess::ProfileIoError(row.copyIsAFolder ? copy_ : file_,
                                                       std::make_error_code(row.reason))));
        EXPECT_EQ(msgBox_.calls[0].style, 48);  // OK with the exclamation mark
        EXPECT_EQ(msgBox_.calls[0].title, kOpenTitle);
        EXPECT_EQ(doc_.Fields().Text(kTagName), "old");
        EXPECT_EQ(doc_.CurrentFile(), file_);
        EXPECT_EQ(dir_.Listing(), ".quelvar-recovery-be4dc97135e41326\nt.kvd\n");
    }
}

TEST_F(RecoveryCopy, SavingAfterNoAlsoRemovesTheCopy) {
    WriteBytes(file_, kOld);
    WriteBytes(copy_, kNew);
    msgBox_.answers = {mb::kIdNo};
    ASSERT_TRUE(doc_.OpenFile(file_));
    Save();
    EXPECT_EQ(dir_.Listing(), "t.kvd\n");
}

// The copy's name has a fixed length, so a template whose name takes all 255 bytes has one.
TEST_F(RecoveryCopy, ATemplateWithTheLongestNameHasACopyOfItsOwn) {
    const std::string longest = dir_.File(std::string(251, 'a') + ".kvd");
    EXPECT_EQ(IniAccess::RecoveryCopyPath(longest),
              dir_.File(".quelvar-recovery-238a64002bd98dd7"));
    WriteBytes(longest, kOld);
    WriteBytes(dir_.File(".quelvar-recovery-238a64002bd98dd7"), kNew);
    msgBox_.answers = {mb::kIdYes};
    ASSERT_TRUE(doc_.OpenFile(longest));
    EXPECT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(doc_.Fields().Text(kTagName), "recovered");
    Save();
    EXPECT_EQ(dir_.Listing(), std::string(251, 'a') + ".kvd\n");
}

}  // namespace
