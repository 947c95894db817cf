#include "chart/series/plot_functions.h"

#include <algorithm>

#include "chart/engine/series.h"
#include "chart/engine/value_list.h"

namespace chart {

namespace {

// Points of source that list can be read at; a list out of step with its series is read no
// further than either.
int Readable(TChartSeries* source, const TChartValueList* list) {
  return std::min(source->Count(), list->Count());
}

// Narrows first..last to the points there are; false when none is left.
bool ClampRange(int count, int& first, int& last) {
  first = std::max(first, 0);
  last = std::min(last, count - 1);
  return first <= last;
}

// The value of s at index through f's value list; false when s is shorter than that.
bool ValueAt(const TPlotFunction& f, TChartSeries* s, int index, double& value) {
  if (!s || index < 0) return false;
  const TChartValueList* list = f.ValueList(s);
  if (!list || index >= Readable(s, list)) return false;
  value = list->GetValue(index);
  return true;
}

// The first value in first..last that better() prefers to all before it; 0 for an empty range.
template <class Better>
double Extreme(const TPlotFunction& f, TChartSeries* source, int first, int last, Better better) {
  const TChartValueList* list = f.ValueList(source);
  if (!ClampRange(Readable(source, list), first, last)) return 0;
  double result = list->GetValue(first);
  for (int i = first + 1; i <= last; ++i) {
    const double v = list->GetValue(i);
    if (better(v, result)) result = v;
  }
  return result;
}

// The first series that has the point starts the comparison: a missing point is no value of 0.
template <class Better>
double ExtremeMany(const TPlotFunction& f, const std::vector<TChartSeries*>& sources,
                   int valueIndex, Better better) {
  bool any = false;
  double result = 0;
  for (TChartSeries* s : sources) {
    double v;
    if (!ValueAt(f, s, valueIndex, v)) continue;
    if (!any || better(v, result)) result = v;
    any = true;
  }
  return result;
}

}  // namespace

// ---- Sum ---------------------------------------------------------------------------------------

double TAddPlotFunction::Calculate(TChartSeries* source, int first, int last) {
  TChartValueList* list = ValueList(source);
  if (first == -1) return list->Total();
  if (!ClampRange(Readable(source, list), first, last)) return 0;
  double result = 0;
  for (int i = first; i <= last; ++i) result += list->GetValue(i);
  return result;
}

double TAddPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) {
  double result = 0;
  for (TChartSeries* s : sources) {
    double v;
    if (ValueAt(*this, s, valueIndex, v)) result += v;
  }
  return result;
}

// ---- Difference, product, quotient -------------------------------------------------------------

double TManySeriesPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources,
                                              int valueIndex) {
  bool any = false;
  double result = 0;
  for (TChartSeries* s : sources) {
    double v;
    if (!ValueAt(*this, s, valueIndex, v)) continue;
    result = any ? CalculateValue(result, v) : v;
    any = true;
  }
  return result;
}

// ---- Maximum and minimum -----------------------------------------------------------------------

double THighPlotFunction::Calculate(TChartSeries* source, int first, int last) {
  if (first == -1) return ValueList(source)->MaxValue();
  return Extreme(*this, source, first, last, [](double v, double r) { return v > r; });
}

double THighPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) {
  return ExtremeMany(*this, sources, valueIndex, [](double v, double r) { return v > r; });
}

double TLowPlotFunction::Calculate(TChartSeries* source, int first, int last) {
  if (first == -1) return ValueList(source)->MinValue();
  return Extreme(*this, source, first, last, [](double v, double r) { return v < r; });
}

double TLowPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) {
  return ExtremeMany(*this, sources, valueIndex, [](double v, double r) { return v < r; });
}

// ---- Mean --------------------------------------------------------------------------------------

void TAveragePlotFunction::SetIncludeNulls(bool value) {
  if (value == includeNulls_) return;
  includeNulls_ = value;
  ReCalculate();
}

double TAveragePlotFunction::Calculate(TChartSeries* source, int first, int last) {
  TChartValueList* list = ValueList(source);
  if (first == -1) {
    if (includeNulls_) return source->Count() > 0 ? list->Total() / source->Count() : 0;
    first = 0;
    last = source->Count() - 1;
  }
  if (!ClampRange(Readable(source, list), first, last)) return 0;
  double sum = 0;
  int n = 0;
  for (int i = first; i <= last; ++i) {
    if (!includeNulls_ && source->IsNull(i)) continue;
    sum += list->GetValue(i);
    ++n;
  }
  return n > 0 ? sum / n : 0;
}

double TAveragePlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources,
                                           int valueIndex) {
  double sum = 0;
  int n = 0;
  for (TChartSeries* s : sources) {
    double v;
    if (!ValueAt(*this, s, valueIndex, v)) continue;
    if (!includeNulls_ && s->IsNull(valueIndex)) continue;
    sum += v;
    ++n;
  }
  return n > 0 ? sum / n : 0;
}

// ---- Formula -----------------------------------------------------------------------------------

TCustomPlotFunction::TCustomPlotFunction(platform::TComponent* Owner) : TPlotFunction(Owner) {
  InitPeriod(1);
  SetNeedsNoSource(true);
}

void TCustomPlotFunction::SetNumPoints(int value) {
  if (value == numPoints_) return;
  numPoints_ = value;
  ReCalculate();
}

void TCustomPlotFunction::SetStartX(double value) {
  if (value == startX_) return;
  startX_ = value;
  ReCalculate();
}

void TCustomPlotFunction::AddPoints(TChartSeries* /*source*/) {
  TChartSeries* parent = GetParentSeries();
  if (Updating() || !parent || !OnCalculate) return;
  // The handler may reassign itself or the settings while it runs.
  const TCalculateEvent calculate = OnCalculate;
  const int n = numPoints_;
  const double period = GetPeriod();
  parent->Clear();
  const bool yIsValue = parent->YIsValue();
  double x = startX_;
  for (int i = 0; i < n; ++i) {
    double y = 0;
    calculate(this, x, y);
    AddFunctionXY(yIsValue, x, y);
    x += period;
  }
}

// ---- Sorted functions --------------------------------------------------------------------------

void TCustomSortedFunction::SetIncludeNulls(bool value) {
  if (value == includeNulls_) return;
  includeNulls_ = value;
  ReCalculate();
}

void TCustomSortedFunction::AddValue(int position, double value) {
  if (position < 0 || position >= static_cast<int>(values_.size())) return;
  // Insertion from the top: ascending input only appends.
  int slot = position;
  while (slot > 0 && values_[slot - 1] > value) {
    values_[slot] = values_[slot - 1];
    --slot;
  }
  values_[slot] = value;
  count_ = std::max(count_, position + 1);
}

double TCustomSortedFunction::Result() {
  const double result = CalcResult();
  std::vector<double>().swap(values_);
  count_ = 0;
  return result;
}

// Skipped points take no part: the values fill the array from the bottom, and Count() tells
// how many there are.
double TCustomSortedFunction::Calculate(TChartSeries* source, int first, int last) {
  const TChartValueList* list = ValueList(source);
  const int points = Readable(source, list);
  if (first == -1) first = 0;
  if (last == -1) last = points - 1;
  if (!ClampRange(points, first, last)) return 0;
  values_.assign(static_cast<size_t>(last - first + 1), 0.0);
  count_ = 0;
  for (int i = first; i <= last; ++i) {
    if (!includeNulls_ && source->IsNull(i)) continue;
    AddValue(count_, list->GetValue(i));
  }
  return Result();
}

double TCustomSortedFunction::CalculateMany(const std::vector<TChartSeries*>& sources,
                                            int valueIndex) {
  if (sources.empty()) return 0;
  values_.assign(sources.size(), 0.0);
  count_ = 0;
  for (TChartSeries* s : sources) {
    double v;
    if (!ValueAt(*this, s, valueIndex, v)) continue;
    if (!includeNulls_ && s->IsNull(valueIndex)) continue;
    AddValue(count_, v);
  }
  return Result();
}

double TMedianPlotFunction::CalcResult() const {
  const int n = Count();
  if (n <= 0) return 0;
  const std::vector<double>& v = Values();
  if (n % 2 == 1) return v[n / 2];
  return (v[n / 2 - 1] + v[n / 2]) / 2;
}

double TModePlotFunction::CalcResult() const {
  const int n = Count();
  if (n <= 0) return 0;
  const std::vector<double>& v = Values();
  double best = v[0];
  int bestRun = 1, run = 1;
  for (int i = 1; i < n; ++i) {
    run = v[i] == v[i - 1] ? run + 1 : 1;
    if (run > bestRun) bestRun = run, best = v[i];
  }
  return best;
}

}  // namespace chart
