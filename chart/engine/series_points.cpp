// The points of a series: adding in X order, deleting, clearing, colours, labels, sorting, and
// telling linked series and the chart about changes.
#include <algorithm>

#include "chart/common/chart_exception.h"
#include "chart/common/format_float.h"
#include "chart/common/general.h"
#include "chart/common/palette.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series.h"
#include "chart/engine/series_list.h"

namespace chart {

namespace {

struct UpdateGuard {
  explicit UpdateGuard(TChartSeries& s) : series(s) { series.BeginUpdate(); }
  ~UpdateGuard() { series.EndUpdate(); }
  TChartSeries& series;
};

}  // namespace

// ---- Adding ------------------------------------------------------------------------------------

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color) {
  xValues_->TempValue = x;
  yValues_->TempValue = y;
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;

  const int index = xValues_->AddChartValue();
  yValues_->InsertChartValue(index, y);
  for (int i = 2; i < valuesList_.Count(); ++i) {
    TChartValueList* list = valuesList_.Get(i);
    list->InsertChartValue(index, list->TempValue);
  }

  if (pointColors_) {
    pointColors_->insert(pointColors_->begin() + index, color);
  } else if (color != platform::clDefault) {
    // One entry per point: the points before this one keep the default colour.
    pointColors_ = std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count() - 1),
                                                         platform::clDefault);
    pointColors_->insert(pointColors_->begin() + index, color);
  }
  if (!label.empty() || labels_.Count() > 0) labels_.InsertLabel(index, label);
  if (marks_) marks_->PointInserted(index, Count());

  if (updateCount_ == 0) NotifyNewValue(this, index);
  return index;
}

int TChartSeries::Add(double value, const std::string& label, TColor color) {
  if (yIsValue_) return AddXY(xValues_->Count(), value, label, color);
  return AddXY(value, yValues_->Count(), label, color);
}

int TChartSeries::AddX(double x, const std::string& label, TColor color) {
  return AddXY(x, Count(), label, color);
}

int TChartSeries::AddY(double y, const std::string& label, TColor color) {
  return AddXY(Count(), y, label, color);
}

int TChartSeries::AddNull(const std::string& label) {
  return Add(0, label, platform::clNone);
}

int TChartSeries::AddNull(double value) {
  return Add(value, std::string(), platform::clNone);
}

int TChartSeries::AddNullXY(double x, double y, const std::string& label) {
  return AddXY(x, y, label, platform::clNone);
}

int TChartSeries::AddArray(const std::vector<double>& values) {
  UpdateGuard update(*this);
  for (double v : values) Add(v, std::string(), platform::clDefault);
  return static_cast<int>(values.size());
}

void TChartSeries::NotifyNewValue(TChartSeries* sender, int valueIndex) {
  if (OnAfterAdd) OnAfterAdd(sender, valueIndex);
  NotifyValue(veAdd, valueIndex);
  if (GetActive()) Repaint();
}

// ---- Deleting and clearing ---------------------------------------------------------------------

void TChartSeries::DeletePointLists(int index) {
  if (pointColors_ && index < static_cast<int>(pointColors_->size()))
    pointColors_->erase(pointColors_->begin() + index);
  if (index < labels_.Count()) labels_.DeleteLabel(index);
  if (marks_) {
    marks_->Positions().Delete(index);
    marks_->Items().Delete(index);
  }
}

void TChartSeries::Delete(int valueIndex) {
  if (valueIndex < 0 || valueIndex >= Count())
    throw ChartException(Format(PlotMsg_SeriesDelete, {valueIndex, Count() - 1}));
  for (int i = 0; i < valuesList_.Count(); ++i) valuesList_.Get(i)->Delete(valueIndex);
  DeletePointLists(valueIndex);
  NotifyValue(veDelete, valueIndex);
  if (GetActive()) Repaint();
}

void TChartSeries::Delete(int start, int quantity, bool removeGap) {
  CHART_ASSERT(quantity > 0, "Quantity of data points to delete must be greater than zero.");
  if (start < 0) throw ChartException(Format(PlotMsg_SeriesDelete, {start, Count() - 1}));
  // start >= 0: this difference cannot overflow, the sum could.
  CHART_ASSERT(quantity <= Count() - start, "Quantity of data to delete must be less than Count.");
  for (int i = 0; i < valuesList_.Count(); ++i) valuesList_.Get(i)->Delete(start, quantity);
  if (pointColors_ && start < static_cast<int>(pointColors_->size())) {
    const auto end = std::min(pointColors_->size(), static_cast<size_t>(start) + quantity);
    pointColors_->erase(pointColors_->begin() + start, pointColors_->begin() + end);
    if (pointColors_->empty()) pointColors_.reset();
  }
  labels_.DeleteRange(start, quantity);
  if (marks_) {
    marks_->Positions().DeleteRange(start, quantity);
    marks_->Items().DeleteRange(start, quantity);
  }
  // Linked series refill as a whole: there is no single index to delete in them.
  NotifyValue(veRefresh, 0);
  if (GetActive()) Repaint();
  if (removeGap) positionValues_->FillSequence();
}

void TChartSeries::ClearLists() {
  for (int i = 0; i < valuesList_.Count(); ++i) valuesList_.Get(i)->ClearValues();
  pointColors_.reset();
  labels_.Clear();
  if (marks_) marks_->Clear();
}

void TChartSeries::Clear() {
  FirstVisible = -1;
  LastVisible = -1;
  ClearLists();
  if (OnClearValues) OnClearValues(this);
  NotifyValue(veClear, 0);
  if (attachedFunction_) attachedFunction_->Clear();
  TCustomAxisPanel* chart = GetParentChart();
  if (GetActive() && chart && !chart->platform::TComponent::Destroying()) Repaint();
}

void TChartSeries::SwapValueIndex(int a, int b) {
  for (int i = 0; i < valuesList_.Count(); ++i) {
    TChartValueList* list = valuesList_.Get(i);
    list->CheckIndex(a);
    list->CheckIndex(b);
    std::swap(list->values_[static_cast<size_t>(a)], list->values_[static_cast<size_t>(b)]);
    list->modified_ = true;
  }
  if (pointColors_) {
    const int n = static_cast<int>(pointColors_->size());
    if (a < n && b < n)
      std::swap((*pointColors_)[static_cast<size_t>(a)], (*pointColors_)[static_cast<size_t>(b)]);
  }
  if (labels_.Count() > 0) labels_.Exchange(a, b);
  if (marks_) {
    marks_->Positions().Exchange(a, b);
    marks_->Items().Exchange(a, b);
  }
}

// ---- Values ------------------------------------------------------------------------------------

double TChartSeries::GetxValue(int valueIndex) const {
  return xValues_->GetValue(valueIndex);
}

double TChartSeries::GetyValue(int valueIndex) const {
  return yValues_->GetValue(valueIndex);
}

void TChartSeries::SetXValue(int index, double value) {
  xValues_->CheckIndex(index);
  xValues_->values_[static_cast<size_t>(index)] = value;
  xValues_->modified_ = true;
  Repaint();
}

void TChartSeries::SetYValue(int index, double value) {
  yValues_->CheckIndex(index);
  yValues_->values_[static_cast<size_t>(index)] = value;
  yValues_->modified_ = true;
  Repaint();
}

void TChartSeries::SetXLabel(int index, const std::string& text) {
  CheckListIndex(index, Count() - 1LL);
  labels_.SetLabel(index, text);
}

void TChartSeries::SetXValues(const TChartValueList* value) {
  xValues_->Assign(value);
  Repaint();
}

void TChartSeries::SetYValues(const TChartValueList* value) {
  yValues_->Assign(value);
  Repaint();
}

void TChartSeries::SetHorizontal() {
  mainValues_ = xValues_;
  positionValues_ = yValues_;
  yIsValue_ = false;
}

void TChartSeries::ReplaceList(TChartValueList* oldList, TChartValueList* newList) {
  if (!newList || oldList == newList || valuesList_.IndexOf(oldList) < 0) return;
  // Another series' list stays with it: taking it would leave that series a freed list.
  if (newList->owner_ && newList->owner_ != this)
    throw ChartException("ReplaceList: the new value list belongs to another series.");
  std::unique_ptr<TChartValueList> owned = valuesList_.Extract(newList);
  if (!owned) owned.reset(newList);
  owned->owner_ = this;
  owned->SetName(oldList->GetName());
  if (xValues_ == oldList) xValues_ = newList;
  if (yValues_ == oldList) yValues_ = newList;
  if (mainValues_ == oldList) mainValues_ = newList;
  if (positionValues_ == oldList) positionValues_ = newList;
  const int index = valuesList_.IndexOf(oldList);
  valuesList_.Extract(oldList);  // frees it
  valuesList_.Insert(index, owned.release());
}

// ---- Colours -----------------------------------------------------------------------------------

TColor TChartSeries::GetValueColor(int valueIndex) {
  TColor own = platform::clDefault;
  if (pointColors_ && valueIndex >= 0 && valueIndex < static_cast<int>(pointColors_->size()))
    own = (*pointColors_)[static_cast<size_t>(valueIndex)];
  if (own != platform::clDefault) return own;
  if (!colorEachPoint_) return GetSeriesColor();
  if (TCustomAxisPanel* chart = GetParentChart()) return chart->GetDefaultColor(valueIndex);
  return chart::GetDefaultColor(valueIndex);
}

void TChartSeries::SetValueColor(int index, TColor color) {
  if (!pointColors_) {
    if (color == platform::clDefault) return;
    pointColors_ =
        std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count()), platform::clDefault);
  }
  if (index < 0 || index >= static_cast<int>(pointColors_->size())) ListIndexError(index);
  (*pointColors_)[static_cast<size_t>(index)] = color;
  Repaint();
}

void TChartSeries::SetNull(int index, bool value) {
  SetValueColor(index, value ? platform::clNone : platform::clDefault);
}

void TChartSeries::ColorRange(TChartValueList* list, double fromValue, double toValue,
                              TColor color) {
  if (!list) return;
  const int n = std::min(Count(), list->Count());
  for (int i = 0; i < n; ++i) {
    const double v = list->GetValue(i);
    if (v < fromValue || v > toValue || IsNull(i)) continue;
    if (!pointColors_) {
      if (color == platform::clDefault) break;
      pointColors_ =
          std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count()), platform::clDefault);
    }
    (*pointColors_)[static_cast<size_t>(i)] = color;
  }
  Repaint();
}

TColor TChartSeries::GetSeriesColor() const {
  return seriesColor_ == platform::clDefault ? InternalSeriesColor : seriesColor_;
}

void TChartSeries::SetSeriesColor(TColor color) {
  if (seriesColor_ == platform::clDefault && color == InternalSeriesColor) return;
  SetColorProperty(seriesColor_, color);
  InternalSeriesColor = color;
  if (TCustomAxisPanel* chart = GetParentChart()) chart->BroadcastSeriesEvent(this, seChangeColor);
}

// ---- Order -------------------------------------------------------------------------------------

int TChartSeries::CompareLabelIndex(int a, int b) const {
  const int c = GetXLabel(a).compare(GetXLabel(b));
  const int result = c < 0 ? -1 : (c > 0 ? 1 : 0);
  return LabelSortOrder == loDescending ? -result : result;
}

void TChartSeries::SortByLabels(TChartListOrder order) {
  if (order == loNone) return;
  struct OrderGuard {
    TChartListOrder& order;
    ~OrderGuard() { order = loNone; }
  } guard{LabelSortOrder};
  LabelSortOrder = order;
  PlotSort(
      0, Count() - 1, [this](int a, int b) { return CompareLabelIndex(a, b); },
      [this](int a, int b) { SwapValueIndex(a, b); });
  LabelSortOrder = loNone;
  positionValues_->FillSequence();
  Repaint();
}

void TChartSeries::CheckOrder() {
  if (mainValues_->GetOrder() == loNone) return;
  mainValues_->Sort();
  if (positionValues_->GetValueSource().empty()) positionValues_->FillSequence();
  Repaint();
}

// ---- Notification ------------------------------------------------------------------------------

void TChartSeries::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) RefreshSeries();
}

void TChartSeries::RefreshSeries() {
  NotifyValue(veRefresh, 0);
  if (TCustomAxisPanel* chart = GetParentChart()) chart->BroadcastSeriesEvent(this, seDataChanged);
}

void TChartSeries::NotifyValue(TValueEvent valueEvent, int valueIndex) {
  if (updateCount_ > 0 || !linkedSeries_) return;
  // By index: a linked series may leave the list while it refills.
  for (int i = 0; i < linkedSeries_->Count(); ++i) {
    TChartSeries* linked = linkedSeries_->Items()[static_cast<size_t>(i)];
    const TSeriesRecalcOptions triggers = linked->RecalcTriggers;
    const bool hasFunction = linked->FunctionOf() != nullptr;
    switch (valueEvent) {
      case veClear:
        if (triggers & rOnClear) linked->Clear();
        break;
      case veAdd:
        if ((triggers & rOnInsert) && !hasFunction) linked->AddedValue(this, valueIndex);
        break;
      case veDelete:
        if ((triggers & rOnDelete) && !hasFunction) linked->DeletedValue(this, valueIndex);
        break;
      case veRefresh:
        linked->AddValues(this);
        break;
      case veModify:
        if (triggers & rOnModify) linked->AddValues(this);
        break;
    }
  }
}

}  // namespace chart
