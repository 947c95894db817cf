// Text of the 3D canvas: shadows, outlines and gradients through paths, zoomed and rotated
// fonts, and the rectangle a text covers under each alignment.
#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "canvas3d_test_support.h"
#include "chart/canvas/plot_font.h"

using c3dtest::Scene;
using chart::TRect;
namespace gdi = platform::gdi;

namespace {

struct FontScene : Scene {
  FontScene() : Scene(true) {
    font.SetName("Liberation Sans");
    font.SetSize(12);
    font.SetColor(platform::clBlack);
  }
  void Use() { canvas.AssignFont(&font); }
  chart::TPlotFont font;
};

}  // namespace

TEST(Canvas3DText, ShadowOffsetsBothWays) {
  struct Case {
    int h, v;
    int shadowX, shadowY, textX, textY;
  } cases[] = {{3, 2, 53, 62, 50, 60}, {-3, -2, 50, 60, 53, 62}, {0, -4, 50, 60, 50, 64}};
  for (const auto& c : cases) {
    FontScene s;
    s.font.GetShadow()->SetHorizSize(c.h);
    s.font.GetShadow()->SetVertSize(c.v);
    s.font.GetShadow()->SetColor(platform::clRed);
    s.Use();
    s.canvas.TextOut(50, 60, "Shadow");
    const auto texts = s.Calls("TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Args, (std::vector<int>{c.shadowX, c.shadowY})) << c.h << "," << c.v;
    EXPECT_EQ(texts[0].TextColor, platform::clRed);
    EXPECT_EQ(texts[1].Args, (std::vector<int>{c.textX, c.textY})) << c.h << "," << c.v;
    EXPECT_EQ(texts[1].TextColor, platform::clBlack);
  }
  // A translucent shadow is blended; a clNone shadow is drawn like any other colour.
  FontScene t;
  t.font.GetShadow()->SetSize(2);
  t.font.GetShadow()->SetTransparency(50);
  t.Use();
  t.canvas.TextOut(10, 10, "Blend");
  EXPECT_EQ(t.Calls("TextOut").size(), 2u);
  t.Clear();
  t.font.GetShadow()->SetColor(platform::clNone);
  t.canvas.TextOut(10, 10, "None");
  const auto texts = t.Calls("TextOut");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Args, (std::vector<int>{12, 12}));
  EXPECT_EQ(texts[0].TextColor, platform::ColorToRGB(platform::clNone));
  EXPECT_EQ(texts[1].Args, (std::vector<int>{10, 10}));
}

TEST(Canvas3DText, OutlineOnlyStrokesThePath) {
  FontScene s;
  s.font.SetColor(platform::clNone);
  s.font.GetOutLine()->SetVisible(true);
  s.font.GetOutLine()->SetColor(platform::clBlue);
  s.Use();
  s.canvas.TextOut(20, 20, "Outline");
  std::vector<std::string> ops;
  for (const auto& c : s.calls) ops.push_back(c.Op);
  EXPECT_EQ(ops, (std::vector<std::string>{"BeginPath", "TextOut", "EndPath", "StrokePath"}));
  EXPECT_EQ(s.Calls("StrokePath").at(0).Pen.Color, platform::clBlue);

  // With a font colour the outlined text is also filled.
  s.Clear();
  s.font.SetColor(platform::clYellow);
  s.Use();
  s.canvas.TextOut(20, 60, "Filled");
  ASSERT_EQ(s.Calls("StrokeAndFillPath").size(), 1u);
  EXPECT_EQ(s.Calls("StrokeAndFillPath")[0].Brush.Color, platform::clYellow);
}

TEST(Canvas3DText, GradientTextIsClippedToTheGlyphsAndRestoresTheClip) {
  FontScene s;
  s.font.SetSize(40);
  s.font.GetGradient()->SetVisible(true);
  s.font.GetGradient()->SetStartColor(platform::clRed);
  s.font.GetGradient()->SetEndColor(platform::clRed);
  s.Use();
  s.canvas.ClipRectangle(TRect{0, 0, 200, 150});
  s.canvas.TextOut(10, 10, "WM");
  EXPECT_EQ(s.Calls("SelectClipPath").size(), 1u);
  EXPECT_FALSE(s.Calls("PatBlt").empty());
  EXPECT_TRUE(s.Calls("StrokeAndFillPath").empty());
  // The enclosing clip is back.
  gdi::Region clip;
  ASSERT_EQ(s.Dc()->GetClipRgn(clip), 1);
  EXPECT_EQ(clip.BoundingBox(), (TRect{0, 0, 200, 150}));
  s.canvas.UnClipRectangle();
  // Glyph pixels are red, the gaps between them untouched.
  const TRect box = s.canvas.TextRect(10, 10, "WM");
  int red = 0, white = 0;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x) {
      const auto p = s.Pixel(x, y);
      red += p == platform::clRed;
      white += p == platform::clWhite;
    }
  EXPECT_GT(red, 50);
  EXPECT_GT(white, 50);
  EXPECT_EQ(red + white, (box.Right - box.Left) * (box.Bottom - box.Top));
}

TEST(Canvas3DText, RotatedAndZoomedFonts) {
  struct Case {
    double angle;
    int escapement;
  } cases[] = {{450, 900},     {-90, 2700}, {360, 0},
               {1e300, -1},    {-1e-20, 0}, {std::numeric_limits<double>::quiet_NaN(), 0},
               {-7200.5, 3595}};
  for (const auto& c : cases) {
    FontScene s;
    s.Use();
    s.canvas.RotateLabel(100, 100, "Turn", c.angle);
    const auto fonts = s.Fonts("TextOut");
    ASSERT_EQ(fonts.size(), 1u);
    if (c.escapement >= 0) {
      EXPECT_EQ(fonts[0].Escapement, c.escapement) << c.angle;
    } else {
      EXPECT_GE(fonts[0].Escapement, 0);
      EXPECT_LE(fonts[0].Escapement, 3600);
    }
    EXPECT_EQ(fonts[0].Orientation, fonts[0].Escapement);
    EXPECT_EQ(fonts[0].OutPrecision, 7);
    EXPECT_EQ(fonts[0].Quality, chart::PlotFontAntiAlias);
    EXPECT_EQ(s.Calls("TextOut")[0].BkMode, gdi::TRANSPARENT);
    EXPECT_EQ(s.Dc()->CurrentFont().Escapement, 0);  // the canvas font is back
  }

  // Zoomed 3D text: 8 pt at 50 % is 4 pt, at 1 % the 1 pt minimum; projected position.
  struct Zoom {
    double scale;
    int height;
  } zooms[] = {{0.5, -5}, {0.01, -1}, {0, -1}, {1, -11}, {1e12, INT_MIN}};
  for (const auto& z : zooms) {
    FontScene s;
    s.font.SetSize(8);
    s.Use();
    s.canvas.ZoomScale = z.scale;
    s.canvas.TextOut3D(40, 50, 10, "Depth");
    const auto fonts = s.Fonts("TextOut");
    ASSERT_EQ(fonts.size(), 1u);
    if (z.height != INT_MIN) {
      EXPECT_EQ(fonts[0].Height, z.height) << z.scale;
    }
    EXPECT_LT(fonts[0].Height, 0) << z.scale;
  }
  FontScene p;
  p.Use();
  p.canvas.TextOut3D(40, 50, 10, "Depth");
  EXPECT_EQ(p.Calls("TextOut").at(0).Args, (std::vector<int>{50, 40}));
  p.Clear();
  p.canvas.ZoomScale = 0.5;
  p.canvas.RotateLabel3D(40, 50, 10, "Both", 90);
  ASSERT_EQ(p.Fonts("TextOut").size(), 1u);
  EXPECT_EQ(p.Fonts("TextOut")[0].Escapement, 900);
  EXPECT_EQ(p.Fonts("TextOut")[0].Height, -8);  // 12 pt at 50 %: 6 pt, 8 px
}

TEST(Canvas3DText, TextRectangleFollowsTheAlignment) {
  FontScene s;
  s.font.GetShadow()->SetHorizSize(3);
  s.font.GetShadow()->SetVertSize(-2);
  s.Use();
  const std::string text = "Align";
  s.canvas.GetHandle();
  const int w = s.Dc()->GetTextExtent(text).X + 3;
  const int h = s.Dc()->GetTextExtent(text).Y + 2;
  const int ascent = s.Dc()->GetTextMetrics().Ascent;
  using chart::TA_BASELINE;
  using chart::TA_BOTTOM;
  using chart::TA_CENTER;
  using chart::TA_RIGHT;
  struct Case {
    unsigned align;
    TRect expected;
  } cases[] = {
      {0, {100, 80, 100 + w, 80 + h}},
      {TA_RIGHT | TA_BOTTOM, {100 - w, 80 - h, 100, 80}},
      {TA_CENTER | TA_BOTTOM, {100 - w / 2, 80 - h, 100 + w / 2, 80}},
      {TA_CENTER | TA_BASELINE, {100 - w / 2, 80 - ascent, 100 + w / 2, 80 - ascent + h}},
      {TA_RIGHT | TA_BASELINE, {100 - w, 80 - ascent, 100, 80 - ascent + h}},
      {TA_BOTTOM, {100, 80 - h, 100 + w, 80}},
  };
  for (const auto& c : cases) {
    s.canvas.SetTextAlign(c.align);
    EXPECT_EQ(s.canvas.TextRect(100, 80, text), c.expected) << c.align;
  }
  // What is drawn lies inside the rectangle.
  for (unsigned align : {TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_BASELINE}) {
    FontScene d;
    d.Use();
    d.canvas.SetTextAlign(align);
    d.canvas.TextOut(150, 100, "Wg");
    const TRect r = d.canvas.TextRect(150, 100, "Wg");
    int inside = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x) {
        if (d.Pixel(x, y) == platform::clWhite) continue;
        const bool in = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        ASSERT_TRUE(in) << align << " " << x << "," << y;
        ++inside;
      }
    EXPECT_GT(inside, 20) << align;
  }
}

// Positions and shadow offsets summed past the int range end at its limits; only the text that
// lands on the surface shows, and the clip and the font are given back.
TEST(Canvas3DText, BadInputNeverCrashes) {
  for (const std::string& text : {std::string(), std::string("x"), std::string(300, 'W')}) {
    FontScene s;
    s.font.GetShadow()->SetSize(INT_MAX);
    s.font.GetOutLine()->SetVisible(true);
    s.font.GetGradient()->SetVisible(true);
    s.font.GetGradient()->SetOutline(true);
    s.Use();
    const gdi::LogFont before = s.Dc()->CurrentFont();
    const platform::TPoint extent = s.Dc()->GetTextExtent(text);
    s.canvas.TextOut(INT_MAX, INT_MIN, text);
    s.canvas.TextOut3D(INT_MIN, INT_MAX, INT_MAX, text);  // lands at (-1, 0)
    s.canvas.RotateLabel(INT_MIN, 0, text, -std::numeric_limits<double>::infinity());
    s.canvas.RotateLabel3D(0, 0, INT_MIN, text, 1e-300);
    EXPECT_EQ(s.canvas.TextRect(INT_MIN, INT_MAX, text),
              (TRect{INT_MIN, INT_MAX, extent.X - 1, INT_MAX}));
    // Each shadow, then the text's path.
    const std::vector<std::vector<int>> expected{
        {INT_MAX, -1}, {INT_MAX, INT_MIN}, {INT_MAX - 1, INT_MAX}, {-1, 0},
        {-1, INT_MAX}, {INT_MIN, 0},       {-1, INT_MAX},          {INT_MIN, INT_MAX}};
    std::vector<std::vector<int>> texts;
    for (const auto& c : s.Calls("TextOut")) texts.push_back(c.Args);
    EXPECT_EQ(texts, expected) << text.size();
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x)
        if (x > extent.X + 1 || y > extent.Y + 1) {
          ASSERT_EQ(s.Pixel(x, y), platform::clWhite) << text.size() << ": " << x << "," << y;
        }
    if (text == "x") {
      EXPECT_NE(s.Pixel(2, extent.Y * 2 / 3), platform::clWhite);
    }
    gdi::Region clip;
    EXPECT_EQ(s.Dc()->GetClipRgn(clip), 0);
    EXPECT_EQ(s.Dc()->CurrentFont(), before);
  }
  // No chart font at all: plain text.
  Scene plain;
  plain.canvas.TextOut(5, 5, "");
  plain.canvas.RotateLabel(5, 5, "plain", 45);
  EXPECT_EQ(plain.Calls("TextOut").size(), 2u);
}
