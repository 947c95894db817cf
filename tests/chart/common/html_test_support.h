// A chart canvas over a 300 x 200 buffer for the HTML text tests, with every device-context
// call recorded together with the font selected when it was made.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/view3d.h"
#include "chart/common/html_text.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/graphics.h"
#include "tests/support/gdi_test_support.h"

namespace htmltest {

namespace gdi = platform::gdi;

struct Drawn {
  std::string Text;
  int X = 0;
  int Y = 0;
  gdi::LogFont Font;
  platform::TColor Color = 0;
};

struct HtmlScene {
  HtmlScene() : options([] {}) {
    EXPECT_TRUE(gditest::SetUpText());
    const chart::TRect r{0, 0, 300, 200};
    canvas.InitWindow(nullptr, &options, platform::clWhite, false, r);
    canvas.Projection(100, r, r);
    canvas.Bounds = r;
    canvas.Font->SetName("Liberation Sans");
    canvas.Font->SetSize(8);
    canvas.Font->SetColor(platform::clBlack);
    canvas.Font->SetStyle({});
    dc = canvas.GetHandle();
    dc->SetRecorder([this](const gdi::DcCall& c) {
      calls.push_back(c);
      fonts.push_back(dc->CurrentFont());
    });
  }

  // The texts drawn, in order.
  std::vector<Drawn> Texts() const {
    std::vector<Drawn> out;
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].Op != "TextOut") continue;
      out.push_back(
          {calls[i].Text, calls[i].Args.at(0), calls[i].Args.at(1), fonts[i], calls[i].TextColor});
    }
    return out;
  }
  std::vector<gdi::DcCall> Calls(const std::string& op) const {
    std::vector<gdi::DcCall> out;
    for (const auto& c : calls)
      if (c.Op == op) out.push_back(c);
    return out;
  }
  platform::TColor Pixel(int x, int y) { return canvas.GetPixel(x, y); }
  void Clear() {
    calls.clear();
    fonts.clear();
  }

  // Width and height of text in the scene's font changed by setUp; the font is put back after.
  template <typename F>
  int WidthIn(const std::string& text, F setUp) {
    saved.Assign(*canvas.Font);
    setUp(*canvas.Font);
    const int w = canvas.TextWidth(text);
    canvas.Font->Assign(saved);
    return w;
  }
  template <typename F>
  int HeightIn(const std::string& text, F setUp) {
    saved.Assign(*canvas.Font);
    setUp(*canvas.Font);
    const int h = canvas.TextHeight(text);
    canvas.Font->Assign(saved);
    return h;
  }

  platform::TFont saved;
  chart::TView3DOptions options;
  chart::TPlotCanvas3D canvas;
  gdi::Dc* dc = nullptr;
  std::vector<gdi::DcCall> calls;
  std::vector<gdi::LogFont> fonts;
};

inline void Plain(platform::TFont&) {}
inline void Bold(platform::TFont& f) {
  f.SetStyle(platform::TFontStyles{platform::fsBold});
}

}  // namespace htmltest
