#include "EditorMenu.h"

#include <string>
#include <vector>

#include "WinText.h"

namespace quelvar::win {

namespace {

static_assert(kCmdQuit - kCmdNew + 1 == layout::kFileMenu.size());

WORD CommandId(std::size_t index) {
    return static_cast<WORD>(kCmdNew + index);
}

}  // namespace

HMENU CreateEditorMenu() {
    HMENU file = CreatePopupMenu();
    for (std::size_t index = 0; index < layout::kFileMenu.size(); ++index) {
        if (index == layout::kItemsBeforeSeparator) {
            AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        }
        const layout::MenuItem& item = layout::kFileMenu[index];
        std::wstring caption = Wide(item.caption);
        if (item.ctrlKey) {
            caption += L"\tCtrl+";
            caption += static_cast<wchar_t>(item.ctrlKey);
        }
        AppendMenuW(file, MF_STRING, CommandId(index), caption.c_str());
    }
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file),
                Wide(layout::kFileMenuCaption).c_str());
    return bar;
}

HACCEL CreateEditorAccelerators() {
    std::vector<ACCEL> keys;
    for (std::size_t index = 0; index < layout::kFileMenu.size(); ++index) {
        if (const char key = layout::kFileMenu[index].ctrlKey) {
            keys.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(key), CommandId(index)});
        }
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

const layout::MenuItem* MenuItemOf(WORD id) {
    if (id < kCmdNew || id > kCmdQuit) {
        return nullptr;
    }
    return &layout::kFileMenu[id - kCmdNew];
}

}  // namespace quelvar::win
