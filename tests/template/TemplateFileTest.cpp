#include "TemplateFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FaultHook.h"
#include "IniAccess.h"
#include "TempDir.h"
#include "TemplateTexts.h"

using namespace quelvar;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// A template with a different text in every field, Japanese among them.
TagTemplate Filled() {
    TagTemplate t;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        t.SetText(field, std::string(TemplateFields[field].key) + " 値" + std::to_string(field));
    }
    return t;
}

class TemplateFile : public ::testing::Test {
  protected:
    TempDir dir_;
    std::string file_ = dir_.File("tag.kvd");
};

TEST_F(TemplateFile, ASavedTemplateLoadsBackUnchanged) {
    const TagTemplate saved = Filled();
    SaveTemplate(saved, file_);
    TagTemplate loaded;
    const LoadReport report = LoadTemplate(loaded, file_);
    EXPECT_EQ(Texts(loaded), Texts(saved));
    EXPECT_TRUE(report.truncated.empty());
    EXPECT_TRUE(report.repaired.empty());
}

TEST_F(TemplateFile, ANewFileHoldsTheSectionAndElevenLinesInTableOrder) {
    TagTemplate t;
    t.SetText(kTagName, "img");
    t.SetText(kIndex, "B12");
    SaveTemplate(t, file_);
    EXPECT_EQ(ReadBytes(file_),
              "[Quelvar]\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\nElement1Default=\r\n"
              "Element2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\n"
              "Index=B12\r\nTagName=img\r\n");
    TagTemplate loaded = Filled();
    LoadTemplate(loaded, file_);
    EXPECT_EQ(Texts(loaded), Texts(t));
}

TEST_F(TemplateFile, MissingKeysAndOtherSectionsLoadAsEmptyFields) {
    WriteBytes(file_, "[Other]\r\nEdited=someone\r\n[Quelvar]\r\nTagName=A\r\n");
    TagTemplate t = Filled();
    LoadTemplate(t, file_);
    std::vector<std::string> expected(kFieldCount);
    expected[kTagName] = "A";
    EXPECT_EQ(Texts(t), expected);

    WriteBytes(file_, "[Elsewhere]\r\nTagName=A\r\n");
    LoadTemplate(t, file_);
    EXPECT_EQ(Texts(t), std::vector<std::string>(kFieldCount));

    t = Filled();
    LoadTemplate(t, dir_.File("missing.kvd"));
    EXPECT_EQ(Texts(t), std::vector<std::string>(kFieldCount));
}

TEST_F(TemplateFile, SavingOverAFileKeepsItsOtherLines) {
    WriteBytes(file_,
               "; made by hand\r\n[Quelvar]\r\nTagName=old\r\nExtra=kept\r\n[Mine]\r\nx=1\r\n");
    TagTemplate t;
    t.SetText(kTagName, "new");
    SaveTemplate(t, file_);
    EXPECT_EQ(
        ReadBytes(file_),
        "; made by hand\r\n[Quelvar]\r\nTagName=new\r\nExtra=kept\r\nEdited=\r\n"
        "BaseElement=\r\nCloseTag=\r\nElement1Default=\r\nElement2Default=\r\n"
        "Element3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\nIndex=\r\n[Mine]\r\nx=1\r\n");
}

TEST_F(TemplateFile, ChangesAreAnnouncedInTableOrderAndOnlyWhenTheTextChanges) {
    TagTemplate t;
    std::vector<std::size_t> changed;
    t.AddChangeListener([&](std::size_t field) { changed.push_back(field); });
    ClearTemplate(t);
    EXPECT_TRUE(changed.empty());

    WriteBytes(file_, "[Quelvar]\r\nTagName=A\r\nEdited=me\r\n");
    LoadTemplate(t, file_);
    EXPECT_EQ(changed, (std::vector<std::size_t>{kAuthor, kTagName}));

    changed.clear();
    t.SetText(kIndex, "B");
    ClearTemplate(t);
    EXPECT_EQ(changed, (std::vector<std::size_t>{kIndex, kAuthor, kIndex, kTagName}));
}

TEST_F(TemplateFile, LoadIsAllOrNothing) {
    WriteBytes(file_, "[Quelvar]\r\nTagName=A\r\nEdited=me\r\n");
    const TagTemplate before = Filled();
    TagTemplate t = Filled();
    const IniAccess::internal::ScopedFaultHook hook(
        [&](IniAccess::internal::FileOperation operation, const std::string&) {
            return operation == IniAccess::internal::FileOperation::Read ? EIO : 0;
        });
    EXPECT_THROW(LoadTemplate(t, file_), IniAccess::ProfileIoError);
    EXPECT_EQ(Texts(t), Texts(before));
}

TEST_F(TemplateFile, LoadReportsCutAndRepairedValues) {
    WriteBytes(file_, "[Quelvar]\r\nTagName=" + std::string(300, 'a') + "\r\nIndex=B\x85\x40\r\n");
    TagTemplate t;
    const LoadReport report = LoadTemplate(t, file_);
    EXPECT_EQ(report.truncated, std::vector<std::size_t>{kTagName});
    EXPECT_EQ(report.repaired, std::vector<std::size_t>{kIndex});
    EXPECT_EQ(t.Text(kTagName), std::string(255, 'a'));
    EXPECT_EQ(t.Text(kIndex), "B・");

    // Saving stores what was shown, as the warning promised.
    SaveTemplate(t, file_);
    const std::string saved = ReadBytes(file_);
    EXPECT_NE(saved.find("TagName=" + std::string(255, 'a') + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find("Index=B\x81\x45\r\n"), std::string::npos);
    EXPECT_TRUE(LoadTemplate(t, file_).repaired.empty());
}

TEST_F(TemplateFile, UnstorableTextIsFoundInEveryFieldBeforeAnythingIsWritten) {
    WriteBytes(file_, "[Quelvar]\r\nTagName=old\r\n");
    TagTemplate t;
    t.SetText(kTagName, "ok");
    t.SetText(kAuthor, "me 😀 again 😀");
    t.SetText(kIndex, "1\n2");
    try {
        SaveTemplate(t, file_);
        FAIL() << "saved text the file cannot hold";
    } catch (const UnwritableFieldsError& error) {
        ASSERT_EQ(error.fields().size(), 2u);
        EXPECT_EQ(error.fields()[0].field, kAuthor);
        EXPECT_EQ(error.fields()[0].character, U'😀');
        EXPECT_EQ(error.fields()[1].field, kIndex);
        EXPECT_EQ(error.fields()[1].character, U'\n');
    }
    EXPECT_EQ(ReadBytes(file_), "[Quelvar]\r\nTagName=old\r\n");

    // A UTF-8 file can hold what code page 932 cannot.
    WriteBytes(file_, "\xEF\xBB\xBF[Quelvar]\r\n");
    t.SetText(kIndex, "12");
    SaveTemplate(t, file_);
    TagTemplate loaded;
    LoadTemplate(loaded, file_);
    EXPECT_EQ(loaded.Text(kAuthor), "me 😀 again 😀");
}

// A save is one transaction: whichever step fails, the first time or a later one, the file keeps
// the old template byte for byte and no temporary file is left; a save that does not fail
// stores the whole new template.
TEST_F(TemplateFile, ASaveFailingAtAnyStepLeavesTheFileByteIdentical) {
    using IniAccess::internal::FileOperation;
    const std::string original = "; mine\r\n[Quelvar]\rTagName=old\r\n\n[Other]\nk=v";
    for (const FileOperation failing :
         {FileOperation::Open, FileOperation::Read, FileOperation::Lock, FileOperation::Write,
          FileOperation::Flush, FileOperation::Rename}) {
        for (const int occurrence : {1, 2, 6}) {
            WriteBytes(file_, original);
            int seen = 0;
            bool failed = false;
            {
                const IniAccess::internal::ScopedFaultHook hook(
                    [&](FileOperation operation, const std::string&) {
                        return operation == failing && ++seen == occurrence ? EIO : 0;
                    });
                try {
                    SaveTemplate(Filled(), file_);
                } catch (const TemplateSaveError& caught) {
                    failed = true;
                    EXPECT_EQ(caught.code().value(), EIO);
                }
            }
            const std::string what = std::to_string(static_cast<int>(failing)) + " failing at " +
                                     std::to_string(occurrence);
            if (failed) {
                EXPECT_EQ(ReadBytes(file_), original) << what;
            } else {
                TagTemplate loaded;
                LoadTemplate(loaded, file_);
                EXPECT_EQ(Texts(loaded), Texts(Filled())) << what;
            }
            EXPECT_TRUE(failed || occurrence > 1) << what;
            EXPECT_EQ(dir_.Listing(), "tag.kvd\n") << what;
        }
    }
}

TEST_F(TemplateFile, ASaveWritesFlushesAndRenamesOnceInThatOrder) {
    WriteBytes(file_, "[Quelvar]\r\nTagName=old\r\n");
    std::string steps;
    {
        const IniAccess::internal::ScopedFaultHook hook(
            [&](IniAccess::internal::FileOperation operation, const std::string&) {
                using IniAccess::internal::FileOperation;
                const char* names = "ORWFNLD";  // in the order of FileOperation
                steps += names[static_cast<int>(operation)];
                return 0;
            });
        SaveTemplate(Filled(), file_);
    }
    // Open and lock the file, read it to its end, create the temporary, write, flush, rename,
    // flush the folder where the system can, and remove any recovery copy and earlier copy.
    // Windows locks a lock file beside the file first.
#ifdef _WIN32
    EXPECT_EQ(steps, "LORROWFNDD");
#else
    EXPECT_EQ(steps, "OLRROWFNFDD");
#endif
    TagTemplate loaded;
    LoadTemplate(loaded, file_);
    EXPECT_EQ(Texts(loaded), Texts(Filled()));
}

}  // namespace
