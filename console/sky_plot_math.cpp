#include "console/sky_plot_math.h"

#include <cmath>

namespace console {

SkyPoint SkyPosition(int azimuth, int elevation) {
  double a = azimuth / 180.0 * 3.14;
  double r = (90.0 - elevation) * 0.8;
  double x = std::sin(a) * r + 90;
  double y = 90 - std::cos(a) * r;
  // Receiver values far outside 0-90 / 0-359 still give a representable pixel.
  auto clampTrunc = [](double v) {
    return static_cast<int>(std::trunc(std::fmax(-1e6, std::fmin(1e6, v))));
  };
  return {clampTrunc(x), clampTrunc(y)};
}

}  // namespace console
