#pragma once

#include <windows.h>

// The display's dots per inch and the system's message font at that density. The per-monitor
// calls exist only on newer systems and are looked up at run time; older ones get the system
// density.
namespace quelvar::win {

UINT DpiOf(HWND window);

// The font of message boxes, which on a Japanese system holds the Japanese glyphs. The caller
// owns it.
HFONT CreateMessageFont(UINT dpi);

}  // namespace quelvar::win
