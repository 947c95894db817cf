// Titles, walls and the chart component's pages and series order, on a headless 297 x 113 chart
// whose drawing pass is recorded phase by phase.
#include <functional>
#include <string>
#include <vector>

#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/component/titles.h"
#include "chart/component/walls.h"
#include "platform/vcl/form.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

namespace gdi = platform::gdi;
using chart::TChartSeries;
using platform::TRect;

// A series without axes, as pies are.
class NoAxisSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  bool UseAxis() const override { return false; }
};

// The titles pass before the series, the layout, the walls and the titles pass after the
// series, each recorded with the chart rectangle it left. The chart rectangle starts at
// (9, 5, 288, 108): 3 % and 4 % margins inside the one-pixel raised bevel.
class TitleChart : public chart::TChart {
 public:
  struct Phase {
    std::vector<gdi::DcCall> calls;
    TRect chartRect{};
    std::vector<gdi::DcCall> Only(const std::string& op) const {
      std::vector<gdi::DcCall> out;
      for (const auto& c : calls)
        if (c.Op == op) out.push_back(c);
      return out;
    }
  };
  TitleChart() : TChart(nullptr, platform::TPanelSurface::Headless) {
    SetView3D(false);
    SetBounds(0, 0, 297, 113);
    Legend()->SetVisible(false);
  }
  void PaintNow() {
    before = walls = after = Phase{};
    Invalidate();
    ProcessPaint();
  }
  // Runs inside the pass, where the canvas has its device: read font metrics here.
  std::function<void(chart::TCanvas3D&)> probe;
  Phase before, walls, after;
  TChartSeries* series = nullptr;  // freed by the chart it joins

 protected:
  void InternalDraw(const TRect&) override {
    AutoRepaint = false;
    chart::TCanvas3D& canvas = *GetCanvas3D();
    if (probe) probe(canvas);
    auto record = [&](Phase& p, const std::function<void()>& step) {
      canvas.GetHandle()->SetRecorder([&p](const gdi::DcCall& c) { p.calls.push_back(c); });
      step();
      canvas.GetHandle()->SetRecorder({});
      p.chartRect = ChartRect;
    };
    record(before, [&] { DrawTitlesAndLegend(true); });
    CalcLayout(ChartRect);
    record(walls, [&] { DrawWalls(); });
    record(after, [&] { DrawTitlesAndLegend(false); });
    AutoRepaint = true;
  }
};

struct Metrics {
  int h = 0;  // font height
  int m = 0;  // width of "W"
  std::vector<int> widths;
};

// The title's metrics, read from the canvas inside the drawing pass.
void Probe(TitleChart& c, chart::TChartTitle* title, Metrics& out) {
  c.probe = [title, &out](chart::TCanvas3D& canvas) {
    canvas.AssignFont(title->GetFont());
    out.h = canvas.GetFontHeight();
    out.m = canvas.TextWidth("W");
    out.widths.clear();
    for (int i = 0; i < title->GetText()->Count(); ++i)
      out.widths.push_back(canvas.TextWidth(title->GetText()->Get(i)));
  };
}

std::vector<std::string> Texts(const TitleChart::Phase& p) {
  std::vector<std::string> out;
  for (const auto& c : p.Only("TextOut")) out.push_back(c.Text);
  return out;
}

// The default frame is a visible one-pixel pen, so every title counts a frame width FW of 1.
constexpr int kFW = 1;

TEST_F(EngineTest, TitlesTakeTheirRoomFromTheChartRectangle) {
  using Check = std::function<void(TitleChart&, chart::TChartTitle*, const Metrics&)>;
  struct Case {
    const char* what;
    std::function<chart::TChartTitle*(TitleChart&)> setUp;
    std::vector<std::string> before, after;  // texts drawn before and after the series
    int topRows, footRows;                   // lines of a title taking room above or below
    Check check;
  };
  const Case cases[] = {
      {"a title with no lines takes no room",
       [](TitleChart& c) { return c.Title(); },
       {},
       {},
       0,
       0,
       {}},
      {"a hidden title takes no room",
       [](TitleChart& c) {
         c.Title()->SetCaption("CNR");
         c.Title()->Hide();
         return c.Title();
       },
       {},
       {},
       0,
       0,
       {}},
      {"a title sits on top, its text one frame width down",
       [](TitleChart& c) {
         c.Title()->SetCaption("CNR");
         return c.Title();
       },
       {"CNR"},
       {},
       1,
       0,
       [](TitleChart& c, chart::TChartTitle* t, const Metrics& m) {
         const auto text = c.before.Only("TextOut");
         ASSERT_EQ(text.size(), 1u);
         EXPECT_EQ(text[0].Args[1], 5 + kFW);
         // Centred on the middle of the frame, (8 + 289) div 2.
         EXPECT_EQ(text[0].Args[0], 148 - m.widths[0] / 2);
         EXPECT_EQ(t->GetShapeBounds().Bottom, 5 + 2 * kFW + m.h);
       }},
      // Bounds end at 108 + FW; line i at bottom - H - (i H + FW).
      {"a foot title writes its first line lowest",
       [](TitleChart& c) {
         for (const char* line : {"one", "two", "three"}) c.Foot()->GetText()->Add(line);
         return static_cast<chart::TChartTitle*>(c.Foot());
       },
       {"one", "two", "three"},
       {},
       0,
       3,
       [](TitleChart& c, chart::TChartTitle*, const Metrics& m) {
         const auto text = c.before.Only("TextOut");
         ASSERT_EQ(text.size(), 3u);
         for (int i = 0; i < 3; ++i)
           EXPECT_EQ(text[i].Args[1], 108 + kFW - m.h - (i * m.h + kFW)) << text[i].Text;
       }},
      {"a title given Left and Top is drawn after the series and takes no room",
       [](TitleChart& c) {
         c.Title()->SetCaption("CNR");
         c.Title()->SetLeft(20);
         EXPECT_TRUE(c.Title()->GetCustomPosition());
         c.Title()->SetTop(30);
         return c.Title();
       },
       {},
       {"CNR"},
       0,
       0,
       [](TitleChart& c, chart::TChartTitle*, const Metrics&) {
         EXPECT_EQ(c.after.chartRect.Top, c.walls.chartRect.Top);
         // Not inflated by the frame: the text one frame width below the pinned top.
         EXPECT_EQ(c.after.Only("TextOut").at(0).Args[1], 30 + kFW);
       }},
      {"AdjustFrame off: the frame spans the chart width",
       [](TitleChart& c) {
         c.Title()->SetCaption("CNR");
         c.Title()->SetAdjustFrame(false);
         return c.Title();
       },
       {"CNR"},
       {},
       1,
       0,
       [](TitleChart&, chart::TChartTitle* t, const Metrics&) {
         EXPECT_EQ(t->GetShapeBounds().Left, 9 - kFW);
         EXPECT_EQ(t->GetShapeBounds().Right, 288 + kFW);
       }},
      {"AdjustFrame on: the frame hugs the widest line, a W and the frame",
       [](TitleChart& c) {
         c.Title()->GetText()->Add("CNR");
         c.Title()->GetText()->Add("signal to noise");
         return c.Title();
       },
       {"CNR", "signal to noise"},
       {},
       2,
       0,
       [](TitleChart&, chart::TChartTitle* t, const Metrics& m) {
         const int width = m.m + kFW + std::max(m.widths[0], m.widths[1]);
         EXPECT_EQ(t->GetShapeBounds().Left, 148 - width / 2);
         EXPECT_EQ(t->GetShapeBounds().Right, 148 + width / 2);
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TitleChart c;
    chart::TChartTitle* title = k.setUp(c);
    Metrics m;
    Probe(c, title, m);
    c.PaintNow();
    EXPECT_EQ(Texts(c.before), k.before);
    EXPECT_EQ(Texts(c.after), k.after);
    // From (9, 5, 288, 108): a top title's bounds run FW + lines + FW from 5 and the chart
    // starts 5 + FW below them; a foot title's end FW below 108, the chart 5 + FW above them.
    EXPECT_EQ(c.before.chartRect.Top, k.topRows ? 5 + 3 * kFW + k.topRows * m.h + 5 : 5);
    EXPECT_EQ(c.before.chartRect.Bottom, k.footRows ? 108 - 5 - k.footRows * m.h : 108);
    if (k.check) k.check(c, title, m);
  }
}

// The console's chart: 297 x 113 in 2D titled "CNR", through the whole drawing pass. The title's
// bounds run from the chart rectangle's top 5 through FW + H + FW; the chart stands 5 + FW
// below them, H being the title font's height on the canvas.
TEST_F(EngineTest, ConsoleChartTopIsBelowItsTitle) {
  chart::TChart c(nullptr, platform::TPanelSurface::Headless);
  c.SetView3D(false);
  c.SetBounds(0, 0, 297, 113);
  c.Legend()->Hide();
  c.Title()->SetCaption("CNR");
  int h = 0;
  c.OnBeforeDrawChart = [&](platform::TObject*) {
    c.GetCanvas3D()->AssignFont(c.Title()->GetFont());
    h = c.GetCanvas3D()->GetFontHeight();
  };
  TChartSeries s(nullptr);
  for (int n = 1; n <= 32; ++n) s.AddXY(n, 55, std::to_string(n));
  c.AddSeries(&s);
  c.Invalidate();
  c.ProcessPaint();
  ASSERT_GT(h, 0);
  EXPECT_EQ(c.Title()->GetShapeBounds().Top, 5);
  EXPECT_EQ(c.Title()->GetShapeBounds().Bottom, 5 + 2 * kFW + h);
  EXPECT_EQ(c.ChartRect.Top, c.Title()->GetShapeBounds().Bottom + 5 + kFW);
  EXPECT_EQ(c.LeftAxis()->IStartPos(), c.ChartRect.Top);
}

TEST_F(EngineTest, WallsDrawnBeforeTheSeries) {
  struct Case {
    const char* what;
    bool view3D, pieOnly, view3DWalls;
    int rectangles, polygons;
  };
  const Case cases[] = {
      {"2D: the back wall alone", false, false, true, 1, 0},
      {"only series without axes: no walls", false, true, true, 0, 0},
      {"3D walls switched off: none", false, false, false, 0, 0},
      {"only series without axes in 3D: no walls", true, true, true, 0, 0},
      {"3D: back, left and bottom walls", true, false, true, 0, 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TitleChart c;
    c.SetView3D(k.view3D);
    if (k.pieOnly)
      c.series = new NoAxisSeries(nullptr);
    else
      c.series = new TChartSeries(nullptr);
    c.series->AddXY(1, 5);
    c.AddSeries(c.series);
    c.Walls()->SetVisible(k.view3DWalls);
    c.PaintNow();
    const auto rects = c.walls.Only("Rectangle");
    ASSERT_EQ(static_cast<int>(rects.size()), k.rectangles);
    EXPECT_EQ(static_cast<int>(c.walls.Only("Polygon").size()), k.polygons);
    // Only the walls' outlines are drawn.
    EXPECT_EQ(static_cast<int>(c.walls.calls.size()), k.rectangles + k.polygons);
    if (k.rectangles == 0) continue;
    // The chart rectangle plus one pixel right and below (right and bottom are exclusive).
    const TRect& r = c.walls.chartRect;
    EXPECT_EQ(rects[0].Args, (std::vector<int>{r.Left, r.Top, r.Right + 1, r.Bottom + 1}));
  }
}

TEST_F(EngineTest, WallSettingsReachTheWholeChart) {
  platform::TForm form(nullptr);
  auto* c = new chart::TChart(&form, platform::TPanelSurface::Headless);
  c->SetParent(&form);
  chart::TChartWalls* walls = c->Walls();

  walls->SetSize(5);
  for (chart::TCustomChartWall* w : std::initializer_list<chart::TCustomChartWall*>{
           walls->Left(), walls->Right(), walls->Back(), walls->Bottom()})
    EXPECT_EQ(w->GetSize(), 5) << w->ClassName();

  walls->SetVisible(false);
  EXPECT_FALSE(c->GetView3DWalls());
  EXPECT_FALSE(c->BackWall()->ShouldDraw());
  walls->SetVisible(true);
  EXPECT_TRUE(c->BackWall()->ShouldDraw());

  struct Case {
    const char* what;
    bool loading;
    platform::TBrushStyle style;
  };
  const Case cases[] = {{"at run time the brush turns solid", false, platform::bsSolid},
                        {"while loading the stored style stays", true, platform::bsClear}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    c->BackWall()->GetBrush()->SetStyle(platform::bsClear);
    c->SetLoading(k.loading);
    c->SetBackColor(platform::clRed);
    c->SetLoading(false);
    EXPECT_EQ(c->BackWall()->GetColor(), platform::clRed);
    EXPECT_EQ(c->BackWall()->GetBrush()->GetStyle(), k.style);
  }
}

TEST_F(EngineTest, ChartPagesAndSeriesOrder) {
  struct Case {
    const char* what;
    int perPage, startPage;
    std::function<void(chart::TChart&, TChartSeries*, TChartSeries*)> act;
    int page;
    bool swapped;
  };
  using S = TChartSeries*;
  const Case cases[] = {
      {"next page without paging", 0, 1, [](chart::TChart& c, S, S) { c.NextPage(); }, 1, false},
      {"next page on the last page", 16, 2, [](chart::TChart& c, S, S) { c.NextPage(); }, 2, false},
      {"next page on the first", 16, 1, [](chart::TChart& c, S, S) { c.NextPage(); }, 2, false},
      {"previous page on the first", 16, 1, [](chart::TChart& c, S, S) { c.PreviousPage(); }, 1,
       false},
      {"first series up", 0, 1, [](chart::TChart& c, S a, S) { c.SeriesUp(a); }, 1, false},
      {"last series down", 0, 1, [](chart::TChart& c, S, S b) { c.SeriesDown(b); }, 1, false},
      {"first series down", 0, 1, [](chart::TChart& c, S a, S) { c.SeriesDown(a); }, 1, true},
      {"last series up", 0, 1, [](chart::TChart& c, S, S b) { c.SeriesUp(b); }, 1, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    chart::TChart c(nullptr, platform::TPanelSurface::Headless);
    TChartSeries a(nullptr), b(nullptr);
    for (int n = 1; n <= 32; ++n) a.AddXY(n, 55);
    c.AddSeries(&a);
    c.AddSeries(&b);
    c.SetPointsPerPage(k.perPage);
    c.SetPage(k.startPage);
    k.act(c, &a, &b);
    EXPECT_EQ(c.GetPage(), k.page);
    EXPECT_EQ(c.GetSeries(0), k.swapped ? &b : &a);
    EXPECT_EQ(c.GetASeries(), c.GetSeries(0));
    c.RemoveAllSeries();
    EXPECT_EQ(c.SeriesCount(), 0);
  }
}

}  // namespace
}  // namespace enginetest
