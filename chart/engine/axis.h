// An axis of a chart. Declared here so that series can bind to their axes; the scale, the
// value-to-pixel mapping, labels and drawing come with the axis layout.
#pragma once

#include "platform/vcl/component.h"

namespace chart {

class TCustomAxisPanel;

class TChartAxis : public platform::TPersistent {
 public:
  TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide = false);
  ~TChartAxis() override = default;
  const char* ClassName() const override { return "TChartAxis"; }

  TCustomAxisPanel* ParentChart() const { return chart_; }
  bool Horizontal() const { return horizontal_; }
  bool OtherSide() const { return otherSide_; }
  virtual bool IsDepthAxis() const { return false; }

 private:
  TCustomAxisPanel* chart_;
  bool horizontal_;
  bool otherSide_;
};

class TChartDepthAxis : public TChartAxis {
 public:
  TChartDepthAxis(TCustomAxisPanel* chart, bool otherSide) : TChartAxis(chart, false, otherSide) {}
  const char* ClassName() const override { return "TChartDepthAxis"; }
  bool IsDepthAxis() const override { return true; }
};

}  // namespace chart
