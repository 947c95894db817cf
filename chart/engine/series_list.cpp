// Lists of series that do not own them, and the named groups of a chart's series.
#include "chart/engine/series_list.h"

#include <algorithm>
#include <cctype>

#include "chart/common/chart_exception.h"
#include "chart/common/format_float.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

[[noreturn]] void SeriesIndexError(int index, int count) {
  throw ChartException(Format("Series index %d out of bounds (0 to %d).", {index, count - 1}));
}

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

// ---- TCustomSeriesList -------------------------------------------------------------------------

TChartSeries* TCustomSeriesList::Get(int index) const {
  if (index < 0 || index >= Count()) SeriesIndexError(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TCustomSeriesList::Put(int index, TChartSeries* series) {
  if (index < 0 || index >= Count()) SeriesIndexError(index, Count());
  items_[static_cast<size_t>(index)] = series;
}

int TCustomSeriesList::IndexOf(const TChartSeries* series) const {
  const auto it = std::find(items_.begin(), items_.end(), series);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TCustomSeriesList::Insert(int index, TChartSeries* series) {
  if (index < 0 || index > Count()) SeriesIndexError(index, Count() + 1);
  items_.insert(items_.begin() + index, series);
}

void TCustomSeriesList::Delete(int index) {
  if (index < 0 || index >= Count()) SeriesIndexError(index, Count());
  items_.erase(items_.begin() + index);
}

int TCustomSeriesList::Remove(const TChartSeries* series) {
  const int index = IndexOf(series);
  if (index >= 0) items_.erase(items_.begin() + index);
  return index;
}

void TCustomSeriesList::Exchange(int a, int b) {
  if (a < 0 || a >= Count()) SeriesIndexError(a, Count());
  if (b < 0 || b >= Count()) SeriesIndexError(b, Count());
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
}

void TCustomSeriesList::ClearValues() {
  // A copy: clearing may make linked series leave or join lists.
  const std::vector<TChartSeries*> items = items_;
  for (TChartSeries* s : items) s->Clear();
}

void TCustomSeriesList::FillSampleValues(int numValues) {
  const std::vector<TChartSeries*> items = items_;
  for (TChartSeries* s : items) s->FillSampleValues(numValues);
}

// ---- TSeriesGroup ------------------------------------------------------------------------------

TSeriesGroup::TSeriesGroup(TSeriesGroups* groups)
    : groups_(groups), series_(groups ? groups->Chart() : nullptr) {}

void TSeriesGroup::Add(TChartSeries* s) {
  if (!s) return;
  // A group forgets a series when it leaves the chart; one from elsewhere could outlive it.
  TCustomAxisPanel* chart = groups_ ? groups_->Chart() : nullptr;
  if (chart && s->GetParentChart() != chart)
    throw ChartException("A series group holds only series of its own chart");
  series_.Add(s);
}

void TSeriesGroup::SetSeries(const TCustomSeriesList& value) {
  if (&value == &series_) return;
  series_.Clear();
  for (TChartSeries* s : value.Items()) Add(s);
}

TSeriesGroupActive TSeriesGroup::GetActive() const {
  int active = 0;
  for (TChartSeries* s : series_.Items())
    if (s->GetActive()) ++active;
  if (active == series_.Count()) return gaYes;
  return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive value) {
  if (value == gaSome || value == GetActive()) return;
  const std::vector<TChartSeries*> items = series_.Items();
  for (TChartSeries* s : items) s->SetActive(value == gaYes);
}

int TSeriesGroup::Index() const {
  return groups_ ? groups_->IndexOf(this) : -1;
}

// ---- TSeriesGroups -----------------------------------------------------------------------------

TSeriesGroup* TSeriesGroups::Get(int index) const {
  if (index < 0 || index >= Count())
    throw ChartException(
        Format("Series group index %d out of bounds (0 to %d).", {index, Count() - 1}));
  return items_[static_cast<size_t>(index)].get();
}

TSeriesGroup* TSeriesGroups::Add() {
  items_.push_back(std::make_unique<TSeriesGroup>(this));
  return items_.back().get();
}

void TSeriesGroups::Delete(int index) {
  Get(index);
  items_.erase(items_.begin() + index);
}

int TSeriesGroups::Contains(const TChartSeries* s) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)]->Series().Contains(s)) return i;
  return -1;
}

TSeriesGroup* TSeriesGroups::FindByName(const std::string& name, bool caseSensitive) const {
  const std::string wanted = caseSensitive ? name : UpperAscii(name);
  for (const auto& g : items_) {
    if ((caseSensitive ? g->Name : UpperAscii(g->Name)) == wanted) return g.get();
  }
  return nullptr;
}

void TSeriesGroups::RemoveSeries(const TChartSeries* s) {
  for (const auto& g : items_) {
    while (g->Series().Remove(s) >= 0) {
    }
  }
}

int TSeriesGroups::IndexOf(const TSeriesGroup* g) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)].get() == g) return i;
  return -1;
}

// ---- TChartSeriesList --------------------------------------------------------------------------

TSeriesGroup* TChartSeriesList::AddGroup(const std::string& name) {
  TSeriesGroup* g = groups_.Add();
  g->Name = name;
  return g;
}

bool TChartSeriesList::GetAllActive() const {
  return std::all_of(Items().begin(), Items().end(),
                     [](const TChartSeries* s) { return s->GetActive(); });
}

void TChartSeriesList::SetAllActive(bool value) {
  const std::vector<TChartSeries*> items = Items();
  for (TChartSeries* s : items) s->SetActive(value);
}

}  // namespace chart
