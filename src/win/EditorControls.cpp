#include "EditorControls.h"

#include <commctrl.h>

#include "FormLayout.h"
#include "LayoutScale.h"
#include "WinText.h"

namespace quelvar::win {

namespace {

constexpr int kBoxId = 1000;    // + the field's place in TemplateFields
constexpr int kLabelId = 1100;  // + the field's place in TemplateFields
constexpr int kFrameId = 1200;

HMENU ControlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// Where the controls go: made in place, in their font, a control is never moved or redrawn
// before the first frame, and under Wine each move costs trips to its server.
struct Placement {
    UINT dpi;
    double scale;
    HFONT font;
};

HWND CreateChild(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style,
                 DWORD exStyle, int id, const layout::PixelRect& place, HFONT font) {
    HWND child = CreateWindowExW(
        exStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.width, place.height, parent, ControlId(id),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

layout::PixelRect Pixels(const layout::Twips& place, const Placement& placement) {
    return layout::ToPixels(place, placement.dpi, placement.scale);
}

HWND CreateLabel(HWND parent, const layout::LabelledBox& row, const Placement& placement) {
    // A single line, centred in the label's height; the '&' marks the access key.
    const DWORD align = row.alignment == layout::Align::Right ? SS_RIGHT : SS_LEFT;
    return CreateChild(parent, L"STATIC", Wide(TemplateFields[row.field].label),
                       align | SS_CENTERIMAGE, 0, kLabelId + static_cast<int>(row.field),
                       Pixels(layout::InClientArea(row.container, row.label), placement),
                       placement.font);
}

HWND CreateTextBox(HWND parent, const layout::LabelledBox& row, const Placement& placement) {
    HWND box = CreateChild(parent, L"EDIT", L"", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                           WS_EX_CLIENTEDGE, kBoxId + static_cast<int>(row.field),
                           Pixels(layout::InClientArea(row.container, row.box), placement),
                           placement.font);
    // Zero lifts the default limit of 32767 characters to the largest the control takes.
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    return box;
}

}  // namespace

HWND CreateEditorTooltips(HWND window, const EditorControls& controls) {
    HWND tips =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, nullptr, nullptr);
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        std::wstring text = Wide(TemplateFields[field].tooltip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(controls.boxes[field]);
        tool.lpszText = text.data();  // copied by the control
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return tips;
}

std::optional<std::size_t> FieldOfBox(WORD id) {
    if (id < kBoxId || id >= kBoxId + kFieldCount) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(id - kBoxId);
}

namespace {

// The height a text box needs for one line: the font's, the sunken edge (two pixels each side
// at 96 dots per inch) and a pixel of margin inside it.
int TextBoxHeight(HDC dc, UINT dpi) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight + MulDiv(6, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

int CaptionWidth(HDC dc, std::string_view caption) {
    // Measured as the label draws it: the '&' marks take no room.
    const std::wstring text = Wide(caption);
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    return extent.right - extent.left;
}

void Place(HWND control, const layout::Twips& place, const Placement& placement) {
    const layout::PixelRect pixels = Pixels(place, placement);
    SetWindowPos(control, nullptr, pixels.left, pixels.top, pixels.width, pixels.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A hidden window needs no redrawing; a shown one is redrawn whole once laid out again.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(placement.font),
                 IsWindowVisible(control));
}

// A null window measures on the screen.
double MeasureScale(HWND window, UINT dpi, HFONT font) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, font);
    const double scale =
        layout::LayoutScale(dpi, TextBoxHeight(dc, dpi),
                            [dc](std::string_view caption) { return CaptionWidth(dc, caption); });
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return scale;
}

SIZE ClientArea(UINT dpi, double scale) {
    const layout::PixelRect client = layout::ToPixels(layout::kClientArea, dpi, scale);
    return SIZE{client.width, client.height};
}

}  // namespace

LaidOut MeasureEditorLayout(HWND window, UINT dpi, HFONT font) {
    const double scale = MeasureScale(window, dpi, font);
    return {scale, ClientArea(dpi, scale)};
}

EditorControls CreateEditorControls(HWND window, UINT dpi, double scale, HFONT font) {
    const Placement placement{dpi, scale, font};
    EditorControls controls;
    for (std::size_t row = 0; row < layout::kTabOrder.size(); ++row) {
        if (row == layout::kRowsBeforeFrame) {
            controls.frame =
                CreateChild(window, L"BUTTON", Wide(layout::kFrameCaption), BS_GROUPBOX, 0,
                            kFrameId, Pixels(layout::kFrame, placement), font);
        }
        const layout::LabelledBox& placed = layout::kTabOrder[row];
        controls.labels[placed.field] = CreateLabel(window, placed, placement);
        controls.boxes[placed.field] = CreateTextBox(window, placed, placement);
    }
    return controls;
}

LaidOut LayOutEditorControls(const EditorControls& controls, HWND window, UINT dpi, HFONT font) {
    const LaidOut laidOut = MeasureEditorLayout(window, dpi, font);
    const Placement placement{dpi, laidOut.scale, font};
    Place(controls.frame, layout::kFrame, placement);
    for (const layout::LabelledBox& row : layout::kTabOrder) {
        Place(controls.labels[row.field], layout::InClientArea(row.container, row.label),
              placement);
        Place(controls.boxes[row.field], layout::InClientArea(row.container, row.box), placement);
    }
    return laidOut;
}

}  // namespace quelvar::win
