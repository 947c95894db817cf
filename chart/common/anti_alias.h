// Smooth edges for a whole chart: draw it at twice the size, then average each 2 x 2 block.
#pragma once

#include <functional>
#include <memory>

#include "chart/canvas/view3d.h"
#include "platform/vcl/picture.h"

namespace chart {

// A 24-bit bitmap half the size of big, each pixel's blue, green and red the sum of the
// matching 2 x 2 block of big divided by 4 (rounded down). An odd last row or column of big is
// left out; a big bitmap under 2 x 2 gives an empty bitmap.
std::unique_ptr<platform::TBitmap> PlotHalveBitmap(platform::TBitmap& big);

// Draws through draw into a bitmap of twice width x height and halves it.
std::unique_ptr<platform::TBitmap> PlotAntiAliasDraw(
    int width, int height,
    const std::function<void(platform::TCanvas* canvas, const platform::TRect& rect)>& draw);

// The panel drawn anti-aliased at its own size. For the length of the drawing the panel's
// AutoRepaint and BufferedDisplay are off and its 3D options' FontZoom is doubled; all three
// are restored afterwards, also when drawing fails.
template <class Panel>
std::unique_ptr<platform::TBitmap> PlotAntiAlias(Panel& panel) {
  struct Restore {
    Panel& panel;
    bool autoRepaint = panel.GetAutoRepaint();
    bool buffered = panel.GetBufferedDisplay();
    TView3DOptions* options = panel.GetView3DOptions();
    int fontZoom = options ? options->GetFontZoom() : 100;
    ~Restore() {
      if (options) options->SetFontZoom(fontZoom);
      panel.SetBufferedDisplay(buffered);
      panel.SetAutoRepaint(autoRepaint);
    }
  } restore{panel};
  panel.SetAutoRepaint(false);
  panel.SetBufferedDisplay(false);
  if (restore.options) restore.options->SetFontZoom(restore.fontZoom * 2);
  return PlotAntiAliasDraw(panel.GetWidth(), panel.GetHeight(),
                           [&panel](platform::TCanvas* canvas, const platform::TRect& rect) {
                             panel.Draw(canvas, rect);
                           });
}

}  // namespace chart
