// Library-wide settings of the chart canvas, fixed when the library starts: the default font,
// which optional drawing services are used, and the colours kept by the colour dialog.
#pragma once

#include <string>
#include <vector>

namespace chart {

// The platform is of the family whose pens take end caps and user styles (always here).
extern bool IsWindowsNT;
extern int GetDefaultFontSize;
extern std::string GetDefaultFontName;

// Whether the device context's own brush and pen colour are used (else brush changes); whether
// blending goes through a constant-opacity draw (else the exact integer mix). Switchable.
extern bool PlotSetDCBrushColor;
extern bool PlotSetDCPenColor;
extern bool PlotAlphaBlendAvailable;

// When true, one-pixel pens with a non-solid style get width 0 (true dashes).
extern bool PlotCheckPenWidth;

// The colour dialog's custom colours, made on first use.
std::vector<std::string>& PlotCustomEditColors();

// Library start and end. The settings begin with the values start gives them; tests call it
// again to reset what they switched.
void PlotCanvasUnitStart();
void PlotCanvasUnitEnd();

}  // namespace chart
