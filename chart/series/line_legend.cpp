// Line, area and point series: legend symbols and canvases, gallery entries and drawing order.
#include "chart/series/line_series.h"

namespace chart {

// STUB: to be built.
void TCustomSeries::DrawLegendShape(int i, const TRect& r) {
  TChartSeries::DrawLegendShape(i, r);
}
void TCustomSeries::PrepareLegendCanvas(int, TColor&, platform::TBrushStyle&) {}
void TLineSeries::CreateSubGallery(const TAddSubChart& a) {
  TCustomSeries::CreateSubGallery(a);
}
void TLineSeries::SetSubGallery(int) {}
void TPointSeries::CreateSubGallery(const TAddSubChart& a) {
  TCustomSeries::CreateSubGallery(a);
}
void TPointSeries::SetSubGallery(int) {}
void TPointSeries::PrepareForGallery(bool e) {
  TCustomSeries::PrepareForGallery(e);
}
bool TAreaSeries::DrawSeriesForward(int i) const {
  return TCustomSeries::DrawSeriesForward(i);
}
void TAreaSeries::CreateSubGallery(const TAddSubChart& a) {
  TCustomSeries::CreateSubGallery(a);
}
void TAreaSeries::SetSubGallery(int) {}
void TAreaSeries::PrepareForGallery(bool e) {
  TCustomSeries::PrepareForGallery(e);
}

}  // namespace chart
