// Line, area and point series: the hit test (pointers, segments, areas) and mark placement.
#include "chart/series/line_series.h"

namespace chart {

// STUB: to be built.
int TCustomSeries::CalcMarkLength(int) {
  return 0;
}
bool TCustomSeries::ClickedPointer(int, int, int, int, int) {
  return false;
}
void TCustomSeries::DrawMark(int i, const std::string& t, TSeriesMarkPosition& p) {
  TChartSeries::DrawMark(i, t, p);
}
int TCustomSeries::Clicked(int, int) {
  return -1;
}
bool TCustomSeries::RaiseClicked() const {
  return TChartSeries::RaiseClicked();
}
int THorizLineSeries::CalcMarkLength(int) {
  return 0;
}
void THorizLineSeries::DrawMark(int i, const std::string& t, TSeriesMarkPosition& p) {
  TChartSeries::DrawMark(i, t, p);
}
void THorizAreaSeries::DrawMark(int i, const std::string& t, TSeriesMarkPosition& p) {
  TChartSeries::DrawMark(i, t, p);
}

}  // namespace chart
