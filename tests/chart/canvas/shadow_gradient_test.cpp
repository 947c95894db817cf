#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "canvas_fixture.h"
#include "chart/canvas/blend.h"
#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/gradient.h"
#include "chart/canvas/shadow.h"

namespace chart {
namespace {

using canvastest::CanvasTest;
using platform::gdi::DcCall;

// Grey of a byte: 0x00vvvvvv.
constexpr TColor Grey(int v) {
  return platform::RGB(v, v, v);
}

class ShadowTest : public CanvasTest {
 protected:
  void TearDown() override { PlotCanvasUnitStart(); }
  std::vector<const DcCall*> Drawn() const {
    std::vector<const DcCall*> out;
    for (const auto& c : calls)
      if (c.Op != "SelectClipRgn" && c.Op != "ExtSelectClipRgn") out.push_back(&c);
    return out;
  }
};

TEST_F(ShadowTest, NoColourOrNoSizeDrawsNothingAndStartsNoBlend) {
  Start(false);
  for (int variant = 0; variant < 3; ++variant) {
    TPlotShadow shadow;
    shadow.SetTransparency(50);
    if (variant == 0) {
      shadow.SetColor(platform::clNone);
      shadow.SetSize(4);
    }
    if (variant == 2) shadow.SetSmooth(false);
    shadow.Draw(canvas, {10, 10, 50, 40});
    shadow.DrawEllipse(canvas, {10, 10, 50, 40});
    EXPECT_FALSE(shadow.PrepareCanvas(canvas, {10, 10, 50, 40}, 0));
  }
  EXPECT_TRUE(calls.empty());
}

TEST_F(ShadowTest, SmoothBlackShadowOfFourBrightensBy64PerLine) {
  Start(false);
  TPlotShadow shadow;
  shadow.SetColor(platform::clBlack);
  shadow.SetSize(4);
  shadow.Draw(canvas, {10, 10, 50, 40});
  std::vector<std::vector<int>> lines;
  std::vector<TColor> colours;
  TPoint from;
  for (const auto& c : calls) {
    if (c.Op == "MoveToEx") from = {c.Args[0], c.Args[1]};
    if (c.Op == "LineTo") {
      lines.push_back({from.X, from.Y, c.Args[0], c.Args[1]});
      colours.push_back(c.Pen.Color);
    }
  }
  ASSERT_EQ(lines.size(), 8u);
  for (int i = 1; i <= 4; ++i) {
    // Below the object, y = Bottom + i - 1, from Left + 4 to Right + i - 1.
    EXPECT_EQ(lines[i - 1], (std::vector<int>{14, 39 + i, 49 + i, 39 + i}));
    EXPECT_EQ(colours[i - 1], Grey(64 * (i - 1)));
    // Right of it, x = Right + i - 1, from Top + 4 down to Bottom + i - 1.
    EXPECT_EQ(lines[i + 3], (std::vector<int>{49 + i, 14, 49 + i, 39 + i}));
    EXPECT_EQ(colours[i + 3], Grey(64 * (i - 1)));
  }
  const auto pixels = Ops("SetPixel");
  ASSERT_EQ(pixels.size(), 4u);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(pixels[i - 1].Args[0], 48 + i);
    EXPECT_EQ(pixels[i - 1].Args[1], 38 + i);
    EXPECT_EQ(pixels[i - 1].Args[2], Grey(64 * (i - 1)));
  }
}

TEST_F(ShadowTest, WhiteSmoothShadowKeepsItsColour) {
  Start(false);
  TPlotShadow shadow;
  shadow.SetColor(platform::clWhite);
  shadow.SetVertSize(3);
  shadow.Draw(canvas, {0, 0, 20, 20});
  const auto lines = Ops("LineTo");
  ASSERT_EQ(lines.size(), 3u);
  for (const auto& l : lines) EXPECT_EQ(l.Pen.Color, platform::clWhite);
}

TEST_F(ShadowTest, SizeOneAndNegativeSizesArePlainRectangles) {
  Start(false);
  canvas.FrontPlaneBegin();  // flat forms
  TPlotShadow one;
  one.SetColor(platform::clRed);
  one.SetSize(1);
  one.Draw(canvas, {10, 10, 50, 40});
  TPlotShadow negative;
  negative.SetColor(platform::clRed);
  negative.SetSize(-3);
  negative.Draw(canvas, {10, 10, 50, 40});
  canvas.FrontPlaneEnd();
  const auto rects = Ops("Rectangle");
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0].Args, (std::vector<int>{11, 40, 51, 42}));
  EXPECT_EQ(rects[1].Args, (std::vector<int>{50, 11, 52, 42}));
  EXPECT_EQ(rects[2].Args, (std::vector<int>{7, 11, 47, 7}));
  EXPECT_EQ(rects[3].Args, (std::vector<int>{11, 7, 7, 38}));
  for (const auto& r : rects) {
    EXPECT_EQ(r.Brush.Color, platform::clRed);
    EXPECT_EQ(r.Pen.Style & platform::gdi::PS_STYLE_MASK, platform::gdi::PS_NULL);
  }
  EXPECT_TRUE(Ops("LineTo").empty());
}

TEST_F(ShadowTest, TranslucentShadowBlendsOverItsOwnRectangle) {
  Start(false);
  TPlotShadow shadow;
  shadow.SetColor(platform::clBlack);
  shadow.SetSmooth(false);
  shadow.SetSize(4);
  shadow.SetTransparency(50);
  shadow.Draw(canvas, {10, 10, 50, 40});
  // The blend took a copy of the shifted rectangle and wrote the mix back there.
  const auto blits = Ops("BitBlt");
  ASSERT_FALSE(blits.empty());
  EXPECT_EQ(blits.back().Args[0], 14);
  EXPECT_EQ(blits.back().Args[1], 14);
  EXPECT_EQ(blits.back().Args[2], 41);
  EXPECT_EQ(blits.back().Args[3], 31);
  // Black at 50% over white: half way, minus the white pixel's red step.
  EXPECT_EQ(Pixel(30, 42), platform::RGB(127, 127, 127));
  // Untouched white inside the rectangle takes the manual mix's red step; outside it stays.
  EXPECT_EQ(Pixel(30, 20), platform::RGB(254, 255, 255));
  EXPECT_EQ(Pixel(5, 5), platform::clWhite);
}

TEST_F(ShadowTest, HugeSizesAndRectanglesNeitherOverflowNorHang) {
  Start(false);
  for (int size : {INT_MAX, INT_MIN}) {
    TPlotShadow shadow;
    shadow.SetColor(platform::clBlack);
    shadow.SetHorizSize(size);
    shadow.SetVertSize(size);
    shadow.SetTransparency(30);
    shadow.Draw(canvas, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    shadow.Draw(canvas, {10, 10, 50, 40});
    shadow.DrawEllipse(canvas, {10, 10, 50, 40});
    shadow.SetSmooth(false);
    shadow.Draw(canvas, {10, 10, 50, 40}, INT_MAX);
  }
  SUCCEED();
}

TEST(PlotShadow, SettersStorageAndAssign) {
  int changes = 0;
  TPlotShadow shadow([&] { ++changes; });
  EXPECT_EQ(shadow.GetColor(), platform::clSilver);
  EXPECT_FALSE(shadow.IsColorStored());
  shadow.SetSize(0);
  shadow.SetTransparency(0);
  EXPECT_EQ(changes, 0);
  shadow.SetHorizSize(5);
  shadow.SetVertSize(-2);
  EXPECT_EQ(shadow.GetSize(), 5);
  shadow.SetSize(3);
  EXPECT_EQ(shadow.GetHorizSize(), 3);
  EXPECT_EQ(shadow.GetVertSize(), 3);
  EXPECT_EQ(changes, 3);
  shadow.SetTransparency(250);
  EXPECT_EQ(shadow.GetTransparency(), 100);
  shadow.SetTransparency(-4);
  EXPECT_EQ(shadow.GetTransparency(), 0);
  shadow.DefaultColor = platform::clBlack;
  shadow.DefaultSize = 3;
  EXPECT_TRUE(shadow.IsColorStored());
  EXPECT_FALSE(shadow.IsHorizStored());

  TPlotShadow copy;
  shadow.SetSmooth(false);
  copy.Assign(&shadow);
  EXPECT_EQ(copy.GetSize(), 3);
  EXPECT_FALSE(copy.GetSmooth());
  TCustomPlotGradient foreign;
  copy.Assign(&foreign);
  EXPECT_EQ(copy.GetSize(), 3);
}

// Records what the gradient asks of the canvas's band fill.
class FillLog : public TPlotCanvas3D {
 public:
  struct Fill {
    TRect r;
    TColor start, end;
    TGradientDirection direction;
    int balance;
  };
  void GradientFill(const TRect& r, TColor start, TColor end, TGradientDirection direction,
                    int balance) override {
    fills.push_back({r, start, end, direction, balance});
  }
  std::vector<Fill> fills;
};

TEST(PlotGradient, MiddleColourSetAndClear) {
  int changes = 0;
  TPlotGradient g([&] { ++changes; });
  EXPECT_EQ(g.GetMidColor(), platform::clNone);
  g.SetMidColor(platform::clNone);
  EXPECT_EQ(changes, 0);
  g.SetMidColor(platform::clRed);
  EXPECT_TRUE(g.HasMiddleColor());
  EXPECT_EQ(g.GetMidColor(), platform::clRed);
  g.SetMidColor(platform::clRed);
  EXPECT_EQ(changes, 1);
  g.SetMidColor(platform::clNone);
  EXPECT_FALSE(g.HasMiddleColor());
  EXPECT_EQ(g.GetMidColor(), platform::clNone);
  EXPECT_EQ(changes, 2);
  g.SetMidColor(platform::clRed);
  EXPECT_EQ(g.GetMidColor(), platform::clRed);
  EXPECT_EQ(changes, 3);
  g.UseMiddleColor();
  EXPECT_EQ(changes, 3);
}

TEST(PlotGradient, MiddleColourSplitsTheFillInHalves) {
  FillLog canvas;
  TPlotGradient g;
  g.SetStartColor(platform::clWhite);
  g.SetEndColor(platform::clBlue);
  g.SetMidColor(platform::clRed);
  g.SetBalance(70);
  const TRect r{0, 0, 40, 21};
  const struct {
    TGradientDirection direction;
    TRect first, second;
    TColor s1, e1, s2, e2;
  } cases[] = {
      {gdTopBottom, {0, 0, 40, 10}, {0, 10, 40, 21}, 0xFF, 0xFF0000, 0xFFFFFF, 0xFF},
      {gdBottomTop, {0, 0, 40, 10}, {0, 10, 40, 21}, 0xFFFFFF, 0xFF, 0xFF, 0xFF0000},
      {gdLeftRight, {0, 0, 20, 21}, {20, 0, 40, 21}, 0xFF, 0xFF0000, 0xFFFFFF, 0xFF},
      {gdRightLeft, {0, 0, 20, 21}, {20, 0, 40, 21}, 0xFFFFFF, 0xFF, 0xFF, 0xFF0000},
  };
  for (const auto& c : cases) {
    canvas.fills.clear();
    g.SetDirection(c.direction);
    g.Draw(canvas, r);
    ASSERT_EQ(canvas.fills.size(), 2u);
    EXPECT_EQ(canvas.fills[0].r, c.first);
    EXPECT_EQ(canvas.fills[1].r, c.second);
    EXPECT_EQ(canvas.fills[0].start, c.s1);
    EXPECT_EQ(canvas.fills[0].end, c.e1);
    EXPECT_EQ(canvas.fills[1].start, c.s2);
    EXPECT_EQ(canvas.fills[1].end, c.e2);
    EXPECT_EQ(canvas.fills[0].balance, 50);
  }
  // Corner directions ignore the middle colour; diagonals and no middle keep the balance.
  canvas.fills.clear();
  g.SetDirection(gdFromCenter);
  g.Draw(canvas, r);
  g.SetDirection(gdDiagonalUp);
  g.Draw(canvas, r);
  g.SetMidColor(platform::clNone);
  g.SetDirection(gdTopBottom);
  g.Draw(canvas, r);
  ASSERT_EQ(canvas.fills.size(), 3u);
  EXPECT_EQ(canvas.fills[0].balance, 50);
  EXPECT_EQ(canvas.fills[0].end, platform::clBlue);
  EXPECT_EQ(canvas.fills[1].balance, 70);
  EXPECT_EQ(canvas.fills[2].balance, 70);
  EXPECT_EQ(canvas.fills[2].r, r);
}

TEST(PlotGradient, MonochromeRedToBlueIsGrey85Throughout) {
  FillLog canvas;
  canvas.SetMonochrome(true);
  TPlotGradient g;
  g.SetStartColor(platform::clRed);
  g.SetEndColor(platform::clBlue);
  g.SetDirection(gdLeftRight);
  g.Draw(canvas, TRect{0, 0, 30, 30});
  ASSERT_EQ(canvas.fills.size(), 1u);
  EXPECT_EQ(canvas.fills[0].start, Grey(85));
  EXPECT_EQ(canvas.fills[0].end, Grey(85));
}

class RadialTest : public CanvasTest {
 protected:
  void TearDown() override { PlotCanvasUnitStart(); }
  std::vector<DcCall> Ellipses() const { return Ops("Ellipse"); }
};

TEST_F(RadialTest, TenBySevenUsesTenStepsFromNineDown) {
  for (bool dcBrush : {true, false}) {
    PlotSetDCBrushColor = dcBrush;
    calls.clear();
    Start(false);
    TPlotGradient g;
    g.SetStartColor(platform::clWhite);
    g.SetEndColor(platform::clYellow);
    g.DrawRadial(canvas, {0, 0, 10, 7});
    const auto fills = Ops("FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Brush.Color, platform::clYellow);
    const auto e = Ellipses();
    ASSERT_EQ(e.size(), 10u) << dcBrush;
    // Centre (6, 4.5), steps of 0.5 by 0.35; blue falls by 25.5 per step.
    EXPECT_EQ(e[0].Args, (std::vector<int>{2, 1, 10, 8}));
    EXPECT_EQ(e[0].Brush.Color, platform::RGB(255, 255, 25));
    EXPECT_EQ(e[9].Args, (std::vector<int>{6, 4, 6, 4}));
    EXPECT_EQ(e[9].Brush.Color, platform::clWhite);
    for (const auto& c : e)
      EXPECT_EQ(c.Pen.Style & platform::gdi::PS_STYLE_MASK, platform::gdi::PS_NULL);
    // The pen and brush are given back.
    EXPECT_EQ(canvas.Pen->GetStyle(), platform::psSolid);
  }
}

TEST_F(RadialTest, OtherBalancesFollowThePowerCurveAndStayInRange) {
  Start(false);
  TPlotGradient g;
  g.SetStartColor(platform::clBlack);
  g.SetEndColor(platform::clWhite);
  g.SetBalance(100);
  g.DrawRadial(canvas, {0, 0, 8, 8});
  auto e = Ellipses();
  ASSERT_EQ(e.size(), 9u);
  EXPECT_EQ(e[0].Brush.Color, platform::clWhite);  // i = M: factor 1
  // i = 4 of 8: (5/9)^2 of 255 = 78.7
  EXPECT_EQ(e[4].Brush.Color, Grey(79));

  for (int balance : {-100, -34, INT_MIN, INT_MAX}) {
    calls.clear();
    g.SetBalance(balance);
    g.DrawRadial(canvas, {0, 0, 8, 8});
    e = Ellipses();
    ASSERT_EQ(e.size(), 9u);
    for (const auto& c : e) {
      EXPECT_EQ(c.Brush.Color & ~0xFFFFFF, 0) << balance;
      // No channel carried into its neighbour: black to white stays grey.
      EXPECT_EQ(platform::GetRValue(c.Brush.Color), platform::GetBValue(c.Brush.Color)) << balance;
    }
  }
}

TEST_F(RadialTest, EmptyRectanglesDrawNothing) {
  Start(false);
  TPlotGradient g;
  for (const TRect& r :
       {TRect{5, 5, 5, 5}, TRect{0, 0, 0, 9}, TRect{0, 0, 9, 0}, TRect{INT_MIN, 0, INT_MAX, 5}}) {
    g.DrawRadial(canvas, r);
    g.SetDirection(gdRadial);
    g.Draw(canvas, r);
  }
  EXPECT_TRUE(Ellipses().empty());
  EXPECT_TRUE(Ops("FillRect").empty());
  // A reversed rectangle is put in order first.
  g.DrawRadial(canvas, {10, 7, 0, 0});
  EXPECT_EQ(Ellipses().size(), 10u);
}

TEST_F(RadialTest, SystemAndMonochromeColoursAreConverted) {
  Start(false);
  TPlotGradient g;
  g.SetStartColor(platform::clBtnFace);
  g.SetEndColor(platform::clBtnShadow);
  g.DrawRadial(canvas, {0, 0, 6, 6});
  auto e = Ellipses();
  ASSERT_FALSE(e.empty());
  EXPECT_EQ(e.back().Brush.Color, platform::ColorToRGB(platform::clBtnFace));
  EXPECT_EQ(Ops("FillRect")[0].Brush.Color, platform::ColorToRGB(platform::clBtnShadow));

  calls.clear();
  canvas.SetMonochrome(true);
  g.SetStartColor(platform::clRed);
  g.SetEndColor(platform::clBlue);
  g.DrawRadial(canvas, {0, 0, 6, 6});
  for (const auto& c : Ellipses()) EXPECT_EQ(c.Brush.Color, Grey(85));
}

TEST_F(RadialTest, SmoothEllipseShadowFillsRadially) {
  Start(false);
  TPlotShadow shadow;
  shadow.SetColor(platform::clBlack);
  shadow.SetSize(3);
  shadow.DrawEllipse(canvas, {10, 10, 30, 30});
  const auto e = Ellipses();
  ASSERT_EQ(e.size(), 21u);  // 20 x 20, even: i = 20 .. 0
  EXPECT_EQ(Ops("FillRect")[0].Brush.Color, Grey(32));
  EXPECT_EQ(e.back().Brush.Color, platform::clBlack);
}

}  // namespace
}  // namespace chart

namespace chart {
namespace {

TEST_F(RadialTest, BadInputDrawsNothingWrongAndNeverCrashes) {
  Start(true);
  TPlotGradient g;
  g.SetRadialX(INT_MAX);
  g.SetRadialY(INT_MIN);
  g.SetBalance(INT_MIN);
  g.SetMidColor(platform::clRed);
  const TRect rects[] = {
      {0, 0, 0, 0},   {10, 10, -10, -10},   {0, 0, 1, 1},
      {5, 5, 6, 300}, {-50, -50, 400, 400}, {INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2}};
  for (int d = gdTopBottom; d <= gdDiagonalDown; ++d) {
    g.SetDirection(static_cast<TGradientDirection>(d));
    for (const TRect& r : rects) {
      g.Draw(canvas, r);
      g.Draw(canvas, r, 16);
      g.Draw(canvas, r, INT_MAX);
    }
    g.Draw(canvas, std::span<const TPoint>{}, 0, true);
    g.Draw(canvas, std::span<const TPoint>{}, 0, false);
    const TFourPoints same{TPoint{3, 3}, TPoint{3, 3}, TPoint{3, 3}, TPoint{3, 3}};
    g.Draw(canvas, same, INT_MAX);
    g.Draw(static_cast<TPlotCanvas&>(canvas), same);
    const std::vector<TPoint> line{{0, 0}, {100, 100}};
    g.Draw(canvas, line, -5, true);
  }
  // Whatever was asked, the clip is given back.
  canvas.Brush->SetColor(platform::clRed);
  canvas.Rectangle(250, 150, 260, 160);
  EXPECT_EQ(Pixel(255, 155), platform::clRed);
}

}  // namespace
}  // namespace chart
