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

}  // namespace

void THorizBarSeries::DrawValue(int valueIndex) {
  DrawBarValue(valueIndex, false);
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
  return ClickedShape(valueIndex, point, false);
}

}  // namespace chart
