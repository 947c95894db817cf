// Fast line series: a plain polyline with pixel skipping, stairs and nulls, and the incremental
// drawing of a newly added point.
#include "chart/series/fast_line_series.h"

#include <functional>
#include <utility>

#include "chart/canvas/canvas3d.h"
#include "chart/common/hit_test.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"

namespace chart {

// ---- Construction and settings -----------------------------------------------------------------

TFastLineSeries::TFastLineSeries(platform::TComponent* Owner) : TCustomLineSeries(Owner) {
  // A function of all the points shows as a level line across them, not one middle point.
  CentredFunctionPoint = false;
}

void TFastLineSeries::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TFastLineSeries*>(source)) {
    autoRepaint_ = other->autoRepaint_;
    drawAllPoints_ = other->drawAllPoints_;
    FastPen = other->FastPen;
    ignoreNulls_ = other->ignoreNulls_;
    invertedStairs_ = other->invertedStairs_;
    stairs_ = other->stairs_;
  }
  TCustomLineSeries::Assign(source);
}

void TFastLineSeries::SetPen(const TChartPen* value) {
  if (!value) return;
  TCustomLineSeries::SetPen(value);
  SetSeriesColor(GetLinePen()->GetColor());
}

void TFastLineSeries::SetSeriesColor(TColor color) {
  TCustomLineSeries::SetSeriesColor(color);
  GetLinePen()->SetColor(color);
}

void TFastLineSeries::FollowAutomaticColor() {
  // The chart sets the automatic colour without SetSeriesColor (on joining, on a new palette).
  if (IsColorStored() || InternalSeriesColor == followedColor_) return;
  followedColor_ = InternalSeriesColor;
  if (followedColor_ == platform::clDefault) return;
  // Quietly: it happens while drawing, and a direct segment must not repaint the chart.
  TChartPen* pen = GetLinePen();
  std::function<void()> onChange;
  std::swap(onChange, pen->OnChange);
  pen->SetColor(followedColor_);
  std::swap(onChange, pen->OnChange);
}

// ---- Position and margins ----------------------------------------------------------------------

void TFastLineSeries::CalcPosition(int valueIndex, int& x, int& y) {
  const TChartAxis* h = GetHorizAxisObj();
  const TChartAxis* v = GetVertAxisObj();
  x = h ? h->CalcXPosValue(XValues()->GetValue(valueIndex)) : 0;
  y = v ? v->CalcYPosValue(YValues()->GetValue(valueIndex)) : 0;
}

namespace {

// Half the pen on each side, rounded up: 1, 2, 3, 3, 4 ... for widths 1, 2, 3, 4, 5.
int PenMargin(const TChartPen* pen) {
  const int w = pen->GetWidth();
  return w - (w - 2) / 2;
}

}  // namespace

void TFastLineSeries::CalcHorizMargins(int& left, int& right) {
  TCustomLineSeries::CalcHorizMargins(left, right);
  const int m = PenMargin(GetLinePen());
  left += m;
  right += m;
}

void TFastLineSeries::CalcVerticalMargins(int& top, int& bottom) {
  TCustomLineSeries::CalcVerticalMargins(top, bottom);
  const int m = PenMargin(GetLinePen());
  top += m;
  bottom += m;
}

// ---- Drawing -----------------------------------------------------------------------------------

void TFastLineSeries::PrepareCanvas() {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  FollowAutomaticColor();
  canvas->AssignVisiblePen(GetLinePen());
  if (canvas->Brush) canvas->Brush->SetStyle(platform::bsClear);
  canvas->SetBackMode(cbmTransparent);
}

void TFastLineSeries::MoveToPoint(TCanvas3D& canvas, bool is3D, int x, int y) {
  if (is3D)
    canvas.MoveTo3D(x, y, MiddleZ);
  else
    canvas.MoveTo(x, y);
}

void TFastLineSeries::DrawAllValues() {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || FirstVisible < 0 || FirstVisible >= Count()) return;
  PrepareCanvas();
  const int start = FirstVisible > 0 ? FirstVisible - 1 : FirstVisible;
  CalcPosition(start, PrevX, PrevY);
  MoveToPoint(*canvas, chart->GetView3D(), PrevX, PrevY);
  if (FirstVisible > 0) DrawValue(FirstVisible);
  for (int i = FirstVisible + 1; i <= LastVisible && i < Count(); ++i) DrawValue(i);
}

void TFastLineSeries::DrawValue(int valueIndex) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  int x, y;
  CalcPosition(valueIndex, x, y);
  if (x == PrevX && (!drawAllPoints_ || y == PrevY)) return;
  const bool is3D = chart->GetView3D();
  if (ignoreNulls_ || GetValueColor(valueIndex) != platform::clNone) {
    auto lineTo = [&](int tx, int ty) {
      if (is3D)
        canvas->LineTo3D(tx, ty, MiddleZ);
      else
        canvas->LineTo(tx, ty);
    };
    if (stairs_) {
      if (invertedStairs_)
        lineTo(PrevX, y);
      else
        lineTo(x, PrevY);
    }
    lineTo(x, y);
  } else {
    // A null breaks the line: the next segment starts from here.
    MoveToPoint(*canvas, is3D, x, y);
  }
  PrevX = x;
  PrevY = y;
}

void TFastLineSeries::NotifyNewValue(TChartSeries* sender, int valueIndex) {
  if (autoRepaint_) {
    TCustomLineSeries::NotifyNewValue(sender, valueIndex);
    return;
  }
  // Handlers and linked series still hear of the point; only the repaint is left out.
  if (OnAfterAdd) OnAfterAdd(sender, valueIndex);
  NotifyValue(veAdd, valueIndex);
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || !GetActive() || valueIndex < 0 || valueIndex >= Count()) return;
  CalcPosition(valueIndex > 0 ? valueIndex - 1 : 0, PrevX, PrevY);
  FollowAutomaticColor();
  canvas->AssignVisiblePen(GetLinePen());
  MoveToPoint(*canvas, chart->GetView3D(), PrevX, PrevY);
  DrawValue(valueIndex);
  // The window shows the segment now; the kept image no longer holds every point, so the next
  // paint draws the chart again instead of copying it.
  canvas->Invalidate();
  chart->WindowImageChanged();
}

// ---- Hit test, legend, marks -------------------------------------------------------------------

int TFastLineSeries::Clicked(int x, int y) {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || FirstVisible < 0) return -1;
  TCanvas3D* canvas = chart->GetCanvas3D();
  if (chart->GetView3D() && canvas) canvas->Calculate2DPosition(x, y, MiddleZ);
  const TPoint click{x, y};
  int prevX = 0, prevY = 0;
  for (int i = FirstVisible; i <= LastVisible && i < Count(); ++i) {
    int px, py;
    CalcPosition(i, px, py);
    if (px == x && py == y) return i;
    if (i > FirstVisible && PointInLine(click, prevX, prevY, px, py)) return i - 1;
    prevX = px;
    prevY = py;
  }
  return -1;
}

void TFastLineSeries::DrawLegendShape(int /*valueIndex*/, const TRect& rect) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  PrepareCanvas();
  canvas->DoHorizLine(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
}

void TFastLineSeries::PrepareLegendCanvas(int /*valueIndex*/, TColor& /*backColor*/,
                                          platform::TBrushStyle& brushStyle) {
  // The symbol is a line: nothing to fill.
  brushStyle = platform::bsClear;
}

void TFastLineSeries::DrawMark(int valueIndex, const std::string& text,
                               TSeriesMarkPosition& position) {
  Marks()->ApplyArrowLength(position);
  TCustomLineSeries::DrawMark(valueIndex, text, position);
}

// ---- Gallery -----------------------------------------------------------------------------------

void TFastLineSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  TCustomLineSeries::CreateSubGallery(addSubChart);
  if (!addSubChart) return;
  addSubChart(PlotMsg_Marks);
  addSubChart(PlotMsg_Dotted);
  addSubChart(PlotMsg_Stairs);
}

void TFastLineSeries::SetSubGallery(int index) {
  switch (index) {
    case 1:
      Marks()->SetVisible(true);
      break;
    case 2:
      GetLinePen()->SetSmallDots(true);
      break;
    case 3:
      SetStairs(true);
      break;
    default:
      TCustomLineSeries::SetSubGallery(index);
      break;
  }
}

}  // namespace chart
