// Private to the layer: controls whose descendants paint over what the style draws. Such a
// paint goes through an image: the style's control first, then the descendant's drawing on a
// canvas over that image; the window then copies the image.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "platform/vcl/component.h"
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

// The paint event of such a control: the owner's image copied to the widget. False when the
// owner does not paint itself, so the widget paints as usual.
template <class Owner>
bool PaintOwnerImage(QWidget* widget, Owner* owner) {
  if (!owner->CustomPaint()) return false;
  TBitmap image;
  RunHandler([&] { owner->PaintTo(image); }, true);
  if (const QImage* pixels = image.Image(); pixels && !pixels->isNull()) {
    QPainter p(widget);
    p.drawImage(0, 0, *pixels);
  }
  return true;
}

}  // namespace platform::qt
