// Gradient fills of the 3D canvas: band rectangles and colours as the device context receives
// them, and the filled area as pixels.
#include <gtest/gtest.h>

#include <climits>

#include "canvas3d_test_support.h"
#include "chart/canvas/canvas_unit.h"

using c3dtest::Scene;
using chart::TRect;
using platform::RGB;
namespace gdi = platform::gdi;

namespace {

struct Band {
  std::vector<int> args;  // x, y, w, h
  platform::TColor color;
};

std::vector<Band> Bands(const Scene& s) {
  std::vector<Band> out;
  for (const auto& c : s.Calls("PatBlt")) {
    EXPECT_EQ(c.Args.at(4), static_cast<int>(gdi::PATCOPY));
    out.push_back({{c.Args[0], c.Args[1], c.Args[2], c.Args[3]}, c.Brush.Color});
  }
  return out;
}

class GradientBrushPath : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { chart::PlotSetDCBrushColor = GetParam(); }
  void TearDown() override { chart::PlotCanvasUnitStart(); }
};

}  // namespace

TEST_P(GradientBrushPath, TopBottomAndBottomTopBands) {
  Scene s(false, 20, 300);
  gdi::Dc* dc = s.Dc();
  const gdi::LogBrush before = dc->CurrentBrush();
  s.canvas.GradientFill(TRect{0, 0, 10, 256}, platform::clBlack, platform::clWhite,
                        chart::gdTopBottom);
  auto bands = Bands(s);
  ASSERT_EQ(bands.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    // Band 0 is the bottom row; component i * 255 div 255.
    EXPECT_EQ(bands[i].args, (std::vector<int>{0, 255 - i, 10, 1})) << i;
    EXPECT_EQ(bands[i].color, RGB(i, i, i)) << i;
  }
  EXPECT_EQ(s.Pixel(5, 255), platform::clBlack);
  EXPECT_EQ(s.Pixel(5, 0), platform::clWhite);
  EXPECT_EQ(dc->CurrentBrush(), before);

  // Taller than 256 rows: 256 bands share the height; reversed colours for gdBottomTop.
  s.Clear();
  s.canvas.GradientFill(TRect{0, 0, 10, 300}, RGB(0, 0, 0), RGB(255, 0, 0), chart::gdBottomTop);
  bands = Bands(s);
  ASSERT_EQ(bands.size(), 256u);
  EXPECT_EQ(bands[0].args, (std::vector<int>{0, 299, 10, 1}));
  EXPECT_EQ(bands[0].color, RGB(255, 0, 0));
  EXPECT_EQ(bands[1].args, (std::vector<int>{0, 298, 10, 1}));  // 300 - 600 div 256 = 298
  EXPECT_EQ(bands[255].args, (std::vector<int>{0, 0, 10, 2}));
  EXPECT_EQ(bands[255].color, RGB(0, 0, 0));
}

TEST_P(GradientBrushPath, LeftRightColumns) {
  Scene s(false);
  s.canvas.GradientFill(TRect{10, 5, 14, 8}, platform::clBlack, platform::clWhite,
                        chart::gdLeftRight);
  const auto bands = Bands(s);
  ASSERT_EQ(bands.size(), 4u);
  const int grey[] = {0, 85, 170, 255};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(bands[i].args, (std::vector<int>{13 - i, 5, 1, 3})) << i;
    EXPECT_EQ(bands[i].color, RGB(grey[i], grey[i], grey[i])) << i;
  }
  s.Clear();
  s.canvas.GradientFill(TRect{10, 5, 14, 8}, platform::clBlack, platform::clWhite,
                        chart::gdRightLeft);
  EXPECT_EQ(Bands(s).front().color, platform::clWhite);
}

INSTANTIATE_TEST_SUITE_P(DcBrushAndSolidBrushes, GradientBrushPath, ::testing::Bool());

TEST(Canvas3DGradient, BalanceFollowsThePowerCurveAndStaysInRange) {
  Scene s(false, 20, 300);
  s.canvas.GradientFill(TRect{0, 0, 10, 256}, platform::clBlack, platform::clWhite,
                        chart::gdTopBottom, 100);
  auto bands = Bands(s);
  ASSERT_EQ(bands.size(), 256u);
  // x = ((i + 1) / 256) ^ 2: i = 127 gives 0.25, Round(63.75) = 64.
  EXPECT_EQ(bands[127].color, RGB(64, 64, 64));
  EXPECT_EQ(bands[255].color, platform::clWhite);

  // A balance far below 0 makes the exponent negative: components stop at 255 and never run
  // into the neighbouring channel.
  for (int balance : {-100, -1000000, 1000000, INT_MIN, INT_MAX}) {
    s.Clear();
    s.canvas.GradientFill(TRect{0, 0, 10, 256}, RGB(10, 20, 30), RGB(250, 0, 255),
                          chart::gdTopBottom, balance);
    for (const auto& b : Bands(s)) {
      EXPECT_EQ(b.color & ~0xFFFFFF, 0) << balance;
      EXPECT_GE(platform::GetRValue(b.color), 10);
      EXPECT_LE(platform::GetGValue(b.color), 20);
      EXPECT_GE(platform::GetBValue(b.color), 30);
    }
  }
}

TEST(Canvas3DGradient, RectanglesOrientedOnePixelAndEmpty) {
  Scene a(false), b(false);
  a.canvas.GradientFill(TRect{10, 10, 60, 40}, platform::clRed, platform::clBlue,
                        chart::gdFromCenter);
  b.canvas.GradientFill(TRect{60, 40, 10, 10}, platform::clRed, platform::clBlue,
                        chart::gdFromCenter);
  ASSERT_FALSE(a.calls.empty());
  EXPECT_EQ(Bands(a).size(), Bands(b).size());
  for (size_t i = 0; i < Bands(a).size(); ++i) EXPECT_EQ(Bands(a)[i].args, Bands(b)[i].args);

  // One pixel across the ramp: the area is filled, in the start colour.
  Scene s(false);
  s.canvas.GradientFill(TRect{0, 0, 20, 1}, platform::clRed, platform::clBlue, chart::gdTopBottom);
  auto bands = Bands(s);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].args, (std::vector<int>{0, 0, 20, 1}));
  EXPECT_EQ(bands[0].color, platform::clRed);
  s.Clear();
  s.canvas.GradientFill(TRect{0, 0, 1, 20}, platform::clRed, platform::clBlue, chart::gdRightLeft);
  bands = Bands(s);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].args, (std::vector<int>{0, 0, 1, 20}));
  EXPECT_EQ(bands[0].color, platform::clRed);
  // One pixel high but wide in gdLeftRight: min(w, 256) columns.
  s.Clear();
  s.canvas.GradientFill(TRect{0, 0, 300, 1}, platform::clRed, platform::clBlue, chart::gdLeftRight);
  EXPECT_EQ(Bands(s).size(), 256u);

  // Empty and absurd rectangles: nothing, or a bounded amount of work, never a crash.
  for (int d = 0; d <= chart::gdDiagonalDown; ++d) {
    const auto dir = static_cast<chart::TGradientDirection>(d);
    Scene e(false);
    e.canvas.GradientFill(TRect{5, 5, 5, 50}, platform::clRed, platform::clBlue, dir);
    e.canvas.GradientFill(TRect{5, 5, 50, 5}, platform::clRed, platform::clBlue, dir);
    EXPECT_TRUE(e.Calls("PatBlt").empty() && e.Calls("LineTo").empty() &&
                e.Calls("Ellipse").empty())
        << d;
    e.canvas.GradientFill(TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, platform::clRed,
                          platform::clBlue, dir, -7);
    e.canvas.GradientFill(TRect{INT_MAX, 0, INT_MIN, 100}, platform::clBtnFace, platform::clNone,
                          dir);
  }
}

TEST(Canvas3DGradient, EveryDirectionFillsTheWholeRectangleAndNothingElse) {
  const platform::TColor c1 = RGB(250, 10, 10), c2 = RGB(10, 10, 250);
  for (int d = 0; d <= chart::gdDiagonalDown; ++d) {
    for (int w = 1; w <= 9; ++w) {
      for (int h = 1; h <= 9; ++h) {
        Scene s(false, 20, 20);
        s.canvas.GradientFill(TRect{3, 4, 3 + w, 4 + h}, c1, c2,
                              static_cast<chart::TGradientDirection>(d));
        for (int y = 0; y < 20; ++y)
          for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 3 + w && y >= 4 && y < 4 + h;
            const bool painted = s.Pixel(x, y) != platform::clWhite;
            if (d == chart::gdDiagonalUp || d == chart::gdDiagonalDown || d == chart::gdRadial) {
              // Lines and ellipses: only never outside.
              if (!inside) {
                ASSERT_FALSE(painted) << d << " " << w << "x" << h << " " << x << "," << y;
              }
            } else {
              ASSERT_EQ(painted, inside) << d << " " << w << "x" << h << " " << x << "," << y;
            }
          }
      }
    }
  }
}

TEST(Canvas3DGradient, FromCenterCornersDiagonalsAndRadial) {
  const platform::TColor start = RGB(200, 0, 0), end = RGB(0, 0, 200);
  Scene s(false, 40, 40);
  s.canvas.GradientFill(TRect{0, 0, 9, 9}, start, end, chart::gdFromCenter);
  EXPECT_EQ(s.Pixel(0, 0), end);  // the border in the end colour
  EXPECT_EQ(s.Pixel(8, 4), end);
  EXPECT_EQ(s.Pixel(4, 4), start);  // the centre in the start colour

  s.canvas.GradientFill(TRect{10, 0, 20, 10}, start, end, chart::gdFromTopLeft);
  EXPECT_EQ(s.Pixel(10, 0), end);
  EXPECT_GT(platform::GetRValue(s.Pixel(19, 9)), 150);
  s.canvas.GradientFill(TRect{20, 0, 30, 10}, start, end, chart::gdFromBottomLeft);
  EXPECT_EQ(s.Pixel(20, 9), end);
  EXPECT_GT(platform::GetRValue(s.Pixel(29, 0)), 150);

  // Diagonals: w + h lines in a one-pixel copy pen, the pen and raster operation put back.
  s.Clear();
  gdi::Dc* dc = s.Dc();
  const gdi::LogPen pen = dc->CurrentPen();
  const int rop = dc->GetROP2();
  s.canvas.GradientFill(TRect{0, 20, 4, 23}, start, end, chart::gdDiagonalUp);
  auto lines = s.Calls("LineTo");
  auto moves = s.Calls("MoveToEx");
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(moves[0].Args, (std::vector<int>{0, 23}));
  EXPECT_EQ(lines[0].Args, (std::vector<int>{0, 23}));
  EXPECT_EQ(lines[0].Pen.Color, start);
  EXPECT_EQ(moves[1].Args, (std::vector<int>{0, 22}));
  EXPECT_EQ(lines[1].Args, (std::vector<int>{1, 23}));
  EXPECT_EQ(lines[6].Pen.Color, chart::TColor(RGB(200 - 5 * 200 / 6, 0, 5 * 200 / 6)));
  for (const auto& l : lines) {
    EXPECT_EQ(l.Pen.Width, 1);
    EXPECT_EQ(l.Rop2, gdi::R2_COPYPEN);
  }
  EXPECT_EQ(dc->CurrentPen(), pen);
  EXPECT_EQ(dc->GetROP2(), rop);
  s.Clear();
  s.canvas.GradientFill(TRect{0, 20, 4, 23}, start, end, chart::gdDiagonalDown);
  lines = s.Calls("LineTo");
  moves = s.Calls("MoveToEx");
  ASSERT_EQ(lines.size(), 6u);  // the bottom row is left out
  EXPECT_EQ(moves[1].Args, (std::vector<int>{0, 21}));
  EXPECT_EQ(lines[1].Args, (std::vector<int>{1, 20}));

  // Radial: the centre in the start colour, the corners in the end colour.
  Scene r(false, 40, 40);
  r.canvas.GradientFill(TRect{0, 0, 30, 20}, start, end, chart::gdRadial);
  EXPECT_EQ(r.Pixel(0, 0), end);
  EXPECT_EQ(r.Pixel(29, 19), end);
  EXPECT_GT(platform::GetRValue(r.Pixel(15, 10)), 180);
  EXPECT_EQ(r.Pixel(35, 35), platform::clWhite);
}

// The walking directions paint only what can show, exactly as the whole walk would: a gradient
// seen through a small surface, or through a clip, matches the same gradient drawn whole.
TEST(Canvas3DGradient, PartlyVisibleWalksMatchTheWholeWalk) {
  const platform::TColor start = RGB(250, 40, 0), end = RGB(0, 90, 250);
  struct Case {
    int w, h, ox, oy;
  } cases[] = {{150, 120, 0, 0}, {151, 121, 100, 80}, {37, 160, 10, 70}, {160, 7, 120, 0}};
  for (auto d : {chart::gdFromCenter, chart::gdFromTopLeft, chart::gdFromBottomLeft,
                 chart::gdDiagonalUp, chart::gdDiagonalDown}) {
    for (const Case& c : cases) {
      Scene whole(false, 200, 200), part(false, 50, 45), clipped(false, 200, 200);
      const TRect r{20, 30, 20 + c.w, 30 + c.h};
      whole.canvas.GradientFill(r, start, end, d);
      part.canvas.GradientFill(TRect{r.Left - c.ox, r.Top - c.oy, r.Right - c.ox, r.Bottom - c.oy},
                               start, end, d);
      const TRect window{c.ox, c.oy, c.ox + 50, c.oy + 45};
      clipped.canvas.ClipRectangle(window);
      clipped.canvas.GradientFill(r, start, end, d);
      clipped.canvas.UnClipRectangle();
      for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
          const bool in =
              x >= window.Left && x < window.Right && y >= window.Top && y < window.Bottom;
          const platform::TColor want = in ? whole.Pixel(x, y) : platform::clWhite;
          ASSERT_EQ(clipped.Pixel(x, y), want) << d << " " << c.w << " " << x << "," << y;
          if (in) {
            ASSERT_EQ(part.Pixel(x - c.ox, y - c.oy), want) << d << " " << x << "," << y;
          }
        }
    }
  }
}

// Sides far beyond any surface: every visible pixel of the rectangle is painted, in a bounded
// number of steps, and the border keeps the colour of the first step.
TEST(Canvas3DGradient, HugeRectanglesArePaintedWhereTheyShow) {
  const platform::TColor start = RGB(200, 0, 0), end = RGB(0, 0, 200);
  struct Case {
    chart::TGradientDirection d;
    TRect r;
    int x, y;  // a pixel on the rectangle's first step
    platform::TColor first;
  } cases[] = {
      {chart::gdFromCenter, {100, -40000, 100000, 40000}, 100, 50, end},
      {chart::gdFromTopLeft, {100, 50, 60000, INT_MAX}, 100, 50, end},
      {chart::gdFromBottomLeft, {100, INT_MIN, 40000, 150}, 100, 149, end},
      {chart::gdDiagonalUp, {100, -50000, 50000, 150}, 100, 149, start},
      {chart::gdDiagonalDown, {-50000, -50000, 50000, 50000}, -1, -1, 0},
  };
  for (const Case& c : cases) {
    Scene s(false);
    s.canvas.GradientFill(c.r, start, end, c.d);
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x) {
        const bool in = x >= c.r.Left && x < c.r.Right && y >= c.r.Top && y < c.r.Bottom;
        ASSERT_EQ(s.Pixel(x, y) != platform::clWhite, in) << c.d << " " << x << "," << y;
      }
    if (c.x >= 0) {
      EXPECT_EQ(s.Pixel(c.x, c.y), c.first) << c.d;
    }
    EXPECT_LT(s.Calls("PatBlt").size() + s.Calls("LineTo").size(), 4u * 600) << c.d;
  }
}
