// The standard functions against hand-computed values: ranges of one series with null points,
// one index across series of unequal length, refills through a chart, and the formula's handler.
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "chart/common/plot_const.h"
#include "chart/series/plot_functions.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/layout_registry.h"
#include "tests/chart/engine/engine_fixture.h"

namespace {

using namespace chart;

class Functions : public enginetest::EngineTest {
 protected:
  // Values in order; NaN marks a null point that stores 7.
  TChartSeries* Series(const std::vector<double>& values) {
    auto* s = new TChartSeries(&form);
    for (double v : values) std::isnan(v) ? s->AddNull(7.0) : s->Add(v);
    chart.AddSeries(s);
    return s;
  }
  // By class name without "T...PlotFunction"; a trailing "-" turns IncludeNulls off.
  TPlotFunction* Make(std::string name) {
    const bool nulls = name.back() != '-';
    if (!nulls) name.pop_back();
    const platform::TClassInfo* info = platform::FindClass("T" + name + "PlotFunction");
    auto* f = dynamic_cast<TPlotFunction*>(info ? info->Create(&form) : nullptr);
    if (!f) throw std::runtime_error("no function class " + name);
    if (auto* a = dynamic_cast<TAveragePlotFunction*>(f)) a->SetIncludeNulls(nulls);
    if (auto* m = dynamic_cast<TCustomSortedFunction*>(f)) m->SetIncludeNulls(nulls);
    return f;
  }
  void SetUp() override {
    EngineTest::SetUp();
    RegisterChartLayoutClasses();
  }
  platform::TComponent form{nullptr};
  TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
};

constexpr double N = std::numeric_limits<double>::quiet_NaN();

TEST_F(Functions, CalculateOverARange) {
  TChartSeries* s = Series({2, N, 4, 1, 4});
  TChartSeries* t = Series({5, 1, 3, 8});
  TChartSeries* u = Series({3, 3, 1, 2, 2});
  TChartSeries* nulls = Series({N, N, 9});
  const std::tuple<const char*, TChartSeries*, int, int, double> cases[] = {
      // clang-format off
      {"Add", s, -1, -1, 18},   {"Add", s, 2, 1, 0},       {"Add", s, 3, 99, 5},
      {"Subtract", s, 0, 4, 0}, {"High", s, -1, -1, 7},    {"High", s, 2, 4, 4},
      {"Low", s, -1, -1, 1},    {"Low", s, 0, 2, 2},       {"Low", s, 2, 1, 0},
      {"Average", s, -1, -1, 3.6}, {"Average-", s, -1, -1, 2.75}, {"Average-", s, 0, 2, 3},
      {"Average", s, 0, 2, 13.0 / 3}, {"Average-", nulls, 0, 1, 0},
      // Sorted: odd counts take the middle value, even ones the mean of the two middle ones.
      {"Median", t, 0, 2, 3},   {"Median", t, -1, -1, 4},  {"Median", t, 3, -1, 8},
      {"Median", s, -1, -1, 4}, {"Median-", s, -1, -1, 3}, {"Median-", s, 0, 2, 3},
      {"Median", t, 2, 1, 0},   {"Mode", u, -1, -1, 2},    {"Mode", s, -1, -1, 4},
      {"Mode-", nulls, -1, -1, 9}, {"Mode", nulls, -1, -1, 7}, {"Mode", t, 0, 99, 1},
      // clang-format on
  };
  for (auto [f, source, first, last, expected] : cases)
    EXPECT_DOUBLE_EQ(Make(f)->Calculate(source, first, last), expected) << f << first << last;
}

TEST_F(Functions, CalculateManyAcrossSeriesOfUnequalLength) {
  TChartSeries* p = Series({10, 4, N});
  TChartSeries* q = Series({3, -2});
  TChartSeries* r = Series({2});
  TChartSeries* zero = Series({0});
  const std::vector<TChartSeries*> pqr = {p, q, r}, rqp = {r, q, p};
  const std::tuple<const char*, std::vector<TChartSeries*>, int, double> cases[] = {
      // clang-format off
      {"Add", pqr, 0, 15},      {"Add", pqr, 2, 7},        {"Add", pqr, 3, 0},
      {"Subtract", pqr, 0, 5},  {"Subtract", rqp, 1, -6},  {"Multiply", pqr, 0, 60},
      {"Multiply", rqp, 2, 7},  {"Divide", {p, zero, r}, 0, 5}, {"Divide", pqr, 9, 0},
      {"High", {r, q}, 1, -2},  {"High", pqr, 0, 10},      {"High", pqr, -1, 0},
      {"Low", {r, p}, 1, 4},    {"Low", pqr, 0, 2},        {"Average", pqr, 0, 5},
      {"Average", pqr, 1, 1},   {"Average", pqr, 2, 7},    {"Average-", pqr, 2, 0},
      {"Average", {}, 0, 0},    {"Median", pqr, 0, 3},     {"Median", pqr, 1, 1},
      {"Median-", pqr, 2, 0},   {"Median", {}, 0, 0},      {"Mode", pqr, 0, 2},
      {"Mode", {r, q, r}, 0, 2},
      // clang-format on
  };
  for (const auto& [f, sources, index, expected] : cases)
    EXPECT_DOUBLE_EQ(Make(f)->CalculateMany(sources, index), expected) << f << " at " << index;

  // Through a refill: the longest source sets the points, the shorter ones add what they have.
  TChartSeries* sum = Series({});
  sum->SetFunction(Make("Add"));
  sum->SetDataSource(r);
  sum->DataSources().Add(p);
  ASSERT_EQ(sum->Count(), 3);
  EXPECT_EQ(sum->YValues()->GetValue(0), 12);
  EXPECT_EQ(sum->YValues()->GetValue(2), 7);
}

TEST_F(Functions, FormulaAndItsBadInput) {
  TChartSeries* s = Series({});
  auto* f = static_cast<TCustomPlotFunction*>(Make("Custom"));
  f->SetNumPoints(4), f->SetStartX(1), f->SetPeriod(0.5);
  s->SetFunction(f);
  EXPECT_EQ(s->Count(), 0);  // no handler, no points
  f->OnCalculate = [](TCustomPlotFunction*, double x, double& y) { y = x * x; };
  f->ReCalculate();
  ASSERT_EQ(s->Count(), 4);
  EXPECT_EQ(s->XValues()->GetValue(3), 2.5);
  EXPECT_EQ(s->YValues()->GetValue(3), 6.25);

  EXPECT_EQ(enginetest::MessageOf<ChartException>([&] { f->SetPeriod(-1); }),
            PlotMsg_FunctionPeriod);
  EXPECT_EQ(f->GetPeriod(), 0.5);
  f->SetNumPoints(-3);
  EXPECT_EQ(s->Count(), 0);
  // A handler that fails stops the refill; one that drops itself still ends it whole.
  f->OnCalculate = [](TCustomPlotFunction*, double x, double& y) {
    if (x > 1.6) throw std::runtime_error("bad");
    y = 1;
  };
  EXPECT_THROW(f->SetNumPoints(5), std::runtime_error);
  EXPECT_EQ(s->Count(), 2);
  EXPECT_EQ(s->UpdateCount(), 0);
  f->OnCalculate = [](TCustomPlotFunction* self, double, double& y) {
    self->OnCalculate = nullptr, y = 2;
  };
  f->SetNumPoints(3);
  EXPECT_EQ(s->Count(), 3);
}

}  // namespace
