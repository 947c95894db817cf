#include "chart/canvas/view3d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "chart/canvas/shadow.h"

namespace chart {
namespace {

TEST(View3DOptions, EventsComeInTheirOrderAndOnlyOnAChange) {
  std::string log;
  TView3DOptions v([&] { log += "repaint;"; });
  v.OnChangedZoom = [&](int z) {
    log += "zoom " + std::to_string(z) + " from " + std::to_string(v.GetZoom()) + ";";
  };
  v.OnScrolled = [&](bool horiz) { log += horiz ? "horiz;" : "vert;"; };
  v.SetZoom(100);
  v.SetHorizOffset(0);
  v.SetElevation(345.0);
  v.SetPerspective(15);
  EXPECT_EQ(log, "");
  v.SetZoom(150);
  v.SetHorizOffset(10);
  v.SetVertOffset(-4);
  v.SetTilt(3);
  EXPECT_EQ(log, "zoom 150 from 100;repaint;repaint;horiz;repaint;vert;repaint;");
}

TEST(View3DOptions, AnglesReadBackRoundedHalvesToEven) {
  const struct {
    double set;
    int read;
  } cases[] = {{344.6, 345}, {344.5, 344},      {345.5, 346},
               {-1.5, -2},   {std::nan(""), 0}, {1e300, INT_MAX}};
  for (const auto& c : cases) {
    TView3DOptions v({});
    v.SetElevation(c.set);
    v.SetRotation(c.set);
    EXPECT_EQ(v.GetElevation(), c.read) << c.set;
    EXPECT_EQ(v.GetRotation(), c.read) << c.set;
  }
}

TEST(View3DOptions, OrthoRatio) {
  const struct {
    bool orthogonal;
    int angle;
    double ratio;
  } cases[] = {{true, 45, 1.0},
               {true, 135, 1.0},
               {true, 90, 1.0},
               {true, 60, std::sqrt(3.0)},
               {true, 120, std::sqrt(3.0)},
               {false, 60, 1.0}};
  for (const auto& c : cases) {
    TView3DOptions v({});
    v.SetOrthogonal(c.orthogonal);
    v.SetOrthoAngle(c.angle);
    EXPECT_NEAR(v.CalcOrthoRatio(), c.ratio, 1e-12) << c.angle;
  }
  for (int angle : {INT_MIN, INT_MAX, -90, 270}) {
    TView3DOptions v({});
    v.SetOrthoAngle(angle);
    EXPECT_TRUE(std::isfinite(v.CalcOrthoRatio())) << angle;
  }
}

TEST(View3DOptions, AssignCopiesQuietlyAndIgnoresOtherObjects) {
  TView3DOptions source({});
  source.SetElevation(300.5);
  source.SetHorizOffset(5);
  source.SetOrthogonal(false);
  source.SetZoom(150);
  source.SetZoomText(false);
  int calls = 0;
  TView3DOptions dest([&] { ++calls; });
  dest.OnChangedZoom = [&](int) { ++calls; };
  dest.Assign(&source);
  EXPECT_EQ(calls, 0);
  EXPECT_DOUBLE_EQ(dest.ElevationValue(), 300.5);
  EXPECT_EQ(dest.GetHorizOffset(), 5);
  EXPECT_FALSE(dest.GetOrthogonal());
  EXPECT_EQ(dest.GetZoom(), 150);
  EXPECT_FALSE(dest.GetZoomText());

  TPlotShadow foreign;
  dest.Assign(&foreign);
  dest.Assign(nullptr);
  EXPECT_EQ(dest.GetZoom(), 150);
}

}  // namespace
}  // namespace chart
