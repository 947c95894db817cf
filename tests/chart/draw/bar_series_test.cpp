// Bar series on headless 2D charts: slots, thickness and positions of every grouping, the bar
// styles and fills as device-context calls, the hit test, and the guards against dividing by zero.
#include "chart/series/bar_series.h"

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "chart/engine/axis.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

namespace gdi = platform::gdi;
using chart::TBarSeries;
using chart::TBarStyle;
using chart::TMultiBar;
using platform::TRect;

struct BarChart : AxisChart {
  using AxisChart::AxisChart;
  TBarSeries* Add(int points, double value = 10, TMultiBar mode = chart::mbNone) {
    auto* s = New<TBarSeries>();
    s->SetMultiBar(mode);
    for (int n = 1; n <= points; ++n) s->AddXY(n, value, {}, platform::clBlue);
    return s;
  }
};

TRect Rect(const gdi::DcCall& c) {
  return TRect{c.Args[0], c.Args[1], c.Args[2], c.Args[3]};
}

// The console's signal chart: 297 x 113, 2D, left axis 0..70 hidden, 16 of 32 points per page.
TEST_F(EngineTest, BarSeriesSignalChartGoldenNumbers) {
  BarChart c(297, 113);
  TBarSeries* s = c.Add(32, 55);
  c.LeftAxis()->SetMinMax(0, 70);
  c.LeftAxis()->SetVisible(false);
  c.BottomAxis()->SetLabelStyle(chart::talText);
  c.SetPointsPerPage(16);
  s->Marks()->SetVisible(false);
  c.Record(nullptr);
  chart::TChartAxis* bottom = c.BottomAxis();
  chart::TChartAxis* left = c.LeftAxis();
  EXPECT_EQ(bottom->IStartPos(), 9);
  EXPECT_EQ(bottom->IEndPos(), 288);
  // Slot 279 div 16 = 17; round(0.7 x 17) = 12, even; margins of 12 widen 1..16 to 17 px/unit.
  EXPECT_EQ(s->BarThickness, 12);
  EXPECT_NEAR(bottom->EffectiveMinimum(), 0.2941, 1e-4);
  EXPECT_NEAR(bottom->EffectiveMaximum(), 16.7059, 1e-4);
  const auto rects = c.Only("Rectangle");
  ASSERT_EQ(rects.size(), 16u);
  // The bottom is value 0 of the fixed axis; the top 55/70 of the way up.
  const int chartBottom = left->IEndPos();
  const int top =
      chartBottom - static_cast<int>(std::lround(55.0 * (chartBottom - left->IStartPos()) / 70));
  for (int k = 1; k <= 16; ++k) {
    EXPECT_EQ(bottom->CalcPosValue(k), 21 + 17 * (k - 1));
    EXPECT_EQ(Rect(rects[k - 1]), (TRect{15 + 17 * (k - 1), top, 28 + 17 * (k - 1), chartBottom}))
        << k;
    EXPECT_EQ(rects[k - 1].Brush.Color, platform::clBlue) << k;
  }
}

// Slots, thickness, bar positions and margins of the bar groupings.
TEST_F(EngineTest, BarSeriesGroupingGeometry) {
  struct Case {
    const char* name;
    int axis, series, points, perPage;
    TMultiBar mode;
    int custom, percent, penWidth;
    int slotCount, thickness;
    std::vector<int> leftOfX;  // first bar's left edge minus its point's pixel, per series
    int width;                 // Right - Left; 0: touching the next bar
    int margin;
  };
  const Case cases[] = {
      // 400 div 11 = 36; round(25.2) = 25 div 2 = 12.
      {"two side by side", 400, 2, 10, 0, chart::mbSide, 0, 70, 1, 11, 12, {-12, 0}, 13, 24},
      // 300 div 16 = 18; round(12.6) = 13, odd: 14.
      {"none, 16 a page", 300, 1, 32, 16, chart::mbNone, 0, 70, 1, 16, 14, {-7}, 15, 14},
      {"custom width", 300, 1, 32, 16, chart::mbNone, 9, 70, 1, 16, 9, {-4}, 10, 9},
      {"full width touches", 300, 1, 32, 16, chart::mbNone, 0, 100, 3, 16, 18, {-9}, 0, 18},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    BarChart c(k.axis, 200);
    c.LeftAxis()->SetVisible(false);
    std::vector<TBarSeries*> bars;
    for (int i = 0; i < k.series; ++i) bars.push_back(c.Add(k.points, 10, k.mode));
    for (TBarSeries* b : bars) {
      b->SetCustomBarWidth(k.custom);
      b->SetBarWidthPercent(k.percent);
      b->GetBarPen()->SetWidth(k.penWidth);
    }
    c.SetPointsPerPage(k.perPage);
    c.Layout();
    chart::TChartAxis* bottom = c.BottomAxis();
    ASSERT_EQ(bottom->IAxisSize(), k.axis);
    for (size_t i = 0; i < bars.size(); ++i) {
      TBarSeries* b = bars[i];
      EXPECT_EQ(b->SlotCount, k.slotCount);
      EXPECT_EQ(b->BarThickness, k.thickness);
      EXPECT_EQ(b->BarMargin(), k.margin);
      EXPECT_EQ(b->BarOrder, k.mode == chart::mbSide ? static_cast<int>(i) + 1 : 1);
      EXPECT_EQ(b->CalcXPos(0), b->TChartSeries::CalcXPos(0) + k.leftOfX[i]) << i;
      b->CalcBarBounds(1);
      if (k.width != 0) {
        EXPECT_EQ(b->BarRect.Right - b->BarRect.Left, k.width);
      } else {
        EXPECT_EQ(b->BarRect.Right, b->CalcXPos(2) + 1 - k.penWidth / 2);
        b->CalcBarBounds(b->Count() - 1);
        EXPECT_EQ(b->BarRect.Right, b->BarRect.Left + k.thickness + 1 - k.penWidth / 2);
      }
    }
    // The first point stands exactly one margin inside the axis.
    EXPECT_EQ(bottom->CalcPosValue(1) - bottom->IStartPos(), k.margin);
  }
}

// Stacking by sign and by group, and bars that do not start at YOrigin.
TEST_F(EngineTest, BarSeriesStacksAndOrigin) {
  BarChart c(300, 300);
  TBarSeries* a = c.Add(0, 0, chart::mbStacked);
  TBarSeries* b = c.Add(0, 0, chart::mbStacked);
  TBarSeries* g = c.Add(0, 0, chart::mbStacked);
  g->SetStackGroup(1);
  for (double v : {5.0, -3.0}) a->Add(v);
  for (double v : {2.0, -4.0}) b->Add(v);
  for (double v : {7.0, 1.0}) g->Add(v);
  c.Layout();
  chart::TChartAxis* left = c.LeftAxis();
  // Two groups, two slots: a and b share the first, g stands in the second.
  EXPECT_EQ(b->SideBySideCount, 2);
  EXPECT_EQ(a->BarOrder, 1);
  EXPECT_EQ(b->BarOrder, 1);
  EXPECT_EQ(g->BarOrder, 2);
  EXPECT_EQ(g->CalcXPos(0) - a->CalcXPos(0), a->BarThickness);
  // Positives stack upward from 0, negatives downward, each on its own.
  const struct {
    TBarSeries* s;
    int index;
    double top, bottom;
  } bars[] = {{a, 0, 5, 0},   {b, 0, 7, 5}, {a, 1, -3, 0},
              {b, 1, -7, -3}, {g, 0, 7, 0}, {g, 1, 1, 0}};
  for (const auto& e : bars) {
    e.s->CalcBarBounds(e.index);
    EXPECT_EQ(e.s->BarRect.Top, left->CalcYPosValue(e.top));
    EXPECT_EQ(e.s->BarRect.Bottom, left->CalcYPosValue(e.bottom));
  }
  EXPECT_DOUBLE_EQ(b->MaxYValue(), 7);
  EXPECT_DOUBLE_EQ(b->MinYValue(), -7);

  // Without YOrigin bars stand on the axis' bottom, and the range is not pulled to 0.
  BarChart d(300, 300);
  TBarSeries* s = d.Add(0, 0, chart::mbNone);
  for (double v : {5.0, 8.0}) s->Add(v);
  EXPECT_DOUBLE_EQ(s->MinYValue(), 0);
  s->SetUseYOrigin(false);
  EXPECT_DOUBLE_EQ(s->MinYValue(), 5);
  d.Layout();
  s->CalcBarBounds(0);
  EXPECT_EQ(s->BarRect.Bottom, d.LeftAxis()->IEndPos());
  EXPECT_GT(d.LeftAxis()->EffectiveMinimum(), 0);
}

// 100 % stacks take shares of the point's total of absolute values, negatives below 0, both ways.
TEST_F(EngineTest, BarSeriesStacked100ByAbsoluteShares) {
  // a, b; a's end; b's start and end; the value axis' minimum (its maximum stays 100).
  const std::array<double, 6> cases[] = {{60, -20, 75, 0, -25, -25}, {30, 10, 75, 75, 100, 0}};
  for (bool across : {false, true})
    for (const auto& [a, b, aTo, bFrom, bTo, axisMin] : cases) {
      BarChart c(300, 300);
      chart::TCustomBarSeries* s[2];
      for (int i = 0; i < 2; ++i) {
        s[i] = across ? static_cast<chart::TCustomBarSeries*>(c.New<chart::THorizBarSeries>())
                      : c.New<TBarSeries>();
        s[i]->SetMultiBar(chart::mbStacked100);
        across ? s[i]->AddXY(i ? b : a, 1) : s[i]->AddXY(1, i ? b : a);
      }
      c.Layout();
      chart::TChartAxis* axis = across ? c.BottomAxis() : c.LeftAxis();
      double lo = 0, hi = 0;
      axis->CalcMinMax(lo, hi);
      EXPECT_EQ(std::pair(lo, hi), std::pair(axisMin, 100.0)) << a << " " << across;
      const double ends[2][2] = {{0, aTo}, {bFrom, bTo}};
      for (int i = 0; i < 2; ++i) {
        s[i]->CalcBarBounds(0);
        const TRect& r = s[i]->BarRect;
        EXPECT_EQ(across ? std::pair(r.Left, r.Right) : std::pair(r.Bottom, r.Top),
                  std::pair(axis->CalcPosValue(ends[i][0]), axis->CalcPosValue(ends[i][1])))
            << a << " " << across << " " << i;
      }
    }
}

// Records the tick lines a bar asks for.
class TickSpy : public TBarSeries {
 public:
  using TBarSeries::TBarSeries;
  void DrawTickLine(int pos, TBarStyle style) override {
    ticks.push_back({pos, style});
    TBarSeries::DrawTickLine(pos, style);
  }
  std::vector<std::pair<int, int>> ticks;
};

// One chart 300 x 300, left axis 0..100 with a tick every 10, bars drawn by themselves.
struct StyleChart {
  StyleChart() {
    c.LeftAxis()->SetMinMax(0, 100);
    c.LeftAxis()->SetIncrement(10);
    s = new TickSpy(&c.form);
    c.AddSeries(s);
    s->SetMultiBar(chart::mbNone);
    s->Marks()->SetVisible(false);
  }
  void Draw() {
    c.Record([this] {
      c.LeftAxis()->CalcLabelsAndTicks();
      s->DrawAllValues();
    });
  }
  BarChart c{300, 300};
  TickSpy* s;
};

TEST_F(EngineTest, BarSeriesStyleEdgeCases) {
  // A handler gives each point its own style; 13 is no style: no shape, only the tick lines.
  {
    StyleChart t;
    for (int i = 0; i < 3; ++i) t.s->AddXY(i + 1, 50);
    t.s->GetTickLines()->SetVisible(true);
    t.s->OnGetBarStyle = [](chart::TCustomBarSeries*, int i, TBarStyle& style) {
      style = i == 0 ? chart::bsRectangle : i == 1 ? chart::bsPyramid : TBarStyle(13);
    };
    t.Draw();
    EXPECT_EQ(t.c.Only("Rectangle").size(), 1u);
    EXPECT_EQ(t.c.Only("Polygon").size(), 1u);
    chart::TChartAxis* left = t.c.LeftAxis();
    // Ticks at 0 and 50 lie on the bar's ends: only 10..40 are inside.
    std::vector<std::pair<int, int>> inside;
    for (int style : {0, 1, 13})
      for (double v : {40, 30, 20, 10}) inside.push_back({left->CalcPosValue(v), style});
    EXPECT_EQ(t.s->ticks, inside);
    // The rectangle's four are drawn, pyramid and no-style draw none.
    int tickLines = 0;
    const int right = t.c.Only("Rectangle").at(0).Args[2];
    for (const auto& l : t.c.Only("LineTo")) tickLines += l.Args[0] == right;
    EXPECT_EQ(tickLines, 4);
  }
  // A bar of no height: a line in the brush colour.
  {
    StyleChart t;
    t.s->AddXY(1, 0, {}, platform::clBlue);
    t.s->GetBarPen()->SetColor(platform::clBlack);
    t.Draw();
    const auto lines = t.c.Only("LineTo");
    ASSERT_EQ(lines.size(), 1u);
    const int y = t.c.LeftAxis()->CalcPosValue(0);
    EXPECT_EQ(lines[0].Args, (std::vector<int>{t.s->CalcXPos(0) + t.s->BarThickness + 1, y}));
    EXPECT_EQ(lines[0].Pen.Color, platform::clBlue);
  }
  // Thinner than its pen: the outline alone, in the brush colour.
  {
    StyleChart t;
    t.s->AddXY(1, 50, {}, platform::clBlue);
    t.s->GetBarPen()->SetColor(platform::clBlack);
    t.s->GetBarPen()->SetWidth(400);  // wider than the 300-pixel axis
    t.Draw();
    const auto rects = t.c.Only("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Brush.Style, gdi::BS_NULL);
    EXPECT_EQ(rects[0].Pen.Color, platform::clBlue);
  }
}

// Every style in 2D as device-context calls; in 3D each draws a solid.
TEST_F(EngineTest, BarSeriesStylesRecorded) {
  for (int style = 0; style <= 12; ++style) {
    SCOPED_TRACE(style);
    StyleChart t;
    t.s->AddXY(1, 50);
    t.s->SetBarStyle(TBarStyle(style));
    t.Draw();
    const TRect& r = t.s->BarRect;
    const int mid = (r.Left + r.Right) / 2, top = r.Top, bottom = r.Bottom;
    const auto polys = t.c.Only("Polygon");
    const bool up = style == chart::bsPyramid || style == chart::bsCone;
    const int base = up ? bottom : top, apex = up ? top : bottom;
    switch (TBarStyle(style)) {
      case chart::bsPyramid:
      case chart::bsCone:
      case chart::bsInvPyramid:
      case chart::bsInvCone:
        ASSERT_EQ(polys.size(), 1u);
        EXPECT_EQ(polys[0].Args, (std::vector<int>{r.Left, base, mid, apex, r.Right, base}));
        break;
      case chart::bsDiamond:
        ASSERT_EQ(polys.size(), 1u);
        EXPECT_EQ(polys[0].Args, (std::vector<int>{mid, top, r.Right, (top + bottom) / 2, mid,
                                                   bottom, r.Left, (top + bottom) / 2}));
        break;
      case chart::bsEllipse:
        ASSERT_EQ(t.c.Only("Ellipse").size(), 1u);
        EXPECT_EQ(Rect(t.c.Only("Ellipse")[0]), r);
        break;
      case chart::bsArrow:
      case chart::bsInvArrow: {
        // The head at the top for an arrow, at the bottom for the inverted one.
        ASSERT_FALSE(polys.empty());
        int tipY = polys[0].Args[1];
        for (size_t i = 1; i < polys[0].Args.size(); i += 2)
          tipY = style == chart::bsArrow ? std::min(tipY, polys[0].Args[i])
                                         : std::max(tipY, polys[0].Args[i]);
        EXPECT_EQ(tipY, style == chart::bsArrow ? top : bottom);
        break;
      }
      default: {
        const auto rects = t.c.Only("Rectangle");
        ASSERT_FALSE(rects.empty());
        EXPECT_EQ(Rect(rects[0]), r);
        const size_t after = t.c.calls.size() - 1;
        if (style == chart::bsSlantCube)
          EXPECT_EQ(t.c.Only("LineTo").back().Args, (std::vector<int>{mid, bottom}));
        else if (style == chart::bsRectGradient || style == chart::bsBevel)
          EXPECT_GT(after, 0u);  // the gradient or the bevel frame follows
        else
          EXPECT_EQ(after, 0u);
      }
    }
    t.c.SetView3D(true);
    t.s->GetTickLines()->SetVisible(true);
    t.Draw();
    EXPECT_FALSE(t.c.calls.empty());
  }
}

// The groupings through the full drawing pass: each series' first bars.
TEST_F(EngineTest, BarSeriesGroupingsRecorded) {
  struct Case {
    TMultiBar mode;
    // From the two rectangles of each series and the thickness.
    std::function<void(const std::vector<TRect>& a, const std::vector<TRect>& b, int t)> check;
  };
  using R = const std::vector<TRect>&;
  const Case cases[] = {
      {chart::mbSide,
       [](R a, R b, int t) {
         EXPECT_EQ(b[0], (TRect{a[0].Left + t, a[0].Top, a[0].Right + t, a[0].Bottom}));
       }},
      {chart::mbStacked,
       [](R a, R b, int) {
         EXPECT_EQ(b[0].Bottom, a[0].Top);
         EXPECT_EQ(b[0].Left, a[0].Left);
       }},
      {chart::mbSelfStack,
       [](R a, R b, int) {
         EXPECT_EQ(a[1].Bottom, a[0].Top);
         EXPECT_GT(b[0].Left, a[0].Left);
       }},
      // One row: the slots are a pixel apart at most.
      {chart::mbSideAll,
       [](R a, R b, int) { EXPECT_NEAR(b[0].Left - a[1].Left, a[1].Left - a[0].Left, 1); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    BarChart c(400, 300);
    TBarSeries* a = c.Add(0, 0, k.mode);
    TBarSeries* b = c.Add(0, 0, k.mode);
    for (TBarSeries* s : {a, b}) {
      s->Marks()->SetVisible(false);
      for (double v : {10.0, 20.0}) s->Add(v);
    }
    c.Record(nullptr);
    const auto rects = c.Only("Rectangle");
    ASSERT_GE(rects.size(), 4u);
    // Bars are drawn series by series (list order) or point by point (one Z order).
    std::vector<TRect> ofA, ofB;
    for (const auto& r : rects)
      (r.Brush.Color == a->GetSeriesColor() ? ofA : ofB).push_back(Rect(r));
    ASSERT_EQ(ofA.size(), 2u);
    ASSERT_EQ(ofB.size(), 2u);
    k.check(ofA, ofB, a->BarThickness);
  }
}

TEST_F(EngineTest, BarSeriesHitTest) {
  const struct {
    TBarStyle style;
    double fx, fy;  // fraction of the bar's width and height from its top-left corner
    int expected;
  } cases[] = {
      {chart::bsRectangle, 0.5, 0.5, 0},   {chart::bsRectangle, 0.05, 0.95, 0},
      {chart::bsRectangle, 0.5, -0.2, -1}, {chart::bsRectangle, -0.3, 0.5, -1},
      {chart::bsPyramid, 0.5, 0.5, 0},     {chart::bsPyramid, 0.05, 0.1, -1},
      {chart::bsInvPyramid, 0.05, 0.1, 0}, {chart::bsInvPyramid, 0.05, 0.95, -1},
      {chart::bsEllipse, 0.5, 0.5, 0},     {chart::bsEllipse, 0.05, 0.05, -1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << int(k.style) << " " << k.fx << " " << k.fy);
    StyleChart t;
    t.s->SetBarWidthPercent(90);
    t.s->AddXY(1, 80);
    t.s->SetBarStyle(k.style);
    t.Draw();
    const int x0 = t.s->CalcXPos(0), y0 = t.s->CalcYPos(0);
    const int w = t.s->BarThickness, h = t.s->GetOriginPos(0) - y0;
    EXPECT_EQ(t.s->Clicked(x0 + int(k.fx * w), y0 + int(k.fy * h)), k.expected);
  }
}

// No division by zero, no undefined value as a pixel.
TEST_F(EngineTest, BarSeriesZeroDivisorsAreGuarded) {
  // Inactive: no group counted, so no thickness and no margin.
  {
    BarChart c(300, 300);
    TBarSeries* s = c.Add(32, 10, chart::mbSide);
    c.SetPointsPerPage(16);
    c.Layout();
    s->SetActive(false);
    s->DoBeforeDrawChart();
    EXPECT_EQ(s->SideBySideCount, 0);
    EXPECT_EQ(s->SlotCount, 16);
    int left = 0, right = 0;
    s->CalcHorizMargins(left, right);
    EXPECT_EQ(s->BarThickness, 0);
    EXPECT_EQ(left + right, 0);
  }
  // 100 % of a zero stack: no height, at the axis origin.
  {
    BarChart c(300, 300);
    c.Add(2, 0, chart::mbStacked100);
    TBarSeries* b = c.Add(2, 0, chart::mbStacked100);
    b->SetYValue(1, 4);
    c.Layout();
    const int zero = c.LeftAxis()->CalcPosValue(0);
    b->CalcBarBounds(0);
    EXPECT_EQ(b->BarRect.Top, zero);
    EXPECT_EQ(b->BarRect.Bottom, zero);
    b->CalcBarBounds(1);
    EXPECT_EQ(b->BarRect.Top, c.LeftAxis()->CalcPosValue(100));
  }
  // A relative gradient over equal bounds: the plain bar colour.
  for (bool useOrigin : {true, false}) {
    StyleChart t;
    t.s->SetUseYOrigin(useOrigin);
    t.s->SetYOrigin(5);
    for (int i = 1; i <= 2; ++i) t.s->AddXY(i, 5, {}, 0x336699);
    t.s->SetBarStyle(chart::bsRectGradient);
    t.s->GetGradient()->SetRelative(true);
    t.Draw();
    EXPECT_EQ(t.s->GetGradient()->GetEndColor(), 0x336699u);
    // Half way between origin and maximum: half way from white.
    t.s->SetYOrigin(0);
    t.s->SetYValue(0, 10);
    t.s->SetUseYOrigin(true);
    t.Draw();
    // Red 0x99 and blue 0x33 go half way from 255; green 255 - 76.5 rounds to even: 0xB3.
    EXPECT_EQ(t.s->GetGradient()->GetEndColor(), 0x99B3CCu);
  }
}

}  // namespace
}  // namespace enginetest

namespace enginetest {
namespace {

// The bevel frame lies inside its bar, also for a bar hanging below its origin.
TEST_F(EngineTest, BarSeriesBevelStaysInsideTheBar) {
  for (double value : {30.0, -30.0}) {
    BarChart c(200, 200);
    TBarSeries* s = c.Add(1, value);
    s->SetBarStyle(chart::bsBevel);
    s->SetBevelSize(3);
    s->Marks()->SetVisible(false);
    c.LeftAxis()->SetMinMax(-40, 40);
    c.Record(nullptr);
    // The frames drawn after the bar itself.
    std::vector<gdi::DcCall> polylines;
    bool afterBar = false;
    for (const auto& call : c.calls) {
      if (call.Op == "Rectangle" && call.Brush.Color == platform::clBlue) afterBar = true;
      if (afterBar && call.Op == "Polyline") polylines.push_back(call);
    }
    ASSERT_EQ(polylines.size(), 6u) << value;
    const TRect bar = s->BarRect;
    const int left = std::min(bar.Left, bar.Right), right = std::max(bar.Left, bar.Right);
    const int top = std::min(bar.Top, bar.Bottom), bottom = std::max(bar.Top, bar.Bottom);
    for (const auto& p : polylines)
      for (size_t i = 0; i + 1 < p.Args.size(); i += 2) {
        EXPECT_GT(p.Args[i], left - 1) << value;
        EXPECT_LT(p.Args[i], right) << value;
        EXPECT_GE(p.Args[i + 1], top) << value;
        EXPECT_LT(p.Args[i + 1], bottom) << value;
      }
    // Light from the top left: the first frame's top edge is the bright one.
    EXPECT_EQ(polylines[0].Args[3], polylines[0].Args[5]) << value;
    EXPECT_EQ(polylines[0].Args[3], top + 1) << value;
  }
}

}  // namespace
}  // namespace enginetest
