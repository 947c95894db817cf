// The function base: whole-range, period and moving-window drivers, recalculation, periods that
// could never end or would read before the first point, and the maximum.
#include "chart/engine/plot_function.h"

#include <cmath>
#include <limits>
#include <vector>

#include "chart/common/date_time.h"
#include "chart/series/plot_functions.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using chart::TPlotFunction;

// Answers each period's first point and counts the refills.
template <class Base>
struct FirstOf : Base {
  explicit FirstOf(platform::TComponent* owner, double period = 0) : Base(owner) {
    this->SetPeriod(period);
  }
  double Calculate(TChartSeries* source, int first, int) override {
    return first < 0 ? -1 : this->ValueList(source)->GetValue(first);
  }
  void AddPoints(TChartSeries* source) override { ++refills, Base::AddPoints(source); }
  int refills = 0;
};

class PlotFunctionTest : public EngineTest {
 protected:
  // X positions of a series computed by f from a source with X xs.
  std::vector<double> Computed(TPlotFunction* f, const std::vector<double>& xs,
                               bool centred = true) {
    auto* source = new TChartSeries(&form);
    source->XValues()->SetDateTime(true);
    for (double x : xs) source->AddXY(x, 10 * x);
    auto* result = new TChartSeries(&form);
    result->CentredFunctionPoint = centred;
    chart.AddSeries(source), chart.AddSeries(result);
    result->SetFunction(f);
    result->SetDataSource(source);
    return {result->XValues()->Data(), result->XValues()->Data() + result->Count()};
  }
  platform::TComponent form{nullptr};
  chart::TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
};

TEST_F(PlotFunctionTest, PeriodsAndWindows) {
  using Moving = FirstOf<chart::TPlotMovingFunction>;
  using Plain = FirstOf<TPlotFunction>;
  const std::vector<double> five = {1, 2, 3, 4, 5}, far = {4e4, 4e4 + 1};
  const std::vector<double> halfMonths = {
      chart::EncodeDate(2020, 3, 1), chart::EncodeDate(2020, 3, 15), chart::EncodeDate(2020, 4, 1)};
  auto range = [](TPlotFunction* f) { return f->SetPeriodStyle(chart::psRange), f; };
  auto first = [](TPlotFunction* f) { return f->SetPeriodAlign(chart::paFirst), f; };
  struct Case {
    TPlotFunction* function;
    std::vector<double> source, positions;
    bool centred = true;
  } cases[] = {
      {new Plain(&form), five, {3}},
      {new Plain(&form), five, {1, 5}, false},
      {new Plain(&form, 2), five, {1.5, 3.5}},
      {new Moving(&form, 3), five, {3, 4, 5}},
      {new Plain(&form, 0.5), five, five},
      {new Plain(&form, 0.4), five, five},
      {new Moving(&form, 0.4), five, {}},
      {new Moving(&form, 0), five, {}},
      {new Moving(&form, 9), five, {}},
      // Empty periods give a point too; a period too small to move x ends the walk.
      {range(new Plain(&form, 1)), {0, 3}, {0.4995, 1.4995, 2.4995, 3.4995}},
      {range(new Plain(&form, 1e-300)), far, {}},
      // Half months step to the 15th, then to the 1st of the next month.
      {first(range(new Plain(&form, chart::DateTimeStep[chart::dtHalfMonth]))),
       {halfMonths[0], halfMonths[2], chart::EncodeDate(2020, 5, 1)},
       {halfMonths[0], halfMonths[1], halfMonths[2], chart::EncodeDate(2020, 4, 15),
        chart::EncodeDate(2020, 5, 1)}},
  };
  for (const Case& k : cases) {
    const std::vector<double> xs = Computed(k.function, k.source, k.centred);
    ASSERT_EQ(xs.size(), k.positions.size()) << k.function->GetPeriod();
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], k.positions[i], 1e-9);
  }
  // Far-apart points and a small period: the empty periods stop at the cap.
  auto* sparse = new FirstOf<TPlotFunction>(&form, 1);
  sparse->SetPeriodStyle(chart::psRange);
  EXPECT_EQ(Computed(sparse, {0, 1e8}).size(), 1'000'000u);
}

TEST_F(PlotFunctionTest, Recalculation) {
  auto* f = new FirstOf<TPlotFunction>(&form);
  Computed(f, {1, 2, 3, 4});
  const int start = f->refills;
  f->SetPeriod(0);
  EXPECT_EQ(f->refills, start);
  f->BeginUpdate();
  f->SetPeriod(2), f->SetPeriodAlign(chart::paLast), f->SetPeriodStyle(chart::psRange);
  f->EndUpdate();
  EXPECT_EQ(f->refills, start + 1);
  for (double bad : {-1.0, std::nan(""), std::numeric_limits<double>::infinity()})
    EXPECT_THROW(f->SetPeriod(bad), chart::ChartException);
  EXPECT_EQ(f->GetPeriod(), 2);
}

TEST_F(PlotFunctionTest, Maximum) {
  auto *a = new TChartSeries(&form), *b = new TChartSeries(&form);
  a->AddArray({4, 9, 2});
  b->AddArray({1, -3, 7, -4});
  chart::THighPlotFunction high(nullptr);
  const int ranges[][3] = {{-1, -1, 9}, {0, 0, 4}, {1, 2, 9}, {2, 1, 0}, {2, 2, 2}};
  for (const auto& r : ranges) EXPECT_EQ(high.Calculate(a, r[0], r[1]), r[2]);
  // The first series that has the point starts the comparison.
  struct {
    std::vector<TChartSeries*> sources;
    int index;
    double expected;
  } many[] = {{{a, b}, 0, 4}, {{a, b}, 1, 9}, {{b, a}, 2, 7}, {{a, b}, 3, -4}, {{a}, 3, 0}};
  for (const auto& k : many) EXPECT_EQ(high.CalculateMany(k.sources, k.index), k.expected);
}

}  // namespace
}  // namespace enginetest
