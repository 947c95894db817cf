#include "chart/common/hand_cursor.h"

#include "chart/common/general.h"
#include "chart/common/palette.h"

namespace chart {

namespace {

int useCount = 0;

// At load the palette and separator already hold their first values (other files' globals
// may not be built yet here, so they are left alone).
struct AutoStart {
  AutoStart() {
    useCount = 1;
    platform::SetScreenCursor(crPlotHand, platform::TCursorShape::PointingHand);
  }
};
const AutoStart autoStart;

}  // namespace

void PlotGeneralUnitStart() {
  if (useCount++ > 0) return;
  if (ColorPalette.empty()) SetDefaultColorPalette();
  if (PlotFieldsSeparator.empty()) PlotFieldsSeparator.push_back(';');
  platform::SetScreenCursor(crPlotHand, platform::TCursorShape::PointingHand);
}

void PlotGeneralUnitEnd() {
  if (useCount > 0 && --useCount == 0) {
    ColorPalette.clear();
    PlotFieldsSeparator.clear();
    platform::RemoveScreenCursor(crPlotHand);
  }
}

}  // namespace chart
