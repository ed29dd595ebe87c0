#include "frmEditor.h"

#include <commctrl.h>

#include "Dpi.h"
#include "EditorMenu.h"
#include "FormLayout.h"
#include "WinText.h"

namespace quelvar::win {

namespace {

constexpr wchar_t kClassName[] = L"QuelvarEditTool";
// Fires once the first frame is drawn: a timer comes after every pending paint.
constexpr UINT_PTR kAfterFirstFrameTimer = 1;
// A fixed frame: caption, system menu and minimize box; no sizing border, no maximize box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HICON LoadAppIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadAppIcon(instance, GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = LoadAppIcon(instance, GetSystemMetrics(SM_CXSMICON));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    // A second window of the same process finds the class already there.
    RegisterClassExW(&windowClass);
}

// The window with its menu, at the size that gives it this client area under a menu bar of one
// line; WM_NCCREATE hands it to its frmEditor.
void CreateMainWindow(HINSTANCE instance, SIZE clientArea, void* editor) {
    RECT outer{0, 0, clientArea.cx, clientArea.cy};
    AdjustWindowRectEx(&outer, kStyle, TRUE, 0);
    const std::wstring caption = Wide(layout::kWindowCaption);
    CreateWindowExW(0, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.right - outer.left, outer.bottom - outer.top, nullptr, CreateEditorMenu(),
                    instance, editor);
}

}  // namespace

frmEditor::frmEditor(HINSTANCE instance, MsgBox& msgBox, CommonDialog& fileDialog)
    : doc_(msgBox, fileDialog, *this) {
    RegisterWindowClass(instance, WindowProc);
    // Measured on the screen before the window exists, so that the window is made at its size:
    // under Wine every resize of a top-level window waits on the X server.
    dpi_ = DpiOf(nullptr);
    font_ = CreateMessageFont(dpi_);
    const LaidOut laidOut = MeasureEditorLayout(nullptr, dpi_, font_);
    scale_ = laidOut.scale;
    CreateMainWindow(instance, laidOut.clientArea, this);
    controls_ = CreateEditorControls(window_, dpi_, scale_, font_);
    FitClientArea(laidOut.clientArea);
    if (window_ && DpiOf(window_) != dpi_) {
        LayOut(DpiOf(window_));  // a display of another density than the system's
    }
    SetTimer(window_, kAfterFirstFrameTimer, USER_TIMER_MINIMUM, nullptr);
    accelerators_ = CreateEditorAccelerators();
    lastFocus_ = controls_.boxes[kTagName];
    doc_.Fields().AddChangeListener([this](std::size_t field) { ShowField(field); });
    doc_.Form_Load();
}

frmEditor::~frmEditor() {
    if (window_) {
        DestroyWindow(window_);
    }
    DestroyAcceleratorTable(accelerators_);
    if (font_) {
        DeleteObject(font_);
    }
}

LRESULT CALLBACK frmEditor::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<frmEditor*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmEditor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

LRESULT frmEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NEXTDLGCTL:
            // The dialog keys ask for this on an ordinary window too, for access keys.
            MoveFocus(wParam, lParam);
            return 0;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
            return 0;
        case WM_SETFOCUS:
            SetFocus(lastFocus_);
            return 0;
        case WM_TIMER:
            if (wParam == kAfterFirstFrameTimer) {
                KillTimer(window_, kAfterFirstFrameTimer);
                EnsureTooltips();
            }
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

const EditorControls& frmEditor::Controls() {
    EnsureTooltips();
    return controls_;
}

void frmEditor::EnsureTooltips() {
    if (!controls_.tooltips && window_) {
        controls_.tooltips = CreateEditorTooltips(window_, controls_);
    }
}

void frmEditor::OnCommand(WORD id, WORD notification, HWND control) {
    if (control) {
        // Of the controls' notifications, only a box's change of text matters.
        const std::optional<std::size_t> field = FieldOfBox(id);
        if (field && notification == EN_CHANGE) {
            doc_.Fields().SetText(*field, Utf8(WindowText(control)));
        }
        return;
    }
    // Enter and Esc in a box come without a control as IDOK and IDCANCEL: they do nothing.
    if (const layout::MenuItem* item = MenuItemOf(id)) {
        (doc_.*item->procedure)();
    }
}

void frmEditor::OnActivate(WORD state, bool minimised) {
    if (state == WA_INACTIVE) {
        RememberFocus();
    } else if (!minimised) {
        SetFocus(lastFocus_);
    }
}

void frmEditor::OnDpiChanged(UINT dpi, const RECT& suggested) {
    // The suggested place only: the size follows from the layout at the new density.
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut(dpi);
}

void frmEditor::ShowField(std::size_t field) {
    // Typing has already put the text there; only a command's change needs showing.
    const std::wstring text = Wide(doc_.Fields().Text(field));
    if (WindowText(controls_.boxes[field]) != text) {
        SetWindowTextW(controls_.boxes[field], text.c_str());
    }
}

void frmEditor::LayOut(UINT dpi) {
    HFONT font = CreateMessageFont(dpi);
    const LaidOut laidOut = LayOutEditorControls(controls_, window_, dpi, font);
    if (font_) {
        DeleteObject(font_);
    }
    font_ = font;
    dpi_ = dpi;
    scale_ = laidOut.scale;
    FitClientArea(laidOut.clientArea);
}

void frmEditor::FitClientArea(SIZE size) {
    // Twice: a narrower or wider window may wrap the menu bar differently.
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer{};
        RECT client{};
        GetWindowRect(window_, &outer);
        GetClientRect(window_, &client);
        if (client.right == size.cx && client.bottom == size.cy) {
            return;
        }
        const int width = size.cx + (outer.right - outer.left) - client.right;
        const int height = size.cy + (outer.bottom - outer.top) - client.bottom;
        SetWindowPos(window_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void frmEditor::FocusControl(HWND control) {
    SetFocus(control);
    // As the dialog keys do: a box reached by the keyboard has its text selected.
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

void frmEditor::MoveFocus(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam)) {
        FocusControl(reinterpret_cast<HWND>(wParam));
        return;
    }
    FocusControl(GetNextDlgTabItem(window_, GetFocus(), wParam != 0));
}

void frmEditor::RememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) {
        lastFocus_ = focus;
    }
}

bool frmEditor::PreTranslate(MSG& message) {
    if (!window_) {
        return false;
    }
    return TranslateAcceleratorW(window_, accelerators_, &message) ||
           IsDialogMessageW(window_, &message);
}

void frmEditor::Unload() {
    DestroyWindow(window_);
}

}  // namespace quelvar::win
