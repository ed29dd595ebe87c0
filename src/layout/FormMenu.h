#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "EditorDocument.h"

// The window's File menu, whatever draws it: each item's name, caption, shortcut and the
// document's procedure it runs.
namespace quelvar::layout {

struct MenuItem {
    std::string_view name;
    std::string_view caption;  // '&' marks the access key
    char ctrlKey;              // the shortcut is Ctrl with this letter; 0 for none
    void (EditorDocument::*procedure)();
};

inline constexpr std::string_view kFileMenuName = "mnuFile";
inline constexpr std::string_view kFileMenuCaption = "File(&F)";

// In menu order. A separator, "mnuSp0", stands between Save and Quit.
inline constexpr std::array<MenuItem, 4> kFileMenu{{
    {"mnuNew", "&New Templete", 'N', &EditorDocument::mnuNew_Click},
    {"mnuOpen", "&Open Templete", 'O', &EditorDocument::mnuOpen_Click},
    {"mnuSave", "&Save Templete", 'S', &EditorDocument::mnuSave_Click},
    {"mnuQuit", "&Quit", 0, &EditorDocument::mnuQuit_Click},
}};
inline constexpr std::size_t kItemsBeforeSeparator = 3;
inline constexpr std::string_view kSeparatorName = "mnuSp0";

}  // namespace quelvar::layout
