// Fast line series on a headless 2D chart: skipped pixel columns, identical points, nulls,
// stairs, the new point drawn on its own, and the hit test.
#include "chart/series/fast_line_series.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "chart/engine/axis.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

// A bare 2D chart whose plot is the whole panel. Trace gives the pen's moves and lines, in a
// paint or in the window outside one, as "M0,100 L200,0".
struct FastChart : AxisChart {
  explicit FastChart(int width) : AxisChart(width, 100), s(New<chart::TFastLineSeries>()) {
    SetBevelOuter(platform::bvNone);
    for (int m = 0; m < 4; ++m) SetMargin(m, 0);
    LeftAxis()->SetVisible(false);
    BottomAxis()->SetVisible(false);
  }
  // A full paint without a step.
  std::string Trace(const std::function<void()>& step = {}) {
    calls.clear();
    Capture(step ? step : [this] {
      Invalidate();
      ProcessPaint();
    });
    std::string path;
    for (const auto& k : calls)
      if (k.Op == "MoveToEx" || k.Op == "LineTo")
        path += (path.empty() ? "" : " ") + std::string(k.Op == "LineTo" ? "L" : "M") +
                std::to_string(k.Args[0]) + "," + std::to_string(k.Args[1]);
    return path;
  }
  // Axes fixed at 0..4 on a 400 x 100 plot: X maps to 100 x, Y to 100 - 25 y.
  void Fixed(const std::vector<std::vector<double>>& points) {
    BottomAxis()->SetMinMax(0, 4);
    LeftAxis()->SetMinMax(0, 4);
    for (const auto& p : points)
      s->AddXY(p[0], p[1], {}, p.size() > 2 ? platform::clNone : platform::clDefault);
  }
  chart::TFastLineSeries* s;
};

// 10,000 points over 500 pixels, a pixel of pen margin at each end: columns 1..499, so 498
// segments; every point drawn when it is not on the previous point's pixel.
TEST_F(EngineTest, FastLineSkipsDrawnPixelColumns) {
  FastChart f(500);
  for (int i = 0; i < 10000; ++i) f.s->AddXY(i, i % 7);
  for (bool all : {false, true}) {
    f.s->SetDrawAllPoints(all);
    const std::string path = f.Trace();
    EXPECT_EQ(f.BottomAxis()->IEndPos() - f.BottomAxis()->IStartPos(), 500);
    EXPECT_EQ(std::count(path.begin(), path.end(), 'L'), all ? 9999 : 498);
  }
}

// Flags: n IgnoreNulls off, s Stairs, i InvertedStairs, c DrawAllPoints off.
TEST_F(EngineTest, FastLineEdgeCases) {
  struct Case {
    std::vector<std::vector<double>> points;  // x, y[, null]
    std::string flags;
    const char* path;
  };
  const Case cases[] = {
      {{{0, 0}, {2, 4}, {2, 4}, {4, 0}}, "", "M0,100 L200,0 L400,100"},
      {{{0, 0}, {2, 4, 1}, {4, 0}}, "n", "M0,100 M200,0 L400,100"},
      {{{0, 0}, {2, 4, 1}, {4, 0}}, "", "M0,100 L200,0 L400,100"},
      {{{0, 0}, {4, 4}}, "s", "M0,100 L400,100 L400,0"},
      {{{0, 0}, {4, 4}}, "si", "M0,100 L0,0 L400,0"},
      {{{0, 0}, {4, 4}}, "i", "M0,100 L400,0"},
      {{{0, 0}, {0, 4}, {4, 0}}, "c", "M0,100 L400,100"},
      {{{0, 0}, {0, 4}, {4, 0}}, "", "M0,100 L0,0 L400,100"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.path);
    FastChart f(400);
    f.Fixed(k.points);
    auto has = [&](char c) { return k.flags.find(c) != std::string::npos; };
    f.s->SetIgnoreNulls(!has('n'));
    f.s->SetStairs(has('s'));
    f.s->SetInvertedStairs(has('i'));
    f.s->SetDrawAllPoints(!has('c'));
    EXPECT_EQ(f.Trace(), k.path);
  }
}

// Without AutoRepaint a new point draws its own segment and asks for no paint; the next full
// paint draws every segment.
TEST_F(EngineTest, FastLineNewPointWithoutRepaint) {
  FastChart f(400);
  f.Fixed({{0, 0}, {2, 4}});
  f.Trace();
  f.s->SetAutoRepaint(false);
  const int invalidated = f.InvalidateCount();
  EXPECT_EQ(f.Trace([&] { f.s->AddXY(4, 0); }), "M200,0 L400,100");
  EXPECT_EQ(f.InvalidateCount(), invalidated);
  EXPECT_FALSE(f.PaintPending());
  EXPECT_EQ(f.Trace(), "M0,100 L200,0 L400,100");
  f.s->SetAutoRepaint(true);
  EXPECT_EQ(f.Trace([&] { f.s->AddXY(3, 0); }), "");
  EXPECT_TRUE(f.PaintPending());
}

TEST_F(EngineTest, FastLineHitTest) {
  FastChart f(400);
  f.Fixed({{0, 0}, {2, 4}, {4, 0}});
  f.Trace();
  const int cases[][3] = {{0, 100, 0}, {200, 0, 1}, {100, 50, 0}, {300, 50, 1}, {100, 90, -1}};
  for (const auto& k : cases) EXPECT_EQ(f.s->Clicked(k[0], k[1]), k[2]) << k[0] << "," << k[1];
}

}  // namespace
}  // namespace enginetest
