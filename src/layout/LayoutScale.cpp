#include "LayoutScale.h"

#include <algorithm>
#include <cmath>

#include "TemplateFields.h"

namespace quelvar::layout {

namespace {

double Pixels(int twips, double dpi) {
    return twips * dpi / kTwipsPerInch;
}

}  // namespace

double LayoutScale(double dpi, int textBoxHeight, const CaptionWidth& captionWidth) {
    double scale = std::max(1.0, textBoxHeight / Pixels(kTextBoxTwips, dpi));
    for (const LabelledBox& row : kTabOrder) {
        // A label draws its text a pixel or two in from its edges.
        const int needed = captionWidth(TemplateFields[row.field].label) + 2;
        scale = std::max(scale, needed / Pixels(row.label.width, dpi));
    }
    return scale;
}

PixelRect ToPixels(const Twips& place, double dpi, double scale) {
    // Edges are converted, not sizes, so that boxes that end together in twips end together.
    const auto pixels = [dpi, scale](int twips) {
        return static_cast<int>(std::lround(Pixels(twips, dpi) * scale));
    };
    const int left = pixels(place.left);
    const int top = pixels(place.top);
    return {left, top, pixels(place.left + place.width) - left,
            pixels(place.top + place.height) - top};
}

}  // namespace quelvar::layout
