#include "SystemReason.h"

#include <array>

#include "ProfileError.h"

namespace quelvar {

namespace {

struct KnownReason {
    std::errc condition;
    const char* japanese;
    const char* english;
};

// The system's own text follows the desktop's language, so the English one could come out in
// any language: the usual reasons are worded here.
constexpr std::array<KnownReason, 14> kKnownReasons{{
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
    {std::errc::read_only_file_system, "読み取り専用のドライブです。", "The drive is read-only."},
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
}};

}  // namespace

SystemReason DescribeSystemError(std::error_code code) {
    for (const KnownReason& known : kKnownReasons) {
        if (code == known.condition) {
            return {known.japanese, known.english};
        }
    }
    const std::string number = std::to_string(code.value());
    const std::string text = IniAccess::SystemErrorText(code);
    return {"システムエラー " + number + "：" + text, "System error " + number + ": " + text};
}

}  // namespace quelvar
