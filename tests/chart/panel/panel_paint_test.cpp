// One paint per change through the buffer, copies only when nothing changed, no paints queued
// from inside a drawing pass, and exceptions kept inside the event that raised them.
#include <QWidget>

#include "chart/common/chart_exception.h"
#include "platform/vcl/form.h"
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

using platform::ColorToRGB;

TEST_F(PanelTest, PaintsThroughTheBufferOncePerChangeAndCopiesOtherwise) {
  TestPanel p;
  EXPECT_EQ(p.InvalidateCount(), 0);
  ASSERT_TRUE(p.PaintPending());
  p.ProcessPaint();
  EXPECT_EQ(p.PaintCount(), 1);
  EXPECT_EQ(p.DrawCount(), 1);
  EXPECT_FALSE(p.PaintPending());
  const TColor face = ColorToRGB(platform::clBtnFace);
  EXPECT_EQ(WindowPixel(p, 200, 125), face);

  // A paint event with nothing invalidated (the window was uncovered): the buffer is copied
  // over whatever the window image holds, and nothing is drawn.
  p.GetCanvas()->SetPixel(200, 125, platform::clRed);
  p.PerformPaint();
  EXPECT_EQ(p.PaintCount(), 2);
  EXPECT_EQ(p.DrawCount(), 1);
  EXPECT_EQ(WindowPixel(p, 200, 125), face);

  p.SetMarginLeft(10);
  EXPECT_EQ(p.InvalidateCount(), 1);
  EXPECT_TRUE(p.PaintPending());
  p.ProcessPaint();
  EXPECT_EQ(p.DrawCount(), 2);
  EXPECT_EQ(p.LastChartRect.Left, 1 + 40);
  p.ProcessPaint();
  EXPECT_EQ(p.PaintCount(), 3);
  EXPECT_EQ(p.DrawCount(), 2);
}

TEST_F(PanelTest, ChangesMadeWhileDrawingQueueNoPaint) {
  TestPanel p;
  int pass = 0;
  p.During = [&](TestPanel& q) {
    ++pass;
    q.SetMarginTop(20 + pass);
    q.SetColor(pass % 2 ? platform::clRed : platform::clBlue);
    q.SetBevelWidth(2 + pass);
    q.Invalidate();
  };
  p.ProcessPaint();
  EXPECT_EQ(p.DrawCount(), 1);
  EXPECT_EQ(p.InvalidateCount(), 0);
  EXPECT_FALSE(p.PaintPending());
  // The values did change; the next real change paints them.
  EXPECT_EQ(p.GetMarginTop(), 21);
  p.During = nullptr;
  p.SetMarginRight(9);
  p.ProcessPaint();
  EXPECT_EQ(p.DrawCount(), 2);
  EXPECT_EQ(p.LastChartRect.Top, 3 + 21 * 250 / 100);
}

TEST_F(PanelTest, ManyChangesBetweenTwoPaintsCostOnePaint) {
  TestPanel p;
  p.ProcessPaint();
  for (int i = 0; i < 200; ++i) {
    p.SetMarginLeft(i % 7);
    p.SetMarginUnits(i % 2 ? chart::muPixels : chart::muPercent);
    p.GetShadow()->SetSize(i % 3);
  }
  EXPECT_GT(p.InvalidateCount(), 200);
  p.ProcessPaint();
  p.ProcessPaint();
  EXPECT_EQ(p.DrawCount(), 2);
  EXPECT_EQ(p.PaintCount(), 2);
}

TEST_F(PanelTest, SettersRepaintOnlyOnARealChange) {
  struct Row {
    const char* name;
    std::function<void(TestPanel&)> same;
    std::function<void(TestPanel&)> differ;
  };
  std::string text = "abc";
  double number = 0.5;
  int integer = 7;
  bool flag = true;
  TColor colour = platform::clRed;
  const std::vector<Row> rows = {
      {"margin", [](TestPanel& p) { p.SetMarginBottom(p.GetMarginBottom()); },
       [](TestPanel& p) { p.SetMarginBottom(p.GetMarginBottom() + 1); }},
      {"units", [](TestPanel& p) { p.SetMarginUnits(chart::muPercent); },
       [](TestPanel& p) { p.SetMarginUnits(chart::muPixels); }},
      {"colour", [](TestPanel& p) { p.SetColor(p.GetColor()); },
       [](TestPanel& p) { p.SetColor(platform::clRed); }},
      {"bevel", [](TestPanel& p) { p.SetBevelOuter(platform::bvRaised); },
       [](TestPanel& p) { p.SetBevelOuter(platform::bvLowered); }},
      {"bevel width", [](TestPanel& p) { p.SetBevelWidth(1); },
       [](TestPanel& p) { p.SetBevelWidth(4); }},
      {"border round", [](TestPanel& p) { p.SetBorderRound(0); },
       [](TestPanel& p) { p.SetBorderRound(12); }},
      {"view3D", [](TestPanel& p) { p.SetView3D(true); }, [](TestPanel& p) { p.SetView3D(false); }},
      {"monochrome", [](TestPanel& p) { p.SetMonochrome(false); },
       [](TestPanel& p) { p.SetMonochrome(true); }},
      {"string", [&](TestPanel& p) { p.SetStringProperty(text, std::string("abc")); },
       [&](TestPanel& p) { p.SetStringProperty(text, std::string("abd")); }},
      {"double", [&](TestPanel& p) { p.SetDoubleProperty(number, 0.5); },
       [&](TestPanel& p) { p.SetDoubleProperty(number, 0.25); }},
      {"integer", [&](TestPanel& p) { p.SetIntegerProperty(integer, 7); },
       [&](TestPanel& p) { p.SetIntegerProperty(integer, 8); }},
      {"boolean", [&](TestPanel& p) { p.SetBooleanProperty(flag, true); },
       [&](TestPanel& p) { p.SetBooleanProperty(flag, false); }},
      {"colour property", [&](TestPanel& p) { p.SetColorProperty(colour, platform::clRed); },
       [&](TestPanel& p) { p.SetColorProperty(colour, platform::clBlue); }},
      {"back image mode", [](TestPanel& p) { p.SetBackImageMode(chart::pbmStretch); },
       [](TestPanel& p) { p.SetBackImageMode(chart::pbmTile); }},
      {"gradient", [](TestPanel& p) { p.GetGradient()->SetVisible(false); },
       [](TestPanel& p) { p.GetGradient()->SetVisible(true); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    text = "abc";
    number = 0.5;
    integer = 7;
    flag = true;
    colour = platform::clRed;
    TestPanel p;
    p.GetBackImage();
    p.GetGradient();
    p.ProcessPaint();
    const int before = p.InvalidateCount();
    row.same(p);
    EXPECT_EQ(p.InvalidateCount(), before);
    EXPECT_FALSE(p.PaintPending());
    row.differ(p);
    EXPECT_EQ(p.InvalidateCount(), before + 1);
    EXPECT_TRUE(p.PaintPending());
    p.ProcessPaint();
    EXPECT_EQ(p.DrawCount(), 2);
  }
}

TEST_F(PanelTest, InvalidateWithAutoRepaintOffNeitherStalesNorQueues) {
  TestPanel p;
  p.ProcessPaint();
  p.AutoRepaint = false;
  p.Invalidate();
  p.SetMarginLeft(30);
  EXPECT_FALSE(p.PaintPending());
  EXPECT_EQ(p.InvalidateCount(), 0);
  p.AutoRepaint = true;
  p.PerformPaint();
  EXPECT_EQ(p.DrawCount(), 1);
}

TEST_F(PanelTest, APaintWhilePrintingDrawsNothing) {
  TestPanel p;
  p.Printing = true;
  p.ProcessPaint();
  EXPECT_EQ(p.PaintCount(), 1);
  EXPECT_EQ(p.DrawCount(), 0);
  p.Printing = false;
  p.Invalidate();
  p.ProcessPaint();
  EXPECT_EQ(p.DrawCount(), 1);
}

TEST_F(PanelTest, AnExceptionInADrawingPassGoesToTheBoxAndTheNextPaintDrawsAgain) {
  TestPanel p;
  ModalLog boxes;
  p.During = [](TestPanel&) { throw chart::ChartException("Drawing failed"); };
  EXPECT_NO_THROW(p.ProcessPaint());
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Kind, platform::mkException);
  EXPECT_EQ(shown[0].Text, "Drawing failed.");
  EXPECT_TRUE(p.AutoRepaint);
  // The buffer was never finished: an uncovering paint draws again instead of copying it.
  p.During = nullptr;
  p.PerformPaint();
  EXPECT_EQ(p.DrawCount(), 2);
  EXPECT_EQ(WindowPixel(p, 200, 125), ColorToRGB(platform::clBtnFace));
}

TEST_F(PanelTest, AnExceptionInAMouseHandlerGoesToTheBox) {
  TestPanel p;
  ModalLog boxes;
  p.OnMouseDown = [](platform::TObject*, platform::TMouseButton, platform::TShiftState, int, int) {
    throw chart::ChartException("Handler failed");
  };
  EXPECT_NO_THROW(p.PerformMouseDown(platform::mbLeft, {}, 5, 5));
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Text, "Handler failed.");
}

TEST_F(PanelTest, AWindowedPanelPaintsInItsPaintEventAndShowsItsImage) {
  platform::TForm form(nullptr);
  auto* p = new TestPanel(platform::TPanelSurface::Window);
  p->SetParent(&form);
  form.SetClientWidth(420);
  form.SetClientHeight(270);
  form.Show();
  for (int i = 0; i < 10; ++i) platform::Application->ProcessMessages();
  ASSERT_NE(p->Widget(), nullptr);
  QImage shot = p->Widget()->grab().toImage();
  EXPECT_EQ(p->DrawCount(), 1);
  EXPECT_EQ(shot.pixel(200, 125) & 0xFFFFFF, WindowCopy(*p).pixel(200, 125) & 0xFFFFFF);
  EXPECT_EQ(shot.pixel(0, 0) & 0xFFFFFF, WindowCopy(*p).pixel(0, 0) & 0xFFFFFF);

  p->SetColor(platform::clRed);
  for (int i = 0; i < 10; ++i) platform::Application->ProcessMessages();
  shot = p->Widget()->grab().toImage();
  EXPECT_EQ(p->DrawCount(), 2);
  EXPECT_EQ(shot.pixel(200, 125) & 0xFFFFFF, 0xFF0000u);
  // Nothing changed: further paint events only copy.
  p->Widget()->repaint();
  shot = p->Widget()->grab().toImage();
  EXPECT_EQ(p->DrawCount(), 2);
}

}  // namespace
}  // namespace paneltest
