// The chart's point pages: how many points a page holds, which page is shown, and whether the
// value axes and a short last page scale to the shown points.
#pragma once

#include "platform/vcl/component.h"

namespace chart {

class TCustomAxisPanel;

class TChartPage : public platform::TPersistent {
 public:
  explicit TChartPage(TCustomAxisPanel* chart) : chart_(chart) {}
  const char* ClassName() const override { return "TChartPage"; }
  TCustomAxisPanel* ParentChart() const { return chart_; }

  bool GetAutoScale() const { return autoScale_; }
  void SetAutoScale(bool value);
  int GetCurrent() const { return current_; }
  // Clamped to 1..Count; a change repaints, broadcasts TChartChangePage and raises the chart's
  // OnPageChange with this object as Sender.
  void SetCurrent(int value);
  int GetMaxPointsPerPage() const { return maxPointsPerPage_; }
  // 0 turns paging off; a negative count raises ChartException. Always broadcasts
  // TChartChangePage.
  void SetMaxPointsPerPage(int value);
  bool GetScaleLastPage() const { return scaleLastPage_; }
  void SetScaleLastPage(bool value);

  // Pages needed by the series with the most points on the position axes; 1 without paging.
  int Count() const;
  void NextPage();
  void PreviousPage();
  // Index of the first point of the current page.
  long long FirstValueIndex() const;
  // From another TChartPage: the four settings, unchecked and silently.
  void Assign(const platform::TPersistent* source);

 private:
  TCustomAxisPanel* chart_;
  bool autoScale_ = false;
  int current_ = 1;
  int maxPointsPerPage_ = 0;
  bool scaleLastPage_ = true;
};

}  // namespace chart
