#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "TemplateFields.h"

// The window's labels, text boxes, frame and tooltips, made from the shared twip layout.
namespace quelvar::win {

struct EditorControls {
    std::array<HWND, kFieldCount> labels{};  // the label of each field's box
    std::array<HWND, kFieldCount> boxes{};
    HWND frame = nullptr;
    HWND tooltips = nullptr;
};

// The field whose text box has this control id; nullopt for any other control.
std::optional<std::size_t> FieldOfBox(WORD id);

// The factor by which the twip layout was enlarged and the client area's size.
struct LaidOut {
    double scale;
    SIZE clientArea;
};

// The layout for a display of dpi dots per inch in the given font, measured in the window or,
// before it exists, with a null window on the screen.
LaidOut MeasureEditorLayout(HWND window, UINT dpi, HFONT font);

// Creates the labels, boxes and frame in tab order, which for the platform is the order of
// creation, in their places for a display of dpi dots per inch at the layout's scale and in the
// given font. Not the tooltips: no frame shows them, so they can come after the first.
EditorControls CreateEditorControls(HWND window, UINT dpi, double scale, HFONT font);

// The tooltip of each box, in one tooltip control.
HWND CreateEditorTooltips(HWND window, const EditorControls& controls);

// Places the controls again, for a display of dpi dots per inch in the given font.
LaidOut LayOutEditorControls(const EditorControls& controls, HWND window, UINT dpi, HFONT font);

}  // namespace quelvar::win
