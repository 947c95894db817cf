// A 3D canvas drawing into a bitmap, with every device-context primitive recorded, for the
// chart canvas tests. Qt runs offscreen; text uses Liberation Sans at 96 dpi, no antialiasing.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/view3d.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"
#include "tests/support/gdi_test_support.h"

namespace c3dtest {

namespace gdi = platform::gdi;

inline void EnsureGui() {
  EXPECT_TRUE(gditest::SetUpText());
}

// A canvas over a w x h buffer. In 3D the projection centre equals its offset, so the default
// oblique view maps (X, Y, Z) to (X + Z, Y - Z).
struct Scene {
  explicit Scene(bool is3D = true, int w = 300, int h = 200) : options([] {}) {
    EnsureGui();
    const chart::TRect r{0, 0, w, h};
    canvas.InitWindow(nullptr, &options, platform::clWhite, is3D, r);
    canvas.Projection(100, r, r);
    canvas.Font->SetName("Liberation Sans");
    canvas.Font->SetSize(8);
    canvas.Font->SetColor(platform::clBlack);
    raw = canvas.GetHandle();
    // Reads the device context as it is: asking the canvas would select its pen and brush.
    raw->SetRecorder([this](const gdi::DcCall& c) {
      calls.push_back(c);
      fonts.push_back(raw->CurrentFont());
    });
  }
  // The device context without re-selecting the canvas's pen, brush and font.
  gdi::Dc* Dc() { return raw; }

  std::vector<gdi::DcCall> Calls(const std::string& op) const {
    std::vector<gdi::DcCall> out;
    for (const auto& c : calls)
      if (c.Op == op) out.push_back(c);
    return out;
  }
  // The font selected when each call of op was made.
  std::vector<gdi::LogFont> Fonts(const std::string& op) const {
    std::vector<gdi::LogFont> out;
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i].Op == op) out.push_back(fonts[i]);
    return out;
  }
  void Clear() {
    calls.clear();
    fonts.clear();
  }
  platform::TColor Pixel(int x, int y) { return canvas.GetPixel(x, y); }

  chart::TView3DOptions options;
  chart::TPlotCanvas3D canvas;
  gdi::Dc* raw = nullptr;
  std::vector<gdi::DcCall> calls;
  std::vector<gdi::LogFont> fonts;
};

inline std::vector<int> Pts(std::initializer_list<chart::TPoint> pts) {
  std::vector<int> out;
  for (const auto& p : pts) {
    out.push_back(p.X);
    out.push_back(p.Y);
  }
  return out;
}

}  // namespace c3dtest
