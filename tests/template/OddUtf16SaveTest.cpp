// A UTF-16 file with an odd number of bytes and a lone surrogate: Open shows both as U+FFFD and
// warns that saving stores them as shown; Save then writes valid UTF-16 that reads back so.
#include <gtest/gtest.h>

#include <string>

#include "EditorDocument.h"
#include "EditorFakes.h"
#include "TempDir.h"

using namespace quelvar;
using namespace testing_support;
using namespace std::string_literals;

namespace {

// ASCII text as UTF-16LE, for writing the literal files below.
std::string Le(const std::string& ascii) {
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const std::string kKeys =
    Le("[Quelvar]\r\nEdited=\r\nBaseElement=\r\nCloseTag=\r\nElement1Default=\r\n"
       "Element2Default=\r\nElement3Default=\r\nElement1=\r\nElement2=\r\nElement3=\r\n");

TEST(OddUtf16Save, OpenThenSaveWritesValidUtf16ThatReadsBackAsShown) {
    TempDir dir;
    const std::string file = dir.File("odd.kvd");
    // A lone high surrogate (D800) inside TagName, and half a code unit (41) ending Index.
    WriteBytes(file,
               "\xFF\xFE" + kKeys + Le("TagName=a") + "\x00\xD8"s + Le("b\r\nIndex=x") + "\x41");
    FakeMsgBox msgBox;
    FakeDialog dialog;
    FakeWindow window;
    EditorDocument doc(msgBox, dialog, window);
    ASSERT_TRUE(doc.OpenFile(file));
    ASSERT_EQ(msgBox.calls.size(), 1u);
    EXPECT_NE(msgBox.calls[0].prompt.find("Saving will store them as shown."), std::string::npos);
    EXPECT_EQ(doc.Fields().Text(kTagName), "a\uFFFDb");
    EXPECT_EQ(doc.Fields().Text(kIndex), "x\uFFFD");

    dialog.choices.push_back(file);
    doc.mnuSave_Click();
    EXPECT_EQ(msgBox.calls.size(), 1u) << msgBox.calls.back().prompt;
    EXPECT_EQ(ReadBytes(file), "\xFF\xFE" + kKeys + Le("TagName=a") + "\xFD\xFF"s +
                                   Le("b\r\nIndex=x") + "\xFD\xFF"s);

    EditorDocument reopened(msgBox, dialog, window);
    ASSERT_TRUE(reopened.OpenFile(file));
    EXPECT_EQ(msgBox.calls.size(), 1u) << "valid UTF-16 reads back without a warning";
    EXPECT_EQ(reopened.Fields().Text(kTagName), "a\uFFFDb");
    EXPECT_EQ(reopened.Fields().Text(kIndex), "x\uFFFD");
}

}  // namespace
