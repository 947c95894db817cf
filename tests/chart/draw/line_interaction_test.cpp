// Line, area and point series: the hit test, mark placement, legend symbols as device-context
// calls, and the gallery entries.
#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/series/line_series.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using namespace chart;
using platform::TPoint;
enum Kind { Line, Area, Point, HorizLine, HorizArea };

// 400 x 300, left axis fixed 0..50, one series of 10, 40, 20, 30 in blue.
struct LineChart : AxisChart {
  explicit LineChart(Kind kind, bool is3D = false, bool inverted = false)
      : AxisChart(400, 300, is3D) {
    LeftAxis()->SetMinMax(0, 50);
    BottomAxis()->SetInverted(inverted);
    TCustomSeries* made[] = {new TLineSeries(&form), new TAreaSeries(&form),
                             new TPointSeries(&form), new THorizLineSeries(&form),
                             new THorizAreaSeries(&form)};
    for (int k = 0; k < 5; ++k) k == kind ? void(s = made[k]) : delete made[k];
    AddSeries(s);
    const double v[] = {10, 40, 20, 30};
    for (int i = 0; i < 4; ++i) kind >= HorizLine ? s->AddXY(v[i], i) : s->AddXY(i, v[i]);
    s->SetSeriesColor(platform::clBlue);
    Record();
  }
  TPoint P(int i) const { return TPoint{s->CalcXPos(i), s->CalcYPos(i)}; }
  TCustomSeries* s = nullptr;
};

TEST_F(EngineTest, LineSeriesHitTest) {
  // The click: X of point a, Y of point b, moved by dx, dy; with mid, the middle of a..a+1.
  struct Case {
    const char* name;
    Kind kind;
    int stairs, clickable;  // stairs 2: inverted; clickable -1: as built
    bool is3D, mid;
    int a, b, dx, dy, expected;
  };
  const Case cases[] = {
      {"pointer within its size", Point, 0, -1, false, false, 1, 1, 3, -3, 1},
      {"pointer size is exclusive", Point, 0, -1, false, false, 1, 1, 4, 0, -1},
      {"exact point", Line, 0, -1, false, false, 2, 2, 0, 0, 2},
      {"segment: the previous index", Line, 0, -1, false, true, 1, 0, 0, 0, 1},
      {"ClickableLine off", Line, 0, 0, false, true, 1, 0, 0, 0, -1},
      {"point series: no segments", Point, 0, 1, false, true, 1, 0, 0, 0, -1},
      {"stairs: run, then rise", Line, 1, -1, false, false, 2, 1, 0, 0, 1},
      {"inverted stairs: rise, then run", Line, 2, -1, false, false, 1, 2, 0, 0, 1},
      {"area polygon", Area, 0, -1, false, true, 1, 0, 0, 30, 1},
      {"nothing under a line", Line, 0, -1, false, true, 1, 0, 0, 30, -1},
      {"3D segment", Line, 0, -1, true, true, 1, 0, 0, 0, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    LineChart c(k.kind, k.is3D);
    c.s->SetStairs(k.stairs > 0);
    c.s->SetInvertedStairs(k.stairs == 2);
    if (k.clickable >= 0) c.s->SetClickableLine(k.clickable);
    int fired = -1;
    c.s->OnClickPointer = [&](TCustomSeries*, int i, int, int) { fired = i; };
    c.Record();
    TPoint p{c.P(k.a).X, c.P(k.b).Y};
    if (k.mid) p = TPoint{(c.P(k.a).X + c.P(k.a + 1).X) / 2, (c.P(k.a).Y + c.P(k.a + 1).Y) / 2};
    p = TPoint{p.X + k.dx, p.Y + k.dy};
    if (k.is3D) p = c.GetCanvas3D()->Calculate3DPosition(p.X, p.Y, c.s->StartZ);
    EXPECT_EQ(c.s->Clicked(p.X, p.Y), k.expected);
    EXPECT_EQ(fired, k.kind == Point ? k.expected : -1);
    EXPECT_EQ(c.s->RaiseClicked(), k.kind == Point);
  }
}

// A 20 x 10 mark measured at (100, 50); callout Length 8, Distance 2.
TEST_F(EngineTest, LineSeriesMarkPlacement) {
  struct Case {
    Kind kind;
    bool inverted;
    TPoint topLeft, arrowStart, arrowEnd;
  } const cases[] = {{Line, false, {90, 31}, {100, 48}, {100, 40}},
                     {HorizLine, false, {110, 45}, {102, 50}, {110, 50}},
                     {HorizLine, true, {70, 45}, {98, 50}, {90, 50}},
                     {HorizArea, false, {90, 45}, {100, 50}, {100, 50}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.kind << " inverted " << k.inverted);
    LineChart c(k.kind, false, k.inverted);
    c.s->Marks()->GetCallout()->SetLength(8);
    c.s->Marks()->GetCallout()->SetDistance(2);
    TSeriesMarkPosition p{{100, 50}, false, {100, 50}, false, 10, {90, 41}, 20};
    c.RecordAfter([&] { c.s->DrawMark(0, "m", p); });
    EXPECT_EQ(p.TopLeft, k.topLeft);
    EXPECT_EQ(p.ArrowStart, k.arrowStart);
    EXPECT_EQ(p.ArrowEnd, k.arrowEnd);
  }
}

// The symbol in the legend rectangle (10, 20, 40, 32), centre (25, 26).
TEST_F(EngineTest, LineSeriesLegendShapes) {
  using Calls = std::vector<std::vector<int>>;
  const Calls none, line{{40, 26, int(platform::clBlue)}};
  struct Case {
    Kind kind;
    bool is3D, pointer, pen;
    Calls lineTo, rect;
  } const cases[] = {{Line, false, false, true, line, none},
                     {Line, true, false, true, none, {{10, 20, 40, 32}}},
                     {Line, false, true, true, line, {{21, 22, 30, 31}}},  // a third high at most
                     {Point, false, true, true, none, {{21, 22, 30, 31}}},
                     {Point, false, true, false, none, {{21, 20, 30, 33}}},  // half + 1
                     {Area, false, false, true, none, {{10, 20, 40, 32}}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.kind << " 3D " << k.is3D << " pointer " << k.pointer);
    LineChart c(k.kind, k.is3D);
    c.s->GetPointer()->SetVisible(k.pointer);
    c.s->GetPointer()->SetVertSize(6);
    c.s->GetLinePen()->SetVisible(k.pen);
    c.RecordAfter([&] { c.s->DrawLegend(-1, platform::TRect{10, 20, 40, 32}); });
    Calls lineTo, rect;
    for (const auto& d : c.calls) {
      // The line in the series colour.
      if (d.Op == "LineTo") lineTo.push_back({d.Args[0], d.Args[1], int(d.Pen.Color)});
      if (d.Op == "Rectangle") rect.push_back(d.Args);
    }
    EXPECT_EQ(lineTo, k.lineTo);
    EXPECT_EQ(rect, k.rect);
  }
}

// Each entry's caption, and its effect on a series that did not have it.
TEST_F(EngineTest, LineSeriesGalleryEntries) {
  using Effect = bool (*)(TCustomSeries&);
  struct Case {
    Kind kind;
    int index;
    const char* caption;
    Effect effect;
  } const cases[] = {
      {Line, 0, "Normal", [](TCustomSeries&) { return true; }},
      {Line, 3, "Height", [](TCustomSeries& s) { return s.GetLineHeight() == 5; }},
      {Line, 4, "Hollow", [](TCustomSeries& s) { return s.GetLineBrush() == platform::bsClear; }},
      {Line, 8, "Outline", [](TCustomSeries& s) { return s.GetOutLine()->GetVisible(); }},
      {Area, 5, "No Lines", [](TCustomSeries& s) { return !s.GetAreaLinesPen()->GetVisible(); }},
      {Area, 7, "Stack 100%", [](TCustomSeries& s) { return s.GetStacked() == cssStack100; }},
      {Point, 4, "No Border",
       [](TCustomSeries& s) { return !s.GetPointer()->GetFrame()->GetVisible(); }},
      {Point, 9, "Circle", [](TCustomSeries& s) { return s.GetPointer()->GetSize() == 8; }},
      {Point, 10, "Down Tri.",
       [](TCustomSeries& s) { return s.GetPointer()->GetStyle() == psDownTriangle; }},
      {Point, 12, "Diamond",
       [](TCustomSeries& s) { return s.GetPointer()->GetStyle() == psDiamond; }},
  };
  const size_t counts[] = {9, 10, 13};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.caption);
    LineChart c(k.kind);
    std::vector<std::string> captions;
    c.s->CreateSubGallery([&](const std::string& t) { captions.push_back(t); });
    ASSERT_EQ(captions.size(), counts[k.kind]);
    EXPECT_EQ(captions[k.index], k.caption);
    EXPECT_EQ(k.effect(*c.s), k.index == 0);
    c.s->SetSubGallery(k.index);
    EXPECT_TRUE(k.effect(*c.s));
  }
}

}  // namespace
}  // namespace enginetest
