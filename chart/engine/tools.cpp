// Tools joining and leaving their chart, the series and axis a tool works on, and the chart's
// list of tools.
#include "chart/engine/tools.h"

#include <algorithm>

#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

// ---- TPlotCustomTool ---------------------------------------------------------------------------

TPlotCustomTool::~TPlotCustomTool() {
  // Freed by its owner first: the chart must not keep it.
  if (TCustomAxisPanel* chart = GetParentChart()) chart->Tools().InternalRemove(this);
}

void TPlotCustomTool::SetParentChart(TCustomAxisPanel* chart) {
  TCustomAxisPanel* old = GetParentChart();
  if (old == chart) return;
  if (old) {
    old->Tools().InternalRemove(this);
    if (!chart) old->Invalidate();
  }
  TCustomChartElement::SetParentChart(chart);
  if (chart) chart->Tools().InternalAdd(this);
}

// ---- TPlotCustomToolSeries ---------------------------------------------------------------------

TPlotCustomToolSeries::~TPlotCustomToolSeries() {
  if (series_) series_->RemoveFreeNotification(this);
}

void TPlotCustomToolSeries::SetSeries(TChartSeries* value) {
  if (series_ == value) return;
  if (series_) series_->RemoveFreeNotification(this);
  series_ = value;
  if (series_) series_->FreeNotification(this);
  Repaint();
}

void TPlotCustomToolSeries::Notification(platform::TComponent* component,
                                         platform::TOperation operation) {
  TPlotCustomTool::Notification(component, operation);
  if (operation == platform::opRemove && component == series_) series_ = nullptr;
}

namespace {

// Whether axis has active series and other does not.
bool OnlyOn(const TCustomAxisPanel* chart, const TChartAxis* axis, const TChartAxis* other) {
  return !chart->NoActiveSeries(axis) && chart->NoActiveSeries(other);
}

}  // namespace

TChartAxis* TPlotCustomToolSeries::GetHorizAxis() const {
  if (series_) return series_->GetHorizAxisObj();
  const TCustomAxisPanel* c = GetParentChart();
  if (!c) return nullptr;
  return OnlyOn(c, c->TopAxis(), c->BottomAxis()) ? c->TopAxis() : c->BottomAxis();
}

TChartAxis* TPlotCustomToolSeries::GetVertAxis() const {
  if (series_) return series_->GetVertAxisObj();
  const TCustomAxisPanel* c = GetParentChart();
  if (!c) return nullptr;
  return OnlyOn(c, c->RightAxis(), c->LeftAxis()) ? c->RightAxis() : c->LeftAxis();
}

// ---- TPlotCustomToolAxis -----------------------------------------------------------------------

TPlotCustomToolAxis::~TPlotCustomToolAxis() {
  ForgetAxis();
}

TChartAxis* TPlotCustomToolAxis::GetAxis() const {
  if (!axis_ || !axisChart_) return axis_;
  for (TChartAxis* a : axisChart_->AxesList())
    if (a == axis_ && a->Serial() == axisSerial_) return axis_;
  return nullptr;
}

void TPlotCustomToolAxis::SetAxis(TChartAxis* value) {
  ForgetAxis();
  axis_ = value;
  if (axis_) {
    axisSerial_ = axis_->Serial();
    axisChart_ = axis_->ParentChart();
    if (axisChart_) axisChart_->FreeNotification(this);
    SetParentChart(axisChart_);
  }
  Repaint();
}

void TPlotCustomToolAxis::ForgetAxis() {
  if (axisChart_) axisChart_->RemoveFreeNotification(this);
  axisChart_ = nullptr;
  axis_ = nullptr;
}

void TPlotCustomToolAxis::Notification(platform::TComponent* component,
                                       platform::TOperation operation) {
  TPlotCustomTool::Notification(component, operation);
  if (operation == platform::opRemove && component && component == axisChart_) {
    axisChart_ = nullptr;
    axis_ = nullptr;
  }
}

int TPlotCustomToolAxis::GetAxisID() const {
  const TCustomAxisPanel* c = GetParentChart();
  TChartAxis* axis = GetAxis();
  if (!c || !axis) return -1;
  const auto& list = c->AxesList();
  const auto it = std::find(list.begin(), list.end(), axis);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TPlotCustomToolAxis::SetAxisID(int value) {
  const TCustomAxisPanel* c = GetParentChart();
  if (!c || value < 0 || value >= static_cast<int>(c->AxesList().size())) return;
  SetAxis(c->AxesList()[static_cast<size_t>(value)]);
}

// ---- TChartTools -------------------------------------------------------------------------------

TPlotCustomTool* TChartTools::Add(TPlotCustomTool* tool) {
  if (tool) tool->SetParentChart(chart_);
  return tool;
}

void TChartTools::Clear() {
  // Each tool leaves the list as it is freed.
  while (!items_.empty()) {
    TPlotCustomTool* tool = items_.back();
    const size_t before = items_.size();
    delete tool;
    if (items_.size() == before) items_.pop_back();
  }
}

TPlotCustomTool* TChartTools::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

int TChartTools::IndexOf(const TPlotCustomTool* tool) const {
  const auto it = std::find(items_.begin(), items_.end(), tool);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TChartTools::Active(bool value) {
  for (TPlotCustomTool* tool : items_) tool->SetActive(value);
}

void TChartTools::InternalAdd(TPlotCustomTool* tool) {
  if (IndexOf(tool) < 0) items_.push_back(tool);
}

void TChartTools::InternalRemove(TPlotCustomTool* tool) {
  const auto it = std::find(items_.begin(), items_.end(), tool);
  if (it != items_.end()) items_.erase(it);
}

}  // namespace chart
