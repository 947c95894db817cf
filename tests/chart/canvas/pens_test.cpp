#include "chart/canvas/pens.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "chart/canvas/canvas_unit.h"
#include "platform/vcl/picture.h"

namespace chart {
namespace {

namespace gdi = platform::gdi;

TEST(ChartPen, StoredPredicatesFollowTheDefaultsOfEachClass) {
  TChartPen pen;
  EXPECT_TRUE(pen.GetVisible());
  EXPECT_FALSE(pen.IsVisibleStored());
  EXPECT_FALSE(pen.IsEndStored());
  pen.Hide();
  EXPECT_TRUE(pen.IsVisibleStored());
  pen.SetEndStyle(esFlat);
  EXPECT_TRUE(pen.IsEndStored());

  TChartHiddenPen hidden;
  EXPECT_FALSE(hidden.GetVisible());
  EXPECT_FALSE(hidden.IsVisibleStored());
  hidden.Show();
  EXPECT_TRUE(hidden.IsVisibleStored());
}

TEST(ChartPen, SettersNotifyOnlyOnARealChange) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  pen.SetVisible(true);
  pen.SetSmallDots(false);
  pen.SetSmallSpace(0);
  pen.SetEndStyle(esRound);
  EXPECT_EQ(changes, 0);
  pen.SetVisible(false);
  pen.SetSmallDots(true);
  pen.SetSmallSpace(3);
  pen.SetEndStyle(esSquare);
  EXPECT_EQ(changes, 4);
  pen.SetSmallSpace(3);
  EXPECT_EQ(changes, 4);
}

TEST(ChartPen, AssignCarriesVisibilityAndChartSettingsButNotTheDefaults) {
  TChartHiddenPen source;
  source.SetSmallDots(true);
  source.SetSmallSpace(5);
  source.SetEndStyle(esFlat);
  source.SetColor(platform::clRed);
  source.SetWidth(3);
  source.SetStyle(platform::psDash);
  source.SetMode(platform::pmXor);

  int changes = 0;
  TChartPen dest([&] { ++changes; });
  dest.Assign(source);
  EXPECT_FALSE(dest.GetVisible());
  EXPECT_TRUE(dest.GetSmallDots());
  EXPECT_EQ(dest.GetSmallSpace(), 5);
  EXPECT_EQ(dest.GetEndStyle(), esFlat);
  EXPECT_EQ(dest.GetColor(), platform::clRed);
  EXPECT_EQ(dest.GetWidth(), 3);
  EXPECT_EQ(dest.GetStyle(), platform::psDash);
  EXPECT_EQ(dest.GetMode(), platform::pmXor);
  EXPECT_TRUE(dest.VisibleDefault);
  EXPECT_TRUE(dest.IsVisibleStored());
  EXPECT_GE(changes, 1);

  // A plain platform pen brings only what it has.
  platform::TPen plain;
  plain.SetColor(platform::clBlue);
  dest.Assign(plain);
  EXPECT_EQ(dest.GetColor(), platform::clBlue);
  EXPECT_FALSE(dest.GetVisible());
}

TEST(ChartPen, FixedDefaultPensAreMadeQuietly) {
  int changes = 0;
  auto count = [&] { ++changes; };
  TDottedGrayPen dotted(count);
  TDarkGrayPen dark(count);
  TWhitePen white(count);
  TChartHiddenPen hidden(count);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(dotted.GetColor(), 0x808080);
  EXPECT_EQ(dotted.GetStyle(), platform::psDot);
  EXPECT_EQ(dark.GetColor(), 0x808080);
  EXPECT_EQ(dark.GetStyle(), platform::psSolid);
  EXPECT_EQ(white.GetColor(), 0xFFFFFF);
  white.SetColor(platform::clBlack);
  EXPECT_EQ(changes, 1);
}

TEST(PlotCreatePenSmallDots, AlternatePixelsOrDotsSpacePlusOneApart) {
  struct Case {
    int space;
    std::uint32_t style;
    std::vector<std::uint32_t> userStyle;
  };
  const Case cases[] = {
      {0, 8, {}},
      {-7, 8, {}},
      {3, 0x10007, {0, 4}},
      {1, 0x10007, {0, 2}},
      {INT_MAX, 0x10007, {0, 2147483648u}},
  };
  for (const Case& c : cases) {
    const gdi::LogPen pen = PlotCreatePenSmallDots(platform::clRed, c.space);
    EXPECT_EQ(pen.Style, c.style) << c.space;
    EXPECT_EQ(pen.UserStyle, c.userStyle) << c.space;
    EXPECT_EQ(pen.Width, 1);
    EXPECT_EQ(pen.Color, platform::clRed);
  }
  // System colours are resolved.
  EXPECT_EQ(PlotCreatePenSmallDots(platform::clBtnFace, 0).Color,
            platform::ColorToRGB(platform::clBtnFace));
}

TEST(PlotSetPlotPen, SmallDotsThinAndWidePens) {
  gdi::Dc dc(nullptr);
  platform::TPen pen;

  TChartPen dots;
  dots.SetSmallDots(true);
  dots.SetSmallSpace(3);
  dots.SetWidth(5);
  dots.SetMode(platform::pmNotXor);
  PlotSetPlotPen(&pen, &dots, platform::clGreen, &dc);
  ASSERT_TRUE(pen.HasHandle());
  EXPECT_EQ(pen.Handle().Style, 0x10007u);
  EXPECT_EQ(pen.Handle().UserStyle, (std::vector<std::uint32_t>{0, 4}));
  EXPECT_EQ(pen.Handle().Color, platform::clGreen);
  EXPECT_EQ(pen.GetMode(), platform::pmNotXor);

  TChartPen thin;
  thin.SetStyle(platform::psDash);
  thin.SetColor(platform::clRed);
  PlotSetPlotPen(&pen, &thin, platform::clBlue, &dc);
  EXPECT_FALSE(pen.HasHandle());
  EXPECT_EQ(pen.GetColor(), platform::clBlue);
  EXPECT_EQ(pen.GetWidth(), 1);
  PlotCheckPenWidth = true;
  PlotSetPlotPen(&pen, &thin, platform::clBlue, &dc);
  PlotCheckPenWidth = false;
  EXPECT_EQ(pen.GetWidth(), 0);

  struct Wide {
    TPenEndStyle end;
    platform::TPenStyle style;
    std::uint32_t bits;
  };
  const Wide wides[] = {
      {esRound, platform::psSolid, 0x10000},
      {esSquare, platform::psDash, 0x10000 | 1 | 0x1100},
      {esFlat, platform::psDot, 0x10000 | 2 | 0x2200},
      {esFlat, platform::psClear, 0x10000 | 5 | 0x2200},
  };
  for (const Wide& w : wides) {
    TChartPen wide;
    wide.SetWidth(4);
    wide.SetEndStyle(w.end);
    wide.SetStyle(w.style);
    wide.SetMode(platform::pmXor);
    dc.SetROP2(gdi::R2_COPYPEN);
    PlotSetPlotPen(&pen, &wide, platform::clRed, &dc);
    ASSERT_TRUE(pen.HasHandle());
    EXPECT_EQ(pen.Handle().Style, w.bits);
    EXPECT_EQ(pen.Handle().Width, 4);
    EXPECT_EQ(pen.Handle().Color, platform::clRed);
    EXPECT_TRUE(pen.Handle().UserStyle.empty());
    EXPECT_EQ(dc.GetROP2(), gdi::R2_XORPEN);
  }
  // No device context and no pens: nothing happens.
  PlotSetPlotPen(nullptr, &thin, 0, nullptr);
  PlotSetPlotPen(&pen, nullptr, 0, nullptr);
}

std::unique_ptr<platform::TPicture> PictureWithBitmap() {
  auto picture = std::make_unique<platform::TPicture>();
  auto bitmap = std::make_unique<platform::TBitmap>();
  bitmap->SetSize(2, 3);
  picture->SetGraphic(std::move(bitmap));
  return picture;
}

TEST(ChartBrush, ImageIsMadeOnFirstReadAndFollowsAssign) {
  int changes = 0;
  TChartBrush brush([&] { ++changes; });
  EXPECT_EQ(brush.GetColor(), platform::clDefault);
  EXPECT_FALSE(brush.IsColorStored());
  EXPECT_EQ(brush.ImageIfAny(), nullptr);
  platform::TPicture* image = brush.GetImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Graphic(), nullptr);
  EXPECT_EQ(brush.GetImage(), image);

  // Loading a graphic into the image tells the owner.
  changes = 0;
  auto picture = PictureWithBitmap();
  image->Assign(picture.get());
  EXPECT_GE(changes, 1);

  TChartBrush withImage;
  withImage.SetImage(picture.get());
  ASSERT_NE(withImage.ImageIfAny(), nullptr);
  EXPECT_EQ(withImage.ImageIfAny()->Width(), 2);
  EXPECT_EQ(withImage.ImageIfAny()->Height(), 3);

  // A brush without an image removes the image.
  TChartBrush plain;
  plain.SetColor(platform::clRed);
  withImage.Assign(plain);
  EXPECT_EQ(withImage.ImageIfAny(), nullptr);
  EXPECT_EQ(withImage.GetColor(), platform::clRed);

  TChartBrush copy;
  brush.SetImage(picture.get());
  copy.Assign(brush);
  ASSERT_NE(copy.ImageIfAny(), nullptr);
  EXPECT_EQ(copy.ImageIfAny()->Width(), 2);

  changes = 0;
  brush.SetImage(nullptr);
  brush.SetImage(nullptr);
  EXPECT_EQ(changes, 2);  // even when nothing changed

  copy.Clear();
  EXPECT_EQ(copy.GetStyle(), platform::bsClear);
  EXPECT_EQ(copy.ImageIfAny(), nullptr);
}

}  // namespace
}  // namespace chart

namespace chart {
namespace {

// Which pixels of row y a line drawn with pen from (x0, y) to (x1, y) paints on white.
std::string PaintedRow(const gdi::LogPen& pen, int x0, int x1, int y, int width = 40) {
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

TEST(PlotCreatePenSmallDots, DotsLieSpacePlusOnePixelsApart) {
  EXPECT_EQ(PaintedRow(PlotCreatePenSmallDots(platform::clBlack, 3), 2, 19, 5, 24),
            "..#...#...#...#...#.....");
  EXPECT_EQ(PaintedRow(PlotCreatePenSmallDots(platform::clBlack, 0), 2, 19, 5, 24),
            "..#.#.#.#.#.#.#.#.#.....");
}

TEST(PlotSetPlotPen, FlatEndsAtTheEndPointsSquareReachesHalfTheWidthBeyond) {
  platform::TPen pen;
  TChartPen chartPen;
  chartPen.SetWidth(4);
  chartPen.SetEndStyle(esFlat);
  PlotSetPlotPen(&pen, &chartPen, platform::clBlack, nullptr);
  EXPECT_EQ(PaintedRow(pen.Handle(), 10, 30, 10), "..........####################..........");
  chartPen.SetEndStyle(esSquare);
  PlotSetPlotPen(&pen, &chartPen, platform::clBlack, nullptr);
  EXPECT_EQ(PaintedRow(pen.Handle(), 10, 30, 10), "........########################........");
}

}  // namespace
}  // namespace chart
