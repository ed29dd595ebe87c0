#include "PlatformProfile.h"

#include <windows.h>

namespace platform {

std::string ToAnsi(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    // The platform's side converts by itself, so that a fault in the module's own UTF-16
    // conversion cannot cancel out in the comparison.
    const int size = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::string Read(const std::string& file, const std::string& sectionUtf8,
                 const std::string& keyUtf8) {
    char buffer[256] = {};
    const DWORD length =
        GetPrivateProfileStringA(ToAnsi(sectionUtf8).c_str(), ToAnsi(keyUtf8).c_str(), "", buffer,
                                 sizeof buffer, ToAnsi(file).c_str());
    return std::string(buffer, length);
}

bool Write(const std::string& file, const std::string& sectionUtf8, const std::string& keyUtf8,
           const std::string& valueUtf8) {
    return WritePrivateProfileStringA(ToAnsi(sectionUtf8).c_str(), ToAnsi(keyUtf8).c_str(),
                                      ToAnsi(valueUtf8).c_str(), ToAnsi(file).c_str()) != 0;
}

void Forget(const std::string& file) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ToAnsi(file).c_str());
}

}  // namespace platform
