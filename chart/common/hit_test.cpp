#include "chart/common/hit_test.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace chart {

namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  if (dx == 0 && dy == 0) return std::hypot(px - ax, py - ay);
  const double u = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
  if (u < 0) return std::hypot(px - ax, py - ay);
  if (u > 1) return std::hypot(px - bx, py - by);
  return std::hypot(px - (ax + u * dx), py - (ay + u * dy));
}

// Halfway, truncated toward zero, without overflowing.
int Half(int a, int b) {
  return static_cast<int>((static_cast<std::int64_t>(a) + b) / 2);
}

}  // namespace

bool PointInLineTolerance(const TPoint& p, int x0, int y0, int x1, int y1, int tolerance) {
  if ((p.X == x0 && p.Y == y0) || (p.X == x1 && p.Y == y1)) return true;
  return SegmentDistance(p.X, p.Y, x0, y0, x1, y1) <= static_cast<double>(tolerance) + 1.0;
}

bool PointInLine(const TPoint& p, int x0, int y0, int x1, int y1, int tolerance) {
  return PointInLineTolerance(p, x0, y0, x1, y1, tolerance);
}

bool PointInLine(const TPoint& p, const TPoint& p0, const TPoint& p1, int tolerance) {
  return PointInLineTolerance(p, p0.X, p0.Y, p1.X, p1.Y, tolerance);
}

bool PointInPolygon(const TPoint& p, const TPoint* poly, int last) {
  if (last < 0 || poly == nullptr) return false;
  bool inside = false;
  int j = last;
  for (int i = 0; i <= last; ++i) {
    const double xi = poly[i].X, yi = poly[i].Y, xj = poly[j].X, yj = poly[j].Y;
    if (((yi <= p.Y && p.Y < yj) || (yj <= p.Y && p.Y < yi)) &&
        p.X < (xj - xi) * (p.Y - yi) / (yj - yi) + xi)
      inside = !inside;
    j = i;
  }
  return inside;
}

bool PointInPolygon(const TPoint& p, const std::vector<TPoint>& poly, int last) {
  return PointInPolygon(p, poly.data(), std::min(last, static_cast<int>(poly.size()) - 1));
}

bool PointInPolygon(const TPoint& p, const std::vector<TPoint>& poly) {
  return PointInPolygon(p, poly, static_cast<int>(poly.size()) - 1);
}

bool PointInTriangle(const TPoint& p, int x0, int x1, int y0, int y1) {
  const TPoint t[3] = {{x0, y1}, {Half(x0, x1), y0}, {x1, y1}};
  return PointInPolygon(p, t, 2);
}

bool PointInHorizTriangle(const TPoint& p, int y0, int y1, int x0, int x1) {
  const TPoint t[3] = {{x1, y0}, {x0, Half(y0, y1)}, {x1, y1}};
  return PointInPolygon(p, t, 2);
}

bool PointInEllipse(const TPoint& p, int left, int top, int right, int bottom) {
  const int cx = Half(left, right);
  const int cy = Half(top, bottom);
  const double a = static_cast<double>(cx) - left;
  const double b = static_cast<double>(cy) - top;
  const double a2 = a * a;
  const double b2 = b * b;
  if (a2 == 0 || b2 == 0) return false;
  const double dx = static_cast<double>(p.X) - cx;
  const double dy = static_cast<double>(p.Y) - cy;
  return dx * dx / a2 + dy * dy / b2 <= 1.0;
}

bool PointInEllipse(const TPoint& p, const TRect& rect) {
  return PointInEllipse(p, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

bool CrossingLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4, double& x, double& y) {
  x = x1;
  y = y1;
  const double dx1 = x2 - x1, dy1 = y2 - y1;
  const double dx2 = x4 - x3, dy2 = y4 - y3;
  const double d = dx1 * dy2 - dy1 * dx2;
  // Parallel within rounding of the two products; NaN lands here too.
  if (!(std::fabs(d) > 1e-15 * (std::fabs(dx1 * dy2) + std::fabs(dy1 * dx2)))) return false;
  const double t = ((x3 - x1) * dy2 - (y3 - y1) * dx2) / d;
  const double cx = x1 + t * dx1;
  const double cy = y1 + t * dy1;
  if (!std::isfinite(cx) || !std::isfinite(cy)) return false;
  x = cx;
  y = cy;
  // Which side of the other line each end point lies on.
  auto side = [](double ax, double ay, double bx, double by, double px, double py) {
    const double c = (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    return c > 0 ? 1 : (c < 0 ? -1 : 0);
  };
  // Strictly opposite sides: segments that only touch do not cross.
  return side(x1, y1, x2, y2, x3, y3) * side(x1, y1, x2, y2, x4, y4) < 0 &&
         side(x3, y3, x4, y4, x1, y1) * side(x3, y3, x4, y4, x2, y2) < 0;
}

}  // namespace chart
