// The chart's hand cursor (shown over clickable chart parts) and the start and end of the
// general routines' shared state.
#pragma once

#include "platform/vcl/cursors.h"

namespace chart {

constexpr platform::TCursor crPlotHand = 2020;

// Use-counted; the library starts once by itself when the program loads. The first start
// installs the default palette, the field separator and the hand cursor; the last end empties
// the palette and the separator and removes the cursor.
void PlotGeneralUnitStart();
void PlotGeneralUnitEnd();

}  // namespace chart
