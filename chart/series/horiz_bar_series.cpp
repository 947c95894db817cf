// Horizontal bar series: the bar geometry with the axes swapped (margins, top edge, value end,
// origin, bounds with the touching rules), marks, extent and drawing order.
#include <algorithm>
#include <climits>

#include "chart/canvas/geometry.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series_pointer.h"
#include "chart/series/bar_series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

void Grow(int& v, long long by) {
  v = Sat(v + by);
}

}  // namespace

THorizBarSeries::THorizBarSeries(platform::TComponent* Owner) : TCustomBarSeries(Owner) {
  SetHorizontal();
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
  GetGradient()->SetDirection(gdLeftRight);
  XValues()->SetName(PlotMsg_ValuesBar);
}

TCustomBarSeries* THorizBarSeries::NewSameClass(platform::TComponent* owner) const {
  return new THorizBarSeries(owner);
}

// ---- Margins -----------------------------------------------------------------------------------

void THorizBarSeries::CalcVerticalMargins(int& top, int& bottom) {
  TChartSeries::CalcVerticalMargins(top, bottom);
  InternalApplyBarMargin(top, bottom);
}

void THorizBarSeries::CalcHorizMargins(int& left, int& right) {
  TChartSeries::CalcHorizMargins(left, right);
  int l = CalcMarkLength(-1);
  if (l <= 0) return;
  l = Sat(l + 1LL);
  const TChartAxis* axis = GetHorizAxisObj();
  const bool inverted = axis && axis->GetInverted();
  if (GetUseYOrigin() && MinXValue() < GetYOrigin()) Grow(inverted ? right : left, l);
  if (!GetUseYOrigin() || MaxXValue() > GetYOrigin()) Grow(inverted ? left : right, l);
}

int THorizBarSeries::InternalCalcMarkLength(int valueIndex) {
  if (valueIndex == -1) return MaxMarkWidth();
  if (valueIndex < 0 || valueIndex >= Count()) return 0;
  return Marks()->TextWidth(valueIndex);
}

// ---- Positions ---------------------------------------------------------------------------------

int THorizBarSeries::CalcYPos(int valueIndex) {
  const int half = BarThickness >> 1;
  long long y;
  switch (GetMultiBar()) {
    case mbSideAll: {
      const TChartAxis* axis = GetVertAxisObj();
      y = (axis ? axis->CalcYPosValue(static_cast<double>(valueIndex) + PointsBefore) : 0) -
          static_cast<long long>(half);
      break;
    }
    case mbSelfStack:
      y = static_cast<long long>(CalcYPosValue(MinYValue())) - half;
      break;
    case mbNone:
      y = static_cast<long long>(TChartSeries::CalcYPos(valueIndex)) - half;
      break;
    default:
      y = TChartSeries::CalcYPos(valueIndex) +
          static_cast<long long>(Round((SideBySideCount * 0.5L - (SideBySideCount - BarOrder + 1)) *
                                       static_cast<long double>(BarThickness)));
      break;
  }
  return ApplyBarOffset(Sat(y));
}

int THorizBarSeries::CalcXPos(int valueIndex) {
  switch (GetMultiBar()) {
    case mbStacked:
    case mbSelfStack:
      return CalcXPosValue(PointOrigin(valueIndex, false) + XValues()->GetValue(valueIndex));
    case mbStacked100:
      return CalcXPosValue(StackedPercent(
          valueIndex, PointOrigin(valueIndex, false) + XValues()->GetValue(valueIndex)));
    default:
      return TChartSeries::CalcXPos(valueIndex);
  }
}

int THorizBarSeries::GetOriginPos(int valueIndex) {
  const TChartAxis* axis = GetHorizAxisObj();
  return InternalGetOriginPos(valueIndex, axis ? axis->IStartPos() : 0);
}

void THorizBarSeries::CalcBarBounds(int valueIndex) {
  const TChartPen* pen = GetBarPen();
  const long long w = pen->GetVisible() ? pen->GetWidth() : 0;
  const int top = CalcYPos(valueIndex);
  long long bottom;
  if (GetBarWidthPercent() != 100 || customBarWidth_ != 0 || GetMultiBar() == mbSelfStack) {
    bottom = static_cast<long long>(top) + BarThickness - 1;
  } else if (const TChartAxis* axis = GetVertAxisObj(); axis && axis->GetInverted()) {
    bottom = valueIndex < Count() - 1 ? CalcYPos(valueIndex + 1)
                                      : static_cast<long long>(top) + BarThickness - w;
  } else {
    // Bars that touch: each reaches the top edge of the point below it.
    bottom =
        valueIndex > 0 ? CalcYPos(valueIndex - 1) : static_cast<long long>(top) + BarThickness - w;
  }
  int right = CalcXPos(valueIndex);
  int left = GetOriginPos(valueIndex);
  if (!pen->GetVisible()) {
    if (right > left) {
      Grow(right, 1);
    } else {
      Grow(left, 1);
      Grow(right, -1);
    }
    ++bottom;
  }
  BarRect = TRect{left, top, right, Sat(bottom)};
}

// ---- Marks -------------------------------------------------------------------------------------

void THorizBarSeries::DrawMark(int valueIndex, const std::string& text,
                               TSeriesMarkPosition& position) {
  const TMarksCallout* callout = Marks()->GetCallout();
  const long long distance = callout->GetDistance();
  long long d = callout->GetLength() + distance;
  const bool leftward = position.ArrowStart.X < GetOriginPos(valueIndex);
  // A bar that points left: the mark goes left of its end.
  if (leftward) d = -d - position.Width;
  const long long down = BarThickness / 2;
  Grow(position.TopLeft.X, d + position.Width / 2);
  Grow(position.TopLeft.Y, down + position.Height / 2);
  Grow(position.ArrowEnd.X, d);
  Grow(position.ArrowEnd.Y, down);
  Grow(position.ArrowStart.Y, down);
  Grow(position.ArrowStart.X, leftward ? -distance : distance);
  TChartSeries::DrawMark(valueIndex, text, position);
}

// ---- Axis extent -------------------------------------------------------------------------------

double THorizBarSeries::MaxXValue() {
  return MaxMandatoryValue(TChartSeries::MaxXValue());
}

double THorizBarSeries::MinXValue() {
  return MinMandatoryValue(TChartSeries::MinXValue());
}

double THorizBarSeries::MinYValue() {
  if (GetMultiBar() == mbSelfStack) {
    TCustomAxisPanel* chart = GetParentChart();
    return chart ? chart->SeriesList().IndexOf(this) : 0;
  }
  return TChartSeries::MinYValue();
}

double THorizBarSeries::MaxYValue() {
  switch (GetMultiBar()) {
    case mbSideAll:
      return static_cast<double>(Count()) + PointsBefore - 1;
    case mbSelfStack:
      return MinYValue();
    default:
      return TChartSeries::MaxYValue();
  }
}

// ---- Order -------------------------------------------------------------------------------------

bool THorizBarSeries::DrawSeriesForward(int valueIndex) const {
  const TChartAxis* axis = GetHorizAxisObj();
  const bool inverted = axis && axis->GetInverted();
  switch (GetMultiBar()) {
    case mbSide:
    case mbSideAll:
      return false;
    case mbStacked:
    case mbSelfStack: {
      const bool right = XValues()->GetValue(valueIndex) >= 0;
      return inverted ? !right : right;
    }
    case mbStacked100:
      return !inverted;
    default:
      return TChartSeries::DrawSeriesForward(valueIndex);
  }
}

}  // namespace chart
