// The label loops of an axis, run as data before anything is drawn: each label's value, text and
// pixel, whether it shows, and the tick pixels. Every loop is bounded, whatever the range.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "chart/canvas/geometry.h"
#include "chart/common/date_step.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

// More labels than this would never fit on any axis.
constexpr double MaxValueLabels = 10000;
constexpr int MaxNextLabelCalls = 2001;

// Fifteen significant digits: two values whose texts agree cannot be told apart by a label.
std::string FloatText(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  return std::string(buf, r.ptr);
}

// The series whose points stand on the axis: the active ones associated with it.
std::vector<TChartSeries*> SeriesOnAxis(TCustomAxisPanel* chart, const TChartAxis* axis) {
  std::vector<TChartSeries*> out;
  if (!chart) return out;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    TChartSeries* s = chart->GetSeries(i);
    if (s->GetActive() && s->AssociatedToAxis(axis)) out.push_back(s);
  }
  return out;
}

// How far, in steps, a value may lie from a whole number of steps, or past a range end, and
// still count as on it: what the division and the value's own rounding leave, never a distance
// a pixel shows. q is the value in steps.
double StepSlack(double q) {
  return 1e-9 + 64 * std::numeric_limits<double>::epsilon() * std::fabs(q);
}

// The whole steps in q steps, truncated; a count short of a whole one by rounding is whole.
double WholeSteps(double q) {
  const double r = std::nearbyint(q);
  return std::fabs(q - r) <= StepSlack(q) ? r : std::trunc(q);
}

// The multiples of step s within min..max, ends included, upwards.
void WalkMultiples(double min, double max, double s, const TChartAxis::TLabelVisit& visit) {
  const double lo = std::ceil(min / s - StepSlack(min / s));
  const double hi = std::floor(max / s + StepSlack(max / s));
  for (double m = lo; m <= hi && m - lo < MaxValueLabels; ++m)
    if (!visit(m * s)) return;
}

// Guards the labels-size event switch for a measurement.
struct NoGetLabel {
  explicit NoGetLabel(TCustomAxisPanel* c) : chart(c) {
    if (chart) std::swap(saved, chart->OnGetAxisLabel);
  }
  ~NoGetLabel() {
    if (chart) chart->OnGetAxisLabel = std::move(saved);
  }
  TCustomAxisPanel* chart;
  TAxisOnGetLabel saved;
};

}  // namespace

class TAxisLabelLoops {
 public:
  explicit TAxisLabelLoops(TChartAxis& a) : axis(a), chart(a.ParentChart()) {}

  // A label that shows at pixel p (custom labels carry their own look).
  void Label(double v, const std::string& text, int p, TPlotCustomShape* format = nullptr) {
    if (axis.GetTickOnLabelsOnly()) axis.Tick.push_back(p);
    axis.LabelItems.push_back({v, text, p, true, format});
  }

  // Whether the value's label has a place: on the axis, or strictly inside it.
  bool ValueLabel(double v) {
    axis.LogCells.push_back(v);
    const int p = axis.CalcPosValue(v);
    if (!axis.GetLabelsOnAxis() && !(p > axis.IStartPos() && p < axis.IEndPos())) return false;
    if (!axis.GetTickOnLabelsOnly()) axis.Tick.push_back(p);
    if (axis.GetLabels()) Label(v, axis.LabelValue(v), p);
    return true;
  }

  void Values(double i, TDateTimeStep k) {
    axis.LogCellStep = i;
    axis.WalkValueLabels(i, k, [this](double v) {
      ValueLabel(v);
      return true;
    });
  }

  // A range between two powers of the base: labels at multiples of the finest rung of the 1-2-5
  // ladder whose labels have room, from a tenth of the decade (in the base) and at least the
  // increment the label sizes ask for, unless that step leaves the range without a label.
  void InsideDecade(double min, double max, double i) {
    const double base = axis.GetLogarithmicBase();
    double d = std::pow(base, std::floor(std::log(min) / std::log(base)));
    if (d > min) d /= base;
    if (d * base <= min) d *= base;
    const double finest = std::max(d / base, axis.LabelsResolution());
    const auto walk = [min, max](double s) {
      return [min, max, s](const TChartAxis::TLabelVisit& visit) {
        WalkMultiples(min, max, s, visit);
      };
    };
    double s = std::max(finest, i);
    bool any = false;
    WalkMultiples(min, max, s, [&any](double) {
      any = true;
      return false;
    });
    if (!any) s = finest;
    for (int n = 0;
         n < 64 && std::isfinite(s) && !axis.LabelsFit(walk(s), axis.GetLabelsAlternate() ? 2 : 1);
         ++n)
      s = NextAxisStep(s);
    axis.LogCells.clear();
    axis.LogCellStep = s;
    WalkMultiples(min, max, s, [this](double v) {
      ValueLabel(v);
      return true;
    });
  }

  void Logarithmic(double i) {
    double min = axis.EffectiveMinimum();
    const double max = axis.EffectiveMaximum(), base = axis.GetLogarithmicBase();
    if (min == max || !(base > 1) || !std::isfinite(min) || !std::isfinite(max)) return;
    double f;
    if (min > 0) {
      f = axis.RoundLogPower(min);
    } else {
      min = min == 0 ? 0.1 : axis.RoundLogPower(1e-10);
      f = min;
    }
    if (!(f > 0) || !std::isfinite(f)) return;
    const bool minorGrid = axis.GetMinorGrid()->GetVisible();
    if (minorGrid) {
      double g = f;
      if (g >= min) g = min / base;
      if (g < min) axis.Tick.push_back(axis.CalcPosValue(g));
    }
    axis.LogCellStep = 0;
    bool placed = false;
    double v = f;
    for (int n = 0; v <= max && n < MaxValueLabels; ++n, v *= base)
      if (v >= min) placed = ValueLabel(v) || placed;
    if (!placed) InsideDecade(min, max, i);
    if (minorGrid && f > max) axis.Tick.push_back(axis.CalcPosValue(f));
  }

  void Standard(double i, TDateTimeStep k) {
    if (axis.GetLogarithmic() && axis.GetIncrement() == 0)
      Logarithmic(i);
    else
      Values(i, k);
  }

  void NextLabels(double i, TDateTimeStep k) {
    const double min = axis.EffectiveMinimum(), max = axis.EffectiveMaximum();
    double v = min;
    bool stop = true;
    for (int index = 0; index < MaxNextLabelCalls; ++index) {
      chart->OnGetNextAxisLabel(&axis, index, v, stop);
      if (stop) {
        if (index == 0) Standard(i, k);
        return;
      }
      if (!(v >= min - 1e-7 && v <= max + 1e-7)) return;
      ValueLabel(v);
    }
  }

  // The extent along the axis of a point label.
  int Extent(const std::string& text) {
    int lines = 0;
    const int width = chart->MultiLineTextWidth(text, lines);
    const int a = axis.GetLabelsAngle();
    const bool across = axis.Horizontal() ? (a == 90 || a == 270) : (a != 90 && a != 270);
    return across ? chart->GetCanvas3D()->GetFontHeight() * lines : width;
  }

  void Points(bool marks) {
    const std::vector<TChartSeries*> list = SeriesOnAxis(chart, &axis);
    int first = -1, last = -1;
    for (TChartSeries* s : list) {
      s->CalcFirstLastVisibleIndex();
      if (s->FirstVisible != -1 && (first == -1 || s->FirstVisible < first))
        first = s->FirstVisible;
      last = std::max(last, s->LastVisible);
    }
    if (first < 0 || last < first) return;
    const double min = axis.EffectiveMinimum(), max = axis.EffectiveMaximum();
    const int separation = axis.GetLabelsSeparation();
    bool drawnBefore = false;
    int p0 = 0, h0 = 0;
    for (int a = first; a <= last; ++a) {
      TChartSeries* holder = nullptr;
      std::string text;
      for (TChartSeries* s : list) {
        if (a < s->FirstVisible || a > s->LastVisible || a >= s->Count()) continue;
        std::string t = marks ? s->GetMarkText(a) : s->GetXLabel(a);
        if (chart->OnGetAxisLabel) chart->OnGetAxisLabel(&axis, s, a, t);
        if (!holder) holder = s;
        if (t.empty()) continue;
        holder = s;
        text = std::move(t);
        break;
      }
      if (!holder) continue;
      const double v = axis.Horizontal() ? holder->GetxValue(a) : holder->GetyValue(a);
      if (!(v >= min && v <= max)) continue;
      const int p = axis.CalcPosValue(v);
      if (!axis.GetTickOnLabelsOnly()) axis.Tick.push_back(p);
      if (!axis.GetLabels() || text.empty()) continue;
      const int e = Extent(text);
      if (separation != 0 && drawnBefore) {
        const int h = static_cast<int>((e + std::trunc(e * 0.02 * separation)) / 2);
        const bool clear = p < p0 ? p0 - h0 >= p + h : p - h >= p0 + h0;
        if (!clear) {
          axis.LabelItems.push_back({v, text, p, false, nullptr});
          continue;
        }
        h0 = h;
      } else {
        h0 = e / 2;
      }
      Label(v, text, p);
      p0 = p;
      drawnBefore = true;
    }
  }

  // One label per series slot of the depth axis; a range of more slots than labels could ever
  // show draws none.
  void SeriesTitles() {
    if (chart->CountActiveSeries() == 0) return;
    const double max = axis.EffectiveMaximum();
    const double lo = std::trunc(axis.EffectiveMinimum()), hi = std::trunc(max);
    if (!(hi - lo < MaxValueLabels)) return;
    for (double a = lo; a <= hi; ++a) {
      const int p = axis.CalcYPosValue(max - a - 0.5);
      if (!axis.GetTickOnLabelsOnly()) axis.Tick.push_back(p);
      if (!axis.GetLabels()) continue;
      const bool inInt =
          a >= std::numeric_limits<int>::min() && a <= std::numeric_limits<int>::max();
      const int index = inInt ? static_cast<int>(a) : -1;
      std::string text = index >= 0 ? chart->SeriesTitleLegend(index) : std::string();
      if (chart->OnGetAxisLabel) chart->OnGetAxisLabel(&axis, nullptr, index, text);
      Label(a, text, p);
    }
  }

  void Custom() {
    for (int n = 0; n < axis.Items().Count(); ++n) {
      TAxisItem* item = axis.Items().Get(n);
      const double v = item->GetValue();
      if (!(v >= axis.GetMinimum() && v <= axis.GetMaximum())) continue;
      const int p = axis.CalcPosValue(v);
      axis.LogCells.push_back(v);
      if (!axis.GetTickOnLabelsOnly()) axis.Tick.push_back(p);
      if (item->GetVisible())
        Label(v, item->GetText().empty() ? axis.LabelValue(v) : item->GetText(), p, item);
    }
  }

  TChartAxis& axis;
  TCustomAxisPanel* chart;
};

TDateTimeStep TChartAxis::LabelsStep(double increment) const {
  if (!isDateTime_ || !exactDateTime_ || desiredIncrement_ == 0) return dtNone;
  TDateTimeStep k = FindDateTimeStep(desiredIncrement_);
  if (k == dtNone) return k;
  while (increment > DateTimeStep[k] && k < dtOneYear) k = static_cast<TDateTimeStep>(k + 1);
  return k;
}

namespace {

// One step down; false when the step cannot move t (a step below what a double resolves).
bool StepDown(const TChartAxis& axis, double& t, double i, TDateTimeStep k) {
  double next = t;
  axis.IncDecDateTime(false, next, i, k);
  if (!(next < t)) return false;
  t = next;
  return true;
}

}  // namespace

void TChartAxis::WalkValueLabels(double i, TDateTimeStep k,
                                 const std::function<bool(double)>& visit) const {
  const double min = iMinimum_, max = iMaximum_;
  if (!(std::fabs(iRange_ / i) < MaxValueLabels)) return;
  // The ends count within rounding of the step, whatever their signs.
  const double slack = i * StepSlack(std::max(std::fabs(min), std::fabs(max)) / i);
  const auto single = [&](double t) {
    return iRangeZero_ || std::fabs(max - min) < 1e-10 || FloatText(t) == FloatText(t - i);
  };
  if (isDateTime_ && exactDateTime_ && k >= dtOneDay && k <= dtOneYear) {
    double t = PlotRoundDate(max, k);
    // Calendar steps from a rounded start move at least a day; the bound only catches a step
    // that could not reach the maximum at all.
    for (int n = 0; t > max + slack; ++n)
      if (n > MaxValueLabels || !StepDown(*this, t, i, k)) return;
    if (single(t)) {
      visit(t);
      return;
    }
    for (int n = 0; t >= min - slack && n <= MaxValueLabels + 1; ++n)
      if (!visit(t) || !StepDown(*this, t, i, k)) break;
    return;
  }
  // Each label is worked out from the start, not from the one before, so that no rounding piles
  // up along the walk: a rounded start's labels are whole multiples of the step.
  const bool rounded = roundFirstLabel_ && FloatText(min) != FloatText(max);
  const double first = rounded ? WholeSteps(max / i) : 0;
  const auto label = [&](double n) { return rounded ? (first - n) * i : max - n * i; };
  double n = 0;
  while (label(n) > max + slack)
    if (++n > MaxValueLabels) return;
  if (single(label(n))) {
    visit(label(n));
    return;
  }
  for (const double last = n + MaxValueLabels + 1; n <= last; ++n) {
    const double v = label(n);
    if (!(v >= min - slack) || !visit(v)) break;
  }
}

void TChartAxis::CalcLabelsAndTicks() {
  Tick.clear();
  LabelItems.clear();
  LogCells.clear();
  LogCellStep = 0;
  if (!chart_ || !chart_->GetCanvas3D()) return;
  TAxisLabelLoops loops(*this);
  if (items_->Count() > 0) {
    loops.Custom();
    return;
  }
  const TAxisLabelStyle style = CalcLabelStyle();
  if (style == talNone) return;
  chart_->GetCanvas3D()->AssignFont(GetLabelsFont());
  const double i = CalcIncrement(style);
  const TDateTimeStep k = LabelsStep(i);
  if (!((i > 0 || (k >= dtHalfMonth && k <= dtOneYear)) && iMaximum_ >= iMinimum_)) return;
  switch (style) {
    case talValue:
      if (chart_->OnGetNextAxisLabel)
        loops.NextLabels(i, k);
      else
        loops.Standard(i, k);
      break;
    case talMark:
      loops.Points(true);
      break;
    case talText:
      if (IsDepthAxis())
        loops.SeriesTitles();
      else
        loops.Points(false);
      break;
    default:
      break;
  }
}

int TChartAxis::MaxLabelsWidth() {
  if (!chart_ || !chart_->GetCanvas3D()) return 0;
  TCanvas3D* canvas = chart_->GetCanvas3D();
  int lines = 0, widest = 0;
  if (items_->Count() > 0) {
    for (int n = 0; n < items_->Count(); ++n) {
      TAxisItem* item = items_->Get(n);
      canvas->AssignFont(item->GetFont());
      widest = std::max(widest, chart_->MultiLineTextWidth(item->GetText(), lines));
    }
    return widest;
  }
  canvas->AssignFont(GetLabelsFont());
  const TAxisLabelStyle style = CalcLabelStyle();
  switch (style) {
    case talValue: {
      double a = iMinimum_, b = iMaximum_;
      if (roundFirstLabel_ || (isDateTime_ && exactDateTime_)) {
        const double i = CalcIncrement(style);
        canvas->AssignFont(GetLabelsFont());
        if (i > 0) {
          a = WholeSteps(a / i) * i;
          b = WholeSteps(b / i) * i;
        }
      }
      NoGetLabel off(chart_);
      widest = std::max(chart_->MultiLineTextWidth(LabelValue(a), lines),
                        chart_->MultiLineTextWidth(LabelValue(b), lines));
      return widest + canvas->TextWidth(" ");
    }
    case talMark:
      // Each mark is measured in its own font; the labels' font is put back for the caller.
      widest = chart_->MaxMarkWidth();
      canvas->AssignFont(GetLabelsFont());
      return widest;
    case talText:
      return chart_->MaxTextWidth();
    default:
      return 0;
  }
}

}  // namespace chart
