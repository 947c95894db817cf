// Horizontal bar series drawing: one bar per point in its style, tick lines, the hit test.
#include <algorithm>
#include <climits>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/common/hit_test.h"
#include "chart/engine/axis_panel.h"
#include "chart/series/bar_series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

int Half(int a, int b) {
  return Sat((static_cast<long long>(a) + b) / 2);
}

}  // namespace

void THorizBarSeries::DrawValue(int valueIndex) {
  TCustomBarSeries::DrawValue(valueIndex);
  CurrentBarColor = GetValueColor(valueIndex);
  if (CurrentBarColor == platform::clNone) return;
  CalcBarBounds(valueIndex);
  std::unique_ptr<TPlotBlend> blend;
  if (Transparency != 0) blend = CreateBlend();
  DrawBar(valueIndex, std::min(BarRect.Left, BarRect.Right), std::max(BarRect.Left, BarRect.Right));
  if (blend) GetParentChart()->GetCanvas3D()->EndBlending(std::move(blend));
}

void THorizBarSeries::DrawBar(int valueIndex, int startPos, int endPos) {
  DrawBarShape(valueIndex, startPos, endPos, false);
}

void THorizBarSeries::DrawTickLine(int pos, TBarStyle style) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const int t = BarRect.Top, b = BarRect.Bottom;
  switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel: {
      canvas->VertLine3D(pos, t, b, StartZ);
      if (!chart->GetView3D()) return;
      const int x0 = std::min(BarRect.Left, BarRect.Right);
      const int x1 = std::max(BarRect.Left, BarRect.Right);
      const int upper = std::min(t, b), lower = std::max(t, b);
      // Wound so that a face seen from above is not culled.
      auto seenFromAbove = [&](int y) {
        return !PlotCull(canvas->Calculate3DPosition(x1, y, StartZ),
                         canvas->Calculate3DPosition(x1, y, EndZ),
                         canvas->Calculate3DPosition(x0, y, EndZ));
      };
      // The depth line goes on the horizontal face the viewer sees.
      if (seenFromAbove(upper))
        canvas->ZLine3D(pos, upper, StartZ, EndZ);
      else if (!seenFromAbove(lower))
        canvas->ZLine3D(pos, lower, StartZ, EndZ);
      return;
    }
    case bsArrow: {
      const int q = Sat((static_cast<long long>(b) - t) / 4);
      canvas->VertLine3D(pos, Sat(static_cast<long long>(t) + q),
                         Sat(static_cast<long long>(b) - q), MiddleZ);
      return;
    }
    default:
      return;
  }
}

bool THorizBarSeries::InternalClicked(int valueIndex, TPoint point) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return false;
  const bool is3D = chart->GetView3D();
  const int y0 = CalcYPos(valueIndex);
  const int y1 = Sat(static_cast<long long>(y0) + BarThickness);
  if (!is3D && (point.Y < y0 || point.Y > y1)) return false;
  int x0 = CalcXPos(valueIndex);
  int x1 = GetOriginPos(valueIndex);
  if (x0 > x1) std::swap(x0, x1);
  const int mid = Half(y0, y1);
  auto triangle = [&](int baseX, int apexX) {
    if (!is3D) return PointInHorizTriangle(point, y0, y1, apexX, baseX);
    const TPoint p[3] = {canvas->Calculate3DPosition(baseX, y0, StartZ),
                         canvas->Calculate3DPosition(apexX, mid, MiddleZ),
                         canvas->Calculate3DPosition(baseX, y1, StartZ)};
    return PointInPolygon(point, p, 2);
  };
  const TBarStyle style = GetBarStyle(valueIndex);
  switch (style) {
    case bsPyramid:
    case bsCone:
      return triangle(x0, x1);
    case bsInvPyramid:
    case bsInvCone:
      return triangle(x1, x0);
    default:
      break;
  }
  TPoint p = point;
  if (is3D) {
    canvas->Calculate2DPosition(p.X, p.Y, StartZ);
    if (p.Y < y0 || p.Y > y1) return false;
  }
  if (style == bsEllipse) return PointInEllipse(p, x0, y0, x1, y1);
  return p.X >= x0 && p.X <= x1;
}

}  // namespace chart
