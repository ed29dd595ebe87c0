#pragma once

#include <QRect>
#include <QWidget>

namespace quelvar {

// The window was laid out in twips: 1440 to the inch, 15 to the pixel at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;

// A text box was drawn 270 twips (18 pixels) high for the fonts of its time; today's fonts need
// more, so the whole layout is scaled by one factor until such a box holds a line of text.
double LayoutScale(const QWidget& textBoxSample);

// The factor at which a caption fits a label that is widthTwips wide.
double CaptionScale(const QWidget& label, const QString& caption, int widthTwips);

QRect TwipsToPixels(int left, int top, int width, int height, double scale);

}  // namespace quelvar
