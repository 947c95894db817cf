// Whether a screen point hits a line, polygon, triangle or ellipse, and where two lines cross.
#pragma once

#include <vector>

#include "platform/gdi/types.h"

namespace chart {

using platform::TPoint;
using platform::TRect;

// True on an end point, or within tolerance + 1 pixels of the segment.
bool PointInLine(const TPoint& p, int x0, int y0, int x1, int y1, int tolerance = 0);
bool PointInLine(const TPoint& p, const TPoint& p0, const TPoint& p1, int tolerance = 0);
bool PointInLineTolerance(const TPoint& p, int x0, int y0, int x1, int y1, int tolerance);

// Even-odd rule over poly[0..last]; false when last < 0.
bool PointInPolygon(const TPoint& p, const TPoint* poly, int last);
// The same, with last limited to the points there are.
bool PointInPolygon(const TPoint& p, const std::vector<TPoint>& poly, int last);
bool PointInPolygon(const TPoint& p, const std::vector<TPoint>& poly);

// The upward triangle (x0, y1), ((x0 + x1) div 2, y0), (x1, y1).
bool PointInTriangle(const TPoint& p, int x0, int x1, int y0, int y1);
// The sideways triangle (x1, y0), (x0, (y0 + y1) div 2), (x1, y1).
bool PointInHorizTriangle(const TPoint& p, int y0, int y1, int x0, int x1);

// Inside or on the ellipse inscribed in the rectangle; false when it has no width or height.
bool PointInEllipse(const TPoint& p, int left, int top, int right, int bottom);
bool PointInEllipse(const TPoint& p, const TRect& rect);

// Segment (x1, y1)-(x2, y2) against segment (x3, y3)-(x4, y4). x and y get the crossing point
// of the two lines; the result says whether the segments cross: the end points of each lie
// strictly on opposite sides of the other, so segments that only touch do not.
// Parallel or collinear lines, a segment of no length, or a coordinate that is not finite give
// false, with x, y = (x1, y1).
bool CrossingLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4, double& x, double& y);

}  // namespace chart
