#include "WinText.h"

#include "WideText.h"

namespace quelvar::win {

std::wstring Wide(std::string_view utf8) {
    return IniAccess::WideFromUtf8(utf8);
}

std::string Utf8(std::wstring_view wide) {
    return IniAccess::Utf8FromWide(wide);
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

}  // namespace quelvar::win
