#include "chart/canvas/smooth_stretch.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/vcl/exception.h"
#include "platform/vcl/picture.h"

namespace chart {
namespace {

using Bgr = std::array<int, 3>;

std::unique_ptr<platform::TBitmap> MakeBitmap(int w, int h, Bgr fill = {100, 100, 100}) {
  auto b = std::make_unique<platform::TBitmap>();
  b->SetPixelFormat(platform::pf24bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) b->ScanLine(y)[3 * x + c] = static_cast<std::uint8_t>(fill[c]);
  return b;
}

void Put(platform::TBitmap& b, int x, int y, Bgr c) {
  for (int i = 0; i < 3; ++i) b.ScanLine(y)[3 * x + i] = static_cast<std::uint8_t>(c[i]);
}

Bgr Get(platform::TBitmap& b, int x, int y) {
  const std::uint8_t* p = b.ScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

TEST(SmoothStretch, TwoByTwoToThreeByThreeAndSameSizeWithTheTriangle) {
  auto src = MakeBitmap(2, 2);
  const Bgr a{10, 200, 0}, b{21, 100, 255}, c{40, 0, 7}, d{81, 50, 100};
  Put(*src, 0, 0, a);
  Put(*src, 1, 0, b);
  Put(*src, 0, 1, c);
  Put(*src, 1, 1, d);
  auto dst = MakeBitmap(3, 3);
  SmoothStretch(src.get(), dst.get(), ssBestPerformance);
  EXPECT_EQ(Get(*dst, 0, 0), a);
  EXPECT_EQ(Get(*dst, 2, 0), b);
  EXPECT_EQ(Get(*dst, 0, 2), c);
  EXPECT_EQ(Get(*dst, 2, 2), d);
  EXPECT_EQ(Get(*dst, 1, 0), (Bgr{15, 150, 127}));
  // The centre averages the four, each pass truncating: (15 + 60) / 2 ...
  EXPECT_EQ(Get(*dst, 1, 1), (Bgr{37, 87, 90}));

  auto same = MakeBitmap(2, 2);
  SmoothStretch(src.get(), same.get(), ssBestPerformance);
  EXPECT_EQ(Get(*same, 1, 0), b);
  EXPECT_EQ(Get(*same, 0, 1), c);
}

TEST(SmoothStretch, RefusesBitmapsTooSmall) {
  const struct {
    int sw, sh, dw, dh;
    const char* message;
  } cases[] = {
      {1, 5, 4, 4, "SmoothStretch: Source bitmap too small"},
      {5, 1, 4, 4, "SmoothStretch: Source bitmap too small"},
      {-3, 5, 4, 4, "SmoothStretch: Source bitmap too small"},
      {4, 4, 1, 4, "SmoothStretch: Destination bitmap too small"},
      {4, 4, -2, -7, "SmoothStretch: Destination bitmap too small"},
  };
  for (const auto& c : cases) {
    auto src = MakeBitmap(c.sw, c.sh);
    auto dst = MakeBitmap(c.dw, c.dh);
    try {
      SmoothStretch(src.get(), dst.get());
      ADD_FAILURE() << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
  SmoothStretch(nullptr, MakeBitmap(3, 3).get());
}

TEST(SmoothStretch, LanczosOvershootIsClampedNotWrapped) {
  auto src = MakeBitmap(8, 2, {0, 0, 0});
  for (int y = 0; y < 2; ++y)
    for (int x = 4; x < 8; ++x) Put(*src, x, y, {255, 255, 255});
  auto dst = MakeBitmap(29, 2);
  SmoothStretch(src.get(), dst.get(), ssBestQuality);
  // Source x = 3 lands on 12, x = 4 on 16; the filter rings on both sides of the step. A
  // wrapped undershoot would read near 255 on the dark side, a wrapped overshoot near 0.
  for (int x = 0; x <= 11; ++x) EXPECT_LT(Get(*dst, x, 0)[1], 16) << x;
  for (int x = 17; x < 29; ++x) EXPECT_GT(Get(*dst, x, 0)[1], 239) << x;
  EXPECT_EQ(Get(*dst, 11, 0)[1], 0);
  EXPECT_EQ(Get(*dst, 17, 0)[1], 255);
}

TEST(SmoothStretch, TinySourcesAndStrongReductionsStayInside) {
  // Under the address sanitizer an out-of-range row read fails this test.
  const struct {
    int sw, sh, dw, dh;
  } cases[] = {{2, 2, 3, 3}, {2, 2, 7, 5}, {3, 3, 2, 2}, {40, 3, 2, 2}, {97, 61, 3, 2}};
  for (auto option : {ssBestQuality, ssBestPerformance}) {
    for (const auto& c : cases) {
      auto src = MakeBitmap(c.sw, c.sh);
      auto dst = MakeBitmap(c.dw, c.dh, {0, 0, 0});
      SmoothStretch(src.get(), dst.get(), option);
      // A flat source stays nearly flat: the weights sum to about one.
      for (int y = 0; y < c.dh; ++y)
        for (int x = 0; x < c.dw; ++x)
          EXPECT_NEAR(Get(*dst, x, y)[0], 100, 12) << c.sw << "->" << c.dw;
    }
  }
}

}  // namespace
}  // namespace chart
