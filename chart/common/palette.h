// The colours handed out to new series, in order.
#pragma once

#include <vector>

#include "platform/gdi/types.h"

namespace chart {

using platform::TColor;

// The palette in use; the 20 defaults from the start.
extern std::vector<TColor> ColorPalette;

// The 20 default colours: red, green, yellow, blue, white, gray, fuchsia, teal, navy, maroon,
// lime, olive, purple, silver, aqua, black, money green, sky blue, cream, medium gray.
const std::vector<TColor>& DefaultColorPalette();

// The palette becomes a copy of colors; no colours, or a single one, give the defaults.
void SetDefaultColorPalette();
void SetDefaultColorPalette(const std::vector<TColor>& colors);

// The palette's colour at index, counted round the palette either way (-1 is the last colour);
// from the defaults while the palette is empty.
TColor GetDefaultColor(int index);

}  // namespace chart
