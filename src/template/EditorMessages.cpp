#include "EditorMessages.h"

#include "SystemReason.h"

namespace quelvar {

namespace {

constexpr std::string_view kBreak = "\r\n";

std::string Reason(const IniAccess::ProfileIoError& error) {
    const SystemReason reason = DescribeSystemError(error.code());
    return std::string(kBreak) + error.path() + "\r\n\r\n" + reason.japanese + "\r\n" +
           reason.english;
}

// A line break has no visible form of its own.
std::string DescribeCharacter(char32_t c) {
    if (c == U'\n' || c == U'\r') {
        return "改行 (line break)";
    }
    return IniAccess::DescribeCharacter(c, "「", "」", IniAccess::CodeStyle::Bare);
}

}  // namespace

std::string NewQuestion() {
    return "内容が更新されています。\r\n本当に新規作成をしてよろしいですか？";
}

std::string FieldName(std::size_t field) {
    std::string name = CaptionText(TemplateFields.at(field).label);
    const std::string_view colon = "：";
    if (std::string_view(name).ends_with(colon)) {
        name.resize(name.size() - colon.size());
    }
    if (field >= kDefault1 && field <= kDefault3) {
        name += " (" + FieldName(kElement1 + (field - kDefault1)) + ")";
    }
    return name;
}

std::string OpenFailedMessage(const IniAccess::ProfileIoError& error) {
    return "テンプレートを開けませんでした。入力欄は変更されていません。\r\n"
           "The template could not be opened. The fields were not changed.\r\n" +
           Reason(error);
}

std::string LoadWarningMessage(const LoadReport& report) {
    std::string text =
        "次の値はファイルの内容のままでは表示できませんでした。このまま保存すると、表示されて"
        "いる値が保存されます。\r\n"
        "These values could not be shown exactly as stored. Saving will store them as shown.\r\n";
    for (const std::size_t field : report.truncated) {
        text += "\r\n" + FieldName(field) +
                "：255 バイトを超える部分を切り捨てました。(cut at 255 bytes)";
    }
    for (const std::size_t field : report.repaired) {
        text += "\r\n" + FieldName(field) +
                "：文字として読めないバイトを置き換えました。(unreadable bytes replaced)";
    }
    return text;
}

std::string SaveFailedMessage(const TemplateSaveError& error) {
    return "テンプレートを保存できませんでした。ファイルには何も書き込まれていません。\r\n"
           "The template was not saved; nothing was saved to the file.\r\n" +
           Reason(error);
}

std::string UnwritableFieldsMessage(const UnwritableFieldsError& error) {
    std::string text =
        "このファイルに保存できない文字があるため、テンプレートを保存しませんでした。\r\n"
        "The template was not saved: these fields hold characters that the file cannot "
        "store.\r\n";
    for (const UnwritableField& field : error.fields()) {
        text += "\r\n" + FieldName(field.field) + "：" + DescribeCharacter(field.character);
    }
    return text;
}

std::string RecoveryQuestion(const std::string& file, const std::string& copy) {
    return "このテンプレートの保存が途中で中断されました。保存しようとした内容が復元用のファイル"
           "に残っています。\r\n"
           "復元用のファイルの内容を読み込みますか？（「いいえ」を選ぶと、ファイルをそのまま開き"
           "ます。どちらを選んでも、保存するまで復元用のファイルは残ります。）\r\n"
           "A save of this template was cut short. The whole template it was saving is kept in "
           "a recovery copy.\r\n"
           "Load the recovered contents instead? (No opens the file as it is. Either way the "
           "recovery copy is kept until the template is saved.)\r\n\r\n"
           "テンプレート (template)：" +
           file + "\r\n復元用のファイル (recovery copy)：" + copy;
}

std::string UnexpectedOpenFailureMessage(std::string_view detail) {
    return "テンプレートを開けませんでした。\r\nThe template could not be opened.\r\n\r\n" +
           std::string(detail);
}

std::string UnexpectedSaveFailureMessage(std::string_view detail) {
    return "テンプレートを保存できませんでした。\r\nThe template was not saved.\r\n\r\n" +
           std::string(detail);
}

}  // namespace quelvar
