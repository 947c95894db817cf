#include "chart/common/anti_alias.h"

#include <algorithm>
#include <climits>

namespace chart {

std::unique_ptr<platform::TBitmap> PlotHalveBitmap(platform::TBitmap& big) {
  auto small = std::make_unique<platform::TBitmap>();
  small->SetPixelFormat(platform::pf24bit);
  const int w = big.GetWidth() / 2;
  const int h = big.GetHeight() / 2;
  if (w <= 0 || h <= 0) return small;
  big.SetPixelFormat(platform::pf24bit);
  small->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* top = big.ScanLine(2 * y);
    const std::uint8_t* bottom = big.ScanLine(2 * y + 1);
    std::uint8_t* out = small->ScanLine(y);
    if (!top || !bottom || !out) continue;
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int i = 6 * x + c;
        out[3 * x + c] =
            static_cast<std::uint8_t>((top[i] + top[i + 3] + bottom[i] + bottom[i + 3]) / 4);
      }
    }
  }
  return small;
}

std::unique_ptr<platform::TBitmap> PlotAntiAliasDraw(
    int width, int height,
    const std::function<void(platform::TCanvas* canvas, const platform::TRect& rect)>& draw) {
  // Twice the size must stay a valid bitmap size.
  width = std::clamp(width, 0, INT_MAX / 4);
  height = std::clamp(height, 0, INT_MAX / 4);
  platform::TBitmap big;
  big.SetSize(2 * width, 2 * height);
  if (draw && big.GetWidth() > 0 && big.GetHeight() > 0)
    draw(big.Canvas, platform::TRect{0, 0, 2 * width, 2 * height});
  return PlotHalveBitmap(big);
}

}  // namespace chart
