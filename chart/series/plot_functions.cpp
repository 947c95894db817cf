#include "chart/series/plot_functions.h"

#include <algorithm>

#include "chart/engine/series.h"
#include "chart/engine/value_list.h"

namespace chart {

double THighPlotFunction::Calculate(TChartSeries* source, int first, int last) {
  TChartValueList* list = ValueList(source);
  if (first == -1) return list->MaxValue();
  first = std::max(first, 0);
  last = std::min(last, list->Count() - 1);
  if (last < first) return 0;
  double result = list->GetValue(first);
  for (int i = first + 1; i <= last; ++i) result = std::max(result, list->GetValue(i));
  return result;
}

double THighPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) {
  // The first series that has the point sets the start: a missing point is no value of 0.
  bool any = false;
  double result = 0;
  if (valueIndex < 0) return result;
  for (TChartSeries* s : sources) {
    TChartValueList* list = s ? ValueList(s) : nullptr;
    if (!list || list->Count() <= valueIndex) continue;
    const double v = list->GetValue(valueIndex);
    if (!any || v > result) result = v;
    any = true;
  }
  return result;
}

}  // namespace chart
