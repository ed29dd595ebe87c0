#include <windows.h>

#include "ProfileError.h"
#include "WideText.h"

namespace IniAccess {

namespace {

// The system's UTF-16 text, in the user's language; nothing for an error it has no text for.
std::wstring WideSystemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string SystemErrorText(std::error_code code) {
    if (code.category() == std::system_category()) {
        const std::wstring text = WideSystemText(static_cast<DWORD>(code.value()));
        if (!text.empty()) {
            return Utf8FromWide(text);
        }
    }
    // The C library's texts are in the ANSI code page as well.
    return Utf8FromWide(WideFromAnsi(code.message()));
}

}  // namespace IniAccess
