#include "Twips.h"

#include "LayoutScale.h"

namespace quelvar::qt {

QRect TwipsToPixels(const layout::Twips& place, double scale) {
    const layout::PixelRect pixels = layout::ToPixels(place, kQtDpi, scale);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

}  // namespace quelvar::qt
