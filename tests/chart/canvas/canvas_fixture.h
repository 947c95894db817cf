// A 3D canvas drawing into a bitmap, with the device context's calls recorded, for the canvas's
// own tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/view3d.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/picture.h"
#include "tests/support/gdi_test_support.h"

namespace canvastest {

// Offscreen text with the fixed font set-up.
inline void EnsureGuiApplication() {
  gditest::SetUpText();
}

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gditest::SetUpText());
    target.SetSize(300, 200);
  }

  // Starts a drawing on the buffer bitmap and records what reaches its device context.
  platform::TRect Start(bool is3D, const platform::TRect& r = {0, 0, 300, 200}) {
    const platform::TRect drawn = canvas.InitWindow(target.Canvas, &options, 0xFFFFFF, is3D, r);
    calls.clear();
    Record();
    return drawn;
  }
  void Record() {
    if (platform::gdi::Dc* dc = canvas.GetHandle())
      dc->SetRecorder([this](const platform::gdi::DcCall& call) { calls.push_back(call); });
  }
  std::vector<platform::gdi::DcCall> Ops(const std::string& op) const {
    std::vector<platform::gdi::DcCall> out;
    for (const auto& c : calls)
      if (c.Op == op) out.push_back(c);
    return out;
  }
  platform::TColor Pixel(int x, int y) { return canvas.GetHandle()->GetPixel(x, y); }

  chart::TView3DOptions options{{}};
  platform::TBitmap target;
  chart::TPlotCanvas3D canvas;
  std::vector<platform::gdi::DcCall> calls;
};

}  // namespace canvastest
