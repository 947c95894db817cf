// Horizontal bar series: the bar geometry with the axes swapped (margins, top edge, value end,
// origin, bounds with the touching rules), marks, extent and drawing order.
#include "chart/series/bar_series.h"

namespace chart {

// STUB: to be built.
THorizBarSeries::THorizBarSeries(platform::TComponent* Owner) : TCustomBarSeries(Owner) {}
void THorizBarSeries::CalcHorizMargins(int& l, int& r) {
  TChartSeries::CalcHorizMargins(l, r);
}
void THorizBarSeries::CalcVerticalMargins(int& t, int& b) {
  TChartSeries::CalcVerticalMargins(t, b);
}
void THorizBarSeries::DrawMark(int i, const std::string& t, TSeriesMarkPosition& p) {
  TChartSeries::DrawMark(i, t, p);
}
double THorizBarSeries::MaxXValue() {
  return TChartSeries::MaxXValue();
}
double THorizBarSeries::MinXValue() {
  return TChartSeries::MinXValue();
}
double THorizBarSeries::MaxYValue() {
  return TChartSeries::MaxYValue();
}
double THorizBarSeries::MinYValue() {
  return TChartSeries::MinYValue();
}
int THorizBarSeries::CalcXPos(int i) {
  return TChartSeries::CalcXPos(i);
}
int THorizBarSeries::CalcYPos(int i) {
  return TChartSeries::CalcYPos(i);
}
bool THorizBarSeries::MoreSameZOrder() const {
  return TChartSeries::MoreSameZOrder();
}
bool THorizBarSeries::DrawSeriesForward(int i) const {
  return TChartSeries::DrawSeriesForward(i);
}
int THorizBarSeries::InternalCalcMarkLength(int) {
  return 0;
}
void THorizBarSeries::CalcBarBounds(int) {}
int THorizBarSeries::GetOriginPos(int i) {
  return TCustomBarSeries::GetOriginPos(i);
}
TCustomBarSeries* THorizBarSeries::NewSameClass(platform::TComponent* owner) const {
  return new THorizBarSeries(owner);
}

}  // namespace chart
