// Pie series on headless charts: angles, the other slice, circle placement, the grid of pies,
// the 3D view pies hold and give back, the per-slice lists following the points, how far lists
// grow on demand, the pages and the gallery preview.
#include "chart/series/pie_series.h"

#include <climits>
#include <functional>
#include <numbers>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/component/legend.h"
#include "chart/engine/engine_globals.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TPieSeries;
using platform::TRect;

// A 400 x 300 chart; Record lays it out with the pies' pre-drawing steps and runs a step.
struct PieChart : AxisChart {
  PieChart() : AxisChart(400, 300) {}
  TPieSeries* Add(std::vector<double> values = {}) {
    auto* s = New<TPieSeries>();
    for (double v : values) s->Add(v);
    return s;
  }
};

constexpr double kPi = std::numbers::pi;

// End angles of the slices; start = the previous end, middle = halfway.
TEST_F(EngineTest, PieSeriesAngles) {
  struct Case {
    const char* name;
    std::vector<double> values;
    int angleSize;
    std::vector<double> ends;
  } const cases[] = {
      {"one point is a full circle", {7}, 360, {2 * kPi}},
      {"all zeros end at the full angle", {0, 0, 0}, 360, {2 * kPi, 2 * kPi, 2 * kPi}},
      {"half pie", {1, -1}, 180, {kPi / 2, kPi}},
      {"shares", {50, 30, 20}, 360, {kPi, 1.6 * kPi, 2 * kPi}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PieChart c;
    TPieSeries* p = c.Add(k.values);
    p->SetAngleSize(k.angleSize);
    c.Layout();
    p->CheckAngles();
    ASSERT_EQ(p->SliceAngles.size(), k.ends.size());
    double start = 0;
    for (size_t i = 0; i < k.ends.size(); ++i) {
      const auto& a = p->SliceAngles[i];
      EXPECT_DOUBLE_EQ(a.StartAngle, start) << i;
      EXPECT_NEAR(a.EndAngle, k.ends[i], 1e-12) << i;
      EXPECT_NEAR(a.MidAngle, (start + k.ends[i]) / 2, 1e-12) << i;
      start = a.EndAngle;
    }
  }
}

// 50, 30, 15, 5, 3 below 10 %: the 5 and the 3 become one "Other" slice of 8, added last.
TEST_F(EngineTest, PieSeriesOtherSlice) {
  for (auto style : {chart::poBelowPercent, chart::poBelowValue}) {
    SCOPED_TRACE(style);
    PieChart c;
    TPieSeries* p = c.Add({50, 30, 15, 5, 3});
    p->GetOtherSlice()->SetStyle(style);
    p->GetOtherSlice()->SetValue(10);
    c.Layout();
    // A second pass replaces the other slice instead of adding another.
    c.Layout();
    ASSERT_EQ(p->Count(), 6);
    EXPECT_EQ(p->OtherSliceIndex(), 5);
    EXPECT_EQ(p->YValues()->GetValue(5), 8);
    EXPECT_EQ(p->GetXLabel(5), "Other");
    const std::vector<bool> member{false, false, false, true, true, false};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p->BelongsToOtherSlice(i), member[i]) << i;
    // The legend lists 50, 30, 15 and Other; the other slice's own legend its two members.
    EXPECT_EQ(p->CountLegendItems(), 4);
    EXPECT_EQ(p->LegendToValueIndex(3), 5);
    p->LegendForOtherSlice = true;
    EXPECT_EQ(p->CountLegendItems(), 2);
    EXPECT_EQ(p->LegendToValueIndex(1), 4);
    p->LegendForOtherSlice = false;
    // Shares of the original total 103; the members take no angle, Other ends the circle.
    p->CheckAngles();
    EXPECT_NEAR(p->SliceAngles[0].EndAngle, 50 * 2 * kPi / 103, 1e-12);
    EXPECT_NEAR(p->SliceAngles[2].EndAngle, 95 * 2 * kPi / 103, 1e-12);
    EXPECT_DOUBLE_EQ(p->SliceAngles[4].StartAngle, p->SliceAngles[4].EndAngle);
    EXPECT_DOUBLE_EQ(p->SliceAngles[5].EndAngle, 2 * kPi);
    // A custom mark position stays with the other slice when it is made again.
    chart::TSeriesMarkPosition moved;
    moved.TopLeft = {17, 23};
    p->Marks()->Positions().Put(5, moved);
    p->YValues()->SetOrder(chart::loDescending);
    p->SetYValue(0, 1);  // sorted last now, and into the other slice
    c.Layout();
    ASSERT_EQ(p->OtherSliceIndex(), 5);
    EXPECT_EQ(p->YValues()->GetValue(5), 9);
    const chart::TSeriesMarkPosition* kept = p->Marks()->Positions().Get(5);
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->Custom && kept->TopLeft.X == 17 && kept->TopLeft.Y == 23);
    // The stored points leave the other slice out.
    p->WriteData();
    EXPECT_EQ(p->Count(), 5);
  }
}

TEST_F(EngineTest, PieSeriesAnglesAndPixels) {
  PieChart c;
  TPieSeries* p = c.Add({1});
  p->CentreX = p->CentreY = 100;
  p->RadiusX = p->RadiusY = 50;
  struct Case {
    int rotation;
    double angle;
    int x, y;
  } const cases[] = {{0, 0, 150, 100},         {0, kPi / 2, 100, 50}, {0, kPi, 50, 100},
                     {0, 1.5 * kPi, 100, 150}, {90, 0, 100, 50},      {450, kPi / 2, 50, 100}};
  for (const Case& k : cases) {
    p->SetRotationAngle(k.rotation);
    int x = 0, y = 0;
    p->AngleToPos(k.angle, 50, 50, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(k.x, k.y)) << k.rotation << " " << k.angle;
    EXPECT_NEAR(p->PointToAngle(k.x, k.y), k.angle, 1e-12);
  }
}

// Placement in a chart rectangle of 201 x 101 at (10, 20): odd sizes lose a pixel.
TEST_F(EngineTest, PieSeriesCirclePlacement) {
  struct Case {
    const char* name;
    bool circled;
    int customX;
    TRect box;
    int rx, ry;
  } const cases[] = {
      {"ellipse", false, 0, {10, 20, 210, 120}, 100, 50},
      {"circled", true, 0, {60, 20, 160, 120}, 50, 50},
      {"custom radius", false, 30, {80, 20, 140, 120}, 30, 50},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    PieChart c;
    TPieSeries* p = c.Add({1, 2});
    p->Marks()->SetVisible(false);
    p->SetCircled(k.circled);
    p->SetCustomXRadius(k.customX);
    c.Record([&] {
      c.ChartRect = TRect{10, 20, 211, 121};
      p->DoBeforeDrawValues();
    });
    EXPECT_EQ(p->CircleBox, k.box);
    EXPECT_EQ(std::make_pair(p->RadiusX, p->RadiusY), std::make_pair(k.rx, k.ry));
    EXPECT_EQ(std::make_pair(p->CentreX, p->CentreY), std::make_pair(110, 70));
  }
  // Visible marks take their callout length, their frame and a line of text above and below.
  PieChart c;
  TPieSeries* p = c.Add({1, 2});
  int fontHeight = 0;
  c.Record([&] {
    c.ChartRect = TRect{0, 0, 400, 300};
    p->DoBeforeDrawValues();
    c.GetCanvas3D()->AssignFont(p->Marks()->GetFont());
    fontHeight = c.GetCanvas3D()->GetFontHeight();
  });
  ASSERT_TRUE(fontHeight > 0 && p->Marks()->GetFrame()->GetVisible());
  EXPECT_EQ(p->CircleBox.Top, 8 + 2 * p->Marks()->GetFrame()->GetWidth() + fontHeight);
  EXPECT_EQ(p->CentreY, 150);
}

// Several pies share the chart rectangle (300 x 300) in an exact grid.
TEST_F(EngineTest, PieSeriesGrid) {
  struct Case {
    int pies, index;
    TRect cell;
  } const cases[] = {
      {4, 0, {0, 0, 150, 150}},   {4, 3, {150, 150, 300, 300}}, {2, 0, {0, 0, 300, 150}},
      {2, 1, {0, 150, 300, 300}}, {9, 4, {100, 100, 200, 200}}, {9, 8, {200, 200, 300, 300}},
      {3, 2, {0, 150, 150, 300}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.pies << " pies, #" << k.index);
    PieChart c;
    std::vector<TPieSeries*> pies;
    for (int i = 0; i < k.pies; ++i) pies.push_back(c.Add({1}));
    TRect cell, after;
    c.Record([&] {
      c.ChartRect = TRect{0, 0, 300, 300};
      pies[k.index]->DoBeforeDrawValues();
      cell = c.ChartRect;
      pies[k.index]->DoAfterDrawValues();
      after = c.ChartRect;
    });
    EXPECT_EQ(cell, k.cell);
    EXPECT_EQ(after, (TRect{0, 0, 300, 300}));
  }
}

// The chart gets its own 3D view back whatever order the pies leave in.
TEST_F(EngineTest, PieSeriesRestoresTheChartsView) {
  enum Leave { Deactivate, Remove, Free };
  const std::vector<std::vector<std::pair<int, Leave>>> orders = {
      {{0, Remove}, {1, Remove}}, {{1, Remove}, {0, Remove}},     {{0, Free}, {1, Deactivate}},
      {{1, Free}, {0, Free}},     {{0, Deactivate}, {1, Remove}}, {{1, Deactivate}, {0, Free}},
  };
  for (size_t n = 0; n < orders.size(); ++n) {
    SCOPED_TRACE(n);
    PieChart c;
    chart::TView3DOptions* o = c.GetView3DOptions();
    o->SetRotation(20);
    o->SetElevation(30);
    TPieSeries* pies[] = {c.Add({1}), c.Add({2})};
    EXPECT_FALSE(o->GetOrthogonal());
    EXPECT_EQ(o->GetElevation(), 315);
    for (auto [i, how] : orders[n]) {
      EXPECT_EQ(o->GetRotation(), 360);
      if (how == Deactivate) pies[i]->SetActive(false);
      if (how == Remove) c.RemoveSeries(pies[i]);
      if (how == Free) delete pies[i];
    }
    EXPECT_TRUE(o->GetOrthogonal() && o->GetRotation() == 20 && o->GetElevation() == 30);
    // A new pie holds the view again; it dies with the chart.
    c.Add({3});
    EXPECT_EQ(o->GetRotation(), 360);
  }
}

TEST_F(EngineTest, PieSeriesListsFollowThePoints) {
  PieChart c;
  TPieSeries* p = c.Add({1, 2, 3, 4, 5});
  p->SliceExplode.Set(1, 10);
  p->SliceExplode.Set(3, 30);
  p->SliceHeightPct.Set(2, 50);
  p->Delete(1);
  EXPECT_EQ(p->SliceExplode.Items(), (std::vector<int>{0, 0, 30}));
  EXPECT_EQ(p->SliceHeightPct.Items(), (std::vector<int>{0, 50}));
  // Swapping pads a list to the point count first.
  p->SwapValueIndex(1, 2);
  EXPECT_EQ(p->SliceExplode.Items(), (std::vector<int>{0, 30, 0, 0}));
  EXPECT_EQ(p->SliceHeightPct.Items(), (std::vector<int>{0, 0, 50, 0}));
  p->Delete(0, 2);
  EXPECT_EQ(p->SliceExplode.Items(), (std::vector<int>{0, 0}));
  EXPECT_EQ(p->SliceHeightPct.Items(), (std::vector<int>{50, 0}));
  p->Clear();
  EXPECT_EQ(p->SliceExplode.Count(), 0);
  EXPECT_EQ(p->SliceHeightPct.Count(), 0);
  // The positions are the slice order: not stored (flags, count, one value).
  p->AddXY(9, 6);
  EXPECT_EQ(p->WriteData().size(), 13u);
}

// Lists grown to the index they are given reach 65,536 past the series' last point (the legend's
// items 2^20 - 1); an index further on is refused and leaves the list empty.
TEST_F(EngineTest, ListsGrowOnDemandOnlySoFar) {
  PieChart c;
  TPieSeries* p = c.Add({1, 2, 3});
  chart::TSeriesMarks& m = *p->Marks();
  chart::TCustomChartLegend legend;
  const int room = 2 + 65536;
  const std::tuple<int, std::function<void(int)>, std::function<int()>> cases[] = {
      {room, [&](int i) { m.Positions().Put(i, {}); }, [&] { return m.Positions().Count(); }},
      {room, [&](int i) { m.Items().Get(i); }, [&] { return m.Items().Count(); }},
      {room, [&](int i) { p->SliceExplode.Set(i, 5); }, [&] { return p->SliceExplode.Count(); }},
      {room, [&](int i) { p->SliceHeightPct.Set(i, 5); },
       [&] { return p->SliceHeightPct.Count(); }},
      {(1 << 20) - 1, [&](int i) { legend.GetItem(i); }, [&] { return legend.Items.Count(); }}};
  for (const auto& [highest, grow, count] : cases) {
    for (const int index : {highest + 1, INT_MAX}) {
      EXPECT_EQ(MessageOf<platform::EListError>([&] { grow(index); }),
                "List index out of bounds (" + std::to_string(index) + ")");
      EXPECT_EQ(count(), 0);
    }
    grow(highest);
    EXPECT_EQ(count(), highest + 1);
  }
}

// Though on no axis, a pie's slices count for the chart's pages: 7 slices at 3 a page.
TEST_F(EngineTest, PieSeriesSlicesCountForPages) {
  PieChart c;
  c.Add({1, 2, 3, 4, 5, 6, 7});
  c.SetPointsPerPage(3);
  EXPECT_EQ(c.NumPages(), 3);
}

// The gallery's preview of a pie shows each slice in a colour of its own, disabled or not.
TEST_F(EngineTest, PieSeriesGalleryPreviewColoursEachSlice) {
  chart::PlotRandomSeed = 1;  // the same sample values on every run
  for (bool enabled : {false, true}) {
    SCOPED_TRACE(enabled);
    PieChart c;
    c.Add()->PrepareForGallery(enabled);
    c.Record();
    const auto slices = c.Only("Pie");
    std::set<platform::TColor> colours;
    for (const auto& slice : slices) colours.insert(slice.Brush.Color);
    EXPECT_GE(slices.size(), 2u);
    EXPECT_EQ(colours.size(), slices.size());
  }
}

}  // namespace
}  // namespace enginetest
