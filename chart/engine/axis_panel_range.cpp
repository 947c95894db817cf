// What the axes ask of their chart: the extremes of the series on an axis, the axes' shared
// mapping switch, and the measure of label texts.
#include <algorithm>
#include <cmath>

#include "chart/engine/axis_panel.h"
#include "chart/engine/pages.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

bool OnAxis(const TChartSeries* s, const TChartAxis* axis, bool isX) {
  return isX ? s->GetHorizAxisObj() == axis || s->GetHorizAxis() == aBothHorizAxis
             : s->GetVertAxisObj() == axis || s->GetVertAxis() == aBothVertAxis;
}

}  // namespace

double TCustomAxisPanel::InternalMinMax(const TChartAxis* axis, bool isMin, bool isX) {
  const int perPage = pages_->GetMaxPointsPerPage();
  if (perPage >= 1) {
    // On the position axis the range is the current page of the series with the most points.
    TChartSeries* most = GetAxisSeriesMaxPoints(axis);
    if (most && most->YIsValue() == isX) {
      int first = 0, last = 0;
      most->CalcFirstLastPage(first, last);
      if (first < 0) return 0;
      const TChartValueList& pos = *most->PositionValues();
      const double x0 = pos.GetValue(first);
      if (isMin) return x0;
      const double x1 = pos.GetValue(last);
      const int d = last - first + 1;
      if (pages_->GetScaleLastPage() || d >= perPage) return x1;
      // A short last page keeps the spacing of a full one: its points' own step, or for a lone
      // point the step of the full page before it, spread over the page's perPage - 1 steps.
      double step = 0;
      if (d > 1 && x1 != x0) {
        step = (x1 - x0) / (d - 1);
      } else {
        if (first >= perPage)
          step = (pos.GetValue(first - 1) - pos.GetValue(first - perPage)) / (perPage - 1);
        if (!(step > 0) || !std::isfinite(step)) step = 1;
      }
      return x0 + step * (perPage - 1);
    }
  }
  const bool pageOnly = perPage >= 1 && pages_->GetAutoScale();
  const long long from = pages_->FirstValueIndex();
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
    double v = 0;
    if (pageOnly) {
      if (from >= s->Count()) continue;
      const TChartValueList& list = isX ? *s->XValues() : *s->YValues();
      const int to = static_cast<int>(std::min<long long>(from + perPage, s->Count()));
      v = list.GetValue(static_cast<int>(from));
      for (int k = static_cast<int>(from) + 1; k < to; ++k)
        v = isMin ? std::min(v, list.GetValue(k)) : std::max(v, list.GetValue(k));
    } else {
      v = isX ? (isMin ? s->MinXValue() : s->MaxXValue())
              : (isMin ? s->MinYValue() : s->MaxYValue());
    }
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
  for (size_t start = 0, next = 0; start < text.size(); start = next) {
    const size_t end = PlotLineEnd(text, start, next);
    ++numLines;
    if (canvas) widest = std::max(widest, canvas->TextWidth(text.substr(start, end - start)));
  }
  return widest;
}

}  // namespace chart
