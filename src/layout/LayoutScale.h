#pragma once

#include <functional>
#include <string_view>

#include "FormLayout.h"

// How the twip layout becomes pixels, at the display's density (1440 twips to the inch). The
// layout assumes a font whose line of text fits a text box 270 twips high (18 pixels at 96 dots
// per inch) and whose captions fit their labels' widths. Where the system's font needs more, the
// whole layout is drawn larger by one factor, never smaller, until a box holds a line of text
// and every label holds its caption.
namespace quelvar::layout {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTextBoxTwips = 270;

// The width in pixels at which a caption (with its '&' access-key marks) is drawn.
using CaptionWidth = std::function<int(std::string_view caption)>;

// The factor for a display of dpi dots per inch, given the height in pixels a text box needs
// for one line and a way to measure the captions of the labels in kTabOrder.
double LayoutScale(double dpi, int textBoxHeight, const CaptionWidth& captionWidth);

struct PixelRect {
    int left, top, width, height;
};

PixelRect ToPixels(const Twips& place, double dpi, double scale);

}  // namespace quelvar::layout
