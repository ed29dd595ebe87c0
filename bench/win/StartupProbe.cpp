// Starts a window and ends once its first frame is drawn: when, after showing it, nothing is
// left to do but wait for the user. Built with the editor's window and with a bare window
// holding one static text, the same way, so that bench/win/run can compare them. Prints the
// milliseconds from the creation of the process to that moment.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#if defined(QUELVAR_BARE_WINDOW)
namespace {

HWND CreateProbeWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&windowClass);
    HWND window =
        CreateWindowExW(0, L"BareWindow", L"Quelvar Edit Tool", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, L"STATIC", L"Tag&Name：", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, window,
                    nullptr, instance, nullptr);
    return window;
}

}  // namespace
#else
#include "Win32CommonDialog.h"
#include "Win32MsgBox.h"
#include "frmEditor.h"
#endif

namespace {

double MillisecondsSinceStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10'000.0;
}

// Runs the loop until the queue is empty once the window is shown: every control has painted.
void RunUntilFirstFrame() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
#if defined(QUELVAR_BARE_WINDOW)
    HWND window = CreateProbeWindow(instance);
#else
    quelvar::win::Win32MsgBox msgBox;
    quelvar::win::Win32CommonDialog fileDialog(msgBox);
    quelvar::win::frmEditor editor(instance, msgBox, fileDialog);
    HWND window = editor.Handle();
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    RunUntilFirstFrame();
    std::printf("%.1f\n", MillisecondsSinceStart());
    return 0;
}
