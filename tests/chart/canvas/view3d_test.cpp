#include "chart/canvas/view3d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "chart/canvas/shadow.h"

namespace chart {
namespace {

TEST(View3DOptions, DefaultsAsTheConstructorSetsThem) {
  TView3DOptions v({});
  EXPECT_EQ(v.GetElevation(), 345);
  EXPECT_EQ(v.GetRotation(), 345);
  EXPECT_EQ(v.GetFontZoom(), 100);
  EXPECT_EQ(v.GetZoom(), 100);
  EXPECT_EQ(v.GetOrthoAngle(), 45);
  EXPECT_EQ(v.GetPerspective(), 15);
  EXPECT_TRUE(v.GetOrthogonal());
  EXPECT_TRUE(v.GetZoomText());
  EXPECT_EQ(v.GetHorizOffset(), 0);
  EXPECT_EQ(v.GetVertOffset(), 0);
  EXPECT_EQ(v.GetTilt(), 0);
}

TEST(View3DOptions, ZoomEventComesBeforeTheValueIsStored) {
  std::string log;
  TView3DOptions v([&] { log += "repaint;"; });
  v.OnChangedZoom = [&](int newZoom) {
    log += "zoom " + std::to_string(newZoom) + " while " + std::to_string(v.GetZoom()) + ";";
  };
  v.SetZoom(100);
  EXPECT_EQ(log, "");
  v.SetZoom(150);
  EXPECT_EQ(log, "zoom 150 while 100;repaint;");
  EXPECT_EQ(v.GetZoom(), 150);
}

TEST(View3DOptions, ScrolledComesAfterTheRepaint) {
  std::string log;
  TView3DOptions v([&] { log += "repaint;"; });
  v.OnScrolled = [&](bool horiz) { log += horiz ? "horiz;" : "vert;"; };
  v.SetHorizOffset(0);
  v.SetVertOffset(0);
  EXPECT_EQ(log, "");
  v.SetHorizOffset(10);
  v.SetVertOffset(-4);
  EXPECT_EQ(log, "repaint;horiz;repaint;vert;");
}

TEST(View3DOptions, SettersRepaintOnlyOnAChange) {
  int repaints = 0;
  TView3DOptions v([&] { ++repaints; });
  v.SetFontZoom(100);
  v.SetPerspective(15);
  v.SetTilt(0);
  v.SetOrthoAngle(45);
  v.SetOrthogonal(true);
  v.SetZoomText(true);
  v.SetElevation(345.0);
  v.SetRotationInteger(345);
  EXPECT_EQ(repaints, 0);
  v.SetFontZoom(120);
  v.SetPerspective(0);
  v.SetTilt(10);
  v.SetOrthoAngle(60);
  v.SetOrthogonal(false);
  v.SetZoomText(false);
  v.SetElevation(300.25);
  v.SetRotationInteger(10);
  EXPECT_EQ(repaints, 8);
  EXPECT_DOUBLE_EQ(v.ElevationValue(), 300.25);
}

TEST(View3DOptions, AnglesReadBackRoundedHalvesToEven) {
  const struct {
    double set;
    int read;
  } cases[] = {{344.6, 345}, {344.4, 344}, {344.5, 344}, {345.5, 346}, {-0.5, 0}, {-1.5, -2}};
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
  } cases[] = {
      {true, 45, 1.0},
      {true, 135, 1.0},
      {true, 90, 1.0},
      {true, 60, std::sqrt(3.0)},
      {true, 120, std::sqrt(3.0)},
      {true, 30, 1 / std::sqrt(3.0)},
      {true, 0, 0.0},
      {false, 60, 1.0},
      {false, 90, 1.0},
  };
  for (const auto& c : cases) {
    TView3DOptions v({});
    v.SetOrthogonal(c.orthogonal);
    v.SetOrthoAngle(c.angle);
    EXPECT_NEAR(v.CalcOrthoRatio(), c.ratio, 1e-12) << c.angle;
  }
  for (int angle : {INT_MIN, INT_MAX, -90, 270, 1000000}) {
    TView3DOptions v({});
    v.SetOrthoAngle(angle);
    EXPECT_TRUE(std::isfinite(v.CalcOrthoRatio())) << angle;
  }
}

TEST(View3DOptions, AssignCopiesQuietlyAndIgnoresOtherObjects) {
  int repaints = 0, events = 0;
  TView3DOptions source({});
  source.SetElevation(300.5);
  source.SetRotation(10.25);
  source.SetFontZoom(80);
  source.SetHorizOffset(5);
  source.SetVertOffset(6);
  source.SetOrthoAngle(30);
  source.SetOrthogonal(false);
  source.SetPerspective(40);
  source.SetTilt(7);
  source.SetZoom(150);
  source.SetZoomText(false);

  TView3DOptions dest([&] { ++repaints; });
  dest.OnScrolled = [&](bool) { ++events; };
  dest.OnChangedZoom = [&](int) { ++events; };
  dest.Assign(&source);
  EXPECT_EQ(repaints, 0);
  EXPECT_EQ(events, 0);
  EXPECT_DOUBLE_EQ(dest.ElevationValue(), 300.5);
  EXPECT_DOUBLE_EQ(dest.RotationValue(), 10.25);
  EXPECT_EQ(dest.GetFontZoom(), 80);
  EXPECT_EQ(dest.GetHorizOffset(), 5);
  EXPECT_EQ(dest.GetVertOffset(), 6);
  EXPECT_EQ(dest.GetOrthoAngle(), 30);
  EXPECT_FALSE(dest.GetOrthogonal());
  EXPECT_EQ(dest.GetPerspective(), 40);
  EXPECT_EQ(dest.GetTilt(), 7);
  EXPECT_EQ(dest.GetZoom(), 150);
  EXPECT_FALSE(dest.GetZoomText());
  EXPECT_TRUE(dest.OnScrolled);  // events stay

  TView3DOptions other({});
  TPlotShadow foreign;
  other.Assign(&foreign);
  other.Assign(nullptr);
  EXPECT_EQ(other.GetZoom(), 100);
  EXPECT_EQ(other.GetElevation(), 345);
}

TEST(View3DOptions, NonFiniteAnglesAreHarmless) {
  TView3DOptions v({});
  v.SetElevation(std::numeric_limits<double>::quiet_NaN());
  v.SetRotation(std::numeric_limits<double>::infinity());
  EXPECT_EQ(v.GetElevation(), 0);
  v.GetRotation();  // saturates, no trap
  v.SetElevation(1e300);
  EXPECT_EQ(v.GetElevation(), INT_MAX);
}

}  // namespace
}  // namespace chart
