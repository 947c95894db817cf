#include "chart/panel/print_margins.h"

#include <algorithm>
#include <utility>

#include "chart/canvas/geometry.h"
#include "platform/gdi/dc.h"

namespace chart {

namespace {

constexpr int kDefaultMargin = 15;

// Half the page percent left over when the side takes a x (ratio-corrected) of 70 % of the
// other page side.
int ProportionalMargin(long double a, long double b, long double x, long double ratio) {
  const long double used = (a - a * 30 * 0.01L) * x * ratio;
  return Round((b - used) * 100 / b) / 2;
}

int Percent(int margin, int side) {
  return Round(static_cast<long double>(margin) * side / 100);
}

}  // namespace

TRect CalcProportionalMargins(int panelWidth, int panelHeight, int pageWidth, int pageHeight,
                              int dpiX, int dpiY) {
  TRect m{kDefaultMargin, kDefaultMargin, kDefaultMargin, kDefaultMargin};
  if (panelWidth <= 0 || panelHeight <= 0 || pageWidth <= 0 || pageHeight <= 0) return m;
  if (dpiX <= 0 || dpiY <= 0) dpiX = dpiY = 1;
  const long double w = panelWidth, h = panelHeight;
  if (h < w) {
    // The page width sets the chart's width in X pixels; its height in Y pixels needs dpiY/dpiX.
    m.Top = m.Bottom =
        ProportionalMargin(pageWidth, pageHeight, h / w, static_cast<long double>(dpiY) / dpiX);
  } else {
    m.Left = m.Right =
        ProportionalMargin(pageHeight, pageWidth, w / h, static_cast<long double>(dpiX) / dpiY);
  }
  return m;
}

TRect ChartPrintRect(const TRect& margins, int pageWidth, int pageHeight) {
  return TRect{Percent(margins.Left, pageWidth), Percent(margins.Top, pageHeight),
               pageWidth - Percent(margins.Right, pageWidth),
               pageHeight - Percent(margins.Bottom, pageHeight)};
}

int ClampPrintResolution(int value) {
  return std::clamp(value, kMinPrintResolution, kMaxPrintResolution);
}

bool CalcMetaBounds(TRect& r, const TRect& panel, int resolution, int& deviceWidth,
                    int& deviceHeight, int& logicalWidth, int& logicalHeight) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  deviceWidth = r.Right - r.Left;
  deviceHeight = r.Bottom - r.Top;
  resolution = ClampPrintResolution(resolution);
  const int pw = panel.Right - panel.Left, ph = panel.Bottom - panel.Top;
  logicalWidth = pw - platform::gdi::MulDiv(pw, resolution, 100);
  logicalHeight = ph - platform::gdi::MulDiv(ph, resolution, 100);
  if (deviceWidth <= 0 || deviceHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0) {
    logicalWidth = deviceWidth;
    logicalHeight = deviceHeight;
    return false;
  }
  r.Left = platform::gdi::MulDiv(r.Left, logicalWidth, deviceWidth);
  r.Right = platform::gdi::MulDiv(r.Right, logicalWidth, deviceWidth);
  r.Top = platform::gdi::MulDiv(r.Top, logicalHeight, deviceHeight);
  r.Bottom = platform::gdi::MulDiv(r.Bottom, logicalHeight, deviceHeight);
  return true;
}

}  // namespace chart
