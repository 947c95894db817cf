// Fast line series: a plain polyline with pixel skipping, stairs and nulls, and the incremental
// drawing of a newly added point.
#include "chart/series/fast_line_series.h"

namespace chart {

// STUB: to be built.
TFastLineSeries::TFastLineSeries(platform::TComponent* Owner) : TCustomLineSeries(Owner) {}
void TFastLineSeries::CalcPosition(int, int& x, int& y) {
  x = y = 0;
}
void TFastLineSeries::Assign(const platform::TPersistent* s) {
  TCustomLineSeries::Assign(s);
}
void TFastLineSeries::SetPen(const TChartPen* v) {
  TCustomLineSeries::SetPen(v);
}
void TFastLineSeries::SetSeriesColor(TColor c) {
  TCustomLineSeries::SetSeriesColor(c);
}
void TFastLineSeries::CalcHorizMargins(int& l, int& r) {
  TChartSeries::CalcHorizMargins(l, r);
}
void TFastLineSeries::CalcVerticalMargins(int& t, int& b) {
  TChartSeries::CalcVerticalMargins(t, b);
}
void TFastLineSeries::NotifyNewValue(TChartSeries* s, int i) {
  TChartSeries::NotifyNewValue(s, i);
}
void TFastLineSeries::DrawAllValues() {}
void TFastLineSeries::DrawValue(int) {}
void TFastLineSeries::DrawLegendShape(int i, const TRect& r) {
  TChartSeries::DrawLegendShape(i, r);
}
void TFastLineSeries::DrawMark(int i, const std::string& t, TSeriesMarkPosition& p) {
  TChartSeries::DrawMark(i, t, p);
}
void TFastLineSeries::PrepareLegendCanvas(int, TColor&, platform::TBrushStyle&) {}
int TFastLineSeries::Clicked(int, int) {
  return -1;
}
void TFastLineSeries::CreateSubGallery(const TAddSubChart& a) {
  TChartSeries::CreateSubGallery(a);
}
void TFastLineSeries::SetSubGallery(int) {}
void TFastLineSeries::PrepareCanvas() {}

}  // namespace chart
