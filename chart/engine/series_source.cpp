#include "chart/engine/series_source.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "chart/common/chart_exception.h"
#include "chart/common/general.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/engine_globals.h"
#include "chart/engine/series.h"
#include "chart/engine/series_list.h"
#include "platform/vcl/application.h"

namespace chart {

namespace {

// The box stays with the application's window until answered.
constexpr int MB_TASKMODAL = 0x2000;
constexpr size_t kMaxUserMessage = 1023;

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

// ---- TPlotSeriesSource -------------------------------------------------------------------------

TPlotSeriesSource::TPlotSeriesSource(platform::TComponent* Owner) : TComponent(Owner) {}

TPlotSeriesSource::~TPlotSeriesSource() {
  Close();
  // The series hears of this source's end while this object is still whole.
  MarkDestroying();
  series_ = nullptr;
}

void TPlotSeriesSource::SetSeries(TChartSeries* series) {
  if (series == series_) return;
  Close();
  TChartSeries* old = series_;
  // Forgotten first: detaching the old series asks this source to forget it again.
  series_ = nullptr;
  if (old) {
    RemoveFreeNotification(old);
    // Whatever comes next, the old series must not keep a link that nothing would unlink.
    if (!old->Destroying() && old->DataSources().IndexOf(this) >= 0) {
      if (old->GetDataSource() == this)
        old->SetDataSource(nullptr);
      else
        old->RemoveDataSource(this);
    }
  }
  if (!series) return;
  series_ = series;
  FreeNotification(series);
  try {
    series->SetDataSource(this);
  } catch (...) {
    RemoveFreeNotification(series);
    series_ = nullptr;
    throw;
  }
}

void TPlotSeriesSource::SetActive(bool value) {
  if (value == active_) return;
  if (value) {
    if (series_ && !Loading()) Load();
  } else if (series_ && !series_->Destroying() && !KeepDataOnClose()) {
    series_->Clear();
  }
  active_ = value;
}

void TPlotSeriesSource::Close() {
  if (Loading() || Destroying()) return;
  SetActive(false);
}

void TPlotSeriesSource::Refresh() {
  if (active_ && !Loading()) Load();
}

void TPlotSeriesSource::Loaded() {
  TComponent::Loaded();
  Refresh();
}

bool TPlotSeriesSource::HasSeries(const TChartSeries* s) const {
  if (!s) return false;
  const platform::TComponent* source = s->GetDataSource();
  return source && std::strcmp(source->ClassName(), ClassName()) == 0;
}

void TPlotSeriesSource::Notification(platform::TComponent* component,
                                     platform::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == platform::opRemove && component && component == series_) SetSeries(nullptr);
}

// ---- TDataSourcesList --------------------------------------------------------------------------

platform::TComponent* TDataSourcesList::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

int TDataSourcesList::IndexOf(const platform::TComponent* c) const {
  const auto it = std::find(items_.begin(), items_.end(), c);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TDataSourcesList::Add(platform::TComponent* c) {
  return series_->InternalAddDataSource(c, false);
}

void TDataSourcesList::Delete(int index) {
  if (index < 0 || index >= Count()) ListIndexError(index);
  platform::TComponent* c = items_[static_cast<size_t>(index)];
  series_->RemoveDataSource(c);
  InternalRemove(c);
}

void TDataSourcesList::Clear() {
  const std::vector<platform::TComponent*> old = items_;
  items_.clear();
  for (platform::TComponent* c : old)
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(series_);
  if (!series_->HandEntered) series_->Clear();
}

void TDataSourcesList::InternalRemove(const platform::TComponent* c) {
  items_.erase(std::remove(items_.begin(), items_.end(), c), items_.end());
}

// ---- TLabelsList -------------------------------------------------------------------------------

std::string TLabelsList::GetLabel(int index) const {
  if (index < 0 || index >= Count()) return {};
  const auto& slot = items_[static_cast<size_t>(index)];
  return slot ? *slot : std::string();
}

void TLabelsList::SetLabel(int index, const std::string& text) {
  if (index < 0) ListIndexError(index);
  if (!text.empty()) {
    if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
    items_[static_cast<size_t>(index)] = std::make_unique<std::string>(text);
  } else if (index < Count()) {
    items_[static_cast<size_t>(index)].reset();
  }
  if (series_) series_->Repaint();
}

void TLabelsList::InsertLabel(int index, const std::string& text) {
  if (index < 0) ListIndexError(index);
  if (text.empty() && items_.empty()) return;
  if (index > Count()) items_.resize(static_cast<size_t>(index));
  items_.emplace(items_.begin() + index,
                 text.empty() ? nullptr : std::make_unique<std::string>(text));
}

void TLabelsList::DeleteLabel(int index) {
  if (index < 0 || index >= Count()) ListIndexError(index);
  items_.erase(items_.begin() + index);
}

void TLabelsList::DeleteRange(int start, int quantity) {
  if (start < 0 || quantity <= 0 || start >= Count()) return;
  const int end = start + std::min(Count() - start, quantity);
  items_.erase(items_.begin() + start, items_.begin() + end);
}

void TLabelsList::Exchange(int a, int b) {
  if (a < 0 || b < 0) ListIndexError(std::min(a, b));
  if (a == b || (a >= Count() && b >= Count())) return;
  const int needed = std::max(a, b) + 1;
  if (needed > Count()) items_.resize(static_cast<size_t>(needed));
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
}

int TLabelsList::IndexOfLabel(const std::string& text, bool caseSensitive) const {
  const std::string wanted = caseSensitive ? text : UpperAscii(text);
  for (int i = 0; i < Count(); ++i) {
    const std::string label = GetLabel(i);
    if ((caseSensitive ? label : UpperAscii(label)) == wanted) return i;
  }
  return -1;
}

void TLabelsList::Assign(const TLabelsList& other) {
  if (&other == this) return;
  Clear();
  for (int i = 0; i < other.Count(); ++i) InsertLabel(i, other.GetLabel(i));
}

// ---- Free routines -----------------------------------------------------------------------------

std::string SeriesTitleOrName(const TChartSeries* s) {
  if (!s) return {};
  std::string result = s->GetTitle();
  std::replace(result.begin(), result.end(), PlotColumnSeparator, ' ');
  if (result.empty()) result = s->GetName();
  if (result.empty()) {
    if (TCustomAxisPanel* chart = s->GetParentChart()) {
      const int index = chart->SeriesList().IndexOf(s);
      if (index >= 0) result = PlotMsg_Series + std::to_string(index + 1);
    }
  }
  return result;
}

std::vector<std::pair<std::string, TChartSeries*>> FillSeriesItems(const TCustomSeriesList* list,
                                                                   bool useTitles) {
  std::vector<std::pair<std::string, TChartSeries*>> items;
  if (!list) return items;
  for (TChartSeries* s : list->Items()) {
    if (!s || !s->GetShowInEditor()) continue;
    items.emplace_back(useTitles ? SeriesTitleOrName(s) : s->GetName(), s);
  }
  return items;
}

// The three checks below look at every point: a value, colour or label that differs only late
// in a long series must still be stored.
bool HasNoMandatoryValues(TChartSeries* s) {
  if (!s || !s->KeepNonMandatory) return false;
  const TChartValueList* positions = s->PositionValues();
  const int n = positions->Count();
  if (n == 0) return false;
  const double* v = positions->Data();
  for (int i = 0; i < n; ++i)
    if (v[i] != i) return true;
  return false;
}

bool HasColors(TChartSeries* s) {
  if (!s || !s->PointColors()) return false;
  const TColor seriesColor = s->GetSeriesColor();
  const auto& colors = *s->PointColors();
  const size_t n = std::min(colors.size(), static_cast<size_t>(s->Count()));
  for (size_t i = 0; i < n; ++i)
    if (colors[i] != platform::clDefault && colors[i] != seriesColor) return true;
  return false;
}

bool HasLabels(TChartSeries* s) {
  if (!s) return false;
  const TLabelsList& labels = s->Labels();
  for (int i = 0; i < labels.Count(); ++i)
    if (!labels.GetLabel(i).empty()) return true;
  return false;
}

void ShowMessageUser(const std::string& text) {
  platform::Application->MessageBox(text.substr(0, kMaxUserMessage), std::string(),
                                    platform::MB_OK | platform::MB_ICONERROR | MB_TASKMODAL);
}

std::vector<std::string>& PlotSources() {
  static std::vector<std::string> sources;
  return sources;
}

}  // namespace chart
