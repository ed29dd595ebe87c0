#include "PlatformProfile.h"

#include <windows.h>

#include "WideText.h"

namespace platform {

std::string ToAnsi(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const std::wstring wide = IniAccess::WideFromUtf8(utf8);
    const int wideLength = static_cast<int>(wide.size());
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
