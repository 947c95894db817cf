// Bar series geometry: how the chart's bar series share the slots of the bar axis, how thick a
// bar is, where it starts and ends, the room its marks need, the value-axis extent, depth and
// order, the legend and the gallery.
#include "chart/series/bar_series.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "chart/canvas/geometry.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series_pointer.h"
#include "chart/engine/series_source.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

// "Series1", "Series2" ... the first name no component of owner has.
std::string FreeSeriesName(const platform::TComponent* owner) {
  for (int n = 1;; ++n) {
    std::string name = "Series" + std::to_string(n);
    if (!owner || !owner->FindComponent(name)) return name;
  }
}

}  // namespace

// ---- Gradient ----------------------------------------------------------------------------------

TBarSeriesGradient::TBarSeriesGradient(std::function<void()> onChange)
    : TCustomPlotGradient(std::move(onChange)) {
  SetStartColor(platform::clWhite);
  SetVisible(true);
}

void TBarSeriesGradient::Assign(const platform::TPersistent* source) {
  if (const auto* g = dynamic_cast<const TBarSeriesGradient*>(source)) relative_ = g->relative_;
  TCustomPlotGradient::Assign(source);
}

void TBarSeriesGradient::SetRelative(bool value) {
  if (relative_ == value) return;
  relative_ = value;
  Changed();
}

// ---- Construction and settings -----------------------------------------------------------------

TCustomBarSeries::TCustomBarSeries(platform::TComponent* Owner) : TChartSeries(Owner) {
  gradient_ = std::make_unique<TBarSeriesGradient>([this] { Repaint(); });
  tickLines_ = std::make_unique<TChartHiddenPen>([this] { Repaint(); });
  Marks()->SetVisible(true);
  TMarksCallout* callout = Marks()->GetCallout();
  callout->DefaultLength = 20;
  callout->SetLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarStyle(TBarStyle value) {
  if (barStyle_ == value) return;
  barStyle_ = value;
  Repaint();
}

void TCustomBarSeries::SetGradient(const TBarSeriesGradient* value) {
  if (value) gradient_->Assign(value);
}

void TCustomBarSeries::SetMultiBar(TMultiBar value) {
  if (multiBar_ == value) return;
  multiBar_ = value;
  SetOtherBars(true);
  Repaint();
}

void TCustomBarSeries::SetSideMargins(bool value) {
  if (sideMargins_ == value) return;
  sideMargins_ = value;
  SetOtherBars(true);
  Repaint();
}

void TCustomBarSeries::SetTickLines(const TChartPen* value) {
  if (value) tickLines_->Assign(*value);
}

void TCustomBarSeries::SetCustomBarWidth(int value) {
  SetIntegerProperty(customBarWidth_, value);
}

int TCustomBarSeries::AddBar(double value, const std::string& label, TColor color) {
  return Add(value, label, color);
}

TCustomBarSeries* TCustomBarSeries::SameBar(TChartSeries* s) const {
  return SameClass(s) ? dynamic_cast<TCustomBarSeries*>(s) : nullptr;
}

TChartAxis* TCustomBarSeries::BarAxis() const {
  return YIsValue() ? GetHorizAxisObj() : GetVertAxisObj();
}

TChartAxis* TCustomBarSeries::ValueAxis() const {
  return MandatoryAxis();
}

// ---- Grouping ----------------------------------------------------------------------------------

void TCustomBarSeries::SetOtherBars(bool setOthers) {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  for (TChartSeries* s : chart->SeriesList().Items()) {
    TCustomBarSeries* bar = SameBar(s);
    if (!bar) continue;
    if (!setOthers) {
      multiBar_ = bar->multiBar_;
      sideMargins_ = bar->sideMargins_;
      return;
    }
    bar->multiBar_ = multiBar_;
    bar->sideMargins_ = sideMargins_;
    bar->LimitToVisible = multiBar_ != mbSelfStack;
  }
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* chart) {
  TChartSeries::SetParentChart(chart);
  SetOtherBars(false);
}

void TCustomBarSeries::DoBeforeDrawChart() {
  TChartSeries::DoBeforeDrawChart();
  BarOrder = 1;
  PointsBefore = 0;
  SideBySideCount = 0;
  SlotCount = -1;
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  std::vector<int> groups;
  bool found = false;
  for (TChartSeries* s : chart->SeriesList().Items()) {
    TCustomBarSeries* bar = SameBar(s);
    if (!bar || !s->GetActive()) continue;
    if (s == this) found = true;
    const int n = s->Count();
    if (SlotCount == -1 || SlotCount < n) {
      SlotCount = n;
      if (sideMargins_ && n > 0) SlotCount = Sat(n + 1LL);
    }
    switch (multiBar_) {
      case mbNone:
      case mbSelfStack:
        SideBySideCount = 1;
        break;
      case mbSide:
      case mbSideAll:
        ++SideBySideCount;
        if (!found) ++BarOrder;
        break;
      case mbStacked:
      case mbStacked100:
        if (std::find(groups.begin(), groups.end(), bar->stackGroup_) == groups.end()) {
          groups.push_back(bar->stackGroup_);
          ++SideBySideCount;
          if (!found) ++BarOrder;
        }
        break;
    }
    if (!found) PointsBefore = Sat(static_cast<long long>(PointsBefore) + n);
  }
  const auto own = std::find(groups.begin(), groups.end(), stackGroup_);
  if (own != groups.end()) BarOrder = static_cast<int>(own - groups.begin()) + 1;
  const int perPage = chart->GetPointsPerPage();
  if (multiBar_ == mbSelfStack)
    SlotCount = perPage != 0 ? perPage : SideBySideCount;
  else if (perPage > 0)
    SlotCount = perPage;
}

// ---- Thickness and margins ---------------------------------------------------------------------

void TCustomBarSeries::CalcBarSize() {
  if (customBarWidth_ != 0) {
    BarThickness = customBarWidth_;
    return;
  }
  BarThickness = 0;
  TChartAxis* axis = BarAxis();
  // No slots or no group (an inactive series): no bar rather than a division by zero.
  if (SlotCount <= 0 || SideBySideCount <= 0 || !axis) return;
  const int length = axis->IAxisSize();
  long long slot;
  if (autoBarSize_) {
    const double units = 2.0 + axis->GetMaximum() - axis->GetMinimum();
    if (!(units > 0) || !std::isfinite(units)) return;
    slot = Round(length / static_cast<long double>(units));
  } else {
    slot = length / SlotCount;
  }
  long long t = Round(barWidthPercent_ * 0.01L * slot) / SideBySideCount;
  if (t > 0 && t % 2 != 0) ++t;
  BarThickness = Sat(t);
}

int TCustomBarSeries::BarMargin() const {
  long long m =
      static_cast<long long>(BarThickness) * (multiBar_ == mbSideAll ? 1 : SideBySideCount);
  if (!sideMargins_) m /= 2;
  return Sat(m);
}

void TCustomBarSeries::InternalApplyBarMargin(int& margin1, int& margin2) {
  CalcBarSize();
  const int m = BarMargin();
  margin1 = Sat(static_cast<long long>(margin1) + m);
  margin2 = Sat(static_cast<long long>(margin2) + m);
}

int TCustomBarSeries::ApplyBarOffset(int pos) const {
  if (offsetPercent_ == 0) return pos;
  return Sat(pos + static_cast<long long>(
                       Round(offsetPercent_ * static_cast<long double>(BarThickness) * 0.01L)));
}

// ---- Origin ------------------------------------------------------------------------------------

double TCustomBarSeries::PointOrigin(int valueIndex, bool sumAll) {
  switch (multiBar_) {
    case mbStacked:
    case mbStacked100: {
      TCustomAxisPanel* chart = GetParentChart();
      if (!chart || valueIndex < 0 || valueIndex >= Count()) return 0;
      const bool positive = MainValues()->GetValue(valueIndex) >= 0;
      double sum = 0;
      for (TChartSeries* s : chart->SeriesList().Items()) {
        if (!sumAll && s == this) break;
        TCustomBarSeries* bar = SameBar(s);
        if (!bar || !s->GetActive() || s->Count() <= valueIndex || bar->stackGroup_ != stackGroup_)
          continue;
        const double v = s->GetOriginValue(valueIndex);
        if (positive ? v > 0 : v < 0) sum += v;
      }
      return sum;
    }
    case mbSelfStack: {
      double sum = 0;
      const int n = std::min(valueIndex, Count());
      for (int i = 0; i < n; ++i) sum += MainValues()->GetValue(i);
      return sum;
    }
    default:
      return yOrigin_;
  }
}

double TCustomBarSeries::StackedPercent(int valueIndex, double value) {
  // A share of the point's total of absolute values, so that a stack of both signs spans 100 %
  // in all: positives upward from 0, negatives downward.
  double total = 0;
  if (TCustomAxisPanel* chart = GetParentChart(); chart && valueIndex >= 0)
    for (TChartSeries* s : chart->SeriesList().Items()) {
      const TCustomBarSeries* bar = SameBar(s);
      if (bar && s->GetActive() && s->Count() > valueIndex && bar->stackGroup_ == stackGroup_)
        total += std::fabs(s->GetOriginValue(valueIndex));
    }
  const double r = value * 100.0 / total;
  // A point whose values are all 0 has no height: it sits at the axis origin.
  return total == 0 || !std::isfinite(r) ? 0 : r;
}

int TCustomBarSeries::GetOriginPos(int valueIndex) {
  TChartAxis* axis = GetVertAxisObj();
  return InternalGetOriginPos(valueIndex, axis ? axis->IEndPos() : 0);
}

int TCustomBarSeries::InternalGetOriginPos(int valueIndex, int defaultPos) {
  TChartAxis* axis = ValueAxis();
  if (!axis) return defaultPos;
  const double o = PointOrigin(valueIndex, false);
  switch (multiBar_) {
    case mbStacked100:
      return axis->CalcPosValue(StackedPercent(valueIndex, o));
    case mbStacked:
    case mbSelfStack:
      return axis->CalcPosValue(o);
    default:
      return useYOrigin_ ? axis->CalcPosValue(o) : defaultPos;
  }
}

// ---- Marks -------------------------------------------------------------------------------------

int TCustomBarSeries::CalcMarkLength(int valueIndex) {
  TSeriesMarks* marks = Marks();
  if (Count() == 0 || !marks->GetVisible()) return 0;
  TCustomAxisPanel* chart = GetParentChart();
  if (chart && chart->GetCanvas3D()) chart->GetCanvas3D()->AssignFont(marks->GetFont());
  long long l =
      static_cast<long long>(InternalCalcMarkLength(valueIndex)) + marks->GetCallout()->GetLength();
  if (marks->GetFrame()->GetVisible()) l += 2LL * marks->GetFrame()->GetWidth();
  return Sat(l);
}

// ---- Axis extent -------------------------------------------------------------------------------

double TCustomBarSeries::MaxMandatoryValue(double value) {
  double r = value;
  switch (multiBar_) {
    case mbStacked100:
      r = 100;
      break;
    case mbSelfStack:
      r = MainValues()->Total();
      break;
    case mbStacked:
      for (int i = 0; i < Count(); ++i)
        r = std::max(r, PointOrigin(i, false) + MainValues()->GetValue(i));
      break;
    default:
      break;
  }
  return useYOrigin_ ? std::max(r, yOrigin_) : r;
}

double TCustomBarSeries::MinMandatoryValue(double value) {
  double r = value;
  switch (multiBar_) {
    case mbStacked100:
      // Negative values stack below 0.
      r = 0;
      for (int i = 0; i < Count(); ++i)
        r = std::min(r, StackedPercent(i, PointOrigin(i, false) + MainValues()->GetValue(i)));
      break;
    case mbStacked:
    case mbSelfStack:
      for (int i = 0; i < Count(); ++i)
        r = std::min(r, PointOrigin(i, false) + MainValues()->GetValue(i));
      break;
    default:
      break;
  }
  return useYOrigin_ ? std::min(r, yOrigin_) : r;
}

// ---- Depth, order and visible range ------------------------------------------------------------

void TCustomBarSeries::CalcZOrder() {
  if (TCustomAxisPanel* chart = GetParentChart(); chart && multiBar_ != mbNone) {
    for (TChartSeries* s : chart->SeriesList().Items()) {
      if (s == this) break;
      if (s->GetActive() && SameBar(s)) {
        AutoZOrder = s->GetZOrder();
        return;
      }
    }
  }
  TChartSeries::CalcZOrder();
}

void TCustomBarSeries::CalcDepthPositions() {
  TChartSeries::CalcDepthPositions();
  if (depthPercent_ == 0) return;
  const int d = Round((100 - depthPercent_) * (static_cast<long double>(EndZ) - StartZ) * 0.005L);
  StartZ = Sat(static_cast<long long>(StartZ) + d);
  EndZ = Sat(static_cast<long long>(EndZ) - d);
}

void TCustomBarSeries::CalcFirstLastVisibleIndex() {
  TCustomAxisPanel* chart = GetParentChart();
  if (multiBar_ == mbSelfStack) {
    FirstVisible = Count() > 0 ? 0 : -1;
    LastVisible = Count() - 1;
  } else if (chart && chart->GetPointsPerPage() == 1) {
    const int i = chart->GetPage() - 1;
    FirstVisible = LastVisible = (i >= 0 && i < Count()) ? i : -1;
  } else {
    TChartSeries::CalcFirstLastVisibleIndex();
  }
}

// ---- Legend ------------------------------------------------------------------------------------

void TCustomBarSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  const platform::TPicture* image = GetBrush()->ImageIfAny();
  if (canvas && image && image->Graphic() && !image->Graphic()->Empty())
    canvas->AssignBrushColor(GetBrush(),
                             canvas->Brush ? canvas->Brush->GetColor() : platform::clWhite,
                             canvas->GetBackColor());
  TChartSeries::DrawLegendShape(valueIndex, rect);
}

void TCustomBarSeries::PrepareLegendCanvas(int /*valueIndex*/, TColor& backColor,
                                           platform::TBrushStyle& brushStyle) {
  TCustomAxisPanel* chart = GetParentChart();
  if (chart && chart->GetCanvas3D()) chart->GetCanvas3D()->AssignVisiblePen(GetPen());
  brushStyle = GetBrush()->GetStyle();
  backColor = GetBrush()->GetColor();
  if (backColor == platform::clDefault && chart) backColor = chart->GetColor();
}

// ---- Gallery and samples -----------------------------------------------------------------------

void TCustomBarSeries::PrepareForGallery(bool isEnabled) {
  TChartSeries::PrepareForGallery(isEnabled);
  SetBarWidthPercent(85);
  SetBarStyle(bsRectGradient);
  gradient_->SetVisible(true);
  SetMultiBar(mbNone);
}

void TCustomBarSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  TChartSeries::CreateSubGallery(addSubChart);
  if (!addSubChart) return;
  for (const std::string* s : {&PlotMsg_Colors, &PlotMsg_Pyramid, &PlotMsg_Ellipse,
                               &PlotMsg_InvPyramid, &PlotMsg_Gradient})
    addSubChart(*s);
  if (SubGalleryStack())
    for (const std::string* s : {&PlotMsg_Stack, &PlotMsg_Stack100, &PlotMsg_SelfStack})
      addSubChart(*s);
  addSubChart(PlotMsg_Sides);
  addSubChart(PlotMsg_SideAll);
}

void TCustomBarSeries::SetSubGallery(int index) {
  switch (index) {
    case 1:
      SetColorEachPoint(true);
      return;
    case 2:
      SetBarStyle(bsPyramid);
      return;
    case 3:
      SetBarStyle(bsEllipse);
      return;
    case 4:
      SetBarStyle(bsInvPyramid);
      return;
    case 5:
      SetBarStyle(bsRectGradient);
      return;
    default:
      break;
  }
  if (index < 6) return;
  std::vector<TMultiBar> modes{mbSide, mbSideAll};
  if (SubGalleryStack()) modes = {mbStacked, mbStacked100, mbSelfStack, mbSide, mbSideAll};
  const size_t k = static_cast<size_t>(index - 6);
  if (k >= modes.size()) return;
  TCustomAxisPanel* chart = GetParentChart();
  if (chart && chart->SeriesCount() == 1) {
    // Series belong to their owner; without one the chart keeps the companion.
    platform::TComponent* owner = Owner() ? Owner() : chart;
    if (TCustomBarSeries* other = NewSameClass(owner)) {
      other->SetName(FreeSeriesName(owner));
      other->SetTitle("");
      other->Marks()->SetVisible(false);
      other->SetBarWidthPercent(barWidthPercent_);
      chart->AddSeries(other);
      other->SetSubGallery(index);
      Marks()->SetVisible(false);
    }
  }
  SetMultiBar(modes[k]);
}

int TCustomBarSeries::NumSampleValues() const {
  if (TCustomAxisPanel* chart = GetParentChart())
    for (TChartSeries* s : chart->SeriesList().Items())
      if (s != this && dynamic_cast<TCustomBarSeries*>(s) && s->Count() > 0) return s->Count();
  return 6;
}

void TCustomBarSeries::AddSampleValues(int numValues, bool onlyMandatory) {
  bool keepFlag = false;
  if (TCustomAxisPanel* chart = GetParentChart())
    for (TChartSeries* s : chart->SeriesList().Items())
      if (s != this && SameBar(s) && HasNoMandatoryValues(s)) keepFlag = true;
  // One run: a second one would only double the preview's points.
  TChartSeries::AddSampleValues(numValues, keepFlag ? onlyMandatory : true);
}

void TCustomBarSeries::Assign(const platform::TPersistent* source) {
  if (const auto* b = dynamic_cast<const TCustomBarSeries*>(source); b && b != this) {
    autoMarkPosition_ = b->autoMarkPosition_;
    barWidthPercent_ = b->barWidthPercent_;
    barStyle_ = b->barStyle_;
    bevelSize_ = b->bevelSize_;
    customBarWidth_ = b->customBarWidth_;
    dark3D_ = b->dark3D_;
    depthPercent_ = b->depthPercent_;
    gradient_->Assign(b->gradient_.get());
    multiBar_ = b->multiBar_;
    offsetPercent_ = b->offsetPercent_;
    yOrigin_ = b->yOrigin_;
    sideMargins_ = b->sideMargins_;
    stackGroup_ = b->stackGroup_;
    tickLines_->Assign(*b->tickLines_);
    Transparency = b->Transparency;
    useYOrigin_ = b->useYOrigin_;
  }
  TChartSeries::Assign(source);
}

// ---- Vertical bars -----------------------------------------------------------------------------

TBarSeries::TBarSeries(platform::TComponent* Owner) : TCustomBarSeries(Owner) {
  GetGradient()->SetDirection(gdTopBottom);
  YValues()->SetName(PlotMsg_ValuesBar);
}

TCustomBarSeries* TBarSeries::NewSameClass(platform::TComponent* owner) const {
  return new TBarSeries(owner);
}

void TBarSeries::CalcHorizMargins(int& left, int& right) {
  TChartSeries::CalcHorizMargins(left, right);
  InternalApplyBarMargin(left, right);
}

void TBarSeries::CalcVerticalMargins(int& top, int& bottom) {
  TChartSeries::CalcVerticalMargins(top, bottom);
  const int l = CalcMarkLength(0);
  if (l <= 0) return;
  const TChartAxis* axis = GetVertAxisObj();
  const bool inverted = axis && axis->GetInverted();
  const int room = Sat(l + 1LL);
  if (GetUseYOrigin() && MinYValue() < GetYOrigin()) {
    int& m = inverted ? top : bottom;
    m = Sat(static_cast<long long>(m) + room);
  }
  if (!GetUseYOrigin() || MaxYValue() > GetYOrigin()) {
    int& m = inverted ? bottom : top;
    m = Sat(static_cast<long long>(m) + room);
  }
}

int TBarSeries::CalcXPos(int valueIndex) {
  const int half = BarThickness >> 1;
  long long x;
  switch (GetMultiBar()) {
    case mbSideAll: {
      const TChartAxis* axis = GetHorizAxisObj();
      x = (axis ? axis->CalcXPosValue(static_cast<double>(valueIndex) + PointsBefore) : 0) - half;
      break;
    }
    case mbSelfStack:
      x = static_cast<long long>(CalcXPosValue(MinXValue())) - half;
      break;
    case mbNone:
      x = static_cast<long long>(TChartSeries::CalcXPos(valueIndex)) - half;
      break;
    default:
      x = TChartSeries::CalcXPos(valueIndex) +
          static_cast<long long>(Round((BarOrder - SideBySideCount * 0.5L - 1.0L) *
                                       static_cast<long double>(BarThickness)));
      break;
  }
  return ApplyBarOffset(Sat(x));
}

int TBarSeries::CalcYPos(int valueIndex) {
  switch (GetMultiBar()) {
    case mbStacked:
    case mbSelfStack:
      return CalcYPosValue(PointOrigin(valueIndex, false) + YValues()->GetValue(valueIndex));
    case mbStacked100:
      return CalcYPosValue(StackedPercent(
          valueIndex, PointOrigin(valueIndex, false) + YValues()->GetValue(valueIndex)));
    default:
      return TChartSeries::CalcYPos(valueIndex);
  }
}

void TBarSeries::CalcBarBounds(int valueIndex) {
  const TChartPen* pen = GetBarPen();
  const int w = pen->GetVisible() ? std::max(1, pen->GetWidth()) : 0;
  const int left = CalcXPos(valueIndex);
  long long right;
  if (GetBarWidthPercent() != 100 || customBarWidth_ != 0 || GetMultiBar() == mbSelfStack) {
    right = static_cast<long long>(left) + BarThickness + 1;
  } else if (const TChartAxis* axis = GetHorizAxisObj(); axis && axis->GetInverted()) {
    right =
        valueIndex > 0 ? CalcXPos(valueIndex - 1) : static_cast<long long>(left) + BarThickness + w;
  } else {
    right = valueIndex < Count() - 1 ? CalcXPos(valueIndex + 1) + 1LL - w / 2
                                     : static_cast<long long>(left) + BarThickness + 1 - w / 2;
  }
  int top = CalcYPos(valueIndex);
  int bottom = GetOriginPos(valueIndex);
  if (!pen->GetVisible()) {
    if (bottom > top)
      bottom = Sat(bottom + 1LL);
    else
      top = Sat(top + 1LL);
    ++right;
  }
  BarRect = TRect{left, top, Sat(right), bottom};
}

void TBarSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  const TMarksCallout* callout = Marks()->GetCallout();
  const int distance = callout->GetDistance();
  long long d = static_cast<long long>(callout->GetLength()) + distance;
  if (GetOriginPos(valueIndex) < position.ArrowStart.Y) {
    // A bar that hangs down: the mark goes below its end.
    position.ArrowStart.Y = Sat(position.ArrowStart.Y + static_cast<long long>(distance));
    d = -d - position.Height;
  } else {
    position.ArrowStart.Y = Sat(position.ArrowStart.Y - static_cast<long long>(distance));
  }
  const int half = BarThickness / 2;
  position.TopLeft.X = Sat(position.TopLeft.X + static_cast<long long>(half));
  position.TopLeft.Y = Sat(position.TopLeft.Y - d);
  position.ArrowEnd.X = Sat(position.ArrowEnd.X + static_cast<long long>(half));
  position.ArrowEnd.Y = Sat(position.ArrowEnd.Y - d);
  position.ArrowStart.X = Sat(position.ArrowStart.X + static_cast<long long>(half));
  if (GetAutoMarkPosition()) Marks()->AntiOverlap(FirstVisible, valueIndex, position);
  TChartSeries::DrawMark(valueIndex, text, position);
}

double TBarSeries::MaxXValue() {
  switch (GetMultiBar()) {
    case mbSideAll:
      return static_cast<double>(Count()) + PointsBefore - 1;
    case mbSelfStack:
      return MinXValue();
    default:
      return TChartSeries::MaxXValue();
  }
}

double TBarSeries::MinXValue() {
  if (GetMultiBar() == mbSelfStack) {
    TCustomAxisPanel* chart = GetParentChart();
    return chart ? chart->SeriesList().IndexOf(this) : 0;
  }
  return TChartSeries::MinXValue();
}

double TBarSeries::MaxYValue() {
  return MaxMandatoryValue(TChartSeries::MaxYValue());
}

double TBarSeries::MinYValue() {
  return MinMandatoryValue(TChartSeries::MinYValue());
}

bool TBarSeries::MoreSameZOrder() const {
  return GetMultiBar() == mbSideAll ? false : TChartSeries::MoreSameZOrder();
}

bool TBarSeries::DrawSeriesForward(int valueIndex) const {
  const TChartAxis* axis = GetVertAxisObj();
  const bool inverted = axis && axis->GetInverted();
  switch (GetMultiBar()) {
    case mbStacked:
    case mbSelfStack: {
      const bool up = YValues()->GetValue(valueIndex) >= GetYOrigin();
      return inverted ? !up : up;
    }
    case mbStacked100:
      return !inverted;
    default:
      return TChartSeries::DrawSeriesForward(valueIndex);
  }
}

int TBarSeries::InternalCalcMarkLength(int /*valueIndex*/) {
  TCustomAxisPanel* chart = GetParentChart();
  return chart && chart->GetCanvas3D() ? chart->GetCanvas3D()->GetFontHeight() : 0;
}

}  // namespace chart
