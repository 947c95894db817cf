// The check box and radio button of the editors, drawn through the device context in the
// classic sunken look, pixel for pixel the same on every desktop.
#include <climits>

#include "chart/panel/editor_controls.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/graphics.h"

namespace chart {

namespace {

using platform::gdi::Dc;

void Fill(Dc& dc, int l, int t, int r, int b, TColor color) {
  platform::gdi::LogBrush brush;
  brush.Style = platform::gdi::BS_SOLID;
  brush.Color = platform::ColorToRGB(color);
  dc.FillRect(TRect{l, t, r, b}, brush);
}

// A 13 x 13 box: a two-pixel sunken frame around a 9 x 9 window-coloured field; the tick is
// seven columns of three pixels each.
void DrawCheck(Dc& dc, int x, int y, bool checked) {
  Fill(dc, x, y, x + 12, y + 1, platform::clBtnShadow);
  Fill(dc, x, y + 1, x + 1, y + 12, platform::clBtnShadow);
  Fill(dc, x, y + 12, x + 13, y + 13, platform::clBtnHighlight);
  Fill(dc, x + 12, y, x + 13, y + 12, platform::clBtnHighlight);
  Fill(dc, x + 1, y + 1, x + 11, y + 2, platform::cl3DDkShadow);
  Fill(dc, x + 1, y + 2, x + 2, y + 11, platform::cl3DDkShadow);
  Fill(dc, x + 1, y + 11, x + 12, y + 12, platform::cl3DLight);
  Fill(dc, x + 11, y + 1, x + 12, y + 11, platform::cl3DLight);
  Fill(dc, x + 2, y + 2, x + 11, y + 11, platform::clWindow);
  if (!checked) return;
  static constexpr int kTickTop[7] = {5, 6, 7, 6, 5, 4, 3};
  for (int i = 0; i < 7; ++i) {
    const int tx = x + 3 + i;
    const int ty = y + kTickTop[i];
    Fill(dc, tx, ty, tx + 1, ty + 3, platform::clWindowText);
  }
}

// A 12 x 12 circle in the 13 x 13 cell: an outer and an inner ring (shadowed above the
// anti-diagonal, lit below it) around a window-coloured field, and a 4 x 4 dot when checked.
// Distances are taken in half pixels from the centre (5.5, 5.5), so every pixel is decided
// by whole numbers.
void DrawRadio(Dc& dc, int x, int y, bool checked) {
  const TColor text = platform::ColorToRGB(platform::clWindowText);
  const TColor window = platform::ColorToRGB(platform::clWindow);
  for (int row = 0; row < 12; ++row) {
    for (int col = 0; col < 12; ++col) {
      const int dx = 2 * col - 11;
      const int dy = 2 * row - 11;
      const int d2 = dx * dx + dy * dy;
      const bool upper = col + row < 11;
      TColor color;
      if (d2 >= 144) {
        continue;
      } else if (d2 >= 100) {
        color = upper ? platform::clBtnShadow : platform::clBtnHighlight;
      } else if (d2 >= 64) {
        color = upper ? platform::cl3DDkShadow : platform::cl3DLight;
      } else {
        color = checked && d2 < 16 ? text : window;
      }
      dc.SetPixel(x + col, y + row, platform::ColorToRGB(color));
    }
  }
}

}  // namespace

void PlotDrawCheckBox(int x, int y, platform::TCanvas* canvas, bool checked, TColor,
                      bool isCheckBox) {
  // The cell would reach past the largest coordinate.
  if (!canvas || x > INT_MAX - 13 || y > INT_MAX - 13) return;
  Dc* dc = canvas->GetHandle();
  if (!dc) return;
  if (isCheckBox) {
    DrawCheck(*dc, x, y, checked);
  } else {
    DrawRadio(*dc, x, y, checked);
  }
}

}  // namespace chart
