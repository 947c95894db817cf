// The axis range: automatic and fixed, the effective range of a layout and its margins,
// scrolling, the pixel span and the positions derived from the chart rectangle.
#include <algorithm>
#include <cmath>
#include <utility>

#include "chart/common/date_step.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

int PlotClampPixel(long double value) {
  if (std::isnan(value)) return 0;
  const long double limit = PlotPixelClampLimit;
  if (value >= limit) return PlotPixelClampLimit;
  if (value <= -limit) return -PlotPixelClampLimit;
  // Within the limit: nearest, halves to even (the default rounding mode).
  return static_cast<int>(std::rintl(value));
}

void TChartAxis::CalcMinMax(double& minimum, double& maximum) {
  minimum = minimum_;
  maximum = maximum_;
  if (!chart_) return;
  if (automatic_ || automaticMaximum_) maximum = chart_->InternalMinMax(this, false, horizontal_);
  if (automatic_ || automaticMinimum_) minimum = chart_->InternalMinMax(this, true, horizontal_);
}

void TChartAxis::AdjustMaxMin() {
  CalcMinMax(minimum_, maximum_);
  iMaximum_ = maximum_;
  iMinimum_ = minimum_;
  InternalCalcRange();
}

void TChartAxis::InternalCalcRange() {
  iRange_ = iMaximum_ - iMinimum_;
  iRangeZero_ = iRange_ == 0;
  iAxisScale_ = iRangeZero_ ? 0 : iAxisSize_ / iRange_;
  // Values from the series may be huge or infinite: such a range maps like a zero one.
  iMapCentre_ = iRangeZero_ || !std::isfinite(iRange_) || !std::isfinite(iAxisScale_);
  if (!std::isfinite(iAxisScale_)) iAxisScale_ = 0;
  if (logarithmic_) {
    iLogMin_ = iMinimum_ > 0 ? std::log(iMinimum_) : 0;
    iLogMax_ = iMaximum_ > 0 ? std::log(iMaximum_) : 0;
    iLogRange_ = iLogMax_ - iLogMin_;
    iLogScale_ = iLogRange_ == 0 ? 0 : iAxisSize_ / iLogRange_;
    iLogMapCentre_ = iLogRange_ == 0 || !std::isfinite(iLogRange_) || !std::isfinite(iLogScale_);
    if (!std::isfinite(iLogScale_)) iLogScale_ = 0;
  }
  iZPos_ = CalcZPos();
}

void TChartAxis::AdjustMaxMinRect(const TRect& margins) {
  const int first = horizontal_ ? margins.Left : margins.Top;
  const int second = horizontal_ ? margins.Right : margins.Bottom;
  const int oldStart = iStartPos_;
  const int oldEnd = iEndPos_;
  const long long start = static_cast<long long>(oldStart) + first;
  const long long end = static_cast<long long>(oldEnd) - second;
  // Margins that leave no span would collapse the range to nothing: keep it as it is.
  if (end - start < 1) return;
  iStartPos_ = static_cast<int>(start);
  iEndPos_ = static_cast<int>(end);
  iAxisSize_ = iEndPos_ - iStartPos_;
  double a = CalcPosPoint(oldStart);
  double b = CalcPosPoint(oldEnd);
  InternalCalcPositions();
  if (b > a) std::swap(a, b);
  iMaximum_ = a;
  iMinimum_ = b;
  InternalCalcRange();
}

void TChartAxis::SetMinMax(double minimum, double maximum) {
  if (!std::isfinite(minimum)) throw AxisException(PlotMsg_AxisMinMax);
  if (!std::isfinite(maximum)) throw AxisException(PlotMsg_AxisMaxMin);
  automatic_ = false;
  automaticMinimum_ = false;
  automaticMaximum_ = false;
  if (minimum > maximum) std::swap(minimum, maximum);
  minimum_ = minimum;
  maximum_ = maximum;
  if (maximum_ - minimum_ < MinAxisRange) maximum_ = minimum_ + MinAxisRange;
  Changed();
  if (chart_) chart_->CustomAxes().ResetScales(this);
}

void TChartAxis::Scroll(double offset, bool checkLimits) {
  if (!std::isfinite(offset) || (offset == 0 && checkLimits)) return;
  if (checkLimits && chart_) {
    const bool beyond = offset > 0 ? chart_->InternalMinMax(this, false, horizontal_) > maximum_
                                   : chart_->InternalMinMax(this, true, horizontal_) < minimum_;
    if (!beyond) return;
  }
  const double newMaximum = maximum_ + offset;
  const double newMinimum = minimum_ + offset;
  if (!std::isfinite(newMaximum) || !std::isfinite(newMinimum)) return;
  automatic_ = false;
  automaticMinimum_ = false;
  automaticMaximum_ = false;
  maximum_ = newMaximum;
  minimum_ = newMinimum;
  Changed();
}

void TChartAxis::SetPositionPixels(long double start, long double end) {
  iStartPos_ = PlotClampPixel(start);
  iEndPos_ = PlotClampPixel(end);
}

void TChartAxis::InternalCalcPositions() {
  long double origin = 0, extent = 0;
  if (chart_) {
    if (IsDepthAxis()) {
      extent = chart_->Depth3D;
    } else if (horizontal_) {
      origin = chart_->ChartRect.Left;
      extent = chart_->ChartWidth;
    } else {
      origin = chart_->ChartRect.Top;
      extent = chart_->ChartHeight;
    }
  }
  const long double unit = extent * 0.01L;
  SetPositionPixels(origin + PlotClampPixel(unit * startPosition_),
                    origin + PlotClampPixel(unit * endPosition_));
  RecalcSizeCenter();
}

void TChartAxis::RecalcSizeCenter() {
  iAxisSize_ = iEndPos_ - iStartPos_;
  iCenterPos_ = static_cast<int>((static_cast<long long>(iStartPos_) + iEndPos_) / 2);
  InternalCalcRange();
}

int TChartAxis::ApplyPosition(int pos, const TRect& r) const {
  if (positionPercent_ == 0) return pos;
  long double offset = 0;
  if (positionUnits_ == muPixels) {
    offset = PlotClampPixel(positionPercent_);
  } else {
    const long double size = horizontal_ ? static_cast<long double>(r.Bottom) - r.Top
                                         : static_cast<long double>(r.Right) - r.Left;
    offset = PlotClampPixel(positionPercent_ * 0.01L * size);
  }
  if (otherSide_) offset = -offset;
  return PlotClampPixel(horizontal_ ? pos - offset : pos + offset);
}

int TChartAxis::GetRectangleEdge(const TRect& r) const {
  if (otherSide_) return horizontal_ ? r.Top : r.Right;
  return horizontal_ ? r.Bottom : r.Left;
}

int TChartAxis::CalcZPos() const {
  if (!chart_) return 0;
  const long double extent = IsDepthAxis() ? chart_->ChartHeight : chart_->Depth3D;
  return PlotClampPixel(zPosition_ * extent * 0.01L);
}

int TChartAxis::DepthAxisPos() const {
  if (!chart_) return 0;
  return otherSide_ ? PlotClampPixel(static_cast<long double>(chart_->ChartRect.Bottom) - iZPos_)
                    : PlotClampPixel(static_cast<long double>(chart_->ChartRect.Top) + iZPos_);
}

unsigned TChartAxis::DepthAxisAlign() const {
  return otherSide_ ? TA_LEFT : TA_RIGHT;
}

bool TChartAxis::IsDateTime() const {
  if (!chart_) return false;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->GetSeries(i);
    if (!s->GetActive()) continue;
    if (const TChartValueList* list = s->ValueListOfAxis(this)) return list->GetDateTime();
  }
  return false;
}

void TChartAxis::IncDecDateTime(bool up, double& value, double step, TDateTimeStep amount) const {
  const bool calendar = exactDateTime_ && isDateTime_ && amount >= dtHalfMonth && amount != dtNone;
  PlotDateTimeIncrement(calendar, up, value, step, amount);
}

}  // namespace chart
