// Drawing one bar once its rectangle is known: the thirteen shapes flat or solid, the gradient,
// bevel and tick-line fills, and the hit test that follows the shape.
#include <algorithm>
#include <climits>
#include <cmath>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/common/hit_test.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/series/bar_series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

}  // namespace

// ---- Pen, brush and style ----------------------------------------------------------------------

void TCustomBarSeries::SetPenBrushBar(TColor color) {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || !chart->GetCanvas3D()) return;
  chart->GetCanvas3D()->AssignVisiblePen(GetPen());
  TColor back = GetBrush()->GetColor();
  if (back == platform::clDefault) back = chart->GetColor();
  chart->SetBrushCanvas(color, GetBrush(), back);
}

TBarStyle TCustomBarSeries::GetBarStyle(int valueIndex) {
  TBarStyle style = barStyle_;
  if (OnGetBarStyle) OnGetBarStyle(this, valueIndex, style);
  return style;
}

// ---- Fills -------------------------------------------------------------------------------------

void TCustomBarSeries::BarRectangle(TColor /*color*/, int left, int top, int right, int bottom) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || !canvas->Pen || !canvas->Brush) return;
  if (canvas->Brush->GetStyle() == platform::bsSolid) {
    auto penInBrushColour = [canvas] {
      canvas->Pen->SetColor(canvas->Brush->GetColor());
      if (canvas->Pen->GetStyle() == platform::psClear) canvas->Pen->SetStyle(platform::psSolid);
    };
    const int penWidth = canvas->Pen->GetWidth();
    if (left == right || top == bottom) {
      // No area to fill: the bar shows as a line.
      penInBrushColour();
      canvas->Line(left, top, right, bottom);
    } else if (std::llabs(static_cast<long long>(right) - left) < penWidth ||
               std::llabs(static_cast<long long>(bottom) - top) < penWidth) {
      // Thinner than its outline: the outline alone, in the fill colour.
      penInBrushColour();
      canvas->Brush->SetStyle(platform::bsClear);
    }
  }
  canvas->Rectangle(left, top, right, bottom);
}

void TCustomBarSeries::CalcGradientColor(int valueIndex) {
  TBarSeriesGradient* g = gradient_.get();
  if (!g->GetRelative() || valueIndex < 0 || valueIndex >= Count()) {
    g->SetEndColor(CurrentBarColor);
    return;
  }
  TChartValueList* values = MainValues();
  const double lo = useYOrigin_ ? yOrigin_ : values->MinValue();
  const double ratio = (values->GetValue(valueIndex) - lo) / (values->MaxValue() - lo);
  // Equal bounds leave the ratio undefined: the plain bar colour then.
  if (!std::isfinite(ratio)) {
    g->SetEndColor(CurrentBarColor);
    return;
  }
  const TColor start = platform::ColorToRGB(g->GetStartColor());
  const TColor bar = platform::ColorToRGB(CurrentBarColor);
  TColor end = 0;
  for (int shift : {0, 8, 16}) {
    const int s = static_cast<int>((start >> shift) & 0xFF);
    const int b = static_cast<int>((bar >> shift) & 0xFF);
    const int c = std::clamp(s + Round((b - s) * static_cast<long double>(ratio)), 0, 255);
    end |= static_cast<TColor>(c) << shift;
  }
  g->SetEndColor(end);
}

void TCustomBarSeries::BarGradient(int valueIndex, TRect rect) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  CalcGradientColor(valueIndex);
  const bool pen = GetPen()->GetVisible();
  const int w = pen ? GetPen()->GetWidth() : 0;
  auto move = [](int& v, long long by) { v = Sat(v + by); };
  if (!chart->GetView3D()) {
    if (pen) {
      move(rect.Left, 1);
      move(rect.Top, 1);
      move(rect.Right, -w);
      move(rect.Bottom, -w);
    }
    gradient_->Draw(*canvas, rect);
  } else if (chart->GetView3DOptions()->GetOrthogonal()) {
    if (pen) {
      move(rect.Left, 1);
      move(rect.Top, 1);
      move(rect.Right, 1LL - w);
      move(rect.Bottom, 1LL - w);
    }
    gradient_->Draw(*canvas, canvas->CalcRect3D(rect, StartZ));
  } else {
    TFourPoints p = canvas->FourPointsFromRect(rect, StartZ);
    if (pen) {
      const int dx[4] = {w, -w, -w, w};
      const int dy[4] = {w, w, -w, -w};
      for (int i = 0; i < 4; ++i) {
        move(p[i].X, dx[i]);
        move(p[i].Y, dy[i]);
      }
    }
    gradient_->Draw(*canvas, p);
  }
}

void TCustomBarSeries::DrawBevel() {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const bool is3D = chart->GetView3D();
  if (is3D && !chart->GetView3DOptions()->GetOrthogonal()) return;
  // Bars hanging below their origin, or pointing left, have their edges the other way round.
  TRect r{std::min(BarRect.Left, BarRect.Right), std::min(BarRect.Top, BarRect.Bottom),
          std::max(BarRect.Left, BarRect.Right), std::max(BarRect.Top, BarRect.Bottom)};
  if (GetPen()->GetVisible()) {
    const long long w = GetPen()->GetWidth();
    r = TRect{Sat(r.Left + w), Sat(r.Top + w), Sat(r.Right - w), Sat(r.Bottom - w)};
    if (is3D) r = TRect{r.Left, r.Top, Sat(r.Right + 1LL), Sat(r.Bottom + 1LL)};
  }
  // The frame lies on the bar's front face.
  if (is3D) r = canvas->CalcRect3D(r, StartZ);
  canvas->Frame3D(r, ApplyBright(CurrentBarColor, DarkerColorQuantity),
                  ApplyDark(CurrentBarColor, DarkColorQuantity), bevelSize_);
}

void TCustomBarSeries::DrawTickLines(int startPos, int endPos, TBarStyle style) {
  TCustomAxisPanel* chart = GetParentChart();
  const TChartAxis* axis = ValueAxis();
  if (!tickLines_->GetVisible() || !chart || !chart->GetCanvas3D() || !axis) return;
  chart->GetCanvas3D()->AssignVisiblePen(tickLines_.get());
  // A copy: the tick line of a derived series may not touch the axis, but it stays safe if so.
  const std::vector<int> ticks = axis->Tick;
  for (int pixel : ticks)
    if (pixel > startPos && pixel < endPos) DrawTickLine(pixel, style);
}

std::unique_ptr<TPlotBlend> TCustomBarSeries::CreateBlend() {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return nullptr;
  TRect r = OrientRectangle(BarRect);
  if (chart->GetView3D()) {
    const TRect a = OrientRectangle(canvas->CalcRect3D(BarRect, StartZ));
    const TRect b = OrientRectangle(canvas->CalcRect3D(BarRect, EndZ));
    r = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
              std::max(a.Bottom, b.Bottom)};
  }
  return canvas->BeginBlending(r, Transparency);
}

// ---- Vertical bars -----------------------------------------------------------------------------

void TBarSeries::DrawValue(int valueIndex) {
  DrawBarValue(valueIndex, true);
}

void TBarSeries::DrawBar(int valueIndex, int startPos, int endPos) {
  DrawBarShape(valueIndex, startPos, endPos, true);
}

void TCustomBarSeries::DrawBarValue(int valueIndex, bool vertical) {
  TChartSeries::DrawValue(valueIndex);
  CurrentBarColor = GetValueColor(valueIndex);
  if (CurrentBarColor == platform::clNone) return;
  CalcBarBounds(valueIndex);
  std::unique_ptr<TPlotBlend> blend;
  if (Transparency != 0) blend = CreateBlend();
  const int a = vertical ? BarRect.Top : BarRect.Left,
            b = vertical ? BarRect.Bottom : BarRect.Right;
  DrawBar(valueIndex, std::min(a, b), std::max(a, b));
  if (blend) GetParentChart()->GetCanvas3D()->EndBlending(std::move(blend));
}

void TCustomBarSeries::DrawBarShape(int valueIndex, int startPos, int endPos, bool vertical) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  SetPenBrushBar(CurrentBarColor);
  const TBarStyle style = GetBarStyle(valueIndex);
  const bool is3D = chart->GetView3D();
  const bool dark = GetDark3D();
  const int l = BarRect.Left, t = BarRect.Top, r = BarRect.Right, b = BarRect.Bottom;
  // Across the bar lie its sides a0..a1; along it the value axis, startPos <= endPos.
  const int a0 = vertical ? l : t, a1 = vertical ? r : b;
  const int aMid = Sat((static_cast<long long>(a0) + a1) / 2);
  const int vMid = Sat((static_cast<long long>(startPos) + endPos) / 2);
  const int thickness = Sat(static_cast<long long>(a1) - a0);
  const int z0 = StartZ, zm = MiddleZ, z1 = EndZ;
  auto at = [vertical](int v, int a) { return vertical ? TPoint{a, v} : TPoint{v, a}; };
  // The bar from value pixel v0 to v1, across its whole thickness.
  auto span = [&](int v0, int v1) {
    return vertical ? TRect{a0, v0, a1, v1} : TRect{v0, a0, v1, a1};
  };
  // Pointed shapes point up on vertical bars and right on horizontal ones.
  const int tip = vertical ? startPos : endPos, foot = vertical ? endPos : startPos;
  auto triangle = [&](int base, int apex) {
    const TPoint p[3] = {at(base, a0), at(apex, aMid), at(base, a1)};
    canvas->Polygon(p);
  };
  auto flat = [&] {
    const TRect s = span(startPos, endPos);
    BarRectangle(CurrentBarColor, s.Left, s.Top, s.Right, s.Bottom);
  };
  switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
      if (is3D) {
        const TRect s = span(startPos, endPos);
        canvas->Cube(s.Left, s.Right, s.Top, s.Bottom, z0, z1, dark);
      } else {
        flat();
      }
      break;
    case bsCilinder:
      if (is3D)
        canvas->Cylinder(vertical, l, t, r, b, z0, z1, dark);
      else
        flat();
      break;
    case bsSlantCube:
      if (is3D) {
        const int saved = PlotNumCylinderSides;
        PlotNumCylinderSides = 4;
        canvas->Cylinder(vertical, l, t, r, b, z0, z1, dark);
        PlotNumCylinderSides = saved;
      } else {
        flat();
        // Along the whole bar rectangle, at the middle across.
        const TPoint from = at(vertical ? t : l, aMid), to = at(vertical ? b : r, aMid);
        canvas->Line(from.X, from.Y, to.X, to.Y);
      }
      break;
    case bsPyramid:
    case bsInvPyramid:
    case bsCone:
    case bsInvCone: {
      const bool inverted = style == bsInvPyramid || style == bsInvCone;
      if (!is3D) {
        inverted ? triangle(tip, foot) : triangle(foot, tip);
        break;
      }
      const TRect s = inverted ? span(endPos, startPos) : span(startPos, endPos);
      if (style == bsPyramid || style == bsInvPyramid)
        canvas->Pyramid(vertical, s.Left, s.Top, s.Right, s.Bottom, z0, z1, dark);
      else
        canvas->Cone(vertical, s.Left, s.Top, s.Right, s.Bottom, z0, z1, dark, ConePercent);
      break;
    }
    case bsEllipse:
      if (is3D)
        canvas->EllipseWithZ(l, t, r, b, zm);
      else
        canvas->Ellipse(BarRect);
      break;
    case bsArrow:
      canvas->Arrow(true, at(foot, aMid), at(tip, aMid), thickness, thickness / 2, zm);
      break;
    case bsInvArrow:
      canvas->Arrow(true, at(tip, aMid), at(foot, aMid), thickness, thickness / 2, zm);
      break;
    case bsDiamond: {
      // Corners in drawing order: the value start, a side, the value end, the other side.
      const int side1 = vertical ? a1 : a0, side2 = vertical ? a0 : a1;
      const TPoint p[4] = {at(startPos, aMid), at(vMid, side1), at(endPos, aMid), at(vMid, side2)};
      if (is3D)
        canvas->PolygonWithZ(p, zm);
      else
        canvas->Polygon(p);
      break;
    }
    default:
      // A style a handler made up: no shape, only the tick lines.
      break;
  }
  if (style == bsRectGradient) BarGradient(valueIndex, span(startPos, endPos));
  if (style == bsBevel) DrawBevel();
  DrawTickLines(startPos, endPos, style);
}

void TBarSeries::DrawTickLine(int pos, TBarStyle style) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const int l = BarRect.Left, r = BarRect.Right;
  switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel: {
      canvas->HorizLine3D(l, r, pos, StartZ);
      if (!chart->GetView3D()) return;
      const int t = BarRect.Top, b = BarRect.Bottom;
      auto culled = [&](int x) {
        return PlotCull(canvas->Calculate3DPosition(x, b, StartZ),
                        canvas->Calculate3DPosition(x, b, EndZ),
                        canvas->Calculate3DPosition(x, t, EndZ));
      };
      // The depth line goes on the side face the viewer sees.
      if (!culled(r))
        canvas->ZLine3D(r, pos, StartZ, EndZ);
      else if (culled(l))
        canvas->ZLine3D(l, pos, StartZ, EndZ);
      return;
    }
    case bsArrow: {
      const int q = Sat((static_cast<long long>(r) - l) / 4);
      canvas->HorizLine3D(Sat(static_cast<long long>(l) + q), Sat(static_cast<long long>(r) - q),
                          pos, MiddleZ);
      return;
    }
    default:
      return;
  }
}

// ---- Hit test ----------------------------------------------------------------------------------

int TCustomBarSeries::Clicked(int x, int y) {
  if (FirstVisible < 0 || LastVisible < FirstVisible) return -1;
  const int last = std::min(LastVisible, Count() - 1);
  for (int i = FirstVisible; i <= last; ++i)
    if (InternalClicked(i, TPoint{x, y})) return i;
  return -1;
}

bool TBarSeries::InternalClicked(int valueIndex, TPoint point) {
  return ClickedShape(valueIndex, point, true);
}

bool TCustomBarSeries::ClickedShape(int valueIndex, TPoint point, bool vertical) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return false;
  const bool is3D = chart->GetView3D();
  // Across the bar a0..a1; along it v0 <= v1, between the value end and the origin.
  const int a0 = vertical ? CalcXPos(valueIndex) : CalcYPos(valueIndex);
  const int a1 = Sat(static_cast<long long>(a0) + BarThickness);
  auto across = [vertical](const TPoint& p) { return vertical ? p.X : p.Y; };
  auto along = [vertical](const TPoint& p) { return vertical ? p.Y : p.X; };
  if (!is3D && (across(point) < a0 || across(point) > a1)) return false;
  int v0 = vertical ? CalcYPos(valueIndex) : CalcXPos(valueIndex);
  int v1 = GetOriginPos(valueIndex);
  if (v0 > v1) std::swap(v0, v1);
  const int aMid = Sat((static_cast<long long>(a0) + a1) / 2);
  auto at = [vertical](int v, int a) { return vertical ? TPoint{a, v} : TPoint{v, a}; };
  auto triangle = [&](int base, int apex) {
    if (!is3D)
      return vertical ? PointInTriangle(point, a0, a1, apex, base)
                      : PointInHorizTriangle(point, a0, a1, apex, base);
    const TPoint b0 = at(base, a0), tip = at(apex, aMid), b1 = at(base, a1);
    const TPoint p[3] = {canvas->Calculate3DPosition(b0.X, b0.Y, StartZ),
                         canvas->Calculate3DPosition(tip.X, tip.Y, MiddleZ),
                         canvas->Calculate3DPosition(b1.X, b1.Y, StartZ)};
    return PointInPolygon(point, p, 2);
  };
  // Pointed shapes point up on vertical bars and right on horizontal ones.
  const int tip = vertical ? v0 : v1, foot = vertical ? v1 : v0;
  const TBarStyle style = GetBarStyle(valueIndex);
  switch (style) {
    case bsPyramid:
    case bsCone:
      return triangle(foot, tip);
    case bsInvPyramid:
    case bsInvCone:
      return triangle(tip, foot);
    default:
      break;
  }
  TPoint p = point;
  if (is3D) {
    canvas->Calculate2DPosition(p.X, p.Y, StartZ);
    if (across(p) < a0 || across(p) > a1) return false;
  }
  if (style == bsEllipse) {
    const TPoint c0 = at(v0, a0), c1 = at(v1, a1);
    return PointInEllipse(p, c0.X, c0.Y, c1.X, c1.Y);
  }
  return along(p) >= v0 && along(p) <= v1;
}

}  // namespace chart
