// The standard functions that derive a series from others.
#pragma once

#include "chart/engine/plot_function.h"

namespace chart {

// The largest value: over a range of one source's points, or at one index across sources.
class THighPlotFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "THighPlotFunction"; }
  double Calculate(TChartSeries* source, int first, int last) override;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

}  // namespace chart
