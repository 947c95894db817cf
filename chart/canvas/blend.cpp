#include "chart/canvas/blend.h"

#include <algorithm>
#include <cstdint>

#include "chart/canvas/canvas_unit.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace {

TPlotTransparency ClampTransparency(TPlotTransparency t) {
  return std::clamp(t, 0, 100);
}

// A device-format bitmap holding the w x h pixels of src at (x, y).
std::unique_ptr<platform::TBitmap> CopyOf(platform::gdi::Dc& src, int x, int y, int w, int h) {
  auto bitmap = std::make_unique<platform::TBitmap>();
  bitmap->SetSize(w, h);
  bitmap->Canvas->GetHandle()->BitBlt(0, 0, w, h, src, x, y, platform::gdi::SRCCOPY);
  return bitmap;
}

}  // namespace

TPlotBlend::TPlotBlend(TPlotCanvas& canvas, const TRect& r, TPlotTransparency transparency)
    : canvas_(canvas), transparency_(ClampTransparency(transparency)) {
  SetRectangle(r);
}

TPlotBlend::~TPlotBlend() = default;

void TPlotBlend::SetRectangle(const TRect& r) {
  TRect n = OrientRectangle(r);
  n.Left = std::max(n.Left, 0);
  n.Top = std::max(n.Top, 0);
  n.Right = std::max(n.Right, 0);
  n.Bottom = std::max(n.Bottom, 0);
  // At the largest coordinate the one-pixel rectangle cannot exist; it ends up empty below.
  if (n.Right <= n.Left) n.Right = n.Left == INT32_MAX ? n.Left : n.Left + 1;
  if (n.Bottom <= n.Top) n.Bottom = n.Top == INT32_MAX ? n.Top : n.Top + 1;
  n.Right = std::min(n.Right, canvas_.Bounds.Right);
  n.Bottom = std::min(n.Bottom, canvas_.Bounds.Bottom);
  rect_ = n;
  validSize_ = n.Right > n.Left && n.Bottom > n.Top;
  saved_.reset();
  surface_ = nullptr;
  if (!validSize_) return;
  surface_ = canvas_.GetHandle();
  if (!surface_) {
    validSize_ = false;
    return;
  }
  saved_ = CopyOf(*surface_, n.Left, n.Top, n.Right - n.Left, n.Bottom - n.Top);
}

void TPlotBlend::DoBlend() {
  DoBlend(transparency_);
}

void TPlotBlend::DoBlend(TPlotTransparency transparency) {
  if (canvas_.Metafiling || !validSize_ || !surface_ || !saved_) return;
  const unsigned align = canvas_.GetTextAlign();
  const int w = rect_.Right - rect_.Left;
  const int h = rect_.Bottom - rect_.Top;
  auto current = CopyOf(*surface_, rect_.Left, rect_.Top, w, h);
  PlotBlendBitmaps(100 - ClampTransparency(transparency), saved_.get(), current.get(), {0, 0});
  surface_->BitBlt(rect_.Left, rect_.Top, w, h, *current->Canvas->GetHandle(), 0, 0,
                   platform::gdi::SRCCOPY);
  if (canvas_.GetTextAlign() != align) canvas_.SetTextAlign(align);
}

void PlotBlendBitmaps(int percent, platform::TBitmap* source, platform::TBitmap* dest,
                      TPoint offset) {
  if (!source || !dest) return;
  source->SetPixelFormat(platform::pf24bit);
  dest->SetPixelFormat(platform::pf24bit);
  const int x0 = std::max(offset.X, 0);
  const int y0 = std::max(offset.Y, 0);
  const int w = std::min(source->GetWidth(), dest->GetWidth() - x0);
  const int h = std::min(source->GetHeight(), dest->GetHeight() - y0);
  if (w <= 0 || h <= 0) return;
  percent = std::clamp(percent, 0, 100);
  if (PlotAlphaBlendAvailable) {
    // Source over dest at a constant source opacity.
    const int alpha = 255 - Round(percent * 2.55L);
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = source->ScanLine(y);
      std::uint8_t* d = dest->ScanLine(y0 + y) + 3 * x0;
      for (int i = 0; i < 3 * w; ++i)
        d[i] = static_cast<std::uint8_t>((s[i] * alpha + d[i] * (255 - alpha) + 127) / 255);
    }
    return;
  }
  const int m = 100 - percent;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* s = source->ScanLine(y);
    std::uint8_t* d = dest->ScanLine(y0 + y) + 3 * x0;
    for (int x = 0; x < w; ++x, s += 3, d += 3) {
      if (d[0] == 255 && d[1] == 255 && d[2] == 255) d[2] = 254;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(d[c] + m * (s[c] - d[c]) / 100);
    }
  }
}

void PlotGrayScale(platform::TBitmap* bitmap, bool inverted, int mode) {
  if (!bitmap) return;
  bitmap->SetPixelFormat(platform::pf24bit);
  for (int y = 0; y < bitmap->GetHeight(); ++y) {
    std::uint8_t* p = bitmap->ScanLine(y);
    if (!p) continue;
    for (int x = 0; x < bitmap->GetWidth(); ++x, p += 3) {
      const int b = p[0], g = p[1], r = p[2];
      int grey = mode != 0 ? Round(r * 0.3L + g * 0.59L + b * 0.11L) : (r + g + b) / 3;
      grey = std::clamp(grey, 0, 255);
      if (inverted) grey = 255 - grey;
      p[0] = p[1] = p[2] = static_cast<std::uint8_t>(grey);
    }
  }
  bitmap->SetPixelFormat(platform::pfDevice);
}

}  // namespace chart
