// Setters given values far outside what makes sense: the panel still paints, and nothing
// raises out of the paint.
#include <climits>

#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

TEST_F(PanelTest, OutOfRangeSettingsNeverCrashAPaint) {
  struct Row {
    const char* name;
    std::function<void(TestPanel&)> set;
  };
  const std::vector<Row> rows = {
      {"bevel width",
       [](TestPanel& p) {
         p.SetBevelInner(platform::bvRaised);
         p.SetBevelWidth(INT_MAX);
       }},
      {"bevel width negative", [](TestPanel& p) { p.SetBevelWidth(INT_MIN); }},
      {"border width", [](TestPanel& p) { p.SetBorderWidth(INT_MAX); }},
      {"border width negative", [](TestPanel& p) { p.SetBorderWidth(-7); }},
      {"border pen",
       [](TestPanel& p) {
         p.GetBorder()->SetVisible(true);
         p.GetBorder()->SetWidth(100000);
       }},
      {"border pen negative",
       [](TestPanel& p) {
         p.GetBorder()->SetVisible(true);
         p.GetBorder()->SetWidth(INT_MIN);
       }},
      {"border round",
       [](TestPanel& p) {
         p.GetBorder()->SetVisible(true);
         p.SetBorderRound(INT_MAX);
       }},
      {"border round negative", [](TestPanel& p) { p.SetBorderRound(INT_MIN); }},
      {"shadow", [](TestPanel& p) { p.GetShadow()->SetSize(100000); }},
      {"shadow negative",
       [](TestPanel& p) {
         p.GetShadow()->SetHorizSize(-30);
         p.GetShadow()->SetVertSize(INT_MIN);
       }},
      {"custom image far away",
       [](TestPanel& p) {
         p.GetBackImage()->SetGraphic(CodedBitmap(3, 3));
         p.SetBackImageMode(chart::pbmCustom);
         p.GetBackImage()->SetLeft(INT_MAX);
         p.GetBackImage()->SetTop(INT_MIN);
       }},
      {"tiny tiles",
       [](TestPanel& p) {
         p.GetBackImage()->SetGraphic(CodedBitmap(1, 1));
         p.SetBackImageMode(chart::pbmTile);
         p.SetBounds(0, 0, 60, 40);
       }},
      {"gradient balance",
       [](TestPanel& p) {
         p.GetGradient()->SetVisible(true);
         p.GetGradient()->SetBalance(INT_MIN);
       }},
      {"empty panel", [](TestPanel& p) { p.SetBounds(0, 0, 0, 0); }},
      {"negative size", [](TestPanel& p) { p.SetBounds(-5, -5, -10, -10); }},
      {"print resolution", [](TestPanel& p) { p.SetPrintResolution(INT_MIN); }},
      {"3D options",
       [](TestPanel& p) {
         p.GetView3DOptions()->SetZoom(INT_MAX);
         p.GetView3DOptions()->SetPerspective(INT_MAX);
         p.GetBackImage()->SetGraphic(CodedBitmap(2, 2));
         p.SetBackImageMode(chart::pbmCenter);
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ModalLog boxes;
    TestPanel p;
    row.set(p);
    p.ProcessPaint();
    EXPECT_EQ(p.DrawCount(), 1);
    EXPECT_TRUE(boxes.Shown().empty());
    // The zoom rectangle at the ends of the coordinate range, twice.
    chart::TPlotZoom& z = *p.GetZoom();
    z.X0 = INT_MIN;
    z.Y0 = INT_MIN;
    z.X1 = INT_MAX;
    z.Y1 = INT_MAX;
    const QImage before = WindowCopy(p);
    p.DrawZoomRectangle();
    p.DrawZoomRectangle();
    EXPECT_EQ(WindowCopy(p), before);
    for (int z3 : {0, 1, 50}) p.DrawBitmap(TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, z3);
  }
}

}  // namespace
}  // namespace paneltest
