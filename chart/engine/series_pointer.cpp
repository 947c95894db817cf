#include "chart/engine/series_pointer.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas3d.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"
#include "chart/engine/series_marks.h"

namespace chart {

bool PlotCheckMarkArrowColor = false;

namespace {

TCustomPlotPanel* ChartOf(TChartSeries* series) {
  return series ? series->GetParentChart() : nullptr;
}

void CheckPointerSize(int value) {
  if (value <= 0) throw ChartException(PlotMsg_CheckPointerSize);
}

TRect Union(const TRect& a, const TRect& b) {
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

}  // namespace

// ---- TSeriesPointer ----------------------------------------------------------------------------

TSeriesPointer::TSeriesPointer(TChartSeries* series)
    : TPlotCustomShapeBrushPen(ChartOf(series)), series_(series) {}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
  if (value == style_) return;
  style_ = value;
  Repaint();
}

void TSeriesPointer::SetHorizSize(int value) {
  CheckPointerSize(value);
  if (value == horizSize_) return;
  horizSize_ = value;
  Repaint();
}

void TSeriesPointer::SetVertSize(int value) {
  CheckPointerSize(value);
  if (value == vertSize_) return;
  vertSize_ = value;
  Repaint();
}

void TSeriesPointer::SetSize(int value) {
  CheckPointerSize(value);
  SetHorizSize(value);
  SetVertSize(value);
}

void TSeriesPointer::SetInflateMargins(bool value) {
  SetBooleanProperty(inflateMargins_, value);
}

void TSeriesPointer::SetDark3D(bool value) {
  SetBooleanProperty(dark3D_, value);
}

void TSeriesPointer::SetDraw3D(bool value) {
  SetBooleanProperty(draw3D_, value);
}

TCustomPlotGradient* TSeriesPointer::GetGradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotGradient>([this] { CanvasChanged(); });
  return gradient_.get();
}

void TSeriesPointer::SetTransparency(int value) {
  value = std::clamp(value, 0, 100);
  if (value == transparency_) return;
  transparency_ = value;
  Repaint();
}

TColor TSeriesPointer::GetColor() const {
  return GetBrush()->GetColor();
}

void TSeriesPointer::SetColor(TColor value) {
  GetBrush()->SetColor(value);
}

void TSeriesPointer::CalcHorizMargins(int& left, int& right) const {
  if (!GetVisible() || !inflateMargins_) return;
  left = std::max(left, horizSize_ + 1);
  right = std::max(right, horizSize_ + 1);
}

void TSeriesPointer::CalcVerticalMargins(int& top, int& bottom) const {
  if (!GetVisible() || !inflateMargins_) return;
  top = std::max(top, vertSize_ + 1);
  bottom = std::max(bottom, vertSize_ + 1);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D* canvas, TColor color) {
  if (!canvas || !canvas->Pen || !canvas->Brush) return;
  TChartPen* pen = GetFrame();
  if (!pen->GetVisible())
    canvas->Pen->SetStyle(platform::psClear);
  else if (pen->GetColor() == platform::clDefault)
    canvas->AssignVisiblePenColor(pen, color);
  else
    canvas->AssignVisiblePen(pen);
  TChartBrush* brush = GetBrush();
  TColor fill = brush->GetColor();
  if (fill == platform::clDefault)
    fill = brush->GetStyle() == platform::bsSolid ? color : platform::clBlack;
  const TColor back = ParentChart() ? ParentChart()->GetBackColor() : platform::clWhite;
  canvas->AssignBrushColor(brush, fill, back);
}

void TSeriesPointer::Prepare() {
  if (ParentChart()) PrepareCanvas(ParentChart()->GetCanvas3D(), GetColor());
}

void TSeriesPointer::Draw(int x, int y) {
  Draw(x, y, GetColor(), style_);
}

void TSeriesPointer::Draw(int x, int y, TColor color, TSeriesPointerStyle style) {
  TCustomPlotPanel* chart = ParentChart();
  if (!chart) return;
  DrawPointer(chart->GetCanvas3D(), chart->GetView3D(), x, y, horizSize_, vertSize_, color, style);
}

void TSeriesPointer::DrawPointer(TCanvas3D* canvas, bool is3D, int x, int y, int h, int v,
                                 TColor color, TSeriesPointerStyle style) {
  if (!canvas) return;
  const int left = x - h, right = x + h, top = y - v, bottom = y + v;
  const TRect box{left, top, right + 1, bottom + 1};
  const int z0 = StartZ(), z1 = EndZ();

  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) {
    TRect area = box;
    if (is3D) {
      area = canvas->CalcRect3D(box, z0);
      if (draw3D_ && canvas->OrthogonalView) area = Union(area, canvas->CalcRect3D(box, z1));
    }
    blend = canvas->BeginBlending(area, transparency_);
  }

  // The polygon of the triangle and diamond styles, for the gradient too.
  std::vector<TPoint> polygon;
  auto drawPolygon = [&](std::initializer_list<TPoint> points) {
    polygon.assign(points);
    if (is3D)
      canvas->PolygonWithZ(polygon, z0);
    else
      canvas->Polygon(polygon);
  };
  auto line = [&](int ax, int ay, int bx, int by) {
    if (is3D)
      canvas->LineWithZ(ax, ay, bx, by, z0);
    else
      canvas->Line(ax, ay, bx, by);
  };
  auto cross = [&] {
    line(x, top, x, bottom + 1);
    line(left, y, right + 1, y);
  };
  auto diagonalCross = [&] {
    line(left, top, right + 1, bottom + 1);
    line(left, bottom, right + 1, top - 1);
  };

  switch (style) {
    case psRectangle:
      if (!is3D)
        canvas->Rectangle(box);
      else if (draw3D_)
        canvas->Cube(left, right, top, bottom, z0, z1, dark3D_);
      else
        canvas->RectangleWithZ(box, z0);
      break;
    case psCircle:
      if (!is3D)
        canvas->Ellipse(box);
      else if (draw3D_ && canvas->GetSupportsFullRotation())
        canvas->Sphere(x, y, MiddleZ(), h);
      else
        canvas->EllipseWithZ(left, top, right, bottom, z0);
      break;
    case psTriangle:
    case psDownTriangle: {
      const int apex = style == psTriangle ? y - v : y + v;
      const int base = style == psTriangle ? y + v : y - v;
      if (is3D && draw3D_)
        canvas->Pyramid(true, left, apex, right, base, z0, z1, dark3D_);
      else
        drawPolygon({{left, base}, {right, base}, {x, apex}});
      break;
    }
    case psCross:
      cross();
      break;
    case psDiagCross:
      diagonalCross();
      break;
    case psStar:
      cross();
      diagonalCross();
      break;
    case psDiamond:
      drawPolygon({{left, y}, {x, top}, {right, y}, {x, bottom}});
      break;
    case psSmallDot:
      if (is3D)
        canvas->SetPixel3D(x, y, MiddleZ(), color);
      else
        canvas->SetPixel(x, y, color);
      break;
    case psNothing:
      break;
    case psLeftTriangle:
      drawPolygon({{left, y}, {right, bottom}, {right, top}});
      break;
    case psRightTriangle:
      drawPolygon({{right, y}, {left, bottom}, {left, top}});
      break;
  }

  if (gradient_ && gradient_->GetVisible()) {
    if (!FullGradient) gradient_->SetEndColor(color);
    if (!polygon.empty())
      gradient_->Draw(*canvas, polygon, z0, is3D);
    else if (is3D)
      gradient_->Draw(*canvas,
                      TFourPoints{TPoint{box.Left, box.Top}, TPoint{box.Right, box.Top},
                                  TPoint{box.Right, box.Bottom}, TPoint{box.Left, box.Bottom}},
                      z0);
    else
      gradient_->Draw(*canvas, box);
  }

  if (blend) canvas->EndBlending(std::move(blend));
}

void TSeriesPointer::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TSeriesPointer*>(source); other && other != this) {
    dark3D_ = other->dark3D_;
    draw3D_ = other->draw3D_;
    if (other->gradient_)
      GetGradient()->Assign(other->gradient_.get());
    else
      gradient_.reset();
    horizSize_ = other->horizSize_;
    inflateMargins_ = other->inflateMargins_;
    style_ = other->style_;
    transparency_ = other->transparency_;
    vertSize_ = other->vertSize_;
  }
  TPlotCustomShapeBrushPen::Assign(source);
}

int TSeriesPointer::StartZ() const {
  return series_ ? series_->StartZ : 0;
}

int TSeriesPointer::MiddleZ() const {
  return series_ ? series_->MiddleZ : 0;
}

int TSeriesPointer::EndZ() const {
  return series_ ? series_->EndZ : 0;
}

// ---- TCallout ----------------------------------------------------------------------------------

TCallout::TCallout(TChartSeries* series)
    : TSeriesPointer(series), arrow_(std::make_unique<TWhitePen>([this] { CanvasChanged(); })) {
  FullGradient = true;
  Change3D(false);
  SetColor(platform::clBlack);
}

TCallout::~TCallout() = default;

void TCallout::SetArrow(const TChartPen* value) {
  if (value) arrow_->Assign(*value);
}

void TCallout::SetArrowHead(TArrowHeadStyle value) {
  if (value == arrowHead_) return;
  arrowHead_ = value;
  Repaint();
}

void TCallout::SetArrowHeadSize(int value) {
  if (value == arrowHeadSize_) return;
  arrowHeadSize_ = value;
  Repaint();
}

void TCallout::SetDistance(int value) {
  if (value == distance_) return;
  distance_ = value;
  Repaint();
}

void TCallout::Draw(TColor color, TPoint from, int z, TPoint to) {
  TCustomPlotPanel* chart = ParentChart();
  if (!chart) return;
  TCanvas3D* canvas = chart->GetCanvas3D();
  if (!canvas || !canvas->Pen || !canvas->Brush) return;
  const bool is3D = chart->GetView3D();
  if (arrow_->GetVisible()) {
    canvas->Brush->SetStyle(platform::bsClear);
    Prepare();
    const TColor back = chart->GetBackColor();
    const TColor arrowColor = arrow_->GetColor();
    if (PlotCheckMarkArrowColor && (arrowColor == color || arrowColor == back))
      canvas->AssignVisiblePenColor(
          arrow_.get(), back == platform::clBlack ? platform::clWhite : platform::clBlack);
    else
      canvas->AssignVisiblePen(arrow_.get());
    if (arrowHead_ == ahNone) {
      if (is3D)
        canvas->LineWithZ(from, to, z);
      else
        canvas->Line(from, to);
    } else {
      canvas->Arrow(arrowHead_ == ahSolid, from, to, arrowHeadSize_, arrowHeadSize_, z);
    }
  }
  if (arrowHead_ == ahNone && GetVisible()) {
    Prepare();
    const TPoint at = is3D ? canvas->Calculate3DPosition(from, z) : from;
    const TColor own = GetColor() == platform::clDefault ? color : GetColor();
    DrawPointer(canvas, false, at.X, at.Y, GetHorizSize(), GetVertSize(), own, GetStyle());
  }
}

void TCallout::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TCallout*>(source); other && other != this) {
    distance_ = other->distance_;
    arrow_->Assign(*other->arrow_);
    arrowHead_ = other->arrowHead_;
    arrowHeadSize_ = other->arrowHeadSize_;
  }
  TSeriesPointer::Assign(source);
}

// ---- TMarksCallout -----------------------------------------------------------------------------

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) {
  SetVisible(false);
  GetArrow()->SetColor(platform::clWhite);
}

void TMarksCallout::SetLength(int value) {
  if (value == length_) return;
  length_ = value;
  Repaint();
}

void TMarksCallout::ApplyArrowLength(TSeriesMarkPosition& position) const {
  const int d = length_ + GetDistance();
  position.TopLeft.Y -= d;
  position.ArrowEnd.Y -= d;
  position.ArrowStart.Y -= GetDistance();
}

void TMarksCallout::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TMarksCallout*>(source); other && other != this)
    length_ = other->length_;
  TCallout::Assign(source);
}

}  // namespace chart
