// Which labels an axis shows: the label style, the step between value labels so that they never
// crowd, and the text of a value label.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>
#include <vector>

#include "chart/canvas/geometry.h"
#include "chart/common/date_format.h"
#include "chart/common/format_float.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

// Rungs of the ladder tried above the estimate: enough to climb from a label a pixel to a step
// above the range, whose one label cannot crowd.
constexpr int kMaxIncrementTries = 64;

// Series types with depths of their own keep them in a value list named "Z".
bool HasDepthValues(TChartSeries* s) {
  for (int i = 0; i < s->ValuesList().Count(); ++i) {
    const std::string name = s->ValuesList()[i]->GetName();
    if (name.size() == 1 && std::toupper(static_cast<unsigned char>(name[0])) == 'Z') return true;
  }
  return false;
}

// The axis on which the series' point labels stand: the horizontal one of a vertical series.
bool LabelsOnAxis(const TChartSeries* s, const TChartAxis* axis) {
  return s->YIsValue() == axis->Horizontal();
}

}  // namespace

// Only ever given positive finite steps.
double NextAxisStep(double s) {
  if (!std::isfinite(s)) return 1;
  if (s >= 10) return 10 * NextAxisStep(s * 0.1);
  if (s < 1) return 0.1 * NextAxisStep(s * 10);
  if (s < 2) return 2;
  if (s < 5) return 5;
  return 10;
}

double TChartAxis::RoundLogPower(double value) const {
  return std::pow(logarithmicBase_, Round(std::log(value) / std::log(logarithmicBase_)));
}

int TChartAxis::InternalLabelSize(double value, bool isWidth) {
  if (!chart_ || !chart_->GetCanvas3D()) return 0;
  chart_->GetCanvas3D()->AssignFont(GetLabelsFont());
  return LabelTextSize(LabelValue(value), isWidth);
}

int TChartAxis::LabelTextSize(const std::string& text, bool isWidth) {
  int lines = 0;
  const int width = chart_->MultiLineTextWidth(text, lines);
  const int a = labelsAngle_;
  if ((isWidth && (a == 90 || a == 270)) || (!isWidth && (a == 0 || a == 180)))
    return chart_->GetCanvas3D()->GetFontHeight() * lines;
  return width;
}

double TChartAxis::CalcIncrement(TAxisLabelStyle style) {
  const auto size = [this](double v) { return InternalLabelSize(v, horizontal_); };
  int maxSize = std::max(size(iMaximum_), size(iMinimum_));
  if (desiredIncrement_ != 0)
    maxSize = std::max(
        {maxSize, size(iMinimum_ + desiredIncrement_), size(iMaximum_ - desiredIncrement_)});
  else
    maxSize = std::max(maxSize, size((iMaximum_ + iMinimum_) * 0.5));
  double result = CalcXYIncrement(maxSize);
  // Alternate labels take two rows, each label beside the second before it.
  const auto written = [this](double i) {
    return !labelsAlternate_ ? i : logarithmic_ ? i / logarithmicBase_ : i * 0.5;
  };
  // The labels measured above may be narrower than those between them ("3" and "9" against
  // "3.2"): a step whose labels would run into one another gives way to the next rung up, until
  // they fit. Not to a step worked out from its widest label: a finer step writes more decimals,
  // and such a step can pass one that fits.
  const bool valueLabels = style == talValue && chart_ && chart_->GetCanvas3D() && GetLabels() &&
                           items_->Count() == 0 && !chart_->OnGetNextAxisLabel &&
                           !(logarithmic_ && desiredIncrement_ == 0);
  // Alternate labels halve the step: never below what the labels' texts still tell apart.
  const double resolution = LabelsResolution();
  for (int n = 0; valueLabels && n < kMaxIncrementTries && result > 0 && std::isfinite(result);
       ++n) {
    if (written(result) >= resolution * (1 - 1e-9) &&
        ValueLabelsFit(written(result), labelsAlternate_ ? 2 : 1))
      break;
    result = NextIncrement(result);
  }
  return written(result);
}

double TChartAxis::LabelsResolution() const {
  if (isDateTime_) return 0;
  int decimals = FormatFloatDecimals(axisValuesFormat_, 1);
  if (iMinimum_ < 0) {
    const int negative = FormatFloatDecimals(axisValuesFormat_, -1);
    decimals = decimals < 0 ? negative : negative < 0 ? decimals : std::min(decimals, negative);
  }
  return decimals < 0 ? 0 : 1 / std::pow(10.0, decimals);
}

bool TChartAxis::ValueLabelsFit(double increment, int row) {
  return LabelsFit(
      [&](const TLabelVisit& visit) { WalkValueLabels(increment, LabelsStep(increment), visit); },
      row);
}

bool TChartAxis::LabelsFit(const std::function<void(const TLabelVisit&)>& walk, int row) {
  chart_->GetCanvas3D()->AssignFont(GetLabelsFont());
  // A label takes [p - e / 2, p - e / 2 + e) along the axis, as centred text is placed; it must
  // stay clear of the label row places before it.
  std::vector<std::pair<long long, long long>> spans;
  bool fit = true;
  walk([&](double v) {
    const int p = CalcPosValue(v);
    if (!labelsOnAxis_ && !(p > iStartPos_ && p < iEndPos_)) return true;
    const int e = LabelTextSize(LabelValue(v), horizontal_);
    const long long low = static_cast<long long>(p) - e / 2, high = low + e;
    if (spans.size() >= static_cast<std::size_t>(row)) {
      const auto [lastLow, lastHigh] = spans[spans.size() - row];
      fit = e <= 0 || lastHigh <= lastLow || high <= lastLow || low >= lastHigh;
    }
    spans.emplace_back(low, high);
    return fit;
  });
  return fit;
}

double TChartAxis::NextIncrement(double increment) const {
  if (isDateTime_ && increment >= DateTimeStep[dtOneYear]) return increment * 2;
  if (isDateTime_ && increment >= DateTimeStep[dtOneSecond]) return NextDateTimeStep(increment);
  if (logarithmic_ && logarithmicBase_ > 1) return increment * logarithmicBase_;
  return NextAxisStep(increment);
}

double TChartAxis::CalcXYIncrement(int maxLabelSize) {
  int count = 1;
  if (maxLabelSize > 0) {
    const long double room = labelsSeparation_ > 0
                                 ? maxLabelSize + Round(labelsSeparation_ * 0.01L * maxLabelSize)
                                 : static_cast<long double>(maxLabelSize);
    count = Round(iAxisSize_ / room);
  }
  return CalcLabelsIncrement(count);
}

double TChartAxis::CalcLabelsIncrement(int maxNumLabels) {
  const int n = maxNumLabels;
  if (n < 1)
    return isDateTime_ ? DateTimeStep[dtOneMicroSecond]
                       : std::max(MinAxisIncrement, LabelsResolution());
  if (isDateTime_) return CalcDateTimeIncrement(n);
  double s = 1;
  if (desiredIncrement_ > 0) {
    s = desiredIncrement_;
  } else if (iRange_ != 0) {
    s = std::fabs(iRange_) / (n + 1);
    if (logarithmic_) s = RoundLogPower(s);
    if (iRange_ >= 1 && chart_) {
      // Few points a label each: no steps between whole positions.
      for (int i = 0; i < chart_->SeriesCount(); ++i) {
        TChartSeries* series = chart_->GetSeries(i);
        if (series->GetActive() && series->AssociatedToAxis(this) && LabelsOnAxis(series, this) &&
            series->Count() <= n) {
          s = std::max(s, 1.0);
          break;
        }
      }
    }
  }
  // A step that underflowed (a range near the smallest double) could never climb the ladder.
  if (!(s > 0)) s = MinAxisIncrement;
  s = std::max(s, LabelsResolution());
  if (labelsSeparation_ >= 1) {
    long long c = n + 1LL;
    do {
      const double ratio = iRange_ / s;
      if (std::fabs(ratio) < 2147483647.0) {
        c = Round(ratio);
        if (c <= n) break;
      }
      // A logarithmic base below 1 would step down for ever: such a step stays.
      const double next = logarithmic_ ? s * logarithmicBase_ : NextAxisStep(s);
      if (!(next > s)) break;
      s = next;
    } while (c > n && s <= iRange_ && std::isfinite(s));
  }
  if (!std::isfinite(s)) return iRange_;
  return std::max(MinAxisIncrement, s);
}

double TChartAxis::CalcDateTimeIncrement(int maxNumLabels) {
  const double smallest = DateTimeStep[dtOneMicroSecond];
  double s = std::max(smallest, desiredIncrement_);
  if (s > 0 && maxNumLabels > 0) {
    if (iRange_ / s > 1000000) s = iRange_ / 1000000;
    while (std::isfinite(s) && Round(iRange_ / s) > maxNumLabels) {
      if (s >= DateTimeStep[dtOneYear])
        s *= 2;
      else if (s >= DateTimeStep[dtOneSecond])
        s = NextDateTimeStep(s);
      else
        s = NextAxisStep(s);
    }
  }
  return std::max(smallest, s);
}

std::string TChartAxis::LabelValue(double value) {
  std::string text;
  if (!isDateTime_) {
    text = FormatFloat(axisValuesFormat_, value);
  } else if (value >= 0) {
    text = DateTimeToString(
        dateTimeFormat_.empty() ? DateTimeDefaultFormat(iRange_) : dateTimeFormat_, value);
  }
  if (chart_ && chart_->OnGetAxisLabel) chart_->OnGetAxisLabel(this, nullptr, -1, text);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', PlotLineSeparator);
  return text;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() {
  return labelStyle_ == talAuto ? InternalCalcLabelStyle() : labelStyle_;
}

TAxisLabelStyle TChartAxis::InternalCalcLabelStyle() {
  TAxisLabelStyle result = talNone;
  if (!chart_) return result;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->GetSeries(i);
    if (!s->GetActive() || !s->AssociatedToAxis(this)) continue;
    result = talValue;
    if (HasDepthValues(s) || !LabelsOnAxis(s, this)) continue;
    for (int p = 0; p < s->Count(); ++p)
      if (!s->GetXLabel(p).empty()) return talText;
  }
  return result;
}

TAxisLabelStyle TChartDepthAxis::InternalCalcLabelStyle() {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return talText;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    TChartSeries* s = chart->GetSeries(i);
    if (s->GetActive() && (HasDepthValues(s) || s->MinZValue() != s->MaxZValue())) return talValue;
  }
  return talText;
}

}  // namespace chart
