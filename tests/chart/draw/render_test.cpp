// A whole drawing pass of a headless axis panel: which axes draw and when, events and tool
// notifications, the series clip, the order of points, marks and legend symbols.
#include <QImage>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "chart/engine/axis.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TSeriesMarkPosition;
using platform::TRect;

// Logs the points it draws (and its before-chart call as "c"); optionally paints a red square
// far larger than the chart, for the clip to cut. Records its marks instead of drawing them.
struct Rec : chart::TChartSeries {
  Rec(platform::TComponent* owner, std::string* log) : TChartSeries(owner), log(log) {}
  bool UseAxis() const override { return useAxis; }
  void DoBeforeDrawChart() override { *log += "c"; }
  void DrawValue(int i) override {
    *log += std::to_string(i);
    if (!paint) return;
    chart::TCanvas3D& c = *GetParentChart()->GetCanvas3D();
    c.Brush->SetColor(platform::clRed);
    c.Pen->SetStyle(platform::psClear);
    c.Rectangle(-1000, -1000, 1000, 1000);
  }
  void DrawMark(int i, const std::string&, TSeriesMarkPosition& p) override {
    marks.push_back(i);
    positions.push_back(p);
  }
  std::string* log;
  bool useAxis = true, paint = false;
  std::vector<int> marks;
  std::vector<TSeriesMarkPosition> positions;
};

struct ToolLog : chart::TPlotCustomTool {
  ToolLog(platform::TComponent* owner, std::string* log) : TPlotCustomTool(owner), log(log) {}
  void ChartEvent(chart::TChartToolEvent e) override { *log += "[" + std::to_string(e) + "]"; }
  std::string* log;
};

// A 297 x 113 2D chart painted whole; the device context is recorded from the before-chart
// event to the after-draw event.
struct Painted {
  Painted() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 297, 113);
    chart.OnBeforeDrawChart = [this](platform::TObject*) {
      chart.GetCanvas3D()->GetHandle()->SetRecorder(rec.Hook());
    };
    chart.OnAfterDraw = [this](platform::TObject*) {
      if (afterDraw) afterDraw();
      chart.GetCanvas3D()->GetHandle()->SetRecorder({});
    };
    chart.OnBeforeDrawSeries = [this](platform::TObject*) { seriesRect = chart.ChartRect; };
  }
  Rec* Add() {
    auto* s = new Rec(&form, &log);
    chart.AddSeries(s);
    return s;
  }
  void Paint() {
    rec.Clear();
    log.clear();
    chart.Draw();
    log.erase(std::remove(log.begin(), log.end(), 'c'), log.end());
  }
  platform::TComponent form{nullptr};
  chart::TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
  gditest::Recorder rec;
  std::string log;
  TRect seriesRect;
  std::function<void()> afterDraw;
};

TEST_F(EngineTest, AxesEventsAndZOrderOfAPaint) {
  struct Case {
    const char* name;
    int series;  // 0: none, 1: one using axes, 2: one using no axes, 3: two, in 3D
    bool axisBehind, axesVisible;
    // Tool events [n], the axes' turn A, before-series S, values v, points, after values w,
    // after-draw Z.
    std::string order;
  };
  const Case cases[] = {
      {"no series: the standard axes draw", 0, true, true, "[2][3]A[1]S[4][0]Z"},
      {"a series without axes hides them", 2, true, false, "[2][3]A[1]Sv0w[4][0]Z"},
      {"axes behind", 1, true, true, "[2][3]A[1]Sv0w[4][0]Z"},
      {"axes over the series", 1, false, true, "[2][1]Sv0w[4][3]A[0]Z"},
      {"two 3D series take slots 0 and 1", 3, true, true, "[2][3]A[1]Sv0wv0w[4][0]Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Painted p;
    p.chart.Tools().Add(new ToolLog(&p.form, &p.log));
    p.chart.Tools().Add(new ToolLog(&p.form, &p.log))->SetActive(false);
    std::vector<bool> repaintDuring;
    auto ev = [&](const char* s) {
      return [&, s](platform::TObject*) {
        p.log += s;
        repaintDuring.push_back(p.chart.AutoRepaint);
      };
    };
    p.chart.OnBeforeDrawAxes = ev("A");
    p.chart.OnBeforeDrawSeries = ev("S");
    p.afterDraw = [&] { p.log += "Z"; };
    p.chart.SetAxisBehind(c.axisBehind);
    p.chart.SetView3D(c.series == 3);
    std::vector<Rec*> s;
    for (int i = 0; i < (c.series == 3 ? 2 : c.series > 0); ++i) {
      s.push_back(p.Add());
      s.back()->useAxis = c.series != 2;
      s.back()->BeforeDrawValues = ev("v");
      s.back()->AfterDrawValues = ev("w");
      s.back()->AddXY(1, 5);
    }
    p.Paint();
    EXPECT_EQ(p.log, c.order);
    EXPECT_EQ(std::count(repaintDuring.begin(), repaintDuring.end(), true), 0);
    EXPECT_TRUE(p.chart.AutoRepaint);
    EXPECT_EQ(p.chart.IsAxisVisible(p.chart.BottomAxis()), c.axesVisible);
    EXPECT_EQ(p.chart.IsAxisVisible(p.chart.LeftAxis()), c.axesVisible);
    // Hidden axes draw nothing at all (the series here draw nothing either).
    EXPECT_EQ(p.rec.Only("LineTo").empty(), !c.axesVisible);
    if (c.series != 3) continue;
    EXPECT_EQ(s[0]->GetZOrder(), 0);
    EXPECT_EQ(s[1]->GetZOrder(), 1);
    EXPECT_EQ(p.chart.MaxZOrder, 1);
    EXPECT_GT(p.chart.SeriesWidth3D, 0);
    EXPECT_EQ(p.chart.Width3D(), 2 * p.chart.SeriesWidth3D);
    // The back series one slot deep; marks at the middle depth.
    EXPECT_EQ(s[0]->StartZ, p.chart.SeriesWidth3D);
    EXPECT_EQ(s[0]->Marks()->ZPosition, (s[0]->StartZ + s[0]->EndZ) / 2);
    for (int v : {0, 101})
      EXPECT_EQ(MessageOf<platform::Exception>([&] { p.chart.Set3DPercent(v); }),
                "3D effect percent must be between 1 and 100");
    EXPECT_EQ(p.chart.GetChart3DPercent(), 15);
  }
}

TEST_F(EngineTest, SeriesAreClippedToTheChartRectangleWithItsBottomOneLower) {
  // Points and marks clipped each (the marks by their own switch), or nothing clipped.
  for (bool clip : {true, false}) {
    SCOPED_TRACE(clip);
    Painted p;
    p.chart.SetClipPoints(clip);
    Rec* s = p.Add();
    s->paint = true;
    s->Marks()->SetVisible(true);
    s->Marks()->SetClip(clip);
    s->AddXY(1, 5, "five");
    p.Paint();
    const TRect r = p.seriesRect;
    std::vector<std::vector<int>> clips;
    for (const auto& call : p.rec.Only("ExtSelectClipRgn"))
      clips.push_back({call.Args.begin() + 1, call.Args.end()});  // after the mode
    EXPECT_EQ(clips, std::vector<std::vector<int>>(
                         clip ? 2 : 0, std::vector<int>{r.Left + 1, r.Top + 1, r.Right, r.Bottom}));
    // Every clip is removed again.
    EXPECT_EQ(p.rec.Only("SelectClipRgn").size(), clips.size());
    // What reached the window: red exactly inside the clip.
    const QImage& img = *p.chart.WindowImage().Image();
    auto red = [&](int x, int y) { return img.pixel(x, y) == qRgb(255, 0, 0); };
    EXPECT_TRUE(red(r.Left + 1, r.Top + 1) && red(r.Right - 1, r.Bottom - 1));
    EXPECT_EQ(red(r.Left, r.Top + 1), !clip);
    EXPECT_EQ(red(r.Left + 1, r.Bottom), !clip);
    EXPECT_EQ(red(r.Right, r.Top + 1), !clip);
  }
}

TEST_F(EngineTest, PointsAreDrawnInTheDirectionOfTheirAxis) {
  struct Case {
    const char* name;
    bool horizontal, inverted, unordered, sharedZ;
    std::string drawn;
  };
  // X 1, 2, 3 (ordered) or 50, 5, -20 (unordered) on a bottom axis fixed to 0..10.
  const Case cases[] = {
      {"ascending", false, false, false, false, "012"},
      {"inverted horizontal axis", false, true, false, false, "210"},
      {"horizontal series, inverted vertical axis", true, true, false, false, "210"},
      {"horizontal series ignore the horizontal axis", true, false, false, false, "012"},
      {"unordered X draws every point", false, false, true, false, "012"},
      {"3D series of one Z order draw point by point", false, false, false, true, "001122"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Painted p;
    p.chart.SetView3D(c.sharedZ);
    for (int k = 0; k < (c.sharedZ ? 2 : 1); ++k) {
      Rec* s = p.Add();
      s->SetZOrder(c.sharedZ ? 0 : -1);
      if (c.horizontal) s->SetHorizontal();
      if (c.unordered) s->XValues()->SetOrder(chart::loNone);
      for (double x : c.unordered ? std::vector<double>{50, 5, -20} : std::vector<double>{1, 2, 3})
        c.horizontal ? s->AddXY(4, x) : s->AddXY(x, 4);
    }
    (c.horizontal ? p.chart.LeftAxis() : p.chart.BottomAxis())->SetInverted(c.inverted);
    if (c.horizontal) p.chart.BottomAxis()->SetInverted(!c.inverted);
    if (c.unordered) p.chart.BottomAxis()->SetMinMax(0, 10);
    p.Paint();
    EXPECT_EQ(p.log, c.drawn);
  }
}

TEST_F(EngineTest, MarksOfTheVisiblePoints) {
  struct Case {
    const char* name;
    int drawEvery, nullPoint, emptyText;  // -1: no null point, no emptied text
    std::vector<int> marks;
  };
  const Case cases[] = {
      {"every point", 1, -1, -1, {0, 1, 2, 3, 4}},
      {"every second point", 2, -1, -1, {0, 2, 4}},
      {"no mark for a null point", 2, 2, -1, {0, 4}},
      {"an emptied text draws no mark", 1, -1, 3, {0, 1, 2, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Painted p;
    Rec* s = p.Add();
    s->Marks()->SetVisible(true);
    s->Marks()->SetStyle(chart::smsValue);
    s->Marks()->SetDrawEvery(c.drawEvery);
    s->Marks()->GetFrame()->SetVisible(true);
    s->Marks()->GetFrame()->SetWidth(2);
    for (int n = 0; n < 5; ++n) s->AddXY(n, 55);
    if (c.nullPoint >= 0) s->SetNull(c.nullPoint);
    s->OnGetMarkText = [&](chart::TChartSeries*, int i, std::string& text) {
      if (i == c.emptyText) text.clear();
    };
    p.Paint();
    EXPECT_EQ(s->marks, c.marks);
    // Text "55" plus a "W" of room, plus the frame twice; one line high plus the frame twice;
    // centred over the point with its bottom on it.
    chart::TCanvas3D& canvas = *p.chart.GetCanvas3D();
    canvas.AssignFont(s->Marks()->GetFont());
    const int w = canvas.TextWidth("55") + canvas.TextWidth("W") + 4;
    const int h = canvas.GetFontHeight() + 4;
    const int x = p.chart.BottomAxis()->CalcPosValue(0);
    const int y = p.chart.LeftAxis()->CalcPosValue(55);
    ASSERT_FALSE(s->positions.empty());
    const TSeriesMarkPosition& m = s->positions.front();
    EXPECT_EQ(std::vector<int>({m.Width, m.Height, m.TopLeft.X, m.TopLeft.Y}),
              std::vector<int>({w, h, x - w / 2, y - h + 1}));
    EXPECT_TRUE(m.ArrowStart == (platform::TPoint{x, y}) && m.ArrowEnd == m.ArrowStart);
  }
}

TEST_F(EngineTest, LegendSymbolOfAPoint) {
  Painted p;
  Rec* s = p.Add();
  s->AddXY(1, 5, "", platform::clBlue);
  s->AddXY(2, 6, "", platform::clNone);
  p.afterDraw = [&] {
    p.rec.Clear();
    s->DrawLegend(1, TRect{10, 10, 22, 20});
    EXPECT_TRUE(p.rec.calls.empty()) << "a clNone point draws no symbol";
    s->DrawLegend(0, TRect{10, 10, 22, 20});
  };
  p.Paint();
  const auto rects = p.rec.Only("Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Args, (std::vector<int>{10, 10, 22, 20}));
  EXPECT_EQ(rects[0].Brush.Color, platform::clBlue);
}

}  // namespace
}  // namespace enginetest
