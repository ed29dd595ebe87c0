#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "TemplateFields.h"

// Where the main window's controls stand, in twips (1440 to the inch), whatever draws them.
namespace quelvar::layout {

struct Twips {
    int left, top, width, height;
};

// Positions are relative to the container: the window's client area or the frame "MainData".
enum class Container { Window, Frame };

enum class Align { Left, Right };

// A label and the text box its access key leads to.
struct LabelledBox {
    Container container;
    std::string_view labelName;
    Twips label;
    Align alignment;
    std::size_t field;
    Twips box;
};

inline constexpr Twips kClientArea{0, 0, 5790, 3585};
// The frame's own corner lies at (0, 735) in the client area.
inline constexpr Twips kFrame{0, 735, 5790, 2850};
inline constexpr std::string_view kFrameName = "fraMainData";
inline constexpr std::string_view kFrameCaption = "MainData";
// The file dialog control: it has no place on screen, only its name.
inline constexpr std::string_view kFileDialogName = "CD";
inline constexpr std::string_view kWindowCaption = "Quelvar Edit Tool";

// In tab order: the tag name and author boxes on the window, the frame, then its nine boxes.
// The frame comes between the author's box and the base element's label.
extern const std::array<LabelledBox, kFieldCount> kTabOrder;
inline constexpr std::size_t kRowsBeforeFrame = 2;

// Where a control of the given container lies in the client area.
Twips InClientArea(Container container, const Twips& place);

}  // namespace quelvar::layout
