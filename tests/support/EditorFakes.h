#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "WindowServices.h"

// The window's services as the document sees them, for tests of the document's behaviour with
// either window or none: what the commands show is recorded and their answers are scripted.
namespace testing_support {

// A message box that records what it was asked and answers from a script (No when the script
// has run out).
class FakeMsgBox : public quelvar::MsgBox {
  public:
    struct Call {
        std::string prompt;
        int style;
        std::string title;
    };

    int Show(const std::string& prompt, int style, const std::string& title) override {
        calls.push_back({prompt, style, title});
        if (answers.empty()) {
            return quelvar::mb::kIdNo;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Call> calls;
    std::deque<int> answers;
};

// A file dialog that records its properties when shown and then picks the next scripted path,
// or cancels when the script holds nothing for it.
class FakeDialog : public quelvar::CommonDialog {
  public:
    struct Shown {
        bool open;
        std::string title;
        std::string filter;
        std::string initialName;
    };

    bool ShowOpen() override { return Show(true); }
    bool ShowSave() override { return Show(false); }

    std::vector<Shown> shown;
    std::deque<std::optional<std::string>> choices;

  private:
    bool Show(bool open) {
        shown.push_back({open, DialogTitle, Filter, FileName});
        if (choices.empty() || !choices.front()) {
            if (!choices.empty()) {
                choices.pop_front();
            }
            return false;
        }
        FileName = *choices.front();
        choices.pop_front();
        return true;
    }
};

class FakeWindow : public quelvar::WindowHost {
  public:
    void Unload() override { ++unloads; }
    int unloads = 0;
};

}  // namespace testing_support
