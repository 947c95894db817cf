// Shapes drawn on a panel's canvas during a pass: what reaches the device context and the
// pixels it leaves.
#include "chart/panel/shape.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

namespace gdi = platform::gdi;
using chart::TPlotShape;

class ShapeTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    panel.SetColor(platform::clWhite);
  }
  // One pass that runs draw with the device context's calls recorded.
  void Paint(const std::function<void()>& draw) {
    calls.clear();
    panel.During = [&](TestPanel& p) {
      gdi::Dc* dc = p.GetCanvas3D()->GetHandle();
      dc->SetRecorder([this](const gdi::DcCall& c) { calls.push_back(c); });
      draw();
      dc->SetRecorder({});
    };
    panel.Invalidate();
    panel.ProcessPaint();
  }
  int Find(const std::string& op, const std::vector<int>& args) const {
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].Op == op && calls[i].Args == args) return static_cast<int>(i);
    return -1;
  }
  TColor Pixel(int x, int y) const { return WindowPixel(panel, x, y); }

  TestPanel panel;
  std::vector<gdi::DcCall> calls;
};

TEST(RectToFourPoints, CornersTurnAboutTheCentre) {
  using P = platform::TPoint;
  const chart::TFourPoints none = chart::RectToFourPoints(TRect{10, 20, 30, 40}, 0);
  EXPECT_EQ(none, (chart::TFourPoints{P{10, 20}, P{30, 20}, P{30, 40}, P{10, 40}}));
  // 90 degrees: centre (100, 80) plus (y, -x) of each corner offset.
  EXPECT_EQ(chart::RectToFourPoints(TRect{60, 60, 140, 100}, 90),
            (chart::TFourPoints{P{80, 120}, P{80, 40}, P{120, 40}, P{120, 120}}));
  // 30 degrees about (50, 25): (-50, -25) -> (round(-43.30 - 12.5), round(25 - 21.65)).
  EXPECT_EQ(chart::RectToFourPoints(TRect{0, 0, 100, 50}, 30),
            (chart::TFourPoints{P{-6, 28}, P{81, -22}, P{106, 22}, P{19, 72}}));
}

TEST_F(ShapeTest, FrameAndBevel) {
  TPlotShape shape(&panel);
  shape.GetShadow()->SetSize(0);
  shape.SetBevel(platform::bvRaised);
  shape.SetBevelWidth(2);
  shape.GetFrame()->SetColor(platform::clBlack);
  shape.ShapeBounds = TRect{50, 50, 150, 100};
  Paint([&] { shape.Draw(); });
  const int rect = Find("Rectangle", {50, 50, 150, 100});
  ASSERT_GE(rect, 0);
  EXPECT_EQ(calls[rect].Pen.Color, platform::clBlack);
  EXPECT_EQ(calls[rect].Brush.Style, gdi::BS_SOLID);
  EXPECT_EQ(calls[rect].Brush.Color, platform::clWhite);
  const TColor light = platform::ColorToRGB(platform::clBtnHighlight);
  const TColor dark = platform::ColorToRGB(platform::clBtnShadow);
  EXPECT_EQ(Pixel(50, 50), light);
  EXPECT_EQ(Pixel(51, 51), light);
  EXPECT_EQ(Pixel(50, 98), light);
  EXPECT_EQ(Pixel(149, 99), dark);
  EXPECT_EQ(Pixel(148, 98), dark);
  EXPECT_EQ(Pixel(149, 50), dark);
  EXPECT_EQ(Pixel(52, 52), platform::clWhite);
  EXPECT_EQ(Pixel(150, 75), platform::clWhite);
}

TEST_F(ShapeTest, TheShadowStepComesFirstAndOnlyForAFilledShape) {
  TPlotShape shape(&panel);
  shape.SetColor(platform::clYellow);
  shape.ShapeBounds = TRect{50, 50, 150, 100};
  ASSERT_EQ(shape.GetShadowSize(), 3);
  ASSERT_EQ(shape.GetShadowColor(), platform::clBlack);
  Paint([&] { shape.Draw(); });
  const int rect = Find("Rectangle", {50, 50, 150, 100});
  ASSERT_GT(rect, 0);
  // The shadow lies 3 pixels right and down, drawn before the box.
  EXPECT_NE(Pixel(151, 75), platform::clWhite);
  EXPECT_NE(Pixel(100, 101), platform::clWhite);
  EXPECT_EQ(Pixel(51, 101), platform::clWhite);
  EXPECT_EQ(Pixel(160, 75), platform::clWhite);
  EXPECT_EQ(Pixel(100, 75), platform::clYellow);

  struct Case {
    const char* what;
    std::function<void(TPlotShape&)> set;
  } noShadow[] = {
      {"clear brush", [](TPlotShape& s) { s.GetBrush()->SetStyle(platform::bsClear); }},
      {"shadow freed", [](TPlotShape& s) { s.SetShadow(nullptr); }},
      {"shadow size 0", [](TPlotShape& s) { s.SetShadowSize(0); }},
  };
  for (const Case& c : noShadow) {
    TPlotShape s(&panel);
    c.set(s);
    s.ShapeBounds = TRect{50, 50, 150, 100};
    Paint([&] { s.Draw(); });
    EXPECT_GE(Find("Rectangle", {50, 50, 150, 100}), 0) << c.what;
    EXPECT_EQ(Pixel(151, 75), platform::clWhite) << c.what;
    EXPECT_EQ(Pixel(100, 101), platform::clWhite) << c.what;
  }

  TPlotShape hidden(&panel);
  hidden.SetTransparent(true);
  hidden.ShapeBounds = TRect{50, 50, 150, 100};
  Paint([&] { hidden.Draw(); });
  EXPECT_TRUE(calls.empty());
}

TEST_F(ShapeTest, AnOpaqueTurnedShapeIsAPolygonWithoutShadow) {
  TPlotShape shape(&panel);
  shape.SetColor(platform::clLime);
  shape.GetFrame()->SetWidth(2);
  Paint([&] { shape.DrawRectRotated(TRect{60, 60, 140, 100}, 90, 0); });
  const int box = Find("Polygon", {80, 120, 80, 40, 120, 40, 120, 120});
  ASSERT_GE(box, 0);
  EXPECT_EQ(calls[box].Brush.Color, platform::clLime);
  EXPECT_LT(Find("Polygon", {85, 125, 85, 45, 125, 45, 125, 125}), 0);
  EXPECT_EQ(Pixel(100, 80), platform::clLime);
  // No bevel on a turned box.
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const gdi::DcCall& c) { return c.Op == "Polyline"; }),
            0);
}

TEST_F(ShapeTest, ARoundedShapeClipsItsGradientToItsCorners) {
  TPlotShape shape(&panel);
  shape.SetShapeStyle(chart::fosRoundRectangle);
  shape.GetGradient()->SetStartColor(platform::clRed);
  shape.GetGradient()->SetEndColor(platform::clRed);
  shape.GetGradient()->SetVisible(true);
  shape.ShapeBounds = TRect{40, 40, 160, 120};
  Paint([&] { shape.Draw(); });
  const int outline = Find("RoundRect", {40, 40, 160, 120, 16, 16});
  ASSERT_GE(outline, 0);
  EXPECT_EQ(calls[outline].Brush.Style, gdi::BS_NULL);
  EXPECT_EQ(Pixel(100, 80), platform::clRed);
  EXPECT_EQ(Pixel(42, 80), platform::clRed);
  // Outside the corner arc of 16.
  EXPECT_EQ(Pixel(41, 41), platform::clWhite);
  EXPECT_EQ(Pixel(158, 41), platform::clWhite);
  // Opaque: no shadow; the same over a picture (given after the first pass) centred or tiled.
  const auto outside = [&] {
    return std::vector{Pixel(41, 41), Pixel(158, 41), Pixel(41, 118), Pixel(158, 118),
                       Pixel(161, 100)};
  };
  for (const auto mode : {chart::pbmStretch, chart::pbmCenter, chart::pbmTile}) {
    panel.SetBackImageMode(mode);
    Paint([] {});
    const std::vector<TColor> beneath = outside();
    Paint([&] { shape.Draw(); });
    EXPECT_EQ(Pixel(42, 80), platform::clRed) << mode;
    EXPECT_EQ(outside(), beneath) << mode;
    panel.GetBackImage()->SetGraphic(CodedBitmap(300, 200));
  }
}

TEST_F(ShapeTest, ATranslucentShapeShowsWhatIsBehindIt) {
  TPlotShape shape(&panel);
  shape.SetShadow(nullptr);
  shape.SetColor(platform::clRed);
  shape.SetTransparency(50);
  shape.ShapeBounds = TRect{50, 50, 150, 100};
  Paint([&] { shape.Draw(); });
  const TColor c = Pixel(100, 75);
  EXPECT_GE(c & 0xFF, 0xFE);
  EXPECT_GT((c >> 8) & 0xFF, 0x60);
  EXPECT_LT((c >> 8) & 0xFF, 0xA0);
  shape.SetTransparency(250);
  EXPECT_EQ(shape.GetTransparency(), 100);

  // Its black shadow is blended with it, also where it reaches beyond the box: grey, never black.
  const struct {
    double angle;
    chart::TChartObjectShapeStyle style;
  } cases[] = {{30, chart::fosRectangle}, {0, chart::fosRectangle}, {0, chart::fosRoundRectangle}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.angle << " " << c.style);
    TPlotShape turned(&panel);
    turned.SetShapeStyle(c.style);
    turned.SetColor(platform::clRed);
    turned.SetTransparency(40);
    Paint([&] { turned.DrawRectRotated(TRect{50, 50, 150, 100}, c.angle, 0); });
    const QImage shown = WindowCopy(panel);
    int black = 0, grey = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        const QRgb p = shown.pixel(x, y);
        black += (p & 0xFFFFFF) == 0;
        grey += qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) < 0xC0 && qRed(p) > 0;
      }
    EXPECT_EQ(black, 0);
    EXPECT_GT(grey, 100);
  }
}

TEST_F(ShapeTest, LegacyShadowPropertiesAndSizes) {
  TPlotShape shape(&panel);
  shape.ReadShadowSize(5);
  EXPECT_EQ(shape.GetShadow()->GetHorizSize(), 5);
  EXPECT_EQ(shape.GetShadow()->GetVertSize(), 5);
  struct Case {
    const char* text;
    bool ok;
    TColor color;
  } colors[] = {
      {"clRed", true, 0x0000FF},
      {"clnavy", true, 0x800000},
      {"255", true, 255},
      {"$00FF00", true, 0x00FF00},
      {"-16777201", true, -16777201},
      {"bogus", false, 0x00FF00},
      {"", false, 0x00FF00},
      {"$", false, 0x00FF00},
      {"-", false, 0x00FF00},
      {"99999999999999999999", false, 0x00FF00},
  };
  for (const Case& c : colors) {
    shape.SetShadowColor(0x00FF00);
    EXPECT_EQ(shape.ReadShadowColor(c.text), c.ok) << c.text;
    EXPECT_EQ(shape.GetShadowColor(), c.color) << c.text;
  }
  // Unchanged shadow settings are not stored.
  TPlotShape plain(&panel);
  EXPECT_FALSE(plain.GetShadow()->IsColorStored());
  EXPECT_FALSE(plain.GetShadow()->IsHorizStored());

  shape.ShapeBounds = TRect{10, 10, 19, 14};
  EXPECT_EQ(shape.GetWidth(), 10);
  EXPECT_EQ(shape.GetHeight(), 5);
  shape.SetWidth(3);
  EXPECT_EQ(shape.ShapeBounds.Right, 12);

  TPlotShape copy(&panel);
  shape.SetBevel(platform::bvLowered);
  shape.SetShapeStyle(chart::fosRoundRectangle);
  shape.SetTransparency(30);
  shape.GetGradient()->SetVisible(true);
  shape.GetFrame()->SetColor(platform::clRed);
  copy.Assign(&shape);
  EXPECT_EQ(copy.GetBevel(), platform::bvLowered);
  EXPECT_EQ(copy.GetShapeStyle(), chart::fosRoundRectangle);
  EXPECT_EQ(copy.GetTransparency(), 30);
  EXPECT_EQ(copy.GetShadowSize(), 5);
  ASSERT_NE(copy.GradientIfAny(), nullptr);
  EXPECT_TRUE(copy.GradientIfAny()->GetVisible());
  EXPECT_EQ(copy.GetFrame()->GetColor(), platform::clRed);
}

TEST_F(ShapeTest, ChangesRepaintTheParentOnlyWhenTheyChangeSomething) {
  TPlotShape shape(&panel);
  panel.ProcessPaint();
  const int before = panel.InvalidateCount();
  shape.SetColor(platform::clWhite);
  shape.SetBevel(platform::bvNone);
  shape.SetVisible(true);
  EXPECT_EQ(panel.InvalidateCount(), before);
  shape.SetColor(platform::clRed);
  EXPECT_GT(panel.InvalidateCount(), before);
  TPlotShape orphan;
  orphan.SetColor(platform::clRed);
  EXPECT_EQ(orphan.GetColor(), platform::clRed);
  EXPECT_NO_THROW(orphan.Draw());
}

TEST_F(ShapeTest, BadGeometryNeverCrashes) {
  const int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
  const TRect rects[] = {
      {small, small, big, big}, {big, big, small, small}, {0, 0, 0, 0}, {100, 100, 50, 50}};
  const double angles[] = {0,
                           45,
                           360,
                           -30,
                           1e300,
                           std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()};
  TPlotShape shape(&panel);
  shape.SetTransparency(30);
  shape.SetBevel(platform::bvRaised);
  shape.GetGradient()->SetVisible(true);
  shape.GetShadow()->SetTransparency(50);
  for (const auto style : {chart::fosRectangle, chart::fosRoundRectangle}) {
    shape.SetShapeStyle(style);
    Paint([&] {
      for (const TRect& r : rects)
        for (double a : angles) shape.DrawRectRotated(r, a, 0);
    });
  }
  // The canvas is still sound: a plain box draws where it should.
  TPlotShape plain(&panel);
  plain.SetColor(platform::clBlue);
  plain.ShapeBounds = TRect{20, 20, 40, 40};
  Paint([&] { plain.Draw(); });
  EXPECT_EQ(Pixel(30, 30), platform::clBlue);
}

}  // namespace
}  // namespace paneltest
