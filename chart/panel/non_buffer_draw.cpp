// Drawing the panel somewhere other than its window, leaving the window's buffer alone.
#include <algorithm>

#include "chart/canvas/canvas3d.h"
#include "chart/panel/plot_panel.h"
#include "platform/vcl/picture.h"

namespace chart {

void TCustomPlotPanel::NonBufferDraw(platform::TCanvas* canvas, const TRect& r) {
  const bool buffered = GetBufferedDisplay();
  auto* canvas3D = dynamic_cast<TPlotCanvas3D*>(internalCanvas_.get());
  if (canvas3D) canvas3D->KeepBuffer = true;
  struct Restore {
    TCustomPlotPanel& panel;
    TPlotCanvas3D* canvas3D;
    bool buffered;
    ~Restore() {
      panel.exportLayout_ = true;
      panel.SetBufferedDisplay(buffered);
      // Buffering back on points the canvas at the buffer bitmap; the window is where it
      // belongs between passes, so the next paint copies the buffer instead of onto itself.
      panel.internalCanvas_->SetCanvas(panel.ControlCanvas);
      if (canvas3D) {
        canvas3D->KeepBuffer = false;
        panel.Invalidate();
      }
    }
  } restore{*this, canvas3D, buffered};
  SetBufferedDisplay(false);
  Draw(canvas, r);
}

void TCustomPlotPanel::DrawToMetaCanvas(platform::TCanvas* canvas, const TRect& r) {
  internalCanvas_->Metafiling = true;
  struct Restore {
    TCanvas3D& canvas;
    ~Restore() { canvas.Metafiling = false; }
  } restore{*internalCanvas_};
  NonBufferDraw(canvas, r);
}

// The bitmap holds r's size; the panel is drawn into it from its top-left corner, wherever r
// lies.
std::unique_ptr<platform::TBitmap> TCustomPlotPanel::PlotCreateBitmap(
    TColor backColor, const TRect& r, platform::TPixelFormat pixelFormat) {
  auto bitmap = std::make_unique<platform::TBitmap>();
  bitmap->SetPixelFormat(internalCanvas_->GetSupportsFullRotation() ? platform::pf24bit
                                                                    : pixelFormat);
  const long long w = static_cast<long long>(r.Right) - r.Left;
  const long long h = static_cast<long long>(r.Bottom) - r.Top;
  const TRect target{0, 0, static_cast<int>(std::clamp(w, 0LL, 1LL << 15)),
                     static_cast<int>(std::clamp(h, 0LL, 1LL << 15))};
  bitmap->SetSize(target.Right, target.Bottom);
  if (backColor != platform::clWhite) {
    bitmap->Canvas->Brush->SetStyle(platform::bsSolid);
    bitmap->Canvas->Brush->SetColor(backColor);
    bitmap->Canvas->FillRect(target);
  }
  NonBufferDraw(bitmap->Canvas, target);
  return bitmap;
}

std::unique_ptr<platform::TBitmap> TCustomPlotPanel::PlotCreateBitmap() {
  return PlotCreateBitmap(GetColor(), GetRectangle(), platform::pfDevice);
}

}  // namespace chart
