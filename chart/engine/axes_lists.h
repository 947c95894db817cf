// The chart's views of its axes: every axis (standard and custom, in creation order) with the
// chart-wide axis switches, and the custom axes alone. The chart owns the axes themselves.
#pragma once

#include <functional>

namespace chart {

class TChartAxis;
class TCustomAxisPanel;

// Where a hidden axis' labels stand: called with the labels position the axis would have on
// the chart rectangle; the axis keeps what the callback leaves.
using TAxisCalcPosLabels = std::function<void(TChartAxis* axis, int& posLabels)>;

class TChartAxes {
 public:
  explicit TChartAxes(TCustomAxisPanel* chart) : chart_(chart) {}
  int Count() const;
  // Null outside 0..Count-1.
  TChartAxis* Get(int index) const;
  TChartAxis* operator[](int index) const { return Get(index); }
  TChartAxis* BottomAxis() const;
  TChartAxis* TopAxis() const;
  TChartAxis* LeftAxis() const;
  TChartAxis* RightAxis() const;
  TChartAxis* DepthAxis() const;
  TChartAxis* DepthTopAxis() const;
  // The chart's AxisBehind and AxisVisible.
  bool GetBehind() const;
  void SetBehind(bool value);
  bool GetVisible() const;
  void SetVisible(bool value);
  void Hide() { SetVisible(false); }
  // Every axis automatic again.
  void Reset();
  bool GetFastCalc() const;
  // Every axis rebinds its mapping (unchecked with value).
  void FastCalc(bool value);
  // Lets the program change the room an axis' labels take (CalcRect).
  std::function<void(TChartAxis* axis, int& size)> OnCalcLabelsSize;
  // Lets the program place the labels of the axes the layout finds hidden.
  TAxisCalcPosLabels OnCalcPosLabels;

 private:
  TCustomAxisPanel* chart_;
};

class TChartCustomAxes {
 public:
  explicit TChartCustomAxes(TCustomAxisPanel* chart) : chart_(chart) {}
  int Count() const;
  // Null outside 0..Count-1.
  TChartAxis* Get(int index) const;
  TChartAxis* operator[](int index) const { return Get(index); }
  // Copies axis' settings into the item at index; nothing outside the collection.
  void Put(int index, const TChartAxis* axis);
  // Every custom axis whose master is axis takes axis' minimum and maximum (and so on down a
  // chain of masters; a loop of masters ends where it started).
  void ResetScales(TChartAxis* axis);

 private:
  TCustomAxisPanel* chart_;
  bool resetting_ = false;
};

}  // namespace chart
