// Horizontal bar series on headless charts: the console's signal chart with its axes swapped,
// the bounds' edge cases, the styles as device-context calls, the hit test and the 3D draw order.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/engine/axis.h"
#include "chart/series/bar_series.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TBarStyle;
using chart::THorizBarSeries;
using Args = std::vector<int>;

// A 2D chart whose drawing pass is recorded; bars stand at Y = 1, 2, 3 ...; axes hidden.
struct HorizChart : AxisChart {
  explicit HorizChart(int height = 305) : AxisChart(297, height) {
    LeftAxis()->SetVisible(false);
    BottomAxis()->SetVisible(false);
  }
  THorizBarSeries* Add(const std::vector<double>& values, TBarStyle style = chart::bsRectangle) {
    auto* s = new THorizBarSeries(this);
    AddSeries(s);
    s->SetMultiBar(chart::mbNone);
    s->SetBarStyle(style);
    s->Marks()->SetVisible(false);
    for (size_t i = 0; i < values.size(); ++i)
      s->AddXY(values[i], double(i + 1), std::to_string(i + 1), platform::clBlue);
    return s;
  }
  // The arguments of every op call in a full pass.
  std::vector<Ints> Record(const std::string& op) {
    AxisChart::Record();
    return Args(op);
  }
};

// The signal chart on its side: bottom axis 0..70, left labels as text, 16 of 32 points a page.
TEST_F(EngineTest, HorizBarSeriesSignalChartGoldenNumbers) {
  HorizChart c;
  THorizBarSeries* s = c.Add(std::vector<double>(32, 55));
  c.BottomAxis()->SetMinMax(0, 70);
  c.LeftAxis()->SetVisible(true);
  c.LeftAxis()->SetLabelStyle(chart::talText);
  c.SetPointsPerPage(16);
  const auto rects = c.Record("Rectangle");
  // Axis 13..292: slot 279 div 16 = 17; round(0.7 x 17) = 12; margins of 12, 17 px a unit.
  EXPECT_EQ(s->BarThickness, 12);
  ASSERT_EQ(rects.size(), 16u);
  const int origin = c.BottomAxis()->IStartPos();
  const int end = origin + int(std::lround(55.0 * (c.BottomAxis()->IEndPos() - origin) / 70));
  // Point k at 280 - 17 (k - 1); 12 high less the pen: Bottom = Top + 11.
  for (int k = 1; k <= 16; ++k)
    EXPECT_EQ(rects[k - 1], (Args{origin, 274 - 17 * (k - 1), end, 285 - 17 * (k - 1)})) << k;
}

TEST_F(EngineTest, HorizBarSeriesBoundsEdgeCases) {
  const struct {
    const char* name;
    std::vector<double> values;
    int percent, penWidth;
    bool pen, inverted, useOrigin;
    int index, thickness;
    int reach;  // touching: Bottom is this point's top; -1: Bottom = Top + thickness + below
    int below;
  } cases[] = {
      // 3 points: 4 slots of 279 div 4 = 69; round(0.7 x 69) = 48; 69 odd: 70.
      {"thinner than the slot", {10, 20, 30}, 70, 1, true, false, true, 1, 48, -1, -1},
      {"touching, first point", {10, 20, 30}, 100, 3, true, false, true, 0, 70, -1, -3},
      {"touching, up to the point below", {10, 20, 30}, 100, 3, true, false, true, 2, 70, 1, 0},
      {"touching inverted, last point", {10, 20, 30}, 100, 3, true, true, true, 2, 70, -1, -3},
      {"touching inverted, to the next", {10, 20, 30}, 100, 3, true, true, true, 0, 70, 1, 0},
      // 2 points: 279 div 3 = 93; round(65.1) = 65, odd: 66.
      {"no origin: the axis' left end", {5, 8}, 70, 1, true, false, false, 0, 66, -1, -1},
      {"pointing left, pen hidden", {-10, 20}, 70, 1, false, false, true, 0, 66, -1, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    HorizChart c;
    c.LeftAxis()->SetInverted(k.inverted);
    THorizBarSeries* s = c.Add(k.values);
    s->SetBarWidthPercent(k.percent);
    s->GetBarPen()->SetWidth(k.penWidth);
    s->GetBarPen()->SetVisible(k.pen);
    s->SetUseYOrigin(k.useOrigin);
    c.Record("");
    EXPECT_EQ(s->BarThickness, k.thickness);
    s->CalcBarBounds(k.index);
    const int y = s->CalcYPos(k.index);
    int left = k.useOrigin ? c.BottomAxis()->CalcPosValue(0) : c.BottomAxis()->IStartPos();
    int right = c.BottomAxis()->CalcPosValue(k.values[k.index]);
    // A hidden pen: one more pixel at the value end, or at both ends of a bar pointing left.
    if (!k.pen) right > left ? ++right : (++left, --right);
    const int bottom = k.reach >= 0 ? s->CalcYPos(k.reach) : y + k.thickness + k.below;
    EXPECT_EQ(s->BarRect, (platform::TRect{left, y, right, bottom}));
  }
  // Side by side the first series' bar stands above the second's; stacked, they meet end to end.
  for (auto mode : {chart::mbSide, chart::mbStacked}) {
    HorizChart c;
    THorizBarSeries* a = c.Add({10, 20});
    THorizBarSeries* b = c.Add({5, 5});
    a->SetMultiBar(mode);
    c.Record("");
    a->CalcBarBounds(1);
    b->CalcBarBounds(1);
    EXPECT_EQ(b->BarRect.Top - a->BarRect.Top, mode == chart::mbSide ? a->BarThickness : 0);
    EXPECT_EQ(b->BarRect.Left, mode == chart::mbSide ? a->BarRect.Left : a->BarRect.Right);
  }
  // Marks' room goes where bars below the origin point: left, or right on an inverted axis.
  for (bool inverted : {false, true}) {
    HorizChart c;
    c.BottomAxis()->SetInverted(inverted);
    THorizBarSeries* s = c.Add({-5, -8});
    s->Marks()->SetVisible(true);
    c.Record("");
    int left = 0, right = 0;
    s->CalcHorizMargins(left, right);
    const int room = s->MaxMarkWidth() + 20 + 2 * s->Marks()->GetFrame()->GetWidth() + 1;
    EXPECT_EQ(Args({left, right}), inverted ? Args({0, room}) : Args({room, 0}));
  }
}

// In 3D, bars that share a depth draw as one group, point by point, the later series first;
// bars each at a depth of their own draw series by series. Each bar's front face has its colour.
TEST_F(EngineTest, HorizBarSeriesDrawOrderIn3D) {
  using platform::TColor;
  constexpr TColor a0 = 0x0000A0, a1 = 0x00A000, b0 = 0xA00000, b1 = 0xA000A0;
  const struct {
    chart::TMultiBar mode;
    std::vector<TColor> fronts;
  } cases[] = {
      {chart::mbNone, {a0, a1, b0, b1}},
      {chart::mbSide, {b0, a0, b1, a1}},
      {chart::mbSideAll, {b0, a0, b1, a1}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(int(k.mode));
    HorizChart c;
    c.SetView3D(true);
    THorizBarSeries* a = c.Add({});
    THorizBarSeries* b = c.Add({});
    for (int i = 0; i < 2; ++i) {
      a->AddXY(i + 1, i, "", i ? a1 : a0);
      b->AddXY(i + 1, i, "", i ? b1 : b0);
    }
    a->SetMultiBar(k.mode);  // every bar series of the chart takes it
    c.Record("");
    std::vector<TColor> fronts;
    for (const auto& call : c.Only("Polygon"))
      if (std::ranges::count(std::vector{a0, a1, b0, b1}, call.Brush.Color))
        fronts.push_back(call.Brush.Color);
    EXPECT_EQ(fronts, k.fronts);
  }
}

// Every style in 2D as device-context calls, and where a click hits it; one bar 0..50 of 100.
TEST_F(EngineTest, HorizBarSeriesStylesAndHitTest) {
  for (int style = 0; style <= 12; ++style) {
    SCOPED_TRACE(style);
    HorizChart c(300);
    c.BottomAxis()->SetMinMax(0, 100);
    THorizBarSeries* s = c.Add({50}, TBarStyle(style));
    c.Record("");
    const int l = s->BarRect.Left, t = s->BarRect.Top, r = s->BarRect.Right, b = s->BarRect.Bottom;
    const int mid = (t + b) / 2, along = (l + r) / 2;
    const Args box{l, t, r, b}, pyramid{l, t, r, mid, l, b}, inverse{r, t, l, mid, r, b};
    const Args diamond{l, mid, along, t, r, mid, along, b}, head{r, mid}, tail{l, mid};
    // By style: the call's arguments; an arrow's polygon holds its tip.
    const std::vector<Args> shapes = {box,     pyramid, inverse, box,     box,  head,   box,
                                      pyramid, box,     box,     diamond, tail, inverse};
    const Args& want = shapes[style];
    const auto drawn = c.Record(style == chart::bsEllipse ? "Ellipse"
                                : want == box             ? "Rectangle"
                                                          : "Polygon");
    ASSERT_EQ(drawn.size(), 1u);
    bool tip = false;
    for (size_t i = 0; i + 1 < drawn[0].size(); i += 2)
      tip |= Args{drawn[0][i], drawn[0][i + 1]} == want;
    EXPECT_TRUE(want.size() == 2 ? tip : drawn[0] == want);
    EXPECT_TRUE((style != chart::bsSlantCube || c.Record("LineTo").back() == Args{r, mid}));
    // The middle hits every shape; the corner at the value end misses pyramids and ellipses.
    const bool cornerOff =
        style == chart::bsPyramid || style == chart::bsCone || style == chart::bsEllipse;
    EXPECT_EQ(s->Clicked(along, mid), 0);
    EXPECT_EQ(s->Clicked(r - 2, t + 2), cornerOff ? -1 : 0);
    EXPECT_EQ(s->Clicked(r + 5, mid) + s->Clicked(along, b + 5), -2);
    c.SetView3D(true);
    c.Record("");
    EXPECT_FALSE(c.calls.empty());
  }
}

// Ticks 10..40 lie inside a bar of 50; in 3D each goes on in depth along the face in view.
TEST_F(EngineTest, HorizBarSeriesTickDepthLineOnTheFaceInView) {
  for (int elevation : {0, 345, 15}) {  // 0: orthogonal
    SCOPED_TRACE(elevation);
    HorizChart c(300);
    c.BottomAxis()->SetMinMax(0, 100);
    c.BottomAxis()->SetIncrement(10);
    c.BottomAxis()->SetVisible(true);
    THorizBarSeries* s = c.Add({50});
    s->GetTickLines()->SetVisible(true);
    c.SetView3D(true);
    c.GetView3DOptions()->SetOrthogonal(elevation == 0);
    if (elevation) c.GetView3DOptions()->SetElevation(elevation);
    const auto lines = c.Record("LineTo");
    chart::TCanvas3D& canvas = *c.GetCanvas3D();
    const platform::TRect& r = s->BarRect;
    const bool fromBelow = canvas.Calculate3DPosition(r.Left, r.Top, s->EndZ).Y >
                           canvas.Calculate3DPosition(r.Left, r.Top, s->StartZ).Y;
    EXPECT_EQ(fromBelow, elevation == 15);
    for (double v : {10, 20, 30, 40}) {
      const platform::TPoint back = canvas.Calculate3DPosition(
          c.BottomAxis()->CalcPosValue(v), fromBelow ? r.Bottom : r.Top, s->EndZ);
      EXPECT_EQ(std::ranges::count(lines, Args{back.X, back.Y}), 1) << v;
    }
  }
}

}  // namespace
}  // namespace enginetest
