#include "chart/engine/plot_function.h"

#include <algorithm>
#include <cmath>

#include "chart/common/date_step.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"
#include "chart/engine/value_list.h"

namespace chart {

namespace {

// Range periods one refill may add at most. Each period with points uses up at least one source
// point, so only empty periods can pile up: a small period over sparse or far-apart values would
// otherwise add points without end.
constexpr double kMaxRangePeriods = 1'000'000;

}  // namespace

TPlotFunction::TPlotFunction(platform::TComponent* Owner) : platform::TComponent(Owner) {}

TPlotFunction::~TPlotFunction() {
  if (parentSeries_ && parentSeries_->FunctionOf() == this) parentSeries_->ForgetFunction();
  parentSeries_ = nullptr;
  MarkDestroying();
}

void TPlotFunction::CalculatePeriod(TChartSeries* source, double position, int first, int last) {
  const double r = Calculate(source, first, last);
  AddFunctionXY(source->YIsValue(), position, r);
}

void TPlotFunction::CalculateAllPoints(TChartSeries* source, TChartValueList* sourceList) {
  if (!parentSeries_) return;
  const double r = Calculate(source, -1, -1);
  const double lo = sourceList->MinValue();
  const double hi = sourceList->MaxValue();
  if (parentSeries_->CentredFunctionPoint) {
    const double m = lo + (hi - lo) * 0.5;
    if (parentSeries_->YIsValue())
      parentSeries_->AddXY(m, r, {}, platform::clDefault);
    else
      parentSeries_->AddXY(r, m, {}, platform::clDefault);
  } else {
    AddFunctionXY(source->YIsValue(), lo, r);
    AddFunctionXY(source->YIsValue(), hi, r);
  }
}

void TPlotFunction::CalculateByPeriod(TChartSeries* source, TChartValueList* sourceList) {
  const int n = sourceList->Count();
  if (n == 0 || !parentSeries_) return;
  const bool yIsValue = source->YIsValue();
  auto position = [this](double start, double end) {
    switch (periodAlign_) {
      case paFirst:
        return start;
      case paLast:
        return end;
      default:
        return (start + end) * 0.5;
    }
  };

  int s = 0;
  if (periodStyle_ == psNumPoints) {
    // A period below one point would never move on.
    const double rounded = std::max(1.0, std::nearbyint(period_));
    const long long p = static_cast<long long>(std::min(rounded, static_cast<double>(n) + 1));
    while (s <= n - 1) {
      const long long i = p + s - 1;
      if (i < n) {
        const double start = sourceList->GetValue(s);
        const double end = sourceList->GetValue(static_cast<int>(i));
        CalculatePeriod(source, position(start, end), s, static_cast<int>(i));
      }
      if (i + 1 > n) break;
      s = static_cast<int>(i + 1);
    }
    return;
  }

  const TDateTimeStep step = FindDateTimeStep(period_);
  const bool dateTime = sourceList->GetDateTime();
  double x = sourceList->GetValue(0);
  const double span = sourceList->GetValue(n - 1) - x;
  // No more periods than the source's range holds; calendar steps can be shorter than the
  // period they stand for, hence twice as many.
  double limit = kMaxRangePeriods;
  if (std::isfinite(span) && period_ > 0)
    limit = std::min(limit, 2 * std::fabs(span) / period_ + 2);
  for (double periods = 0; s <= n - 1 && periods < limit; ++periods) {
    const double start = x;
    PlotDateTimeIncrement(dateTime, true, x, period_, step);
    // A period too small to move x (or a value that is no number) ends the walk.
    if (!(x > start)) break;
    const double end = x - period_ * 0.001;
    int i = s;
    while (i < n - 1 && sourceList->GetValue(i + 1) < x) ++i;
    const double pos = position(start, end);
    if (sourceList->GetValue(s) < x) {
      CalculatePeriod(source, pos, s, i);
      s = i + 1;
    } else {
      AddFunctionXY(yIsValue, pos, 0);
    }
  }
}

void TPlotFunction::DoCalculation(TChartSeries* source, TChartValueList* sourceList) {
  if (period_ != 0)
    CalculateByPeriod(source, sourceList);
  else
    CalculateAllPoints(source, sourceList);
}

void TPlotFunction::PrepareForGallery(TCustomAxisPanel* chart) {
  if (!chart) return;
  const std::vector<TChartSeries*> all = chart->SeriesList().Items();
  for (TChartSeries* s : all) s->PrepareForGallery(true);
}

void TPlotFunction::AddPoints(TChartSeries* source) {
  if (updating_ || !source || !parentSeries_) return;
  if (parentSeries_->DataSources().Count() > 1) {
    CalculateManySeries(source);
  } else if (source->Count() > 0) {
    DoCalculation(source, source->PositionValues());
  }
}

void TPlotFunction::CalculateManySeries(TChartSeries* source) {
  std::vector<TChartSeries*> sources;
  TChartSeries* reference = source;
  for (platform::TComponent* c : parentSeries_->DataSources().Items()) {
    auto* s = dynamic_cast<TChartSeries*>(c);
    if (!s) continue;
    sources.push_back(s);
    if (s->Count() > reference->Count()) reference = s;
  }
  const int n = reference->Count();
  for (int a = 0; a < n; ++a) {
    const double pos = reference->PositionValues()->GetValue(a);
    const double value = CalculateMany(sources, a);
    double x = pos, y = value;
    if (!reference->YIsValue()) std::swap(x, y);
    parentSeries_->AddXY(x, y, reference->GetXLabel(a), platform::clDefault);
  }
}

void TPlotFunction::SetParentComponent(platform::TComponent* value) {
  if (auto* s = dynamic_cast<TChartSeries*>(value)) SetParentSeries(s);
}

platform::TComponent* TPlotFunction::GetParentComponent() const {
  return parentSeries_;
}

int TPlotFunction::AddFunctionXY(bool sourceYIsValue, double x, double y) {
  if (!parentSeries_) return -1;
  if (sourceYIsValue) return parentSeries_->AddXY(x, y, {}, platform::clDefault);
  return parentSeries_->AddXY(y, x, {}, platform::clDefault);
}

TChartValueList* TPlotFunction::ValueList(TChartSeries* source) const {
  if (parentSeries_) {
    const std::string name = parentSeries_->MainValues()->GetValueSource();
    if (!name.empty()) return source->GetYValueList(name);
  }
  return source->MainValues();
}

void TPlotFunction::EndUpdate() {
  if (!updating_) return;
  updating_ = false;
  ReCalculate();
}

void TPlotFunction::ReCalculate() {
  if (!updating_ && parentSeries_) parentSeries_->CheckDataSource();
}

void TPlotFunction::SetPeriod(double value) {
  // Not a number, and no end to a period, are no period either.
  if (!(value >= 0) || !std::isfinite(value)) throw ChartException(PlotMsg_FunctionPeriod);
  if (value == period_) return;
  period_ = value;
  ReCalculate();
}

void TPlotFunction::SetPeriodAlign(TFunctionPeriodAlign value) {
  if (value == periodAlign_) return;
  periodAlign_ = value;
  ReCalculate();
}

void TPlotFunction::SetPeriodStyle(TFunctionPeriodStyle value) {
  if (value == periodStyle_) return;
  periodStyle_ = value;
  ReCalculate();
}

void TPlotFunction::SetParentSeries(TChartSeries* series) {
  if (series == parentSeries_) return;
  if (TChartSeries* old = parentSeries_) {
    parentSeries_ = nullptr;
    if (old->FunctionOf() == this) old->ForgetFunction();
    RemoveFreeNotification(old);
  }
  if (series) series->SetFunction(this);
}

void TPlotFunction::Assign(const platform::TPersistent* source) {
  const auto* f = dynamic_cast<const TPlotFunction*>(source);
  if (!f) return;
  const bool changed =
      f->period_ != period_ || f->periodStyle_ != periodStyle_ || f->periodAlign_ != periodAlign_;
  period_ = f->period_;
  periodStyle_ = f->periodStyle_;
  periodAlign_ = f->periodAlign_;
  if (changed) ReCalculate();
}

void TPlotFunction::Notification(platform::TComponent* component, platform::TOperation operation) {
  platform::TComponent::Notification(component, operation);
  if (operation == platform::opRemove && component == parentSeries_) parentSeries_ = nullptr;
}

TPlotMovingFunction::TPlotMovingFunction(platform::TComponent* Owner) : TPlotFunction(Owner) {
  InitPeriod(1);
}

void TPlotMovingFunction::DoCalculation(TChartSeries* source, TChartValueList* sourceList) {
  const int n = sourceList->Count();
  // A window under one point would start before the first point.
  const double rounded = std::nearbyint(GetPeriod());
  if (!(rounded >= 1) || rounded > n) return;
  const int p = static_cast<int>(rounded);
  const bool yIsValue = source->YIsValue();
  for (int i = p - 1; i <= n - 1; ++i) {
    const double r = Calculate(source, i - p + 1, i);
    AddFunctionXY(yIsValue, sourceList->GetValue(i), r);
  }
}

}  // namespace chart
