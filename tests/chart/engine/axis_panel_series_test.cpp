// The chart's series list: joining once, leaving, freeing by class, exchanging, lookups, the
// refill of series without sources, automatic colours, and the named groups.
#include <string>
#include <vector>

#include "chart/common/palette.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using AxisPanelSeriesTest = EngineTest;

class BarLike : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  CHART_SERIES_CLASS(BarLike)
};

std::string Names(const chart::TCustomSeriesList& list) {
  std::string out;
  for (TChartSeries* s : list.Items()) out += s->GetName();
  return out;
}

std::string Error(const std::function<void()>& f) {
  try {
    f();
  } catch (const chart::ChartException& e) {
    return e.Message;
  }
  return "none";
}

TEST_F(AxisPanelSeriesTest, SeriesListEdgeCases) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  platform::TComponent form(nullptr);
  SeriesEventLog log(chart);
  auto make = [&](bool bar, const char* name) {
    TChartSeries* s = bar ? new BarLike(&form) : new TChartSeries(&form);
    s->SetName(name);
    return s;
  };
  TChartSeries *a = make(false, "A"), *b = make(true, "B"), *c = make(false, "C"),
               *d = make(true, "D");
  struct Case {
    const char* name;
    std::function<std::string()> run;
    std::string expected;
  };
  const Case cases[] = {
      {"adding twice: one entry, one seAdd",
       [&] {
         chart.AddSeries(a);
         chart.AddSeries(a);
         chart.InternalAddSeries(a);
         return Names(chart.SeriesList()) + std::to_string(log.CountOf(chart::seAdd));
       },
       "A1"},
      {"removing a series not in the chart does nothing",
       [&] {
         chart.RemoveSeries(b);
         chart.RemoveSeries(-1);
         return Names(chart.SeriesList()) + std::to_string(log.CountOf(chart::seRemove));
       },
       "A0"},
      {"freeing by class keeps the others in order",
       [&] {
         for (TChartSeries* s : {b, c, d}) chart.AddSeries(s);
         BarLike prototype(nullptr);
         chart.FreeAllSeries(&prototype);
         return Names(chart.SeriesList()) + std::to_string(form.ComponentCount());
       },
       "AC2"},
      {"exchange: lists, owner order and groups",
       [&] {
         chart::TSeriesGroup* g = chart.SeriesList().AddGroup("g");
         g->Add(a);
         g->Add(c);
         chart.ExchangeSeries(0, 1);
         return Names(chart.SeriesList()) + form.Components(0)->GetName() + Names(g->Series()) +
                std::to_string(log.CountOf(chart::seSwap)) + chart.GetSeries(0)->GetName();
       },
       "CACCA1C"},
      {"index outside the list", [&] { return Error([&] { chart.GetSeries(2); }); },
       "Series index 2 out of bounds (0 to 1)."},
  };
  for (const Case& k : cases) EXPECT_EQ(k.run(), k.expected) << k.name;
}

TEST_F(AxisPanelSeriesTest, JoiningRefillsAndColours) {
  const struct {
    bool randomAtRunTime;
    bool handEntered;
    int count;
  } cases[] = {{false, false, 0}, {true, false, 25}, {true, true, 0}};
  for (const auto& k : cases) {
    chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
    TChartSeries s(nullptr);
    s.HandEntered = k.handEntered;
    chart::PlotRandomAtRunTime = k.randomAtRunTime;
    chart.AddSeries(&s);
    chart::PlotRandomAtRunTime = false;
    EXPECT_EQ(s.Count(), k.count) << k.randomAtRunTime << k.handEntered;
  }
  // Each series gets the first palette colour no other uses; a user colour counts.
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  TChartSeries s1(nullptr), s2(nullptr), s3(nullptr);
  s2.SetSeriesColor(chart::GetDefaultColor(1));
  chart.AddSeries(&s1);
  chart.AddSeries(&s2);
  chart.AddSeries(&s3);
  EXPECT_EQ(s1.GetSeriesColor(), chart::GetDefaultColor(0));
  EXPECT_FALSE(s1.IsColorStored());
  EXPECT_EQ(s3.GetSeriesColor(), chart::GetDefaultColor(2));
  chart.CustomPalette = {0x111111, 0x222222};
  EXPECT_EQ(chart.GetDefaultColor(3), 0x222222);
  EXPECT_EQ(chart.GetFreeSeriesColor(true, nullptr), 0x111111);
}

TEST_F(AxisPanelSeriesTest, SeriesGroups) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  platform::TComponent form(nullptr);
  std::vector<TChartSeries*> s;
  for (int i = 0; i < 3; ++i) s.push_back(chart.AddSeries(new TChartSeries(&form)));
  const struct {
    std::vector<bool> active;
    chart::TSeriesGroupActive expected;
  } cases[] = {{{}, chart::gaYes},
               {{true, true, true}, chart::gaYes},
               {{false, false}, chart::gaNo},
               {{true, false, false}, chart::gaSome}};
  for (const auto& k : cases) {
    chart::TSeriesGroup* g = chart.SeriesList().AddGroup("A");
    for (size_t i = 0; i < k.active.size(); ++i) {
      s[i]->SetActive(k.active[i]);
      g->Add(s[i]);
    }
    EXPECT_EQ(g->GetActive(), k.expected) << k.active.size();
  }
  chart::TSeriesGroup* some = chart.SeriesList().Groups().Get(3);
  some->SetActive(chart::gaSome);
  EXPECT_EQ(some->GetActive(), chart::gaSome);
  some->Show();
  EXPECT_TRUE(chart.SeriesList().GetAllActive());
  some->Hide();
  EXPECT_EQ(chart.CountActiveSeries(), 0);
  auto& groups = chart.SeriesList().Groups();
  EXPECT_EQ(groups.FindByName("a"), groups.Get(0));
  EXPECT_EQ(groups.FindByName("a", true), nullptr);
  // A series that leaves the chart leaves its groups; one from elsewhere is refused.
  chart.RemoveSeries(s[0]);
  EXPECT_EQ(groups.Contains(s[0]), -1);
  EXPECT_EQ(some->Series().Count(), 2);
  EXPECT_THROW(some->Add(s[0]), chart::ChartException);
}

}  // namespace
}  // namespace enginetest
