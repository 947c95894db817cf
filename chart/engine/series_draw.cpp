// How a series takes part in the chart's drawing pass: its Z slot and depths, the order its
// points are drawn in, the measuring and placing of its marks, its legend symbol, the mapping of
// its points to pixels and texts through its axes, and what lies under the mouse.
#include <algorithm>
#include <climits>
#include <string>

#include "chart/common/format_float.h"
#include "chart/common/html_text.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

// AutoRepaint off for a scope.
struct NoRepaint {
  explicit NoRepaint(TCustomAxisPanel& c) : chart(c), saved(c.AutoRepaint) {
    chart.AutoRepaint = false;
  }
  ~NoRepaint() { chart.AutoRepaint = saved; }
  NoRepaint(const NoRepaint&) = delete;
  NoRepaint& operator=(const NoRepaint&) = delete;
  TCustomAxisPanel& chart;
  bool saved;
};

}  // namespace

// ---- Z order and depth --------------------------------------------------------------------------

void TChartSeries::CalcZOrder() {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  const bool is3D = chart->GetView3D();
  if (!IsZOrderAutomatic()) {
    if (is3D) chart->MaxZOrder = std::max(chart->MaxZOrder, GetZOrder());
  } else if (is3D) {
    AutoZOrder = Sat(static_cast<long long>(chart->MaxZOrder) + 1);
    chart->MaxZOrder = AutoZOrder;
  } else {
    AutoZOrder = 0;
  }
}

void TChartSeries::CalcDepthPositions() {
  const int width = GetParentChart() ? GetParentChart()->SeriesWidth3D : 0;
  const long long start = static_cast<long long>(width) * ZPosition;
  const long long end = start + (depth_ == -1 ? width : depth_);
  StartZ = Sat(start);
  EndZ = Sat(end);
  MiddleZ = Sat((start + end) / 2);
  marks_->ZPosition = MiddleZ;
}

bool TChartSeries::MoreSameZOrder() const {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || !chart->GetView3D()) return false;
  for (TChartSeries* s : chart->SeriesList().Items())
    if (s != this && s->GetActive() && s->GetZOrder() == GetZOrder()) return true;
  return false;
}

bool TChartSeries::FirstInZOrder() const {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return false;
  for (TChartSeries* s : chart->SeriesList().Items())
    if (s->GetActive() && s->GetZOrder() == GetZOrder()) return s == this;
  return false;
}

// ---- Points -------------------------------------------------------------------------------------

void TChartSeries::DrawAllValues() {
  if (FirstVisible < 0) return;
  // By index and checked each time: a DrawValue may change the points.
  if (DrawValuesForward()) {
    for (int i = FirstVisible; i <= LastVisible && i < Count(); ++i) DrawValue(i);
  } else {
    for (int i = LastVisible; i >= FirstVisible; --i)
      if (i < Count()) DrawValue(i);
  }
}

bool TChartSeries::DrawValuesForward() const {
  if (yIsValue_) {
    bool forward = !(horizAxisObj_ && horizAxisObj_->GetInverted());
    if (GetParentChart() && GetParentChart()->RotationInverted) forward = !forward;
    return forward;
  }
  return !(vertAxisObj_ && vertAxisObj_->GetInverted());
}

bool TChartSeries::DrawSeriesForward(int /*valueIndex*/) const {
  return !(GetParentChart() && GetParentChart()->RotationInverted);
}

// ---- Marks --------------------------------------------------------------------------------------

void TChartSeries::DrawMarks() {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || FirstVisible < 0) return;
  TCanvas3D& canvas = *chart->GetCanvas3D();
  TSeriesMarks& marks = *marks_;
  const int every = std::max(1, marks.GetDrawEvery());
  const bool zoomFont = chart->GetView3D() && !canvas.GetSupports3DText() &&
                        chart->GetView3DOptions()->GetZoomText() &&
                        chart->GetView3DOptions()->GetZoom() != 100;
  TSeriesMarkPosition position;
  for (int i = FirstVisible; i <= LastVisible && i < Count(); ++i) {
    if (i % every != 0 || IsNull(i)) continue;
    const std::string text = GetMarkText(i);
    if (text.empty()) continue;
    TPlotCustomShape* item = marks.MarkItem(i);
    if (!item || !item->GetVisible()) continue;
    canvas.AssignFont(item->GetFont());
    if (zoomFont && canvas.Font) {
      const long double zoomed = static_cast<long double>(canvas.Font->GetSize()) *
                                 chart->GetView3DOptions()->GetZoom() * 0.01L;
      canvas.Font->SetSize(std::max(1, PlotClampPixel(zoomed)));
    }
    const int fontHeight = canvas.GetFontHeight();
    long long width, height;
    // Measured as DrawText writes it: in the marks' format, not the item's.
    if (marks.GetTextFormat() == ttfHtml) {
      const THtmlSize size = HtmlTextExtent(canvas, text);
      width = size.Width;
      height = size.Height;
    } else {
      int lines = 0;
      width = chart->MultiLineTextWidth(text, lines);
      height = static_cast<long long>(lines) * fontHeight;
    }
    width += canvas.TextWidth("W");
    const TSeriesMarksSymbol* symbol = marks.SymbolIfAny();
    const bool withSymbol = symbol && symbol->ShouldDraw();
    if (withSymbol) width += fontHeight - 4;
    TChartPen* frame = item->GetFrame();
    if (frame) canvas.AssignVisiblePen(frame);
    const long long grow = frame && frame->GetVisible() ? 2LL * frame->GetWidth() : 1;
    width += grow;
    height += grow;

    position = TSeriesMarkPosition{};
    position.Width = Sat(width);
    position.Height = Sat(height);
    const int x = CalcXPos(i);
    const int y = CalcYPos(i);
    position.ArrowStart = TPoint{x, y};
    position.ArrowEnd = TPoint{x, y};
    position.TopLeft = TPoint{Sat(x - static_cast<long long>(position.Width / 2)),
                              Sat(static_cast<long long>(y) - position.Height + 1)};
    if (withSymbol) {
      TSeriesMarksSymbol* s = marks.GetSymbol();
      s->ShapeBounds.Left = Sat(position.TopLeft.X + 2LL);
      s->ShapeBounds.Top = Sat(static_cast<long long>(y) - position.Height + 3);
      s->SetWidth(fontHeight);
      s->SetHeight(fontHeight);
    }
    DrawMark(i, text, position);
  }
}

void TChartSeries::DrawMark(int valueIndex, const std::string& text,
                            TSeriesMarkPosition& position) {
  marks_->InternalDraw(valueIndex, GetValueColor(valueIndex), text, position);
}

int TChartSeries::MaxMarkWidth() {
  int widest = 0;
  for (int i = 0; i < Count(); ++i) {
    TPlotCustomShape* item = marks_->MarkItem(i);
    if (item && item->GetVisible()) widest = std::max(widest, marks_->TextWidth(i));
  }
  return widest;
}

// ---- Legend symbol ------------------------------------------------------------------------------

void TChartSeries::DrawLegend(int valueIndex, const TRect& rect) {
  if (valueIndex == -1 && colorEachPoint_) return;
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  NoRepaint noRepaint(*chart);
  TCanvas3D& canvas = *chart->GetCanvas3D();
  const TColor color = valueIndex == -1 ? GetSeriesColor() : LegendItemColor(valueIndex);
  if (canvas.Brush) canvas.Brush->SetColor(color);
  if (color == platform::clNone) return;
  TChartBrush* brush = GetBrush();
  if (!brush) return;
  TColor backColor = chart->LegendBackColor;
  platform::TBrushStyle brushStyle = brush->GetStyle();
  canvas.AssignVisiblePen(GetPen());
  PrepareLegendCanvas(valueIndex, backColor, brushStyle);
  if (chart->LegendPen) canvas.AssignVisiblePen(chart->LegendPen);
  if (backColor == platform::clDefault) {
    backColor = chart->LegendBackColor;
    if (backColor == platform::clDefault) backColor = chart->GetColor();
  }
  const platform::TBrushStyle saved = brush->GetStyle();
  const platform::TPicture* image = brush->ImageIfAny();
  const bool noImage = !image || !image->Graphic() || image->Graphic()->Empty();
  const bool changeStyle = brushStyle != saved && noImage;
  if (changeStyle) brush->SetStyle(brushStyle);
  struct PutBack {
    TChartBrush* brush;
    platform::TBrushStyle style;
    bool active;
    ~PutBack() {
      if (active) brush->SetStyle(style);
    }
  } putBack{brush, saved, changeStyle};
  chart->SetBrushCanvas(color, brush, backColor);
  DrawLegendShape(valueIndex, rect);
}

void TChartSeries::DrawLegendShape(int /*valueIndex*/, const TRect& rect) {
  if (TCustomAxisPanel* chart = GetParentChart()) chart->DrawLegendShape(rect);
}

// ---- Pixels -------------------------------------------------------------------------------------

int TChartSeries::CalcXPos(int valueIndex) {
  return horizAxisObj_ ? horizAxisObj_->CalcXPosValue(GetxValue(valueIndex)) : 0;
}

int TChartSeries::CalcYPos(int valueIndex) {
  return vertAxisObj_ ? vertAxisObj_->CalcYPosValue(GetyValue(valueIndex)) : 0;
}

int TChartSeries::CalcXPosValue(double value) const {
  return horizAxisObj_ ? horizAxisObj_->CalcXPosValue(value) : 0;
}

int TChartSeries::CalcYPosValue(double value) const {
  return vertAxisObj_ ? vertAxisObj_->CalcYPosValue(value) : 0;
}

int TChartSeries::CalcPosValue(double value) const {
  return yIsValue_ ? CalcYPosValue(value) : CalcXPosValue(value);
}

int TChartSeries::CalcXSizeValue(double value) const {
  return horizAxisObj_ ? horizAxisObj_->CalcSizeValue(value) : 0;
}

int TChartSeries::CalcYSizeValue(double value) const {
  return vertAxisObj_ ? vertAxisObj_->CalcSizeValue(value) : 0;
}

double TChartSeries::XScreenToValue(int pixel) const {
  return horizAxisObj_ ? horizAxisObj_->CalcPosPoint(pixel) : 0;
}

double TChartSeries::YScreenToValue(int pixel) const {
  return vertAxisObj_ ? vertAxisObj_->CalcPosPoint(pixel) : 0;
}

std::string TChartSeries::XValueToText(double value) const {
  return horizAxisObj_ ? horizAxisObj_->LabelValue(value) : FormatFloat(valueFormat_, value);
}

std::string TChartSeries::YValueToText(double value) const {
  return vertAxisObj_ ? vertAxisObj_->LabelValue(value) : FormatFloat(valueFormat_, value);
}

// ---- The mouse ----------------------------------------------------------------------------------

int TChartSeries::GetCursorValueIndex() {
  const TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return -1;
  const TPoint p = chart->GetCursorPos();
  return Clicked(p.X, p.Y);
}

void TChartSeries::GetCursorValues(double& x, double& y) const {
  x = y = 0;
  const TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  const TPoint p = chart->GetCursorPos();
  x = XScreenToValue(p.X);
  y = YScreenToValue(p.Y);
}

}  // namespace chart
