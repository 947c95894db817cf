// Pie series: settings, slice angles, the other slice, explosion and heights, the grid of pies,
// the per-slice lists following the points, samples and gallery.
#include "chart/series/pie_series.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <utility>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/common/plot_const.h"
#include "chart/component/legend.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series_pointer.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

}  // namespace

// ---- Per-slice lists ---------------------------------------------------------------------------

int TSliceValueList::Get(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : 0;
}

void TSliceValueList::Set(int index, int value) {
  if (index < 0) return;
  CheckListIndex(index, PointListLimit(owner_ ? owner_->Count() : 0));
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1, 0);
  int& item = items_[static_cast<size_t>(index)];
  if (item == value) return;
  item = value;
  if (owner_) owner_->Repaint();
}

void TSliceValueList::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TSliceValueList::Swap(int a, int b, int count) {
  if (items_.empty()) return;
  if (Count() < count) items_.resize(static_cast<size_t>(count), 0);
  if (a < 0 || b < 0 || a >= Count() || b >= Count()) return;
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
}

// ---- The other slice ---------------------------------------------------------------------------

TPieOtherSlice::TPieOtherSlice(TChartSeries* owner) : owner_(owner) {}

TPieOtherSlice::~TPieOtherSlice() = default;

void TPieOtherSlice::Changed() {
  if (owner_) owner_->Repaint();
}

void TPieOtherSlice::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

TChartLegend* TPieOtherSlice::GetLegend() {
  if (!legend_)
    legend_ = std::make_unique<TChartLegend>(owner_ ? owner_->GetParentChart() : nullptr);
  return legend_.get();
}

void TPieOtherSlice::SetLegend(const TChartLegend* value) {
  if (value)
    GetLegend()->Assign(value);
  else
    legend_.reset();
  Changed();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

std::string TPieOtherSlice::GetText() const {
  return text_.empty() ? PlotMsg_PieOther : text_;
}

void TPieOtherSlice::SetText(const std::string& value) {
  if (text_ == value) return;
  text_ = value;
  Changed();
}

void TPieOtherSlice::SetValue(double value) {
  if (value_ == value) return;
  value_ = value;
  Changed();
}

void TPieOtherSlice::Assign(const platform::TPersistent* source) {
  const auto* o = dynamic_cast<const TPieOtherSlice*>(source);
  if (!o) platform::AssignError(source, this);
  if (o == this) return;
  color_ = o->color_;
  if (o->legend_)
    GetLegend()->Assign(o->legend_.get());
  else
    legend_.reset();
  style_ = o->style_;
  text_ = o->text_;
  value_ = o->value_;
  Changed();
}

TPieShadow::TPieShadow(std::function<void()> onChange) : TPlotShadow(std::move(onChange)) {
  DefaultColor = 0xA0A0A0;
  SetColor(DefaultColor);
}

// ---- Construction and settings -----------------------------------------------------------------

TPieSeries::TPieSeries(platform::TComponent* Owner) : TCircledSeries(Owner) {
  otherSlice_ = std::make_unique<TPieOtherSlice>(this);
  shadow_ = std::make_unique<TPieShadow>([this] { Repaint(); });
  XValues()->SetName({});
  YValues()->SetName(PlotMsg_ValuesPie);
  SetColorEachPoint(true);
  Marks()->SetVisible(true);
  TMarksCallout* callout = Marks()->GetCallout();
  callout->DefaultLength = 8;
  callout->SetLength(8);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetAngleSize(int value) {
  if (angleSize_ == value) return;
  SliceAngles.clear();
  SetIntegerProperty(angleSize_, value);
}

void TPieSeries::SetExplodeBiggest(int value) {
  explodeBiggest_ = value;
  // Written also when 0: the slice pulled out before goes back.
  CalcExplodeBiggest();
  Repaint();
}

void TPieSeries::SetMultiPie(TMultiPie value) {
  if (multiPie_ == value) return;
  multiPie_ = value;
  Repaint();
}

void TPieSeries::SetOtherSlice(const TPieOtherSlice* value) {
  if (value) otherSlice_->Assign(value);
}

void TPieSeries::SetShadow(const TPlotShadow* value) {
  if (value) shadow_->Assign(value);
}

void TPieSeries::SetDonutPercent(int value) {
  SetIntegerProperty(donutPercent_, value);
}

int TPieSeries::AddPie(double value, const std::string& label, TColor color) {
  return Add(value, label, color);
}

// ---- Angles ------------------------------------------------------------------------------------

void TPieSeries::CalcAngles() {
  const int n = Count();
  SliceAngles.assign(static_cast<size_t>(n), TPieAngle{});
  const int first = std::max(FirstVisible, 0);
  const int last = std::min(LastVisible, n - 1);
  TChartValueList* values = YValues();
  double total = 0;
  if (otherSlice_->GetStyle() != poNone || FirstVisible < 0) {
    total = values->TotalABS();
  } else {
    for (int i = first; i <= last; ++i) total += std::fabs(values->GetValue(i));
  }
  const double full = angleSize_ * std::numbers::pi / 180.0;
  double sum = 0;
  double previousEnd = 0;
  for (int i = first; FirstVisible >= 0 && i <= last; ++i) {
    TPieAngle& a = SliceAngles[static_cast<size_t>(i)];
    a.StartAngle = i == first ? 0 : previousEnd;
    if (total == 0) {
      a.EndAngle = full;
    } else {
      if (!BelongsToOtherSlice(i)) sum += std::fabs(values->GetValue(i));
      a.EndAngle = sum == total ? full : sum * full / total;
    }
    if (a.EndAngle - a.StartAngle > full) a.EndAngle = a.StartAngle + full;
    a.MidAngle = (a.StartAngle + a.EndAngle) * 0.5;
    previousEnd = a.EndAngle;
  }
}

void TPieSeries::CheckAngles() {
  if (SliceAngles.empty()) CalcAngles();
}

// ---- Explosion and heights ---------------------------------------------------------------------

void TPieSeries::CalcExplodeBiggest() {
  const int n = Count();
  if (n == 0) return;
  TChartValueList* values = YValues();
  int biggest = -1;
  const TCustomAxisPanel* chart = GetParentChart();
  if (chart && chart->GetPointsPerPage() > 0 && FirstVisible >= 0) {
    for (int i = FirstVisible; i <= std::min(LastVisible, n - 1); ++i)
      if (biggest < 0 || values->GetValue(i) > values->GetValue(biggest)) biggest = i;
  } else {
    const double top = values->MaxValue();
    for (int i = 0; i < n && biggest < 0; ++i)
      if (values->GetValue(i) == top) biggest = i;
  }
  // The slice pulled out as the biggest before goes back, unless its value was set since.
  const int before = std::exchange(biggestIndex_, -1);
  const bool ours = before >= 0 && SliceExplode.Get(before) == biggestValue_;
  if (ours && before != biggest) SliceExplode.Set(before, biggestBefore_);
  if (biggest < 0) return;
  if (!ours || before != biggest) biggestBefore_ = SliceExplode.Get(biggest);
  SliceExplode.Set(biggest, explodeBiggest_);
  if (explodeBiggest_ > 0) biggestIndex_ = biggest;
  biggestValue_ = explodeBiggest_;
}

void TPieSeries::CalcExplodedOffset(int valueIndex, int& x, int& y) const {
  x = y = 0;
  if (!Exploding || SliceExplode.Count() == 0 || valueIndex < 0 ||
      static_cast<size_t>(valueIndex) >= SliceAngles.size())
    return;
  const int e = SliceExplode.Get(valueIndex);
  if (e <= 0) return;
  double angle = SliceAngles[static_cast<size_t>(valueIndex)].MidAngle + RotationRadians();
  const TCustomAxisPanel* chart = GetParentChart();
  if (chart && chart->GetCanvas3D()->GetSupportsFullRotation())
    angle += angleSize_ * std::numbers::pi / 45.0 + std::numbers::pi;
  x = Round(std::cos(angle) * RadiusX * e / 100.0);
  y = Round(std::sin(angle) * e / 100.0 * RadiusY);
}

void TPieSeries::CalcExplodedRadius(int valueIndex, int& x, int& y) const {
  const double f = 1 + SliceExplode.Get(valueIndex) / 100.0;
  x = Round(RadiusX * f);
  y = Round(RadiusY * f);
}

int TPieSeries::SliceEndZ(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= SliceHeightPct.Count()) return EndZ;
  const long long span = static_cast<long long>(EndZ) - StartZ;
  return Sat(StartZ + static_cast<long long>(Round(SliceHeightPct.Get(valueIndex) * span * 0.01L)));
}

// ---- Brush and pen -----------------------------------------------------------------------------

platform::TBrushStyle TPieSeries::SliceBrushStyle(int valueIndex) const {
  static constexpr platform::TBrushStyle kHatches[] = {
      platform::bsHorizontal, platform::bsVertical, platform::bsFDiagonal,
      platform::bsBDiagonal,  platform::bsCross,    platform::bsDiagCross};
  TCustomAxisPanel* chart = GetParentChart();
  const bool patterns = usePatterns_ || (chart && chart->GetMonochrome());
  if (!patterns) return platform::bsSolid;
  return kHatches[static_cast<unsigned>(valueIndex) % 6u];
}

void TPieSeries::PreparePiePen(int valueIndex) {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  TCanvas3D& canvas = *chart->GetCanvas3D();
  if (darkPen_ <= 0)
    canvas.AssignVisiblePen(GetPen());
  else
    canvas.AssignVisiblePenColor(GetPen(),
                                 ApplyDark(GetValueColor(valueIndex), 255 - (darkPen_ & 0xFF)));
}

// ---- Several pies ------------------------------------------------------------------------------

int TPieSeries::PieCount() const {
  const TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return GetActive() ? 1 : 0;
  int n = 0;
  for (const TChartSeries* s : chart->SeriesList().Items())
    if (s->GetActive() && SameClass(s)) ++n;
  return n;
}

void TPieSeries::DoBeforeDrawValues() {
  TCustomAxisPanel* chart = GetParentChart();
  if (chart) {
    savedChartRect_ = chart->ChartRect;
    chartRectSaved_ = true;
    const int n = PieCount();
    if (multiPie_ == mpAutomatic && n >= 2) {
      int k = 0;
      for (const TChartSeries* s : chart->SeriesList().Items()) {
        if (s == this) break;
        if (s->GetActive() && SameClass(s)) ++k;
      }
      // An exact grid: no empty extra row to shrink every pie.
      const int columns = std::max(1, Round(std::sqrt(static_cast<double>(n))));
      const int rows = (n + columns - 1) / columns;
      const TRect r = chart->ChartRect;
      const long long w = (static_cast<long long>(r.Right) - r.Left) / columns;
      const long long h = (static_cast<long long>(r.Bottom) - r.Top) / rows;
      const long long left = r.Left + (k % columns) * w;
      const long long top = r.Top + (k / columns) * h;
      const TRect cell{Sat(left), Sat(top), Sat(left + w), Sat(top + h)};
      chart->ChartRect = chart->GetCanvas3D()->CalcRect3D(cell, 0);
    }
  }
  TCircledSeries::DoBeforeDrawValues();
}

void TPieSeries::DoAfterDrawValues() {
  if (chartRectSaved_) {
    if (TCustomAxisPanel* chart = GetParentChart()) chart->ChartRect = savedChartRect_;
    chartRectSaved_ = false;
  }
  TCircledSeries::DoAfterDrawValues();
}

// ---- The other slice ---------------------------------------------------------------------------

bool TPieSeries::BelongsToOtherSlice(int valueIndex) const {
  return otherSlice_->GetStyle() != poNone && valueIndex >= 0 && valueIndex < Count() &&
         XValues()->GetValue(valueIndex) == -1;
}

int TPieSeries::OtherSliceIndex() const {
  for (int i = Count() - 1; i >= 0; --i)
    if (XValues()->GetValue(i) == OtherSliceX) return i;
  return -1;
}

void TPieSeries::RemoveOtherSlice() {
  const int i = OtherSliceIndex();
  if (i >= 0) Delete(i);
}

void TPieSeries::BeforeWriteData() {
  RemoveOtherSlice();
}

void TPieSeries::DoBeforeDrawChart() {
  TCircledSeries::DoBeforeDrawChart();
  SliceAngles.clear();
  if (TChartLegend* legend = otherSlice_->LegendIfAny())
    if (GetParentChart() && legend->ParentChart() != GetParentChart())
      legend->SetParent(GetParentChart());
  TSeriesMarkPosition kept;
  bool keep = false;
  if (const int old = OtherSliceIndex(); old >= 0) {
    if (const TSeriesMarkPosition* p = Marks()->Positions().Get(old); p && p->Custom) {
      kept.Assign(*p);
      keep = true;
    }
  }
  TChartValueList* values = YValues();
  if (values->GetOrder() != loNone) values->Sort();
  RemoveOtherSlice();
  TChartValueList* x = XValues();
  const int n = Count();
  for (int i = 0; i < n; ++i) x->SetValue(i, i);
  const TPieOtherStyle style = otherSlice_->GetStyle();
  const double total = values->TotalABS();
  if (style == poNone || !(total > 0)) return;
  double sum = 0;
  bool moved = false;
  for (int i = 0; i < n; ++i) {
    const double v = std::fabs(values->GetValue(i));
    const double measure = style == poBelowPercent ? v * 100.0 / total : v;
    if (measure < otherSlice_->GetValue()) {
      x->SetValue(i, -1);
      sum += v;
      moved = true;
    }
  }
  if (!moved) return;
  const int index = AddXY(OtherSliceX, sum, otherSlice_->GetText(), otherSlice_->GetColor());
  // The slices keep their share of the whole: the members count once, through the other point.
  values->SetTotalABS(values->TotalABS() - sum);
  if (keep && index >= 0) Marks()->Positions().Put(index, kept);
  SliceAngles.clear();
}

// ---- Lists following the points ----------------------------------------------------------------

void TPieSeries::CheckOrder() {
  SliceAngles.clear();
  TCircledSeries::CheckOrder();
}

void TPieSeries::Clear() {
  SliceAngles.clear();
  TCircledSeries::Clear();
}

void TPieSeries::ClearLists() {
  TCircledSeries::ClearLists();
  biggestIndex_ = -1;
  SliceExplode.Clear();
  SliceHeightPct.Clear();
  SliceAngles.clear();
}

void TPieSeries::Delete(int valueIndex) {
  TCircledSeries::Delete(valueIndex);
  if (biggestIndex_ == valueIndex)
    biggestIndex_ = -1;
  else if (biggestIndex_ > valueIndex)
    --biggestIndex_;
  SliceExplode.Delete(valueIndex);
  SliceHeightPct.Delete(valueIndex);
  SliceAngles.clear();
}

void TPieSeries::Delete(int start, int quantity, bool removeGap) {
  TCircledSeries::Delete(start, quantity, removeGap);
  if (biggestIndex_ >= start && quantity > 0)
    biggestIndex_ =
        biggestIndex_ - static_cast<long long>(start) < quantity ? -1 : biggestIndex_ - quantity;
  for (int i = 0; i < quantity; ++i) {
    SliceExplode.Delete(start);
    SliceHeightPct.Delete(start);
  }
  SliceAngles.clear();
}

void TPieSeries::SwapValueIndex(int a, int b) {
  TCircledSeries::SwapValueIndex(a, b);
  if (biggestIndex_ == a || biggestIndex_ == b) biggestIndex_ = biggestIndex_ == a ? b : a;
  SliceExplode.Swap(a, b, Count());
  SliceHeightPct.Swap(a, b, Count());
  SliceAngles.clear();
}

// ---- Draw order --------------------------------------------------------------------------------

int TPieSeries::CompareSlice(int a, int b) const {
  const int n = static_cast<int>(SliceAngles.size());
  if (a < 0 || b < 0 || a >= n || b >= n) return 0;
  double full = angleSize_ * std::numbers::pi / 180.0;
  if (!(full > 0)) full = 2 * std::numbers::pi;
  const double quarter = full * 0.25;
  auto distance = [&](int i) {
    double m = std::fmod(SliceAngles[static_cast<size_t>(i)].MidAngle + RotationRadians(), full);
    if (m < 0) m += full;
    double d = std::fabs(m - quarter);
    if (d > std::numbers::pi) d = 2 * std::numbers::pi - d;
    return d;
  };
  const double da = distance(a), db = distance(b);
  return da < db ? -1 : (da > db ? 1 : 0);
}

void TPieSeries::SwapSlice(int a, int b) {
  const int n = static_cast<int>(SliceOrder.size());
  if (a < 0 || b < 0 || a >= n || b >= n) return;
  std::swap(SliceOrder[static_cast<size_t>(a)], SliceOrder[static_cast<size_t>(b)]);
}

// ---- Legend ------------------------------------------------------------------------------------

int TPieSeries::CountLegendItems() {
  int n = 0;
  for (int i = 0; i < Count(); ++i)
    if (BelongsToOtherSlice(i) == LegendForOtherSlice) ++n;
  return n;
}

int TPieSeries::LegendToValueIndex(int legendIndex) const {
  int n = 0;
  for (int i = 0; i < Count(); ++i) {
    if (BelongsToOtherSlice(i) != LegendForOtherSlice) continue;
    if (n == legendIndex) return i;
    ++n;
  }
  return legendIndex;
}

// ---- Copying, samples and gallery --------------------------------------------------------------

void TPieSeries::Assign(const platform::TPersistent* source) {
  if (const auto* p = dynamic_cast<const TPieSeries*>(source); p && p != this) {
    angleSize_ = p->angleSize_;
    autoMarkPosition_ = p->autoMarkPosition_;
    dark3D_ = p->dark3D_;
    darkPen_ = p->darkPen_;
    explodeBiggest_ = p->explodeBiggest_;
    SliceExplode.Assign(p->SliceExplode);
    biggestIndex_ = p->biggestIndex_;
    biggestValue_ = p->biggestValue_;
    biggestBefore_ = p->biggestBefore_;
    SliceHeightPct.Assign(p->SliceHeightPct);
    usePatterns_ = p->usePatterns_;
    otherSlice_->Assign(p->otherSlice_.get());
    shadow_->Assign(p->shadow_.get());
  }
  TCircledSeries::Assign(source);
  SliceAngles.clear();
  SetColorEachPoint(true);
}

void TPieSeries::InitCustom3DOptions(TView3DOptions& options) const {
  options.SetOrthogonal(false);
  options.SetRotation(360);
  options.SetElevation(315);
  options.SetPerspective(0);
  options.SetTilt(0);
}

void TPieSeries::AddSampleValues(int numValues, bool /*onlyMandatory*/) {
  const std::string* labels[] = {&PlotMsg_PieSample1, &PlotMsg_PieSample2, &PlotMsg_PieSample3,
                                 &PlotMsg_PieSample4, &PlotMsg_PieSample5, &PlotMsg_PieSample6,
                                 &PlotMsg_PieSample7, &PlotMsg_PieSample8};
  for (int i = 0; i < numValues; ++i) AddPie(1 + PlotRandom(1000), *labels[i % 8]);
}

void TPieSeries::PrepareForGallery(bool isEnabled) {
  TCircledSeries::PrepareForGallery(isEnabled);
  FillSampleValues(8);
  if (TCustomAxisPanel* chart = GetParentChart()) chart->Set3DPercent(75);
  Marks()->GetCallout()->SetLength(0);
  Marks()->SetDrawEvery(1);
  GetGradient()->SetVisible(true);
  DisableRotation();
  SetColorEachPoint(true);
}

void TPieSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  TCircledSeries::CreateSubGallery(addSubChart);
  if (!addSubChart) return;
  for (const std::string* s :
       {&PlotMsg_Patterns, &PlotMsg_Exploded, &PlotMsg_Shadow, &PlotMsg_Marks, &PlotMsg_SemiPie,
        &PlotMsg_NoBorder, &PlotMsg_DarkPen})
    addSubChart(*s);
}

void TPieSeries::SetSubGallery(int index) {
  switch (index) {
    case 1:
      SetUsePatterns(true);
      break;
    case 2:
      SetExplodeBiggest(30);
      break;
    case 3:
      shadow_->SetHorizSize(10);
      shadow_->SetVertSize(10);
      break;
    case 4:
      Marks()->SetVisible(true);
      Clear();
      AddPie(30, "A");
      AddPie(72, "B");
      break;
    case 5:
      SetAngleSize(180);
      break;
    case 6:
      GetPen()->SetVisible(false);
      break;
    case 7:
      SetDarkPen(32);
      break;
    default:
      break;
  }
}

}  // namespace chart
