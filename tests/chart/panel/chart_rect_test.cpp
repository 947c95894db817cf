// The chart rectangle from the bounds, the frame (border width, bevels, border pen) and the
// margins in percent or pixels, and the bevels and border as drawn.
#include <climits>

#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

using platform::ColorToRGB;

struct RectRow {
  const char* name;
  std::function<void(TestPanel&)> setUp;
  TRect expected;
  int width, height, xCenter, yCenter;
};

void Frame9(TestPanel& p) {
  // 3 + inner bevel 2 + outer bevel 2 + border pen 2.
  p.SetBorderWidth(3);
  p.SetBevelInner(platform::bvLowered);
  p.SetBevelWidth(2);
  p.GetBorder()->SetVisible(true);
  p.GetBorder()->SetWidth(2);
}

void Pixels(TestPanel& p, int l, int t, int r, int b) {
  p.SetMarginUnits(chart::muPixels);
  p.SetMarginLeft(l);
  p.SetMarginTop(t);
  p.SetMarginRight(r);
  p.SetMarginBottom(b);
}

TEST_F(PanelTest, ChartRectangleFromBoundsFrameAndMargins) {
  const std::vector<RectRow> rows = {
      // 3 x 400 div 100 = 12, 4 x 250 div 100 = 10, frame 1 (the raised outer bevel).
      {"defaults", [](TestPanel&) {}, {13, 11, 387, 239}, 374, 228, 200, 125},
      {"pixels", [](TestPanel& p) { Pixels(p, 3, 4, 3, 4); }, {4, 5, 396, 245}, 392, 240, 200, 125},
      {"percent, frame 9", Frame9, {21, 19, 379, 231}, 358, 212, 200, 125},
      {"pixels, frame 9",
       [](TestPanel& p) {
         Frame9(p);
         Pixels(p, 10, 20, 30, 40);
       },
       {19, 29, 361, 201},
       342,
       172,
       190,
       115},
      {"no frame, no margins",
       [](TestPanel& p) {
         p.SetBevelOuter(platform::bvNone);
         Pixels(p, 0, 0, 0, 0);
       },
       {0, 0, 400, 250},
       400,
       250,
       200,
       125},
      // Right ends left of Left: one pixel wide.
      {"crossed margins",
       [](TestPanel& p) {
         p.SetMarginLeft(60);
         p.SetMarginRight(60);
       },
       {241, 11, 242, 239},
       1,
       228,
       241,
       125},
      // Exactly empty: the control's whole width (and height), past the panel.
      {"empty width and height",
       [](TestPanel& p) { Pixels(p, 100, 100, 298, 148); },
       {101, 101, 501, 351},
       400,
       250,
       301,
       226},
      {"negative margins",
       [](TestPanel& p) { Pixels(p, -50, -60, -5, -6); },
       {0, 0, 404, 255},
       404,
       255,
       202,
       127},
      {"fixed",
       [](TestPanel& p) {
         p.ChartRect = TRect{5, 6, 50, 60};
         p.FixedChartRect = true;
       },
       {5, 6, 50, 60},
       45,
       54,
       27,
       33},
  };
  for (const RectRow& row : rows) {
    SCOPED_TRACE(row.name);
    TestPanel p;
    row.setUp(p);
    p.ProcessPaint();
    ASSERT_EQ(p.DrawCount(), 1);
    EXPECT_EQ(p.ChartBounds, (TRect{0, 0, 400, 250}));
    EXPECT_EQ(p.LastChartRect, row.expected);
    EXPECT_EQ(p.ChartRect, row.expected);
    EXPECT_EQ(p.ChartWidth, row.width);
    EXPECT_EQ(p.ChartHeight, row.height);
    EXPECT_EQ(p.ChartXCenter, row.xCenter);
    EXPECT_EQ(p.ChartYCenter, row.yCenter);
  }
}

TEST_F(PanelTest, ExtremeMarginsSaturateInsteadOfOverflowing) {
  for (int m : {INT_MAX, INT_MIN}) {
    for (auto units : {chart::muPercent, chart::muPixels}) {
      TestPanel p;
      p.SetMarginUnits(units);
      for (int i = 0; i < 4; ++i) p.SetMargin(i, m);
      p.ProcessPaint();
      EXPECT_GE(p.ChartRect.Left, 0);
      EXPECT_GE(p.ChartRect.Right, p.ChartRect.Left);
      EXPECT_GE(p.ChartWidth, 0);
      EXPECT_GE(p.ChartHeight, 0);
    }
  }
  TestPanel p;
  p.SetMargin(7, 5);
  EXPECT_EQ(p.GetMargin(7), 0);
  EXPECT_EQ(p.GetMargin(-1), 0);
}

TEST_F(PanelTest, RaisedBevelLightTopLeftDarkBottomRight) {
  TestPanel p;
  p.ProcessPaint();
  const TColor hi = ColorToRGB(platform::clBtnHighlight);
  const TColor lo = ColorToRGB(platform::clBtnShadow);
  const TColor face = ColorToRGB(platform::clBtnFace);
  EXPECT_EQ(WindowPixel(p, 0, 0), hi);
  EXPECT_EQ(WindowPixel(p, 200, 0), hi);
  EXPECT_EQ(WindowPixel(p, 0, 125), hi);
  EXPECT_EQ(WindowPixel(p, 399, 0), lo);
  EXPECT_EQ(WindowPixel(p, 399, 125), lo);
  EXPECT_EQ(WindowPixel(p, 200, 249), lo);
  EXPECT_EQ(WindowPixel(p, 1, 1), face);
  EXPECT_EQ(WindowPixel(p, 398, 248), face);
}

TEST_F(PanelTest, BorderOutsideBevelsAndBorderWidthBetweenThem) {
  TestPanel p;
  p.GetBorder()->SetVisible(true);
  p.GetBorder()->SetColor(platform::clRed);
  p.SetBevelInner(platform::bvLowered);
  p.SetBorderWidth(2);
  p.SetColor(platform::clWhite);
  p.ProcessPaint();
  const TColor hi = ColorToRGB(platform::clBtnHighlight);
  const TColor lo = ColorToRGB(platform::clBtnShadow);
  // Border (1), outer raised (1), border width in the panel colour (2), inner lowered (1).
  EXPECT_EQ(WindowPixel(p, 0, 100), platform::clRed);
  EXPECT_EQ(WindowPixel(p, 399, 100), platform::clRed);
  EXPECT_EQ(WindowPixel(p, 1, 100), hi);
  EXPECT_EQ(WindowPixel(p, 398, 100), lo);
  EXPECT_EQ(WindowPixel(p, 2, 100), platform::clWhite);
  EXPECT_EQ(WindowPixel(p, 3, 100), platform::clWhite);
  EXPECT_EQ(WindowPixel(p, 4, 100), lo);
  EXPECT_EQ(WindowPixel(p, 395, 100), hi);
  EXPECT_EQ(WindowPixel(p, 5, 100), platform::clWhite);
  EXPECT_EQ(p.LastChartRect.Left, 1 + 1 + 2 + 1 + 12);
}

TEST_F(PanelTest, RoundedBorderRoundsTheWindowAndLegacyBorderStyleShowsTheBorder) {
  TestPanel p;
  p.SetBorderRound(20);
  EXPECT_EQ(p.WindowRound(), 20);
  p.SetBorderRound(0);
  EXPECT_EQ(p.WindowRound(), 0);
  EXPECT_EQ(p.GetBorderStyle(), platform::bsNone);
  p.SetTheBorderStyle(platform::bsSingle);
  EXPECT_TRUE(p.GetBorder()->GetVisible());
  EXPECT_EQ(p.GetBorderStyle(), platform::bsSingle);
  p.SetTheBorderStyle(platform::bsSizeable);
  EXPECT_FALSE(p.GetBorder()->GetVisible());
}

}  // namespace
}  // namespace paneltest
