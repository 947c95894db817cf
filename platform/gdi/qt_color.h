// Private to the drawing layers: the one place a 0x00BBGGRR colour (or a system colour) becomes
// a QColor and back.
#pragma once

#include <QColor>

#include "platform/gdi/types.h"

namespace platform::gdi {

inline QColor ToQColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

inline TColor FromQRgb(unsigned rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace platform::gdi
