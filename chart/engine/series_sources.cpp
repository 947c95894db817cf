// How a series takes its points from elsewhere: its data sources (other series or source
// components), the series linked to it, its function, and the copying of points from a source.
#include <algorithm>
#include <vector>

#include "chart/common/format_float.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series.h"
#include "chart/engine/series_list.h"

namespace chart {

namespace {

// Series whose chart is being told that a source went.
std::vector<const TChartSeries*> gRemoving;

struct RemovingGuard {
  const TChartSeries* series;
  explicit RemovingGuard(const TChartSeries* s) : series(s) { gRemoving.push_back(s); }
  ~RemovingGuard() {
    auto it = std::find(gRemoving.rbegin(), gRemoving.rend(), series);
    if (it != gRemoving.rend()) gRemoving.erase(std::next(it).base());
  }
};

bool IsRemoving(const TChartSeries* s) {
  return std::find(gRemoving.begin(), gRemoving.end(), s) != gRemoving.end();
}

// The chart's cycle check for series without a chart: source, or any series it takes its data
// from at any depth, must not take its data from dest.
void CheckNoCycle(const TChartSeries* dest, const TChartSeries* source,
                  std::vector<const TChartSeries*>& seen) {
  if (!source || std::find(seen.begin(), seen.end(), source) != seen.end()) return;
  seen.push_back(source);
  for (platform::TComponent* c : source->DataSources().Items()) {
    if (c == dest) throw ChartException(PlotMsg_CircularSeries);
    if (auto* s = dynamic_cast<const TChartSeries*>(c)) CheckNoCycle(dest, s, seen);
  }
}

// A source the series dropped: a source series stops feeding it; the free notification
// stays only while a source component still fills this series.
void LetGo(TChartSeries* series, platform::TComponent* source) {
  if (auto* s = dynamic_cast<TChartSeries*>(source)) {
    s->RemoveLinkedSeries(series);
  } else if (auto* ss = dynamic_cast<TPlotSeriesSource*>(source); ss && ss->GetSeries() == series) {
    return;
  }
  series->RemoveFreeNotification(source);
}

std::string NameOrClass(const platform::TComponent* c) {
  std::string name = c->GetName();
  return name.empty() ? std::string(c->ClassName()) : name;
}

// BeginUpdate that ends also when the refill raises.
struct UpdateScope {
  TChartSeries& series;
  explicit UpdateScope(TChartSeries& s) : series(s) { series.BeginUpdate(); }
  ~UpdateScope() { series.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;
};

}  // namespace

platform::TComponent* TChartSeries::GetDataSource() const {
  const auto& items = dataSources_.Items();
  return items.empty() ? nullptr : items.front();
}

void TChartSeries::SetDataSource(platform::TComponent* value) {
  if (!value) {
    if (platform::TComponent* old = GetDataSource()) RemoveDataSource(old);
    return;
  }
  InternalAddDataSource(value, true);
}

int TChartSeries::InternalAddDataSource(platform::TComponent* source, bool replace) {
  if (!source) return -1;
  if (TCustomAxisPanel* chart = GetParentChart()) {
    if (!chart->IsValidDataSource(this, source))
      throw ChartException(Format(PlotMsg_SeriesInvDataSource, {NameOrClass(source)}));
  } else if (!IsValidDataSource(source)) {
    throw ChartException(PlotMsg_SeriesSetDataSource);
  }
  if (dataSources_.IndexOf(source) >= 0) return -1;

  auto* seriesSource = dynamic_cast<TChartSeries*>(source);
  if (seriesSource) {
    if (TCustomAxisPanel* chart = GetParentChart()) {
      chart->CheckOtherSeries(this, seriesSource);
    } else {
      std::vector<const TChartSeries*> seen;
      CheckNoCycle(this, seriesSource, seen);
    }
  }

  if (replace && !Loading()) {
    // Every dropped source lets go of this series, so none keeps notifying it.
    const std::vector<platform::TComponent*> old = dataSources_.Items();
    dataSources_.InternalClear();
    for (platform::TComponent* c : old) LetGo(this, c);
  }

  dataSources_.InternalAdd(source);
  const int index = dataSources_.Count() - 1;
  HandEntered = false;
  // Series sources also notify, so a series that left its chart (and its source's linked list)
  // still hears of its source's end.
  FreeNotification(source);
  if (seriesSource) {
    seriesSource->AddLinkedSeries(this);
  } else if (auto* ss = dynamic_cast<TPlotSeriesSource*>(source); ss && ss->GetSeries() != this) {
    TChartSeries* previous = ss->GetSeries();
    const bool wasActive = ss->GetActive();
    if (wasActive) ss->Close();
    if (previous) {
      previous->dataSources_.InternalRemove(ss);
      InsertComponent(ss);
    }
    ss->SetSeries(this);
    FreeNotification(ss);
    if (wasActive) ss->Open();
  }
  CheckDataSource();
  return index;
}

void TChartSeries::RemoveDataSource(platform::TComponent* source) {
  if (Destroying() || !source) return;
  // The chart may detach a source component, which lands here again: that inner call only
  // unlinks.
  if (TCustomAxisPanel* chart = GetParentChart(); chart && !IsRemoving(this)) {
    RemovingGuard guard(this);
    chart->RemovedDataSource(this, source);
  }
  std::vector<platform::TComponent*> dropped;
  if (source == GetDataSource()) {
    dropped = dataSources_.Items();
    dataSources_.InternalClear();
  } else if (dataSources_.IndexOf(source) >= 0) {
    // Any other source leaves alone: a freed one must not stay behind.
    dropped.push_back(source);
    dataSources_.InternalRemove(source);
  }
  for (platform::TComponent* c : dropped) LetGo(this, c);
  CheckDataSource();
}

bool TChartSeries::IsValidDataSource(platform::TComponent* source) const {
  auto* s = dynamic_cast<TChartSeries*>(source);
  return s && s != this && IsValidSeriesSource(s);
}

bool TChartSeries::IsValidSeriesSource(const TChartSeries* source) const {
  return !attachedFunction_ || attachedFunction_->IsValidSource(source);
}

void TChartSeries::CheckDataSource() {
  if (updateCount_ > 0) return;
  if (TCustomAxisPanel* chart = GetParentChart()) chart->CheckDatasource(this);
}

void TChartSeries::AddLinkedSeries(TChartSeries* series) {
  if (series && !linkedSeries_->Contains(series)) linkedSeries_->Add(series);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries* series) {
  linkedSeries_->Remove(series);
}

void TChartSeries::RemoveAllLinkedSeries() {
  for (platform::TComponent* c : dataSources_.Items())
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(this);
}

void TChartSeries::SetFunction(TPlotFunction* function) {
  if (function == attachedFunction_) return;
  if (TPlotFunction* old = attachedFunction_) {
    attachedFunction_ = nullptr;
    RemoveFreeNotification(old);
    old->StoreParentSeries(nullptr);
    delete old;
  }
  if (function) {
    // A function serves one series: its former one lets it go.
    if (TChartSeries* former = function->GetParentSeries(); former && former != this) {
      if (former->attachedFunction_ == function) former->attachedFunction_ = nullptr;
      former->RemoveFreeNotification(function);
    }
    attachedFunction_ = function;
    function->StoreParentSeries(this);
    HandEntered = false;
    FreeNotification(function);
  }
  CheckDataSource();
}

void TChartSeries::AddValues(TChartSeries* source) {
  UpdateScope update(*this);
  Clear();
  if (attachedFunction_) {
    if (source) {
      xValues_->SetDateTime(source->XValues()->GetDateTime());
      yValues_->SetDateTime(source->YValues()->GetDateTime());
    }
    attachedFunction_->AddPoints(source);
  } else if (source && IsValidSourceOf(source)) {
    const int n = source->Count();
    for (int i = 0; i < n; ++i) AddedValue(source, i);
  }
}

void TChartSeries::AssignValues(TChartSeries* source) {
  if (!source || source == this) return;
  UpdateScope update(*this);
  ClearLists();
  const int n = source->Count();
  const bool swap = yIsValue_ != source->YIsValue();
  const int lists = valuesList_.Count();
  for (int t = 0; t < lists; ++t) {
    TChartValueList* mine = valuesList_[t];
    int from = t;
    if (swap && t < 2) from = 1 - t;
    TChartValueList* theirs = source->ValuesList()[from];
    for (int i = 0; i < n; ++i) mine->InsertChartValue(i, theirs ? theirs->GetValue(i) : 0.0);
  }
  if (const std::vector<TColor>* colors = source->PointColors()) {
    pointColors_ = std::make_unique<std::vector<TColor>>(*colors);
    pointColors_->resize(static_cast<size_t>(n), platform::clDefault);
  }
  labels_.Assign(source->Labels());
  if (labels_.Count() > n) labels_.DeleteRange(n, labels_.Count() - n);
}

int TChartSeries::AddChartValue(TChartSeries* source, int valueIndex) {
  double x = source->XValues()->GetValue(valueIndex);
  double y = source->YValues()->GetValue(valueIndex);
  if (yIsValue_ != source->YIsValue()) std::swap(x, y);
  const int index = xValues_->AddChartValue(x);
  yValues_->InsertChartValue(index, y);
  for (int t = 2; t < valuesList_.Count(); ++t) {
    TChartValueList* theirs = source->ValuesList()[t];
    valuesList_[t]->InsertChartValue(index, theirs ? theirs->GetValue(valueIndex) : 0.0);
  }
  return index;
}

void TChartSeries::AddedValue(TChartSeries* source, int valueIndex) {
  const int index = AddChartValue(source, valueIndex);
  // Every per-point list takes an entry at the new index, so none slides out of step.
  TColor color = platform::clDefault;
  if (const std::vector<TColor>* theirs = source->PointColors();
      theirs && static_cast<int>(theirs->size()) > valueIndex)
    color = (*theirs)[static_cast<size_t>(valueIndex)];
  if (!pointColors_ && color != platform::clDefault)
    pointColors_ = std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count() - 1),
                                                         platform::clDefault);
  if (pointColors_) {
    const size_t at = std::min(static_cast<size_t>(index), pointColors_->size());
    pointColors_->insert(pointColors_->begin() + static_cast<std::ptrdiff_t>(at), color);
  }
  const std::string label = source->GetXLabel(valueIndex);
  if (!label.empty() || labels_.Count() > 0) labels_.InsertLabel(index, label);
  if (marks_) marks_->PointInserted(index, Count());
  NotifyNewValue(this, index);
}

void TChartSeries::SetColorSource(const std::string& value) {
  if (value == colorSource_) return;
  colorSource_ = value;
  CheckDataSource();
}

void TChartSeries::SetLabelsSource(const std::string& value) {
  if (value == labelsSource_) return;
  labelsSource_ = value;
  CheckDataSource();
}

}  // namespace chart
