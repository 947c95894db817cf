// The standard functions that derive a series from others: sum, difference, product, quotient,
// maximum, minimum, mean, a formula given by a handler, median and mode.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chart/engine/plot_function.h"

namespace chart {

// The sum: over a range of one source's points, or at one index across sources.
class TAddPlotFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "TAddPlotFunction"; }
  double Calculate(TChartSeries* source, int first, int last) override;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

// Folds the values at one index across sources, in list order, through CalculateValue.
class TManySeriesPlotFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "TManySeriesPlotFunction"; }
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
  virtual double CalculateValue(double /*result*/, double /*value*/) const { return 0; }
};

class TSubtractPlotFunction : public TManySeriesPlotFunction {
 public:
  using TManySeriesPlotFunction::TManySeriesPlotFunction;
  const char* ClassName() const override { return "TSubtractPlotFunction"; }
  double CalculateValue(double result, double value) const override { return result - value; }
};

class TMultiplyPlotFunction : public TManySeriesPlotFunction {
 public:
  using TManySeriesPlotFunction::TManySeriesPlotFunction;
  const char* ClassName() const override { return "TMultiplyPlotFunction"; }
  double CalculateValue(double result, double value) const override { return result * value; }
};

// A divisor of 0 is skipped.
class TDividePlotFunction : public TManySeriesPlotFunction {
 public:
  using TManySeriesPlotFunction::TManySeriesPlotFunction;
  const char* ClassName() const override { return "TDividePlotFunction"; }
  double CalculateValue(double result, double value) const override {
    return value == 0 ? result : result / value;
  }
};

// The largest value: over a range of one source's points, or at one index across sources.
class THighPlotFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "THighPlotFunction"; }
  double Calculate(TChartSeries* source, int first, int last) override;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

// The smallest value.
class TLowPlotFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "TLowPlotFunction"; }
  double Calculate(TChartSeries* source, int first, int last) override;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

// The mean; null points count only with IncludeNulls.
class TAveragePlotFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "TAveragePlotFunction"; }
  std::string GetEditorClass() const override { return "TAverageFuncEditor"; }
  double Calculate(TChartSeries* source, int first, int last) override;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;

  bool GetIncludeNulls() const { return includeNulls_; }
  void SetIncludeNulls(bool value);

 private:
  bool includeNulls_ = true;
};

class TCustomPlotFunction;
// Sets y for x.
using TCalculateEvent = std::function<void(TCustomPlotFunction* Sender, double x, double& y)>;

// y = f(x) without a source: NumPoints points from StartX, Period apart, y from OnCalculate.
class TCustomPlotFunction : public TPlotFunction {
 public:
  explicit TCustomPlotFunction(platform::TComponent* Owner);
  const char* ClassName() const override { return "TCustomPlotFunction"; }
  std::string GetEditorClass() const override { return "TCustomFunctionEditor"; }
  void AddPoints(TChartSeries* source) override;

  int GetNumPoints() const { return numPoints_; }
  void SetNumPoints(int value);
  double GetStartX() const { return startX_; }
  void SetStartX(double value);

  TCalculateEvent OnCalculate;

 private:
  int numPoints_ = 100;
  double startX_ = 0;
};

// Collects the values in ascending order and answers CalcResult over them.
class TCustomSortedFunction : public TPlotFunction {
 public:
  using TPlotFunction::TPlotFunction;
  const char* ClassName() const override { return "TCustomSortedFunction"; }
  double Calculate(TChartSeries* source, int first, int last) override;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;

  bool GetIncludeNulls() const { return includeNulls_; }
  void SetIncludeNulls(bool value);

 protected:
  // Puts value in order among the entries before position; the filled part stays ascending.
  void AddValue(int position, double value);
  // Over the entries collected, Count() of them in ascending order.
  virtual double CalcResult() const { return 0; }
  const std::vector<double>& Values() const { return values_; }
  int Count() const { return count_; }

 private:
  double Result();

  bool includeNulls_ = true;
  std::vector<double> values_;
  int count_ = 0;
};

// The middle value; of an even count the mean of the two middle ones.
class TMedianPlotFunction : public TCustomSortedFunction {
 public:
  using TCustomSortedFunction::TCustomSortedFunction;
  const char* ClassName() const override { return "TMedianPlotFunction"; }

 protected:
  double CalcResult() const override;
};

// The most frequent value; the smallest of equally frequent ones.
class TModePlotFunction : public TCustomSortedFunction {
 public:
  using TCustomSortedFunction::TCustomSortedFunction;
  const char* ClassName() const override { return "TModePlotFunction"; }

 protected:
  double CalcResult() const override;
};

}  // namespace chart
