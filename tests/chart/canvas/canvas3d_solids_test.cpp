// The solids of the 3D canvas through the recording device context: which faces are drawn, in
// which colours and with which corners.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>

#include "canvas3d_test_support.h"
#include "chart/canvas/gradient.h"

using c3dtest::Pts;
using c3dtest::Scene;
using chart::TPoint;
namespace gdi = platform::gdi;

namespace {

constexpr platform::TColor kGrey = platform::RGB(200, 180, 160);

void SolidBrush(Scene& s, platform::TColor c) {
  s.canvas.Brush->SetStyle(platform::bsSolid);
  s.canvas.Brush->SetColor(c);
}

}  // namespace

TEST(Canvas3DSolids, CubeDrawsTheFacesTheDefaultViewSees) {
  Scene s;
  SolidBrush(s, kGrey);
  s.canvas.Cube(10, 50, 10, 50, 0, 20, true);
  const auto faces = s.Calls("Polygon");
  ASSERT_EQ(faces.size(), 3u);
  // Front, right side, top; the sides darkened by 128 and the top by 64.
  EXPECT_EQ(faces[0].Args, Pts({{10, 10}, {50, 10}, {50, 50}, {10, 50}}));
  EXPECT_EQ(faces[0].Brush.Color, kGrey);
  EXPECT_EQ(faces[1].Args, Pts({{50, 10}, {70, -10}, {70, 30}, {50, 50}}));
  EXPECT_EQ(faces[1].Brush.Color, platform::RGB(72, 52, 32));
  EXPECT_EQ(faces[2].Args, Pts({{10, 10}, {50, 10}, {70, -10}, {30, -10}}));
  EXPECT_EQ(faces[2].Brush.Color, platform::RGB(136, 116, 96));

  // A wire frame shows the front and all four sides.
  Scene wire;
  wire.canvas.Brush->SetStyle(platform::bsClear);
  wire.canvas.Cube(10, 50, 10, 50, 0, 20, false);
  const auto outlines = wire.Calls("Polygon");
  ASSERT_EQ(outlines.size(), 5u);
  EXPECT_EQ(outlines[2].Args, Pts({{10, 10}, {30, -10}, {30, 30}, {10, 50}}));  // left
  EXPECT_EQ(outlines[4].Args, Pts({{10, 50}, {30, 30}, {70, 30}, {50, 50}}));   // bottom

  // Mirrored, the front turns away and the back face is drawn in its place.
  Scene back;
  SolidBrush(back, kGrey);
  back.canvas.Cube(50, 10, 10, 50, 0, 20, false);
  const auto first = back.Calls("Polygon").at(0);
  EXPECT_EQ(first.Args, Pts({{70, -10}, {30, -10}, {30, 30}, {70, 30}}));
}

TEST(Canvas3DSolids, CylinderSidesCapsAndCones) {
  // Seen edge-on in 2D no side is hidden: 16 sides, darkened 8 more each, then the cap.
  Scene flat(false);
  SolidBrush(flat, kGrey);
  flat.canvas.Cylinder(true, 40, 10, 40, 90, 0, 20, true);
  auto polys = flat.Calls("Polygon");
  ASSERT_EQ(polys.size(), 17u);
  for (int k = 2; k <= 16; ++k) {
    EXPECT_EQ(polys[k - 2].Args.size(), 8u);
    EXPECT_EQ(polys[k - 2].Brush.Color, chart::ApplyDark(kGrey, 8 * (k - 2))) << k;
  }
  EXPECT_EQ(polys[15].Brush.Color, polys[14].Brush.Color);  // the closing side
  EXPECT_EQ(polys[16].Args.size(), 32u);
  EXPECT_EQ(polys[16].Brush.Color, chart::ApplyDark(kGrey, 64));

  // In the oblique view the back half is culled; the 16-point cap still comes last.
  Scene s;
  SolidBrush(s, kGrey);
  s.canvas.Cylinder(true, 20, 20, 60, 100, 0, 40, false);
  polys = s.Calls("Polygon");
  ASSERT_GE(polys.size(), 3u);
  EXPECT_LT(polys.size(), 17u);
  EXPECT_EQ(polys.back().Args.size(), 32u);

  // A cone of percent 0 ends in a point at the top centre.
  s.Clear();
  s.canvas.Cone(true, 20, 20, 60, 100, 0, 40, false, 0);
  const auto cap = s.Calls("Polygon").back().Args;
  ASSERT_EQ(cap.size(), 32u);
  TPoint apex;
  s.canvas.Calc3DPoint(apex, 40, 20, 20);
  for (size_t i = 0; i < cap.size(); i += 2) {
    EXPECT_EQ(cap[i], apex.X);
    EXPECT_EQ(cap[i + 1], apex.Y);
  }

  // A horizontal cone seen from the left shows its wide base as the cap, not a point.
  s.Clear();
  s.canvas.Cone(false, 20, 20, 100, 60, 0, 40, false, 0);
  const auto base = s.Calls("Polygon").back().Args;
  ASSERT_EQ(base.size(), 32u);
  int minY = INT_MAX, maxY = INT_MIN;
  for (size_t i = 1; i < base.size(); i += 2) {
    minY = std::min(minY, base[i]);
    maxY = std::max(maxY, base[i]);
  }
  EXPECT_GE(maxY - minY, 40);
}

TEST(Canvas3DSolids, CylinderSideCountsOutOfRange) {
  const int saved = chart::PlotNumCylinderSides;
  for (int sides : {0, -7, 3, 200, 1000000}) {
    chart::PlotNumCylinderSides = sides;
    Scene s(false);
    SolidBrush(s, kGrey);
    s.canvas.Cylinder(true, 40, 10, 40, 90, 0, 20, true);
    const auto polys = s.Calls("Polygon");
    ASSERT_FALSE(polys.empty()) << sides;
    EXPECT_GE(polys.back().Args.size(), 6u) << sides;
    // Darker the further round, never wrapping back to light within one cylinder.
    for (size_t i = 1; i + 1 < polys.size(); ++i)
      EXPECT_LE(platform::GetRValue(polys[i].Brush.Color),
                platform::GetRValue(polys[i - 1].Brush.Color))
          << sides << " face " << i;
    // ... and the sides going round really do darken, also with more than 128 of them.
    ASSERT_GE(polys.size(), 4u);
    EXPECT_LT(platform::GetRValue(polys[polys.size() - 2].Brush.Color),
              platform::GetRValue(polys[0].Brush.Color))
        << sides;
  }
  chart::PlotNumCylinderSides = saved;
}

TEST(Canvas3DSolids, PieArcPointsAndRim) {
  struct Case {
    double start, end;
    size_t points;
  } cases[] = {{0, 0.001, 2}, {0, std::numbers::pi / 2, 47}, {0, 2 * std::numbers::pi, 96}};
  for (const auto& c : cases) {
    Scene s;
    SolidBrush(s, kGrey);
    s.canvas.Pie3D(150, 100, 50, 40, 0, 10, c.start, c.end, false, false, 0, nullptr);
    const auto face = s.Calls("Polygon").at(0);
    EXPECT_EQ(face.Args.size(), 2 * (c.points + 1)) << c.end;  // centre + arc
  }
  // The lower half runs left to right on the screen: one rim band of both arcs. The upper
  // half runs right to left: no rim.
  Scene lower;
  SolidBrush(lower, kGrey);
  lower.canvas.Pie3D(150, 100, 50, 40, 0, 10, std::numbers::pi, 2 * std::numbers::pi, true, false,
                     0, nullptr);
  auto polys = lower.Calls("Polygon");
  ASSERT_EQ(polys.size(), 2u);
  const auto& arc = polys[0].Args;  // centre, then the 92 arc points
  const auto& band = polys[1].Args;
  ASSERT_EQ(arc.size(), 2u * 93);
  ASSERT_EQ(band.size() % 4, 0u);
  EXPECT_GE(band.size(), 4u * 80);
  // The front arc runs up to the last arc point, then the back arc comes back below it.
  const size_t half = band.size() / 2;
  EXPECT_EQ(band[half - 2], arc[arc.size() - 2]);
  EXPECT_EQ(band[half - 1], arc[arc.size() - 1]);
  EXPECT_EQ(band[half], arc[arc.size() - 2] - 10);
  EXPECT_EQ(polys[0].Brush.Color, kGrey);
  EXPECT_EQ(polys[1].Brush.Color, chart::ApplyDark(kGrey, 32));
  // When only the last arc point turns back, the rim still runs up to the point before it.
  Scene turn;
  SolidBrush(turn, kGrey);
  turn.canvas.Pie3D(0, 0, 100000, 50000, 0, 10, std::numbers::pi, 2 * std::numbers::pi + 0.02,
                    false, false, 0, nullptr);
  polys = turn.Calls("Polygon");
  ASSERT_EQ(polys.size(), 2u);
  const auto& turnArc = polys[0].Args;
  const size_t n = turnArc.size() / 2 - 1;
  ASSERT_EQ(n, 93u);
  ASSERT_LT(turnArc[2 * n], turnArc[2 * (n - 1)]);  // F_n.X < F_(n-1).X
  const auto& turnBand = polys[1].Args;
  EXPECT_EQ(turnBand[turnBand.size() / 2 - 2], turnArc[2 * (n - 1)]);
  Scene upper;
  SolidBrush(upper, kGrey);
  upper.canvas.Pie3D(150, 100, 50, 40, 0, 10, 0, std::numbers::pi, true, false, 0, nullptr);
  EXPECT_EQ(upper.Calls("Polygon").size(), 1u);

  // A gradient face is clipped to the slice and outlined with a clear brush.
  Scene grad;
  SolidBrush(grad, kGrey);
  chart::TPlotGradient g;
  g.SetStartColor(platform::clRed);
  g.SetEndColor(platform::clBlue);
  grad.canvas.Pie3D(150, 100, 50, 40, 0, 10, 0, std::numbers::pi, false, false, 0, &g);
  EXPECT_FALSE(grad.Calls("PatBlt").empty());
  const auto outline = grad.Calls("Polygon").at(0);
  EXPECT_EQ(outline.Brush.Style, gdi::BS_NULL);
  EXPECT_EQ(grad.canvas.Brush->GetStyle(), platform::bsSolid);
}

TEST(Canvas3DSolids, ArrowsOpenFilledAndDegenerate) {
  Scene s(false);
  s.canvas.Arrow(true, TPoint{5, 5}, TPoint{5, 5}, 10, 10, 0, 50);
  EXPECT_TRUE(s.calls.empty());

  // A head longer than the arrow is cut to the arrow's length: it reaches back to the tail.
  s.canvas.Arrow(false, TPoint{0, 0}, TPoint{100, 0}, 20, 500, 0, 50);
  const auto lines = s.Calls("LineTo");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Args, (std::vector<int>{100, 0}));
  EXPECT_EQ(lines[1].Args, (std::vector<int>{0, 10}));
  EXPECT_EQ(lines[2].Args, (std::vector<int>{0, -10}));

  s.Clear();
  s.canvas.Arrow(true, TPoint{0, 0}, TPoint{100, 0}, 20, 30, 0, 50);
  const auto poly = s.Calls("Polygon");
  ASSERT_EQ(poly.size(), 1u);
  EXPECT_EQ(poly[0].Args, Pts({{0, 5}, {0, -5}, {70, -5}, {70, -10}, {100, 0}, {70, 10}, {70, 5}}));
}

TEST(Canvas3DSolids, PyramidWithFlatTopDrawsOnlyItsBase) {
  Scene s;
  SolidBrush(s, kGrey);
  s.canvas.Pyramid(true, 10, 50, 50, 50, 0, 20, false);
  const auto polys = s.Calls("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].Args, Pts({{10, 50}, {50, 50}, {70, 30}, {30, 30}}));
}

TEST(Canvas3DSolids, BadInputDrawsNothingWrong) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (bool is3D : {false, true}) {
    Scene s(is3D);
    SolidBrush(s, kGrey);
    s.canvas.Cube(INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, true);
    s.canvas.Cylinder(false, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX, true);
    s.canvas.Cone(true, 0, 0, 10, 10, 0, 10, true, INT_MIN);
    s.canvas.Cone(false, 0, 0, 10, 10, 0, 10, true, INT_MAX);
    s.canvas.Pyramid(false, INT_MAX, INT_MIN, INT_MIN, INT_MAX, 0, INT_MAX, true);
    s.canvas.PyramidTrunc(chart::TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MIN, INT_MAX,
                          INT_MAX, INT_MIN);
    s.canvas.Sphere(0, 0, 0, nan);
    s.canvas.Sphere(INT_MAX, INT_MIN, 0, 1e300);
    s.canvas.Pie3D(0, 0, INT_MAX, INT_MIN, 0, 10, nan, inf, true, true, 50, nullptr);
    s.canvas.Pie3D(0, 0, 10, 10, 0, 10, -1e300, 1e300, true, true, 200, nullptr);
    s.canvas.Arrow(true, TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MAX}, INT_MAX, INT_MIN, 0,
                   nan);
    s.canvas.Arrow(false, TPoint{0, 0}, TPoint{1, 1}, -5, -5, 0, -1e300);
    EXPECT_FALSE(s.calls.empty());
  }
}
