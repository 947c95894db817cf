// The chart and the mouse, on a headless chart laid out like the console's signal chart but with
// the library's mouse settings: clicked parts, drag zoom and its undo, panning, the wheel, and
// saved scales surviving custom axes that come and go.
#include <QCoreApplication>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/engine/axis.h"
#include "chart/engine/series_marks.h"
#include "chart/engine/series_pointer.h"
#include "chart/series/bar_series.h"
#include "platform/vcl/export_targets.h"
#include "platform/vcl/form.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartAxis;
using platform::mbLeft;
using platform::mbRight;
using platform::TRect;

// 297 x 113 in 2D, bars of 55 at X = 1..32 with value marks, 16 points a page, the left axis
// fixed at 0..70 and hidden.
class ConsoleLikeChart : public chart::TChart {
 public:
  explicit ConsoleLikeChart(platform::TPanelSurface surface = platform::TPanelSurface::Headless)
      : TChart(nullptr, surface) {
    SetView3D(false);
    SetBounds(0, 0, 297, 113);
    Legend()->SetVisible(false);
    Title()->GetText()->Add("CNR");
    BottomAxis()->SetLabelsOnAxis(false);
    BottomAxis()->SetLabelStyle(chart::talText);
    LeftAxis()->SetMinMax(0, 70);
    LeftAxis()->SetVisible(false);
    SetPointsPerPage(16);
    AddSeries(bars);
    bars->Marks()->SetStyle(chart::smsValue);
    bars->Marks()->SetVisible(true);
    bars->Marks()->GetCallout()->SetLength(3);
    bars->SetAutoMarkPosition(false);
    for (int n = 1; n <= 32; ++n) bars->AddXY(n, 55, std::to_string(n), platform::clBlue);
    Repaint();
  }
  void Drag(platform::TMouseButton b, int x0, int y0, int x1, int y1) {
    PerformMouseDown(b, {}, x0, y0);
    PerformMouseMove({}, (x0 + x1) / 2, (y0 + y1) / 2);
    PerformMouseMove({}, x1, y1);
    PerformMouseUp(b, {}, x1, y1);
    Repaint();
  }
  // The left axis' value at pixel y: 70 at the chart's top, 0 at its bottom.
  double LeftValue(int y) const {
    return 70.0 * (ChartRect.Bottom - y) / (ChartRect.Bottom - ChartRect.Top);
  }
  platform::TComponent form{nullptr};
  chart::TBarSeries* bars = new chart::TBarSeries(&form);
};

// The bottom axis on a full page: X = n at pixel 21 + 17 (n - 1).
double BottomValue(int x) {
  return 1 + (x - 21) / 17.0;
}

void ExpectRange(const TChartAxis* a, double min, double max, bool automatic) {
  EXPECT_NEAR(a->GetMinimum(), min, 1e-9);
  EXPECT_NEAR(a->GetMaximum(), max, 1e-9);
  EXPECT_EQ(a->GetAutomatic(), automatic);
}

// Zoomed to the pixels x0..x1 (bottom axis), y0..y1 (left axis, y0 the higher).
void ExpectZoomedTo(const ConsoleLikeChart& c, int x0, int y0, int x1, int y1) {
  ExpectRange(c.BottomAxis(), BottomValue(x0), BottomValue(x1), false);
  ExpectRange(c.LeftAxis(), c.LeftValue(y1), c.LeftValue(y0), false);
}

TEST_F(EngineTest, ConsoleChartScriptedInteraction) {
  ConsoleLikeChart c;
  const int barTop =
      c.ChartRect.Bottom -
      static_cast<int>(std::lround(55.0 * (c.ChartRect.Bottom - c.ChartRect.Top) / 70));
  chart::TChartClickedPart part;
  c.CalcClickedPart({55, (barTop + c.ChartRect.Bottom) / 2}, part);
  EXPECT_EQ(part.Part, chart::cpSeries);
  EXPECT_EQ(part.PointIndex, 2);
  EXPECT_EQ(part.ASeries, c.bars);
  int clicked = -1;
  c.OnClickSeries = [&](auto*, auto*, int i, auto, auto, int, int) { clicked = i; };
  c.Drag(mbLeft, 55, (barTop + c.ChartRect.Bottom) / 2, 55, (barTop + c.ChartRect.Bottom) / 2);
  EXPECT_EQ(clicked, 2);
  c.OnClickSeries = {};

  const chart::TSeriesMarkPosition* mark = c.bars->Marks()->Positions().Get(2);
  ASSERT_NE(mark, nullptr);
  c.CalcClickedPart({mark->TopLeft.X + mark->Width / 2, mark->TopLeft.Y + mark->Height / 2}, part);
  EXPECT_EQ(part.Part, chart::cpSeriesMarks);
  EXPECT_EQ(part.PointIndex, 2);

  const int y0 = c.ChartRect.Top + 10;
  const double l0 = c.LeftValue(y0 + 20), l1 = c.LeftValue(y0);
  c.Drag(mbLeft, 100, y0, 120, y0 + 20);
  EXPECT_FALSE(c.ScalesFree);
  ExpectRange(c.BottomAxis(), BottomValue(100), BottomValue(120), false);
  ExpectRange(c.LeftAxis(), l0, l1, false);
  EXPECT_FALSE(c.TopAxis()->GetAutomatic());
  EXPECT_FALSE(c.RightAxis()->GetAutomatic());

  c.Drag(mbLeft, 120, y0, 100, y0 + 20);
  EXPECT_TRUE(c.ScalesFree);
  EXPECT_TRUE(c.SavedScales.empty());
  ExpectRange(c.LeftAxis(), 0, 70, false);
  EXPECT_TRUE(c.BottomAxis()->GetAutomatic());
  EXPECT_TRUE(c.TopAxis()->GetAutomatic());
  c.NextPage();
  c.Repaint();
  ExpectRange(c.BottomAxis(), 17, 32, true);

  EXPECT_FALSE(c.PerformMouseWheel({}, -120, 150, 50));
  ExpectRange(c.LeftAxis(), 2.1, 72.1, false);
}

// The window's wheel reaches the chart: one step towards the user scrolls down.
TEST_F(EngineTest, TheWindowsWheelScrollsTheChart) {
  platform::TForm form(nullptr);
  auto* c = new ConsoleLikeChart(platform::TPanelSurface::Window);
  c->SetParent(&form);
  form.Show();
  c->Repaint();
  QWidget* w = c->Widget();
  ASSERT_NE(w, nullptr);
  QWheelEvent wheel(QPointF(150, 50), w->mapToGlobal(QPointF(150, 50)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(w, &wheel);
  ExpectRange(c->LeftAxis(), 2.1, 72.1, false);
}

// Saved scales belong to the axes they were taken from: an axis made after the zoom keeps its
// range, one freed meanwhile is skipped, whatever memory the new one took over.
TEST_F(EngineTest, UndoZoomAfterCustomAxesCameAndWent) {
  ConsoleLikeChart c;
  TChartAxis* old = c.AddCustomAxis(false);
  old->SetMinMax(1, 2);
  c.Repaint();
  c.Drag(mbLeft, 100, 40, 130, 70);
  ASSERT_FALSE(c.ScalesFree);
  c.RemoveCustomAxis(old);
  TChartAxis* later = c.AddCustomAxis(false);
  later->SetMinMax(30, 40);
  c.UndoZoom();
  ExpectRange(c.LeftAxis(), 0, 70, false);
  EXPECT_TRUE(c.BottomAxis()->GetAutomatic());
  ExpectRange(later, 30, 40, false);
  EXPECT_TRUE(c.SavedScales.empty());
  EXPECT_TRUE(c.ScalesFree);
}

TEST_F(EngineTest, ChartMouseEdgeCases) {
  using C = ConsoleLikeChart;
  const std::pair<const char*, std::function<void(C&)>> cases[] = {
      {"16 right and 40 down is too narrow",
       [](C& c) {
         c.Drag(mbLeft, 100, 30, 116, 70);
         EXPECT_TRUE(c.ScalesFree && c.BottomAxis()->GetAutomatic());
       }},
      {"horizontal zoom spans the full height",
       [](C& c) {
         c.GetZoom()->Direction = chart::tzdHorizontal;
         c.Drag(mbLeft, 100, 40, 140, 45);
         ExpectRange(c.BottomAxis(), BottomValue(100), BottomValue(140), false);
         ExpectRange(c.LeftAxis(), 0, 70, false);
       }},
      {"two zooms, one undo",
       [](C& c) {
         c.Drag(mbLeft, 60, 20, 200, 80);
         c.Drag(mbLeft, 100, 30, 150, 70);
         c.Drag(mbLeft, 150, 30, 100, 70);
         ExpectRange(c.LeftAxis(), 0, 70, false);
         EXPECT_TRUE(c.BottomAxis()->GetAutomatic());
       }},
      {"animated: three frames, the drag's repaint, the target",
       [](C& c) {
         c.GetZoom()->Animated = true;
         c.GetZoom()->AnimatedSteps = 4;
         const int before = c.DrawCount();
         c.Drag(mbLeft, 100, 30, 120, 50);
         EXPECT_EQ(c.DrawCount() - before, 3 + 1);
         ExpectRange(c.BottomAxis(), BottomValue(100), BottomValue(120), false);
       }},
      {"ZoomPercent 100 keeps the ranges but saves and tells",
       [](C& c) {
         int zooms = 0;
         c.OnZoom = [&zooms](platform::TObject*) { ++zooms; };
         c.ZoomPercent(100);
         EXPECT_EQ(zooms, 1);
         EXPECT_FALSE(c.ScalesFree);
         ExpectRange(c.LeftAxis(), 0, 70, false);
       }},
      {"right drag pans: dragging right shows smaller values",
       [](C& c) {
         c.Drag(mbRight, 100, 50, 117, 50);
         ExpectRange(c.BottomAxis(), 0, 15, false);  // page 1..16, 17 px a unit
         ExpectRange(c.LeftAxis(), 0, 70, false);
       }},
      {"leaving the chart rectangle ends panning",
       [](C& c) {
         c.Drag(mbRight, 100, 50, 100, 200);  // the release comes after the move out
         EXPECT_TRUE(c.ScalesFree);
       }},
      {"OnAllowScroll refuses, OnScroll still comes",
       [](C& c) {
         int scrolls = 0;
         c.OnAllowScroll = [](TChartAxis*, double&, double&, bool& allow) { allow = false; };
         c.OnScroll = [&scrolls](platform::TObject*) { ++scrolls; };
         c.Drag(mbRight, 100, 50, 130, 60);
         EXPECT_EQ(scrolls, 2);
         EXPECT_TRUE(c.BottomAxis()->GetAutomatic());
         ExpectRange(c.LeftAxis(), 0, 70, false);
       }},
      {"opted out, the wheel does nothing; in, two half steps up make one",
       [](C& c) {
         c.UseMouseWheel = false;
         c.PerformMouseWheel({}, -120, 150, 50);
         ExpectRange(c.LeftAxis(), 0, 70, false);
         c.UseMouseWheel = true;
         for (int i = 0; i < 2; ++i) c.PerformMouseWheel({}, 60, 150, 50);
         ExpectRange(c.LeftAxis(), -2.1, 67.9, false);
       }},
      {"vertical: 5 right, 30 down takes the full width",
       [](C& c) {
         c.GetZoom()->Direction = chart::tzdVertical;
         c.Drag(mbLeft, 100, 30, 105, 60);
         ExpectZoomedTo(c, c.ChartRect.Left, 30, c.ChartRect.Right, 60);
       }},
      {"vertical: 40 right, 16 down is too short",
       [](C& c) {
         c.GetZoom()->Direction = chart::tzdVertical;
         c.Drag(mbLeft, 100, 30, 140, 46);
         EXPECT_TRUE(c.ScalesFree && c.BottomAxis()->GetAutomatic());
       }},
      {"vertical: dragging up undoes",
       [](C& c) {
         c.Drag(mbLeft, 60, 20, 200, 80);
         c.GetZoom()->Direction = chart::tzdVertical;
         c.Drag(mbLeft, 100, 70, 100, 30);
         EXPECT_TRUE(c.ScalesFree && c.BottomAxis()->GetAutomatic());
         ExpectRange(c.LeftAxis(), 0, 70, false);
       }},
      {"up-left zooms with UpLeftZooms",
       [](C& c) {
         c.GetZoom()->UpLeftZooms = true;
         c.Drag(mbLeft, 140, 60, 110, 30);
         ExpectZoomedTo(c, 110, 30, 140, 60);
       }},
      {"free margin: no zoom, OnClickBackground",
       [](C& c) {
         int clicks = 0;
         c.OnClickBackground = [&clicks](auto*, auto, auto, int, int) { ++clicks; };
         c.Drag(mbLeft, 2, 2, 60, 60);
         EXPECT_EQ(clicks, 1);
         EXPECT_TRUE(c.ScalesFree);
       }},
  };
  for (const auto& [name, run] : cases) {
    SCOPED_TRACE(name);
    ConsoleLikeChart c;
    run(c);
  }
}

// A press answers what the window shows: a paint that leaves the legend out leaves nothing that
// reports it, and an export at another size changes no part under any pixel. Each change comes
// twice: before a press on the legend's first item, and before the parts are read.
TEST_F(EngineTest, PressesAnswerWhatTheWindowShows) {
  using C = ConsoleLikeChart;
  const TRect big{0, 0, 1000, 600};
  const std::tuple<const char*, std::function<void(C&)>, bool> cases[] = {
      {"every series inactive", [](C& c) { c.bars->SetActive(false), c.Repaint(); }, false},
      {"every series freed", [](C& c) { c.FreeAllSeries(), c.Repaint(); }, false},
      {"a bitmap", [&](C& c) { c.PlotCreateBitmap(platform::clWhite, big, platform::pfDevice); },
       true},
      {"a picture", [&](C& c) { c.PlotCreateMetafile(true, big); }, true},
  };
  for (const auto& [name, change, legendStays] : cases) {
    SCOPED_TRACE(name);
    C c;
    c.Legend()->SetVisible(true);
    c.Repaint();
    auto partsNow = [&c] {
      std::vector<std::pair<int, int>> parts;
      chart::TChartClickedPart part;
      for (int i = 0; i < c.GetWidth() * c.GetHeight(); ++i) {
        c.CalcClickedPart({i % c.GetWidth(), i / c.GetWidth()}, part);
        parts.push_back({part.Part, part.PointIndex});
      }
      return parts;
    };
    const auto before = partsNow();
    const auto at = std::find(before.begin(), before.end(), std::pair{+chart::cpLegend, 0});
    ASSERT_NE(at, before.end());
    const int x = static_cast<int>(at - before.begin()) % c.GetWidth(),
              y = static_cast<int>(at - before.begin()) / c.GetWidth();
    int clicks = 0;
    c.OnClickLegend = [&clicks](auto*, auto, auto, int, int) { ++clicks; };
    change(c);
    c.PerformMouseDown(mbLeft, {}, x, y);
    c.PerformMouseUp(mbLeft, {}, x, y);
    EXPECT_EQ(clicks, legendStays ? 1 : 0);
    change(c);
    const auto after = partsNow();
    if (legendStays)
      EXPECT_TRUE(after == before);
    else
      EXPECT_EQ(std::count_if(after.begin(), after.end(),
                              [](const auto& p) { return p.first == chart::cpLegend; }),
                0);
  }
}

// A series' own view of its axes and of the mouse; without a chart nothing is under it.
TEST_F(EngineTest, SeriesAxisAndCursorOperations) {
  ConsoleLikeChart c;
  chart::TBarSeries* s = c.bars;
  c.LeftAxis()->SetAxisValuesFormat("0.0");
  const int y = c.ChartRect.Bottom - 3;
  c.PerformMouseMove({}, 72, y);
  double vx = 0, vy = 0;
  s->GetCursorValues(vx, vy);
  EXPECT_EQ(s->GetCursorValueIndex(), 3);
  EXPECT_NEAR(vx, 4, 1e-9);
  EXPECT_NEAR(vy, c.LeftValue(y), 1e-9);
  EXPECT_EQ(std::vector<int>({s->CalcXSizeValue(2), s->CalcYSizeValue(70), s->CalcPosValue(70)}),
            std::vector<int>({34, c.ChartRect.Bottom - c.ChartRect.Top, c.ChartRect.Top}));
  EXPECT_EQ(s->XValueToText(3) + " " + s->YValueToText(35), "3 35.0");
  chart::TBarSeries loose(nullptr);
  EXPECT_EQ(loose.YValueToText(1234.5) + std::to_string(loose.GetCursorValueIndex()), "1,234.5-1");
}

// Logs name + 'd', 'm', 'u' per mouse event, 'x' when the mouse leaves; cancels those listed.
struct MouseTool : chart::TPlotCustomTool {
  MouseTool(ConsoleLikeChart& c, std::string& log, char name, const char* cancels)
      : TPlotCustomTool(&c.form), log(log), name(name), cancels(cancels) {
    c.Tools().Add(this);
  }
  void ChartMouseEvent(chart::TChartMouseEvent e, platform::TMouseButton, platform::TShiftState,
                       int, int) override {
    log += {name, "dmu"[e]};
    if (std::strchr(cancels, "dmu"[e])) GetParentChart()->CancelMouse = true;
  }
  void ChartEvent(chart::TChartToolEvent e) override {
    if (e == chart::cteMouseLeave) log += {name, 'x'};
  }
  std::string& log;
  char name;
  const char* cancels;
};

// A press on the title (T), bottom axis (A) or a check box (L) is handled unless its handler
// clears CancelMouse: then the background (B) hears it too and the zoom may start. A press on
// the chart rectangle is the background's, once. A tool that cancels an event keeps it from the
// later tools and the chart.
TEST_F(EngineTest, ChartClickEventsAndTools) {
  enum { kTitle, kAxis, kLegendBox, kChart };
  const std::string moves = "ambmcmambmcm";
  const struct {
    const char* name;
    int at;                   // the press; the drag goes on 30 right, 30 down
    const char* toolCancels;  // null: no tools
    bool clears;
    std::string log;
    bool zoomed, barsActive;
  } cases[] = {
      {"title, handled", kTitle, nullptr, false, "T", false, true},
      {"title, CancelMouse cleared", kTitle, nullptr, true, "TB", true, true},
      {"bottom axis", kAxis, nullptr, false, "A", false, true},
      {"legend check box", kLegendBox, nullptr, false, "L", false, false},
      {"chart rectangle, CancelMouse cleared", kChart, nullptr, true, "B", true, true},
      {"tools hear everything", kChart, "", true, "adbdcdB" + moves + "aubucu", true, true},
      {"a tool cancels the press", kChart, "d", true, "adbd" + moves + "aubucu", false, true},
      // The release still ends the zoom where the mouse is.
      {"a tool cancels the moves", kChart, "m", true, "adbdcdBambmambmaubucu", true, true},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ConsoleLikeChart c;
    std::string log;
    auto mark = [&](char letter) {
      log += letter;
      if (k.clears) c.CancelMouse = false;
    };
    c.OnClickTitle = [&](auto*, auto* t, auto, auto, int, int) { mark("?T"[t == c.Title()]); };
    c.OnClickAxis = [&](auto*, auto* a, auto, auto, int, int) { mark("?A"[a == c.BottomAxis()]); };
    c.OnClickLegend = [&](auto*, auto, auto, int, int) { mark('L'); };
    c.OnClickBackground = [&](auto*, auto, auto, int, int) { mark('B'); };
    c.Legend()->SetVisible(true);
    c.Legend()->SetCheckBoxes(true);
    if (k.toolCancels) {
      for (char t : {'a', 'b', 'c', 'i'}) new MouseTool(c, log, t, t == 'b' ? k.toolCancels : "");
      c.Tools().Get(3)->SetActive(false);
    }
    c.Repaint();
    const TRect &t = c.Title()->ShapeBounds, &l = c.Legend()->ShapeBounds;
    int boxY = l.Top;  // a row of the first check box
    while (boxY < l.Bottom && c.Legend()->Clicked(l.Left + 8, boxY) != 0) ++boxY;
    const platform::TPoint at[] = {{(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2},
                                   {149, c.ChartRect.Bottom + 3},
                                   {l.Left + 8, boxY},
                                   {100, c.ChartRect.Top + 10}},
                           p = at[k.at];
    c.Drag(mbLeft, p.X, p.Y, p.X + 30, p.Y + 30);
    EXPECT_EQ(log, k.log);
    EXPECT_EQ(!c.ScalesFree, k.zoomed);
    EXPECT_EQ(c.bars->GetActive(), k.barsActive);
    log.clear();
    c.PerformMouseLeave();
    EXPECT_EQ(log, k.toolCancels ? "axbxcx" : "");
  }
}

}  // namespace
}  // namespace enginetest
