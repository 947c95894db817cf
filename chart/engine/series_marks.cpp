#include "chart/engine/series_marks.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "chart/engine/engine_globals.h"
#include "chart/engine/series.h"
#include "chart/engine/series_pointer.h"
#include "chart/engine/series_source.h"

namespace chart {

namespace {

// Marks and their per-point formats cast a thin grey shadow.
void InitMarksShadow(TPlotShadow* shadow) {
  if (!shadow) return;
  shadow->SetColor(platform::clGray);
  shadow->SetSize(1);
  shadow->DefaultColor = platform::clGray;
  shadow->DefaultSize = 1;
}

// Shared by the two per-point lists: both may be shorter than the series and hold empty slots.
template <class T>
void InsertSlot(std::vector<std::unique_ptr<T>>& items, int index) {
  if (index >= 0 && index < static_cast<int>(items.size()))
    items.insert(items.begin() + index, nullptr);
}

template <class T>
void DeleteSlot(std::vector<std::unique_ptr<T>>& items, int index) {
  if (index >= 0 && index < static_cast<int>(items.size())) items.erase(items.begin() + index);
}

template <class T>
void DeleteSlots(std::vector<std::unique_ptr<T>>& items, int start, int quantity) {
  const int count = static_cast<int>(items.size());
  if (start < 0 || quantity <= 0 || start >= count) return;
  items.erase(items.begin() + start, items.begin() + start + std::min(count - start, quantity));
}

template <class T>
void ExchangeSlots(std::vector<std::unique_ptr<T>>& items, int a, int b) {
  const int count = static_cast<int>(items.size());
  if (a < 0 || b < 0 || a == b || (a >= count && b >= count)) return;
  const int needed = std::max(a, b) + 1;
  if (needed > count) items.resize(static_cast<size_t>(needed));
  std::swap(items[static_cast<size_t>(a)], items[static_cast<size_t>(b)]);
}

// The highest index the marks' per-point lists grow to on demand.
long long GrowthLimit(const TSeriesMarks* marks) {
  const TChartSeries* series = marks ? marks->ParentSeries() : nullptr;
  return PointListLimit(series ? series->Count() : 0);
}

}  // namespace

// ---- TSeriesMarkPosition -----------------------------------------------------------------------

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition& source) {
  ArrowStart = source.ArrowStart;
  ArrowEnd = source.ArrowEnd;
  TopLeft = source.TopLeft;
  Width = source.Width;
  Height = source.Height;
}

// ---- TSeriesMarksPositions ---------------------------------------------------------------------

TSeriesMarkPosition* TSeriesMarksPositions::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TSeriesMarksPositions::Put(int index, const TSeriesMarkPosition& position) {
  if (index < 0) return;
  CheckListIndex(index, GrowthLimit(marks_));
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  auto& slot = items_[static_cast<size_t>(index)];
  if (!slot) slot = std::make_unique<TSeriesMarkPosition>();
  slot->Custom = true;
  slot->Assign(position);
}

void TSeriesMarksPositions::Automatic(int index) {
  if (TSeriesMarkPosition* p = Get(index)) p->Custom = false;
}

bool TSeriesMarksPositions::ExistCustom() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& p) { return p && p->Custom; });
}

void TSeriesMarksPositions::Insert(int index) {
  InsertSlot(items_, index);
}

void TSeriesMarksPositions::Delete(int index) {
  DeleteSlot(items_, index);
}

void TSeriesMarksPositions::DeleteRange(int start, int quantity) {
  DeleteSlots(items_, start, quantity);
}

void TSeriesMarksPositions::Exchange(int a, int b) {
  ExchangeSlots(items_, a, b);
}

// ---- TMarksItem --------------------------------------------------------------------------------

TMarksItem::TMarksItem(TCustomPlotPanel* parent) : TPlotCustomShape(parent) {
  SetColor(platform::clInfoBk);
  InitMarksShadow(GetShadow());
}

TMarksItem::~TMarksItem() = default;

platform::TStrings* TMarksItem::GetText() {
  if (!text_) {
    text_ = std::make_unique<platform::TStringList>();
    text_->OnChange = [this] { Repaint(); };
  }
  return text_.get();
}

void TMarksItem::SetText(const platform::TStrings* value) {
  if (!value) {
    text_.reset();
  } else if (value != text_.get()) {
    GetText()->Assign(*value);
  }
  Repaint();
}

// ---- TMarksItems -------------------------------------------------------------------------------

TMarksItem* TMarksItems::Get(int index) {
  if (index < 0) return nullptr;
  CheckListIndex(index, GrowthLimit(marks_));
  return Make(index);
}

TMarksItem* TMarksItems::Make(int index) {
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  auto& slot = items_[static_cast<size_t>(index)];
  if (!slot) slot = std::make_unique<TMarksItem>(marks_ ? marks_->ParentChart() : nullptr);
  return slot.get();
}

TMarksItem* TMarksItems::Existing(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TMarksItems::Clear() {
  const bool had = !items_.empty();
  items_.clear();
  if (had && marks_) marks_->Repaint();
}

void TMarksItems::Assign(const TMarksItems& other) {
  Clear();
  // Not through Get: the items may lie further past this series' points than Get lets a caller
  // reach (a series takes its marks before its points).
  for (int i = 0; i < other.Count(); ++i) {
    const TMarksItem* item = other.Existing(i);
    if (!item) continue;
    TMarksItem* mine = Make(i);
    mine->Assign(item);
    mine->SetText(item->TextIfAny());
  }
}

void TMarksItems::Insert(int index) {
  InsertSlot(items_, index);
}

void TMarksItems::Delete(int index) {
  DeleteSlot(items_, index);
}

void TMarksItems::DeleteRange(int start, int quantity) {
  DeleteSlots(items_, start, quantity);
}

void TMarksItems::Exchange(int a, int b) {
  ExchangeSlots(items_, a, b);
}

// ---- TSeriesMarks ------------------------------------------------------------------------------

TSeriesMarks::TSeriesMarks(TChartSeries* series)
    : TPlotCustomShape(nullptr, {},
                       [](std::function<void()> onChange) {
                         return std::make_unique<TSeriesMarksGradient>(std::move(onChange));
                       }),
      series_(series),
      positions_(this),
      items_(this) {
  style_ = smsLabel;
  SetVisible(false);
  SetColor(platform::clInfoBk);
  InitShadow(GetShadow());
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::Clear() {
  positions_.Clear();
  if (!items_.Loaded) items_.Clear();
}

void TSeriesMarks::PointInserted(int index, int count) {
  // Entries may be kept without their points (loaded ones across Clear, or set first): a point
  // appended after all others takes the entry already waiting at its index.
  if (index >= count - 1) return;
  positions_.Insert(index);
  items_.Insert(index);
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
  if (value == style_) return;
  style_ = value;
  if (series_) series_->Repaint();
}

int SeriesGuessContents(TChartSeries* series) {
  if (!series) return 0;
  int flags = 0;
  if (HasNoMandatoryValues(series)) flags |= 1;
  if (HasColors(series)) flags |= 2;
  if (HasLabels(series)) flags |= 4;
  if (series->Marks()->Positions().ExistCustom()) flags |= 8;
  return flags;
}

}  // namespace chart
