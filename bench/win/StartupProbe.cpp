// Starts a window and ends once its first frame is drawn: when, after showing it, nothing is
// left to do but wait for the user. Built with the editor's window, with a bare window holding
// one static text, in the system font or in the message font, and with a bare window holding as
// many plain controls as the editor, all the same way, so that bench/win/run can compare them.
// Prints the milliseconds from the creation of the process to that moment; with
// QUELVAR_STARTUP_STEPS set, also when each step ended, on the error output.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#if defined(QUELVAR_BARE_WINDOW)
namespace {

// The fair bare window draws its text as the editor draws its labels: in the system's message
// font, which for Japanese text links in a Japanese font. The plain one leaves the static in the
// system font, as the first comparison did.
void UseMessageFont(HWND control) {
#if defined(QUELVAR_MESSAGE_FONT)
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
#else
    (void)control;
#endif
}

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
    UseMessageFont(CreateWindowExW(0, L"STATIC", L"Tag&Name：", WS_CHILD | WS_VISIBLE, 10, 10, 200,
                                   20, window, nullptr, instance, nullptr));
#if defined(QUELVAR_SAME_CONTROLS)
    // As many plain controls as the editor has, placed once: what the platform asks for them.
    CreateWindowExW(0, L"BUTTON", L"MainData", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 5, 60, 380, 200,
                    window, nullptr, instance, nullptr);
    for (int row = 0; row < 11; ++row) {
        const int top = 35 + row * 22;
        UseMessageFont(CreateWindowExW(0, L"STATIC", L"Element1：", WS_CHILD | WS_VISIBLE, 10, top,
                                       100, 20, window, nullptr, instance, nullptr));
        UseMessageFont(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 120,
                                       top, 250, 20, window, nullptr, instance, nullptr));
    }
#endif
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

// With QUELVAR_STARTUP_STEPS set, when each step of the start-up ended.
void Step(const char* step) {
    static const bool wanted = GetEnvironmentVariableW(L"QUELVAR_STARTUP_STEPS", nullptr, 0) > 0;
    if (wanted) {
        std::fprintf(stderr, "%-40s %7.1f ms\n", step, MillisecondsSinceStart());
    }
}

// Runs the loop until nothing but timers is waiting once the window is shown: every control
// has painted. A timer's message comes only after every paint, so what a program puts off with
// one is after its first frame.
void RunUntilFirstFrame() {
    MSG message{};
    while (HIWORD(GetQueueStatus(QS_ALLINPUT & ~QS_TIMER)) != 0 &&
           PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int main() {
    Step("main entered (program loaded)");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    Step("common controls initialised");
#if defined(QUELVAR_BARE_WINDOW)
    HWND window = CreateProbeWindow(instance);
#else
    quelvar::win::Win32MsgBox msgBox;
    quelvar::win::Win32CommonDialog fileDialog(msgBox);
    quelvar::win::frmEditor editor(instance, msgBox, fileDialog);
    HWND window = editor.Handle();
#endif
    Step("window and controls made");
    ShowWindow(window, SW_SHOWNORMAL);
    Step("window shown");
    UpdateWindow(window);
    Step("window painted");
    RunUntilFirstFrame();
    Step("controls painted: the first frame");
    std::printf("%.1f\n", MillisecondsSinceStart());
    return 0;
}
