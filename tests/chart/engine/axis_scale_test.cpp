// Axis ranges and the value-to-pixel mapping: fixed, automatic, logarithmic and inverted scales,
// the checked and unchecked pairs, margins, positions, the clamp, and the rejected settings.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartAxis;
using chart::TCustomAxisPanel;
using platform::TRect;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kLimit = 67108863;

// What a layout does for one axis: the chart rectangle, the range, then the pixel span.
void Layout(TCustomAxisPanel& chart, TChartAxis* axis, const TRect& r) {
  chart.ChartRect = r;
  chart.ChartWidth = r.Right - r.Left;
  chart.ChartHeight = r.Bottom - r.Top;
  axis->AdjustMaxMin();
  axis->InternalCalcPositions();
}

struct Chart {
  Chart() { chart.SetView3D(false); }
  TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
};

TEST_F(EngineTest, AxisMapsValuesToPixels) {
  enum Kind { kX, kXInverted, kY, kYInverted, kXFast, kXLog, kYLog };
  struct Case {
    Kind kind;
    double min, max;
    int start, end;  // the span along the axis
    double value;
    int pixel;
  };
  const Case cases[] = {
      {kX, 0, 10, 100, 300, 5, 200},
      {kX, 0, 10, 100, 300, 0, 100},
      {kX, 0, 10, 100, 300, 10, 300},
      {kXInverted, 0, 10, 100, 300, 5, 200},
      {kXInverted, 0, 10, 100, 300, 0, 300},
      {kY, 0, 10, 50, 250, 0, 250},
      {kY, 0, 10, 50, 250, 10, 50},
      {kYInverted, 0, 10, 50, 250, 0, 50},
      // Halves go to the even pixel; the checked pair rounds start + offset, the fast one
      // rounds the offset alone.
      {kX, 0, 4, 0, 10, 1, 2},
      {kX, 0, 4, 0, 10, 3, 8},
      {kX, 0, 4, 1, 11, 1, 4},
      {kXFast, 0, 4, 1, 11, 1, 3},
      // Nothing leaves the clamp range, whatever the value.
      {kX, 0, 10, 100, 300, 1e12, kLimit},
      {kX, 0, 10, 100, 300, -1e12, -kLimit},
      {kXFast, 0, 10, 100, 300, 1e12, kLimit},
      {kXFast, 0, 10, 100, 300, -kInf, -kLimit},
      {kY, 0, 10, 50, 250, kInf, -kLimit},
      {kY, 0, 10, 50, 250, 1e300, -kLimit},
      {kYInverted, 0, 10, 50, 250, -1e300, -kLimit},
      {kX, 0, 10, 100, 300, kNaN, 100},
      {kY, 0, 10, 50, 250, kNaN, 250},
      {kXLog, 1, 1000, 0, 300, 10, 100},
      {kXLog, 1, 1000, 0, 300, 100, 200},
      {kXLog, 1, 1000, 0, 300, 0, 0},
      {kXLog, 1, 1000, 0, 300, -5, 0},
      {kXLog, 1, 1000, 0, 300, 1e300, 30000},
      {kYLog, 1, 1000, 0, 300, 10, 200},
      {kYLog, 1, 1000, 0, 300, 0, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " value " << c.value);
    Chart h;
    const bool horizontal = c.kind != kY && c.kind != kYInverted && c.kind != kYLog;
    TChartAxis* axis = horizontal ? h.chart.BottomAxis() : h.chart.LeftAxis();
    h.chart.SetAxesFastCalc(c.kind == kXFast);
    axis->SetInverted(c.kind == kXInverted || c.kind == kYInverted);
    axis->SetMinMax(c.min, c.max);
    if (c.kind == kXLog || c.kind == kYLog) axis->SetLogarithmic(true);
    Layout(h.chart, axis,
           horizontal ? TRect{c.start, 0, c.end, 100} : TRect{0, c.start, 100, c.end});
    EXPECT_EQ(axis->CalcPosValue(c.value), c.pixel);
    EXPECT_EQ(horizontal ? axis->CalcXPosValue(c.value) : axis->CalcYPosValue(c.value), c.pixel);
  }
}

// The console chart's axes: 16 points on the bottom axis, the left axis fixed at 0..70.
TEST_F(EngineTest, AxisGoldenNumbersOfTheConsoleChart) {
  Chart h;
  auto* series = h.chart.AddSeries(new chart::TChartSeries(nullptr));
  for (int n = 1; n <= 16; ++n) series->AddXY(n, 55, std::to_string(n));
  TChartAxis* bottom = h.chart.BottomAxis();
  TChartAxis* left = h.chart.LeftAxis();
  left->SetMinMax(0, 70);
  const TRect r{9, 5, 288, 108};
  Layout(h.chart, bottom, r);
  Layout(h.chart, left, r);
  EXPECT_EQ(bottom->GetMinimum(), 1);
  EXPECT_EQ(bottom->GetMaximum(), 16);
  EXPECT_EQ(bottom->CalcPosValue(1), 9);
  EXPECT_EQ(bottom->CalcPosValue(16), 288);
  EXPECT_EQ(left->CalcPosValue(35), (5 + 108) / 2);
  EXPECT_EQ(left->CalcPosValue(0), 108);
  EXPECT_EQ(left->CalcPosValue(70), 5);
  // Bar margins of 12 pixels: 17 pixels a unit, the first bar 12 pixels in.
  bottom->AdjustMaxMinRect(TRect{12, 0, 12, 0});
  EXPECT_NEAR(bottom->EffectiveMinimum(), 1 - 12.0 / 17, 1e-12);
  EXPECT_NEAR(bottom->EffectiveMaximum(), 16 + 12.0 / 17, 1e-12);
  EXPECT_EQ(bottom->IStartPos(), 9);
  EXPECT_EQ(bottom->IEndPos(), 288);
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(bottom->CalcPosValue(n), 21 + 17 * (n - 1)) << n;
  // Margins wider than the span leave the range alone.
  bottom->AdjustMaxMinRect(TRect{200, 0, 200, 0});
  EXPECT_EQ(bottom->CalcPosValue(1), 21);
}

TEST_F(EngineTest, AxisRangesAndPixelsBack) {
  Chart h;
  auto* series = h.chart.AddSeries(new chart::TChartSeries(nullptr));
  series->AddXY(3, 3);
  TChartAxis* left = h.chart.LeftAxis();
  TChartAxis* bottom = h.chart.BottomAxis();
  // A zero range: every value at the centre, and back to the one value.
  Layout(h.chart, left, TRect{0, 50, 100, 250});
  EXPECT_TRUE(left->IsZeroRange());
  EXPECT_EQ(left->CalcPosValue(-1e9), 150);
  EXPECT_EQ(left->CalcPosValue(kNaN), 150);
  EXPECT_EQ(left->CalcPosPoint(60), 3);
  // Inactive series count only while no active one is on the axis.
  auto* other = h.chart.AddSeries(new chart::TChartSeries(nullptr));
  other->AddXY(-4, 9);
  other->SetActive(false);
  EXPECT_EQ(h.chart.InternalMinMax(left, false, false), 3);
  series->SetActive(false);
  EXPECT_EQ(h.chart.InternalMinMax(left, false, false), 9);
  EXPECT_EQ(h.chart.InternalMinMax(bottom, true, true), -4);
  // Pixels back to values, linear and logarithmic.
  bottom->SetMinMax(0, 10);
  Layout(h.chart, bottom, TRect{100, 0, 300, 100});
  EXPECT_DOUBLE_EQ(bottom->CalcPosPoint(150), 2.5);
  bottom->SetInverted(true);
  EXPECT_DOUBLE_EQ(bottom->CalcPosPoint(150), 7.5);
  bottom->SetInverted(false);
  bottom->SetMinMax(1, 1000);
  bottom->SetLogarithmic(true);
  Layout(h.chart, bottom, TRect{0, 0, 300, 100});
  EXPECT_DOUBLE_EQ(bottom->CalcPosPoint(0), 1);
  EXPECT_DOUBLE_EQ(bottom->CalcPosPoint(300), 1000);
  EXPECT_NEAR(bottom->CalcPosPoint(200), 100, 1e-9);
  EXPECT_EQ(bottom->CalcSizeValue(100), 200);
  EXPECT_EQ(bottom->CalcSizeValue(-1), 0);
}

TEST_F(EngineTest, AxisFixedRangesAndScrolling) {
  Chart h;
  auto* series = h.chart.AddSeries(new chart::TChartSeries(nullptr));
  series->AddXY(0, 0);
  series->AddXY(20, 0);
  TChartAxis* a = h.chart.BottomAxis();
  a->SetMinMax(5, 2);
  EXPECT_EQ(a->GetMinimum(), 2);
  EXPECT_EQ(a->GetMaximum(), 5);
  EXPECT_FALSE(a->GetAutomatic() || a->GetAutomaticMinimum() || a->GetAutomaticMaximum());
  a->SetMinMax(1, 1);
  EXPECT_EQ(a->GetMaximum(), 1 + 1e-10);
  a->SetAutomaticMaximum(true);
  EXPECT_FALSE(a->GetAutomatic());
  a->SetAutomaticMinimum(true);
  EXPECT_TRUE(a->GetAutomatic());
  a->SetAutomatic(false);
  EXPECT_FALSE(a->GetAutomaticMinimum() || a->GetAutomaticMaximum());

  struct Case {
    double min, max, offset;
    bool check;
    double newMin, newMax;
  };
  const Case cases[] = {
      {5, 10, 3, false, 8, 13}, {5, 10, 3, true, 8, 13},     {25, 30, 3, true, 25, 30},
      {5, 10, -3, true, 2, 7},  {-5, 10, -3, true, -5, 10},  {1, 2, -3, true, -2, -1},
      {5, 10, 0, true, 5, 10},  {5, 10, kNaN, false, 5, 10}, {5, 1e308, 1e308, false, 5, 1e308},
  };
  for (const Case& c : cases) {
    a->SetMinMax(c.min, c.max);
    if (c.min == 1) a->SetAutomatic(true);  // the automatic flags go when the range moves
    a->Scroll(c.offset, c.check);
    EXPECT_EQ(a->GetMinimum(), c.newMin) << c.min << " " << c.offset;
    EXPECT_EQ(a->GetMaximum(), c.newMax) << c.min << " " << c.offset;
    if (c.min == 1) {
      EXPECT_FALSE(a->GetAutomatic());
    }
  }
}

TEST_F(EngineTest, AxisRejectsBadSettings) {
  Chart h;
  auto* series = h.chart.AddSeries(new chart::TChartSeries(nullptr));
  series->AddXY(-1, -1);
  TChartAxis* a = h.chart.LeftAxis();
  a->SetMinMax(0, 10);
  const std::function<void()> bad[] = {
      [&] { a->SetMinimum(11); },           [&] { a->SetMaximum(-1); },
      [&] { a->SetMinimum(kNaN); },         [&] { a->SetMaximum(kInf); },
      [&] { a->SetMinMax(kNaN, 1); },       [&] { a->SetMinMax(0, -kInf); },
      [&] { a->SetLogarithmicBase(1); },    [&] { a->SetLogarithmicBase(0); },
      [&] { a->SetLogarithmicBase(kNaN); }, [&] { a->SetIncrement(-1); },
      [&] { a->SetIncrement(kInf); },       [&] { a->SetLabelsSeparation(-1); },
  };
  const std::string texts[] = {
      chart::PlotMsg_AxisMinMax,       chart::PlotMsg_AxisMaxMin,       chart::PlotMsg_AxisMinMax,
      chart::PlotMsg_AxisMaxMin,       chart::PlotMsg_AxisMinMax,       chart::PlotMsg_AxisMaxMin,
      chart::PlotMsg_AxisLogBase,      chart::PlotMsg_AxisLogBase,      chart::PlotMsg_AxisLogBase,
      chart::PlotMsg_AxisIncrementNeg, chart::PlotMsg_AxisIncrementNeg, chart::PlotMsg_AxisLabelSep,
  };
  for (size_t i = 0; i < std::size(bad); ++i) {
    try {
      bad[i]();
      ADD_FAILURE() << "case " << i << " accepted";
    } catch (const chart::AxisException& e) {
      EXPECT_EQ(e.Message, texts[i]) << i;
    }
  }
  EXPECT_EQ(a->GetMinimum(), 0);
  EXPECT_EQ(a->GetMaximum(), 10);
  EXPECT_EQ(a->GetLogarithmicBase(), 10);
  EXPECT_EQ(a->GetIncrement(), 0);
  EXPECT_EQ(a->GetLabelsSeparation(), 10);
  // A logarithmic scale over negative values, or over date-times, is refused.
  a->SetAutomatic(true);
  EXPECT_THROW(a->SetLogarithmic(true), chart::AxisException);
  EXPECT_FALSE(a->GetLogarithmic());
  series->XValues()->SetDateTime(true);
  try {
    h.chart.BottomAxis()->SetLogarithmic(true);
    ADD_FAILURE();
  } catch (const chart::AxisException& e) {
    EXPECT_EQ(e.Message, chart::PlotMsg_AxisLogDateTime);
  }
}

TEST_F(EngineTest, AxisPositionsAndHits) {
  Chart h;
  TChartAxis* a = h.chart.BottomAxis();
  a->SetMinMax(0, 10);
  a->SetStartPosition(25);
  a->SetEndPosition(75);
  Layout(h.chart, a, TRect{100, 20, 300, 220});
  EXPECT_EQ(a->IStartPos(), 150);
  EXPECT_EQ(a->IEndPos(), 250);
  EXPECT_EQ(a->ICenterPos(), 200);
  EXPECT_EQ(a->CalcPosValue(10), 250);
  // Offsets into the chart: percent of the height, pixels, the other side the other way.
  a->SetPositionPercent(10);
  EXPECT_EQ(a->ApplyPosition(a->GetRectangleEdge(h.chart.ChartRect), h.chart.ChartRect), 200);
  a->SetPositionUnits(chart::muPixels);
  EXPECT_EQ(a->ApplyPosition(220, h.chart.ChartRect), 210);
  h.chart.TopAxis()->SetPositionPercent(10);
  EXPECT_EQ(h.chart.TopAxis()->ApplyPosition(20, h.chart.ChartRect), 40);
  // The depth axes map from depth 0 and share their inverted flag.
  TChartAxis* depth = h.chart.DepthAxis();
  h.chart.Depth3D = 30;
  depth->SetMinMax(0, 10);
  Layout(h.chart, depth, h.chart.ChartRect);
  EXPECT_EQ(depth->CalcPosValue(5), 15);
  EXPECT_EQ(depth->CalcXPosValue(0), 0);
  depth->SetInverted(true);
  EXPECT_TRUE(h.chart.DepthTopAxis()->GetInverted());
  EXPECT_EQ(depth->CalcYPosValue(0), 30);
  // Assign copies the settings, not the effective range.
  h.chart.RightAxis()->Assign(depth);
  EXPECT_TRUE(h.chart.RightAxis()->GetInverted());
  EXPECT_EQ(h.chart.RightAxis()->GetMaximum(), 10);
  EXPECT_FALSE(h.chart.RightAxis()->GetAutomatic());
  EXPECT_EQ(h.chart.RightAxis()->EffectiveMaximum(), 0);
  // An absurd percentage clamps instead of overflowing.
  a->SetEndPosition(1e300);
  a->InternalCalcPositions();
  EXPECT_EQ(a->IEndPos(), kLimit);
  a->SetEndPosition(100);
  a->InternalCalcPositions();
  // The click band runs from the labels to just beyond the line.
  a->PosAxis = 220;
  a->PosLabels = 235;
  const TRect band = a->AxisRect();
  EXPECT_EQ((std::vector<int>{band.Left, band.Top, band.Right, band.Bottom}),
            (std::vector<int>{150, 217, 300, 235}));
  EXPECT_FALSE(a->Clicked(200, 230));  // not visible in the last layout
  a->SetLayoutVisible(true);
  EXPECT_TRUE(a->Clicked(200, 230));
  EXPECT_TRUE(a->Clicked(150, 217));
  EXPECT_FALSE(a->Clicked(200, 216));
  EXPECT_FALSE(a->Clicked(301, 230));
}

}  // namespace
}  // namespace enginetest
