// Line, area and point series on headless charts: stacking, the segment coming in from outside
// the plot, stairs, areas down to their origin, 3D faces, the shadow and outline passes, and point
// series that never join their points, as device-context calls.
#include "chart/series/line_series.h"

#include <array>
#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/engine/axis.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TAreaSeries;
using chart::TLineSeries;
using chart::TPointSeries;
using platform::clBlue;
using platform::clRed;
using platform::TColor;
using platform::TRect;
using Ints = std::vector<int>;

// 300 x 300 with hidden axes: the plot is (10, 13, 290, 287) (frame 1, then 3 % and 4 %).
struct LineChart : AxisChart {
  LineChart() : AxisChart(300, 300) {
    LeftAxis()->SetVisible(false);
    BottomAxis()->SetVisible(false);
  }
  template <class S>
  S* Add(const std::vector<double>& ys, TColor color) {
    auto* s = New<S>();
    s->SetSeriesColor(color);
    for (size_t i = 0; i < ys.size(); ++i) s->AddXY(static_cast<double>(i + 1), ys[i]);
    return s;
  }
  // Each MoveToEx in pen colour c with the LineTo's that follow it.
  std::vector<Ints> Paths(TColor c) const {
    std::vector<Ints> out;
    for (const auto& k : calls) {
      if (k.Pen.Color != c || (k.Op != "MoveToEx" && (k.Op != "LineTo" || out.empty()))) continue;
      if (k.Op == "MoveToEx") out.emplace_back();
      out.back().insert(out.back().end(), k.Args.begin(), k.Args.end());
    }
    return out;
  }
  int X(double v) { return BottomAxis()->CalcXPosValue(v); }
  int Y(double v) { return LeftAxis()->CalcYPosValue(v); }
};

TEST_F(EngineTest, LineSeriesStacking) {
  LineChart c;
  c.LeftAxis()->SetMinMax(-10, 10);
  TLineSeries* a = c.Add<TLineSeries>({5, -3, 2}, clRed);
  TLineSeries* b = c.Add<TLineSeries>({2, -4, 3}, clBlue);
  a->SetStacked(chart::cssStack);
  EXPECT_EQ(b->GetStacked(), chart::cssStack);
  c.Record();
  // On a: 5 + 2, -3 - 4 (downward from the negative sum), 2 + 3.
  const std::vector<Ints> onA{{c.X(1), c.Y(7), c.X(2), c.Y(-7)}, {c.X(2), c.Y(-7), c.X(3), c.Y(5)}};
  EXPECT_EQ(c.Paths(clBlue), onA);
  EXPECT_EQ(c.Paths(clRed)[0], (Ints{c.X(1), c.Y(5), c.X(2), c.Y(-3)}));
  EXPECT_EQ(b->GetOriginPos(1), c.Y(-3));
  EXPECT_DOUBLE_EQ(b->MaxYValue(), 7);
  EXPECT_DOUBLE_EQ(b->MinYValue(), -7);

  // 100 %: a total of 0 sits at the axis' end pixel; 1 of 1 + 3 is 25 %.
  a->SetStacked(chart::cssStack100);
  a->SetYValue(0, 0);
  b->SetYValue(0, 0);
  a->SetYValue(1, 1);
  b->SetYValue(1, 3);
  c.LeftAxis()->SetAutomatic(true);
  c.Record();
  EXPECT_DOUBLE_EQ(b->MaxYValue(), 100);
  EXPECT_DOUBLE_EQ(b->MinYValue(), 0);
  EXPECT_EQ(b->CalcYPos(0), c.LeftAxis()->IEndPos());
  EXPECT_EQ(a->CalcYPos(1), c.Y(25));
  EXPECT_EQ(b->CalcYPos(1), c.Y(100));
}

TEST_F(EngineTest, LineSeriesStartsAtThePlotEdge) {
  LineChart c;
  c.BottomAxis()->SetMinMax(2.5, 10);
  c.LeftAxis()->SetMinMax(0, 10);
  TLineSeries* s = c.Add<TLineSeries>({0, 0, 10, 10}, clBlue);
  c.Record();
  ASSERT_EQ(c.ChartRect, (TRect{10, 13, 290, 287}));
  EXPECT_EQ(s->FirstVisible, 2);
  // 280 px for 7.5: X 2 at -8.67 -> -9, X 3 at 28.67 -> 29; the edge 10 is half way, so Y is
  // half way from 287 (0) to 13 (10).
  EXPECT_EQ(c.Paths(clBlue)[0], (Ints{10, 150, 29, 13}));
  // Stairs keep the outside point's level: a run, then the rise; inverted, the rise first.
  s->SetStairs(true);
  c.Record();
  EXPECT_EQ(c.Paths(clBlue)[0], (Ints{10, 287, 29, 287, 29, 13}));
  s->SetInvertedStairs(true);
  c.Record();
  EXPECT_EQ(c.Paths(clBlue)[0], (Ints{10, 287, 10, 13, 29, 13}));
}

TEST_F(EngineTest, AreaSeriesFillsDownToItsOrigin) {
  for (bool useOrigin : {false, true}) {
    LineChart c;
    c.LeftAxis()->SetMinMax(0, 10);
    TAreaSeries* s = c.Add<TAreaSeries>({2, 6, 4}, clBlue);
    s->SetUseYOrigin(useOrigin);
    s->SetYOrigin(1);
    c.Record();
    EXPECT_DOUBLE_EQ(s->MinYValue(), useOrigin ? 1 : 2);
    const int o = useOrigin ? c.Y(1) : c.LeftAxis()->IEndPos();
    const auto polygons = c.Only("Polygon");
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[0].Args, (Ints{c.X(1), o, c.X(1), c.Y(2), c.X(2), c.Y(6), c.X(2), o}));
    EXPECT_EQ(polygons[1].Brush.Color, clBlue);
    // The top edge in the line pen after each fill.
    EXPECT_EQ(c.Paths(s->GetLinePen()->GetColor()).back(), (Ints{c.X(2), c.Y(6), c.X(3), c.Y(4)}));
  }
}

// The faces of one segment from (x0, y0) to (x1, y1) over the depth z0..z1, in drawing order.
// A corner "ab1" is (x0, y1, z1): x a/b for x0/x1, y a/b for y0/y1, A/B 5 px below them, o the
// origin; z 0/1.
TEST_F(EngineTest, LineSeries3DFacesInOrder) {
  const struct {
    const char* name;
    bool area, stairs, inverted;
    int height, dark;  // LineHeight; the darkened face (-1 none)
    std::vector<std::string> faces;
  } cases[] = {
      {"stairs: run, rise", false, true, false, 0, 1, {"aa0 ba0 ba1 aa1", "bb0 bb1 ba1 ba0"}},
      {"inverted: rise, run", false, true, true, 0, 0, {"aa0 aa1 ab1 ab0", "bb0 ab0 ab1 bb1"}},
      {"band: front, end, top",
       false,
       false,
       false,
       5,
       -1,
       {"bb0 aa0 aA0 bB0", "bb0 bb1 bB1 bB0", "bb0 aa0 aa1 bb1"}},
      {"area: top, end, front",
       true,
       false,
       false,
       0,
       -1,
       {"bb0 aa0 aa1 bb1", "bb0 bb1 bo1 bo0", "ao0 aa0 bb0 bo0"}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    LineChart c;
    c.SetView3D(true);
    c.LeftAxis()->SetMinMax(0, 10);
    chart::TCustomSeries* s =
        k.area ? static_cast<chart::TCustomSeries*>(c.Add<TAreaSeries>({2, 6}, clBlue))
               : c.Add<TLineSeries>({2, 6}, clBlue);
    s->SetStairs(k.stairs);
    s->SetInvertedStairs(k.inverted);
    s->SetLineHeight(k.height);
    s->GetLinePen()->SetColor(clRed);
    c.Record();
    const int x0 = c.X(1), y0 = c.Y(2), x1 = c.X(2), y1 = c.Y(6), o = c.LeftAxis()->IEndPos();
    std::vector<Ints> expected;
    for (const std::string& f : k.faces) {
      expected.emplace_back();
      for (size_t i = 0; i < f.size(); i += 4) {
        const int y = f[i + 1] == 'a'   ? y0
                      : f[i + 1] == 'b' ? y1
                      : f[i + 1] == 'A' ? y0 + 5
                      : f[i + 1] == 'B' ? y1 + 5
                                        : o;
        const chart::TPoint q = c.GetCanvas3D()->Calculate3DPosition(
            f[i] == 'a' ? x0 : x1, y, f[i + 2] == '0' ? s->StartZ : s->EndZ);
        expected.back().insert(expected.back().end(), {q.X, q.Y});
      }
    }
    std::vector<Ints> drawn;
    for (const auto& p : c.Only("Polygon")) {
      if (p.Pen.Color != clRed && !k.area) continue;
      drawn.push_back(p.Args);
      const bool dark = static_cast<int>(drawn.size()) - 1 == k.dark;
      if (!k.area) {
        EXPECT_EQ(p.Brush.Color,
                  dark ? chart::ApplyDark(clBlue, chart::DarkColorQuantity) : clBlue);
      }
    }
    EXPECT_EQ(drawn, expected);
  }
}

TEST_F(EngineTest, LineSeriesShadowAndOutlinePasses) {
  LineChart c;
  TLineSeries* s = c.Add<TLineSeries>({2, 6}, clBlue);
  s->GetShadow()->SetSize(3);
  s->GetOutLine()->SetVisible(true);
  s->GetOutLine()->SetColor(clRed);
  s->GetPointer()->Show();
  c.Record();
  const int x0 = c.X(1), y0 = c.Y(2), x1 = c.X(2), y1 = c.Y(6);
  // Shadow: shifted 3 px right and down in the shadow colour; outline: 2 x 1 + 1 + 1 px wide.
  EXPECT_EQ(c.Paths(platform::clSilver), std::vector<Ints>{(Ints{x0 + 3, y0 + 3, x1 + 3, y1 + 3})});
  const auto outline = c.Paths(clRed);
  EXPECT_EQ(outline, std::vector<Ints>{(Ints{x0, y0, x1, y1})});
  EXPECT_EQ(c.Paths(clBlue), outline);
  for (const auto& k : c.Only("LineTo")) EXPECT_EQ(k.Pen.Width, k.Pen.Color == clRed ? 4 : 1);
  EXPECT_EQ(s->GetPen()->GetWidth(), 1);
  // Pointers in the outline and normal passes only, over the lines.
  EXPECT_EQ(c.Only("Rectangle").size(), 4u);
}

TEST_F(EngineTest, PointSeriesAndNullPointsJoinNothing) {
  LineChart c;
  TAreaSeries* area = c.Add<TAreaSeries>({1, 3, 2}, clRed);
  area->SetStairs(true);
  TPointSeries* p = c.Add<TPointSeries>({}, clBlue);
  p->Assign(area);
  area->SetActive(false);
  p->GetPointer()->Show();  // the area's hidden pointer came over
  EXPECT_FALSE(p->GetDrawArea());
  EXPECT_FALSE(p->JoinPoints);
  EXPECT_FALSE(p->GetClickableLine());
  c.Record();
  EXPECT_TRUE(c.Only("LineTo").empty());
  EXPECT_TRUE(c.Only("Polygon").empty());
  EXPECT_EQ(c.Only("Rectangle").size(), 3u);

  // A null point is neither joined nor shows a pointer; its neighbours keep theirs.
  LineChart d;
  TLineSeries* s = d.Add<TLineSeries>({1, 2, 3, 4}, clBlue);
  s->SetNull(1);
  s->GetPointer()->Show();
  d.Record();
  EXPECT_EQ(d.Paths(clBlue), std::vector<Ints>{(Ints{d.X(3), d.Y(3), d.X(4), d.Y(4)})});
  EXPECT_EQ(d.Only("Rectangle").size(), 3u);
}

}  // namespace
}  // namespace enginetest
