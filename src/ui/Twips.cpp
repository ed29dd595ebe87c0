#include "Twips.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>

namespace quelvar {

double LayoutScale(const QWidget& textBoxSample) {
    return std::max(1.0, textBoxSample.sizeHint().height() / (270 / kTwipsPerPixel));
}

double CaptionScale(const QWidget& label, const QString& caption, int widthTwips) {
    QString shown = caption;
    shown.remove('&');
    // A label draws its text a pixel or two in from its edges.
    const int needed = label.fontMetrics().horizontalAdvance(shown) + 2;
    return needed / (widthTwips / kTwipsPerPixel);
}

QRect TwipsToPixels(int left, int top, int width, int height, double scale) {
    // Edges are converted, not sizes, so that boxes that end together in twips end together.
    const auto pixels = [scale](int twips) {
        return static_cast<int>(std::lround(twips / kTwipsPerPixel * scale));
    };
    const int x = pixels(left);
    const int y = pixels(top);
    return QRect(x, y, pixels(left + width) - x, pixels(top + height) - y);
}

}  // namespace quelvar
