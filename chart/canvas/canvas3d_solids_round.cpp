// Cylinders, cones and thick pie slices of the 3D canvas.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas3d_solids_util.h"
#include "chart/canvas/gradient.h"
#include "platform/vcl/graphics.h"

namespace chart {

using solids::Sat;

namespace {

// More sides than this only cost time: the faces are already below a pixel.
constexpr int kMaxCylinderSides = 4096;

// Darkening of side face k (2..n): spread over half the colour range around the cylinder.
int SideDarkness(int k, int n) {
  const int step = 256 / (2 * n);
  if (step > 0) return (step * (k - 2)) % 256;
  return static_cast<int>((128LL * (k - 2)) / n);
}

void InternalCylinder(TPlotCanvas3D& canvas, bool vertical, int left, int top, int right,
                      int bottom, int z0, int z1, bool darkSides, int percent) {
  const int n = std::clamp(PlotNumCylinderSides, 3, kMaxCylinderSides);
  const TColor c = solids::FaceColor(canvas);
  const long double step = 2 * std::numbers::pi_v<long double> / n;
  const long long rz = (static_cast<long long>(z1) - z0) / 2;
  const long long zc = (static_cast<long long>(z0) + z1) / 2;
  long long r, cc, length;
  if (vertical) {
    r = (static_cast<long long>(right) - left) / 2;
    cc = (static_cast<long long>(right) + left) / 2;
    length = static_cast<long long>(bottom) - top;
  } else {
    r = (static_cast<long long>(bottom) - top) / 2;
    cc = (static_cast<long long>(top) + bottom) / 2;
    length = static_cast<long long>(right) - left;
  }
  const long long rScaled = Round(r * percent * 0.01L);
  const long long rzScaled = Round(rz * percent * 0.01L);

  // Point k of the ring at the Top (vertical) or Right (horizontal) end, moved by `shift`.
  auto ringPoint = [&](int k, long long radius, long long depthRadius, long long shift) {
    const long double theta = (k - (vertical ? 4 : 5)) * step;
    const long long across = Round(radius * std::sin(theta)) + cc;
    const int z = Sat(zc - Round(depthRadius * std::cos(theta)));
    TPoint p =
        vertical ? TPoint{Sat(across), Sat(top + shift)} : TPoint{Sat(right + shift), Sat(across)};
    canvas.Calc3DPoint(p, p.X, p.Y, z);
    return p;
  };

  std::vector<TPoint> base(n), tip(n);
  for (int k = 1; k <= n; ++k) {
    base[k - 1] = ringPoint(k, r, rz, vertical ? length : -length);
    tip[k - 1] = ringPoint(k, rScaled, rzScaled, 0);
  }

  for (int k = 2; k <= n; ++k) {
    const TPoint& t0 = tip[k - 2];
    const TPoint& b0 = base[k - 2];
    const TPoint& b1 = base[k - 1];
    if (PlotCull(t0, b0, b1)) continue;
    if (darkSides) canvas.InternalDark(c, SideDarkness(k, n));
    const TPoint face[4] = {t0, b0, b1, tip[k - 1]};
    canvas.Polygon(face);
  }
  if (!PlotCull(tip[n - 1], base[n - 1], base[0])) {
    const TPoint face[4] = {tip[n - 1], base[n - 1], base[0], tip[0]};
    canvas.Polygon(face);
  }

  if (darkSides) canvas.InternalDark(c, DarkColorQuantity);
  if (vertical) {
    canvas.Polygon(tip);
    return;
  }
  TPoint o, oz, oyz;
  canvas.Calc3DPoint(o, 0, 0, 0);
  canvas.Calc3DPoint(oz, 0, 0, 10);
  canvas.Calc3DPoint(oyz, 0, 10, 10);
  // Seen from the left, the visible cap is the Left end, which always has the full radius:
  // the base ring (for a cone, its wide end).
  canvas.Polygon(PlotCull(o, oz, oyz) ? base : tip);
}

}  // namespace

void TPlotCanvas3D::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0,
                             int z1, bool darkSides) {
  InternalCylinder(*this, vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}

void TPlotCanvas3D::Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                         bool darkSides, int conePercent) {
  InternalCylinder(*this, vertical, left, top, right, bottom, z0, z1, darkSides,
                   conePercent == 0 ? PlotDefaultConePercent : conePercent);
}

void TCanvas3D::DepthCylinder(int left, int top, int right, int bottom, int z0, int z1,
                              bool darkSides) {
  const int n = std::clamp(PlotNumCylinderSides, 3, kMaxCylinderSides);
  const TColor c = solids::FaceColor(*this);
  const long double step = 2 * std::numbers::pi_v<long double> / n;
  const long long rx = (static_cast<long long>(right) - left) / 2;
  const long long ry = (static_cast<long long>(bottom) - top) / 2;
  const long long cx = (static_cast<long long>(right) + left) / 2;
  const long long cy = (static_cast<long long>(bottom) + top) / 2;
  // Each end's ring, clockwise on the screen from the top.
  std::vector<TPoint> front(n), back(n);
  for (int k = 0; k < n; ++k) {
    const int x = Sat(cx + Round(rx * std::sin(k * step)));
    const int y = Sat(cy - Round(ry * std::cos(k * step)));
    front[k] = Calculate3DPosition(x, y, z0);
    back[k] = Calculate3DPosition(x, y, z1);
  }
  for (int k = 1; k <= n; ++k) {
    const TPoint& f0 = front[k - 1];
    const TPoint& f1 = front[k % n];
    const TPoint& b1 = back[k % n];
    if (PlotCull(f1, b1, back[k - 1])) continue;
    if (darkSides) InternalDark(c, SideDarkness(k + 1, n));
    const TPoint face[4] = {f1, b1, back[k - 1], f0};
    Polygon(face);
  }
  if (darkSides) InternalDark(c, DarkColorQuantity);
  const bool frontShows = solids::Cross(front[2 * n / 3], front[n / 3], front[0]) > 0;
  Polygon(frontShows ? front : back);
}

void TPlotCanvas3D::Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                          double startAngle, double endAngle, bool darkSides, bool drawSides,
                          int donutPercent, TCustomPlotGradient* gradient) {
  constexpr int kSideDarkness = 32;
  const TColor c = solids::FaceColor(*this);
  const int n = std::min(Round(std::fabs(static_cast<long double>(endAngle) - startAngle) * 180 /
                               std::numbers::pi_v<long double> / 2),
                         94) +
                2;
  const double step = (endAngle - startAngle) / (n - 1);
  auto angle = [&](int i) { return startAngle + (i - 1) * step; };

  const double ix = donutPercent * static_cast<double>(xRadius) * 0.01;
  const double iy = donutPercent * static_cast<double>(yRadius) * 0.01;
  auto inner = [&](int z, double a) {
    TPoint p{xCenter, yCenter};
    if (donutPercent > 0)
      Calc3DPoint(p, ix * std::cos(a) + xCenter,
                  static_cast<double>(yCenter) - Round(iy * std::sin(a)), z);
    else
      Calc3DPoint(p, xCenter, yCenter, z);
    return p;
  };

  std::vector<TPoint> front(n), back(n);
  for (int i = 1; i <= n; ++i) {
    const double a = angle(i);
    const double x = xRadius * std::cos(a) + xCenter;
    const double y = yCenter - yRadius * std::sin(a);
    front[i - 1] = back[i - 1] = TPoint{Round(x), Round(y)};
    Calc3DPoint(front[i - 1], x, y, z1);
    Calc3DPoint(back[i - 1], x, y, z0);
  }

  // Fills a polygon in the brush, or with the gradient clipped to it.
  auto fill = [&](const std::vector<TPoint>& pts) {
    if (!gradient) {
      Polygon(pts);
      return;
    }
    ClipPolygon(pts);
    gradient->Draw(*this, RectFromPolygon(pts.data(), static_cast<int>(pts.size())), 0);
    UnClipRectangle();
    if (Pen->Style != platform::psClear) {
      const platform::TBrushStyle old = Brush->Style;
      Brush->Style = platform::bsClear;
      Polygon(pts);
      Brush->Style = old;
    }
  };

  if (donutPercent > 0) {
    std::vector<TPoint> wall;
    wall.reserve(2 * n);
    for (int i = n; i >= 1; --i) wall.push_back(inner(z1, angle(i)));
    for (int i = 1; i <= n; ++i) wall.push_back(inner(z0, angle(i)));
    if (darkSides) InternalDark(c, kSideDarkness);
    Polygon(wall);
  }

  if (drawSides) {
    if (front[n - 1].X < OffsetX) {
      if (darkSides) InternalDark(c, kSideDarkness);
      QuadPoints = {inner(z1, endAngle), front[n - 1], back[n - 1], inner(z0, endAngle)};
      PolygonFour();
    }
    if (OffsetX < front[0].X) {
      if (darkSides) InternalDark(c, kSideDarkness);
      QuadPoints = {inner(z1, startAngle), front[0], back[0], inner(z0, startAngle)};
      PolygonFour();
    }
  }

  solids::RestoreFaceColor(*this, c);

  std::vector<TPoint> face;
  face.reserve(2 * n + 1);
  if (donutPercent > 0) {
    face.push_back(inner(z1, startAngle));
    face.insert(face.end(), front.begin(), front.end());
    for (int i = n; i >= 1; --i) face.push_back(inner(z1, angle(i)));
  } else {
    face.push_back(inner(z1, startAngle));
    face.insert(face.end(), front.begin(), front.end());
  }
  fill(face);

  // The rim shows where the arc runs left to right on the screen.
  auto band = [&](int s, int e) {
    std::vector<TPoint> pts;
    pts.reserve(2 * (e - s + 1));
    for (int i = s; i <= e; ++i) pts.push_back(front[i - 1]);
    for (int i = e; i >= s; --i) pts.push_back(back[i - 1]);
    if (darkSides) InternalDark(c, kSideDarkness);
    fill(pts);
  };
  auto x = [&](int i) { return front[i - 1].X; };
  int i = 2;
  while (i <= n && x(i) <= x(i - 1)) ++i;
  if (i > n) return;
  const int s = i - 1;
  int e = 0;
  for (int j = i + 1; j <= n - 1; ++j) {
    if (x(j) < x(j - 1)) {
      e = j;
      break;
    }
  }
  // When only the last point turns back, the band still runs up to the one before it, so the
  // visible rim has no gap.
  if (e == 0) e = x(n) >= x(n - 1) ? n : n - 1;
  band(s, e);
  if (e != n && x(n) > x(n - 1)) {
    int k = n - 1;
    while (k > 1 && x(k) > x(k - 1)) --k;
    if (k > 1) band(k, n);
  }
}

}  // namespace chart
