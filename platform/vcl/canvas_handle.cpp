// The canvas's device context, with the canvas's pen, brush and font selected into it.
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include "platform/gdi/dc.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

QSizeF ScreenMm() {
  qt::EnsureApplication();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->physicalSize() : QSizeF();
}

double Mm(int pixels, int dpi) {
  return dpi > 0 ? pixels * 25.4 / dpi : 0;
}

}  // namespace

int TCanvas::DeviceBitsPerPixel() const {
  if (deviceBits_ > 0) return deviceBits_;
  return image_ && !image_->isNull() ? image_->depth() : 32;
}

double TCanvas::DeviceWidthMm() const {
  if (dpiX_ <= 0) return ScreenMm().width();
  return image_ ? Mm(image_->width(), dpiX_) : 0;
}

double TCanvas::DeviceHeightMm() const {
  if (dpiY_ <= 0) return ScreenMm().height();
  return image_ ? Mm(image_->height(), dpiY_) : 0;
}

gdi::Dc* TCanvas::GetHandle() {
  if (!dc_) {
    dc_ = std::make_shared<gdi::Dc>(image_);
    // The canvas draws only on a bitmap's image, and the bitmap ends the painter first.
    dc_->KeepPainterOpen(true);
  }
  gdi::Dc& dc = *dc_;
  if (dc.Target() != image_) dc.SetTarget(image_);
  // Only what changed since the last call is looked at again: a tool that changed, or all of
  // them after something else was selected. A pattern's pixels may change without the brush
  // knowing, so a pattern brush is looked at every time.
  const bool all = dc.SelectionStamp() != selected_;
  if (all || Pen->Version() != penVersion_) SelectPen(dc);
  if (all || Brush->Version() != brushVersion_ || Brush->GetBitmap()) SelectBrush(dc);
  if (all || Font->Version() != fontVersion_ || fontChanged_) SelectFont(dc);
  selected_ = dc.SelectionStamp();
  penVersion_ = Pen->Version();
  brushVersion_ = Brush->Version();
  fontVersion_ = Font->Version();
  return &dc;
}

void TCanvas::SelectPen(gdi::Dc& dc) {
  const gdi::LogPen pen = Pen->Handle();
  if (!(dc.CurrentPen() == pen)) dc.SelectPen(pen);
  dc.SetROP2(PenModeToRop2(Pen->GetMode()));
}

void TCanvas::SelectBrush(gdi::Dc& dc) {
  gdi::LogBrush brush;
  const TColor color = ColorToRGB(Brush->GetColor());
  brush.Color = color;
  const QImage* pattern = Brush->GetBitmap() ? Brush->GetBitmap()->Image() : nullptr;
  if (pattern && !pattern->isNull()) {
    brush.Style = gdi::BS_PATTERN;
    brush.Pattern = std::make_shared<const QImage>(*pattern);
  } else if (Brush->GetStyle() == bsSolid) {
    brush.Style = gdi::BS_SOLID;
  } else if (Brush->GetStyle() == bsClear) {
    brush.Style = gdi::BS_NULL;
  } else {
    brush.Style = gdi::BS_HATCHED;
    brush.Hatch = gdi::HS_HORIZONTAL + (static_cast<int>(Brush->GetStyle()) - bsHorizontal);
  }
  const gdi::LogBrush& current = dc.CurrentBrush();
  const bool samePattern = current.Pattern && brush.Pattern && *current.Pattern == *brush.Pattern;
  if (current.Style != brush.Style || current.Color != brush.Color ||
      current.Hatch != brush.Hatch || (brush.Pattern && !samePattern)) {
    dc.SelectBrush(brush);
    // Selecting a brush also sets what text and hatch gaps are drawn on, as the platform's
    // canvas does: a solid brush's colour, opaque; otherwise transparent.
    if (brush.Style == gdi::BS_SOLID) {
      dc.SetBkColor(color);
      dc.SetBkMode(gdi::OPAQUE);
    } else {
      dc.SetBkColor(~color & 0xFFFFFF);
      dc.SetBkMode(gdi::TRANSPARENT);
    }
  }
}

void TCanvas::SelectFont(gdi::Dc& dc) {
  // The text colour follows the font only when the font changed: in between, the text colour
  // may be a pattern brush's foreground set on the device context itself.
  const gdi::LogFont font = Font->ToLogFont();
  if (fontChanged_ || !(dc.CurrentFont() == font)) {
    dc.SelectFont(font);
    dc.SetTextColor(ColorToRGB(Font->GetColor()));
    fontChanged_ = false;
  }
}

}  // namespace platform
