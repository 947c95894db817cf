#include "chart/canvas/blend.h"

#include <gtest/gtest.h>

#include <array>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas_unit.h"
#include "platform/vcl/picture.h"

namespace chart {
namespace {

using platform::TBitmap;

// The manual mix of one pixel: drawn keeps (100 - t)% and takes t% back from saved; a white
// drawn pixel loses one step of red first.
TColor Mix(TColor saved, TColor drawn, int t) {
  if (drawn == 0xFFFFFF) drawn = 0xFFFFFE;
  int out[3];
  for (int c = 0; c < 3; ++c) {
    const int s = (saved >> (8 * c)) & 0xFF, d = (drawn >> (8 * c)) & 0xFF;
    out[c] = d + t * (s - d) / 100;
  }
  return platform::RGB(out[0], out[1], out[2]);
}

class BlendOnBitmap : public ::testing::Test {
 protected:
  void SetUp() override {
    PlotCanvasUnitStart();
    bitmap.SetSize(20, 20);
    Fill(bitmap, {0, 0, 20, 20}, kSaved);
    canvas.SetUseBuffer(false);
    canvas.InitWindow(bitmap.Canvas, nullptr, platform::clWhite, false, {0, 0, 20, 20});
  }
  void TearDown() override { PlotCanvasUnitStart(); }

  static void Fill(TBitmap& b, const TRect& r, TColor color) {
    b.Canvas->Brush->SetStyle(platform::bsSolid);
    b.Canvas->Brush->SetColor(color);
    b.Canvas->FillRect(r);
  }

  static constexpr TColor kSaved = platform::RGB(200, 100, 50);
  static constexpr TColor kDrawn = platform::RGB(0, 255, 10);
  TBitmap bitmap;
  TPlotCanvas3D canvas;
};

TEST_F(BlendOnBitmap, ManualMixGivesTheExactValues) {
  const struct {
    TColor drawn;
    int transparency;
    TColor expected;
  } cases[] = {
      {kDrawn, 0, kDrawn},
      {kDrawn, 100, kSaved},
      {kDrawn, 40, platform::RGB(80, 193, 26)},
      {platform::clWhite, 0, platform::RGB(254, 255, 255)},
      {platform::clWhite, 100, kSaved},
      {platform::clWhite, 50, platform::RGB(227, 178, 153)},
      {kDrawn, 250, kSaved},  // clamped to 100
      {kDrawn, -30, kDrawn},  // clamped to 0
  };
  for (const auto& c : cases) {
    Fill(bitmap, {0, 0, 20, 20}, kSaved);
    TPlotBlend blend(canvas, {2, 2, 8, 8}, c.transparency);
    Fill(bitmap, {0, 0, 20, 20}, c.drawn);
    blend.DoBlend();
    EXPECT_EQ(bitmap.Canvas->GetPixel(2, 2), c.expected) << c.transparency;
    EXPECT_EQ(bitmap.Canvas->GetPixel(7, 7), c.expected) << c.transparency;
    // Outside the rectangle the drawing stays as it was drawn.
    EXPECT_EQ(bitmap.Canvas->GetPixel(8, 8), c.drawn);
    EXPECT_EQ(bitmap.Canvas->GetPixel(1, 1), c.drawn);
  }
}

TEST_F(BlendOnBitmap, NestedBlendsEachKeepTheirOwnTransparency) {
  auto outer = canvas.BeginBlending({0, 0, 10, 10}, 20);
  auto inner = canvas.BeginBlending({0, 0, 10, 10}, 80);
  Fill(bitmap, {0, 0, 20, 20}, kDrawn);
  canvas.EndBlending(std::move(inner));
  const TColor afterInner = Mix(kSaved, kDrawn, 80);
  EXPECT_EQ(bitmap.Canvas->GetPixel(5, 5), afterInner);
  canvas.EndBlending(std::move(outer));
  EXPECT_EQ(bitmap.Canvas->GetPixel(5, 5), Mix(kSaved, afterInner, 20));
  EXPECT_NE(Mix(kSaved, afterInner, 20), Mix(kSaved, afterInner, 80));
}

TEST_F(BlendOnBitmap, BlendsOnTheSurfaceBeingDrawnNotTheWindowBuffer) {
  // A canvas that owns a window buffer, drawing for the moment into an export bitmap.
  TPlotCanvas3D windowed;
  windowed.InitWindow(nullptr, nullptr, platform::clWhite, false, {0, 0, 20, 20});
  ASSERT_NE(windowed.BufferBitmap, nullptr);
  Fill(*windowed.BufferBitmap, {0, 0, 20, 20}, platform::clBlue);
  windowed.SetCanvas(bitmap.Canvas);

  auto blend = windowed.BeginBlending({0, 0, 10, 10}, 40);
  Fill(bitmap, {0, 0, 20, 20}, kDrawn);
  windowed.EndBlending(std::move(blend));
  EXPECT_EQ(bitmap.Canvas->GetPixel(3, 3), Mix(kSaved, kDrawn, 40));
  EXPECT_EQ(windowed.BufferBitmap->Canvas->GetPixel(3, 3), platform::clBlue);
}

TEST_F(BlendOnBitmap, RectanglesOutsideAreClampedToTheEdge) {
  const struct {
    TRect in;
    TRect out;
    bool valid;
  } cases[] = {
      {{-20, 5, -10, 8}, {0, 5, 1, 8}, true},
      {{3, -9, 6, -2}, {3, 0, 6, 1}, true},
      {{8, 8, 2, 2}, {2, 2, 8, 8}, true},
      {{15, 15, 40, 40}, {15, 15, 20, 20}, true},
      {{30, 30, 40, 40}, {30, 30, 20, 20}, false},
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 20, 20}, true},
  };
  for (const auto& c : cases) {
    TPlotBlend blend(canvas, c.in, 50);
    EXPECT_EQ(blend.Rectangle(), c.out);
    EXPECT_EQ(blend.ValidSize(), c.valid);
    blend.DoBlend();  // an invalid size does nothing
  }
}

TEST_F(BlendOnBitmap, MetafilingLeavesTheDrawingOpaque) {
  canvas.Metafiling = true;
  auto blend = canvas.BeginBlending({0, 0, 10, 10}, 60);
  Fill(bitmap, {0, 0, 20, 20}, kDrawn);
  canvas.EndBlending(std::move(blend));
  EXPECT_EQ(bitmap.Canvas->GetPixel(5, 5), kDrawn);
}

TEST_F(BlendOnBitmap, ConstantOpacityPathWhenSwitchedOn) {
  PlotAlphaBlendAvailable = true;
  TPlotBlend white(canvas, {0, 0, 10, 10}, 0);
  Fill(bitmap, {0, 0, 20, 20}, platform::clWhite);
  white.DoBlend();
  EXPECT_EQ(bitmap.Canvas->GetPixel(5, 5), platform::clWhite);  // no red step here

  Fill(bitmap, {0, 0, 20, 20}, kSaved);
  TPlotBlend blend(canvas, {0, 0, 10, 10}, 40);
  Fill(bitmap, {0, 0, 20, 20}, kDrawn);
  blend.DoBlend();
  const TColor got = bitmap.Canvas->GetPixel(5, 5);
  // Source alpha 255 - round(60 x 2.55) = 102 of the saved pixels.
  const int expected[3] = {(200 * 102 + 0 * 153 + 127) / 255, (100 * 102 + 255 * 153 + 127) / 255,
                           (50 * 102 + 10 * 153 + 127) / 255};
  EXPECT_EQ(platform::GetRValue(got), expected[0]);
  EXPECT_EQ(platform::GetGValue(got), expected[1]);
  EXPECT_EQ(platform::GetBValue(got), expected[2]);
}

std::unique_ptr<TBitmap> Bitmap24(int w, int h, std::array<std::uint8_t, 3> bgr) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(platform::pf24bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) b->ScanLine(y)[3 * x + c] = bgr[c];
  return b;
}

TEST(PlotBlendBitmaps, OffsetsAndOverlap) {
  auto source = Bitmap24(2, 2, {0, 0, 0});
  auto dest = Bitmap24(4, 4, {100, 100, 100});
  PlotBlendBitmaps(0, source.get(), dest.get(), {3, 3});  // percent 0: all source
  EXPECT_EQ(dest->ScanLine(3)[9], 0);
  EXPECT_EQ(dest->ScanLine(2)[9], 100);
  EXPECT_EQ(dest->ScanLine(3)[6], 100);

  auto dest2 = Bitmap24(4, 4, {100, 100, 100});
  PlotBlendBitmaps(0, source.get(), dest2.get(), {-5, -1});  // counts as (0, 0)
  EXPECT_EQ(dest2->ScanLine(0)[0], 0);
  EXPECT_EQ(dest2->ScanLine(1)[3], 0);
  EXPECT_EQ(dest2->ScanLine(2)[0], 100);

  auto dest3 = Bitmap24(4, 4, {100, 100, 100});
  PlotBlendBitmaps(0, source.get(), dest3.get(), {4, 0});  // nothing overlaps
  PlotBlendBitmaps(0, source.get(), dest3.get(), {INT32_MAX, INT32_MAX});
  PlotBlendBitmaps(500, source.get(), dest3.get(), {0, 0});  // percent above 100: dest kept
  EXPECT_EQ(dest3->ScanLine(0)[0], 100);
  PlotBlendBitmaps(50, nullptr, dest3.get(), {0, 0});
  PlotBlendBitmaps(50, source.get(), nullptr, {0, 0});
}

TEST(PlotGrayScale, PlainAndWeightedGreys) {
  const struct {
    bool inverted;
    int mode;
    int grey;
  } cases[] = {{false, 0, 60}, {true, 0, 195}, {false, 1, 54}, {true, 1, 201}};
  for (const auto& c : cases) {
    // Red 30, green 60, blue 90.
    auto b = Bitmap24(3, 2, {90, 60, 30});
    PlotGrayScale(b.get(), c.inverted, c.mode);
    EXPECT_EQ(b->GetPixelFormat(), platform::pfDevice);
    EXPECT_EQ(b->Canvas->GetPixel(2, 1), platform::RGB(c.grey, c.grey, c.grey)) << c.mode;
  }
  PlotGrayScale(nullptr, true, 0);
  TBitmap empty;
  PlotGrayScale(&empty, false, 0);
}

}  // namespace
}  // namespace chart

namespace chart {
namespace {

TEST(PointAtDistance, BackFromTheEndTowardsTheStart) {
  const struct {
    TPoint from, to;
    int distance;
    TPoint expected;
  } cases[] = {
      {{0, 0}, {10, 0}, 3, {7, 0}},
      {{0, 10}, {0, 0}, 3, {0, 3}},
      {{0, 0}, {0, 10}, 3, {0, 7}},
      {{0, 0}, {30, 40}, 5, {27, 36}},
      {{10, 0}, {0, 0}, 4, {4, 0}},
      {{0, 0}, {INT32_MAX, 0}, -10, {INT32_MAX, 0}},
      {{0, 0}, {0, INT32_MIN}, INT32_MAX, {0, -1}},
      {{0, 5}, {0, INT32_MAX}, -7, {0, INT32_MAX}},
      {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, INT32_MIN, {INT32_MAX, INT32_MAX}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointAtDistance(c.from, c.to, c.distance), c.expected)
        << c.to.X << "," << c.to.Y << " " << c.distance;
  }
  EXPECT_DOUBLE_EQ(PlotDistance(3, 4), 5);
}

}  // namespace
}  // namespace chart
