// Box, pyramids, sphere and arrow of the 3D canvas. Each face is projected and drawn in the
// caller's pen and brush; hidden faces are skipped with a facing test, and dark sides change only
// the brush colour (or the back colour under a pattern brush).
#include <algorithm>
#include <climits>
#include <cmath>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas3d_solids_util.h"
#include "platform/vcl/graphics.h"

namespace chart {

int PlotNumCylinderSides = 16;
int PlotDefaultConePercent = 0;
int DarkColorQuantity = 64;
int DarkerColorQuantity = 128;

namespace solids {

int Sat(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

long double Cross(const TPoint& u, const TPoint& v, const TPoint& w) {
  // Differences of 32-bit coordinates need 33 bits; their products do not fit in 64.
  return (static_cast<long double>(u.X) - v.X) * (static_cast<long double>(w.Y) - v.Y) -
         (static_cast<long double>(w.X) - v.X) * (static_cast<long double>(u.Y) - v.Y);
}

TColor FaceColor(TPlotCanvas& canvas) {
  if (canvas.Brush->Style == platform::bsSolid) return canvas.Brush->Color;
  return canvas.GetBackColor();
}

void RestoreFaceColor(TPlotCanvas3D& canvas, TColor c) {
  if (canvas.Brush->Style == platform::bsSolid)
    canvas.Brush->Color = c;
  else
    canvas.SetBackColor(c);
}

}  // namespace solids

using solids::Cross;
using solids::Sat;

namespace {

TPoint Project(const TPlotCanvas3D& canvas, int x, int y, int z) {
  TPoint p{x, y};
  canvas.Calc3DPoint(p, x, y, z);
  return p;
}

}  // namespace

void TPlotCanvas3D::Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  const TColor c = solids::FaceColor(*this);
  const bool wire = Brush->Style == platform::bsClear;
  const TPoint p = Project(*this, left, top, z0);
  const TPoint q = Project(*this, right, top, z0);
  const TPoint r = Project(*this, right, bottom, z0);
  const TPoint s = Project(*this, right, top, z1);

  QuadPoints = {p, q, r, Project(*this, left, bottom, z0)};
  if (wire || Cross(QuadPoints[3], QuadPoints[2], QuadPoints[1]) > 0) {
    PolygonFour();
  } else {
    QuadPoints = {Project(*this, left, top, z1), s, Project(*this, right, bottom, z1),
                  Project(*this, left, bottom, z1)};
    PolygonFour();
  }

  QuadPoints = {q, s, Project(*this, right, bottom, z1), r};
  if (wire || Cross(QuadPoints[3], QuadPoints[2], QuadPoints[1]) > 0) {
    if (darkSides) InternalDark(c, DarkerColorQuantity);
    PolygonFour();
  }

  QuadPoints = {p, Project(*this, left, top, z1), Project(*this, left, bottom, z1),
                Project(*this, left, bottom, z0)};
  if (wire || Cross(QuadPoints[3], QuadPoints[0], QuadPoints[1]) > 0) {
    if (darkSides) InternalDark(c, DarkerColorQuantity);
    PolygonFour();
  }

  QuadPoints = {p, q, s, Project(*this, left, top, z1)};
  if (wire || Cross(p, q, s) > 0) {
    if (darkSides) InternalDark(c, DarkColorQuantity);
    PolygonFour();
  }

  QuadPoints = {Project(*this, left, bottom, z0), Project(*this, left, bottom, z1),
                Project(*this, right, bottom, z1), r};
  if (wire || Cross(QuadPoints[3], QuadPoints[2], QuadPoints[1]) < 0) {
    if (darkSides) InternalDark(c, DarkColorQuantity);
    PolygonFour();
  }
}

void TPlotCanvas3D::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            bool darkSides) {
  const TColor c = solids::FaceColor(*this);
  auto triangle = [this](const TPoint& a, const TPoint& b, const TPoint& d) {
    const TPoint pts[3] = {a, b, d};
    Polygon(pts);
  };
  const int midZ = Sat((static_cast<long long>(z0) + z1) / 2);
  if (vertical) {
    const TPoint a = Project(*this, left, bottom, z0);
    const TPoint b = Project(*this, right, bottom, z0);
    const TPoint k = Project(*this, left, bottom, z1);
    const TPoint d = Project(*this, right, bottom, z1);
    const TPoint e = Project(*this, Sat((static_cast<long long>(left) + right) / 2), top, midZ);
    const bool up = top < bottom;
    if (top != bottom) {
      triangle(a, e, b);
      if (PlotCull(a, e, k) != up) triangle(a, e, k);
      if (darkSides) InternalDark(c, DarkerColorQuantity);
      if (PlotCull(b, e, d) == up) triangle(b, e, d);
      if (up && PlotCull(e, k, d)) triangle(e, k, d);
    }
    if (PlotCull(a, b, k) == up) {
      if (darkSides) InternalDark(c, DarkColorQuantity);
      RectangleY(left, bottom, right, z0, z1);
    }
  } else {
    const TPoint a = Project(*this, left, top, z0);
    const TPoint b = Project(*this, left, bottom, z0);
    const TPoint k = Project(*this, left, top, z1);
    const TPoint d = Project(*this, left, bottom, z1);
    const TPoint e = Project(*this, right, Sat((static_cast<long long>(top) + bottom) / 2), midZ);
    const bool toRight = left < right;
    if (left != right) {
      triangle(a, e, b);
      if (PlotCull(k, e, d) != toRight) triangle(k, e, d);
      if (darkSides) InternalDark(c, DarkColorQuantity);
      if (PlotCull(a, e, k) != toRight) triangle(a, e, k);
      if (PlotCull(d, e, b) != toRight) triangle(d, e, b);
    }
    if (PlotCull(a, b, k) == toRight) {
      if (darkSides) InternalDark(c, DarkerColorQuantity);
      RectangleZ(left, top, bottom, z0, z1);
    }
  }
}

void TPlotCanvas3D::PyramidTrunc(const TRect& r, int startZ, int endZ, int truncX, int truncZ) {
  const int xc = Sat((static_cast<long long>(r.Left) + r.Right) / 2);
  const int zc = Sat((static_cast<long long>(startZ) + endZ) / 2);
  const int topLeft = Sat(static_cast<long long>(xc) - truncX);
  const int topRight = Sat(static_cast<long long>(xc) + truncX);
  const int topFront = Sat(static_cast<long long>(zc) - truncZ);
  const int topBack = Sat(static_cast<long long>(zc) + truncZ);

  auto base = [&] { RectangleY(r.Left, r.Bottom, r.Right, startZ, endZ); };
  auto topFace = [&] {
    if (truncX != 0) RectangleY(topLeft, r.Top, topRight, topFront, topBack);
  };
  // A trapezoid across the depth: top edge at depth a, base edge at depth b.
  auto depthFace = [&](int a, int b) {
    const bool k =
        PlotCull(Project(*this, topRight, r.Top, a), Project(*this, r.Right, r.Bottom, b),
                 Project(*this, r.Left, r.Bottom, b));
    const bool facing =
        ((a < b && a >= 1 && r.Top < r.Bottom) || (b < a && r.Bottom < r.Top)) ? !k : k;
    if (!facing) return;
    TFourPoints pts = {TPoint{topLeft, r.Top}, TPoint{topRight, r.Top}, TPoint{r.Right, r.Bottom},
                       TPoint{r.Left, r.Bottom}};
    PlaneFour3D(pts, a, b);
  };
  // A trapezoid along the depth: top edge at x1, base edge at x0.
  auto sideFace = [&](int x1, int x0) {
    QuadPoints = {Project(*this, x1, r.Top, topFront), Project(*this, x1, r.Top, topBack),
                  Project(*this, x0, r.Bottom, endZ), Project(*this, x0, r.Bottom, startZ)};
    const bool k = PlotCull(QuadPoints[3], QuadPoints[2], QuadPoints[1]);
    const bool facing = ((x1 < x0 && r.Top < r.Bottom) || (x0 < x1 && r.Bottom < r.Top)) ? !k : k;
    if (facing) PolygonFour();
  };

  if (r.Top < r.Bottom)
    base();
  else
    topFace();
  if (truncX != 0 || startZ != endZ) {
    depthFace(topBack, endZ);
    sideFace(topLeft, r.Left);
    depthFace(topFront, startZ);
    sideFace(topRight, r.Right);
  } else {
    depthFace(topBack, endZ);
  }
  if (r.Top < r.Bottom)
    topFace();
  else
    base();
}

void TPlotCanvas3D::Sphere(int x, int y, int z, double radius) {
  const long long r = Round(radius);
  EllipseWithZ(Sat(x - r), Sat(y - r), Sat(x + r), Sat(y + r), z);
}

void TPlotCanvas3D::Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth,
                          int headHeight, int z, double arrowPercent) {
  const double dx = static_cast<double>(to.X) - from.X;
  const double dy = static_cast<double>(from.Y) - to.Y;
  const double d = PlotDistance(dx, dy);
  if (!(d > 0)) return;
  const double h = std::min<double>(headHeight, Round(d));
  const double s = dy / d;
  const double k = dx / d;
  // A point of the arrow's own frame (along, across) back on the screen, projected.
  auto toScreen = [&](double u, double v) {
    return Project(*this, Round(u * k + v * s), Round(-u * s + v * k), z);
  };
  const double uT = to.X * k - to.Y * s;
  const double vT = to.X * s + to.Y * k;
  const double halfHead = headWidth * 0.5;
  const TPoint h1 = toScreen(uT - h, vT - halfHead);
  const TPoint h2 = toScreen(uT - h, vT + halfHead);
  const TPoint tip = Project(*this, to.X, to.Y, z);
  if (!filled) {
    LineWithZ(from.X, from.Y, to.X, to.Y, z);
    Line(tip.X, tip.Y, h2.X, h2.Y);
    Line(tip.X, tip.Y, h1.X, h1.Y);
    return;
  }
  const double o = headWidth * arrowPercent * 0.005;
  const double u0 = from.X * k - from.Y * s;
  const TPoint pts[7] = {
      toScreen(u0, vT + o),    toScreen(u0, vT - o), toScreen(uT - h, vT - o), h1, tip, h2,
      toScreen(uT - h, vT + o)};
  Polygon(pts);
}

}  // namespace chart
