#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "canvas_fixture.h"
#include "chart/canvas/blend.h"
#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/gradient.h"
#include "chart/canvas/shadow.h"

namespace chart {
namespace {

using platform::gdi::DcCall;

constexpr TColor Grey(int v) {
  return platform::RGB(v, v, v);
}

class AttributeDrawing : public canvastest::CanvasTest {
 protected:
  void TearDown() override { PlotCanvasUnitStart(); }
};

TEST_F(AttributeDrawing, ShadowWithoutColourOrSizeDrawsNothing) {
  Start(false);
  TPlotShadow none, zero;
  none.SetColor(platform::clNone);
  none.SetSize(4);
  for (TPlotShadow* s : {&none, &zero}) {
    s->SetTransparency(50);
    s->Draw(canvas, {10, 10, 50, 40});
    s->DrawEllipse(canvas, {10, 10, 50, 40});
  }
  EXPECT_TRUE(calls.empty());  // not even the blend's copy
}

TEST_F(AttributeDrawing, SmoothBlackShadowOfFourBrightensBy64PerLine) {
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
    if (c.Op != "LineTo") continue;
    lines.push_back({from.X, from.Y, c.Args[0], c.Args[1]});
    colours.push_back(c.Pen.Color);
  }
  ASSERT_EQ(lines.size(), 8u);
  const auto pixels = Ops("SetPixel");
  ASSERT_EQ(pixels.size(), 4u);
  for (int i = 1; i <= 4; ++i) {
    // Below: y = Bottom + i - 1 from Left + 4 to Right + i - 1; right: x = Right + i - 1.
    EXPECT_EQ(lines[i - 1], (std::vector<int>{14, 39 + i, 49 + i, 39 + i}));
    EXPECT_EQ(lines[i + 3], (std::vector<int>{49 + i, 14, 49 + i, 39 + i}));
    EXPECT_EQ(colours[i - 1], Grey(64 * (i - 1)));
    EXPECT_EQ(colours[i + 3], Grey(64 * (i - 1)));
    EXPECT_EQ(pixels[i - 1].Args, (std::vector<int>{48 + i, 38 + i, Grey(64 * (i - 1))}));
  }
}

TEST_F(AttributeDrawing, SizeOneAndNegativeSizesArePlainRectangles) {
  Start(false);
  canvas.FrontPlaneBegin();  // the flat forms
  for (int size : {1, -3}) {
    TPlotShadow shadow;
    shadow.SetColor(platform::clRed);
    shadow.SetSize(size);
    shadow.Draw(canvas, {10, 10, 50, 40});
  }
  canvas.FrontPlaneEnd();
  const auto rects = Ops("Rectangle");
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0].Args, (std::vector<int>{11, 40, 51, 42}));
  EXPECT_EQ(rects[1].Args, (std::vector<int>{50, 11, 52, 42}));
  EXPECT_EQ(rects[2].Args, (std::vector<int>{7, 11, 47, 7}));
  EXPECT_EQ(rects[3].Args, (std::vector<int>{11, 7, 7, 38}));
  EXPECT_EQ(rects[0].Brush.Color, platform::clRed);
  EXPECT_EQ(rects[0].Pen.Style & platform::gdi::PS_STYLE_MASK, platform::gdi::PS_NULL);
}

TEST_F(AttributeDrawing, TranslucentShadowBlendsOverItsOwnRectangle) {
  Start(false);
  TPlotShadow shadow;
  shadow.SetColor(platform::clBlack);
  shadow.SetSmooth(false);
  shadow.SetSize(4);
  shadow.SetTransparency(50);
  shadow.Draw(canvas, {10, 10, 50, 40});
  const auto blits = Ops("BitBlt");
  ASSERT_FALSE(blits.empty());
  EXPECT_EQ(std::vector<int>(blits.back().Args.begin(), blits.back().Args.begin() + 4),
            (std::vector<int>{14, 14, 41, 31}));
  EXPECT_EQ(Pixel(30, 42), Grey(127));                     // black at 50% over white
  EXPECT_EQ(Pixel(30, 20), platform::RGB(254, 255, 255));  // white in the rectangle
  EXPECT_EQ(Pixel(5, 5), platform::clWhite);
}

// Offsets and sides summed past the int range saturate: a shadow thrown off to infinity from an
// object that reaches the surface still shows beside it, one thrown back past it shows nowhere.
TEST_F(AttributeDrawing, HugeShadowsNeitherOverflowNorHang) {
  enum Form { kPlain, kSmooth, kFlat, kEllipse, kSmoothEllipse };
  const TRect all{0, 0, 300, 200}, object{0, 0, 100, 80};
  const TRect toInfinity{INT_MIN, INT_MIN, 100, 80}, fromInfinity{-100, -100, INT_MAX, INT_MAX};
  const std::vector<TPoint> beside{{50, 150}, {250, 50}, {299, 199}};
  struct Case {
    Form form;
    TRect r;
    int size;
    TRect clear;                 // what stays white
    std::vector<TPoint> shadow;  // where the shadow shows
  } cases[] = {
      {kPlain, toInfinity, INT_MAX, object, beside},
      {kSmooth, toInfinity, INT_MAX, {0, 0, 99, 79}, beside},  // the inner corner pixel
      {kFlat, toInfinity, INT_MAX, object, beside},
      {kEllipse, toInfinity, INT_MAX, all, {}},  // the surface is outside the curve
      {kPlain, fromInfinity, INT_MIN, all, {}},
      {kFlat, fromInfinity, INT_MIN, all, {}},
      {kSmoothEllipse, {10, 10, 50, 40}, INT_MAX, all, {}},
      {kSmoothEllipse, {-10, -10, 50, 40}, INT_MIN, all, {}},
  };
  for (const Case& c : cases) {
    Start(false);
    canvas.Brush->SetColor(platform::clWhite);
    canvas.FillRect(all);
    calls.clear();
    TPlotShadow shadow;
    shadow.SetColor(platform::clBlack);
    shadow.SetSmooth(c.form == kSmooth || c.form == kSmoothEllipse);
    shadow.SetSize(c.size);
    shadow.SetTransparency(30);
    if (c.form == kFlat) canvas.FrontPlaneBegin();
    if (c.form >= kEllipse)
      shadow.DrawEllipse(canvas, c.r, 0);
    else
      shadow.Draw(canvas, c.r);
    if (c.form == kFlat) canvas.FrontPlaneEnd();
    const std::string at = std::to_string(&c - cases);
    // Blending white on white may round red down by one.
    for (int y = c.clear.Top; y < c.clear.Bottom; ++y)
      for (int x = c.clear.Left; x < c.clear.Right; ++x)
        ASSERT_GE(Pixel(x, y), platform::RGB(254, 255, 255)) << at << ": " << x << "," << y;
    // Black at 30 % transparency keeps 30 * 255 div 100 = 76 of the white.
    for (const TPoint& p : c.shadow) EXPECT_EQ(Pixel(p.X, p.Y), Grey(76)) << at;
    // Sides that ran past the int range were cut at its end, never wrapped round.
    for (const DcCall& call : calls) {
      if (call.Op != "Polygon" && call.Op != "Rectangle" && call.Op != "Ellipse") continue;
      for (size_t i = 0; i < call.Args.size(); ++i) {
        const int v = call.Args[i];
        if (c.size > 0)
          EXPECT_GE(v, i % 2 ? c.r.Top : c.r.Left) << at << " " << call.Op;
        else
          EXPECT_LE(v, i % 2 ? c.r.Bottom : c.r.Right) << at << " " << call.Op;
      }
    }
    // The blend is over and the clip given back: a later fill is plain and reaches everywhere.
    platform::gdi::Region clip;
    EXPECT_EQ(canvas.GetHandle()->GetClipRgn(clip), 0) << at;
    canvas.Brush->SetColor(platform::clRed);
    canvas.FillRect(all);
    EXPECT_EQ(Pixel(0, 0), platform::clRed) << at;
    EXPECT_EQ(Pixel(299, 199), platform::clRed) << at;
  }
}

// Records what a gradient asks of the canvas's band fill.
class FillLog : public TPlotCanvas3D {
 public:
  struct Fill {
    TRect r;
    TColor start, end;
    int balance;
  };
  void GradientFill(const TRect& r, TColor start, TColor end, TGradientDirection,
                    int balance) override {
    fills.push_back({r, start, end, balance});
  }
  std::vector<Fill> fills;
};

TEST(PlotGradient, MiddleColourSplitsTheFillAndCanBeCleared) {
  int changes = 0;
  FillLog canvas;
  TPlotGradient g([&] { ++changes; });
  g.SetMidColor(platform::clNone);
  EXPECT_EQ(changes, 0);
  g.SetStartColor(platform::clWhite);
  g.SetEndColor(platform::clBlue);
  g.SetMidColor(platform::clRed);
  g.SetBalance(70);
  g.Draw(canvas, TRect{0, 0, 40, 21});
  ASSERT_EQ(canvas.fills.size(), 2u);
  EXPECT_EQ(canvas.fills[0].r, (TRect{0, 0, 40, 10}));
  EXPECT_EQ(canvas.fills[0].start, platform::clRed);
  EXPECT_EQ(canvas.fills[0].end, platform::clBlue);
  EXPECT_EQ(canvas.fills[1].r, (TRect{0, 10, 40, 21}));
  EXPECT_EQ(canvas.fills[1].start, platform::clWhite);
  EXPECT_EQ(canvas.fills[1].end, platform::clRed);
  EXPECT_EQ(canvas.fills[1].balance, 50);

  g.SetMidColor(platform::clNone);
  EXPECT_EQ(g.GetMidColor(), platform::clNone);
  canvas.fills.clear();
  g.Draw(canvas, TRect{0, 0, 40, 21});
  ASSERT_EQ(canvas.fills.size(), 1u);
  EXPECT_EQ(canvas.fills[0].balance, 70);
  EXPECT_EQ(changes, 4);

  // A monochrome canvas gets greys: red and blue both become 85.
  canvas.SetMonochrome(true);
  canvas.fills.clear();
  g.SetStartColor(platform::clRed);
  g.Draw(canvas, TRect{0, 0, 30, 30});
  EXPECT_EQ(canvas.fills[0].start, Grey(85));
  EXPECT_EQ(canvas.fills[0].end, Grey(85));
}

TEST_F(AttributeDrawing, RadialTenBySevenUsesTenStepsFromNineDown) {
  for (bool dcBrush : {true, false}) {
    PlotSetDCBrushColor = dcBrush;
    calls.clear();
    Start(false);
    TPlotGradient g;
    g.SetEndColor(platform::clYellow);
    g.DrawRadial(canvas, {0, 0, 10, 7});
    EXPECT_EQ(Ops("FillRect").at(0).Brush.Color, platform::clYellow);
    const auto e = Ops("Ellipse");
    ASSERT_EQ(e.size(), 10u) << dcBrush;
    // Centre (6, 4.5), steps of 0.5 by 0.35; blue falls by 25.5 per step.
    EXPECT_EQ(e[0].Args, (std::vector<int>{2, 1, 10, 8}));
    EXPECT_EQ(e[0].Brush.Color, platform::RGB(255, 255, 25));
    EXPECT_EQ(e[9].Args, (std::vector<int>{6, 4, 6, 4}));
    EXPECT_EQ(e[9].Brush.Color, platform::clWhite);
    EXPECT_EQ(e[5].Pen.Style & platform::gdi::PS_STYLE_MASK, platform::gdi::PS_NULL);
    EXPECT_EQ(canvas.Pen->GetStyle(), platform::psSolid);  // given back
  }
}

TEST_F(AttributeDrawing, RadialColoursFollowBalanceAndAreConverted) {
  Start(false);
  TPlotGradient g;
  g.SetStartColor(platform::clBlack);
  g.SetBalance(100);
  g.SetEndColor(platform::clWhite);
  g.DrawRadial(canvas, {0, 0, 8, 8});
  auto e = Ops("Ellipse");
  ASSERT_EQ(e.size(), 9u);
  EXPECT_EQ(e[0].Brush.Color, platform::clWhite);  // i = M: factor 1
  EXPECT_EQ(e[4].Brush.Color, Grey(79));           // (5/9)^2 of 255
  for (int balance : {-100, INT_MIN, INT_MAX}) {
    calls.clear();
    g.SetBalance(balance);
    g.DrawRadial(canvas, {0, 0, 8, 8});
    for (const auto& c : Ops("Ellipse")) EXPECT_EQ(c.Brush.Color & 0xFFFF, c.Brush.Color >> 8);
  }
  calls.clear();
  g.SetStartColor(platform::clBtnFace);
  g.SetEndColor(platform::clBtnShadow);
  g.DrawRadial(canvas, {0, 0, 6, 6});
  EXPECT_EQ(Ops("Ellipse").back().Brush.Color, platform::ColorToRGB(platform::clBtnFace));
  EXPECT_EQ(Ops("FillRect")[0].Brush.Color, platform::ColorToRGB(platform::clBtnShadow));
  calls.clear();
  canvas.SetMonochrome(true);
  g.SetStartColor(platform::clRed);
  g.SetEndColor(platform::clBlue);
  g.DrawRadial(canvas, {0, 0, 6, 6});
  for (const auto& c : Ops("Ellipse")) EXPECT_EQ(c.Brush.Color, Grey(85));
}

TEST_F(AttributeDrawing, BadGradientInputDrawsNothingWrong) {
  Start(true);
  TPlotGradient g;
  for (const TRect& r : {TRect{5, 5, 5, 5}, TRect{0, 0, 0, 9}, TRect{INT_MIN, 0, INT_MAX, 5}})
    g.DrawRadial(canvas, r);
  EXPECT_TRUE(Ops("Ellipse").empty());
  EXPECT_TRUE(Ops("FillRect").empty());

  g.SetRadialX(INT_MAX);
  g.SetBalance(INT_MIN);
  g.SetMidColor(platform::clRed);
  const TFourPoints same{TPoint{3, 3}, TPoint{3, 3}, TPoint{3, 3}, TPoint{3, 3}};
  for (int d = gdTopBottom; d <= gdDiagonalDown; ++d) {
    g.SetDirection(static_cast<TGradientDirection>(d));
    for (const TRect& r : {TRect{10, 10, -10, -10}, TRect{0, 0, 1, 1},
                           TRect{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2}}) {
      g.Draw(canvas, r);
      // A huge rounded clip is slow to build; one direction is enough to show it is safe.
      if (d == gdTopBottom) g.Draw(canvas, r, INT_MAX);
    }
    g.Draw(canvas, std::span<const TPoint>{}, 0, true);
    g.Draw(canvas, same, INT_MAX);
  }
  // The clips were all given back.
  canvas.Brush->SetColor(platform::clRed);
  canvas.Rectangle(250, 150, 260, 160);
  EXPECT_EQ(Pixel(255, 155), platform::clRed);
}

}  // namespace
}  // namespace chart
