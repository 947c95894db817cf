// The layout of one paint, without drawing: the series' Z slots and depths, the 3D depth of the
// chart, which axes show, the room each axis takes from the chart rectangle (titles outermost,
// then labels, then wall and ticks), the axes' spans and ranges, and the series' margins.
#include <algorithm>
#include <climits>

#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

// The common part of a and b when it is not empty.
bool Intersect(const TRect& a, const TRect& b, TRect& out) {
  const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom)};
  if (r.Left >= r.Right || r.Top >= r.Bottom) return false;
  out = r;
  return true;
}

std::string FormatPercentMessage(std::string text, int low, int high) {
  for (int v : {low, high}) {
    const size_t at = text.find("%d");
    if (at == std::string::npos) break;
    text.replace(at, 2, std::to_string(v));
  }
  return text;
}

}  // namespace

// ---- Room of one axis --------------------------------------------------------------------------

int TChartAxis::SizeTickAxis() const {
  long long size = 0;
  if (axisPen_->GetVisible()) size += axisPen_->GetWidth() + 1LL;
  if (ticks_->GetVisible()) size += tickLength_;
  if (minorTicks_->GetVisible() && minorTickLength_ > size) size = minorTickLength_;
  return Sat(size);
}

int TChartAxis::InternalCalcSize(TPlotFont* font, int angle, int size, const std::string& text) {
  if (size != 0) return size;
  TCanvas3D* canvas = chart_ ? chart_->GetCanvas3D() : nullptr;
  if (!font || !canvas) return 0;
  const bool alongThin = horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
  if (alongThin) {
    canvas->AssignFont(font);
    return canvas->GetFontHeight();
  }
  if (text.empty()) return MaxLabelsWidth();
  canvas->AssignFont(font);
  return canvas->TextWidth(text);
}

int TChartAxis::SizeLabels() {
  const int size = InternalCalcSize(GetLabelsFont(), labelsAngle_, labelsSize_, "");
  return labelsAlternate_ ? Sat(2LL * size) : size;
}

int TChartAxis::InflateAxisPos(int pos, int amount) const {
  // Top and left axes grow upwards and leftwards.
  return horizontal_ == otherSide_ ? Sat(static_cast<long long>(pos) - amount)
                                   : Sat(static_cast<long long>(pos) + amount);
}

void TChartAxis::InflateAxisRect(TRect& r, int amount) const {
  if (horizontal_) {
    if (otherSide_)
      r.Top = Sat(static_cast<long long>(r.Top) + amount);
    else
      r.Bottom = Sat(static_cast<long long>(r.Bottom) - amount);
  } else if (otherSide_) {
    r.Right = Sat(static_cast<long long>(r.Right) - amount);
  } else {
    r.Left = Sat(static_cast<long long>(r.Left) + amount);
  }
}

void TChartAxis::CalcRect(TRect& r, bool inflateChartRectangle) {
  isDateTime_ = IsDateTime();
  if (!inflateChartRectangle) {
    PosAxis = ApplyPosition(GetRectangleEdge(r), r);
    PosLabels = InflateAxisPos(PosAxis, SizeTickAxis());
    PosTitle = InflateAxisPos(PosLabels, SizeLabels());
    return;
  }
  if (IsDepthAxis()) {
    PosTitle = otherSide_ ? r.Right : r.Left;
  } else if (title_->GetVisible() && !title_->GetCaption().empty()) {
    InflateAxisRect(r, InternalCalcSize(title_->GetFont(), title_->GetAngle(), titleSize_,
                                        title_->GetCaption()));
    PosTitle = GetRectangleEdge(r);
  }
  if (GetLabels()) {
    int size = SizeLabels();
    if (chart_ && chart_->Axes().OnCalcLabelsSize) chart_->Axes().OnCalcLabelsSize(this, size);
    InflateAxisRect(r, size);
    PosLabels = GetRectangleEdge(r);
  }
  const long long room =
      static_cast<long long>(chart_ ? chart_->CalcWallSize(this) : 0) + SizeTickAxis();
  if (room > 0) InflateAxisRect(r, Sat(room));
  PosTitle = ApplyPosition(PosTitle, r);
  PosLabels = ApplyPosition(PosLabels, r);
}

// ---- Layout pass of the panel ------------------------------------------------------------------

void TCustomAxisPanel::Set3DPercent(int value) {
  if (value < 1 || value > 100)
    throw platform::Exception(FormatPercentMessage(PlotMsg_3dPercent, 1, 100));
  SetIntegerProperty(chart3DPercent_, value);
}

void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent event) {
  // By index: a tool may change the list.
  for (int i = 0; i < tools_->Count(); ++i) {
    TPlotCustomTool* tool = tools_->Get(i);
    if (tool->GetActive()) tool->ChartEvent(event);
  }
}

void TCustomAxisPanel::MouseLeave() {
  TCustomPlotPanelExtended::MouseLeave();
  BroadcastToolEvent(cteMouseLeave);
}

void TCustomAxisPanel::FreeTools() {
  for (int i = 0; i < tools_->Count(); ++i)
    if (auto* t = dynamic_cast<TPlotCustomToolAxis*>(tools_->Get(i))) t->ForgetAxis();
  tools_->Clear();
}

void TCustomAxisPanel::CalcLayout(const TRect& chartRect) {
  // Settings changed on the way (events, automatic ranges) queue no paint.
  struct Restore {
    bool& flag;
    bool saved;
    ~Restore() { flag = saved; }
  } restore{AutoRepaint, AutoRepaint};
  AutoRepaint = false;
  ChartRect = chartRect;
  ReCalcWidthHeight();
  CalcInvertedRotation();
  CalcZOrder();
  CalcWallsRect();
  CalcAxesLayout();
  for (TChartSeries* s : SeriesList().Items())
    if (s->GetActive()) s->CalcDepthPositions();
  CalcSeriesMargins();
  // The line where drawing puts it, so that the layout alone describes every axis.
  for (TChartAxis* axis : AxesList())
    if (axis->LayoutVisible())
      axis->PosAxis = axis->ApplyPosition(axis->GetRectangleEdge(ChartRect), ChartRect);
}

void TCustomAxisPanel::CalcInvertedRotation() {
  RotationInverted = false;
  if (!GetView3D()) return;
  const TView3DOptions* o = GetView3DOptions();
  RotationInverted = o->GetOrthogonal() ? o->GetOrthoAngle() > 90 : o->GetRotation() <= 179;
}

void TCustomAxisPanel::CalcZOrder() {
  const bool is3D = GetView3D();
  MaxZOrder = is3D ? -1 : 0;
  // Each series takes its slot (bar series may share one with an earlier bar series).
  for (TChartSeries* s : SeriesList().Items())
    if (s->GetActive()) s->CalcZOrder();
  const bool inverted = DepthAxis()->GetInverted();
  for (TChartSeries* s : SeriesList().Items()) {
    if (!s->GetActive()) continue;
    if (!is3D)
      s->ZPosition = 0;
    else
      s->ZPosition =
          inverted ? s->GetZOrder() : Sat(static_cast<long long>(MaxZOrder) - s->GetZOrder());
  }
}

void TCustomAxisPanel::CalcSize3DWalls() {
  if (!GetView3D()) {
    SeriesWidth3D = SeriesHeight3D = Depth3D = Depth3DY = 0;
    return;
  }
  const TView3DOptions* o = GetView3DOptions();
  long double f = chart3DPercent_ * 0.001L;
  if (!o->GetOrthogonal()) f *= 2;
  SeriesWidth3D = PlotClampPixel(ChartWidth * f);
  const double r = o->CalcOrthoRatio();
  if (r > 1) SeriesWidth3D = PlotClampPixel(SeriesWidth3D / static_cast<long double>(r));
  SeriesHeight3D = PlotClampPixel(SeriesWidth3D * static_cast<long double>(r));
  const long long c = std::max(1LL, static_cast<long long>(MaxZOrder) + 1);
  Depth3DY = Sat(c * SeriesHeight3D);
  Depth3D = Sat(c * SeriesWidth3D);
}

bool TCustomAxisPanel::HasActiveSeries(const TChartAxis* axis) const {
  bool anyActive = false;
  for (TChartSeries* s : SeriesList().Items()) {
    if (!s->GetActive()) continue;
    anyActive = true;
    if (!s->UseAxis()) return false;
    if (s->AssociatedToAxis(axis)) return true;
  }
  return !anyActive;
}

bool TCustomAxisPanel::NoActiveSeries(const TChartAxis* axis) const {
  for (TChartSeries* s : SeriesList().Items())
    if (s->GetActive() && s->AssociatedToAxis(axis)) return false;
  return true;
}

bool TCustomAxisPanel::CalcIsAxisVisible(const TChartAxis* axis) const {
  if (!axis || !GetAxisVisible() || !axis->GetVisible()) return false;
  return axis->IsDepthAxis() ? GetView3D() : HasActiveSeries(axis);
}

void TCustomAxisPanel::CalcAxesLayout() {
  for (TChartAxis* axis : AxesList()) {
    axis->SetLayoutVisible(CalcIsAxisVisible(axis));
    axis->AdjustMaxMin();
  }
  for (TChartAxis* axis : AxesList()) axis->InternalCalcPositions();
  TRect r = ChartRect;
  const auto& axes = AxesList();
  for (size_t i = 0; i < axes.size(); ++i) {
    if (!axes[i]->LayoutVisible()) {
      // A hidden axis takes no room; the program may still want its labels placed.
      if (!Axes().OnCalcPosLabels) continue;
      TRect edge = r;
      axes[i]->CalcRect(edge, false);
      Axes().OnCalcPosLabels(axes[i], axes[i]->PosLabels);
      continue;
    }
    TRect room = r;
    axes[i]->CalcRect(room, i < 5);
    Intersect(room, r, r);
  }
  ChartRect = r;
  ReCalcWidthHeight();
  for (TChartAxis* axis : AxesList()) axis->InternalCalcPositions();
}

void TCustomAxisPanel::CalcSeriesMargins() {
  for (TChartAxis* axis : AxesList()) {
    TRect m{0, 0, 0, 0};
    for (TChartSeries* s : SeriesList().Items()) {
      if (!s->GetActive() || !s->AssociatedToAxis(axis)) continue;
      int a = 0, b = 0;
      if (axis->Horizontal()) {
        s->CalcHorizMargins(a, b);
        if (axis->GetAutomaticMinimum()) m.Left = std::max(m.Left, a);
        if (axis->GetAutomaticMaximum()) m.Right = std::max(m.Right, b);
      } else {
        s->CalcVerticalMargins(a, b);
        if (axis->GetAutomaticMaximum()) m.Top = std::max(m.Top, a);
        if (axis->GetAutomaticMinimum()) m.Bottom = std::max(m.Bottom, b);
      }
    }
    int minOffset = axis->GetMinimumOffset();
    int maxOffset = axis->GetMaximumOffset();
    const bool offset = minOffset != 0 || maxOffset != 0;
    if (axis->GetInverted()) std::swap(minOffset, maxOffset);
    if (axis->Horizontal()) {
      m.Left = Sat(static_cast<long long>(m.Left) + minOffset);
      m.Right = Sat(static_cast<long long>(m.Right) + maxOffset);
    } else {
      m.Bottom = Sat(static_cast<long long>(m.Bottom) + minOffset);
      m.Top = Sat(static_cast<long long>(m.Top) + maxOffset);
    }
    // No margins: the range stays exactly as AdjustMaxMin left it.
    if (m.Left != 0 || m.Right != 0 || m.Top != 0 || m.Bottom != 0) axis->AdjustMaxMinRect(m);
    // The wider range may need wider labels: the title stands outside the labels' new size.
    if (offset && axis->LayoutVisible() && !axis->IsDepthAxis() && axis->GetLabels())
      axis->PosTitle = axis->InflateAxisPos(axis->PosLabels, axis->SizeLabels());
  }
}

}  // namespace chart
