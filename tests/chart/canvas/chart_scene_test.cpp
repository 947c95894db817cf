// One 3D scene drawn by the chart canvas and saved as a PNG in the build directory, so that a
// person can look at it; read back to check it is a picture of the right size.
#include <gtest/gtest.h>

#include <QImage>
#include <numbers>
#include <set>

#include "canvas3d_test_support.h"
#include "chart/canvas/gradient.h"
#include "chart/canvas/plot_font.h"

TEST(ChartScene, ThreeDSceneSavedAsPng) {
  c3dtest::Scene s(true, 480, 320);
  chart::TPlotCanvas3D& c = s.canvas;

  c.GradientFill(chart::TRect{0, 0, 480, 320}, platform::RGB(40, 60, 120),
                 platform::RGB(230, 235, 250), chart::gdTopBottom);
  c.GradientFill(chart::TRect{300, 200, 460, 300}, platform::clYellow, platform::clRed,
                 chart::gdFromCenter);

  c.Pen->SetColor(platform::clBlack);
  c.Brush->SetStyle(platform::bsSolid);
  c.Brush->SetColor(platform::RGB(70, 160, 230));
  c.Cube(40, 120, 150, 260, 0, 40, true);
  c.Brush->SetColor(platform::RGB(240, 140, 40));
  c.Cylinder(true, 150, 120, 210, 260, 0, 40, true);
  c.Brush->SetColor(platform::RGB(120, 200, 90));
  c.Cone(true, 230, 140, 280, 260, 0, 40, true, 0);

  chart::TPlotGradient pieGradient;
  pieGradient.SetStartColor(platform::clWhite);
  pieGradient.SetEndColor(platform::clPurple);
  c.Brush->SetColor(platform::RGB(200, 80, 160));
  c.Pie3D(360, 110, 80, 50, 0, 20, 0.3, 1.9 * std::numbers::pi, true, true, 0, nullptr);
  c.Pie3D(360, 110, 80, 50, 0, 20, 0, 0.3, true, true, 0, &pieGradient);

  c.Brush->SetStyle(platform::bsClear);
  chart::TPlotFont font;
  font.SetName("Liberation Sans");
  font.SetSize(18);
  font.SetColor(platform::clNavy);
  font.GetShadow()->SetSize(2);
  font.GetShadow()->SetColor(platform::clGray);
  c.AssignFont(&font);
  c.TextOut3D(40, 20, 0, "Korvane 3D");
  font.SetSize(11);
  font.SetColor(platform::clMaroon);
  c.AssignFont(&font);
  c.RotateLabel(20, 300, "rotated", 90);
  c.Arrow(true, chart::TPoint{300, 290}, chart::TPoint{440, 250}, 16, 20, 0, 50);

  const std::string path = KORVANE_BINARY_DIR "/chart-scene.png";
  ASSERT_TRUE(c.BufferBitmap->Image()->save(QString::fromStdString(path), "PNG"));

  QImage back;
  ASSERT_TRUE(back.load(QString::fromStdString(path), "PNG"));
  EXPECT_EQ(back.width(), 480);
  EXPECT_EQ(back.height(), 320);
  std::set<QRgb> colours;
  for (int y = 0; y < back.height(); y += 2)
    for (int x = 0; x < back.width(); x += 2) colours.insert(back.pixel(x, y) & 0xFFFFFF);
  EXPECT_GT(colours.size(), 100u);  // gradients and shaded faces, not a blank page
  // The cube's front face in its own colour, the text in navy somewhere near the top.
  EXPECT_EQ(back.pixel(80, 220) & 0xFFFFFF, 0x46A0E6u);
  bool navy = false;
  for (int y = 0; y < 60 && !navy; ++y)
    for (int x = 0; x < 300 && !navy; ++x) navy = (back.pixel(x, y) & 0xFFFFFF) == 0x000080u;
  EXPECT_TRUE(navy);
}
