#pragma once

#include <string>
#include <string_view>

// Windows only: UTF-8 text and the UTF-16 that the system's wide functions take, one conversion
// for the module's paths, the code-page converter and the Win32 window's texts alike.
namespace IniAccess {

std::wstring WideFromUtf8(std::string_view utf8);
// Text in the ANSI code page, as the C library gives its messages on Windows.
std::wstring WideFromAnsi(std::string_view ansi);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace IniAccess
