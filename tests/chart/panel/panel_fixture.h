// A headless chart panel whose drawing pass paints the panel background (as a chart does
// first) and then runs whatever a test hands it, plus small pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "chart/panel/plot_panel_extended.h"
#include "platform/vcl/application.h"
#include "platform/vcl/picture.h"
#include "tests/support/gdi_test_support.h"

namespace paneltest {

using platform::TColor;
using platform::TRect;

class TestPanel : public chart::TCustomPlotPanelExtended {
 public:
  explicit TestPanel(platform::TPanelSurface surface = platform::TPanelSurface::Headless)
      : TCustomPlotPanelExtended(nullptr, surface) {}

  // Runs inside each drawing pass, with AutoRepaint off as the chart has it.
  std::function<void(TestPanel&)> During;
  int InternalDraws = 0;
  TRect LastChartRect;

  using TCustomPlotPanelExtended::Paint;

 protected:
  void InternalDraw(const TRect& /*bounds*/) override {
    ++InternalDraws;
    LastChartRect = ChartRect;
    struct Hold {
      TestPanel& p;
      bool was;
      ~Hold() { p.AutoRepaint = was; }
    } hold{*this, AutoRepaint};
    AutoRepaint = false;
    PanelPaint(ChartBounds);
    if (During) During(*this);
  }
};

// 0x00BBGGRR of the panel's window image at (x, y); -1 outside.
inline TColor WindowPixel(const chart::TCustomPlotPanel& panel, int x, int y) {
  const QImage* img = panel.WindowImage().Image();
  if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return -1;
  const QRgb c = img->pixel(x, y);
  return static_cast<TColor>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

inline QImage WindowCopy(const chart::TCustomPlotPanel& panel) {
  const QImage* img = panel.WindowImage().Image();
  return img ? img->copy() : QImage();
}

// The colour a pixel of the window image must have.
struct Probe {
  int x, y;
  TColor expected;
};

// The colour of pixel (x, y) of a coded bitmap: red x*10, green y*10, blue 0x80.
inline TColor Coded(int x, int y) {
  return static_cast<TColor>(((x * 10) & 0xFF) | (((y * 10) & 0xFF) << 8) | (0x80 << 16));
}

// A bitmap of w x h in the coded colours.
inline std::unique_ptr<platform::TBitmap> CodedBitmap(int w, int h) {
  auto b = std::make_unique<platform::TBitmap>();
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->Canvas->SetPixel(x, y, Coded(x, y));
  return b;
}

// Boxes the application shows from now on (every box is answered at once: see PanelTest).
class ModalLog {
 public:
  ModalLog() {
    platform::Application->ProcessMessages();
    platform::Application->ClearModalLog();
  }
  std::vector<platform::TModalRequest> Shown() {
    for (int i = 0; i < 5; ++i) platform::Application->ProcessMessages();
    return platform::Application->ModalLog();
  }
};

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gditest::SetUpText());
    platform::Application->SetModalResponder([](platform::TModalRequest&) { return 1; });
  }
};

}  // namespace paneltest
