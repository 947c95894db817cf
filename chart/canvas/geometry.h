// Integer points, rectangles and colours of the chart library: the small pure routines every
// drawing step uses, the chart's rounding, and the convex hull of projected corners.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gdi/types.h"

namespace chart {

using platform::TColor;
using platform::TPoint;
using platform::TRect;

// Z is the depth into the screen, 0 at the front.
struct TPoint3D {
  int X = 0;
  int Y = 0;
  int Z = 0;
  friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

using TFourPoints = std::array<TPoint, 4>;
using TPointArray = std::vector<TPoint>;

inline constexpr TRect PlotZeroRect{0, 0, 0, 0};

// Nearest integer, halves to the even neighbour, from an extended-precision value; NaN gives 0
// and values outside the 32-bit range saturate.
int Round(long double v);
// Toward zero, saturating like Round.
int Trunc(long double v);

TPoint PlotPoint(int x, int y);
TPoint3D Point3D(int x, int y, int z);
TRect PlotRect(int left, int top, int right, int bottom);
// All four edges count as inside.
bool PointInRect(const TRect& r, int x, int y);
bool PointInRect(const TRect& r, const TPoint& p);
TRect OrientRectangle(const TRect& r);
void RectSize(const TRect& r, int& width, int& height);
void RectCenter(const TRect& r, int& x, int& y);
// Inclusive bounds of points[0..high]; PlotZeroRect when high < 0.
TRect PolygonBounds(const TPoint* points, int high);
// Bounds of the first count points, with Right + 1 and Bottom + 1.
TRect RectFromPolygon(const TPoint* points, int count);
TRect RectFromTriangle(const TPoint& p0, const TPoint& p1, const TPoint& p2);
// The facing test of the 3D solids: true when the turn P0-P1-P2 is negative.
bool PlotCull(const TPoint& p0, const TPoint& p1, const TPoint& p2);
bool PlotCull(const TPoint* points);

struct TRGBBytes {
  std::uint8_t Blue, Green, Red;
};
// The colour's bytes as stored (no system-colour conversion).
TRGBBytes RGBValue(TColor color);
// ColorToRGB, then each component lowered (raised) by amount, stopping at 0 (255).
TColor ApplyDark(TColor color, int amount);
TColor ApplyBright(TColor color, int amount);

void SwapInteger(int& a, int& b);
void SwapDouble(double& a, double& b);
double PlotDistance(double x, double y);
// The point distance pixels from to back towards from.
TPoint PointAtDistance(const TPoint& from, const TPoint& to, int distance);

// Replaces points by their convex hull, the pivot (top-most, then right-most) last. False for
// fewer than three points.
bool ConvexHull(TPointArray& points);

}  // namespace chart
