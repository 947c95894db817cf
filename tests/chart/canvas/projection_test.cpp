// The 3D canvas's projections: the worked examples, the inverse as a true inverse, and guards.
#include <climits>
#include <cmath>
#include <limits>

#include "canvas_fixture.h"

namespace {

using chart::TPlotCanvas3D;
using platform::TPoint;
using platform::TRect;

class ProjectionTest : public canvastest::CanvasTest {
 protected:
  // A 3D drawing over the whole bitmap with the chart rectangle (0, 0, 200, 100) and depth 100:
  // centre (100, 50, 50).
  void Project() {
    Start(true);
    canvas.Projection(100, TRect{0, 0, 300, 200}, TRect{0, 0, 200, 100});
  }
};

TEST_F(ProjectionTest, ObliqueDefaultMovesDepthUpAndRight) {
  options.SetHorizOffset(7);
  options.SetVertOffset(-3);
  Project();
  ASSERT_EQ(canvas.CentreX, 100);
  ASSERT_EQ(canvas.CentreY, 50);
  ASSERT_EQ(canvas.OffsetX, 107);
  ASSERT_EQ(canvas.OffsetY, 47);
  const struct {
    int x, y, z;
  } points[] = {{100, 50, 0}, {0, 0, 0}, {150, 80, 30}, {-20, 300, 99}, {5, 5, -40}};
  for (const auto& p : points) {
    const TPoint s = canvas.Calculate3DPosition(p.x, p.y, p.z);
    EXPECT_EQ(s.X, p.x - 100 + p.z + 107) << p.x << "," << p.y << "," << p.z;
    EXPECT_EQ(s.Y, p.y - 50 - p.z + 47) << p.x << "," << p.y << "," << p.z;
  }
}

TEST_F(ProjectionTest, ObliqueZoomRoundsHalvesToEven) {
  options.SetZoom(50);
  Project();
  // (x - centre) * 0.5: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0, -1.5 -> -2.
  const int in[] = {101, 103, 105, 99, 97};
  const int out[] = {0, 2, 2, 0, -2};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(canvas.Calculate3DPosition(in[i], 50, 0).X, 100 + out[i]);
}

TEST_F(ProjectionTest, ObliqueAngles) {
  options.SetOrthoAngle(135);
  Project();
  EXPECT_EQ(canvas.ObliqueX, -1);
  TPoint s = canvas.Calculate3DPosition(120, 60, 30);
  EXPECT_EQ(s.X, 120 - 100 - 30 + 100);
  EXPECT_EQ(s.Y, 60 - 50 - 30 + 50);

  options.SetOrthoAngle(90);
  Project();
  EXPECT_EQ(canvas.ObliqueX, 1);
  EXPECT_EQ(canvas.ObliqueY, 1.0);
  s = canvas.Calculate3DPosition(120, 60, 30);
  EXPECT_EQ(s.X, 120 - 100 + 30 + 100);
  EXPECT_EQ(s.Y, 60 - 50 - 30 + 50);
}

TEST_F(ProjectionTest, RotatedWithoutAnglesIgnoresDepth) {
  options.SetOrthogonal(false);
  options.SetElevation(0);
  options.SetRotation(0);
  options.SetPerspective(0);
  options.SetZoom(150);
  Project();
  for (int z : {-70, 0, 50, 400}) {
    // 3 * 1.5 = 4.5 -> 4; -5 * 1.5 = -7.5 -> -8; 7 * 1.5 = 10.5 -> 10.
    EXPECT_EQ(canvas.Calculate3DPosition(103, 45, z), (TPoint{104, 42})) << z;
    EXPECT_EQ(canvas.Calculate3DPosition(107, 57, z), (TPoint{110, 60})) << z;
  }
}

TEST_F(ProjectionTest, PerspectiveFactorAndPerspectiveShrinksDistantPoints) {
  options.SetOrthogonal(false);
  options.SetElevation(0);
  options.SetRotation(0);
  Start(true);
  canvas.Projection(100, TRect{}, TRect{0, 0, 600, 100});
  ASSERT_TRUE(canvas.PerspectiveOn);
  EXPECT_NEAR(canvas.PerspectiveFactor, 1.0 / 6000, 1e-18);
  // Centre (300, 50, 50): a point 60 right of it at the centre's depth stays 60 right; deeper
  // it comes closer to the centre, nearer it moves out.
  EXPECT_EQ(canvas.Calculate3DPosition(360, 50, 50).X, 360);
  const int deep = canvas.Calculate3DPosition(360, 50, 650).X;
  const int near = canvas.Calculate3DPosition(360, 50, -550).X;
  // f = 1 / (600 / 6000 + 1) and 1 / (-600 / 6000 + 1).
  EXPECT_EQ(deep, 300 + static_cast<int>(std::nearbyint(60 / 1.1)));
  EXPECT_EQ(near, 300 + static_cast<int>(std::nearbyint(60 / 0.9)));
  // A new drawing has no perspective until its projection is set.
  Start(true);
  EXPECT_FALSE(canvas.PerspectiveOn);
}

struct View {
  const char* name;
  bool orthogonal;
  int orthoAngle;
  double elevation, rotation;
  int tilt, perspective, zoom;
};

// Every screen point the forward projection gives maps back to the 3D point it came from, at
// the same depth: exactly where the projection enlarges, within a pixel at zoom 100.
TEST_F(ProjectionTest, InverseUndoesForwardProjection) {
  const View views[] = {
      {"oblique", true, 45, 0, 0, 0, 0, 100},
      {"oblique 135 zoomed", true, 135, 0, 0, 0, 0, 400},
      {"rotated default", false, 45, 345, 345, 0, 0, 100},
      {"rotated default zoomed", false, 45, 345, 345, 0, 0, 400},
      {"elevation 15 only", false, 45, 345, 0, 0, 0, 400},
      {"tilted", false, 45, 340, 330, 20, 0, 400},
      {"turned round", false, 45, 10, 200, 0, 0, 400},
      // Elevation 60: y is seen at half its size, so more zoom for whole pixels.
      {"turned round tilted", false, 45, 300, 120, -35, 0, 1200},
      {"perspective", false, 45, 345, 345, 0, 15, 400},
      {"perspective tilted", false, 45, 330, 20, 15, 60, 400},
      {"perspective zoom 100", false, 45, 345, 345, 0, 15, 100},
  };
  for (const View& v : views) {
    options.SetOrthogonal(v.orthogonal);
    options.SetOrthoAngle(v.orthoAngle);
    options.SetElevation(v.elevation);
    options.SetRotation(v.rotation);
    options.SetTilt(v.tilt);
    options.SetPerspective(v.perspective);
    options.SetZoom(v.zoom);
    Project();
    // Whole pixels come back exactly where the picture is enlarged; perspective shrinks the far
    // side, and at zoom 100 a pixel may round either way.
    const int tolerance = v.zoom >= 400 && v.perspective == 0 ? 0 : 1;
    int worst = 0;
    for (int x = -150; x <= 350; x += 23)
      for (int y = -100; y <= 250; y += 19)
        for (int z : {0, 25, 50, 90}) {
          if (canvas.PerspectiveOn) {
            // Only points well in front of the eye have a perspective image to invert.
            const long double depth =
                canvas.ElevationCos * ((z - canvas.CentreZ) * canvas.RotationCos -
                                       (x - canvas.CentreX) * canvas.RotationSin) +
                (y - canvas.CentreY) * canvas.ElevationSin;
            if (depth * canvas.PerspectiveFactor + 1 < 0.25L) continue;
          }
          const TPoint s = canvas.Calculate3DPosition(x, y, z);
          int bx = s.X, by = s.Y;
          canvas.Calculate2DPosition(bx, by, z);
          worst = std::max({worst, std::abs(bx - x), std::abs(by - y)});
          if (std::abs(bx - x) > tolerance || std::abs(by - y) > tolerance) {
            ADD_FAILURE() << v.name << ": (" << x << "," << y << "," << z << ") -> (" << s.X << ","
                          << s.Y << ") -> (" << bx << "," << by << ")";
            return;
          }
        }
    EXPECT_LE(worst, tolerance) << v.name;
  }
}

TEST_F(ProjectionTest, InverseLeavesEdgeOnViewsAndTwoDimensions) {
  options.SetOrthogonal(false);
  options.SetElevation(0);
  options.SetRotation(90);
  options.SetPerspective(0);
  Project();
  int x = 120, y = 70;
  canvas.Calculate2DPosition(x, y, 10);
  EXPECT_EQ(x, 120);
  EXPECT_EQ(y, 70);

  Start(false);
  canvas.Calculate2DPosition(x, y, 10);
  EXPECT_EQ(x, 120);
  EXPECT_EQ(y, 70);
}

TEST_F(ProjectionTest, TwoDimensionalPointIsWritten) {
  Start(false);
  TPoint p{-999, -999};
  canvas.Calc3DPoint(p, 12.0, 34.0, 5);
  EXPECT_EQ(p, (TPoint{12, 34}));
  p = {-999, -999};
  canvas.Calc3DPoint(p, 7, 8, 5);
  EXPECT_EQ(p, (TPoint{7, 8}));
  EXPECT_EQ(canvas.Calculate3DPosition(7, 8, 500), (TPoint{7, 8}));
}

TEST_F(ProjectionTest, ExtremeInputSaturatesAndNeverMirrors) {
  // Oblique: results past the 32-bit range are clamped.
  options.SetZoom(1000);
  Project();
  EXPECT_EQ(canvas.Calculate3DPosition(INT_MAX, INT_MIN, INT_MAX), (TPoint{INT_MAX, INT_MIN}));
  EXPECT_EQ(canvas.Calculate3DPosition(INT_MIN, INT_MAX, INT_MIN), (TPoint{INT_MIN, INT_MAX}));

  // A perspective so strong that near points would be behind the eye: they stay on their side.
  options.SetOrthogonal(false);
  options.SetElevation(0);
  options.SetRotation(0);
  options.SetZoom(100);
  options.SetPerspective(1000000);
  Project();
  for (int z : {INT_MIN, -100000, -1000, -51, 0, 49, 50, 1000, INT_MAX}) {
    const TPoint right = canvas.Calculate3DPosition(160, 50, z);
    const TPoint left = canvas.Calculate3DPosition(40, 50, z);
    EXPECT_GE(right.X, canvas.OffsetX) << z;
    EXPECT_LE(left.X, canvas.OffsetX) << z;
    int bx = right.X, by = right.Y;
    canvas.Calculate2DPosition(bx, by, z);
  }

  // Angles that are no numbers give no numbers back, only integers.
  options.SetElevation(std::numeric_limits<double>::quiet_NaN());
  options.SetRotation(1e300);
  Project();
  const TPoint p = canvas.Calculate3DPosition(10, 20, 30);
  int bx = p.X, by = p.Y;
  canvas.Calculate2DPosition(bx, by, 30);
}

}  // namespace
