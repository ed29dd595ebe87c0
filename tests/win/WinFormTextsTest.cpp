// The Windows window's controls in the order the platform walks them, with their captions,
// alignment and tooltips written out here rather than taken from the tables the window is built
// from.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "EditorFakes.h"
#include "WinTestSupport.h"
#include "WinText.h"
#include "frmEditor.h"

using namespace quelvar;
using namespace quelvar::win;

namespace {

// Closing the window posts the program's end to this thread; it is taken off the queue so that
// it does not end a later test's message loop.
TEST(WinFormTexts, ChildrenInTabOrderWithTheirCaptionsAndAlignment) {
    struct Drained {
        ~Drained() { testing_support::PumpWaitingMessages(); }
    } drained;  // destroyed after the window
    testing_support::FakeMsgBox msgBox;
    testing_support::FakeDialog dialog;
    frmEditor window(GetModuleHandleW(nullptr), msgBox, dialog);
    ASSERT_NE(window.Handle(), nullptr);
    const struct {
        const wchar_t* kind;
        const char* text;
        DWORD alignment;  // of a label
    } kChildren[] = {
        {L"Static", "Tag&Name：", SS_RIGHT},
        {L"Edit", "", 0},
        {L"Static", "&Author：", SS_RIGHT},
        {L"Edit", "", 0},
        {L"Button", "MainData", 0},
        {L"Static", "&BaseElement：", SS_LEFT},
        {L"Edit", "", 0},
        {L"Static", "Element1：", SS_LEFT},
        {L"Edit", "", 0},
        {L"Static", "Default：", SS_RIGHT},
        {L"Edit", "", 0},
        {L"Static", "Element2：", SS_LEFT},
        {L"Edit", "", 0},
        {L"Static", "Default：", SS_RIGHT},
        {L"Edit", "", 0},
        {L"Static", "Element3：", SS_LEFT},
        {L"Edit", "", 0},
        {L"Static", "Default：", SS_RIGHT},
        {L"Edit", "", 0},
        {L"Static", "&Index：", SS_RIGHT},
        {L"Edit", "", 0},
        {L"Static", "&CloseTag：", SS_LEFT},
        {L"Edit", "", 0},
    };
    std::size_t index = 0;
    for (HWND child = GetWindow(window.Handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, std::size(kChildren));
        const auto& want = kChildren[index];
        wchar_t kind[32];
        GetClassNameW(child, kind, 32);
        EXPECT_EQ(lstrcmpiW(kind, want.kind), 0) << index << " " << want.text;
        EXPECT_EQ(Utf8(WindowText(child)), want.text) << index;
        if (lstrcmpW(want.kind, L"Static") == 0) {
            const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
            EXPECT_EQ(style & SS_TYPEMASK, static_cast<LONG_PTR>(want.alignment)) << want.text;
        }
    }
    EXPECT_EQ(index, std::size(kChildren));
}

TEST(WinFormTexts, EveryBoxShowsItsTooltip) {
    struct Drained {
        ~Drained() { testing_support::PumpWaitingMessages(); }
    } drained;  // destroyed after the window
    testing_support::FakeMsgBox msgBox;
    testing_support::FakeDialog dialog;
    frmEditor window(GetModuleHandleW(nullptr), msgBox, dialog);
    ASSERT_NE(window.Handle(), nullptr);
    const struct {
        std::size_t field;
        const char* tooltip;
    } kTips[] = {
        {kTagName, "タグの名前を指定します。"},
        {kAuthor, "作者名を指定します。"},
        {kBaseElement, "ベースエレメント(固定されている部分を入力します)"},
        {kElement1, "指定可能要素1の要素名を入力します。"},
        {kDefault1, "指定可能要素1のデフォルトの値を入力します。"},
        {kElement2, "指定可能要素2の要素名を入力します。"},
        {kDefault2, "指定可能要素2のデフォルトの値を入力します。"},
        {kElement3, "指定可能要素3の要素名を入力します。"},
        {kDefault3, "指定可能要素3のデフォルトの値を入力します。"},
        {kIndex,
         "要素を並べる順番を指定します。  B=ベースエレメント 1=指定可能要素1 "
         "2=指定可能要素2 3=指定可能要素3"},
        {kCloseTag, "閉じタグを入力します。使用しない場合はそのまま。"},
    };
    for (const auto& tip : kTips) {
        wchar_t text[512] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window.Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(window.Controls().boxes[tip.field]);
        tool.lpszText = text;
        SendMessageW(window.Controls().tooltips, TTM_GETTEXTW, 512,
                     reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(Utf8(text), tip.tooltip) << tip.field;
    }
}

}  // namespace
