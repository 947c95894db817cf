#include "chart/canvas/pens.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "chart/canvas/canvas_unit.h"
#include "platform/vcl/picture.h"

namespace chart {
namespace {

namespace gdi = platform::gdi;

TEST(ChartPen, StorageNotificationAndAssign) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  TChartHiddenPen hidden;
  EXPECT_FALSE(pen.IsVisibleStored());
  EXPECT_FALSE(hidden.IsVisibleStored());
  pen.SetVisible(true);
  pen.SetEndStyle(esRound);
  EXPECT_EQ(changes, 0);
  pen.Hide();
  hidden.Show();
  pen.SetEndStyle(esFlat);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(pen.IsVisibleStored());
  EXPECT_TRUE(hidden.IsVisibleStored());
  EXPECT_TRUE(pen.IsEndStored());

  TChartHiddenPen source;
  source.SetSmallDots(true);
  source.SetSmallSpace(5);
  source.SetWidth(3);
  source.SetMode(platform::pmXor);
  TChartPen dest;
  // Through the platform pen, as owners that keep plain pens assign.
  static_cast<platform::TPen&>(dest).Assign(source);
  EXPECT_FALSE(dest.GetVisible());
  EXPECT_TRUE(dest.VisibleDefault);  // defaults stay
  EXPECT_TRUE(dest.GetSmallDots());
  EXPECT_EQ(dest.GetSmallSpace(), 5);
  EXPECT_EQ(dest.GetWidth(), 3);
  EXPECT_EQ(dest.GetMode(), platform::pmXor);

  // Fixed-default pens are made without telling their owner.
  TDottedGrayPen dotted([&] { ++changes; });
  TWhitePen white([&] { ++changes; });
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(dotted.GetColor(), 0x808080);
  EXPECT_EQ(dotted.GetStyle(), platform::psDot);
  EXPECT_EQ(TDarkGrayPen().GetColor(), 0x808080);
  EXPECT_EQ(white.GetColor(), 0xFFFFFF);
}

// Which pixels of row y a line drawn with pen from (x0, y) to (x1, y) paints on white.
std::string PaintedRow(const gdi::LogPen& pen, int x0, int x1, int y, int width) {
  platform::TBitmap bitmap;
  bitmap.SetSize(width, 20);
  gdi::Dc* dc = bitmap.Canvas->GetHandle();
  dc->SelectPen(pen);
  dc->MoveToEx(x0, y);
  dc->LineTo(x1, y);
  std::string row;
  for (int x = 0; x < width; ++x) row += dc->GetPixel(x, y) == platform::clWhite ? '.' : '#';
  return row;
}

TEST(PlotCreatePenSmallDots, AlternatePixelsOrDotsSpacePlusOneApart) {
  const struct {
    int space;
    std::uint32_t style;
    std::vector<std::uint32_t> userStyle;
  } cases[] = {{0, 8, {}}, {-7, 8, {}}, {3, 0x10007, {0, 4}}, {INT_MAX, 0x10007, {0, 2147483648u}}};
  for (const auto& c : cases) {
    const gdi::LogPen pen = PlotCreatePenSmallDots(platform::clBtnFace, c.space);
    EXPECT_EQ(pen.Style, c.style) << c.space;
    EXPECT_EQ(pen.UserStyle, c.userStyle) << c.space;
    EXPECT_EQ(pen.Color, platform::ColorToRGB(platform::clBtnFace));
  }
  EXPECT_EQ(PaintedRow(PlotCreatePenSmallDots(0, 3), 2, 19, 5, 24), "..#...#...#...#...#.....");
  EXPECT_EQ(PaintedRow(PlotCreatePenSmallDots(0, 0), 2, 19, 5, 24), "..#.#.#.#.#.#.#.#.#.....");
}

TEST(PlotSetPlotPen, SmallDotsThinAndWidePens) {
  gdi::Dc dc(nullptr);
  platform::TPen pen;
  TChartPen chartPen;
  chartPen.SetSmallDots(true);
  chartPen.SetSmallSpace(3);
  chartPen.SetWidth(5);
  chartPen.SetMode(platform::pmNotXor);
  PlotSetPlotPen(&pen, &chartPen, platform::clGreen, &dc);
  ASSERT_TRUE(pen.HasHandle());
  EXPECT_EQ(pen.Handle().UserStyle, (std::vector<std::uint32_t>{0, 4}));
  EXPECT_EQ(pen.GetMode(), platform::pmNotXor);

  chartPen.SetSmallDots(false);
  chartPen.SetWidth(1);
  chartPen.SetStyle(platform::psDash);
  PlotCheckPenWidth = true;
  PlotSetPlotPen(&pen, &chartPen, platform::clBlue, &dc);
  PlotCheckPenWidth = false;
  EXPECT_FALSE(pen.HasHandle());
  EXPECT_EQ(pen.GetColor(), platform::clBlue);
  EXPECT_EQ(pen.GetWidth(), 0);

  const struct {
    TPenEndStyle end;
    platform::TPenStyle style;
    std::uint32_t bits;
    const char* row;  // width 4 from x = 10 to 30
  } wides[] = {
      {esFlat, platform::psSolid, 0x12200, "..........####################.........."},
      {esSquare, platform::psSolid, 0x11100, "........########################........"},
      {esRound, platform::psDash, 0x10001, nullptr},
      {esFlat, platform::psClear, 0x12205, nullptr},
  };
  for (const auto& w : wides) {
    chartPen.SetWidth(4);
    chartPen.SetEndStyle(w.end);
    chartPen.SetStyle(w.style);
    chartPen.SetMode(platform::pmXor);
    dc.SetROP2(gdi::R2_COPYPEN);
    PlotSetPlotPen(&pen, &chartPen, platform::clRed, &dc);
    ASSERT_TRUE(pen.HasHandle());
    EXPECT_EQ(pen.Handle().Style, w.bits);
    EXPECT_EQ(pen.Handle().Width, 4);
    EXPECT_EQ(pen.Handle().Color, platform::clRed);
    EXPECT_EQ(dc.GetROP2(), gdi::R2_XORPEN);
    if (w.row) {
      EXPECT_EQ(PaintedRow(pen.Handle(), 10, 30, 10, 40), w.row);
    }
  }
  PlotSetPlotPen(nullptr, &chartPen, 0, nullptr);
  PlotSetPlotPen(&pen, nullptr, 0, nullptr);
}

TEST(ChartBrush, ImageIsMadeOnFirstReadAndFollowsAssign) {
  int changes = 0;
  TChartBrush brush([&] { ++changes; });
  EXPECT_EQ(brush.GetColor(), platform::clDefault);
  EXPECT_EQ(brush.ImageIfAny(), nullptr);
  platform::TPicture* image = brush.GetImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Graphic(), nullptr);
  image->Bitmap()->SetSize(2, 3);  // loading a graphic tells the owner
  EXPECT_GE(changes, 1);

  TChartBrush copy;
  copy.Assign(brush);
  ASSERT_NE(copy.ImageIfAny(), nullptr);
  EXPECT_EQ(copy.ImageIfAny()->Width(), 2);
  copy.Assign(TChartBrush());  // a brush without an image removes it
  EXPECT_EQ(copy.ImageIfAny(), nullptr);

  changes = 0;
  brush.SetImage(nullptr);
  brush.SetImage(nullptr);
  EXPECT_EQ(changes, 2);  // even when nothing changed
  brush.GetImage();
  brush.Clear();
  EXPECT_EQ(brush.GetStyle(), platform::bsClear);
  EXPECT_EQ(brush.ImageIfAny(), nullptr);
}

}  // namespace
}  // namespace chart
