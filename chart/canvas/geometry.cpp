#include "chart/canvas/geometry.h"

#include <cfenv>
#include <climits>
#include <cmath>
#include <utility>

namespace chart {

namespace {

int Saturate(long double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<long double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<long double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

// Keys of the hull sort, kept beside their points.
struct HullEntry {
  TPoint point;
  float key;
};

void SortByKey(std::vector<HullEntry>& e, int lo, int hi) {
  while (lo < hi) {
    int i = lo, j = hi;
    const float pivot = e[(lo + hi) / 2].key;
    while (i <= j) {
      while (e[i].key < pivot) ++i;
      while (e[j].key > pivot) --j;
      if (i <= j) {
        std::swap(e[i], e[j]);
        ++i;
        --j;
      }
    }
    // Recurse on the smaller half so that the depth stays logarithmic.
    if (j - lo < hi - i) {
      SortByKey(e, lo, j);
      lo = i;
    } else {
      SortByKey(e, i, hi);
      hi = j;
    }
  }
}

// Only its sign is used. Differences of 32-bit coordinates take 33 bits, their products 66:
// exact in 128 bits.
int Cross(const TPoint& u, const TPoint& v, const TPoint& w) {
  using Wide = __int128;
  const Wide a = (Wide{u.X} - v.X) * (Wide{w.Y} - v.Y);
  const Wide b = (Wide{w.X} - v.X) * (Wide{u.Y} - v.Y);
  return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

int Round(long double v) {
  if (std::isnan(v)) return 0;
  const int saved = std::fegetround();
  if (saved != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  const long double r = std::rintl(v);
  if (saved != FE_TONEAREST) std::fesetround(saved);
  return Saturate(r);
}

int Trunc(long double v) {
  return Saturate(std::truncl(v));
}

TPoint PlotPoint(int x, int y) {
  return TPoint{x, y};
}

TPoint3D Point3D(int x, int y, int z) {
  return TPoint3D{x, y, z};
}

TRect PlotRect(int left, int top, int right, int bottom) {
  return TRect{left, top, right, bottom};
}

bool PointInRect(const TRect& r, int x, int y) {
  return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

bool PointInRect(const TRect& r, const TPoint& p) {
  return PointInRect(r, p.X, p.Y);
}

TRect OrientRectangle(const TRect& r) {
  TRect o = r;
  if (o.Left > o.Right) std::swap(o.Left, o.Right);
  if (o.Top > o.Bottom) std::swap(o.Top, o.Bottom);
  return o;
}

void RectSize(const TRect& r, int& width, int& height) {
  width = r.Right - r.Left;
  height = r.Bottom - r.Top;
}

void RectCenter(const TRect& r, int& x, int& y) {
  // 64-bit sums: the halves of two large coordinates must not overflow.
  x = static_cast<int>((static_cast<long long>(r.Left) + r.Right) / 2);
  y = static_cast<int>((static_cast<long long>(r.Top) + r.Bottom) / 2);
}

TRect PolygonBounds(const TPoint* points, int high) {
  if (!points || high < 0) return PlotZeroRect;
  TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (int i = 1; i <= high; ++i) {
    const TPoint& p = points[i];
    if (p.X < r.Left)
      r.Left = p.X;
    else if (p.X > r.Right)
      r.Right = p.X;
    if (p.Y < r.Top)
      r.Top = p.Y;
    else if (p.Y > r.Bottom)
      r.Bottom = p.Y;
  }
  return r;
}

TRect RectFromPolygon(const TPoint* points, int count) {
  TRect r = PolygonBounds(points, count - 1);
  if (count <= 0) return r;
  // The edge past the largest coordinate saturates rather than wrapping.
  if (r.Right < INT32_MAX) ++r.Right;
  if (r.Bottom < INT32_MAX) ++r.Bottom;
  return r;
}

TRect RectFromTriangle(const TPoint& p0, const TPoint& p1, const TPoint& p2) {
  const TPoint p[3] = {p0, p1, p2};
  return RectFromPolygon(p, 3);
}

bool PlotCull(const TPoint& p0, const TPoint& p1, const TPoint& p2) {
  return Cross(p0, p1, p2) < 0;
}

bool PlotCull(const TPoint* points) {
  return PlotCull(points[0], points[1], points[2]);
}

TRGBBytes RGBValue(TColor color) {
  const auto u = static_cast<std::uint32_t>(color);
  return TRGBBytes{static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 8),
                   static_cast<std::uint8_t>(u)};
}

TColor ApplyDark(TColor color, int amount) {
  const TColor c = platform::ColorToRGB(color);
  auto down = [amount](int v) { return v > amount ? v - amount : 0; };
  return platform::RGB(down(platform::GetRValue(c)), down(platform::GetGValue(c)),
                       down(platform::GetBValue(c)));
}

TColor ApplyBright(TColor color, int amount) {
  const TColor c = platform::ColorToRGB(color);
  auto up = [amount](int v) { return v + amount < 255 ? v + amount : 255; };
  return platform::RGB(up(platform::GetRValue(c)), up(platform::GetGValue(c)),
                       up(platform::GetBValue(c)));
}

void SwapInteger(int& a, int& b) {
  std::swap(a, b);
}

void SwapDouble(double& a, double& b) {
  std::swap(a, b);
}

double PlotDistance(double x, double y) {
  return std::sqrt(x * x + y * y);
}

TPoint PointAtDistance(const TPoint& from, const TPoint& to, int distance) {
  // Sums are taken wide and saturate, so far points and long distances cannot overflow.
  const long double d = distance;
  if (from.X == to.X) return TPoint{to.X, Round(to.Y < from.Y ? to.Y + d : to.Y - d)};
  const long double a =
      std::atan2(static_cast<long double>(to.Y) - from.Y, static_cast<long double>(to.X) - from.X);
  return TPoint{Round(to.X - static_cast<long double>(Round(d * std::cos(a)))),
                Round(to.Y - static_cast<long double>(Round(d * std::sin(a))))};
}

bool ConvexHull(TPointArray& points) {
  const int n = static_cast<int>(points.size());
  if (n == 3) return true;
  if (n < 3) return false;

  // The pivot is the top-most point, the right-most among those. Unlike a search seeded with a
  // large sentinel, this always finds one, however far the points lie.
  int pivotIndex = 0;
  for (int i = 1; i < n; ++i) {
    const TPoint& p = points[i];
    const TPoint& best = points[pivotIndex];
    if (p.Y < best.Y || (p.Y == best.Y && p.X > best.X)) pivotIndex = i;
  }
  const TPoint pivot = points[pivotIndex];
  points[pivotIndex] = points.back();
  points.pop_back();

  std::vector<HullEntry> e;
  e.reserve(points.size());
  for (const TPoint& p : points) {
    const double dx = static_cast<double>(pivot.X) - p.X;
    const double dy = static_cast<double>(pivot.Y) - p.Y;
    const double d = std::sqrt(dx * dx + dy * dy);
    e.push_back(HullEntry{p, d == 0 ? 0.0f : static_cast<float>(dx / d)});
  }
  SortByKey(e, 0, static_cast<int>(e.size()) - 1);

  // Each step keeps the point and moves on, or drops it and steps back; the last point is
  // tested against the pivot too.
  int i = 1;
  while (i < static_cast<int>(e.size())) {
    if (i == 0) {
      ++i;
      continue;
    }
    const int last = static_cast<int>(e.size()) - 1;
    const TPoint& next = i == last ? pivot : e[i + 1].point;
    if (Cross(e[i - 1].point, e[i].point, next) < 0) {
      ++i;
    } else {
      e.erase(e.begin() + i);
      --i;
    }
  }

  points.clear();
  for (const HullEntry& h : e) points.push_back(h.point);
  points.push_back(pivot);
  return true;
}

}  // namespace chart
