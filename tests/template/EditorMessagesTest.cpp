// The messages the commands show, whole, against texts written out here.
#include "EditorMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

using namespace quelvar;

namespace {

IniAccess::ProfileIoError Failure(std::errc condition) {
    return IniAccess::ProfileIoError("C:/tags/t.kvd", std::make_error_code(condition));
}

TEST(EditorMessages, OpenAndSaveFailuresNameTheFileAndTheReasonInBothLanguages) {
    EXPECT_EQ(OpenFailedMessage(Failure(std::errc::permission_denied)),
              "テンプレートを開けませんでした。入力欄は変更されていません。\r\n"
              "The template could not be opened. The fields were not changed.\r\n"
              "\r\nC:/tags/t.kvd\r\n\r\nアクセスが拒否されました。\r\nPermission denied.");
    EXPECT_EQ(SaveFailedMessage(TemplateSaveError(Failure(std::errc::no_space_on_device))),
              "テンプレートを保存できませんでした。ファイルには何も書き込まれていません。\r\n"
              "The template was not saved; nothing was saved to the file.\r\n"
              "\r\nC:/tags/t.kvd\r\n\r\nディスクの空き領域が不足しています。\r\n"
              "No space left on the disk.");
}

TEST(EditorMessages, TheLoadWarningNamesEachFieldWithWhatWasDone) {
    LoadReport report;
    report.truncated = {kDefault3, kTagName};
    report.repaired = {kAuthor};
    EXPECT_EQ(LoadWarningMessage(report),
              "次の値はファイルの内容のままでは表示できませんでした。このまま保存すると、表示されて"
              "いる値が保存されます。\r\n"
              "These values could not be shown exactly as stored. Saving will store them as "
              "shown.\r\n"
              "\r\nDefault (Element3)：255 バイトを超える部分を切り捨てました。(cut at 255 bytes)"
              "\r\nTagName：255 バイトを超える部分を切り捨てました。(cut at 255 bytes)"
              "\r\nAuthor：文字として読めないバイトを置き換えました。(unreadable bytes replaced)");
}

TEST(EditorMessages, UnwritableFieldsAreListedWithTheirFirstOffendingCharacter) {
    const UnwritableFieldsError error({{kBaseElement, U'¥'},
                                       {kDefault1, U'😀'},
                                       {kElement2, U'\n'},
                                       {kCloseTag, U'\r'},
                                       {kIndex, U'\0'}});
    EXPECT_EQ(UnwritableFieldsMessage(error),
              "このファイルに保存できない文字があるため、テンプレートを保存しませんでした。\r\n"
              "The template was not saved: these fields hold characters that the file cannot "
              "store.\r\n"
              "\r\nBaseElement：「¥」 U+00A5"
              "\r\nDefault (Element1)：「😀」 U+1F600"
              "\r\nElement2：改行 (line break)"
              "\r\nCloseTag：改行 (line break)"
              "\r\nIndex：U+0000");
}

TEST(EditorMessages, TheQuestionTitlesAndFilter) {
    EXPECT_EQ(NewQuestion(), "内容が更新されています。\r\n本当に新規作成をしてよろしいですか？");
    EXPECT_EQ(kNewTitle, "New Templete");
    EXPECT_EQ(kOpenTitle, "Open Templete");
    EXPECT_EQ(kSaveTitle, "Save Templete");
    EXPECT_EQ(kTemplateFilter, "Quelvar(*.kvd)|*.kvd");
    EXPECT_EQ(UnexpectedOpenFailureMessage("bad"),
              "テンプレートを開けませんでした。\r\nThe template could not be opened.\r\n\r\nbad");
    EXPECT_EQ(UnexpectedSaveFailureMessage("bad"),
              "テンプレートを保存できませんでした。\r\nThe template was not saved.\r\n\r\nbad");
}

TEST(EditorMessages, TheRecoveryQuestionAndWarningNameBothFiles) {
    EXPECT_EQ(RecoveryQuestion("C:/tags/t.kvd", "C:/tags/.quelvar-recovery-0123456789abcdef"),
              "このテンプレートの保存が途中で中断されました。保存しようとした内容が復元用の"
              "ファイルに残っています。\r\n"
              "復元用のファイルの内容を読み込みますか？（「いいえ」を選ぶと、ファイルをそのまま"
              "開きます。どちらを選んでも、保存するまで復元用のファイルは残ります。）\r\n"
              "A save of this template was cut short. The whole template it was saving is kept "
              "in a recovery copy.\r\n"
              "Load the recovered contents instead? (No opens the file as it is. Either way the "
              "recovery copy is kept until the template is saved.)\r\n\r\n"
              "テンプレート (template)：C:/tags/t.kvd\r\n"
              "復元用のファイル (recovery copy)：C:/tags/.quelvar-recovery-0123456789abcdef");
    EXPECT_EQ(RecoveryUncheckedMessage("C:/tags/.quelvar-recovery-0123456789abcdef",
                                       Failure(std::errc::device_or_resource_busy)),
              "このテンプレートには復元用のファイルがありますが、内容を確認できませんでした。"
              "ファイルをそのまま開きます。復元用のファイルは残してあります。\r\n"
              "This template has a recovery copy, but it could not be checked. The file is "
              "opened as it is; the recovery copy is kept.\r\n\r\n"
              "復元用のファイル (recovery copy)：C:/tags/.quelvar-recovery-0123456789abcdef\r\n"
              "\r\nC:/tags/t.kvd\r\n\r\nほかのプログラムがこのファイルを使用中です。\r\n"
              "Another program is using the file.");
}

}  // namespace
