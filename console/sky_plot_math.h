// Where the sky plot draws a satellite: zenith at (90, 90), horizon 72 pixels out, north up.
#pragma once

namespace console {

struct SkyPoint {
  int x, y;
};

// 3.14 stands for pi and the results are truncated, as the plot has always drawn them.
SkyPoint SkyPosition(int azimuth, int elevation);

}  // namespace console
