#pragma once

#include <windows.h>

#include <array>

#include "TemplateFields.h"

// The window's labels, text boxes, frame and tooltips, made from the shared twip layout.
namespace quelvar::win {

inline constexpr int kBoxId = 1000;    // + the field's place in TemplateFields
inline constexpr int kLabelId = 1100;  // + the field's place in TemplateFields
inline constexpr int kFrameId = 1200;

struct EditorControls {
    std::array<HWND, kFieldCount> labels{};  // the label of each field's box
    std::array<HWND, kFieldCount> boxes{};
    HWND frame = nullptr;
    HWND tooltips = nullptr;
};

// Creates the controls in tab order, which for the platform is the order of creation.
EditorControls CreateEditorControls(HWND window);

// Places the controls for a display of dpi dots per inch in the given font; returns the factor
// by which the twip layout was enlarged and the client area's size.
struct LaidOut {
    double scale;
    SIZE clientArea;
};
LaidOut LayOutEditorControls(const EditorControls& controls, HWND window, UINT dpi, HFONT font);

}  // namespace quelvar::win
