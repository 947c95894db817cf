#include "chart/panel/zoom_panning.h"

#include <utility>

namespace chart {

void TZoomPanning::Activate(int x, int y) {
  X0 = X1 = x;
  Y0 = Y1 = y;
  Active = true;
}

void TZoomPanning::Check() {
  if (X1 < X0) std::swap(X0, X1);
  if (Y1 < Y0) std::swap(Y0, Y1);
}

TPlotZoomBrush::TPlotZoomBrush() {
  SetColor(platform::clWhite);
  SetStyle(platform::bsClear);
}

TPlotZoomPen::TPlotZoomPen() {
  SetColor(platform::clWhite);
}

TPlotZoom::TPlotZoom() = default;
TPlotZoom::~TPlotZoom() = default;

// MinimumPixels and UpLeftZooms are not copied: layouts have always relied on that.
void TPlotZoom::Assign(const platform::TPersistent* source) {
  const auto* z = dynamic_cast<const TPlotZoom*>(source);
  if (!z || z == this) return;
  Allow = z->Allow;
  Animated = z->Animated;
  AnimatedSteps = z->AnimatedSteps;
  SetBrush(z->brush_.get());
  Direction = z->Direction;
  KeyShift = z->KeyShift;
  MouseButton = z->MouseButton;
  SetPen(z->pen_.get());
}

TPlotZoomBrush* TPlotZoom::GetBrush() {
  if (!brush_) brush_ = std::make_unique<TPlotZoomBrush>();
  return brush_.get();
}

void TPlotZoom::SetBrush(const TChartBrush* value) {
  if (!value) {
    brush_.reset();
    return;
  }
  if (value != brush_.get()) GetBrush()->Assign(*value);
}

TPlotZoomPen* TPlotZoom::GetPen() {
  if (!pen_) pen_ = std::make_unique<TPlotZoomPen>();
  return pen_.get();
}

void TPlotZoom::SetPen(const TChartPen* value) {
  if (!value) {
    pen_.reset();
    return;
  }
  if (value != pen_.get()) GetPen()->Assign(*value);
}

}  // namespace chart
