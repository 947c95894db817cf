// Point pages: count, clamped page changes and their notices, page windows, and the automatic
// axis ranges that follow the shown page.
#include <functional>
#include <tuple>
#include <utility>

#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using Range = std::pair<double, double>;

struct PagedChart : chart::IPlotEventListener {
  PagedChart() {
    chart.Listeners().Add(this);
    chart.OnPageChange = [this](platform::TObject* sender) { changes += sender == &chart.Pages(); };
  }
  ~PagedChart() override { chart.RemoveListener(this); }
  void PlotEvent(chart::TPlotEvent& e) override {
    notices += dynamic_cast<chart::TChartChangePage*>(&e) != nullptr;
  }
  TChartSeries* Add(int points, double firstX = 1) {
    auto* s = new TChartSeries(&form);
    chart.AddSeries(s);
    for (int i = 0; i < points; ++i) s->AddXY(firstX + i, i < 4 ? 100 + i : -i);
    return s;
  }
  Range Of(chart::TChartAxis* axis) {
    Range r;
    axis->CalcMinMax(r.first, r.second);
    return r;
  }
  Range Window(TChartSeries* s) {
    int first = 0, last = 0;
    s->CalcFirstLastPage(first, last);
    return {first, last};
  }
  chart::TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
  platform::TComponent form{nullptr};
  int changes = 0, notices = 0;
};

TEST_F(EngineTest, PagesEdgeCases) {
  using C = PagedChart;
  const std::pair<const char*, std::function<bool(C&)>> cases[] = {
      {"20 points at 16: 2 pages, page 2 holds 16..19 on X 17..20",
       [](C& c) {
         TChartSeries* s = c.Add(20);
         c.chart.SetPointsPerPage(16);
         c.chart.NextPage();
         return c.chart.NumPages() == 2 && c.Window(s) == Range(16, 19) &&
                c.Of(c.chart.BottomAxis()) == Range(17, 20) && c.changes == 1 && c.notices == 2;
       }},
      {"unscaled short last page: its 4 points keep a full page's step",
       [](C& c) {
         c.Add(20);
         c.chart.SetPointsPerPage(16);
         c.chart.SetScaleLastPage(false);
         c.chart.SetPage(2);
         return c.Of(c.chart.BottomAxis()) == Range(17, 32);
       }},
      {"next on the last page, previous on page 1, both without paging: nothing",
       [](C& c) {
         c.Add(20);
         c.chart.NextPage();
         c.chart.SetPointsPerPage(16);
         c.chart.PreviousPage();
         c.chart.SetPage(2);
         c.chart.NextPage();
         return c.chart.GetPage() == 2 && c.changes == 1;
       }},
      {"clamped page; a bigger page size pulls it back and always broadcasts",
       [](C& c) {
         c.Add(40);
         c.chart.SetPointsPerPage(10);
         c.chart.SetPage(9);
         const bool clamped = c.chart.GetPage() == 4;
         c.chart.SetPointsPerPage(20);
         c.chart.SetPointsPerPage(20);
         return clamped && c.chart.GetPage() == 2 && c.notices == 5;
       }},
      {"a negative page size raises and keeps the old one",
       [](C& c) {
         c.chart.SetPointsPerPage(8);
         return MessageOf<chart::ChartException>([&] { c.chart.SetPointsPerPage(-1); }) ==
                    "MaxPointsPerPage must be >= 0" &&
                c.chart.GetPointsPerPage() == 8;
       }},
      {"the most points of an active series on the top axis count; smaller series keep a "
       "full page",
       [](C& c) {
         TChartSeries* small = c.Add(20);
         TChartSeries* top = c.Add(48);
         top->SetHorizAxis(chart::aTopAxis);
         c.chart.SetPointsPerPage(8);
         c.chart.SetPage(6);
         const bool six = c.chart.GetPage() == 6 && c.Window(small) == Range(8, 15);
         top->SetActive(false);
         return six && c.chart.NumPages() == 3;
       }},
      {"auto scale: the value axis spans the page's values only",
       [](C& c) {
         c.Add(8);
         c.chart.SetPointsPerPage(4);
         const Range whole = c.Of(c.chart.LeftAxis());
         c.chart.Pages().SetAutoScale(true);
         c.chart.NextPage();
         return whole == Range(-7, 103) && c.Of(c.chart.LeftAxis()) == Range(-7, -4);
       }},
      {"assigned settings bring no events; a page beyond the points windows inside them",
       [](C& c) {
         TChartSeries* s = c.Add(20);
         PagedChart other;
         other.Add(100);
         other.chart.SetPointsPerPage(1);
         other.chart.SetPage(100);
         c.chart.SetPages(&other.chart.Pages());
         return c.chart.GetPage() == 100 && c.changes == 0 && c.notices == 0 &&
                c.Window(s) == Range(19, 19) && c.Of(c.chart.BottomAxis()) == Range(20, 20);
       }},
  };
  for (const auto& [name, holds] : cases) {
    PagedChart c;
    EXPECT_TRUE(holds(c)) << name;
  }
}

// Unscaled, a short last page spans perPage - 1 steps of its points' X step; a lone point takes
// the step of the page before it, or 1. Points, per page, X step, the last page's range.
TEST_F(EngineTest, PagesShortLastPageKeepsAFullPagesStep) {
  const std::tuple<int, int, double, Range> cases[] = {
      {12, 5, 1, {11, 15}}, {21, 10, 2, {41, 59}}, {1, 10, 2, {1, 10}}, {3, 10, 2, {1, 19}}};
  for (const auto& [points, perPage, step, last] : cases) {
    PagedChart c;
    TChartSeries* s = c.Add(0);
    for (int i = 0; i < points; ++i) s->AddXY(1 + step * i, 1);
    c.chart.SetPointsPerPage(perPage);
    c.chart.SetScaleLastPage(false);
    c.chart.SetPage(c.chart.NumPages());
    EXPECT_EQ(c.Of(c.chart.BottomAxis()), last) << points << " at " << perPage;
  }
}

// X = 1..32 at 16 a page, the bottom axis laid out over 9..288.
TEST_F(EngineTest, PagesTwoOfSixteen) {
  PagedChart c;
  TChartSeries* s = c.Add(32);
  c.chart.SetPointsPerPage(16);
  c.chart.ChartRect = platform::TRect{9, 5, 288, 108};
  c.chart.ChartWidth = 279;
  chart::TChartAxis* bottom = c.chart.BottomAxis();
  for (int page = 1; page <= 2; ++page) {
    const double x0 = 16 * page - 15;
    EXPECT_EQ(c.chart.NumPages(), 2);
    bottom->AdjustMaxMin();
    bottom->InternalCalcPositions();
    EXPECT_EQ(Range(bottom->EffectiveMinimum(), bottom->EffectiveMaximum()), Range(x0, x0 + 15));
    EXPECT_EQ(bottom->CalcPosValue(x0), 9);
    EXPECT_EQ(bottom->CalcPosValue(x0 + 15), 288);
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(Range(s->FirstVisible, s->LastVisible), Range(x0 - 1, x0 + 14));
    c.chart.NextPage();
  }
  // Unordered positions are all drawn, whatever the range.
  s->XValues()->SetOrder(chart::loNone);
  s->CalcFirstLastVisibleIndex();
  EXPECT_EQ(Range(s->FirstVisible, s->LastVisible), Range(0, 31));
}

}  // namespace
}  // namespace enginetest
