// The back image in each mode, by pixels at the positions the modes compute.
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

// A white 400 x 250 panel without bevels holding a coded picture of w x h.
void Prepare(TestPanel& p, int w, int h, chart::TPlotBackImageMode mode) {
  p.SetBevelOuter(platform::bvNone);
  p.SetColor(platform::clWhite);
  auto bitmap = CodedBitmap(w, h);
  p.GetBackImage()->SetGraphic(std::move(bitmap));
  p.SetBackImageMode(mode);
}

TEST_F(PanelTest, BackImageModesPlaceThePictureWhereTheyCompute) {
  const TColor white = platform::clWhite;
  struct Row {
    const char* name;
    int w, h;
    chart::TPlotBackImageMode mode;
    std::function<void(TestPanel&)> extra;
    std::vector<Probe> probes;
  };
  const std::vector<Row> rows = {
      // Source pixel i covers 40i..40i+39 across and 31.25j.. down.
      {"stretch",
       10,
       8,
       chart::pbmStretch,
       nullptr,
       {{0, 0, Coded(0, 0)},
        {399, 249, Coded(9, 7)},
        {60, 46, Coded(1, 1)},
        {380, 20, Coded(9, 0)}}},
      {"tile",
       10,
       8,
       chart::pbmTile,
       nullptr,
       {{0, 0, Coded(0, 0)},
        {13, 9, Coded(3, 1)},
        {399, 249, Coded(9, 1)},
        {250, 100, Coded(0, 4)}}},
      // (10 - 400) div 2 = -195, (8 - 250) div 2 = -121: the picture starts at (195, 121).
      {"centre",
       10,
       8,
       chart::pbmCenter,
       nullptr,
       {{195, 121, Coded(0, 0)},
        {204, 128, Coded(9, 7)},
        {194, 121, white},
        {205, 121, white},
        {195, 120, white},
        {195, 129, white}}},
      {"custom",
       10,
       8,
       chart::pbmCustom,
       [](TestPanel& p) {
         p.GetBackImage()->SetLeft(30);
         p.GetBackImage()->SetTop(40);
       },
       {{30, 40, Coded(0, 0)}, {39, 47, Coded(9, 7)}, {29, 40, white}, {30, 48, white}}},
      // Larger than the panel: starts 50 left of and 25 above it, clipped.
      {"centre, larger",
       500,
       300,
       chart::pbmCenter,
       nullptr,
       {{0, 0, Coded(50, 25)}, {399, 249, Coded(449, 274)}}},
      {"inside the walls: not behind the panel",
       10,
       8,
       chart::pbmCenter,
       [](TestPanel& p) { p.SetBackImageInside(true); },
       {{195, 121, white}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestPanel p;
    Prepare(p, row.w, row.h, row.mode);
    if (row.extra) row.extra(p);
    p.ProcessPaint();
    ASSERT_EQ(p.DrawCount(), 1);
    for (const Probe& probe : row.probes)
      EXPECT_EQ(WindowPixel(p, probe.x, probe.y), probe.expected)
          << "at " << probe.x << "," << probe.y;
  }
}

TEST_F(PanelTest, ATransparentBackImageLeavesOutItsBottomLeftColourInEveryMode) {
  // The 10 x 8 picture's bottom-left colour is Coded(0, 7): the white panel shows there.
  const struct {
    chart::TPlotBackImageMode mode;
    Probe clear, kept;
  } rows[] = {{chart::pbmStretch, {39, 219, platform::clWhite}, {40, 219, Coded(1, 7)}},
              {chart::pbmTile, {10, 15, platform::clWhite}, {11, 15, Coded(1, 7)}},
              {chart::pbmCenter, {195, 128, platform::clWhite}, {196, 128, Coded(1, 7)}},
              {chart::pbmCustom, {0, 7, platform::clWhite}, {0, 6, Coded(0, 6)}}};
  for (const auto& row : rows) {
    TestPanel p;
    Prepare(p, 10, 8, row.mode);
    p.SetBackImageTransp(true);
    EXPECT_TRUE(p.GetBackImageTransp());
    p.ProcessPaint();
    for (const Probe& probe : {row.clear, row.kept})
      EXPECT_EQ(WindowPixel(p, probe.x, probe.y), probe.expected) << row.mode << " " << probe.x;
  }
}

TEST_F(PanelTest, BackImageWithoutGraphicDrawsNothing) {
  TestPanel p;
  EXPECT_FALSE(p.HasBackImage());
  EXPECT_FALSE(p.GetBackImageInside());
  EXPECT_FALSE(p.GetBackImageTransp());
  // Reading the mode makes an empty image.
  EXPECT_EQ(p.GetBackImageMode(), chart::pbmStretch);
  EXPECT_FALSE(p.HasBackImage());
  p.SetBackImageTransp(true);
  EXPECT_FALSE(p.GetBackImageTransp());
  // An empty bitmap (width 0) tiles nothing.
  p.SetBevelOuter(platform::bvNone);
  p.SetColor(platform::clWhite);
  p.GetBackImage()->SetGraphic(std::make_unique<platform::TBitmap>());
  p.SetBackImageMode(chart::pbmTile);
  p.ProcessPaint();
  EXPECT_EQ(WindowPixel(p, 0, 0), platform::clWhite);
  EXPECT_EQ(WindowPixel(p, 399, 249), platform::clWhite);
}

TEST_F(PanelTest, BackImageSettingsRepaintOnlyWhenTheyChangeAndAssignCopiesThem) {
  TestPanel p;
  Prepare(p, 4, 4, chart::pbmCustom);
  p.ProcessPaint();
  const int before = p.InvalidateCount();
  chart::TBackImage* b = p.GetBackImage();
  b->SetLeft(0);
  b->SetTop(0);
  b->SetInside(false);
  b->SetMode(chart::pbmCustom);
  EXPECT_EQ(p.InvalidateCount(), before);
  b->SetLeft(3);
  EXPECT_EQ(p.InvalidateCount(), before + 1);

  chart::TBackImage copy;
  copy.Assign(b);
  EXPECT_EQ(copy.GetLeft(), 3);
  EXPECT_EQ(copy.GetMode(), chart::pbmCustom);
  ASSERT_NE(copy.Graphic(), nullptr);
  EXPECT_EQ(copy.Width(), 4);
  // Null frees the image.
  p.SetBackImage(nullptr);
  EXPECT_FALSE(p.HasBackImage());
}

}  // namespace
}  // namespace paneltest
