#include "chart/canvas/smooth_stretch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "chart/canvas/geometry.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace {

struct Contributor {
  int Pixel;
  int Weight;  // 1/1024 units
};
using Contributors = std::vector<std::vector<Contributor>>;

double Sinc(double y) {
  return std::sin(y) / y;
}

double Lanczos3(double x) {
  if (x == 0) return 1;
  if (std::fabs(x) >= 3) return 0;
  const double pi = std::acos(-1.0);
  return Sinc(pi * x) * Sinc(pi * x / 3);
}

double Triangle(double x) {
  x = std::fabs(x);
  return x < 1 ? 1 - x : 0;
}

// Indexes past either edge are mirrored back, as often as it takes, so that tiny sources and
// wide reaches stay inside the source.
int Mirror(long long j, int size) {
  while (j < 0 || j >= size) j = j < 0 ? -j : 2LL * size - 1 - j;
  return static_cast<int>(j);
}

Contributors MakeContributors(int destSize, int sourceSize, double (*filter)(double),
                              double width) {
  const double scale = static_cast<double>(destSize - 1) / (sourceSize - 1);
  Contributors list(destSize);
  for (int i = 0; i < destSize; ++i) {
    const double c = i / scale;
    const bool enlarge = scale >= 1;
    const double reach = enlarge ? width : width / scale;
    const auto first = static_cast<long long>(std::floor(c - reach));
    const auto last = static_cast<long long>(std::ceil(c + reach));
    for (long long j = first; j <= last; ++j) {
      const double w = enlarge ? filter(c - j) : filter((c - j) * scale);
      if (w == 0) continue;
      list[i].push_back({Mirror(j, sourceSize), Round((enlarge ? w : w * scale) * 1024.0L)});
    }
  }
  return list;
}

std::uint8_t Channel(long long sum) {
  return static_cast<std::uint8_t>(std::clamp<long long>(sum / 1024, 0, 255));
}

}  // namespace

void SmoothStretch(platform::TBitmap* source, platform::TBitmap* dest,
                   TSmoothStretchOption option) {
  if (!source || !dest) return;
  const int sw = source->GetWidth(), sh = source->GetHeight();
  const int dw = dest->GetWidth(), dh = dest->GetHeight();
  if (sw < 2 || sh <= 1) throw platform::Exception("SmoothStretch: Source bitmap too small");
  if (dw < 2 || dh <= 1) throw platform::Exception("SmoothStretch: Destination bitmap too small");
  source->SetPixelFormat(platform::pf24bit);
  dest->SetPixelFormat(platform::pf24bit);
  const bool fast = option == ssBestPerformance;
  double (*filter)(double) = fast ? Triangle : Lanczos3;
  const double width = fast ? 1.0 : 3.0;

  // Rows of the source stretched to the destination's width.
  std::vector<std::uint8_t> work(static_cast<std::size_t>(dw) * sh * 3);
  {
    const Contributors across = MakeContributors(dw, sw, filter, width);
    for (int y = 0; y < sh; ++y) {
      const std::uint8_t* row = source->ScanLine(y);
      std::uint8_t* out = &work[static_cast<std::size_t>(y) * dw * 3];
      for (int x = 0; x < dw; ++x) {
        long long sum[3] = {0, 0, 0};
        for (const Contributor& k : across[x])
          for (int c = 0; c < 3; ++c)
            sum[c] += static_cast<long long>(k.Weight) * row[3 * k.Pixel + c];
        for (int c = 0; c < 3; ++c) out[3 * x + c] = Channel(sum[c]);
      }
    }
  }
  const Contributors down = MakeContributors(dh, sh, filter, width);
  for (int y = 0; y < dh; ++y) {
    std::uint8_t* out = dest->ScanLine(y);
    for (int x = 0; x < dw; ++x) {
      long long sum[3] = {0, 0, 0};
      for (const Contributor& k : down[y]) {
        const std::uint8_t* p = &work[(static_cast<std::size_t>(k.Pixel) * dw + x) * 3];
        for (int c = 0; c < 3; ++c) sum[c] += static_cast<long long>(k.Weight) * p[c];
      }
      for (int c = 0; c < 3; ++c) out[3 * x + c] = Channel(sum[c]);
    }
  }
}

}  // namespace chart
