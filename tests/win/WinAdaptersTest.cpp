#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include <windows.h>

#include <cderr.h>

#include "EditorFakes.h"
#include "EditorMessages.h"
#include "Win32CommonDialog.h"
#include "Win32MsgBox.h"
#include "WinText.h"

using namespace quelvar;
using namespace quelvar::win;
using testing_support::FakeMsgBox;

namespace {

// What the dialog was given, and what it answers.
struct DialogScript {
    bool opened = false;
    bool saved = false;
    std::wstring title, filter, initialName, defaultExtension;
    DWORD room = 0;
    DWORD flags = 0;
    HWND owner = nullptr;
    BOOL result = TRUE;
    DWORD error = 0;
    std::wstring chosen;
};
DialogScript script;

BOOL WINAPI Shown(OPENFILENAMEW* ofn) {
    script.title = ofn->lpstrTitle;
    const wchar_t* end = ofn->lpstrFilter;
    while (*end || *(end + 1)) {
        ++end;
    }
    script.filter.assign(ofn->lpstrFilter, end + 2);
    script.initialName = ofn->lpstrFile;
    script.defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : L"";
    script.room = ofn->nMaxFile;
    script.flags = ofn->Flags;
    script.owner = ofn->hwndOwner;
    if (script.result) {
        lstrcpynW(ofn->lpstrFile, script.chosen.c_str(), static_cast<int>(ofn->nMaxFile));
    }
    return script.result;
}
BOOL WINAPI Open(OPENFILENAMEW* ofn) {
    script.opened = true;
    return Shown(ofn);
}
BOOL WINAPI Save(OPENFILENAMEW* ofn) {
    script.saved = true;
    return Shown(ofn);
}
DWORD WINAPI Error() {
    return script.error;
}

// A window of this thread for the adapters to be owned by.
class OwnerWindow {
  public:
    OwnerWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
    }
    ~OwnerWindow() { DestroyWindow(window_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return window_; }

  private:
    HWND window_;
};

class WinAdaptersFileDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        script = DialogScript();
        cd_.SetOwner(owner_.get());
        cd_.DialogTitle = "題名 Title";
        cd_.Filter = "Quelvar(*.kvd)|*.kvd";
        cd_.FileName = "C:\\テンプレート\\古い.kvd";
    }
    OwnerWindow owner_;
    FakeMsgBox msgBox_;
    Win32CommonDialog cd_{msgBox_, FileDialogCalls{Open, Save, Error}};
};

TEST_F(WinAdaptersFileDialog, GivesTitleFilterAndNameAndTakesTheChosenPathUnchanged) {
    script.chosen = L"C:\\新しい フォルダー\\名前";
    ASSERT_TRUE(cd_.ShowOpen());
    EXPECT_TRUE(script.opened);
    EXPECT_EQ(script.title, L"題名 Title");
    EXPECT_EQ(script.filter, std::wstring(L"Quelvar(*.kvd)\0*.kvd\0\0", 22));
    EXPECT_EQ(script.initialName, L"C:\\テンプレート\\古い.kvd");
    EXPECT_EQ(script.defaultExtension, L"");
    EXPECT_GE(script.room, 32768u);
    EXPECT_TRUE(script.flags & OFN_FILEMUSTEXIST);
    // No extension is added to a name typed without one.
    EXPECT_EQ(cd_.FileName, "C:\\新しい フォルダー\\名前");

    // Owned by the window, so that the window waits behind it; the program's current folder
    // stays where it was, so that no template's folder is held in use.
    EXPECT_EQ(script.owner, owner_.get());
    EXPECT_TRUE(script.flags & OFN_NOCHANGEDIR);

    ASSERT_TRUE(cd_.ShowSave());
    EXPECT_TRUE(script.saved);
    EXPECT_TRUE(script.flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(script.owner, owner_.get());
    EXPECT_TRUE(script.flags & OFN_NOCHANGEDIR);
    EXPECT_TRUE(msgBox_.calls.empty());
}

TEST_F(WinAdaptersFileDialog, CancelKeepsTheNameAndAFailureIsReported) {
    script.result = FALSE;
    EXPECT_FALSE(cd_.ShowSave());
    EXPECT_EQ(cd_.FileName, "C:\\テンプレート\\古い.kvd");
    EXPECT_TRUE(msgBox_.calls.empty());

    script.error = FNERR_INVALIDFILENAME;
    EXPECT_FALSE(cd_.ShowOpen());
    EXPECT_EQ(cd_.FileName, "C:\\テンプレート\\古い.kvd");
    ASSERT_EQ(msgBox_.calls.size(), 1u);
    EXPECT_EQ(msgBox_.calls[0].title, "題名 Title");
    EXPECT_EQ(msgBox_.calls[0].style, MB_OK | MB_ICONERROR);
    EXPECT_NE(msgBox_.calls[0].prompt.find("0x3002"), std::string::npos);
}

// What a message box of this thread showed, and the button it was answered with.
struct SeenBox {
    int answer = 0;
    std::wstring title, text;
    bool noIsDefault = false, hasIcon = false;
    HWND owner = nullptr;
    bool ownerDisabled = false;
    bool closedByEscOrClose = false;
    bool timedOut = false;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t kind[16];
    GetClassNameW(window, kind, 16);
    if (lstrcmpW(kind, L"#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadStatic(HWND control, LPARAM seenBox) {
    auto* seen = reinterpret_cast<SeenBox*>(seenBox);
    wchar_t kind[16];
    GetClassNameW(control, kind, 16);
    if (lstrcmpiW(kind, L"Static") == 0) {
        if ((GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen->hasIcon = true;
        } else if (GetWindowTextLengthW(control) > 0) {
            seen->text = WindowText(control);
        }
    }
    return TRUE;
}

// Shows the box and answers it from a second thread, as a user would, by its button's id: the
// buttons' captions follow the system's language. With escapeFirst, Esc and the close button
// are tried first; the button answers only if the box is still there.
SeenBox ShowAndAnswer(MsgBox& msgBox, int button, bool escapeFirst = false, HWND owner = nullptr) {
    SeenBox seen;
    const DWORD thread = GetCurrentThreadId();
    std::thread answerer([&seen, thread, button, escapeFirst, owner] {
        HWND box = nullptr;
        for (int tries = 0; tries < 200 && !box; ++tries) {
            Sleep(50);
            EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&box));
        }
        if (!box) {
            // A modal loop ends on WM_QUIT, so that a box that cannot be found fails the test
            // instead of waiting for a click that never comes.
            seen.timedOut = true;
            PostThreadMessageW(thread, WM_QUIT, 0, 0);
            return;
        }
        seen.title = WindowText(box);
        EnumChildWindows(box, ReadStatic, reinterpret_cast<LPARAM>(&seen));
        // The default button has the focus and the default style.
        const LONG_PTR style = GetWindowLongPtrW(GetDlgItem(box, IDNO), GWL_STYLE);
        seen.noIsDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        seen.owner = GetWindow(box, GW_OWNER);
        seen.ownerDisabled = owner != nullptr && !IsWindowEnabled(owner);
        if (escapeFirst) {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            Sleep(300);
            if (!IsWindow(box)) {
                seen.closedByEscOrClose = true;
                return;
            }
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    });
    seen.answer = msgBox.Show(NewQuestion(), 292, std::string(kNewTitle));
    answerer.join();
    if (seen.timedOut) {
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        ADD_FAILURE() << "no message box of this thread came up within 10 s";
    }
    return seen;
}

TEST(WinAdaptersMessageBox, TheNewQuestionIsThePlatformsYesNoBoxWithNoAsDefault) {
    Win32MsgBox msgBox;
    for (const int button : {IDNO, IDYES}) {
        const SeenBox seen = ShowAndAnswer(msgBox, button);
        EXPECT_EQ(seen.answer, button);
        EXPECT_EQ(Utf8(seen.title), kNewTitle);
        EXPECT_EQ(Utf8(seen.text), NewQuestion());
        EXPECT_TRUE(seen.noIsDefault);
        EXPECT_TRUE(seen.hasIcon);
    }
}

// Owned by the window, which cannot be used behind it; Esc and the close button either do
// nothing, as on Windows, or answer No: never Yes, which would clear the fields.
TEST(WinAdaptersMessageBox, TheQuestionIsOwnedByTheWindowAndEscOrCloseNeverClears) {
    OwnerWindow owner;
    Win32MsgBox msgBox;
    msgBox.SetOwner(owner.get());
    const SeenBox seen = ShowAndAnswer(msgBox, IDNO, true, owner.get());
    EXPECT_EQ(seen.owner, owner.get());
    EXPECT_TRUE(seen.ownerDisabled);
    EXPECT_NE(seen.answer, IDYES);
    std::printf("Esc and the close button %s the question\n",
                seen.closedByEscOrClose ? "closed" : "left open");
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

// The program's manifest, linked into this test as into the program: the system reads it (the
// process is DPI aware) and it asks for the themed controls and per-monitor density.
TEST(WinAdaptersManifest, SelectsThemedControlsAndPerMonitorDpiAwareness) {
    EXPECT_TRUE(IsProcessDPIAware());
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                               SizeofResource(nullptr, found));
    for (const char* wanted : {"Microsoft.Windows.Common-Controls", "PerMonitorV2", "true/pm",
                               "<longPathAware", "asInvoker"}) {
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
    }
}

}  // namespace
