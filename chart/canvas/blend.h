// Translucent drawing: a blend remembers the pixels of a rectangle before a drawing step and
// afterwards mixes them back in, so the step shows through at its own transparency.
#pragma once

#include <memory>

#include "chart/canvas/plot_canvas.h"

namespace platform {
class TBitmap;
}  // namespace platform

namespace chart {

class TPlotBlend {
 public:
  // Saves the rectangle (clamped to the canvas) of the surface the canvas draws on now.
  TPlotBlend(TPlotCanvas& canvas, const TRect& r, TPlotTransparency transparency);
  ~TPlotBlend();
  TPlotBlend(const TPlotBlend&) = delete;
  TPlotBlend& operator=(const TPlotBlend&) = delete;

  void SetRectangle(const TRect& r);
  // Mixes at this blend's own transparency; nothing while metafiling or for an empty size.
  void DoBlend();
  // Mixes at the given transparency (0..100, clamped).
  void DoBlend(TPlotTransparency transparency);

  TPlotTransparency Transparency() const { return transparency_; }
  const TRect& Rectangle() const { return rect_; }
  bool ValidSize() const { return validSize_; }

 private:
  TPlotCanvas& canvas_;
  TRect rect_{};
  bool validSize_ = false;
  TPlotTransparency transparency_ = 0;
  // The surface the canvas drew on when the blend started (its buffer or an export target):
  // the pixels are read from it and mixed back into it.
  platform::gdi::Dc* surface_ = nullptr;
  std::unique_ptr<platform::TBitmap> saved_;
};

// Mixes source into dest at offset: dest keeps percent of what it shows and takes the rest from
// source. Both become 24-bit; negative offsets count as 0.
void PlotBlendBitmaps(int percent, platform::TBitmap* source, platform::TBitmap* dest,
                      TPoint offset);

// Grey from (R + G + B) div 3 (mode 0) or the weighted sum (other modes); inverted: 255 - grey.
void PlotGrayScale(platform::TBitmap* bitmap, bool inverted, int mode);

}  // namespace chart
