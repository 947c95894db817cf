// The canvas operations every chart canvas shares: frames, pie angles, brush, pen and font
// assignment, text extents with shadows, the front plane, blending and the HTML hook.
#include <cmath>
#include <memory>
#include <numbers>

#include "canvas_fixture.h"
#include "chart/canvas/blend.h"
#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/plot_font.h"
#include "chart/canvas/shadow.h"

namespace {

namespace gdi = platform::gdi;
using chart::TCanvas3D;
using platform::TColor;
using platform::TPoint;
using platform::TRect;

using InterfaceTest = canvastest::CanvasTest;

TEST_F(InterfaceTest, Frame3DDrawsNestedFramesAndShrinksTheRectangle) {
  Start(false);
  TRect r{10, 10, 50, 40};
  canvas.Frame3D(r, platform::clRed, platform::clBlue, 2);
  EXPECT_EQ(r, (TRect{12, 12, 48, 38}));
  const auto lines = Ops("Polyline");
  ASSERT_EQ(lines.size(), 4u);
  const std::vector<int> expected[4] = {{10, 39, 10, 10, 49, 10},
                                        {49, 10, 49, 39, 9, 39},
                                        {11, 38, 11, 11, 48, 11},
                                        {48, 11, 48, 38, 10, 38}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[i].Args, expected[i]) << i;
    EXPECT_EQ(lines[i].Pen.Color, i % 2 == 0 ? platform::clRed : platform::clBlue) << i;
    EXPECT_EQ(lines[i].Pen.Width, 1);
  }
  // The polylines leave out their end points: the bottom line stops at Left.
  EXPECT_EQ(Pixel(10, 39), platform::clBlue);
  EXPECT_EQ(Pixel(9, 39), platform::clWhite);
}

TEST_F(InterfaceTest, CalcPieAngles) {
  const struct {
    int x3, y3, x4, y4;
    double start, end;
  } cases[] = {
      {50, 0, 100, 50, 90, 360},   // end straight right: 360, not 0
      {0, 50, 50, 100, 180, 270},  // left, down
      {100, 50, 50, 0, 0, 90},     // a start straight right stays 0
      {100, 0, 0, 100, 45, 225},
  };
  for (const auto& c : cases) {
    double start = -1, end = -1;
    TCanvas3D::CalcPieAngles(0, 0, 100, 100, c.x3, c.y3, c.x4, c.y4, start, end);
    EXPECT_NEAR(start, c.start, 1e-9) << c.x3 << "," << c.y3;
    EXPECT_NEAR(end, c.end, 1e-9) << c.x4 << "," << c.y4;
  }
}

TEST_F(InterfaceTest, BrushBackColourMakesHatchGapsOpaqueOrTransparent) {
  Start(false);
  chart::TChartBrush brush;
  brush.SetStyle(platform::bsCross);
  const struct {
    TColor back;
    chart::TCanvasBackMode mode;
    int x;
  } cases[] = {{platform::clNone, chart::cbmTransparent, 10},
               {platform::clYellow, chart::cbmOpaque, 110}};
  for (const auto& c : cases) {
    calls.clear();
    canvas.AssignBrushColor(&brush, platform::clRed, c.back);
    EXPECT_EQ(canvas.GetBackMode(), c.mode);
    canvas.Pen->SetStyle(platform::psClear);
    canvas.Rectangle(c.x, 10, c.x + 60, 70);
    const auto rects = Ops("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Brush.Style, gdi::BS_HATCHED);
    EXPECT_EQ(rects[0].Brush.Hatch, gdi::HS_CROSS);
    EXPECT_EQ(rects[0].Brush.Color, platform::clRed);
    EXPECT_EQ(rects[0].BkMode, c.mode == chart::cbmOpaque ? gdi::OPAQUE : gdi::TRANSPARENT);
    if (c.mode == chart::cbmOpaque) {
      EXPECT_EQ(rects[0].BkColor, platform::clYellow);
    }
    int red = 0, yellow = 0, white = 0;
    for (int y = 20; y < 60; ++y)
      for (int x = c.x + 10; x < c.x + 50; ++x) {
        const TColor p = Pixel(x, y);
        red += p == platform::clRed;
        yellow += p == platform::clYellow;
        white += p == platform::clWhite;
      }
    EXPECT_GT(red, 0);
    if (c.mode == chart::cbmOpaque) {
      EXPECT_GT(yellow, 0);
      EXPECT_EQ(white, 0);
    } else {
      EXPECT_EQ(yellow, 0);
      EXPECT_GT(white, 0);
    }
  }
}

TEST_F(InterfaceTest, BrushImageBecomesThePattern) {
  Start(false);
  {
    chart::TChartBrush brush;
    platform::TBitmap* image = brush.GetImage()->Bitmap();
    image->SetSize(8, 8);
    for (int i = 0; i < 8; ++i) image->Canvas->SetPixel(i, i, platform::clRed);
    canvas.AssignBrushColor(&brush, platform::clRed, platform::clYellow);
    ASSERT_NE(canvas.Brush->GetBitmap(), nullptr);
    EXPECT_EQ(canvas.Brush->GetBitmap()->GetWidth(), 8);
    EXPECT_EQ(canvas.GetBackMode(), chart::cbmOpaque);
    EXPECT_EQ(canvas.GetBackColor(), platform::clYellow);
  }
  // The chart brush is gone; the canvas still tiles its pattern.
  canvas.Pen->SetStyle(platform::psClear);
  canvas.Rectangle(0, 0, 33, 33);
  EXPECT_EQ(Ops("Rectangle")[0].Brush.Style, gdi::BS_PATTERN);
  EXPECT_EQ(Pixel(3, 3), platform::clRed);
  EXPECT_EQ(Pixel(11, 11), platform::clRed);
  EXPECT_EQ(Pixel(4, 3), platform::clWhite);

  // Without an image the pattern goes.
  chart::TChartBrush plain;
  canvas.AssignBrushColor(&plain, platform::clRed, platform::clNone);
  EXPECT_EQ(canvas.Brush->GetBitmap(), nullptr);
  EXPECT_EQ(canvas.Brush->GetColor(), platform::clRed);
}

TEST_F(InterfaceTest, MonochromeBrushesAreWhiteAndPensBlack) {
  Start(false);
  canvas.SetMonochrome(true);
  chart::TChartBrush brush;
  brush.SetColor(platform::clRed);
  canvas.AssignBrush(&brush, platform::clNone);
  EXPECT_EQ(canvas.Brush->GetColor(), platform::clWhite);
  platform::TPen pen;
  pen.SetColor(platform::clRed);
  canvas.AssignVisiblePen(&pen);
  EXPECT_EQ(canvas.Pen->GetColor(), platform::clBlack);
  chart::TChartPen hidden;
  hidden.Hide();
  canvas.AssignVisiblePen(&hidden);
  EXPECT_EQ(canvas.Pen->GetStyle(), platform::psClear);
}

TEST_F(InterfaceTest, PensReachTheDeviceContext) {
  Start(false);
  // A wide chart pen becomes a geometric pen with the chart pen's caps, in the given colour.
  chart::TChartPen wide;
  wide.SetWidth(3);
  wide.SetEndStyle(chart::esFlat);
  canvas.AssignVisiblePenColor(&wide, platform::clGreen);
  canvas.Line(10, 10, 50, 10);
  auto lines = Ops("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Style,
            gdi::PS_GEOMETRIC | gdi::PS_SOLID | gdi::PS_ENDCAP_FLAT | gdi::PS_JOIN_MITER);
  EXPECT_EQ(lines[0].Pen.Width, 3);
  EXPECT_EQ(lines[0].Pen.Color, platform::clGreen);

  // Any other pen is copied; one-pixel dashes become true dashes when asked.
  const bool check = chart::PlotCheckPenWidth;
  chart::PlotCheckPenWidth = true;
  platform::TPen dashed;
  dashed.SetStyle(platform::psDash);
  canvas.AssignVisiblePenColor(&dashed, platform::clBlue);
  EXPECT_EQ(canvas.Pen->GetWidth(), 0);
  EXPECT_EQ(canvas.Pen->GetColor(), platform::clBlue);
  EXPECT_EQ(canvas.Pen->GetStyle(), platform::psDash);
  chart::PlotCheckPenWidth = check;
}

TEST_F(InterfaceTest, TextExtentsAddTheFontShadow) {
  Start(false);
  chart::TPlotFont font;
  canvas.AssignFont(&font);
  const TPoint plain = canvas.GetHandle()->GetTextExtent("Chart 42");
  ASSERT_GT(plain.X, 0);
  EXPECT_EQ(canvas.TextWidth("Chart 42"), plain.X);
  font.GetShadow()->SetHorizSize(-3);
  font.GetShadow()->SetVertSize(4);
  canvas.AssignFont(&font);
  EXPECT_EQ(canvas.TextWidth("Chart 42"), plain.X + 3);
  EXPECT_EQ(canvas.TextHeight("Chart 42"), plain.Y + 4);
  EXPECT_EQ(canvas.GetFontHeight(), canvas.GetHandle()->GetTextExtent("W").Y + 4);
}

TEST_F(InterfaceTest, ZoomedFontIsNeverSizeZero) {
  Start(false);
  chart::TPlotFont font;
  font.SetSize(8);
  canvas.FontZoom = 6;  // 8 * 6 % = 0.48
  canvas.AssignFont(&font);
  EXPECT_EQ(canvas.Font->GetSize(), 1);
  canvas.FontZoom = 250;  // 8 * 2.5 = 20
  canvas.AssignFont(&font);
  EXPECT_EQ(canvas.Font->GetSize(), 20);
  EXPECT_EQ(canvas.CurrentFont(), &font);
  font.SetInterCharSize(3);
  canvas.AssignFont(&font);
  EXPECT_EQ(canvas.GetHandle()->GetTextCharacterExtra(), 3);
}

// A freed font is forgotten by the canvases it was current on (one of them gone before it), and
// a font no longer current can go without touching the canvas.
TEST_F(InterfaceTest, AFreedCurrentFontIsForgotten) {
  Start(false);
  auto font = std::make_unique<chart::TPlotFont>(), before = std::make_unique<chart::TPlotFont>();
  font->GetShadow()->SetSize(5);
  font->GetOutLine()->SetVisible(true);
  auto second = std::make_unique<chart::TPlotCanvas3D>();
  second->InitWindow(target.Canvas, &options, 0xFFFFFF, false, {0, 0, 300, 200});
  second->AssignFont(font.get());
  ASSERT_EQ(second->CurrentFont(), font.get());
  canvas.AssignFont(before.get());
  canvas.AssignFont(font.get());
  before.reset();
  const TPoint plain = canvas.GetHandle()->GetTextExtent("Chart");
  EXPECT_EQ(canvas.TextWidth("Chart"), plain.X + 5);
  second.reset();
  font.reset();
  EXPECT_EQ(canvas.CurrentFont(), nullptr);
  EXPECT_EQ(canvas.TextHeight("Chart"), plain.Y);
  calls.clear();
  canvas.TextOut(10, 10, "Chart");
  EXPECT_EQ(Ops("TextOut").size(), 1u);  // no shadow, no outline path
}

TEST_F(InterfaceTest, FrontPlanePairsNest) {
  Start(true);
  canvas.Projection(100, TRect{}, TRect{0, 0, 200, 100});
  const TPoint projected = canvas.Calculate3DPosition(10, 10, 40);
  ASSERT_NE(projected, (TPoint{10, 10}));
  canvas.FrontPlaneBegin();
  canvas.FrontPlaneBegin();
  EXPECT_EQ(canvas.Calculate3DPosition(10, 10, 40), (TPoint{10, 10}));
  canvas.FrontPlaneEnd();
  EXPECT_EQ(canvas.Calculate3DPosition(10, 10, 40), (TPoint{10, 10}));
  canvas.FrontPlaneEnd();
  EXPECT_EQ(canvas.Calculate3DPosition(10, 10, 40), projected);
  // An unmatched end changes nothing.
  canvas.FrontPlaneEnd();
  EXPECT_EQ(canvas.RotationLocks, 0);
  EXPECT_EQ(canvas.Calculate3DPosition(10, 10, 40), projected);
}

TEST_F(InterfaceTest, EachBlendMixesAtItsOwnTransparency) {
  const bool alpha = chart::PlotAlphaBlendAvailable;
  chart::PlotAlphaBlendAvailable = false;
  Start(false);
  const TRect r{10, 10, 30, 30};
  auto outer = canvas.BeginBlending(r, 20);
  canvas.Brush->SetColor(platform::clRed);
  canvas.Brush->SetStyle(platform::bsSolid);
  canvas.FillRect(r);
  auto inner = canvas.BeginBlending(r, 80);
  EXPECT_EQ(canvas.Transparency, 80);
  canvas.EndBlending(std::move(inner));
  canvas.EndBlending(std::move(outer));
  // Keeps 20 % of the white that was there: green and blue 0 + 20 * 255 div 100 = 51.
  EXPECT_EQ(Pixel(15, 15), platform::RGB(255, 51, 51));
  EXPECT_EQ(Pixel(35, 15), platform::clWhite);

  canvas.BeginBlending(r, 250).reset();
  EXPECT_EQ(canvas.Transparency, 100);
  canvas.BeginBlending(r, -5).reset();
  EXPECT_EQ(canvas.Transparency, 0);
  canvas.EndBlending(nullptr);
  chart::PlotAlphaBlendAvailable = alpha;
}

std::string g_htmlSeen;
void RecordHtml(chart::TPlotCanvas&, int x, int y, const std::string& text) {
  g_htmlSeen = std::to_string(x) + "," + std::to_string(y) + ":" + text;
}

TEST_F(InterfaceTest, HtmlTextGoesToTheRendererWhenThereIsOne) {
  Start(false);
  const chart::THtmlTextOut saved = chart::PlotHtmlTextOut;
  chart::PlotHtmlTextOut = &RecordHtml;
  g_htmlSeen.clear();
  canvas.TextOut(5, 6, "<B>x</B>", true);
  EXPECT_EQ(g_htmlSeen, "5,6:<B>x</B>");
  EXPECT_TRUE(Ops("TextOut").empty());
  g_htmlSeen.clear();
  canvas.TextOut(5, 6, "plain", false);
  EXPECT_EQ(g_htmlSeen, "");
  EXPECT_EQ(Ops("TextOut").size(), 1u);
  chart::PlotHtmlTextOut = nullptr;
  canvas.TextOut(5, 6, "<B>x</B>", true);
  EXPECT_EQ(Ops("TextOut").size(), 2u);
  chart::PlotHtmlTextOut = saved;
}

}  // namespace
