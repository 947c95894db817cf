// Series fed from other series: the console's data script, linked series and their triggers,
// refused cycles, and the source-linking edge cases.
#include <functional>
#include <string>
#include <vector>

#include "chart/common/plot_const.h"
#include "chart/engine/plot_function.h"
#include "chart/series/plot_functions.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using Sources = std::vector<platform::TComponent*>;

struct MeanFunction : chart::TPlotMovingFunction {
  using TPlotMovingFunction::TPlotMovingFunction;
  double Calculate(TChartSeries* source, int first, int last) override {
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += ValueList(source)->GetValue(i);
    return sum / (last - first + 1);
  }
};

std::vector<double> Ys(const TChartSeries* s) {
  return {s->YValues()->Data(), s->YValues()->Data() + s->Count()};
}

std::string Error(const std::function<void()>& f) {
  try {
    f();
  } catch (const chart::ChartException& e) {
    return e.what();
  }
  return "none";
}

class DataSourcesTest : public EngineTest {
 protected:
  TChartSeries* NewSeries(bool inChart = true, const std::string& name = {}) {
    auto* s = new TChartSeries(&form);
    s->SetName(name);
    if (inChart) chart.AddSeries(s);
    return s;
  }
  platform::TComponent form{nullptr};
  chart::TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
};

TEST_F(DataSourcesTest, ConsoleDataScript) {
  for (TChartSeries* s : {NewSeries(), NewSeries()}) {
    s->AddXY(7, 3);
    s->HandEntered = true;
    s->SetFunction(new chart::THighPlotFunction(&form));
    EXPECT_FALSE(s->HandEntered);
    EXPECT_EQ(Ys(s), std::vector<double>{3});
    s->Clear();
  }
  TChartSeries* bars = chart.GetSeries(0);
  for (int n = 1; n <= 32; ++n)
    EXPECT_EQ(bars->AddXY(n, 55, std::to_string(n), platform::clBlue), n - 1);
  ASSERT_EQ(bars->Count(), 32);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(bars->GetXLabel(i), std::to_string(i + 1));
    EXPECT_EQ(bars->GetValueColor(i), platform::clBlue);
  }
  EXPECT_EQ(bars->XValues()->MinValue(), 1);
  EXPECT_EQ(bars->XValues()->MaxValue(), 32);

  // The console's refresh: one bar per satellite with a signal (3 of 20 have none).
  bars->Clear();
  for (int i = 0, n = 0; i < 20; ++i)
    if (i % 7 != 3) bars->AddXY(n++, 30 + i, std::to_string(i + 1), platform::clBlue);
  ASSERT_EQ(bars->Count(), 17);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(bars->XValues()->GetValue(i), i);
}

TEST_F(DataSourcesTest, LinkedSeriesFollowTheirTriggers) {
  TChartSeries *source = NewSeries(), *copy = NewSeries(), *mean = NewSeries();
  TChartSeries* noInsert = NewSeries();
  mean->SetFunction(new MeanFunction(&form));
  mean->FunctionOf()->SetPeriod(2);
  noInsert->RecalcTriggers &= ~chart::rOnInsert;
  for (TChartSeries* s : {copy, mean, noInsert}) s->SetDataSource(source);
  struct Step {
    std::function<void()> action;
    std::vector<double> copy, mean;
    int noInsertCount;
  } steps[] = {
      {[&] { source->Add(10), source->Add(20), source->Add(30); }, {10, 20, 30}, {}, 0},
      {[&] { source->BeginUpdate(), source->EndUpdate(); }, {10, 20, 30}, {15, 25}, 3},
      {[&] { source->Add(40); }, {10, 20, 30, 40}, {15, 25}, 3},
      {[&] { source->Delete(0); }, {20, 30, 40}, {15, 25}, 2},
      {[&] { source->Delete(0, 1); }, {30, 40}, {35}, 2},
      {[&] { source->Clear(); }, {}, {}, 0},
  };
  for (const Step& step : steps) {
    step.action();
    EXPECT_EQ(Ys(copy), step.copy);
    EXPECT_EQ(Ys(mean), step.mean);
    EXPECT_EQ(noInsert->Count(), step.noInsertCount);
  }
}

TEST_F(DataSourcesTest, CyclesAreRefused) {
  for (bool inChart : {true, false}) {
    TChartSeries *s1 = NewSeries(inChart), *s2 = NewSeries(inChart), *s3 = NewSeries(inChart);
    TChartSeries *s4 = NewSeries(inChart), *other = NewSeries(inChart);
    s1->SetDataSource(s2);
    s2->SetDataSource(s3);
    EXPECT_EQ(Error([&] { s3->SetDataSource(s1); }), chart::PlotMsg_CircularSeries);
    s3->SetDataSource(other);
    s3->DataSources().Add(s4);
    EXPECT_EQ(Error([&] { s4->SetDataSource(s1); }), chart::PlotMsg_CircularSeries);
    EXPECT_EQ(s4->DataSources().Count() + s1->LinkedSeries().Count(), 0);
  }
}

TEST_F(DataSourcesTest, LinkingEdgeCases) {
  TChartSeries *a = NewSeries(true, "A"), *b = NewSeries(), *c = NewSeries();
  auto sources = [](TChartSeries* s) { return s->DataSources().Items(); };
  const std::pair<std::function<std::string()>, std::string> cases[] = {
      {[&] { return Error([&] { a->SetDataSource(a); }); }, "No valid DataSource: A"},
      {[&] { return Error([&] { b->SetDataSource(b); }); }, "No valid DataSource: TChartSeries"},
      {[&] {
         TChartSeries* loose = NewSeries(false);
         return Error([&] { loose->SetDataSource(new chart::TPlotSeriesSource(&form)); });
       },
       chart::PlotMsg_SeriesSetDataSource},
      {[&] {
         const int first = a->InternalAddDataSource(b, false);
         return std::to_string(first) + std::to_string(a->InternalAddDataSource(b, false)) +
                std::to_string(sources(a).size());
       },
       "0-11"},
      {[&] { return a->HandEntered = true, a->SetDataSource(b), std::to_string(a->HandEntered); },
       "0"},
      // Dropped sources let go of the series.
      {[&] {
         a->DataSources().Add(c), a->SetDataSource(b);
         return std::to_string(c->LinkedSeries().Count()) + std::to_string(sources(a).size());
       },
       "01"},
      {[&] {
         a->SetDataSource(b), a->SetDataSource(nullptr);
         return std::to_string(b->LinkedSeries().Count()) + std::to_string(sources(a).size());
       },
       "00"},
      {[&] {
         TChartSeries* extra = NewSeries();
         a->SetDataSource(b), a->DataSources().Add(extra);
         delete extra;
         return std::to_string(sources(a) == Sources{b});
       },
       "1"},
      {[&] {
         auto* component = new chart::TPlotSeriesSource(b);
         component->SetSeries(b), c->SetDataSource(component);
         return std::to_string(component->GetSeries() == c && component->Owner() == c &&
                               sources(b).empty() && sources(c) == Sources{component});
       },
       "1"},
  };
  for (const auto& [run, expected] : cases) {
    for (TChartSeries* s : {a, b, c}) s->SetDataSource(nullptr);
    EXPECT_EQ(run(), expected);
  }
}

}  // namespace
}  // namespace enginetest
