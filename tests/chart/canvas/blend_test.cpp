#include "chart/canvas/blend.h"

#include <gtest/gtest.h>

#include <array>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas_unit.h"
#include "platform/vcl/picture.h"

namespace chart {
namespace {

using platform::TBitmap;

// One pixel of the manual mix: t% of saved back into drawn, after a white drawn pixel lost one
// step of red.
TColor Mix(TColor saved, TColor drawn, int t) {
  if (drawn == 0xFFFFFF) drawn = 0xFFFFFE;
  int out[3];
  for (int c = 0; c < 3; ++c) {
    const int s = (saved >> (8 * c)) & 0xFF, d = (drawn >> (8 * c)) & 0xFF;
    out[c] = d + t * (s - d) / 100;
  }
  return platform::RGB(out[0], out[1], out[2]);
}

void Fill(TBitmap& b, TColor color) {
  b.Canvas->Brush->SetColor(color);
  b.Canvas->FillRect({0, 0, b.GetWidth(), b.GetHeight()});
}

class BlendOnBitmap : public ::testing::Test {
 protected:
  void SetUp() override {
    bitmap.SetSize(20, 20);
    Fill(bitmap, kSaved);
    canvas.SetUseBuffer(false);
    canvas.InitWindow(bitmap.Canvas, nullptr, platform::clWhite, false, {0, 0, 20, 20});
  }
  void TearDown() override { PlotCanvasUnitStart(); }
  TColor At(int x, int y) { return bitmap.Canvas->GetPixel(x, y); }

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
      {platform::clWhite, 50, platform::RGB(227, 178, 153)},
      {kDrawn, 250, kSaved},  // clamped to 100
      {kDrawn, -30, kDrawn},  // clamped to 0
  };
  for (const auto& c : cases) {
    Fill(bitmap, kSaved);
    TPlotBlend blend(canvas, {2, 2, 8, 8}, c.transparency);
    Fill(bitmap, c.drawn);
    blend.DoBlend();
    EXPECT_EQ(At(2, 2), c.expected) << c.transparency;
    EXPECT_EQ(At(7, 7), c.expected) << c.transparency;
    EXPECT_EQ(At(8, 8), c.drawn);  // outside the rectangle
  }
}

TEST_F(BlendOnBitmap, NestedBlendsEachKeepTheirOwnTransparency) {
  auto outer = canvas.BeginBlending({0, 0, 10, 10}, 20);
  auto inner = canvas.BeginBlending({0, 0, 10, 10}, 80);
  Fill(bitmap, kDrawn);
  canvas.EndBlending(std::move(inner));
  const TColor afterInner = Mix(kSaved, kDrawn, 80);
  EXPECT_EQ(At(5, 5), afterInner);
  canvas.EndBlending(std::move(outer));
  EXPECT_EQ(At(5, 5), Mix(kSaved, afterInner, 20));
}

TEST_F(BlendOnBitmap, BlendsOnTheSurfaceBeingDrawnNotTheWindowBuffer) {
  // A canvas that owns a window buffer, drawing for the moment into an export bitmap.
  TPlotCanvas3D windowed;
  windowed.InitWindow(nullptr, nullptr, platform::clWhite, false, {0, 0, 20, 20});
  ASSERT_NE(windowed.BufferBitmap, nullptr);
  Fill(*windowed.BufferBitmap, platform::clBlue);
  windowed.SetCanvas(bitmap.Canvas);
  auto blend = windowed.BeginBlending({0, 0, 10, 10}, 40);
  Fill(bitmap, kDrawn);
  windowed.EndBlending(std::move(blend));
  EXPECT_EQ(At(3, 3), Mix(kSaved, kDrawn, 40));
  EXPECT_EQ(windowed.BufferBitmap->Canvas->GetPixel(3, 3), platform::clBlue);

  // Metafiling leaves the drawing opaque.
  canvas.Metafiling = true;
  blend = canvas.BeginBlending({0, 0, 10, 10}, 60);
  Fill(bitmap, kSaved);
  canvas.EndBlending(std::move(blend));
  EXPECT_EQ(At(5, 5), kSaved);
}

TEST_F(BlendOnBitmap, RectanglesOutsideAreClampedToTheEdge) {
  const struct {
    TRect in, out;
    bool valid;
  } cases[] = {
      {{-20, 5, -10, 8}, {0, 5, 1, 8}, true},
      {{3, -9, 6, -2}, {3, 0, 6, 1}, true},
      {{8, 8, 2, 2}, {2, 2, 8, 8}, true},
      {{15, 15, 40, 40}, {15, 15, 20, 20}, true},
      {{30, 30, 40, 40}, {30, 30, 20, 20}, false},
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0, 20, 20}, true},
      {{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX, 20, 20}, false},
  };
  for (const auto& c : cases) {
    TPlotBlend blend(canvas, c.in, 50);
    EXPECT_EQ(blend.Rectangle(), c.out);
    EXPECT_EQ(blend.ValidSize(), c.valid);
    blend.DoBlend();
  }
}

TEST_F(BlendOnBitmap, ConstantOpacityPathWhenSwitchedOn) {
  PlotAlphaBlendAvailable = true;
  TPlotBlend blend(canvas, {0, 0, 10, 10}, 40);
  Fill(bitmap, platform::clWhite);
  blend.DoBlend();
  // Source alpha 255 - round(60 x 2.55) = 102 of the saved pixels; no red step for white.
  EXPECT_EQ(At(5, 5),
            platform::RGB((200 * 102 + 255 * 153 + 127) / 255, (100 * 102 + 255 * 153 + 127) / 255,
                          (50 * 102 + 255 * 153 + 127) / 255));
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

TEST(PlotBlendBitmaps, OffsetsCountFromZeroAndOnlyTheOverlapMixes) {
  auto source = Bitmap24(2, 2, {0, 0, 0});
  auto dest = Bitmap24(4, 4, {100, 100, 100});
  PlotBlendBitmaps(0, source.get(), dest.get(), {3, -1});  // one column at x = 3, from y = 0
  EXPECT_EQ(dest->ScanLine(1)[9], 0);
  EXPECT_EQ(dest->ScanLine(2)[9], 100);
  EXPECT_EQ(dest->ScanLine(1)[6], 100);
  PlotBlendBitmaps(0, source.get(), dest.get(), {INT32_MAX, INT32_MAX});
  PlotBlendBitmaps(50, nullptr, dest.get(), {0, 0});
}

TEST(PlotGrayScale, PlainAndWeightedGreys) {
  const struct {
    bool inverted;
    int mode, grey;
  } cases[] = {{false, 0, 60}, {true, 0, 195}, {false, 1, 54}, {true, 1, 201}};
  for (const auto& c : cases) {
    auto b = Bitmap24(3, 2, {90, 60, 30});  // red 30, green 60, blue 90
    PlotGrayScale(b.get(), c.inverted, c.mode);
    EXPECT_EQ(b->GetPixelFormat(), platform::pfDevice);
    EXPECT_EQ(b->Canvas->GetPixel(2, 1), platform::RGB(c.grey, c.grey, c.grey)) << c.mode;
  }
  PlotGrayScale(nullptr, true, 0);
}

TEST(PointAtDistance, BackFromTheEndTowardsTheStart) {
  const struct {
    TPoint from, to;
    int distance;
    TPoint expected;
  } cases[] = {
      {{0, 0}, {10, 0}, 3, {7, 0}},
      {{0, 10}, {0, 0}, 3, {0, 3}},
      {{0, 0}, {30, 40}, 5, {27, 36}},
      {{0, 0}, {INT32_MAX, 0}, -10, {INT32_MAX, 0}},
      {{0, 5}, {0, INT32_MAX}, -7, {0, INT32_MAX}},
      {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, INT32_MIN, {INT32_MAX, INT32_MAX}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PointAtDistance(c.from, c.to, c.distance), c.expected) << c.distance;
}

}  // namespace
}  // namespace chart
