// Values to pixels and back. Every result is clamped to the pixel clamp limit, so no value, however
// large, infinite or undefined, turns into an out-of-range integer.
#include <algorithm>
#include <cmath>

#include "chart/canvas/geometry.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"

namespace chart {

void TChartAxis::SetCalcPosValue() {
  if (IsDepthAxis()) {
    calcXPos_ = &TChartAxis::InternalCalcDepthPosValue;
    calcYPos_ = &TChartAxis::InternalCalcDepthPosValue;
  } else if (logarithmic_) {
    calcXPos_ = &TChartAxis::LogXPosValue;
    calcYPos_ = &TChartAxis::LogYPosValue;
  } else if (chart_ && chart_->GetAxesFastCalc()) {
    calcXPos_ = &TChartAxis::XPosValue;
    calcYPos_ = &TChartAxis::YPosValue;
  } else {
    calcXPos_ = &TChartAxis::XPosValueCheck;
    calcYPos_ = &TChartAxis::YPosValueCheck;
  }
  calcPos_ = horizontal_ ? calcXPos_ : calcYPos_;
}

long double TChartAxis::LinearOffset(double value) const {
  const long double t =
      (static_cast<long double>(value) - static_cast<long double>(iMinimum_)) * iAxisScale_;
  return std::isnan(t) ? 0 : t;
}

// The unchecked pair rounds the offset before adding it, as the fast mapping does; the sum is
// still clamped.
int TChartAxis::XPosValue(double value) const {
  if (iMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  const long double t = std::rintl(LinearOffset(value));
  return PlotClampPixel(inverted_ ? iEndPos_ - t : t + iStartPos_);
}

int TChartAxis::YPosValue(double value) const {
  if (iMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  const long double t = std::rintl(LinearOffset(value));
  return PlotClampPixel(inverted_ ? t + iStartPos_ : iEndPos_ - t);
}

int TChartAxis::XPosValueCheck(double value) const {
  if (iMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  const long double t = LinearOffset(value);
  return PlotClampPixel(inverted_ ? iEndPos_ - t : t + iStartPos_);
}

int TChartAxis::YPosValueCheck(double value) const {
  if (iMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  const long double t = LinearOffset(value);
  return PlotClampPixel(inverted_ ? t + iStartPos_ : iEndPos_ - t);
}

long double TChartAxis::LogOffset(long double logDistance) const {
  const long double t = std::rintl(logDistance * iLogScale_);
  return std::isnan(t) ? 0 : t;
}

int TChartAxis::LogXPosValue(double value) const {
  if (iLogMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  if (!(value > 0)) return inverted_ ? iEndPos_ : iStartPos_;
  const long double lv = std::log(static_cast<long double>(value));
  return PlotClampPixel(iStartPos_ + LogOffset(inverted_ ? iLogMax_ - lv : lv - iLogMin_));
}

int TChartAxis::LogYPosValue(double value) const {
  if (iLogMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  if (!(value > 0)) return inverted_ ? iStartPos_ : iEndPos_;
  const long double lv = std::log(static_cast<long double>(value));
  return PlotClampPixel(iEndPos_ - LogOffset(inverted_ ? iLogMax_ - lv : lv - iLogMin_));
}

int TChartAxis::InternalCalcDepthPosValue(double value) const {
  if (iMapCentre_) return iCenterPos_;
  if (std::isnan(value)) value = iMinimum_;
  if (!inverted_) return PlotClampPixel(LinearOffset(value));
  const long double t =
      (static_cast<long double>(iMaximum_) - static_cast<long double>(value)) * iAxisScale_;
  return PlotClampPixel(std::isnan(t) ? 0 : t);
}

int TChartAxis::CalcSizeValue(double value) const {
  if (!(value > 0)) return 0;
  if (logarithmic_) {
    if (iLogRange_ == 0) return 0;
    return PlotClampPixel(std::log(static_cast<long double>(value)) * iLogScale_);
  }
  if (iRange_ == 0) return 0;
  return PlotClampPixel(static_cast<long double>(value) * iAxisScale_);
}

double TChartAxis::CalcPosPoint(int pixel) const {
  const long double d = inverted_ ? static_cast<long double>(iEndPos_) - pixel
                                  : static_cast<long double>(pixel) - iStartPos_;
  if (logarithmic_) {
    const bool maximumAtStart = horizontal_ == inverted_;
    if (pixel == iStartPos_) return maximumAtStart ? iMaximum_ : iMinimum_;
    if (pixel == iEndPos_) return maximumAtStart ? iMinimum_ : iMaximum_;
    if (iLogRange_ == 0 || iAxisSize_ == 0) return iMinimum_;
    const long double t = d * iLogRange_ / iAxisSize_;
    return static_cast<double>(horizontal_ ? std::exp(iLogMin_ + t) : std::exp(iLogMax_ - t));
  }
  if (iAxisSize_ < 1) return 0;
  const long double t = d * iRange_ / iAxisSize_;
  return static_cast<double>(horizontal_ ? iMinimum_ + t : iMaximum_ - t);
}

TRect TChartAxis::AxisRect() const {
  const int s = std::min(iStartPos_, iEndPos_);
  const int e = std::max(iStartPos_, iEndPos_);
  int low = 0, high = 0;
  if (PosLabels < PosAxis) {
    low = PosLabels;
    high = PlotClampPixel(static_cast<long double>(PosAxis) + PlotAxisClickGap);
  } else {
    low = PlotClampPixel(static_cast<long double>(PosAxis) - PlotAxisClickGap);
    high = PosLabels;
  }
  return horizontal_ ? TRect{s, low, e, high} : TRect{low, s, high, e};
}

bool TChartAxis::Clicked(int x, int y) const {
  if (!chart_ || !chart_->IsAxisVisible(this)) return false;
  TRect r = AxisRect();
  if (TCanvas3D* canvas = chart_->GetCanvas3D())
    r = canvas->CalcRect3D(r, otherSide_ ? chart_->Depth3D : 0);
  return PointInRect(r, x, y);
}

}  // namespace chart
