// The label loops of an axis as data: each label's value, text, pixel and whether it shows,
// and the tick pixels, without drawing anything.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "chart/common/date_time.h"
#include "chart/engine/axis.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartAxis;
using chart::TChartSeries;
using chart::TCustomAxisPanel;

// A headless 297 x 113 chart whose chart rectangle is (9, 5, 288, 108), as the layout gives it.
struct AxisChart {
  AxisChart() {
    chart.ChartRect = platform::TRect{9, 5, 288, 108};
    chart.ChartWidth = 279;
    chart.ChartHeight = 103;
    chart.AddSeries(series);
  }
  // A fixed range on axis, then the span and the loops.
  void Run(TChartAxis* axis, double min, double max) {
    axis->SetMinMax(min, max);
    axis->AdjustMaxMin();
    axis->InternalCalcPositions();
    axis->CalcLabelsAndTicks();
  }
  // A field of each shown label.
  template <class F>
  static auto Shown(const TChartAxis* axis, F field) {
    std::vector<std::decay_t<decltype(field(axis->LabelItems[0]))>> out;
    for (const auto& l : axis->LabelItems)
      if (l.Shown) out.push_back(field(l));
    return out;
  }
  static std::vector<std::string> Texts(const TChartAxis* a) {
    return Shown(a, [](const auto& l) { return l.Text; });
  }
  static std::vector<double> Values(const TChartAxis* a) {
    return Shown(a, [](const auto& l) { return l.Value; });
  }
  static std::vector<int> Pixels(const TChartAxis* a) {
    return Shown(a, [](const auto& l) { return l.Pixel; });
  }
  TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
  TChartSeries* series = new TChartSeries(nullptr);
};

TEST_F(EngineTest, AxisTextLabelsOfTwoPages) {
  AxisChart c;
  for (int n = 1; n <= 32; ++n) c.series->AddXY(n, 55, std::to_string(n), 0xFF0000);
  TChartAxis* bottom = c.chart.BottomAxis();
  bottom->SetLabelStyle(chart::talText);
  c.chart.SetPointsPerPage(16);
  ASSERT_EQ(c.chart.NumPages(), 2);
  for (int page = 0; page < 2; ++page) {
    SCOPED_TRACE(page);
    const int first = 1 + 16 * page;
    if (page == 1) c.chart.NextPage();
    // The automatic range follows the page.
    bottom->AdjustMaxMin();
    bottom->InternalCalcPositions();
    bottom->CalcLabelsAndTicks();
    EXPECT_EQ(bottom->IStartPos(), 9);
    EXPECT_EQ(bottom->IEndPos(), 288);
    std::vector<std::string> texts;
    std::vector<int> pixels;
    for (int n = first; n < first + 16; ++n) {
      texts.push_back(std::to_string(n));
      // 279 pixels over 15 units from the first point of the page.
      pixels.push_back(9 + static_cast<int>(std::nearbyint((n - first) * 279.0 / 15)));
    }
    EXPECT_EQ(c.Texts(bottom), texts);
    EXPECT_EQ(c.Pixels(bottom), pixels);
    EXPECT_EQ(bottom->Tick, pixels);
  }
}

TEST_F(EngineTest, AxisValueLabelLoops) {
  struct Case {
    const char* what;
    double min, max, increment;
    int separation;
    bool onAxis, ticksOnLabels, labels, logarithmic, inverted;
    std::vector<double> values;
    int ticks;
    std::vector<int> pixels;  // empty: not checked
  };
  const bool T = true, F = false;
  const Case cases[] = {
      {"steps of 20 down", 0, 100, 20, 10, T, T, T, F, F, {100, 80, 60, 40, 20, 0}, 6, {}},
      {"first label rounded to the step", 0.5, 10.5, 2, 10, T, T, T, F, F, {10, 8, 6, 4, 2}, 5, {}},
      {"labels off the axis ends dropped", 0, 100, 20, 10, F, T, T, F, F, {80, 60, 40, 20}, 4, {}},
      {"ticks without labels", 0, 100, 20, 10, T, F, F, F, F, {}, 6, {}},
      {"ten thousand labels or more draw none", 0, 1e9, 1, 0, T, T, T, F, F, {}, 0, {}},
      {"a step too small for the range", 1e17, 1e17 + 100, 1e-3, 0, T, T, T, F, F, {}, 0, {}},
      {"decades upwards", 1, 1000, 0, 10, T, T, T, T, F, {1, 10, 100, 1000}, 4, {9, 102, 195, 288}},
      // 27.9 pixels a unit from the end.
      {"inverted",
       0,
       10,
       2,
       10,
       T,
       T,
       T,
       F,
       T,
       {10, 8, 6, 4, 2, 0},
       6,
       {9, 65, 121, 176, 232, 288}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    AxisChart c;
    TChartAxis* a = c.chart.BottomAxis();
    a->SetLabelStyle(chart::talValue);
    a->SetIncrement(k.increment);
    a->SetLabelsSeparation(k.separation);
    a->SetLabelsOnAxis(k.onAxis);
    a->SetTickOnLabelsOnly(k.ticksOnLabels);
    a->SetLabels(k.labels);
    a->SetMinMax(k.min, k.max);
    a->SetLogarithmic(k.logarithmic);
    a->SetInverted(k.inverted);
    c.Run(a, k.min, k.max);
    EXPECT_EQ(c.Values(a), k.values);
    EXPECT_EQ(static_cast<int>(a->Tick.size()), k.ticks);
    if (!k.pixels.empty()) {
      EXPECT_EQ(c.Pixels(a), k.pixels);
    }
    for (const auto& l : a->LabelItems) EXPECT_EQ(l.Pixel, a->CalcPosValue(l.Value));
  }
  // A zero range draws one label, at the centre.
  AxisChart c;
  c.series->AddXY(3, 1);
  TChartAxis* a = c.chart.BottomAxis();
  a->AdjustMaxMin();
  a->InternalCalcPositions();
  a->CalcLabelsAndTicks();
  EXPECT_EQ(c.Texts(a), std::vector<std::string>{"3"});
  EXPECT_EQ(c.Pixels(a), std::vector<int>{a->ICenterPos()});
}

// Every multiple of the step within the range, both ends included, each text once, at its value
// and clear of the next: none lost to rounding, none repeated by a step finer than the format
// writes, none piled up inside one logarithmic decade.
TEST_F(EngineTest, AxisValueLabelsReachBothEnds) {
  struct Case {
    const char* what;
    bool left, log;
    double min, max, increment;  // increment 0: automatic
    bool round;
    int length;  // pixels along the axis
    size_t count;
    const char *first, *last;
  };
  const bool T = true, F = false;
  const Case cases[] = {
      {"0..0.3", F, F, 0, 0.3, 0.1, T, 279, 4, "0.3", "0"},
      {"0..0.7", T, F, 0, 0.7, 0.1, T, 400, 8, "0.7", "0"},
      {"both signs", F, F, -0.3, 0.3, 0.1, T, 279, 7, "0.3", "-0.3"},
      {"both signs, first label not rounded", F, F, -0.3, 0.3, 0.1, F, 279, 7, "0.3", "-0.3"},
      {"-2..2", T, F, -2, 2, 0.1, T, 800, 41, "2", "-2"},
      {"-2..2, automatic step, 800 tall", T, F, -2, 2, 0, T, 800, 41, "2", "-2"},
      {"-1..1 by 0.05", T, F, -1, 1, 0.05, T, 800, 41, "1", "-1"},
      {"-5..5 by 0.2", F, F, -5, 5, 0.2, T, 1400, 51, "5", "-5"},
      {"-3..3 by 0.2", T, F, -3, 3, 0.2, T, 800, 31, "3", "-3"},
      {"thousandths", T, F, 0, 0.002, 0, T, 400, 3, "0.002", "0"},
      {"below the last decimal", T, F, 0, 1e-5, 0, T, 400, 1, "0", "0"},
      {"below the last decimal, both signs", T, F, -3e-4, 3e-4, 0, T, 400, 1, "0", "0"},
      // Logarithmic labels walk upwards.
      {"20..80 logarithmic", T, T, 20, 80, 0, T, 300, 7, "20", "80"},
      {"2..8 logarithmic", T, T, 2, 8, 0, T, 400, 7, "2", "8"},
      {"1.5..9 logarithmic", T, T, 1.5, 9, 0, T, 900, 8, "2", "9"},
      // The power nearest the minimum lies above the maximum.
      {"40..80 logarithmic", T, T, 40, 80, 0, T, 300, 5, "40", "80"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    AxisChart c;
    c.chart.ChartRect = platform::TRect{9, 5, 9 + k.length, 5 + k.length};
    c.chart.ChartWidth = c.chart.ChartHeight = k.length;
    TChartAxis* a = k.left ? c.chart.LeftAxis() : c.chart.BottomAxis();
    a->SetLabelStyle(chart::talValue);
    a->SetIncrement(k.increment);
    a->SetRoundFirstLabel(k.round);
    a->SetMinMax(k.min, k.max);
    a->SetLogarithmic(k.log);
    c.Run(a, k.min, k.max);
    const std::vector<std::string> texts = c.Texts(a);
    EXPECT_EQ(texts.size(), k.count);
    if (texts.empty()) continue;
    EXPECT_EQ(texts.front(), k.first);
    EXPECT_EQ(texts.back(), k.last);
    EXPECT_EQ(a->Tick.size(), k.count);
    const std::vector<int> pixels = c.Pixels(a);
    const int fh = c.chart.GetCanvas3D()->GetFontHeight();
    for (size_t n = 1; n < texts.size(); ++n) {
      EXPECT_NE(texts[n], texts[n - 1]);
      EXPECT_GE(std::abs(pixels[n] - pixels[n - 1]), fh);
    }
    for (const auto& l : a->LabelItems) {
      double read = 0;
      std::from_chars(l.Text.data(), l.Text.data() + l.Text.size(), read);
      EXPECT_NEAR(read, l.Value, 1e-9) << l.Text;
    }
  }
  // Ten minutes a minute apart, and ten hours an hour apart, from many starts.
  for (const double step :
       {chart::DateTimeStep[chart::dtOneMinute], chart::DateTimeStep[chart::dtOneHour]}) {
    for (int m = 0; m < 84; ++m) {
      SCOPED_TRACE(m);
      AxisChart c;
      c.chart.ChartRect = platform::TRect{9, 5, 1409, 108};
      c.chart.ChartWidth = 1400;
      c.series->XValues()->SetDateTime(true);
      const double from = chart::EncodeDate(2026, 12, 10) + 7.0 / 24 + m * step;
      TChartAxis* a = c.chart.BottomAxis();
      a->SetLabelStyle(chart::talValue);
      a->SetDateTimeFormat("hh:nn");
      a->SetIncrement(step);
      a->SetDateTimeFlag(true);
      c.Run(a, from, from + 10 * step);
      const std::vector<double> values = c.Values(a);
      EXPECT_EQ(values.size(), 11u);
      if (values.empty()) continue;
      EXPECT_NEAR(values.front(), from + 10 * step, step * 1e-6);
      EXPECT_NEAR(values.back(), from, step * 1e-6);
    }
  }
}

TEST_F(EngineTest, AxisDateTimeLabelsAcrossMonthsAndLeapDay) {
  struct Case {
    const char* what;
    chart::TDateTime from, to;
    double increment;
    std::vector<chart::TDateTime> values;
  };
  using chart::EncodeDate;
  const Case cases[] = {
      {"days across the leap day",
       EncodeDate(2024, 2, 27),
       EncodeDate(2024, 3, 2),
       1,
       {EncodeDate(2024, 3, 2), EncodeDate(2024, 3, 1), EncodeDate(2024, 2, 29),
        EncodeDate(2024, 2, 28), EncodeDate(2024, 2, 27)}},
      {"half months skip no month",
       EncodeDate(2024, 1, 1),
       EncodeDate(2024, 3, 20),
       15,
       {EncodeDate(2024, 3, 15), EncodeDate(2024, 3, 1), EncodeDate(2024, 2, 15),
        EncodeDate(2024, 2, 1), EncodeDate(2024, 1, 15), EncodeDate(2024, 1, 1)}},
      {"months across the year end",
       EncodeDate(2023, 11, 30),
       EncodeDate(2024, 2, 10),
       30,
       {EncodeDate(2024, 2, 1), EncodeDate(2024, 1, 1), EncodeDate(2023, 12, 1)}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    AxisChart c;
    c.series->XValues()->SetDateTime(true);
    c.series->AddXY(k.from, 1);
    c.series->AddXY(k.to, 2);
    TChartAxis* a = c.chart.BottomAxis();
    a->SetLabelStyle(chart::talValue);
    a->SetDateTimeFormat("dd/mm");
    a->SetIncrement(k.increment);
    a->SetDateTimeFlag(true);
    c.Run(a, k.from, k.to);
    EXPECT_EQ(c.Values(a), k.values);
  }
}

TEST_F(EngineTest, AxisPointAndCustomLabels) {
  // Three letters under three points, nothing between.
  {
    AxisChart c;
    c.series->AddXY(0, 1, "A");
    c.series->AddXY(1, 1, "B");
    c.series->AddXY(2, 1, "C");
    TChartAxis* a = c.chart.BottomAxis();
    a->AdjustMaxMin();
    a->InternalCalcPositions();
    a->CalcLabelsAndTicks();
    EXPECT_EQ(c.Texts(a), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(c.Pixels(a), (std::vector<int>{9, 148, 288}));
  }
  // Labels wider than their spacing: every shown label keeps clear of the one before.
  {
    AxisChart c;
    for (int n = 0; n < 20; ++n) c.series->AddXY(n, 1, "WWWW");
    TChartAxis* a = c.chart.BottomAxis();
    a->SetLabelStyle(chart::talText);
    c.Run(a, 0, 19);
    const std::vector<int> shown = c.Pixels(a);
    EXPECT_EQ(a->LabelItems.size(), 20u);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_LT(shown.size(), 20u);
    EXPECT_EQ(shown.front(), 9);
    const int width = c.chart.GetCanvas3D()->TextWidth("WWWW");
    for (size_t i = 1; i < shown.size(); ++i) EXPECT_GE(shown[i] - shown[i - 1], width);
    EXPECT_EQ(a->Tick, shown);
  }
  // Custom labels replace every style; the published range filters them.
  {
    AxisChart c;
    TChartAxis* a = c.chart.BottomAxis();
    a->Items().Add(10, "ten");
    a->Items().Add(50);
    a->Items().Add(500, "far");
    c.Run(a, 0, 100);
    EXPECT_EQ(c.Texts(a), (std::vector<std::string>{"ten", "50"}));
    EXPECT_EQ(a->MaxLabelsWidth(), std::max(c.chart.GetCanvas3D()->TextWidth("ten"),
                                            c.chart.GetCanvas3D()->TextWidth("far")));
  }
}

TEST_F(EngineTest, AxisNextLabelEventAndDepthTitles) {
  struct Case {
    const char* what;
    int stopAt;  // the call that sets Stop; -1: never
    double step;
    size_t labels;
    int calls;
  };
  const Case cases[] = {
      {"three values then stop", 3, 25, 3, 4},
      {"stop at once: standard labels", 0, 0, 6, 1},
      {"a value outside the range ends", -1, 1000, 1, 2},
      {"never stops: bounded", -1, 0, 2001, 2001},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    AxisChart c;
    int calls = 0;
    c.chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& v, bool& stop) {
      ++calls;
      stop = index == k.stopAt;
      if (index > 0) v += k.step;
    };
    TChartAxis* a = c.chart.BottomAxis();
    a->SetLabelStyle(chart::talValue);
    a->SetIncrement(20);
    c.Run(a, 0, 100);
    EXPECT_EQ(a->LabelItems.size(), k.labels);
    EXPECT_EQ(calls, k.calls);
  }
  // Depth axis: one title per slot, none for a range of more slots than labels could show.
  AxisChart c;
  auto* second = new TChartSeries(nullptr);
  second->SetTitle("Second");
  c.series->SetTitle("First");
  c.chart.AddSeries(second);
  TChartAxis* depth = c.chart.DepthAxis();
  depth->SetLabelStyle(chart::talText);
  c.Run(depth, 0, 1e9);
  EXPECT_TRUE(depth->LabelItems.empty());
  c.Run(depth, 0, 1);
  EXPECT_EQ(c.Texts(depth), (std::vector<std::string>{"First", "Second"}));
}

}  // namespace
}  // namespace enginetest
