// The solids of the 3D canvas through the recording device context: which faces are drawn, in
// which colours and with which corners.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

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

TEST(Canvas3DSolids, PieFaceLiesAtItsFarDepthAndItsCutFacesTakeTheDarkBrush) {
  // Three quarters from the bottom round to the left, centred on the projection centre (150,
  // 100): both cut faces show. The oblique view draws depth z at (x + z, y - z).
  for (const bool withGradient : {false, true}) {
    SCOPED_TRACE(withGradient);
    Scene s;
    SolidBrush(s, kGrey);
    chart::TPlotGradient g;
    s.canvas.Pie3D(150, 100, 50, 40, 0, 10, -std::numbers::pi / 2, std::numbers::pi, true, true, 0,
                   withGradient ? &g : nullptr);
    const auto polys = s.Calls("Polygon");
    ASSERT_EQ(polys.size(), 4u);
    // The end face (at the left), then the start face (at the bottom): each from the centre and
    // the rim at the face's depth 10 to the rim and the centre at the back's depth 0.
    EXPECT_EQ(polys[0].Args, Pts({{160, 90}, {110, 90}, {100, 100}, {150, 100}}));
    EXPECT_EQ(polys[1].Args, Pts({{160, 90}, {160, 130}, {150, 140}, {150, 100}}));
    for (int i : {0, 1}) {
      EXPECT_EQ(polys[i].Brush.Style, gdi::BS_SOLID);
      EXPECT_EQ(polys[i].Brush.Color, chart::ApplyDark(kGrey, 32));
    }
    // The face last over them, from the centre at depth 10; then the rim band below it, from
    // the face's arc at depth 10 back along the arc at depth 0.
    const auto& face = polys[2].Args;
    const auto& band = polys[3].Args;
    ASSERT_EQ(face.size(), 2u * 97);
    EXPECT_EQ((std::vector<int>{face[0], face[1], face[2], face[3], face.end()[-2], face.end()[-1],
                                band[0], band[1], band.end()[-2], band.end()[-1]}),
              Pts({{160, 90}, {160, 130}, {110, 90}, {160, 130}, {150, 140}}));
    // A gradient fills the face and the rim (outlined with a clear brush), never a cut face.
    for (int i : {2, 3})
      EXPECT_EQ(polys[i].Brush.Style, withGradient ? gdi::BS_NULL : gdi::BS_SOLID);
    if (!withGradient) {
      EXPECT_EQ(polys[2].Brush.Color, kGrey);
      EXPECT_EQ(polys[3].Brush.Color, chart::ApplyDark(kGrey, 32));
    }
    EXPECT_EQ(s.Calls("PatBlt").empty(), !withGradient);
  }
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

// Absurd sides, depths, radii and angles: corners past the int range end at its limits, pixels
// show only where the solid is, and the canvas is left as the solids leave it.
TEST(Canvas3DSolids, BadInputDrawsNothingWrong) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::function<void(chart::TPlotCanvas3D&)> draws[] = {
      [](auto& c) { c.Cube(INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, true); },
      [](auto& c) {
        c.Cylinder(false, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX, true);
      },
      [](auto& c) {
        c.PyramidTrunc({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MIN, INT_MAX, INT_MAX, INT_MIN);
      },
      [](auto& c) { c.Pyramid(false, INT_MAX, INT_MIN, INT_MIN, INT_MAX, 0, INT_MAX, true); },
      [](auto& c) { c.Cone(true, 100, 100, 110, 110, 0, 10, true, INT_MIN); },
      [](auto& c) { c.Cone(false, 100, 100, 110, 110, 0, 10, true, INT_MAX); },
      [=](auto& c) { c.Sphere(100, 100, 0, nan); },
      [](auto& c) { c.Sphere(INT_MAX, INT_MIN, 0, 1e300); },
      [=](auto& c) { c.Pie3D(0, 0, INT_MAX, INT_MIN, 0, 10, nan, inf, true, true, 50, nullptr); },
      [](auto& c) { c.Pie3D(100, 100, 10, 10, 0, 10, -1e300, 1e300, true, true, 200, nullptr); },
      [=](auto& c) {
        c.Arrow(true, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, INT_MAX, INT_MIN, 0, nan);
      },
      [](auto& c) {
        c.Arrow(false, {100, 100}, {101, 101}, -5, -5, 0, -1e300);
      },
  };
  using Area = std::function<bool(int x, int y)>;
  auto box = [](int l, int t, int r, int b) -> Area {
    return [=](int x, int y) { return x >= l && x < r && y >= t && y < b; };
  };
  const Area all = box(0, 0, 300, 200), nowhere = box(0, 0, 0, 0);
  const Area diagonal = [](int x, int y) { return std::abs(x - y) <= 1; };
  const std::vector<int> none;
  struct Case {
    Area flat, deep;                    // where pixels may show in 2D and in 3D
    bool everywhere;                    // ... and must show everywhere
    std::vector<int> first2D, first3D;  // the first primitive's arguments
  } cases[] = {
      // The front face as given; in 3D the back face, at (X + Z, Y - Z).
      {all, all, true,
       Pts({{INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MIN}}),
       Pts({{-1, 0}, {INT_MAX, 0}, {INT_MAX, INT_MIN}, {-1, INT_MIN}})},
      {all, all, true, none, none},
      {all, all, true, none, none},
      {all, all, false, none, none},
      // Radii scaled far past the base stay between the cone's ends.
      {box(0, 100, 300, 111), all, false, none, none},
      {box(100, 0, 111, 200), box(100, 90, 121, 111), false, none, none},
      {nowhere, nowhere, false, none, none},
      // A radius of 1e300 is INT_MAX: the disc lies above the surface.
      {nowhere, nowhere, false, {0, INT_MIN, INT_MAX, 0}, {0, INT_MIN, INT_MAX, -1}},
      {all, all, false, none, none},
      // A hole of 200 % rings the pie out to twice its radius.
      {box(80, 80, 121, 121), box(70, 70, 131, 131), false, none, none},
      {diagonal, diagonal, false, none, none},
      {box(100, 100, 107, 107), box(100, 100, 107, 107), false, none, none},
  };
  static_assert(std::size(draws) == std::size(cases));
  for (bool is3D : {false, true}) {
    for (const Case& c : cases) {
      const std::string at = std::to_string(is3D) + "/" + std::to_string(&c - cases);
      Scene s(is3D);
      SolidBrush(s, kGrey);
      s.canvas.Pen->SetColor(platform::clBlack);
      draws[&c - cases](s.canvas);
      const Area& may = is3D ? c.deep : c.flat;
      for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
          const bool painted = s.Pixel(x, y) != platform::clWhite;
          ASSERT_TRUE(painted ? may(x, y) : !c.everywhere) << at << ": " << x << "," << y;
        }
      const std::vector<int>& first = is3D ? c.first3D : c.first2D;
      if (!first.empty()) {
        ASSERT_FALSE(s.calls.empty()) << at;
        EXPECT_EQ(s.calls[0].Args, first) << at;
      }
      // Solids change only the brush colour; clips and the front plane are as they were.
      EXPECT_EQ(s.canvas.Pen->GetStyle(), platform::psSolid) << at;
      EXPECT_EQ(s.canvas.Pen->GetColor(), platform::clBlack) << at;
      EXPECT_EQ(s.canvas.Brush->GetStyle(), platform::bsSolid) << at;
      EXPECT_EQ(s.canvas.RotationLocks, 0) << at;
      gdi::Region clip;
      EXPECT_EQ(s.Dc()->GetClipRgn(clip), 0) << at;
    }
  }
}
