// The axis panel's series: the list and its lookups, joining, leaving, exchanging and freeing
// series, the chart-wide series events, source checks and refills, custom axes and the palette.
#include "chart/engine/axis_panel.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "chart/common/chart_exception.h"
#include "chart/common/palette.h"
#include "chart/common/plot_const.h"
#include "chart/engine/class_create.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series.h"
#include "chart/engine/series_source.h"

namespace chart {

// ---- Construction ------------------------------------------------------------------------------

TCustomAxisPanel::TCustomAxisPanel(platform::TComponent* Owner, platform::TPanelSurface surface)
    : TCustomPlotPanelExtended(Owner, surface) {
  AutoRepaint = false;
  seriesList_ = std::make_unique<TChartSeriesList>(this);
  auto add = [this](std::unique_ptr<TChartAxis> axis) {
    axesList_.push_back(axis.get());
    ownedAxes_.push_back(std::move(axis));
  };
  add(std::make_unique<TChartAxis>(this, true));         // bottom
  add(std::make_unique<TChartAxis>(this, true, true));   // top
  add(std::make_unique<TChartAxis>(this, false));        // left
  add(std::make_unique<TChartAxis>(this, false, true));  // right
  add(std::make_unique<TChartDepthAxis>(this, true));    // depth
  add(std::make_unique<TChartDepthAxis>(this, false));   // depth-top
  // The side axes' titles are written up (left) and down (right) along the axis.
  for (auto [axis, angle] : {std::pair{LeftAxis(), 90}, std::pair{RightAxis(), 270}}) {
    axis->GetTitle()->DefaultAngle = angle;
    axis->GetTitle()->SetAngle(angle);
  }
  AutoRepaint = true;
}

TCustomAxisPanel::~TCustomAxisPanel() {
  destroyingAxisPanel_ = true;
  AutoRepaint = false;
  MarkDestroying();
  FreeAllSeries(nullptr);
  FreeTools();
  customAxes_.clear();
  axesList_.clear();
  ownedAxes_.clear();
  seriesList_.reset();
}

// ---- Lookups -----------------------------------------------------------------------------------

TChartSeries* TCustomAxisPanel::GetSeries(int index) const {
  return seriesList_->Get(index);
}

int TCustomAxisPanel::CountActiveSeries() const {
  int n = 0;
  for (TChartSeries* s : seriesList_->Items())
    if (s->GetActive()) ++n;
  return n;
}

int TCustomAxisPanel::GetMaxValuesCount() const {
  int most = 0;
  for (TChartSeries* s : seriesList_->Items())
    if (s->GetActive()) most = std::max(most, s->Count());
  return most;
}

namespace {

// The series of axis: the active ones, or every one when none is active.
std::vector<TChartSeries*> AxisCandidates(const TChartSeriesList& list, const TChartAxis* axis) {
  std::vector<TChartSeries*> active, all;
  for (TChartSeries* s : list.Items()) {
    if (!s->AssociatedToAxis(axis)) continue;
    all.push_back(s);
    if (s->GetActive()) active.push_back(s);
  }
  return active.empty() ? all : active;
}

}  // namespace

TChartSeries* TCustomAxisPanel::GetAxisSeries(const TChartAxis* axis) const {
  const auto candidates = AxisCandidates(*seriesList_, axis);
  return candidates.empty() ? nullptr : candidates.front();
}

TChartSeries* TCustomAxisPanel::GetAxisSeriesMaxPoints(const TChartAxis* axis) const {
  TChartSeries* best = nullptr;
  for (TChartSeries* s : AxisCandidates(*seriesList_, axis))
    if (!best || s->Count() > best->Count()) best = s;
  return best;
}

TChartSeries* TCustomAxisPanel::SeriesLegend(int index, bool onlyActive) const {
  int n = 0;
  for (TChartSeries* s : seriesList_->Items()) {
    if (!s->GetShowInLegend() || (onlyActive && !s->GetActive())) continue;
    if (n == index) return s;
    ++n;
  }
  return nullptr;
}

std::string TCustomAxisPanel::SeriesTitleLegend(int index, bool onlyActive) const {
  const TChartSeries* s = SeriesLegend(index, onlyActive);
  return s ? SeriesTitleOrName(s) : std::string();
}

// ---- Joining, leaving, exchanging, freeing -----------------------------------------------------

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (series) series->SetParentChart(this);
  return series;
}

TChartSeries* TCustomAxisPanel::AddSeries(const platform::TClassInfo* seriesClass) {
  return AddSeries(CreateOf<TChartSeries>(seriesClass, Owner(), "series"));
}

int TCustomAxisPanel::InternalAddSeries(TChartSeries* series) {
  if (!series) return 0;
  const int index = seriesList_->IndexOf(series);
  if (index >= 0) return index + 1;
  // A series joins through its own setter, which first leaves any other chart.
  if (series->GetParentChart() != this) {
    series->SetParentChart(this);
    return 0;
  }
  // In the list before Added runs, so a failing refill leaves nothing half joined.
  seriesList_->Add(series);
  series->Added();
  BroadcastSeriesEvent(series, seAdd);
  Invalidate();
  return 0;
}

void TCustomAxisPanel::RemoveSeries(int index) {
  if (index < 0 || index >= SeriesCount()) return;
  TChartSeries* series = seriesList_->Get(index);
  BroadcastSeriesEvent(series, seRemove);
  // A listener may have changed the list: the series is looked up again.
  seriesList_->Remove(series);
  seriesList_->Groups().RemoveSeries(series);
  series->Removed();
  Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  RemoveSeries(seriesList_->IndexOf(series));
}

void TCustomAxisPanel::FreeAllSeries(const TCustomChartSeries* prototype) {
  int i = 0;
  while (i < SeriesCount()) {
    TChartSeries* s = seriesList_->Get(i);
    if (prototype && !prototype->ClassIncludes(s)) {
      ++i;
      continue;
    }
    s->SetParentChart(nullptr);
    delete s;
  }
}

void TCustomAxisPanel::ExchangeSeries(int index1, int index2) {
  TChartSeries* s1 = seriesList_->Get(index1);
  TChartSeries* s2 = seriesList_->Get(index2);
  if (s1 == s2) return;
  seriesList_->Exchange(index1, index2);
  // The owner stores its components in the new order too.
  if (s1->Owner() && s1->Owner() == s2->Owner()) {
    const int c1 = s1->ComponentIndex();
    const int c2 = s2->ComponentIndex();
    s1->SetComponentIndex(c2);
    s2->SetComponentIndex(c1);
  }
  TSeriesGroups& groups = seriesList_->Groups();
  for (int g = 0; g < groups.Count(); ++g) {
    TCustomSeriesList& members = groups.Get(g)->Series();
    const int a = members.IndexOf(s1);
    const int b = members.IndexOf(s2);
    if (a >= 0 && b >= 0) members.Exchange(a, b);
  }
  BroadcastSeriesEvent(nullptr, seSwap);
  Invalidate();
}

void TCustomAxisPanel::ExchangeSeries(TChartSeries* s1, TChartSeries* s2) {
  ExchangeSeries(seriesList_->IndexOf(s1), seriesList_->IndexOf(s2));
}

// ---- Events ------------------------------------------------------------------------------------

void TCustomAxisPanel::BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEvent event) {
  if (Destroying()) return;
  TPlotSeriesEvent e;
  e.Event = event;
  e.Series = series;
  BroadcastPlotEvent(e);
}

bool TCustomAxisPanel::CheckMouseSeries(int x, int y) {
  bool any = false;
  // By index from the end: a hover handler may change the list.
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    if (i >= SeriesCount()) continue;
    TChartSeries* s = seriesList_->Get(i);
    if (s->GetActive() && s->CheckMouse(x, y)) any = true;
  }
  return any;
}

// ---- Sources -----------------------------------------------------------------------------------

void TCustomAxisPanel::CheckOtherSeries(const TChartSeries* dest,
                                        const TChartSeries* source) const {
  if (!source || !dest) return;
  // Every source of every level: a cycle through any of them is refused.
  std::vector<const TChartSeries*> pending{source};
  std::unordered_set<const TChartSeries*> seen{source};
  while (!pending.empty()) {
    const TChartSeries* s = pending.back();
    pending.pop_back();
    for (platform::TComponent* c : s->DataSources().Items()) {
      if (c == dest) throw ChartException(PlotMsg_CircularSeries);
      const auto* next = dynamic_cast<const TChartSeries*>(c);
      if (next && seen.insert(next).second) pending.push_back(next);
    }
  }
}

bool TCustomAxisPanel::IsValidDataSource(const TChartSeries* series,
                                         platform::TComponent* source) const {
  if (series->IsValidDataSource(source)) return true;
  if (const auto* s = dynamic_cast<TPlotSeriesSource*>(source))
    return s->IsValidFor(const_cast<TCustomAxisPanel*>(this));
  return false;
}

void TCustomAxisPanel::CheckDatasource(TChartSeries* series) {
  if (!series || series->Loading()) return;
  platform::TComponent* source = series->GetDataSource();
  if (auto* s = dynamic_cast<TChartSeries*>(source)) {
    series->AddValues(s);
  } else if (auto* p = dynamic_cast<TPlotSeriesSource*>(source)) {
    p->Refresh();
  } else if (source) {
    return;
  } else if (TPlotFunction* f = series->FunctionOf()) {
    if (!f->NeedsNoSource()) return;
    series->BeginUpdate();
    struct End {
      TChartSeries* s;
      ~End() { s->EndUpdate(); }
    } end{series};
    series->Clear();
    f->AddPoints(nullptr);
  } else if (!series->HandEntered && PlotRandomAtRunTime) {
    series->FillSampleValues(series->NumSampleValues());
  }
}

void TCustomAxisPanel::RemovedDataSource(TChartSeries* series, platform::TComponent* source) {
  auto* s = dynamic_cast<TPlotSeriesSource*>(source);
  if (s && series && series->GetDataSource() == source) s->SetSeries(nullptr);
}

// ---- Custom axes -------------------------------------------------------------------------------

TChartAxis* TCustomAxisPanel::AddCustomAxis(bool horizontal) {
  auto axis = std::make_unique<TChartAxis>(this, horizontal);
  TChartAxis* result = axis.get();
  ownedAxes_.push_back(std::move(axis));
  axesList_.push_back(result);
  customAxes_.push_back(result);
  Invalidate();
  return result;
}

void TCustomAxisPanel::RemoveCustomAxis(TChartAxis* axis) {
  if (CustomAxisIndex(axis) < 0) return;
  for (TChartSeries* s : seriesList_->Items()) {
    if (s->GetCustomHorizAxis() == axis) s->SetCustomHorizAxis(nullptr);
    if (s->GetCustomVertAxis() == axis) s->SetCustomVertAxis(nullptr);
  }
  customAxes_.erase(std::find(customAxes_.begin(), customAxes_.end(), axis));
  axesList_.erase(std::find(axesList_.begin(), axesList_.end(), axis));
  ownedAxes_.erase(std::find_if(ownedAxes_.begin(), ownedAxes_.end(),
                                [axis](const auto& a) { return a.get() == axis; }));
  Invalidate();
}

TChartAxis* TCustomAxisPanel::CustomAxis(int index) const {
  if (index < 0 || index >= CustomAxisCount()) return nullptr;
  return customAxes_[static_cast<size_t>(index)];
}

int TCustomAxisPanel::CustomAxisIndex(const TChartAxis* axis) const {
  const auto it = std::find(customAxes_.begin(), customAxes_.end(), axis);
  return it == customAxes_.end() ? -1 : static_cast<int>(it - customAxes_.begin());
}

// ---- Palette -----------------------------------------------------------------------------------

TColor TCustomAxisPanel::GetDefaultColor(int index) const {
  if (CustomPalette.empty()) return ::chart::GetDefaultColor(index);
  const int n = static_cast<int>(CustomPalette.size());
  return CustomPalette[static_cast<size_t>(((index % n) + n) % n)];
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool checkBackground, const TChartSeries* skip) const {
  int n = static_cast<int>(CustomPalette.size());
  if (n == 0)
    n = static_cast<int>(ColorPalette.empty() ? DefaultColorPalette().size() : ColorPalette.size());
  for (int i = 0; i < n; ++i) {
    const TColor c = GetDefaultColor(i);
    if (IsFreeSeriesColor(c, checkBackground, skip)) return c;
  }
  return GetDefaultColor(n - 1);
}

bool TCustomAxisPanel::IsFreeSeriesColor(TColor color, bool checkBackground,
                                         const TChartSeries* skip) const {
  for (TChartSeries* s : seriesList_->Items())
    if (s != skip && s->GetSeriesColor() == color) return false;
  if (checkBackground && color == GetColor()) return false;
  return true;
}

}  // namespace chart
