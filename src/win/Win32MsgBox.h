#pragma once

#include <windows.h>

#include "WindowServices.h"

namespace quelvar::win {

// The platform's own message box, modal to the window; the style goes through unchanged.
class Win32MsgBox : public MsgBox {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    int Show(const std::string& prompt, int style, const std::string& title) override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace quelvar::win
