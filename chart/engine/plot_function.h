// A function fills its series (the parent series) with points computed from the series' data
// sources: over all points, by periods of points or of axis range, or as a moving window.
// Concrete functions answer Calculate and CalculateMany.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/component.h"

namespace chart {

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

class TPlotFunction : public platform::TComponent {
 public:
  explicit TPlotFunction(platform::TComponent* Owner);
  ~TPlotFunction() override;
  const char* ClassName() const override { return "TPlotFunction"; }

  // ---- Virtual slots -----------------------------------------------------------------------
  virtual void CalculatePeriod(TChartSeries* source, double position, int first, int last);
  virtual void CalculateAllPoints(TChartSeries* source, TChartValueList* sourceList);
  virtual void CalculateByPeriod(TChartSeries* source, TChartValueList* sourceList);
  virtual void DoCalculation(TChartSeries* source, TChartValueList* sourceList);
  virtual std::string GetEditorClass() const { return "TPlotFunctionEditor"; }
  virtual void PrepareForGallery(TCustomAxisPanel* chart);
  // First = Last = -1: all points.
  virtual double Calculate(TChartSeries* /*source*/, int /*first*/, int /*last*/) { return 0; }
  virtual double CalculateMany(const std::vector<TChartSeries*>& /*sources*/, int /*valueIndex*/) {
    return 0;
  }

  // ---- Dynamic -----------------------------------------------------------------------------
  virtual void Clear() {}
  virtual bool IsValidSource(const TChartSeries* /*series*/) const { return true; }
  // Called by the parent's refill with the source series (null for none).
  virtual void AddPoints(TChartSeries* source);
  void SetParentComponent(platform::TComponent* value);
  platform::TComponent* GetParentComponent() const;
  bool HasParent() const { return true; }

  int AddFunctionXY(bool sourceYIsValue, double x, double y);
  TChartValueList* ValueList(TChartSeries* source) const;
  void BeginUpdate() { updating_ = true; }
  void EndUpdate();
  bool Updating() const { return updating_; }
  void ReCalculate();

  double GetPeriod() const { return period_; }
  void SetPeriod(double value);
  TFunctionPeriodAlign GetPeriodAlign() const { return periodAlign_; }
  void SetPeriodAlign(TFunctionPeriodAlign value);
  TFunctionPeriodStyle GetPeriodStyle() const { return periodStyle_; }
  void SetPeriodStyle(TFunctionPeriodStyle value);
  TChartSeries* GetParentSeries() const { return parentSeries_; }
  void SetParentSeries(TChartSeries* series);
  bool NeedsNoSource() const { return needsNoSource_; }

  virtual void Assign(const platform::TPersistent* source);
  void Notification(platform::TComponent* component, platform::TOperation operation) override;

 protected:
  void SetNeedsNoSource(bool value) { needsNoSource_ = value; }
  // The raw store, without recalculation.
  void InitPeriod(double value) { period_ = value; }
  // The many-series calculation over the parent's data sources.
  void CalculateManySeries(TChartSeries* source);

 private:
  friend class TChartSeries;
  void StoreParentSeries(TChartSeries* series) { parentSeries_ = series; }

  double period_ = 0;
  TFunctionPeriodStyle periodStyle_ = psNumPoints;
  TFunctionPeriodAlign periodAlign_ = paCenter;
  TChartSeries* parentSeries_ = nullptr;
  bool updating_ = false;
  bool needsNoSource_ = false;
};

// A window of Period points moving over the source, one result per point from the Period-th on.
class TPlotMovingFunction : public TPlotFunction {
 public:
  explicit TPlotMovingFunction(platform::TComponent* Owner);
  const char* ClassName() const override { return "TPlotMovingFunction"; }
  void DoCalculation(TChartSeries* source, TChartValueList* sourceList) override;
};

}  // namespace chart
