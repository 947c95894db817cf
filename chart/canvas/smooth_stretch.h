// Resizing a bitmap into another with a separable two-pass filter and fixed-point weights.
#pragma once

namespace platform {
class TBitmap;
}

namespace chart {

enum TSmoothStretchOption { ssBestQuality = 0, ssBestPerformance = 1 };

// Dest keeps its size; its pixels are replaced by the resampled source. Either bitmap null:
// nothing. Throws platform::Exception when either is narrower than 2 or not taller than 1.
void SmoothStretch(platform::TBitmap* source, platform::TBitmap* dest,
                   TSmoothStretchOption option = ssBestQuality);

}  // namespace chart
