// Private to the layer: controls whose descendants paint over what the style draws. Such a
// paint goes through an image: the style's control first, then the descendant's drawing on a
// canvas over that image; the window then copies the image.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"

namespace platform::qt {

// Fills image (width x height) with the style's drawing of the widget (base), then runs over on
// the image's canvas.
inline void PaintThroughImage(TBitmap& image, const QWidget& widget, int width, int height,
                              const std::function<void(QPainter&)>& base,
                              const std::function<void(TCanvas*)>& over) {
  QImage pixels(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  pixels.fill(widget.palette().color(widget.backgroundRole()));
  {
    QPainter p(&pixels);
    base(p);
  }
  image.SetImage(pixels);
  if (over) over(image.Canvas);
}

}  // namespace platform::qt
