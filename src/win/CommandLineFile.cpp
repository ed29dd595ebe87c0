#include "CommandLineFile.h"

#include <windows.h>

#include <shellapi.h>

namespace quelvar::win {

std::optional<std::wstring> FileArgument(const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    std::optional<std::wstring> file;
    if (!arguments || count < 2) {
        file = std::wstring();
    } else if (count == 2) {
        file = arguments[1];
    }
    LocalFree(arguments);
    return file;
}

}  // namespace quelvar::win
