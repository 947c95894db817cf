// The base of everything a chart holds besides its axes: series and tools. An element has an
// active flag, a pen and a brush, and repaints its chart when a setting changes.
#pragma once

#include <memory>
#include <string>

#include "chart/canvas/pens.h"
#include "chart/engine/engine_globals.h"
#include "platform/vcl/component.h"

namespace chart {

class TCustomAxisPanel;

class TCustomChartElement : public platform::TComponent {
 public:
  explicit TCustomChartElement(platform::TComponent* Owner);
  ~TCustomChartElement() override;
  const char* ClassName() const override { return "TCustomChartElement"; }

  virtual void CanvasChanged() { Repaint(); }
  virtual std::string GetEditorClass() const { return {}; }
  bool GetActive() const { return active_; }
  virtual void SetActive(bool value);
  TCustomAxisPanel* GetParentChart() const { return parentChart_; }
  virtual void SetParentChart(TCustomAxisPanel* chart);
  TChartPen* GetPen() const { return pen_.get(); }
  virtual void SetPen(const TChartPen* value);
  TChartBrush* GetBrush() const { return brush_.get(); }
  void SetBrush(const TChartBrush* value);
  bool GetShowInEditor() const { return showInEditor_; }
  void SetShowInEditor(bool value) { showInEditor_ = value; }

  // The chart's Invalidate; nothing without a chart.
  void Repaint();
  // From another element: Active, brush, pen, Tag. Anything else cannot be assigned.
  virtual void Assign(const platform::TPersistent* source);

  platform::TComponent* GetParentComponent() const;
  // A chart as parent joins it; anything else is ignored.
  virtual void SetParentComponent(platform::TComponent* value);
  bool HasParent() const { return true; }

  // Store and repaint only on a change.
  void SetBooleanProperty(bool& variable, bool value);
  void SetColorProperty(platform::TColor& variable, platform::TColor value);
  void SetDoubleProperty(double& variable, double value);
  void SetIntegerProperty(int& variable, int value);
  void SetStringProperty(std::string& variable, const std::string& value);

 protected:
  // The raw store, for SetParentChart overrides.
  void StoreParentChart(TCustomAxisPanel* chart) { parentChart_ = chart; }

 private:
  bool active_ = true;
  std::unique_ptr<TChartBrush> brush_;
  TCustomAxisPanel* parentChart_ = nullptr;
  std::unique_ptr<TChartPen> pen_;
  bool showInEditor_ = true;
};

enum TChartSeriesStyleFlag : unsigned {
  tssIsTemplate = 1u << 0,
  tssDenyChangeType = 1u << 1,
  tssDenyDelete = 1u << 2,
  tssDenyClone = 1u << 3,
  tssIsPersistent = 1u << 4,
  tssHideDataSource = 1u << 5,
};
using TChartSeriesStyle = unsigned;

// What every series has: title, legend flag, identifier and style flags.
class TCustomChartSeries : public TCustomChartElement {
 public:
  explicit TCustomChartSeries(platform::TComponent* Owner);
  const char* ClassName() const override { return "TCustomChartSeries"; }

  // Also tells the chart's listeners (seChangeActive).
  void SetActive(bool value) override;
  bool GetShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool value);
  std::string GetTitle() const { return title_; }
  // Also tells the chart's listeners (seChangeTitle).
  void SetTitle(const std::string& value);
  std::string GetIdentifier() const { return identifier_; }
  void SetIdentifier(const std::string& value) { identifier_ = value; }
  TChartSeriesStyle GetStyle() const { return style_; }
  void SetStyle(TChartSeriesStyle value) { style_ = value & 0x3Fu; }

  void Assign(const platform::TPersistent* source) override;
  // Joining and leaving a chart.
  virtual void Added() {}
  virtual void Removed();
  virtual void GalleryChanged3D(bool value);
  // True when either class derives from the other.
  bool SameClass(const TCustomChartSeries* other) const;
  // True when other is of this object's class or derives from it; every series class overrides
  // it (CHART_SERIES_CLASS).
  virtual bool ClassIncludes(const TCustomChartSeries* other) const {
    return dynamic_cast<const TCustomChartSeries*>(other) != nullptr;
  }

 private:
  bool showInLegend_ = true;
  std::string title_;
  std::string identifier_;
  TChartSeriesStyle style_ = 0;
};

// Put in each series class: its name and its place in the class tree.
#define CHART_SERIES_CLASS(Class)                                               \
  const char* ClassName() const override {                                      \
    return #Class;                                                              \
  }                                                                             \
  bool ClassIncludes(const ::chart::TCustomChartSeries* other) const override { \
    return dynamic_cast<const Class*>(other) != nullptr;                        \
  }

}  // namespace chart
