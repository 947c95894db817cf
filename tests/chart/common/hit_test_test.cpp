// Hit tests against shapes worked out by hand, and line crossings.
#include "chart/common/hit_test.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace chart;

TEST(HitTest, PointInLine) {
  struct Case {
    TPoint p;
    int x0, y0, x1, y1, tolerance;
    bool hit;
  };
  const Case cases[] = {
      {{50, 11}, 0, 10, 100, 10, 0, true},   // 1 pixel off a horizontal segment
      {{50, 12}, 0, 10, 100, 10, 0, false},  // 2 pixels off
      {{50, 12}, 0, 10, 100, 10, 1, true},
      {{50, 13}, 0, 10, 100, 10, 1, false},
      {{102, 10}, 0, 10, 100, 10, 0, false},  // beyond the end: distance to the end point
      {{101, 10}, 0, 10, 100, 10, 0, true},
      {{-1, 11}, 0, 10, 100, 10, 0, false},  // sqrt 2 from the end point
      {{0, 10}, 0, 10, 100, 10, -5, true},   // an end point always hits
      {{5, 5}, 0, 0, 10, 10, 0, true},       // on a diagonal
      {{6, 4}, 0, 0, 10, 10, 0, false},      // sqrt 2 off the diagonal
      {{7, 3}, 0, 0, 10, 10, 2, true},       // 2 sqrt 2 = 2.83 <= 3
      {{8, 2}, 0, 0, 10, 10, 2, false},      // 3 sqrt 2 = 4.24
      {{3, 4}, 0, 0, 0, 0, 4, true},         // a segment of no length: distance 5
      {{3, 4}, 0, 0, 0, 0, 3, false},
      {{0, 0}, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointInLine(c.p, c.x0, c.y0, c.x1, c.y1, c.tolerance), c.hit)
        << c.p.X << "," << c.p.Y << " to " << c.x0 << "," << c.y0 << "-" << c.x1 << "," << c.y1;
    EXPECT_EQ(PointInLine(c.p, TPoint{c.x0, c.y0}, TPoint{c.x1, c.y1}, c.tolerance), c.hit);
  }
}

TEST(HitTest, PointInPolygonEvenOdd) {
  const std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PointInPolygon({5, 5}, square));
  EXPECT_TRUE(PointInPolygon({0, 0}, square));    // top and left edges are in
  EXPECT_FALSE(PointInPolygon({10, 5}, square));  // right edge is out
  EXPECT_FALSE(PointInPolygon({5, 10}, square));  // bottom edge is out
  EXPECT_FALSE(PointInPolygon({-1, 5}, square));
  EXPECT_FALSE(PointInPolygon({5, 5}, square, -1));
  // Only the first three points: the triangle (0,0), (10,0), (10,10).
  EXPECT_TRUE(PointInPolygon({8, 2}, square, 2));
  EXPECT_FALSE(PointInPolygon({2, 8}, square, 2));
  EXPECT_TRUE(PointInPolygon({5, 5}, square, 99));  // a last index past the points is cut
  EXPECT_FALSE(PointInPolygon({5, 5}, std::vector<TPoint>{}, 3));
  EXPECT_FALSE(PointInPolygon({5, 5}, nullptr, 3));
  // A pentagram: its centre is covered twice, so even-odd leaves it out; a tip is in.
  const std::vector<TPoint> star = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  EXPECT_FALSE(PointInPolygon({50, 50}, star));
  EXPECT_TRUE(PointInPolygon({50, 10}, star));
  EXPECT_FALSE(PointInPolygon({5, 80}, star));
}

TEST(HitTest, Triangles) {
  // (0, 20), (10, 0), (20, 20): apex up at x 10.
  EXPECT_TRUE(PointInTriangle({10, 5}, 0, 20, 0, 20));
  EXPECT_TRUE(PointInTriangle({3, 19}, 0, 20, 0, 20));
  EXPECT_FALSE(PointInTriangle({3, 5}, 0, 20, 0, 20));
  EXPECT_FALSE(PointInTriangle({10, 21}, 0, 20, 0, 20));
  // Apex x is (x0 + x1) div 2 toward zero: (-5 + 0) div 2 = -2.
  EXPECT_TRUE(PointInTriangle({-2, 1}, -5, 0, 0, 20));
  // (20, 0), (0, 10), (20, 20): apex to the left at y 10.
  EXPECT_TRUE(PointInHorizTriangle({5, 10}, 0, 20, 0, 20));
  EXPECT_TRUE(PointInHorizTriangle({19, 1}, 0, 20, 0, 20));
  EXPECT_FALSE(PointInHorizTriangle({5, 3}, 0, 20, 0, 20));
  EXPECT_FALSE(PointInHorizTriangle({21, 10}, 0, 20, 0, 20));
  // Corners at the ends of the integer range: the apex is (0, INT_MAX), (0, 0) lies inside.
  EXPECT_TRUE(PointInTriangle({0, 0}, INT_MIN, INT_MAX, INT_MAX, INT_MIN));
}

TEST(HitTest, Ellipse) {
  // Centre (50, 20), a = 50, b = 20.
  const TRect r{0, 0, 100, 40};
  EXPECT_TRUE(PointInEllipse({50, 20}, r));
  EXPECT_TRUE(PointInEllipse({0, 20}, r));  // on the ellipse
  EXPECT_TRUE(PointInEllipse({50, 0}, r));
  EXPECT_FALSE(PointInEllipse({50, 41}, r));
  EXPECT_TRUE(PointInEllipse({85, 34}, r));                       // 0.49 + 0.49 = 0.98
  EXPECT_FALSE(PointInEllipse({86, 35}, r));                      // 0.5184 + 0.5625 > 1
  EXPECT_FALSE(PointInEllipse({5, 2}, r));                        // a corner of the rectangle
  EXPECT_FALSE(PointInEllipse({50, 20}, TRect{0, 20, 100, 20}));  // no height
  EXPECT_FALSE(PointInEllipse({0, 0}, TRect{0, 0, 1, 1}));        // centre at the corner: no size
  EXPECT_TRUE(PointInEllipse({0, 0}, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
}

TEST(CrossingLines, GeneralHorizontalVerticalParallel) {
  struct Case {
    double x1, y1, x2, y2, x3, y3, x4, y4;
    bool crosses;
    double x, y;
  };
  const Case cases[] = {
      {0, 0, 10, 10, 0, 10, 10, 0, true, 5, 5},
      {0, 5, 10, 5, 5, 0, 5, 10, true, 5, 5},      // horizontal against vertical
      {5, 0, 5, 10, 0, 5, 10, 5, true, 5, 5},      // vertical against horizontal
      {0, 5, 10, 5, 2, 0, 4, 10, true, 3, 5},      // horizontal against slanted
      {0, 5, 10, 5, 20, 0, 22, 10, false, 21, 5},  // the lines meet past the first segment
      {0, 0, 10, 10, 0, 10, 4, 6, false, 5, 5},    // ... past the second segment
      {0, 0, 10, 0, 10, 0, 10, 10, false, 10, 0},  // touching at end points only
      {0, 5, 10, 5, 5, 5, 5, 10, false, 5, 5},     // one end on the other segment
      {0, 0, 10, 10, 10, 0, 5, 5, false, 5, 5},    // ... slanted
      {0, 0, 10, 10, 10, 0, 4, 6, true, 5, 5},     // just across
      {0, 0, 10, 0, 0, 3, 10, 3, false, 0, 0},     // parallel horizontals: the first end point
      {1, 2, 1, 8, 4, 0, 4, 9, false, 1, 2},       // parallel verticals
      {0, 0, 4, 4, 2, 2, 6, 6, false, 0, 0},       // collinear and overlapping
      {3, 3, 3, 3, 0, 0, 6, 6, false, 3, 3},       // a segment of no length
  };
  for (const Case& c : cases) {
    double x = -1, y = -1;
    EXPECT_EQ(CrossingLines(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, x, y), c.crosses)
        << c.x1 << "," << c.y1 << " " << c.x3 << "," << c.y3;
    EXPECT_NEAR(x, c.x, 1e-9);
    EXPECT_NEAR(y, c.y, 1e-9);
  }
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double x = 0, y = 0;
  EXPECT_FALSE(CrossingLines(nan, 0, 1, 1, 0, 1, 1, 0, x, y));
  EXPECT_FALSE(CrossingLines(0, 0, 1e308, 1e308, 0, 1e308, 1e308, 0, x, y));
  EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
}

}  // namespace
