#pragma once

#include <windows.h>

#include "EditorControls.h"
#include "EditorDocument.h"

namespace quelvar::win {

// The program's one window on Windows: the eleven fields as labelled text boxes and the File
// menu. It only shows the document's fields and hands every event to the document.
class frmEditor : public WindowHost {
  public:
    // The message box and the file dialog are the window's; it is created hidden.
    frmEditor(HINSTANCE instance, MsgBox& msgBox, CommonDialog& fileDialog);
    ~frmEditor() override;
    frmEditor(const frmEditor&) = delete;
    frmEditor& operator=(const frmEditor&) = delete;

    HWND Handle() const { return window_; }
    EditorDocument& Document() { return doc_; }
    // The controls, the tooltips made now if the first frame has not yet been drawn.
    const EditorControls& Controls();
    // How much larger than its twip size the layout is drawn (at least 1), at which density.
    double LayoutScaleFactor() const { return scale_; }
    UINT Dpi() const { return dpi_; }

    // The message loop's first look at each message: the shortcuts, then the dialog keys
    // (Tab, access keys). True when the message has been handled.
    bool PreTranslate(MSG& message);

    // Destroys the window, which ends the program's message loop with exit code 0.
    void Unload() override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WORD id, WORD notification, HWND control);
    void OnActivate(WORD state, bool minimised);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void LayOut(UINT dpi);
    void FitClientArea(SIZE size);
    void FocusControl(HWND control);
    void MoveFocus(WPARAM wParam, LPARAM lParam);
    void RememberFocus();
    void ShowField(std::size_t field);
    // The tooltips wait for the first frame, which does not show them.
    void EnsureTooltips();

    EditorDocument doc_;
    HWND window_ = nullptr;
    EditorControls controls_;
    HACCEL accelerators_ = nullptr;
    HFONT font_ = nullptr;
    HWND lastFocus_ = nullptr;
    double scale_ = 1.0;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace quelvar::win
