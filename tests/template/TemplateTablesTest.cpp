// The program's fixed tables, every row against the texts written out here: a wrong row
// anywhere fails.
#include <gtest/gtest.h>

#include <string>
#include <system_error>

#include "EditorMessages.h"
#include "SystemReason.h"
#include "TemplateFields.h"

using namespace quelvar;

namespace {

TEST(TemplateTables, EveryRowOfTemplateFields) {
    const struct {
        const char* textBox;
        const char* key;
        const char* label;
        const char* tooltip;
    } kRows[] = {
        {"txtAuthor", "Edited", "&Author：", "作者名を指定します。"},
        {"txtBaseElement", "BaseElement", "&BaseElement：",
         "ベースエレメント(固定されている部分を入力します)"},
        {"txtCloseTag", "CloseTag", "&CloseTag：",
         "閉じタグを入力します。使用しない場合はそのまま。"},
        {"txtDefault1", "Element1Default", "Default：",
         "指定可能要素1のデフォルトの値を入力します。"},
        {"txtDefault2", "Element2Default", "Default：",
         "指定可能要素2のデフォルトの値を入力します。"},
        {"txtDefault3", "Element3Default", "Default：",
         "指定可能要素3のデフォルトの値を入力します。"},
        {"txtElement1", "Element1", "Element1：", "指定可能要素1の要素名を入力します。"},
        {"txtElement2", "Element2", "Element2：", "指定可能要素2の要素名を入力します。"},
        {"txtElement3", "Element3", "Element3：", "指定可能要素3の要素名を入力します。"},
        {"txtIndex", "Index", "&Index：",
         "要素を並べる順番を指定します。  B=ベースエレメント 1=指定可能要素1 "
         "2=指定可能要素2 3=指定可能要素3"},
        {"txtTagName", "TagName", "Tag&Name：", "タグの名前を指定します。"},
    };
    static_assert(std::size(kRows) == kFieldCount);
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        EXPECT_EQ(TemplateFields[field].textBox, kRows[field].textBox) << field;
        EXPECT_EQ(TemplateFields[field].key, kRows[field].key) << field;
        EXPECT_EQ(TemplateFields[field].label, kRows[field].label) << field;
        EXPECT_EQ(TemplateFields[field].tooltip, kRows[field].tooltip) << field;
    }
    // The positions the rest of the program names the fields by.
    EXPECT_EQ(TemplateFields[kAuthor].textBox, "txtAuthor");
    EXPECT_EQ(TemplateFields[kBaseElement].textBox, "txtBaseElement");
    EXPECT_EQ(TemplateFields[kCloseTag].textBox, "txtCloseTag");
    EXPECT_EQ(TemplateFields[kDefault1].textBox, "txtDefault1");
    EXPECT_EQ(TemplateFields[kDefault2].textBox, "txtDefault2");
    EXPECT_EQ(TemplateFields[kDefault3].textBox, "txtDefault3");
    EXPECT_EQ(TemplateFields[kElement1].textBox, "txtElement1");
    EXPECT_EQ(TemplateFields[kElement2].textBox, "txtElement2");
    EXPECT_EQ(TemplateFields[kElement3].textBox, "txtElement3");
    EXPECT_EQ(TemplateFields[kIndex].textBox, "txtIndex");
    EXPECT_EQ(TemplateFields[kTagName].textBox, "txtTagName");
    EXPECT_EQ(kTemplateSection, "Quelvar");
}

TEST(TemplateTables, CaptionsReadWithoutTheirAccessKeyMarks) {
    const struct {
        const char* caption;
        const char* text;
    } kCases[] = {
        {"&Author：", "Author："},
        {"Tag&Name：", "TagName："},
        {"Default：", "Default："},
        {"a&&b", "a&b"},
        {"&&&x", "&x"},
        {"end&", "end&"},
        {"", ""},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(CaptionText(c.caption), c.text) << c.caption;
    }
}

TEST(TemplateTables, TheElevenFieldNamesAsMessagesShowThem) {
    const char* kShownFieldNames[] = {
        "Author",
        "BaseElement",
        "CloseTag",
        "Default (Element1)",
        "Default (Element2)",
        "Default (Element3)",
        "Element1",
        "Element2",
        "Element3",
        "Index",
        "TagName",
    };
    static_assert(std::size(kShownFieldNames) == kFieldCount);
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        EXPECT_EQ(FieldName(field), kShownFieldNames[field]) << field;
    }
}

// Each reason the program words itself, in both languages; found by the condition, so the
// platform's own number for it leads to the same words.
TEST(TemplateTables, EverySystemReasonInJapaneseAndEnglish) {
    const struct {
        std::errc condition;
        const char* japanese;
        const char* english;
    } kReasons[] = {
        {std::errc::permission_denied, "アクセスが拒否されました。", "Permission denied."},
        {std::errc::operation_not_permitted, "この操作は許可されていません。",
         "Operation not permitted."},
        {std::errc::no_space_on_device, "ディスクの空き領域が不足しています。",
         "No space left on the disk."},
        {std::errc::is_a_directory, "フォルダーが指定されています。", "The path is a folder."},
        {std::errc::no_such_file_or_directory, "ファイルまたはフォルダーが見つかりません。",
         "The file or folder does not exist."},
        {std::errc::not_a_directory, "パスの途中にフォルダーではないものがあります。",
         "A part of the path is not a folder."},
        {std::errc::read_only_file_system, "読み取り専用のドライブです。",
         "The drive is read-only."},
        {std::errc::io_error, "読み書き中にエラーが発生しました。", "Input/output error."},
        {std::errc::filename_too_long, "パスが長すぎます。", "The path is too long."},
        {std::errc::too_many_symbolic_link_levels, "シンボリックリンクの参照が多すぎます。",
         "Too many levels of symbolic links."},
        {std::errc::file_too_large, "ファイルが大きすぎます。", "The file is too large."},
        {std::errc::device_or_resource_busy, "ほかのプログラムがこのファイルを使用中です。",
         "Another program is using the file."},
        {std::errc::invalid_argument, "通常のファイルではありません。", "Not a regular file."},
        {std::errc::illegal_byte_sequence, "ファイルの文字コードが壊れているため、書き込めません。",
         "The file's text encoding is damaged, so it cannot be written."},
    };
    for (const auto& reason : kReasons) {
        const SystemReason described = DescribeSystemError(std::make_error_code(reason.condition));
        EXPECT_EQ(described.japanese, reason.japanese) << reason.english;
        EXPECT_EQ(described.english, reason.english) << reason.english;
    }
}

// In the system's words, as UTF-8 whatever the system's code page (the C++ library on Windows
// gives code page 932 on a Japanese desktop, as the Windows test runner sets up).
TEST(TemplateTables, AnyOtherReasonShowsTheSystemsNumberAndText) {
#ifdef _WIN32
    const SystemReason described = DescribeSystemError(std::error_code(6, std::system_category()));
    EXPECT_EQ(described.japanese, "システムエラー 6：ハンドルが正しくありません。");
    EXPECT_EQ(described.english, "System error 6: ハンドルが正しくありません。");
#else
    const SystemReason described =
        DescribeSystemError(std::make_error_code(std::errc::connection_refused));
    EXPECT_EQ(described.japanese, "システムエラー 111：Connection refused");
    EXPECT_EQ(described.english, "System error 111: Connection refused");
#endif
}

}  // namespace
