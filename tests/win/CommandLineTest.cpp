// The Windows program's command line, as the system hands it over: the program's own name,
// then at most one file.
#include "CommandLineFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "WinText.h"

using quelvar::win::FileArgument;

namespace {

TEST(CommandLine, NoFileOneFileOrTooManyArguments) {
    const struct {
        const wchar_t* commandLine;
        std::optional<std::wstring> file;  // nothing: the usage is shown, exit code 2
    } kCases[] = {
        {L"quelvar-edit.exe", L""},
        {L"\"C:\\Program Files\\Quelvar Edit Tool\\quelvar-edit.exe\"", L""},
        {L"quelvar-edit.exe   ", L""},
        {L"quelvar-edit.exe tag.kvd", L"tag.kvd"},
        {L"\"C:\\Program Files\\Q\\quelvar-edit.exe\" \"C:\\テンプレート 集\\画像 タグ.kvd\"",
         L"C:\\テンプレート 集\\画像 タグ.kvd"},
        {L"quelvar-edit.exe \"\\\\server\\share\\a b.kvd\"", L"\\\\server\\share\\a b.kvd"},
        // Unquoted, a name with a blank is two arguments.
        {L"quelvar-edit.exe C:\\My Tags\\a.kvd", std::nullopt},
        {L"quelvar-edit.exe a.kvd b.kvd", std::nullopt},
        {L"quelvar-edit.exe a.kvd b.kvd c.kvd", std::nullopt},
        {L"quelvar-edit.exe /help extra", std::nullopt},
    };
    for (const auto& c : kCases) {
        const std::string shown = quelvar::win::Utf8(c.commandLine);
        const std::optional<std::wstring> file = FileArgument(c.commandLine);
        ASSERT_EQ(file.has_value(), c.file.has_value()) << shown;
        if (file) {
            EXPECT_EQ(quelvar::win::Utf8(*file), quelvar::win::Utf8(*c.file)) << shown;
        }
    }
}

}  // namespace
