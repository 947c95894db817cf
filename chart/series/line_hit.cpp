// Line, area and point series: the hit test (pointers, segments, areas) and mark placement.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "chart/canvas/canvas3d.h"
#include "chart/common/hit_test.h"
#include "chart/engine/axis_panel.h"
#include "chart/series/line_series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

}  // namespace

// ---- Marks -------------------------------------------------------------------------------------

int TCustomSeries::CalcMarkLength(int /*valueIndex*/) {
  const TMarksCallout* callout = Marks()->GetCallout();
  return Sat(static_cast<long long>(callout->GetLength()) + callout->GetDistance());
}

void TCustomSeries::DrawMark(int valueIndex, const std::string& text,
                             TSeriesMarkPosition& position) {
  Marks()->ZPosition = StartZ;
  if (YIsValue()) Marks()->ApplyArrowLength(position);
  TChartSeries::DrawMark(valueIndex, text, position);
}

int THorizLineSeries::CalcMarkLength(int /*valueIndex*/) {
  TCustomAxisPanel* chart = GetParentChart();
  if (chart && chart->GetCanvas3D()) chart->GetCanvas3D()->AssignFont(Marks()->GetFont());
  return MaxMarkWidth();
}

void THorizLineSeries::DrawMark(int valueIndex, const std::string& text,
                                TSeriesMarkPosition& position) {
  const TMarksCallout* callout = Marks()->GetCallout();
  const long long distance = callout->GetDistance();
  const long long d = callout->GetLength() + distance;
  const long long x = position.ArrowStart.X;
  const long long y = position.ArrowStart.Y;
  // Points left of the origin carry their marks on the left.
  const bool left = x < GetOriginPos(valueIndex);
  const long long sign = left ? -1 : 1;
  position.ArrowStart.X = Sat(x + sign * distance);
  position.ArrowEnd = TPoint{Sat(x + sign * d), Sat(y)};
  position.TopLeft.X = Sat(left ? x - d - position.Width : x + d);
  position.TopLeft.Y = Sat(y - position.Height / 2);
  TCustomSeries::DrawMark(valueIndex, text, position);
}

void THorizAreaSeries::DrawMark(int valueIndex, const std::string& text,
                                TSeriesMarkPosition& position) {
  position.TopLeft.Y = Sat(position.ArrowEnd.Y - static_cast<long long>(position.Height / 2));
  TAreaSeries::DrawMark(valueIndex, text, position);
}

// ---- Hit test ----------------------------------------------------------------------------------

bool TCustomSeries::ClickedPointer(int valueIndex, int x, int y, int clickX, int clickY) {
  const TSeriesPointer* pointer = GetPointer();
  const TSeriesPointerStyle style =
      OnGetPointerStyle ? OnGetPointerStyle(this, valueIndex) : pointer->GetStyle();
  if (style == psNothing) return false;
  return std::llabs(static_cast<long long>(x) - clickX) < pointer->GetHorizSize() &&
         std::llabs(static_cast<long long>(y) - clickY) < pointer->GetVertSize();
}

bool TCustomSeries::RaiseClicked() const {
  return TChartSeries::RaiseClicked() || (GetPointer()->GetVisible() && OnClickPointer);
}

int TCustomSeries::Clicked(int x, int y) {
  const int base = TChartSeries::Clicked(x, y);
  if (base != -1) return base;
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || FirstVisible < 0 || LastVisible < FirstVisible) return -1;
  const bool is3D = chart->GetView3D();
  TPoint p{x, y};
  if (is3D && chart->GetCanvas3D()) chart->GetCanvas3D()->Calculate2DPosition(p.X, p.Y, StartZ);

  const bool vertical = YIsValue();
  const bool pointerVisible = GetPointer()->GetVisible();
  // Only segments and areas that are drawn take clicks: a point series has neither.
  const bool lines = clickableLine_ && JoinPoints;
  const bool area = clickableLine_ && drawArea_;
  const int first = clickableLine_ ? std::max(0, FirstVisible - 1) : FirstVisible;
  const int last = std::min(LastVisible, Count() - 1);
  const int w3 = chart->SeriesWidth3D, h3 = chart->SeriesHeight3D;

  TPoint prev{};
  int prevOrigin = 0;
  bool havePrev = false;
  for (int i = first; i <= last; ++i) {
    if (IsNull(i)) {
      // Nothing is drawn into or out of a null point.
      havePrev = false;
      continue;
    }
    const TPoint cur{CalcXPos(i), CalcYPos(i)};
    const int origin = (lines || area) ? GetOriginPos(i) : 0;
    if (pointerVisible && ClickedPointer(i, cur.X, cur.Y, p.X, p.Y)) {
      if (OnClickPointer) OnClickPointer(this, i, x, y);
      return i;
    }
    if (cur.X == p.X && cur.Y == p.Y) return i;
    if (havePrev && lines) {
      bool hit;
      if (is3D) {
        const TPoint poly[4] = {prev, cur,
                                TPoint{Sat(cur.X + static_cast<long long>(w3)),
                                       Sat(cur.Y - static_cast<long long>(h3))},
                                TPoint{Sat(prev.X + static_cast<long long>(w3)),
                                       Sat(prev.Y - static_cast<long long>(h3))}};
        hit = PointInPolygon(p, poly, 3);
      } else if (stairs_) {
        // The run along the position axis comes first unless inverted, as drawn.
        const TPoint corner =
            vertical != invertedStairs_ ? TPoint{cur.X, prev.Y} : TPoint{prev.X, cur.Y};
        hit = PointInLine(p, prev, corner) || PointInLine(p, corner, cur);
      } else {
        hit = PointInLine(p, prev, cur);
      }
      if (hit) return i - 1;
    }
    if (havePrev && area) {
      // Down to both origins; stairs fill the rectangle they draw.
      TPoint a = prev, b = cur;
      int originA = prevOrigin, originB = origin;
      if (stairs_) {
        if (invertedStairs_) {
          a = vertical ? TPoint{prev.X, cur.Y} : TPoint{cur.X, prev.Y};
          originA = origin;
        } else {
          b = vertical ? TPoint{cur.X, prev.Y} : TPoint{prev.X, cur.Y};
          originB = prevOrigin;
        }
      }
      const TPoint nearA = vertical ? TPoint{a.X, originA} : TPoint{originA, a.Y};
      const TPoint nearB = vertical ? TPoint{b.X, originB} : TPoint{originB, b.Y};
      const TPoint poly[4] = {nearA, a, b, nearB};
      if (PointInPolygon(p, poly, 3)) return i - 1;
    }
    prev = cur;
    prevOrigin = origin;
    havePrev = true;
  }
  return -1;
}

}  // namespace chart
