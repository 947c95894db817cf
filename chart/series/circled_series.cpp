// Circled series: where the circle goes in the chart rectangle, angles and pixels, rotation, the
// circle's back colour, and the 3D view the series wants while it is active.
#include "chart/series/pie_series.h"

namespace chart {

// STUB: to be built.
TCircledSeries::TCircledSeries(platform::TComponent* Owner) : TChartSeries(Owner) {
  gradient_ = std::make_unique<TPlotGradient>([this] { Repaint(); });
}
TCircledSeries::~TCircledSeries() = default;
void TCircledSeries::SetCircled(bool value) {
  circled_ = value;
}
void TCircledSeries::SetCustomXRadius(int value) {
  customXRadius_ = value;
}
void TCircledSeries::SetCustomYRadius(int value) {
  customYRadius_ = value;
}
void TCircledSeries::SetRotationAngle(int value) {
  rotationAngle_ = value;
}
void TCircledSeries::SetGradient(const TCustomPlotGradient*) {}
void TCircledSeries::AngleToPos(double, double, double, int& x, int& y) const {
  x = y = 0;
}
double TCircledSeries::PointToAngle(int, int) const {
  return 0;
}
double TCircledSeries::PointToRadius(int, int) const {
  return 0;
}
void TCircledSeries::Rotate(int) {}
void TCircledSeries::CalcRadius() {}
void TCircledSeries::AdjustCircleRect() {}
TColor TCircledSeries::CalcCircleBackColor() {
  return platform::clWhite;
}
bool TCircledSeries::HasBackColor() const {
  return false;
}
void TCircledSeries::InitCustom3DOptions(TView3DOptions&) const {}
void TCircledSeries::SetParentProperties(bool) {}
void TCircledSeries::CheckOtherSeriesMarks() {}
void TCircledSeries::Assign(const platform::TPersistent* s) {
  TChartSeries::Assign(s);
}
void TCircledSeries::SetActive(bool v) {
  TChartSeries::SetActive(v);
}
void TCircledSeries::SetParentChart(TCustomAxisPanel* c) {
  TChartSeries::SetParentChart(c);
}
void TCircledSeries::CalcZOrder() {
  TChartSeries::CalcZOrder();
}
double TCircledSeries::MaxXValue() {
  return 0;
}
double TCircledSeries::MinXValue() {
  return 0;
}
double TCircledSeries::MaxYValue() {
  return 0;
}
double TCircledSeries::MinYValue() {
  return 0;
}
void TCircledSeries::DoBeforeDrawValues() {
  TChartSeries::DoBeforeDrawValues();
}
void TCircledSeries::GalleryChanged3D(bool v) {
  TChartSeries::GalleryChanged3D(v);
}
void TCircledSeries::DisableRotation() {}

}  // namespace chart
