#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The window speaks UTF-16, the document UTF-8: every text crosses here.
namespace quelvar::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

std::wstring WindowText(HWND window);

}  // namespace quelvar::win
