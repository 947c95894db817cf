// The series base: construction and freeing, joining and leaving a chart, axis binding, copying,
// sample values, mouse hover and the resolution of stored source names.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>

#include "chart/common/chart_exception.h"
#include "chart/common/date_time.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series.h"
#include "chart/engine/series_list.h"
#include "chart/engine/series_pointer.h"

namespace chart {

unsigned PlotRandomSeed = 0;

int PlotRandom(int range) {
  PlotRandomSeed = PlotRandomSeed * 134775813u + 1u;
  if (range < 1) return 0;
  return static_cast<int>(
      (static_cast<std::uint64_t>(PlotRandomSeed) * static_cast<std::uint64_t>(range)) >> 32);
}

namespace {

const char* const kValueFormat = "#,##0.###";
const char* const kPercentFormat = "##0.## %";
constexpr TColor kGalleryDisabledColor = 0xC0C0C0;
constexpr double kMaxSampleSpan = 2147483647.0;

struct UpdateGuard {
  explicit UpdateGuard(TChartSeries& s) : series(s) { series.BeginUpdate(); }
  ~UpdateGuard() { series.EndUpdate(); }
  TChartSeries& series;
};

TDateTime Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// The automatic range of axis over the active series with points on it; false when none.
bool AxisRange(const TCustomAxisPanel* chart, const TChartAxis* axis, double& minimum,
               double& maximum) {
  bool any = false;
  for (TChartSeries* s : chart->SeriesList().Items()) {
    if (!s->GetActive() || s->Count() == 0 || !s->AssociatedToAxis(axis)) continue;
    const bool horizontal = axis->Horizontal();
    const double lo = horizontal ? s->MinXValue() : s->MinYValue();
    const double hi = horizontal ? s->MaxXValue() : s->MaxYValue();
    minimum = any ? std::min(minimum, lo) : lo;
    maximum = any ? std::max(maximum, hi) : hi;
    any = true;
  }
  return any;
}

// A range of no width grows upwards by its own size; one at 0 takes fallback.
void WidenRange(double& minimum, double& maximum, double fallback) {
  if (minimum != maximum) return;
  if (minimum == 0)
    maximum = fallback;
  else
    maximum = minimum + std::fabs(minimum);
}

}  // namespace

// ---- Lifecycle ---------------------------------------------------------------------------------

TChartSeries::TChartSeries(platform::TComponent* Owner) : TCustomChartSeries(Owner) {
  // Each list enters valuesList_ as it is made.
  xValues_ = new TChartValueList(this, "X");
  xValues_->SetOrder(loAscending);
  yValues_ = new TChartValueList(this, "Y");
  mainValues_ = yValues_;
  positionValues_ = xValues_;
  marks_ = std::make_unique<TSeriesMarks>(this);
  linkedSeries_ = std::make_unique<TCustomSeriesList>();
  valueFormat_ = kValueFormat;
  percentFormat_ = kPercentFormat;
}

TChartSeries::~TChartSeries() {
  // Leave the chart while whole: listeners hear seRemove, linked lists and cursor are put right.
  SetParentChart(nullptr);
  // Sources, functions and tools that watch this series forget it now.
  MarkDestroying();
  if (TPlotFunction* f = attachedFunction_) {
    attachedFunction_ = nullptr;
    f->StoreParentSeries(nullptr);
    delete f;
  }
  RemoveAllLinkedSeries();
  const std::vector<platform::TComponent*> sources = dataSources_.Items();
  dataSources_.InternalClear();
  for (platform::TComponent* c : sources) {
    if (c->Owner() == this) delete c;
  }
  const std::vector<TChartSeries*> linked = linkedSeries_->Items();
  for (TChartSeries* l : linked) {
    if (l->DataSources().IndexOf(this) >= 0) l->RemoveDataSource(this);
    // Whatever the linked series decided, it must not keep this one.
    l->DataSources().InternalRemove(this);
  }
  Clear();
  linkedSeries_->Clear();
}

// ---- Chart membership --------------------------------------------------------------------------

void TChartSeries::SetActive(bool value) {
  TCustomChartSeries::SetActive(value);
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  TCustomAxisPanel* old = GetParentChart();
  if (old == chart) return;
  if (old) old->RemoveSeries(this);
  StoreParentChart(chart);
  marks_->SetParent(chart);
  if (chart) chart->InternalAddSeries(this);
}

void TChartSeries::Added() {
  TCustomChartSeries::Added();
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  if (seriesColor_ == platform::clDefault) {
    InternalSeriesColor = chart->GetFreeSeriesColor(true, this);
    chart->BroadcastSeriesEvent(this, seChangeColor);
  }
  RecalcGetAxis();
  CheckDataSource();
}

void TChartSeries::Removed() {
  if (TCustomAxisPanel* chart = GetParentChart()) {
    if (!chart->Destroying() && chart->GetCursor() == Cursor) chart->SetCursor(chart->SavedCursor);
  }
  RemoveAllLinkedSeries();
  // Out of its sources' linked lists, the series still hears when a source goes.
  for (platform::TComponent* c : dataSources_.Items()) {
    if (dynamic_cast<TChartSeries*>(c)) FreeNotification(c);
  }
  marks_->SetParent(nullptr);
  // Custom axes belong to the chart being left.
  customHorizAxis_ = nullptr;
  customVertAxis_ = nullptr;
  horizAxisObj_ = nullptr;
  vertAxisObj_ = nullptr;
  TCustomChartSeries::Removed();
}

void TChartSeries::SetPen(const TChartPen* value) {
  TCustomChartSeries::SetPen(value);
}

// ---- Base slots --------------------------------------------------------------------------------

void TChartSeries::CalcHorizMargins(int& left, int& right) {
  left = 0;
  right = 0;
}

void TChartSeries::CalcVerticalMargins(int& top, int& bottom) {
  top = 0;
  bottom = 0;
}

void TChartSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  if (addSubChart) addSubChart(PlotMsg_Normal);
}

void TChartSeries::DeletedValue(TChartSeries* /*source*/, int valueIndex) {
  Delete(valueIndex);
}

void TChartSeries::DoAfterDrawValues() {
  if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::DoBeforeDrawValues() {
  if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::SetColorEachPoint(bool value) {
  SetBooleanProperty(colorEachPoint_, value);
}

void TChartSeries::SetMarks(const TSeriesMarks* value) {
  if (value) marks_->Assign(value);
}

int TChartSeries::GetZOrder() const {
  return zOrder_ == -1 ? AutoZOrder : zOrder_;
}

void TChartSeries::SetZOrder(int value) {
  SetIntegerProperty(zOrder_, value);
  AutoZOrder = value == -1 ? 0 : value;
}

bool TChartSeries::IsValueFormatStored() const {
  return valueFormat_ != kValueFormat;
}

bool TChartSeries::IsPercentFormatStored() const {
  return percentFormat_ != kPercentFormat;
}

// ---- Axes --------------------------------------------------------------------------------------

void TChartSeries::RecalcGetAxis() {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) {
    horizAxisObj_ = nullptr;
    vertAxisObj_ = nullptr;
    return;
  }
  // Only a live custom axis of this chart is ever used.
  if (customHorizAxis_ && chart->CustomAxisIndex(customHorizAxis_) < 0) customHorizAxis_ = nullptr;
  if (customVertAxis_ && chart->CustomAxisIndex(customVertAxis_) < 0) customVertAxis_ = nullptr;
  horizAxisObj_ = chart->BottomAxis();
  if (horizAxis_ == aTopAxis)
    horizAxisObj_ = chart->TopAxis();
  else if (horizAxis_ == aCustomHorizAxis && customHorizAxis_)
    horizAxisObj_ = customHorizAxis_;
  vertAxisObj_ = chart->LeftAxis();
  if (vertAxis_ == aRightAxis)
    vertAxisObj_ = chart->RightAxis();
  else if (vertAxis_ == aCustomVertAxis && customVertAxis_)
    vertAxisObj_ = customVertAxis_;
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
  if (horizAxis_ == value) return;
  horizAxis_ = value;
  if (value != aCustomHorizAxis && !Loading()) customHorizAxis_ = nullptr;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis value) {
  if (vertAxis_ == value) return;
  vertAxis_ = value;
  if (value != aCustomVertAxis && !Loading()) customVertAxis_ = nullptr;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis) {
  customHorizAxis_ = axis;
  horizAxis_ = axis ? aCustomHorizAxis : aBottomAxis;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis) {
  customVertAxis_ = axis;
  vertAxis_ = axis ? aCustomVertAxis : aLeftAxis;
  RecalcGetAxis();
  Repaint();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
  if (!axis || !UseAxis()) return false;
  const TCustomAxisPanel* chart = GetParentChart();
  if (axis->Horizontal()) {
    if (horizAxis_ == aBothHorizAxis && chart)
      return axis == chart->BottomAxis() || axis == chart->TopAxis();
    return horizAxisObj_ == axis;
  }
  if (vertAxis_ == aBothVertAxis && chart)
    return axis == chart->LeftAxis() || axis == chart->RightAxis();
  return vertAxisObj_ == axis;
}

TChartValueList* TChartSeries::ValueListOfAxis(const TChartAxis* axis) {
  // A series off the axes (a pie) still counts as associated to every axis: it holds no list.
  if (!UseAxis() || !AssociatedToAxis(axis)) return nullptr;
  return axis->Horizontal() ? xValues_ : yValues_;
}

TChartValueList* TChartSeries::GetYValueList(const std::string& name) {
  auto upper = [](std::string s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
  };
  const std::string wanted = upper(name);
  for (int i = 2; i < valuesList_.Count(); ++i) {
    TChartValueList* list = valuesList_.Get(i);
    if (upper(list->GetName()) == wanted) return list;
  }
  return yValues_;
}

// ---- Copying -----------------------------------------------------------------------------------

void TChartSeries::AssignFormat(const TChartSeries* source) {
  if (!source || source == this) return;
  if (GetDataSource()) SetDataSource(nullptr);
  const bool same = source->yIsValue_ == yIsValue_;
  xValues_->Assign(same ? source->xValues_ : source->yValues_);
  yValues_->Assign(same ? source->yValues_ : source->xValues_);
  labelsSource_ = source->labelsSource_;
  colorSource_ = source->colorSource_;
  const int lists = std::min(valuesList_.Count(), source->valuesList_.Count());
  for (int i = 2; i < lists; ++i) valuesList_.Get(i)->Assign(source->valuesList_.Get(i));
  marks_->Assign(source->marks_.get());
  seriesColor_ = source->seriesColor_;
  InternalSeriesColor = source->InternalSeriesColor;
  colorEachPoint_ = source->colorEachPoint_;
  valueFormat_ = source->valueFormat_;
  percentFormat_ = source->percentFormat_;
  customHorizAxis_ = source->customHorizAxis_;
  customVertAxis_ = source->customVertAxis_;
  horizAxis_ = source->horizAxis_;
  vertAxis_ = source->vertAxis_;
  RecalcTriggers = source->RecalcTriggers;
  Cursor = source->Cursor;
  depth_ = source->depth_;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TChartSeries*>(source);
  TCustomChartSeries::Assign(source);
  if (!other || other == this) return;
  AssignFormat(other);
  // The function moves over: it computes for one series only.
  if (other->attachedFunction_ && !attachedFunction_) {
    auto* from = const_cast<TChartSeries*>(other);
    TPlotFunction* f = from->attachedFunction_;
    from->attachedFunction_ = nullptr;
    from->RemoveFreeNotification(f);
    f->StoreParentSeries(nullptr);
    SetFunction(f);
  }
  HandEntered = other->HandEntered;
  if (!other->GetDataSource() || other->HandEntered) {
    AssignValues(const_cast<TChartSeries*>(other));
    if (other->pointColors_)
      pointColors_ = std::make_unique<std::vector<TColor>>(*other->pointColors_);
    else
      pointColors_.reset();
    labels_.Assign(other->labels_);
  } else {
    for (platform::TComponent* c : other->dataSources_.Items()) InternalAddDataSource(c, false);
  }
  CheckDataSource();
}

// ---- Sample values -----------------------------------------------------------------------------

void TChartSeries::RandomBounds(int numValues, double& minX, double& stepX, double& minY,
                                double& spanY) {
  double maxX = 0, maxY = 0;
  minX = 0;
  minY = 0;
  const TCustomAxisPanel* chart = GetParentChart();
  bool chartHasPoints = false;
  if (chart) {
    for (TChartSeries* s : chart->SeriesList().Items())
      if (s->GetActive() && s->Count() > 0) chartHasPoints = true;
  }
  if (chartHasPoints) {
    if (!AxisRange(chart, vertAxisObj_, minY, maxY)) minY = maxY = 0;
    if (!AxisRange(chart, horizAxisObj_, minX, maxX)) minX = maxX = 0;
    WidenRange(minY, maxY, 1000);
    WidenRange(minX, maxX, numValues - 1);
    if (!yIsValue_) {
      std::swap(minX, minY);
      std::swap(maxX, maxY);
    }
  } else {
    minX = xValues_->GetDateTime() ? Today() : 0;
    maxX = minX + numValues - 1;
    maxY = 1000;
  }
  stepX = maxX - minX;
  if (numValues > 1) stepX /= numValues - 1;
  spanY = std::clamp(maxY - minY, -kMaxSampleSpan, kMaxSampleSpan);
}

void TChartSeries::AddSampleValues(int numValues, bool onlyMandatory) {
  double x = 0, stepX = 0, minY = 0, spanY = 0;
  RandomBounds(numValues, x, stepX, minY, spanY);
  double y = minY + PlotRandom(100) * spanY / 100;
  const double d = spanY / 4;
  for (int i = 0; i < numValues; ++i) {
    y = std::fabs(y + PlotRandom(100) * d / 100 - d / 2);
    if (onlyMandatory)
      Add(y);
    else if (yIsValue_)
      AddXY(x, y);
    else
      AddXY(y, x);
    x += stepX;
  }
}

void TChartSeries::FillSampleValues(int numValues) {
  if (numValues < 0) throw ChartException(PlotMsg_FillSample);
  if (numValues == 0) {
    numValues = DefaultSampleCount;
    if (numValues < 1) numValues = NumSampleValues();
  }
  Clear();
  PlotRandomSeed = static_cast<unsigned>(PlotRandom(7774444));
  {
    UpdateGuard update(*this);
    AddSampleValues(numValues, false);
    CheckOrder();
  }
  HandEntered = false;
}

void TChartSeries::PrepareForGallery(bool isEnabled) {
  FillSampleValues(4);
  marks_->SetVisible(false);
  marks_->GetFont()->SetSize(7);
  marks_->GetCallout()->SetLength(4);
  marks_->SetDrawEvery(2);
  SetColorEachPoint(false);
  if (!isEnabled) {
    SetSeriesColor(kGalleryDisabledColor);
  } else if (TCustomAxisPanel* chart = GetParentChart()) {
    SetSeriesColor(chart->GetDefaultColor(chart->SeriesList().IndexOf(this) == 0 ? 0 : 1));
  }
}

// ---- Mouse -------------------------------------------------------------------------------------

bool TChartSeries::CheckMouse(int x, int y) {
  if (Cursor == platform::crDefault && !OnMouseEnter && !OnMouseLeave) return false;
  if (Clicked(x, y) == -1) {
    if (MouseOver) {
      MouseOver = false;
      if (OnMouseLeave) OnMouseLeave(this);
    }
    return false;
  }
  TCustomAxisPanel* chart = GetParentChart();
  if (chart && Cursor != platform::crDefault) chart->SetCursor(Cursor);
  if (!MouseOver) {
    MouseOver = true;
    if (OnMouseEnter) OnMouseEnter(this);
  }
  return true;
}

// ---- Streaming and links -----------------------------------------------------------------------

void TChartSeries::Loaded() {
  if (!SourceNamesToLoad.empty()) {
    const std::vector<std::string> names = std::move(SourceNamesToLoad);
    SourceNamesToLoad.clear();
    // The stored names replace whatever was linked while reading.
    RemoveAllLinkedSeries();
    for (platform::TComponent* c : dataSources_.Items()) RemoveFreeNotification(c);
    dataSources_.InternalClear();
    if (platform::TComponent* owner = Owner()) {
      for (const std::string& name : names) {
        if (platform::TComponent* c = owner->FindComponent(name)) InternalAddDataSource(c, false);
      }
    }
  }
  TCustomChartSeries::Loaded();
  CheckDataSource();
}

void TChartSeries::Notification(platform::TComponent* component, platform::TOperation operation) {
  TCustomChartSeries::Notification(component, operation);
  if (operation != platform::opRemove || !component) return;
  if (component == attachedFunction_) attachedFunction_ = nullptr;
  if (dataSources_.IndexOf(component) >= 0) {
    if (!Destroying()) RemoveDataSource(component);
    // A source that is gone is never kept, whatever the refill decided.
    dataSources_.InternalRemove(component);
  }
}

}  // namespace chart
