// The layout pass without drawing: the chart rectangle, which axes show, the room they take,
// their spans and ranges; the axes, custom axes and tools lists.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/engine/axis.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartAxis;
using chart::TChartSeries;
using chart::TCustomAxisPanel;
using platform::TRect;

struct Headless {
  Headless() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 297, 113);
  }
  TCustomAxisPanel chart{nullptr, platform::TPanelSurface::Headless};
  platform::TComponent form{nullptr};
};

// A series that needs no axes, as a pie.
struct NoAxes : TChartSeries {
  using TChartSeries::TChartSeries;
  bool UseAxis() const override { return false; }
};

struct ToolLog : chart::TPlotCustomTool {
  ToolLog(platform::TComponent* owner, std::string* log, char id)
      : TPlotCustomTool(owner), log(log), id(id) {}
  void ChartEvent(chart::TChartToolEvent) override { *log += id; }
  std::string* log;
  char id;
};

// The labels and ticks the laid-out bottom axis would draw: the page's point labels at their
// points' pixels, a tick under each.
void ExpectPageLabels(TChartAxis* bottom, int first) {
  bottom->CalcLabelsAndTicks();
  std::vector<std::string> texts, shown;
  std::vector<int> pixels, at;
  for (int n = first; n < first + 16; ++n) {
    texts.push_back(std::to_string(n));
    pixels.push_back(bottom->CalcPosValue(n));
  }
  for (const auto& l : bottom->LabelItems)
    if (l.Shown) shown.push_back(l.Text), at.push_back(l.Pixel);
  EXPECT_EQ(shown, texts);
  EXPECT_EQ(at, pixels);
  EXPECT_EQ(bottom->Tick, pixels);
}

TEST_F(EngineTest, LayoutOfTheSignalChart) {
  Headless h;
  TCustomAxisPanel& chart = h.chart;
  // The chart rectangle the paint hands the drawing pass, before the axes take their room.
  TRect atStart;
  chart.OnBeforeDrawChart = [&](platform::TObject*) { atStart = chart.ChartRect; };
  chart.Draw();
  EXPECT_EQ(atStart, (TRect{9, 5, 288, 108}));
  auto* s = new TChartSeries(&h.form);
  chart.AddSeries(s);
  for (int n = 1; n <= 32; ++n) s->AddXY(n, 55, std::to_string(n), 0xFF0000);
  chart.LeftAxis()->SetMinMax(0, 70);
  chart.LeftAxis()->SetVisible(false);
  chart.SetPointsPerPage(16);
  chart.BottomAxis()->SetLabelStyle(chart::talText);
  chart.CalcLayout(atStart);

  TChartAxis* bottom = chart.BottomAxis();
  TChartAxis* left = chart.LeftAxis();
  EXPECT_FALSE(chart.IsAxisVisible(left));
  EXPECT_FALSE(chart.IsAxisVisible(chart.TopAxis()));
  EXPECT_TRUE(chart.IsAxisVisible(bottom));
  // Only the bottom axis takes room: labels (one font height) and 7 for line and ticks.
  chart.GetCanvas3D()->AssignFont(bottom->GetLabelsFont());
  const int labels = chart.GetCanvas3D()->GetFontHeight();
  ASSERT_GT(labels, 0);
  EXPECT_EQ(chart.ChartRect, (TRect{9, 5, 288, 108 - labels - 7}));
  EXPECT_EQ(bottom->PosLabels, 108 - labels);
  EXPECT_EQ(bottom->PosAxis, 108 - labels - 7);
  EXPECT_EQ(bottom->IStartPos(), 9);
  EXPECT_EQ(bottom->IEndPos(), 288);
  EXPECT_EQ(bottom->CalcPosValue(1), 9);
  EXPECT_EQ(bottom->CalcPosValue(16), 288);
  EXPECT_EQ(left->IStartPos(), 5);
  EXPECT_EQ(left->IEndPos(), chart.ChartRect.Bottom);
  EXPECT_EQ(left->CalcPosValue(35), left->ICenterPos());
  EXPECT_EQ(left->CalcPosValue(0), chart.ChartRect.Bottom);
  EXPECT_EQ(chart.NumPages(), 2);
  ExpectPageLabels(bottom, 1);
  chart.NextPage();
  chart.CalcLayout(TRect{9, 5, 288, 108});
  EXPECT_EQ(bottom->CalcPosValue(17), 9);
  EXPECT_EQ(bottom->CalcPosValue(32), 288);
  ExpectPageLabels(bottom, 17);
}

TEST_F(EngineTest, AxisRoomEdgeCases) {
  Headless h;
  TCustomAxisPanel& chart = h.chart;
  TChartAxis* bottom = chart.BottomAxis();
  chart.GetCanvas3D()->AssignFont(bottom->GetLabelsFont());
  const int fh = chart.GetCanvas3D()->GetFontHeight();
  const TRect r{10, 10, 210, 110};
  struct Case {
    const char* name;
    std::function<void(TChartAxis*)> set;
    bool inflate;
    TRect rect;
    int posLabels, posTitle;  // -1: not checked
  };
  const Case cases[] = {
      {"labels and ticks", [](TChartAxis*) {}, true, {10, 10, 210, 110 - fh - 7}, 110 - fh, -1},
      {"hidden title, labels off: wall and ticks only",
       [](TChartAxis* a) { a->SetLabels(false); },
       true,
       {10, 10, 210, 103},
       -1,
       -1},
      {"title outermost",
       [](TChartAxis* a) {
         a->SetLabels(false);
         a->GetTitle()->SetCaption("Sats");
       },
       true,
       {10, 10, 210, 110 - fh - 7},
       -1,
       110 - fh},
      {"fixed and alternate label size",
       [](TChartAxis* a) {
         a->SetLabelsSize(20);
         a->SetLabelsAlternate(true);
       },
       true,
       {10, 10, 210, 63},
       70,
       -1},
      {"pens hidden: no tick room",
       [](TChartAxis* a) {
         a->SetLabels(false);
         a->GetAxis()->SetVisible(false);
         a->GetTicks()->SetVisible(false);
         a->GetMinorTicks()->SetVisible(false);
       },
       true, r, -1, -1},
      {"longer minor ticks win",
       [](TChartAxis* a) {
         a->SetLabels(false);
         a->SetMinorTickLength(12);
       },
       true,
       {10, 10, 210, 98},
       -1,
       -1},
      {"positions only", [](TChartAxis* a) { a->SetLabelsSize(20); }, false, r, 117, 137},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TChartAxis* a = chart.AddCustomAxis(true);
    c.set(a);
    TRect got = r;
    a->CalcRect(got, c.inflate);
    EXPECT_EQ(got, c.rect);
    if (c.posLabels >= 0) {
      EXPECT_EQ(a->PosLabels, c.posLabels);
    }
    if (c.posTitle >= 0) {
      EXPECT_EQ(a->PosTitle, c.posTitle);
    }
    chart.RemoveCustomAxis(a);
  }
  // Every side shrinks towards the inside; the chart's hook sees the labels' room.
  chart.LeftAxis()->SetLabelsSize(30);
  chart.Axes().OnCalcLabelsSize = [](TChartAxis*, int& size) { size -= 10; };
  TRect got = r;
  chart.LeftAxis()->CalcRect(got, true);
  EXPECT_EQ(got, (TRect{10 + 20 + 7, 10, 210, 110}));
  EXPECT_EQ(chart.TopAxis()->InflateAxisPos(50, 5), 45);
  EXPECT_EQ(chart.RightAxis()->InflateAxisPos(50, 5), 55);
}

TEST_F(EngineTest, AxesListsAndToolsEdgeCases) {
  Headless h;
  TCustomAxisPanel& chart = h.chart;
  chart::TChartAxes& axes = chart.Axes();
  EXPECT_EQ(axes.Count(), 6);
  EXPECT_EQ(axes.Get(2), chart.LeftAxis());
  EXPECT_EQ(axes.Get(6), nullptr);
  axes.Hide();
  EXPECT_FALSE(chart.GetAxisVisible());
  EXPECT_FALSE(chart.CalcIsAxisVisible(chart.BottomAxis()));
  axes.SetVisible(true);
  // No active series: the standard axes show; a series without axes hides them all.
  EXPECT_TRUE(chart.CalcIsAxisVisible(chart.RightAxis()));
  EXPECT_FALSE(chart.CalcIsAxisVisible(chart.DepthAxis()));
  auto* pie = new NoAxes(&h.form);
  chart.AddSeries(pie);
  EXPECT_FALSE(chart.CalcIsAxisVisible(chart.BottomAxis()));
  pie->SetActive(false);
  chart.BottomAxis()->SetMinMax(2, 3);
  axes.Reset();
  EXPECT_TRUE(chart.BottomAxis()->GetAutomatic());
  axes.FastCalc(true);
  EXPECT_TRUE(chart.GetAxesFastCalc());

  // Custom axes follow their master's range, along a chain, and a loop of masters ends.
  TChartAxis* c1 = chart.AddCustomAxis(false);
  TChartAxis* c2 = chart.AddCustomAxis(false);
  c1->MasterAxis = chart.LeftAxis();
  c2->MasterAxis = c1;
  chart.LeftAxis()->MasterAxis = c2;
  chart.LeftAxis()->SetMinMax(0, 70);
  EXPECT_EQ(c2->GetMaximum(), 70);
  chart.CustomAxes().Put(0, chart.BottomAxis());
  EXPECT_TRUE(c1->Horizontal());
  EXPECT_EQ(chart.CustomAxes().Get(2), nullptr);

  // Z order and depth in 3D: automatic slots 0 and 1.
  auto* s1 = new TChartSeries(&h.form);
  auto* s2 = new TChartSeries(&h.form);
  chart.AddSeries(s1);
  chart.AddSeries(s2);
  chart.SetView3D(true);
  chart.CalcLayout(TRect{0, 0, 200, 100});
  EXPECT_EQ(chart.MaxZOrder, 1);
  EXPECT_EQ(s2->GetZOrder(), 1);
  EXPECT_EQ(s1->ZPosition, 1);
  EXPECT_GT(chart.SeriesWidth3D, 0);
  EXPECT_EQ(chart.Width3D(), 2 * chart.SeriesWidth3D);
  EXPECT_EQ(MessageOf<platform::Exception>([&] { chart.Set3DPercent(101); }),
            "3D effect percent must be between 1 and 100");

  // Tools: events reach the active ones in order; a tool freed by its owner leaves the list.
  std::string log;
  auto* a = new ToolLog(&h.form, &log, 'a');
  auto* b = new ToolLog(&h.form, &log, 'b');
  chart.Tools().Add(a);
  chart.Tools().Add(b);
  a->SetActive(false);
  chart.BroadcastToolEvent(chart::cteBeforeDraw);
  chart.Tools().Active(true);
  chart.BroadcastToolEvent(chart::cteAfterDraw);
  EXPECT_EQ(log, "bab");
  delete b;
  EXPECT_EQ(chart.Tools().Count(), 1);
  auto* onAxis = new chart::TPlotCustomToolAxis(&h.form);
  onAxis->SetAxis(chart.RightAxis());
  EXPECT_EQ(onAxis->GetParentChart(), &chart);
  EXPECT_EQ(onAxis->GetAxisID(), 3);
  auto* onSeries = new chart::TPlotCustomToolSeries(&h.form);
  chart.Tools().Add(onSeries);
  onSeries->SetSeries(s2);
  delete s2;
  EXPECT_EQ(onSeries->GetSeries(), nullptr);
  EXPECT_EQ(onSeries->GetVertAxis(), chart.LeftAxis());
}

}  // namespace
}  // namespace enginetest
