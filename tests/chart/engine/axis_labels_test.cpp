// Axis increments, label texts and the automatic label style.
#include <string>
#include <vector>

#include "chart/common/date_format.h"
#include "chart/engine/axis.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartAxis;
using chart::TChartSeries;
using chart::TCustomAxisPanel;

// The bottom axis over 0..300 pixels with the given range.
void Span(TCustomAxisPanel& chart, TChartAxis* axis, double min, double max) {
  chart.ChartRect = platform::TRect{0, 0, 300, 100};
  chart.ChartWidth = 300;
  chart.ChartHeight = 100;
  if (max > min) axis->SetMinMax(min, max);
  axis->AdjustMaxMin();
  axis->InternalCalcPositions();
}

TEST_F(EngineTest, AxisIncrements) {
  struct Case {
    const char* what;
    double min, max;         // fixed range; min == max: automatic from the series
    std::vector<double> xs;  // the points of one series on the axis
    int separation;
    double increment;
    double base;  // logarithmic base, 0 for a linear axis
    bool dateTime;
    int labelSize;  // CalcXYIncrement's argument, or -N for CalcLabelsIncrement(N)
    double expected;
    const char* format = nullptr;  // AxisValuesFormat, when not the default
  };
  const Case cases[] = {
      {"9 labels of 30 fit", 0, 100, {}, 10, 0, 0, false, 30, 20},
      {"no separation, no ladder", 0, 100, {}, 0, 0, 0, false, 30, 100.0 / 11},
      {"own increment", 0, 100, {}, 10, 7, 0, false, -20, 7},
      {"own increment too small", 0, 100, {}, 10, 1, 0, false, -20, 5},
      // Never finer than the last decimal the labels show.
      {"tiny range", 0, 0, {0, 1e-20}, 10, 0, 0, false, -5, 0.001},
      {"tiny range in exponents", 0, 0, {0, 1e-20}, 10, 0, 0, false, -5, 1e-12, "0.0E+0"},
      {"six decimals", 0, 0, {0, 1e-4}, 10, 0, 0, false, -500, 1e-6, "0.######"},
      {"five bars, never half steps", 0, 0, {0, 1, 2, 3, 4}, 10, 0, 0, false, -10, 1},
      {"no room at all", 0, 100, {}, 10, 0, 0, false, -0, 0.001},
      {"no room at all in exponents", 0, 100, {}, 10, 0, 0, false, -0, 1e-12, "0E+0"},
      {"decades", 1, 1000, {}, 10, 0, 10, false, -3, 1000},
      {"base below 1 stops", 1, 1000, {}, 10, 0, 0.5, false, -3, 256},
      {"a year by months", 0, 365, {}, 10, 0, 0, true, -12, 30},
      {"a leap year by two months", 0, 366, {}, 10, 0, 0, true, -6, 60},
      {"date-time, no room", 0, 365, {}, 10, 0, 0, true, -0, 1.0 / 86400000000.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
    auto* series = chart.AddSeries(new TChartSeries(nullptr));
    for (double x : c.xs) series->AddXY(x, 1);
    TChartAxis* a = chart.BottomAxis();
    a->SetLabelsSeparation(c.separation);
    a->SetIncrement(c.increment);
    if (c.format) a->SetAxisValuesFormat(c.format);
    Span(chart, a, c.min, c.max);
    if (c.base != 0) {
      a->SetLogarithmicBase(c.base);
      a->SetLogarithmic(true);
    }
    a->SetDateTimeFlag(c.dateTime);
    const double got =
        c.labelSize > 0 ? a->CalcXYIncrement(c.labelSize) : a->CalcLabelsIncrement(-c.labelSize);
    EXPECT_DOUBLE_EQ(got, c.expected);
  }
}

TEST_F(EngineTest, AxisIncrementFromLabelSizes) {
  TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  TChartAxis* a = chart.BottomAxis();
  Span(chart, a, 0, 100);
  const double plain = a->CalcIncrement();
  EXPECT_GT(plain, 0);
  // The chosen labels fit along the axis with their separation.
  const int widest = a->LabelWidth(100);
  EXPECT_LE((100 / plain + 1) * widest * 1.1, 300 + widest);
  a->SetLabelsAlternate(true);
  EXPECT_DOUBLE_EQ(a->CalcIncrement(), plain / 2);
  // Turned labels take the font height along a horizontal axis.
  a->SetLabelsAngle(450);
  EXPECT_EQ(a->GetLabelsAngle(), 90);
  EXPECT_EQ(a->LabelWidth(12345), a->LabelWidth(1));
  EXPECT_GT(a->LabelWidth(1), 0);
  EXPECT_GT(a->LabelHeight(12345), a->LabelHeight(1));
}

TEST_F(EngineTest, AxisLabelTexts) {
  TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  TChartAxis* a = chart.LeftAxis();
  const double leapDay = 45351;  // 29 February 2024, a Thursday
  EXPECT_EQ(a->LabelValue(1234.5), "1,234.5");
  a->SetAxisValuesFormat("0.00");
  EXPECT_EQ(a->LabelValue(3.14159), "3.14");
  a->SetDateTimeFlag(true);
  a->SetDateTimeFormat("dd mmm");
  EXPECT_EQ(a->LabelValue(leapDay), "29 Feb");
  EXPECT_EQ(a->LabelValue(leapDay + 1), "01 Mar");
  EXPECT_EQ(a->LabelValue(-1), "");
  a->SetLabelsMultiLine(true);
  EXPECT_EQ(a->LabelValue(leapDay), "29\rFeb");
  std::vector<int> indexes;
  chart.OnGetAxisLabel = [&](TChartAxis* sender, TChartSeries* s, int index, std::string& text) {
    EXPECT_EQ(sender, a);
    EXPECT_EQ(s, nullptr);
    indexes.push_back(index);
    text = "<" + text + ">";
  };
  // The handler sees the text before blanks become line breaks.
  EXPECT_EQ(a->LabelValue(leapDay), "<29\rFeb>");
  EXPECT_EQ(indexes, std::vector<int>{-1});

  struct Case {
    const char* picture;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", leapDay + 0.5, "2024-02-29 12:00:00.000"},
      {"dddd d mmmm yy", leapDay, "Thursday 29 February 24"},
      {"ddd d/m", leapDay + 1, "Fri 1/3"},
      {"h:mm AM/PM", leapDay + 13.0 / 24 + 5.0 / 1440, "1:05 PM"},
      {"hh:mm a/p", leapDay + 5.0 / 1440, "12:05 a"},
      {"hh 'h' nn", leapDay + 0.75, "18 h 00"},
      {"d.m.yyyy", 0, "30.12.1899"},
      {"hh:nn:ss", leapDay + 0.999999999999, "00:00:00"},
      {"dd", 3e6, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(chart::DateTimeToString(c.picture, c.value), c.text);
}

TEST_F(EngineTest, AxisLabelStyle) {
  TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  TChartAxis* bottom = chart.BottomAxis();
  TChartAxis* left = chart.LeftAxis();
  EXPECT_EQ(bottom->CalcLabelStyle(), chart::talNone);
  auto* series = chart.AddSeries(new TChartSeries(nullptr));
  series->AddXY(1, 5);
  EXPECT_EQ(bottom->CalcLabelStyle(), chart::talValue);
  series->AddXY(2, 6, "B");
  EXPECT_EQ(bottom->CalcLabelStyle(), chart::talText);
  EXPECT_EQ(left->CalcLabelStyle(), chart::talValue);
  EXPECT_EQ(chart.RightAxis()->CalcLabelStyle(), chart::talNone);
  EXPECT_EQ(chart.DepthAxis()->CalcLabelStyle(), chart::talText);
  series->SetActive(false);
  EXPECT_EQ(bottom->CalcLabelStyle(), chart::talNone);
  bottom->SetLabelStyle(chart::talMark);
  EXPECT_EQ(bottom->CalcLabelStyle(), chart::talMark);
}

}  // namespace
}  // namespace enginetest
