#pragma once

#include <QRect>

#include "FormLayout.h"

namespace quelvar::qt {

// Qt's pixels are those of a 96 dots-per-inch display: 15 twips to the pixel.
inline constexpr double kQtDpi = 96.0;

QRect TwipsToPixels(const layout::Twips& place, double scale);

}  // namespace quelvar::qt
