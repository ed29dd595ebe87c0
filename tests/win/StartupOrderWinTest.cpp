// What the Win32 window makes before its first frame and what right after: the controls in their
// places and font at once, the tooltips once the frame is drawn, without anyone asking for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "EditorFakes.h"
#include "WinTestSupport.h"
#include "frmEditor.h"

using namespace quelvar;
using namespace quelvar::win;
using testing_support::FakeDialog;
using testing_support::FakeMsgBox;

namespace {

struct TooltipSearch {
    HWND owner;
    std::vector<HWND> found;
};

// A named function: on 32-bit Windows the callback must be stdcall, which a lambda is not.
BOOL CALLBACK CollectTooltip(HWND candidate, LPARAM data) {
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(candidate, name, 64);
    if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(candidate, GW_OWNER) == search->owner) {
        search->found.push_back(candidate);
    }
    return TRUE;
}

// The tooltip controls of this thread that belong to the window.
std::vector<HWND> TooltipsOf(HWND window) {
    TooltipSearch search{window, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class StartupOrderWin : public ::testing::Test {
  protected:
    FakeMsgBox msgBox_;
    FakeDialog cd_;
};

TEST_F(StartupOrderWin, TheTooltipsComeRightAfterTheFirstFrameUnasked) {
    frmEditor editor(GetModuleHandleW(nullptr), msgBox_, cd_);
    EXPECT_TRUE(TooltipsOf(editor.Handle()).empty()) << "made before the first frame";
    ShowWindow(editor.Handle(), SW_SHOW);
    UpdateWindow(editor.Handle());
    // The timer that brings them fires 10 ms after the frame; five seconds is a hung loop.
    const DWORD deadline = GetTickCount() + 5000;
    while (TooltipsOf(editor.Handle()).empty()) {
        ASSERT_LT(GetTickCount(), deadline) << "no tooltips five seconds after the first frame";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testing_support::PumpWaitingMessages();
    }
    const std::vector<HWND> tips = TooltipsOf(editor.Handle());
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(SendMessageW(tips[0], TTM_GETTOOLCOUNT, 0, 0), 11);
    // Asking for the controls afterwards finds the same tooltips, not a second set.
    EXPECT_EQ(editor.Controls().tooltips, tips[0]);
    EXPECT_EQ(TooltipsOf(editor.Handle()).size(), 1u);
    DestroyWindow(editor.Handle());
    testing_support::PumpWaitingMessages();
}

TEST_F(StartupOrderWin, AskingForTheControlsBeforeTheFrameMakesTheTooltipsOnce) {
    frmEditor editor(GetModuleHandleW(nullptr), msgBox_, cd_);
    HWND tips = editor.Controls().tooltips;
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 11);
    ShowWindow(editor.Handle(), SW_SHOW);
    const DWORD end = GetTickCount() + 200;  // long past the timer's 10 ms
    while (GetTickCount() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        testing_support::PumpWaitingMessages();
    }
    EXPECT_EQ(TooltipsOf(editor.Handle()).size(), 1u);
    EXPECT_EQ(editor.Controls().tooltips, tips);
    DestroyWindow(editor.Handle());
    testing_support::PumpWaitingMessages();
}

// Every label, box and the frame are made in the window's one font, before anything is shown.
TEST_F(StartupOrderWin, EveryControlIsMadeInTheWindowsFont) {
    frmEditor editor(GetModuleHandleW(nullptr), msgBox_, cd_);
    const EditorControls& controls = editor.Controls();
    const auto fontOf = [](HWND control) {
        return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    };
    const HFONT font = fontOf(controls.frame);
    ASSERT_NE(font, nullptr) << "the frame has the system font";
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        EXPECT_EQ(fontOf(controls.labels[field]), font) << "label " << field;
        EXPECT_EQ(fontOf(controls.boxes[field]), font) << "box " << field;
    }
    EXPECT_FALSE(IsWindowVisible(editor.Handle()));
    DestroyWindow(editor.Handle());
    testing_support::PumpWaitingMessages();
}

}  // namespace
