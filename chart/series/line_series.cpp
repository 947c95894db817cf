// Line, area and point series: settings, class set-ups, stacking, extent, origin and margins.
#include "chart/series/line_series.h"

#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"

namespace chart {

// STUB: to be built.
TCustomSeries::TCustomSeries(platform::TComponent* Owner) : TCustomLineSeries(Owner) {
  areaBrush_ = std::make_unique<TChartBrush>([this] { Repaint(); });
  areaLinesPen_ = std::make_unique<TChartPen>([this] { Repaint(); });
  gradient_ = std::make_unique<TPlotGradient>([this] { Repaint(); });
  outLine_ = std::make_unique<TChartHiddenPen>([this] { Repaint(); });
  pointer_ = std::make_unique<TSeriesPointer>(this);
  shadow_ = std::make_unique<TPlotShadow>([this] { Repaint(); });
}
TCustomSeries::~TCustomSeries() = default;
void TCustomSeries::SetAreaChartBrush(const TChartBrush*) {}
platform::TBrushStyle TCustomSeries::GetAreaBrush() const {
  return areaBrush_->GetStyle();
}
void TCustomSeries::SetAreaBrush(platform::TBrushStyle) {}
void TCustomSeries::SetAreaLinesPen(const TChartPen*) {}
platform::TBrushStyle TCustomSeries::GetLineBrush() const {
  return GetBrush()->GetStyle();
}
void TCustomSeries::SetLineBrush(platform::TBrushStyle) {}
void TCustomSeries::SetGradient(const TCustomPlotGradient*) {}
void TCustomSeries::SetOutLine(const TChartPen*) {}
void TCustomSeries::SetPointer(const TSeriesPointer*) {}
void TCustomSeries::SetShadow(const TPlotShadow*) {}
void TCustomSeries::SetStacked(TCustomSeriesStack value) {
  stacked_ = value;
}
void TCustomSeries::SetTransparency(int value) {
  transparency_ = value;
}
double TCustomSeries::PointOrigin(int, bool) {
  return 0;
}
int TCustomSeries::CalcStackedPos(int, double) {
  return 0;
}
int TCustomSeries::GetOriginPos(int) {
  return 0;
}
TChartAxis* TCustomSeries::ValueAxis() const {
  return MandatoryAxis();
}
TChartAxis* TCustomSeries::PositionAxis() const {
  return nullptr;
}
void TCustomSeries::Assign(const platform::TPersistent* source) {
  TChartSeries::Assign(source);
}
void TCustomSeries::SetParentChart(TCustomAxisPanel* chart) {
  TChartSeries::SetParentChart(chart);
}
void TCustomSeries::CalcHorizMargins(int& l, int& r) {
  TChartSeries::CalcHorizMargins(l, r);
}
void TCustomSeries::CalcVerticalMargins(int& t, int& b) {
  TChartSeries::CalcVerticalMargins(t, b);
}
void TCustomSeries::CalcZOrder() {
  TChartSeries::CalcZOrder();
}
double TCustomSeries::MaxXValue() {
  return TChartSeries::MaxXValue();
}
double TCustomSeries::MinXValue() {
  return TChartSeries::MinXValue();
}
double TCustomSeries::MaxYValue() {
  return TChartSeries::MaxYValue();
}
double TCustomSeries::MinYValue() {
  return TChartSeries::MinYValue();
}
int TCustomSeries::CalcXPos(int i) {
  return TChartSeries::CalcXPos(i);
}
int TCustomSeries::CalcYPos(int i) {
  return TChartSeries::CalcYPos(i);
}
double TCustomSeries::StackedMaxValue(double v) {
  return v;
}
double TCustomSeries::StackedMinValue(double v) {
  return v;
}

TLineSeries::TLineSeries(platform::TComponent* Owner) : TCustomSeries(Owner) {}
THorizLineSeries::THorizLineSeries(platform::TComponent* Owner) : TLineSeries(Owner) {}
TPointSeries::TPointSeries(platform::TComponent* Owner) : TCustomSeries(Owner) {}
void TPointSeries::Assign(const platform::TPersistent* source) {
  TCustomSeries::Assign(source);
}
int TPointSeries::GetTransparency() const {
  return TCustomSeries::GetTransparency();
}
void TPointSeries::SetTransparency(int value) {
  TCustomSeries::SetTransparency(value);
}
TAreaSeries::TAreaSeries(platform::TComponent* Owner) : TCustomSeries(Owner) {}
TMultiArea TAreaSeries::GetMultiArea() const {
  return maNone;
}
void TAreaSeries::SetMultiArea(TMultiArea) {}
void TAreaSeries::Assign(const platform::TPersistent* source) {
  TCustomSeries::Assign(source);
}
int TAreaSeries::GetOriginPos(int i) {
  return TCustomSeries::GetOriginPos(i);
}
double TAreaSeries::MaxXValue() {
  return TCustomSeries::MaxXValue();
}
double TAreaSeries::MinXValue() {
  return TCustomSeries::MinXValue();
}
double TAreaSeries::MaxYValue() {
  return TCustomSeries::MaxYValue();
}
double TAreaSeries::MinYValue() {
  return TCustomSeries::MinYValue();
}
THorizAreaSeries::THorizAreaSeries(platform::TComponent* Owner) : TAreaSeries(Owner) {}

}  // namespace chart
