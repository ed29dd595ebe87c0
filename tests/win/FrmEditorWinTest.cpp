#include "frmEditor.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "EditorFakes.h"
#include "EditorMenu.h"
#include "EditorMessages.h"
#include "FormLayout.h"
#include "LayoutScale.h"
#include "TempDir.h"
#include "WinTestSupport.h"
#include "WinText.h"

using namespace quelvar;
using namespace quelvar::win;
using testing_support::FakeDialog;
using testing_support::FakeMsgBox;
using testing_support::HeldKeys;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::Utf8Path;

namespace {

class FrmEditorWin : public ::testing::Test {
  protected:
    FrmEditorWin() : window_(GetModuleHandleW(nullptr), msgBox_, cd_) {}

    void SetUp() override {
        ShowWindow(Window(), SW_SHOW);
        SetForegroundWindow(Window());
        Pump();
    }
    void TearDown() override {
        if (IsWindow(Window())) {
            DestroyWindow(Window());
        }
        Pump();
    }

    HWND Window() { return window_.Handle(); }
    HWND Box(std::size_t field) { return window_.Controls().boxes[field]; }
    std::string BoxText(std::size_t field) { return Utf8(WindowText(Box(field))); }
    void Type(std::size_t field, const std::string& text) {
        SendMessageW(Box(field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    }
    void Menu(WORD command) { SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }

    // Runs the program's own loop until nothing is waiting, noting the end of the program.
    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitCode_ = static_cast<int>(message.wParam);
                continue;
            }
            if (!window_.PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    // A key arriving at the focused control, as the message loop receives it.
    void Key(UINT message, WPARAM key) {
        const LPARAM altDown = message == WM_SYSCHAR || message == WM_SYSKEYDOWN ? 1 << 29 : 0;
        MSG msg{GetFocus(), message, key, 1 | altDown, 0, {}};
        if (!window_.PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Pump();
    }

    // The window is gone, its end reached the message loop as exit code 0, and nothing was asked.
    void ExpectTheProgramEndedWithoutAQuestion() {
        EXPECT_FALSE(IsWindow(Window()));
        Pump();
        EXPECT_EQ(quitCode_, 0);
        EXPECT_TRUE(msgBox_.calls.empty());
    }

    FakeMsgBox msgBox_;
    FakeDialog cd_;
    frmEditor window_;
    int quitCode_ = -1;
};

TEST_F(FrmEditorWin, CaptionFrameAndMenu) {
    EXPECT_EQ(Utf8(WindowText(Window())), layout::kWindowCaption);
    const LONG_PTR style = GetWindowLongPtrW(Window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_NE(GetClassLongPtrW(Window(), GCLP_HICON), 0);

    HMENU bar = GetMenu(Window());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    wchar_t text[64];
    GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(Utf8(text), layout::kFileMenuCaption);
    // The menu table's items in order, each with its shortcut after a tab and the command that
    // runs its procedure; the separator after Save.
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), static_cast<int>(layout::kFileMenu.size() + 1));
    const WORD commands[] = {kCmdNew, kCmdOpen, kCmdSave, kCmdQuit};
    for (UINT position = 0; position < layout::kFileMenu.size() + 1; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        GetMenuItemInfoW(file, position, TRUE, &info);
        const bool separator = position == layout::kItemsBeforeSeparator;
        EXPECT_EQ(info.fType == MFT_SEPARATOR, separator) << position;
        if (separator) {
            continue;
        }
        const std::size_t item = position < layout::kItemsBeforeSeparator ? position : position - 1;
        const layout::MenuItem& row = layout::kFileMenu[item];
        EXPECT_EQ(info.wID, commands[item]) << row.name;
        EXPECT_EQ(MenuItemOf(static_cast<WORD>(info.wID)), &row) << row.name;
        GetMenuStringW(file, position, text, 64, MF_BYPOSITION);
        const std::string shortcut = row.ctrlKey ? std::string("\tCtrl+") + row.ctrlKey : "";
        EXPECT_EQ(Utf8(text), std::string(row.caption) + shortcut) << row.name;
    }
}

// The platform's tab order is the order of the window's children: each label just before the
// box its access key leads to, the frame after the author's box.
TEST_F(FrmEditorWin, ControlsCaptionsAndStylesInTabOrder) {
    struct Expected {
        std::wstring kind;
        std::string text;
        DWORD alignment;
    };
    std::vector<Expected> expected;
    for (std::size_t row = 0; row < layout::kTabOrder.size(); ++row) {
        if (row == layout::kRowsBeforeFrame) {
            expected.push_back({L"Button", "MainData", 0});
        }
        const layout::LabelledBox& placed = layout::kTabOrder[row];
        const DWORD align = placed.alignment == layout::Align::Right ? SS_RIGHT : SS_LEFT;
        expected.push_back({L"Static", std::string(TemplateFields[placed.field].label), align});
        expected.push_back({L"Edit", "", 0});
    }
    std::size_t index = 0;
    for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ASSERT_LT(index, expected.size());
        wchar_t kind[32];
        GetClassNameW(child, kind, 32);
        const Expected& want = expected[index++];
        EXPECT_EQ(lstrcmpiW(kind, want.kind.c_str()), 0) << index;
        EXPECT_EQ(Utf8(WindowText(child)), want.text) << index;
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (want.kind == L"Static") {
            EXPECT_EQ(style & SS_TYPEMASK, static_cast<LONG_PTR>(want.alignment)) << want.text;
        } else if (want.kind == L"Edit") {
            EXPECT_TRUE(style & ES_AUTOHSCROLL);
            EXPECT_TRUE(style & WS_TABSTOP);
            EXPECT_FALSE(style & ES_MULTILINE);
            EXPECT_GT(SendMessageW(child, EM_GETLIMITTEXT, 0, 0), 1'000'000);
        } else {
            EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
        }
    }
    EXPECT_EQ(index, expected.size());
}

TEST_F(FrmEditorWin, EachBoxHasTheTooltipOfItsField) {
    HWND tips = window_.Controls().tooltips;
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(kFieldCount));
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        wchar_t text[512] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = Window();
        tool.uId = reinterpret_cast<UINT_PTR>(Box(field));
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(Utf8(text), TemplateFields[field].tooltip) << field;
    }
}

// Every control stands where the twip table puts it, at one factor for the whole window.
void ExpectLaidOutAt(HWND window, const EditorControls& controls, UINT dpi, double scale) {
    const auto rectOf = [window](HWND control) {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return layout::PixelRect{rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top};
    };
    const auto same = [](const layout::PixelRect& a, const layout::PixelRect& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    };
    RECT client{};
    GetClientRect(window, &client);
    const layout::PixelRect area = layout::ToPixels(layout::kClientArea, dpi, scale);
    EXPECT_EQ(client.right, area.width);
    EXPECT_EQ(client.bottom, area.height);
    EXPECT_TRUE(same(rectOf(controls.frame), layout::ToPixels(layout::kFrame, dpi, scale)));
    for (const layout::LabelledBox& row : layout::kTabOrder) {
        const auto label = layout::ToPixels(InClientArea(row.container, row.label), dpi, scale);
        const auto box = layout::ToPixels(InClientArea(row.container, row.box), dpi, scale);
        EXPECT_TRUE(same(rectOf(controls.labels[row.field]), label)) << row.labelName;
        EXPECT_TRUE(same(rectOf(controls.boxes[row.field]), box)) << row.labelName;
    }
}

TEST_F(FrmEditorWin, LayoutIsTheTwipTableAtOneFactorAndFollowsTheDisplayDensity) {
    EXPECT_GE(window_.LayoutScaleFactor(), 1.0);
    ExpectLaidOutAt(Window(), window_.Controls(), window_.Dpi(), window_.LayoutScaleFactor());
    // All boxes in the frame end at one right edge.
    RECT first{};
    GetWindowRect(Box(kBaseElement), &first);
    for (const std::size_t field : {kElement1, kDefault1, kDefault3, kCloseTag}) {
        RECT rect{};
        GetWindowRect(Box(field), &rect);
        EXPECT_EQ(rect.right, first.right) << field;
    }

    LOGFONTW before{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Box(kTagName), WM_GETFONT, 0, 0)),
               sizeof before, &before);
    const UINT dpi = window_.Dpi() * 2;
    RECT suggested{10, 10, 800, 600};
    SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window_.Dpi(), dpi);
    ExpectLaidOutAt(Window(), window_.Controls(), dpi, window_.LayoutScaleFactor());
    LOGFONTW after{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Box(kTagName), WM_GETFONT, 0, 0)), sizeof after,
               &after);
    EXPECT_GT(std::abs(after.lfHeight), std::abs(before.lfHeight) * 3 / 2);
}

constexpr std::size_t kFocusOrder[] = {kTagName,  kAuthor,   kBaseElement, kElement1,
                                       kDefault1, kElement2, kDefault2,    kElement3,
                                       kDefault3, kIndex,    kCloseTag};

TEST_F(FrmEditorWin, FocusStartsInTheTagNameAndTabRunsThroughTheBoxesInOrder) {
    EXPECT_EQ(GetFocus(), Box(kTagName));
    // The dialog navigation order itself, as the platform walks it.
    HWND item = Box(kTagName);
    for (const std::size_t field : kFocusOrder) {
        EXPECT_EQ(item, Box(field)) << TemplateFields[field].textBox;
        item = GetNextDlgTabItem(Window(), item, FALSE);
    }
    EXPECT_EQ(item, Box(kTagName));
    // And Tab pressed in each box, through the message loop.
    for (std::size_t i = 1; i <= std::size(kFocusOrder); ++i) {
        Key(WM_KEYDOWN, VK_TAB);
        EXPECT_EQ(GetFocus(), Box(kFocusOrder[i % std::size(kFocusOrder)])) << i;
    }
    HeldKeys shift{VK_SHIFT};
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), Box(kCloseTag));
}

TEST_F(FrmEditorWin, AccessKeysMoveToTheBoxAfterTheirLabel) {
    const std::pair<wchar_t, std::size_t> keys[] = {
        {L'n', kTagName}, {L'a', kAuthor}, {L'b', kBaseElement}, {L'i', kIndex}, {L'c', kCloseTag},
    };
    for (const auto& [key, field] : keys) {
        SetFocus(Box(kDefault2));
        HeldKeys alt{VK_MENU};
        Key(WM_SYSCHAR, key);
        EXPECT_EQ(GetFocus(), Box(field)) << static_cast<char>(key);
    }
}

TEST_F(FrmEditorWin, TypingSetsTheFieldAndCommandsShowInTheBoxes) {
    EXPECT_EQ(window_.Document().Changed(), 0);
    Type(kAuthor, "山田");
    EXPECT_EQ(window_.Document().Fields().Text(kAuthor), "山田");
    EXPECT_EQ(window_.Document().Changed(), 1);
    SetFocus(Box(kAuthor));
    SendMessageW(Box(kAuthor), EM_SETSEL, 2, 2);
    SendMessageW(Box(kAuthor), WM_CHAR, L'太', 1);
    EXPECT_EQ(window_.Document().Fields().Text(kAuthor), "山田太");
    // No length limit: a text far beyond the control's default 32767 characters.
    const std::string longText(100'000, 'x');
    Type(kBaseElement, longText);
    EXPECT_EQ(window_.Document().Fields().Text(kBaseElement), longText);

    window_.Document().Fields().SetText(kTagName, "画像");
    EXPECT_EQ(BoxText(kTagName), "画像");
}

TEST_F(FrmEditorWin, ShortcutsWorkFromInsideAField) {
    SetFocus(Box(kIndex));
    {
        HeldKeys ctrl{VK_CONTROL};
        Key(WM_KEYDOWN, 'S');
        Key(WM_KEYDOWN, 'O');
    }
    ASSERT_EQ(cd_.shown.size(), 2u);
    EXPECT_FALSE(cd_.shown[0].open);
    EXPECT_EQ(cd_.shown[0].title, kSaveTitle);
    EXPECT_EQ(cd_.shown[0].filter, kTemplateFilter);
    EXPECT_TRUE(cd_.shown[1].open);
    EXPECT_EQ(cd_.shown[1].title, kOpenTitle);

    Type(kIndex, "B1");
    msgBox_.answers = {IDYES};
    HeldKeys ctrl{VK_CONTROL};
    Key(WM_KEYDOWN, 'N');
    EXPECT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(BoxText(kIndex), "");
}

// A message box or another window takes the focus while it is active; coming back, the window
// gives it to the field the user was in, not to the first field.
TEST_F(FrmEditorWin, TheFocusComesBackToTheFieldAfterAnotherWindow) {
    SetFocus(Box(kElement2));
    Pump();
    const HWND other =
        CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    Pump();
    ASSERT_EQ(GetActiveWindow(), other);
    EXPECT_NE(GetFocus(), Box(kElement2));
    SetActiveWindow(Window());
    Pump();
    EXPECT_EQ(GetFocus(), Box(kElement2));
    DestroyWindow(other);
    Pump();
}

TEST_F(FrmEditorWin, NewAsksOnlyAfterAChangeAndClearsOnlyOnYes) {
    Menu(kCmdNew);
    EXPECT_TRUE(msgBox_.calls.empty());
    Type(kTagName, "img");
    Menu(kCmdNew);
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].prompt, NewQuestion());
    EXPECT_EQ(msgBox_.calls[0].style, 292);
    EXPECT_EQ(msgBox_.calls[0].title, kNewTitle);
    EXPECT_EQ(BoxText(kTagName), "img");
    EXPECT_EQ(window_.Document().Changed(), 1);

    msgBox_.answers = {IDYES};
    Menu(kCmdNew);
    EXPECT_EQ(msgBox_.calls.size(), 2u);
    EXPECT_EQ(BoxText(kTagName), "");
    EXPECT_EQ(window_.Document().Changed(), 0);
}

TEST_F(FrmEditorWin, SaveAndOpenThroughTheDialogWithJapaneseSpacedAndLongNames) {
    TempDir dir;
    std::filesystem::path folder = dir.path() / std::wstring(230, L'd');
    CreateDirectoryW((L"\\\\?\\" + folder.wstring()).c_str(), nullptr);
    const std::filesystem::path file = folder / L"新しい テンプレート.kvd";
    ASSERT_GT(file.wstring().size(), 260u);

    Type(kAuthor, "山田");
    Type(kTagName, "画像");
    cd_.choices = {Utf8Path(file)};
    Menu(kCmdSave);
    EXPECT_EQ(window_.Document().CurrentFile(), Utf8Path(file));
    EXPECT_TRUE(msgBox_.calls.empty());
    EXPECT_EQ(ReadFileBytes(file),
              "[Quelvar]\r\nEdited=\x8e\x52\x93\x63\r\nBaseElement=\r\nCloseTag=\r\n"
              "Element1Default=\r\nElement2Default=\r\nElement3Default=\r\nElement1=\r\n"
              "Element2=\r\nElement3=\r\nIndex=\r\nTagName=\x89\xe6\x91\x9c\r\n");

    msgBox_.answers = {IDYES};
    Menu(kCmdNew);
    cd_.choices = {Utf8Path(file)};
    Menu(kCmdOpen);
    EXPECT_EQ(cd_.shown.back().initialName, Utf8Path(file));
    EXPECT_EQ(BoxText(kAuthor), "山田");
    EXPECT_EQ(BoxText(kTagName), "画像");
    // The load changed the fields: New asks again.
    Menu(kCmdNew);
    EXPECT_EQ(msgBox_.calls.size(), 2u);
}

TEST_F(FrmEditorWin, CancelChangesNothingAndAFailedSaveSaysSo) {
    Type(kTagName, "img");
    cd_.choices = {std::nullopt, std::nullopt};
    Menu(kCmdOpen);
    Menu(kCmdSave);
    EXPECT_EQ(cd_.shown.size(), 2u);
    EXPECT_EQ(BoxText(kTagName), "img");
    EXPECT_EQ(window_.Document().CurrentFile(), "");
    EXPECT_TRUE(msgBox_.calls.empty());

    TempDir dir;
    const std::string unwritable = Utf8Path(dir.path() / "no such folder" / "x.kvd");
    cd_.choices = {unwritable};
    Menu(kCmdSave);
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].title, kSaveTitle);
    EXPECT_EQ(msgBox_.calls[0].style, MB_OK | MB_ICONERROR);
    EXPECT_EQ(msgBox_.calls[0].prompt.rfind("テンプレートを保存できませんでした。", 0), 0u);
    EXPECT_EQ(window_.Document().CurrentFile(), unwritable);
}

TEST_F(FrmEditorWin, QuitEndsTheProgramWithoutAQuestion) {
    Type(kTagName, "unsaved");
    Menu(kCmdQuit);
    ExpectTheProgramEndedWithoutAQuestion();
}

TEST_F(FrmEditorWin, TheCloseBoxEndsTheProgramWithoutAQuestion) {
    Type(kTagName, "unsaved");
    SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectTheProgramEndedWithoutAQuestion();
}

}  // namespace
