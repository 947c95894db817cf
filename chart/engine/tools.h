// Tools: chart elements that take part in the chart's drawing and mouse handling. The chart
// owns its tools and tells the active ones, in list order, what it is doing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/engine/chart_element.h"
#include "platform/vcl/mouse.h"

namespace chart {

class TChartAxis;
class TChartSeries;

enum TChartToolEvent {
  cteAfterDraw,
  cteBeforeDrawSeries,
  cteBeforeDraw,
  cteBeforeDrawAxes,
  cteAfterDrawSeries,
  cteMouseLeave
};

enum TChartMouseEvent { cmeDown, cmeMove, cmeUp };

class TPlotCustomTool : public TCustomChartElement {
 public:
  explicit TPlotCustomTool(platform::TComponent* Owner) : TCustomChartElement(Owner) {}
  ~TPlotCustomTool() override;
  const char* ClassName() const override { return "TPlotCustomTool"; }
  // Leaves the old chart's tools (repainting it when no new chart follows), joins the new one's.
  void SetParentChart(TCustomAxisPanel* chart) override;
  virtual void ChartEvent(TChartToolEvent /*event*/) {}
  virtual void ChartMouseEvent(TChartMouseEvent /*event*/, platform::TMouseButton /*button*/,
                               platform::TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  virtual std::string Description() const { return {}; }
};

// A tool that works on one series, or on the chart's standard axes without one.
class TPlotCustomToolSeries : public TPlotCustomTool {
 public:
  explicit TPlotCustomToolSeries(platform::TComponent* Owner) : TPlotCustomTool(Owner) {}
  ~TPlotCustomToolSeries() override;
  const char* ClassName() const override { return "TPlotCustomToolSeries"; }
  std::string GetEditorClass() const override { return "TSeriesToolEditor"; }
  TChartSeries* GetSeries() const { return series_; }
  void SetSeries(TChartSeries* value);
  // The series' axes; without a series the bottom (or top, when only it has active series)
  // and the left (or right, likewise) axis of the chart.
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;

 protected:
  void Notification(platform::TComponent* component, platform::TOperation operation) override;

 private:
  TChartSeries* series_ = nullptr;
};

// A tool that works on one axis of its chart.
class TPlotCustomToolAxis : public TPlotCustomTool {
 public:
  explicit TPlotCustomToolAxis(platform::TComponent* Owner) : TPlotCustomTool(Owner) {}
  ~TPlotCustomToolAxis() override;
  const char* ClassName() const override { return "TPlotCustomToolAxis"; }
  std::string GetEditorClass() const override { return "TAxisToolEditor"; }
  // Null once the axis is gone: a custom axis removed, or the axis' chart freed.
  TChartAxis* GetAxis() const;
  // Also moves the tool to the axis' chart.
  void SetAxis(TChartAxis* value);
  // "AxisID": the axis' index in its chart's axes list, -1 without one.
  int GetAxisID() const;
  // Resolves against the tool's chart; an index outside the list sets no axis.
  void SetAxisID(int value);
  // The chart forgets its axes.
  void ForgetAxis();

 protected:
  void Notification(platform::TComponent* component, platform::TOperation operation) override;

 private:
  TChartAxis* axis_ = nullptr;
  // The axis' chart, told to us when it goes, and the axis' serial: a custom axis freed while
  // its chart lives is no longer in the chart's list, even if a new one took its address.
  TCustomAxisPanel* axisChart_ = nullptr;
  std::uint64_t axisSerial_ = 0;
};

// The tools of a chart, in order. Owns them.
class TChartTools {
 public:
  explicit TChartTools(TCustomAxisPanel* chart) : chart_(chart) {}
  // The chart clears the list before it goes.
  ~TChartTools() = default;
  TChartTools(const TChartTools&) = delete;
  TChartTools& operator=(const TChartTools&) = delete;
  // Takes tool over and makes it a tool of the chart; returns it.
  TPlotCustomTool* Add(TPlotCustomTool* tool);
  // Frees every tool.
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Null outside 0..Count-1.
  TPlotCustomTool* Get(int index) const;
  int IndexOf(const TPlotCustomTool* tool) const;
  // Active on every tool.
  void Active(bool value);
  // Joining and leaving without changing the tool's chart (the tool's SetParentChart).
  void InternalAdd(TPlotCustomTool* tool);
  void InternalRemove(TPlotCustomTool* tool);

 private:
  TCustomAxisPanel* chart_;
  std::vector<TPlotCustomTool*> items_;
};

}  // namespace chart
