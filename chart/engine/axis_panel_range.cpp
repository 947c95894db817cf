// What the axes ask of their chart: the extremes of the series on an axis, the axes' shared
// mapping switch, and the measure of label texts.
#include <algorithm>

#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

bool OnAxis(const TChartSeries* s, const TChartAxis* axis, bool isX) {
  return isX ? s->GetHorizAxisObj() == axis || s->GetHorizAxis() == aBothHorizAxis
             : s->GetVertAxisObj() == axis || s->GetVertAxis() == aBothVertAxis;
}

}  // namespace

double TCustomAxisPanel::InternalMinMax(const TChartAxis* axis, bool isMin, bool isX) {
  bool anyActive = false;
  for (int i = 0; i < SeriesCount() && !anyActive; ++i) {
    const TChartSeries* s = GetSeries(i);
    anyActive = s->GetActive() && OnAxis(s, axis, isX);
  }
  bool found = false;
  double result = 0;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = GetSeries(i);
    if (!OnAxis(s, axis, isX) || (anyActive && !s->GetActive())) continue;
    const double v =
        isX ? (isMin ? s->MinXValue() : s->MaxXValue()) : (isMin ? s->MinYValue() : s->MaxYValue());
    if (!found)
      result = v;
    else
      result = isMin ? std::min(result, v) : std::max(result, v);
    found = true;
  }
  return result;
}

void TCustomAxisPanel::SetAxesFastCalc(bool value) {
  axesFastCalc_ = value;
  for (TChartAxis* axis : axesList_) axis->SetCalcPosValue();
}

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis* axis) const {
  return axis && axis->LayoutVisible();
}

int TCustomAxisPanel::MultiLineTextWidth(const std::string& text, int& numLines) {
  numLines = 0;
  int widest = 0;
  TCanvas3D* canvas = GetCanvas3D();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(PlotLineSeparator, start);
    if (end == std::string::npos) end = text.size();
    ++numLines;
    if (canvas) widest = std::max(widest, canvas->TextWidth(text.substr(start, end - start)));
    start = end + 1;
  }
  return widest;
}

}  // namespace chart
