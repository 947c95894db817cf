// Copying one panel's settings into another, and drawing a panel into a bitmap without
// disturbing its window.
#include "chart/canvas/canvas3d.h"
#include "platform/vcl/exception.h"
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

TEST_F(PanelTest, AssignCopiesThePanelSettings) {
  TestPanel a, b;
  a.GetBorder()->SetVisible(true);
  a.GetBorder()->SetWidth(3);
  a.SetBorderRound(8);
  a.SetBufferedDisplay(false);
  a.PrintMargins = TRect{1, 2, 3, 4};
  a.SetPrintProportional(false);
  a.SetPrintResolution(50);
  a.SetMarginUnits(chart::muPixels);
  for (int i = 0; i < 4; ++i) a.SetMargin(i, 10 + i);
  a.SetMonochrome(true);
  a.GetShadow()->SetSize(5);
  a.SetView3D(false);
  a.GetView3DOptions()->SetElevation(300);
  a.SetColor(platform::clTeal);
  a.SetAllowPanning(chart::pmVertical);
  a.GetZoom()->Allow = false;
  a.GetGradient()->SetVisible(true);
  a.GetGradient()->SetEndColor(platform::clRed);
  a.GetBackImage()->SetGraphic(CodedBitmap(3, 2));
  a.SetBackImageMode(chart::pbmTile);

  b.Assign(&a);
  EXPECT_TRUE(b.GetBorder()->GetVisible());
  EXPECT_EQ(b.GetBorder()->GetWidth(), 3);
  EXPECT_EQ(b.GetBorderRound(), 8);
  EXPECT_FALSE(b.GetBufferedDisplay());
  EXPECT_EQ(b.PrintMargins, (TRect{1, 2, 3, 4}));
  EXPECT_FALSE(b.GetPrintProportional());
  EXPECT_EQ(b.GetPrintResolution(), 50);
  EXPECT_EQ(b.GetMarginUnits(), chart::muPixels);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b.GetMargin(i), 10 + i);
  EXPECT_TRUE(b.GetMonochrome());
  EXPECT_EQ(b.GetShadow()->GetSize(), 5);
  EXPECT_FALSE(b.GetView3D());
  EXPECT_EQ(b.GetView3DOptions()->GetElevation(), 300);
  EXPECT_EQ(b.GetColor(), platform::clTeal);
  EXPECT_EQ(b.GetAllowPanning(), chart::pmVertical);
  EXPECT_FALSE(b.GetAllowZoom());
  EXPECT_TRUE(b.GetGradient()->GetVisible());
  EXPECT_EQ(b.GetGradient()->GetEndColor(), platform::clRed);
  ASSERT_TRUE(b.HasBackImage());
  EXPECT_EQ(b.GetBackImageMode(), chart::pbmTile);
  EXPECT_EQ(b.GetBackImage()->Width(), 3);

  platform::TFont font;
  try {
    b.Assign(&font);
    FAIL() << "a font was assigned to a panel";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TFont to a TCustomPlotPanelExtended");
  }
  EXPECT_THROW(b.AssignTo(&font), platform::Exception);
}

TEST_F(PanelTest, AssignToABitmapOrPictureDrawsThePanel) {
  TestPanel p;
  p.GetGradient()->SetVisible(true);
  p.ProcessPaint();
  const QImage window = WindowCopy(p);
  platform::TBitmap bitmap;
  p.AssignTo(&bitmap);
  ASSERT_NE(bitmap.Image(), nullptr);
  EXPECT_EQ(bitmap.Image()->convertToFormat(QImage::Format_RGB32), window);
  platform::TPicture picture;
  p.AssignTo(&picture);
  EXPECT_EQ(picture.Width(), 400);
  EXPECT_EQ(picture.Height(), 250);
}

TEST_F(PanelTest, AnExportLeavesTheCanvasOnTheWindowSoTheNextPaintCopiesTheBuffer) {
  TestPanel p;
  p.ProcessPaint();
  auto* canvas = dynamic_cast<chart::TPlotCanvas3D*>(p.GetCanvas3D());
  ASSERT_NE(canvas, nullptr);
  const QImage window = WindowCopy(p);
  // Something drawn over the window (a zoom rectangle, say), then an export while repaints are
  // held, as from a drawing event.
  p.GetCanvas()->SetPixel(200, 125, platform::clRed);
  p.AutoRepaint = false;
  platform::TBitmap bitmap;
  p.AssignTo(&bitmap);
  p.AutoRepaint = true;
  EXPECT_EQ(canvas->PlatformCanvas, p.ControlCanvas);
  EXPECT_TRUE(canvas->GetUseBuffer());
  EXPECT_FALSE(canvas->KeepBuffer);
  p.PerformPaint();
  // The paint copied the buffer: the only passes are the first paint and the export.
  EXPECT_EQ(p.DrawCount(), 2);
  EXPECT_EQ(WindowCopy(p), window);
}

TEST_F(PanelTest, ABitmapOfARectangleAwayFromTheOriginHoldsTheWholePanelDrawing) {
  TestPanel p;
  p.SetColor(platform::clWhite);
  const auto bitmap =
      p.PlotCreateBitmap(platform::clRed, TRect{100, 50, 300, 150}, platform::pfDevice);
  ASSERT_EQ(bitmap->GetWidth(), 200);
  ASSERT_EQ(bitmap->GetHeight(), 100);
  // The raised bevel at the bitmap's own corner, the panel colour inside.
  EXPECT_EQ(bitmap->Canvas->GetPixel(0, 0), platform::ColorToRGB(platform::clBtnHighlight));
  EXPECT_EQ(bitmap->Canvas->GetPixel(199, 99), platform::ColorToRGB(platform::clBtnShadow));
  EXPECT_EQ(bitmap->Canvas->GetPixel(100, 50), platform::clWhite);
  // An empty rectangle gives an empty bitmap.
  EXPECT_EQ(p.PlotCreateBitmap(platform::clRed, TRect{5, 5, 5, 9}, platform::pfDevice)->GetWidth(),
            0);
}

}  // namespace
}  // namespace paneltest
