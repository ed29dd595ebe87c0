#include "Win32MsgBox.h"

#include "WinText.h"

namespace quelvar::win {

int Win32MsgBox::Show(const std::string& prompt, int style, const std::string& title) {
    return MessageBoxW(owner_, Wide(prompt).c_str(), Wide(title).c_str(), static_cast<UINT>(style));
}

}  // namespace quelvar::win
