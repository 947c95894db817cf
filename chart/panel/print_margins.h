// The arithmetic of printing a panel: page margins that keep the panel's proportions, the
// printed rectangle in printer pixels, and the logical size a panel is drawn at before it is
// stretched onto that rectangle. Pure functions of page size, resolutions and panel size.
#pragma once

#include "platform/vcl/geometry.h"

namespace chart {

using platform::TRect;

// The page margins (left, top, right, bottom, percent of the page) that give the panel's
// longer side 70 % of the matching page side and keep its proportions on the other side,
// centred. dpiX and dpiY are the printer's resolutions. A panel or page without size gets the
// default margins of 15.
TRect CalcProportionalMargins(int panelWidth, int panelHeight, int pageWidth, int pageHeight,
                              int dpiX, int dpiY);

// The page inside margins (percent), in printer pixels.
TRect ChartPrintRect(const TRect& margins, int pageWidth, int pageHeight);

// PrintResolution is the percent by which the panel is drawn smaller than on screen before it
// is stretched onto the page: 0..99 (100 would leave nothing to draw, more would mirror it), and
// down to -100 (drawn twice as large, so lines and text print thinner).
constexpr int kMinPrintResolution = -100;
constexpr int kMaxPrintResolution = 99;
int ClampPrintResolution(int value);

// r is put in order (left <= right, top <= bottom) and its size becomes the device size; the
// logical size is the panel's less resolution percent; then r is mapped into logical units.
// False (r unchanged in size, logical = device) when r or the panel is empty: nothing to print.
bool CalcMetaBounds(TRect& r, const TRect& panel, int resolution, int& deviceWidth,
                    int& deviceHeight, int& logicalWidth, int& logicalHeight);

}  // namespace chart
