// The zoom rectangle inverted over the copied buffer, the zoom settings and their legacy layout
// names, and the undo of a zoom.
#include "chart/canvas/canvas3d.h"
#include "platform/vcl/layout_text.h"
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

QImage BufferCopy(TestPanel& p) {
  auto* canvas = dynamic_cast<chart::TPlotCanvas3D*>(p.GetCanvas3D());
  if (!canvas || !canvas->BufferBitmap || !canvas->BufferBitmap->Image()) return QImage();
  return canvas->BufferBitmap->Image()->copy();
}

TEST_F(PanelTest, ZoomRectangleShowsThePenOverThePanelAndTwiceLeavesNoTrace) {
  struct Row {
    TColor back, pen;
  };
  // Over the panel colour the rectangle comes out in the pen colour (white on white: unseen).
  for (const Row& row : std::vector<Row>{{platform::clSilver, platform::clWhite},
                                         {platform::clBlack, platform::clWhite},
                                         {platform::clNavy, platform::clRed},
                                         {platform::clWhite, platform::clWhite},
                                         {platform::clBtnFace, platform::clYellow}}) {
    SCOPED_TRACE(row.back);
    TestPanel p;
    p.SetBevelOuter(platform::bvNone);
    p.SetColor(row.back);
    p.ProcessPaint();
    const QImage before = WindowCopy(p);
    const QImage buffer = BufferCopy(p);
    ASSERT_EQ(before, buffer);
    chart::TPlotZoom& z = *p.GetZoom();
    z.GetPen()->SetColor(row.pen);
    z.X0 = 50;
    z.Y0 = 40;
    z.X1 = 150;
    z.Y1 = 90;
    p.DrawZoomRectangle();
    const TColor back = platform::ColorToRGB(row.back);
    EXPECT_EQ(WindowPixel(p, 50, 40), row.pen);
    EXPECT_EQ(WindowPixel(p, 149, 89), row.pen);
    EXPECT_EQ(WindowPixel(p, 100, 60), back);
    EXPECT_EQ(WindowPixel(p, 150, 90), back);
    // The pen keeps the inverting mode: it is part of the zoom's settings now.
    EXPECT_EQ(z.GetPen()->GetMode(), platform::pmNotXor);
    p.DrawZoomRectangle();
    EXPECT_EQ(WindowCopy(p), before);
    // Drawn over the window only; the buffer is left as it was.
    EXPECT_EQ(BufferCopy(p), buffer);
    // A repaint copies the buffer, not draws.
    p.DrawZoomRectangle();
    p.PerformPaint();
    EXPECT_EQ(WindowCopy(p), before);
    EXPECT_EQ(p.DrawCount(), 1);
  }
}

TEST_F(PanelTest, ZoomRectangleWithABrushFillsInTheBrushColour) {
  TestPanel p;
  p.SetBevelOuter(platform::bvNone);
  p.SetColor(platform::clSilver);
  p.ProcessPaint();
  const QImage before = WindowCopy(p);
  chart::TPlotZoom& z = *p.GetZoom();
  z.GetBrush()->SetStyle(platform::bsSolid);
  z.GetBrush()->SetColor(platform::clBlue);
  z.GetPen()->SetColor(platform::clRed);
  // Corners in any order.
  z.X0 = 150;
  z.Y0 = 90;
  z.X1 = 50;
  z.Y1 = 40;
  p.DrawZoomRectangle();
  EXPECT_EQ(WindowPixel(p, 50, 40), platform::clRed);
  EXPECT_EQ(WindowPixel(p, 100, 60), platform::clBlue);
  EXPECT_EQ(WindowPixel(p, 30, 60), platform::clSilver);
  p.DrawZoomRectangle();
  EXPECT_EQ(WindowCopy(p), before);
}

TEST_F(PanelTest, ZoomSettingsAssignAndDragRectangle) {
  chart::TPlotZoom a, b;
  EXPECT_TRUE(a.Allow);
  EXPECT_EQ(a.AnimatedSteps, 8);
  EXPECT_EQ(a.MinimumPixels, 16);
  EXPECT_EQ(a.Direction, chart::tzdBoth);
  EXPECT_FALSE(a.HasBrush());
  EXPECT_EQ(a.GetBrush()->GetColor(), platform::clWhite);
  EXPECT_EQ(a.GetBrush()->GetStyle(), platform::bsClear);
  EXPECT_EQ(a.GetPen()->GetColor(), platform::clWhite);
  EXPECT_FALSE(a.GetPen()->IsColorStored());

  b.Allow = false;
  b.Animated = true;
  b.AnimatedSteps = 3;
  b.Direction = chart::tzdVertical;
  b.KeyShift = platform::TShiftState{platform::ssCtrl};
  b.MouseButton = platform::mbRight;
  b.MinimumPixels = 40;
  b.UpLeftZooms = true;
  b.GetPen()->SetColor(platform::clRed);
  a.Assign(&b);
  EXPECT_FALSE(a.Allow);
  EXPECT_TRUE(a.Animated);
  EXPECT_EQ(a.AnimatedSteps, 3);
  EXPECT_EQ(a.Direction, chart::tzdVertical);
  EXPECT_TRUE(a.KeyShift.Contains(platform::ssCtrl));
  EXPECT_EQ(a.MouseButton, platform::mbRight);
  EXPECT_EQ(a.GetPen()->GetColor(), platform::clRed);
  // The zoom has always left these two alone.
  EXPECT_EQ(a.MinimumPixels, 16);
  EXPECT_FALSE(a.UpLeftZooms);
  // b has no brush: a's goes too.
  EXPECT_FALSE(a.HasBrush());

  chart::TZoomPanning d;
  d.Activate(30, 40);
  EXPECT_TRUE(d.Active);
  EXPECT_EQ(d.X1, 30);
  EXPECT_EQ(d.Y1, 40);
  d.X1 = 10;
  d.Y1 = 50;
  d.Check();
  EXPECT_EQ(d.X0, 10);
  EXPECT_EQ(d.X1, 30);
  EXPECT_EQ(d.Y0, 40);
  EXPECT_EQ(d.Y1, 50);
}

TEST_F(PanelTest, UndoZoomCallsTheEventRepaintsAndForgetsTheZoom) {
  TestPanel p;
  p.ProcessPaint();
  int undone = 0;
  p.OnUndoZoom = [&](platform::TObject* sender) {
    EXPECT_EQ(sender, &p);
    ++undone;
  };
  // Never zoomed: still the event and a repaint.
  p.UndoZoom();
  EXPECT_EQ(undone, 1);
  EXPECT_TRUE(p.PaintPending());
  p.ProcessPaint();
  EXPECT_EQ(p.DrawCount(), 2);
  p.SetZoomed(true);
  p.UndoZoom();
  EXPECT_EQ(undone, 2);
  EXPECT_FALSE(p.Zoomed());
}

TEST_F(PanelTest, LegacyZoomPropertiesAndPrintMarginsFromALayout) {
  const platform::TLayoutObject o = platform::ParseLayout(
      "object Chart1: TChart\n"
      "  AllowZoom = False\n"
      "  AnimatedZoom = True\n"
      "  AnimatedZoomSteps = 12\n"
      "  PrintMargins = (\n    10\n    15\n    20\n    25)\n"
      "  Title = 'x'\n"
      "end\n");
  TestPanel p;
  EXPECT_FALSE(p.IsPrintMarginsStored());
  int read = 0;
  for (const auto& prop : o.Properties) {
    if (prop.Name == "PrintMargins") {
      p.ReadPrintMargins(prop.Value);
      ++read;
    } else if (p.ReadLegacyZoomProperty(prop.Name, prop.Value)) {
      ++read;
    }
  }
  EXPECT_EQ(read, 4);
  EXPECT_FALSE(p.GetAllowZoom());
  EXPECT_TRUE(p.GetAnimatedZoom());
  EXPECT_EQ(p.GetAnimatedZoomSteps(), 12);
  EXPECT_EQ(p.PrintMargins, (TRect{10, 15, 20, 25}));
  EXPECT_TRUE(p.IsPrintMarginsStored());

  // A list of the wrong length leaves the margins as they were.
  const platform::TLayoutObject bad =
      platform::ParseLayout("object C: TChart\n  PrintMargins = (\n    1\n    2)\nend\n");
  EXPECT_THROW(p.ReadPrintMargins(bad.Properties[0].Value), platform::EReadError);
  EXPECT_EQ(p.PrintMargins, (TRect{10, 15, 20, 25}));
}

}  // namespace
}  // namespace paneltest
