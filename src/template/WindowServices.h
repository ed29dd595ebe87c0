#pragma once

#include <string>

// What the editor's commands need from the window: a message box, the file dialog and the
// window itself, as small interfaces. Each window provides them; tests fake them.
namespace quelvar {

// Message box styles and answers, with the numbers of the Windows message box.
namespace mb {
inline constexpr int kOk = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kIconError = 16;
inline constexpr int kIconQuestion = 32;
inline constexpr int kIconWarning = 48;
inline constexpr int kDefaultButton2 = 256;

inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// A modal message box; returns the button pressed.
class MsgBox {
  public:
    virtual ~MsgBox() = default;
    virtual int Show(const std::string& prompt, int style, const std::string& title) = 0;
};

// The file dialog control: its properties are set before it is shown and FileName is read back
// afterwards. Filter is "description|pattern".
class CommonDialog {
  public:
    virtual ~CommonDialog() = default;

    // Modal; false when the user cancels, leaving FileName as it was.
    virtual bool ShowOpen() = 0;
    virtual bool ShowSave() = 0;

    std::string DialogTitle;
    std::string Filter;
    std::string FileName;
};

// The main window, which ends the program when it is unloaded.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    virtual void Unload() = 0;
};

}  // namespace quelvar
