// The gallery registry, the named palettes on a chart and from a layout, and series cloned and
// retyped in place.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "chart/common/plot_const.h"
#include "chart/component/series_registry.h"
#include "chart/engine/tools.h"
#include "chart/series/bar_series.h"
#include "chart/series/plot_functions.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/form.h"
#include "platform/vcl/layout_reader.h"
#include "platform/vcl/picture.h"
#include "tests/chart/engine/engine_fixture.h"

namespace {

using namespace chart;

class TTestLineSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  CHART_SERIES_CLASS(TTestLineSeries)
};

class Registry : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    RegisterChartLayoutClasses();
    line_ = &platform::RegisterComponentClass<TTestLineSeries>("TTestLineSeries", "TChartSeries");
    bar_ = platform::FindClass("TBarSeries");
  }
  // The gallery is process-wide: leave no standard series behind for the next test.
  void TearDown() override {
    std::vector<const platform::TClassInfo*> classes{line_};
    for (const char* name :
         {"TLineSeries", "TBarSeries", "THorizBarSeries", "TAreaSeries", "TPointSeries",
          "TPieSeries", "TFastLineSeries", "THorizLineSeries", "THorizAreaSeries"})
      classes.push_back(platform::FindClass(name));
    UnRegisterPlotSeries(classes);
  }
  TBarSeries* Bar(double value, TColor color = platform::clDefault) {
    auto* s = new TBarSeries(&form_);
    s->SetName(GetNewSeriesName(&form_));
    s->SetParentChart(&chart_);
    for (int i = 0; i < 3; ++i) s->AddXY(i, value + i, "p" + std::to_string(i), color);
    return s;
  }
  // The points Bar(value, color) gave.
  static void ExpectBarPoints(TChartSeries* s, double value, TColor color) {
    ASSERT_EQ(s->Count(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(std::pair(s->GetxValue(i), s->GetyValue(i)), std::pair(i + 0.0, value + i));
      EXPECT_EQ(s->GetXLabel(i), "p" + std::to_string(i));
      EXPECT_EQ(s->GetValueColor(i), color);
    }
  }
  platform::TComponent form_{nullptr};
  TChart chart_{nullptr, platform::TPanelSurface::Headless};
  const platform::TClassInfo* line_ = nullptr;
  const platform::TClassInfo* bar_ = nullptr;
};

TEST_F(Registry, ThePastelsGoToAutomaticSeriesOnly) {
  TBarSeries* s0 = Bar(1);
  TBarSeries* own = Bar(1);
  own->SetSeriesColor(0x123456);
  TBarSeries* s2 = Bar(1);
  TColorPalettes::ApplyPalette(&chart_, 3);
  EXPECT_EQ(s0->GetSeriesColor(), 0xFFFFCCu);
  EXPECT_EQ(own->GetSeriesColor(), 0x123456u);
  EXPECT_EQ(s2->GetSeriesColor(), 0xCCFFFFu);
  EXPECT_EQ(Bar(1)->GetSeriesColor(), 0xFFCCCCu);  // a later series too
  EXPECT_EQ(chart_.ColorPaletteIndex, 3);
}

TEST_F(Registry, AStoredPaletteIndexAppliesThePalette) {
  struct Case {
    int index;
    TColor first, second;
  };
  for (const Case& c :
       {Case{0, 0x0000FF, 0x008000}, Case{3, 0xFFFFCC, 0xCCFFFF}, Case{12, 0x0000FF, 0x008000}}) {
    platform::TForm form(nullptr);
    TChart* chart = nullptr;
    TBarSeries* s1 = nullptr;
    TBarSeries* s2 = nullptr;
    platform::TLayoutBindings bindings;
    bindings.Field("Chart1", chart).Field("Series1", s1).Field("Series2", s2);
    platform::ReadLayout(form,
                         "object Form1: TForm\n  object Chart1: TChart\n    ColorPaletteIndex = " +
                             std::to_string(c.index) +
                             "\n  end\n  object Series1: TBarSeries\n    ParentChart = Chart1\n"
                             "  end\n  object Series2: TBarSeries\n    ParentChart = Chart1\n"
                             "  end\nend\n",
                         bindings);
    EXPECT_EQ(chart->ColorPaletteIndex, c.index);
    EXPECT_EQ(s1->GetSeriesColor(), c.first) << c.index;
    EXPECT_EQ(s2->GetSeriesColor(), c.second) << c.index;
  }
}

TEST_F(Registry, ListsEntriesInRegistrationOrderWithTheirTexts) {
  // Class T<kind>PlotFunction, gallery text.
  const std::pair<const char*, const char*> functions[] = {
      {"Add", "Add"},         {"Subtract", "Subtract"}, {"Multiply", "Multiply"},
      {"Divide", "Divide"},   {"High", "High"},         {"Low", "Low"},
      {"Average", "Average"}, {"Custom", "y = f(x)"},   {"Median", "Median"},
      {"Mode", "Mode"}};
  RegisterPlotStandardSeries();
  ASSERT_EQ(PlotSeriesTypes->Count(), 19);
  for (int i = 0; i < 10; ++i) {
    const TPlotSeriesType* e = PlotSeriesTypes->Get(i);
    const auto& [kind, text] = functions[i];
    EXPECT_EQ(e->SeriesKind, nullptr);
    EXPECT_EQ(e->FunctionKind->Name, std::string("T") + kind + "PlotFunction");
    EXPECT_EQ(*e->GalleryName, text);
    EXPECT_EQ(*e->GalleryTab, "Standard");
    EXPECT_EQ(e->GallerySeriesCount, 2);
  }
  // Class, gallery text, sample series count; all on the "Standard" page.
  const std::tuple<const char*, const char*, int> series[] = {
      {"TLineSeries", "Line", 2},
      {"TBarSeries", "Bar", 2},
      {"THorizBarSeries", "Horizontal\rBar", 2},
      {"TAreaSeries", "Area", 2},
      {"TPointSeries", "Point", 2},
      {"TPieSeries", "Pie", 1},
      {"TFastLineSeries", "Fast Line", 2},
      {"THorizLineSeries", "Horizontal\rLine", 1},
      {"THorizAreaSeries", "Horizontal\rArea", 1}};
  for (int i = 0; i < 9; ++i) {
    const TPlotSeriesType* e = PlotSeriesTypes->Get(10 + i);
    const auto& [name, text, count] = series[i];
    ASSERT_NE(e->SeriesKind, nullptr) << name;
    EXPECT_EQ(e->SeriesKind->Name, name);
    EXPECT_EQ(e->FunctionKind, nullptr);
    EXPECT_EQ(*e->GalleryName, text);
    EXPECT_EQ(*e->GalleryTab, "Standard");
    EXPECT_EQ(e->GallerySeriesCount, count) << name;
  }
  EXPECT_EQ(PlotSeriesTypes->Get(11), PlotSeriesTypes->Find(bar_));
  // The text is the message's: a translation shows.
  PlotMsg_GalleryBar = "Balken";
  EXPECT_EQ(GetGallerySeriesName(Bar(1)), "Balken");
  PlotMsg_GalleryBar = "Bar";
}

TEST_F(Registry, ChangingTheTypeKeepsPointsNamePlaceAndSharedSettings) {
  Bar(1);
  TChartSeries* s = Bar(10, 0x0000FF);
  TBarSeries* last = Bar(1);
  s->SetTitle("Signal");
  s->SetSeriesColor(0x00FF00);
  s->Marks()->SetVisible(true);
  static_cast<TBarSeries*>(s)->SetBarWidthPercent(40);
  int clicks = 0;
  s->OnClick = [&](TChartSeries*, int, platform::TMouseButton, platform::TShiftState, int, int) {
    ++clicks;
  };
  auto* fed = new TTestLineSeries(&form_);
  fed->SetDataSource(s);
  auto* tool = new TPlotCustomToolSeries(&form_);
  tool->SetSeries(s);
  chart_.Tools().Add(tool);

  ChangeSeriesType(s, line_);
  EXPECT_STREQ(s->ClassName(), "TTestLineSeries");
  EXPECT_EQ(chart_.GetSeries(1), s);
  EXPECT_EQ(chart_.GetSeries(2), last);
  EXPECT_EQ(s->GetName(), "Series2");
  EXPECT_EQ(s->GetTitle(), "Signal");
  EXPECT_EQ(s->GetSeriesColor(), 0x00FF00u);
  EXPECT_TRUE(s->Marks()->GetVisible());
  ExpectBarPoints(s, 10, 0x0000FF);
  s->OnClick(s, 0, platform::mbLeft, {}, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(fed->GetDataSource(), s);
  EXPECT_TRUE(s->LinkedSeries().Contains(fed));
  EXPECT_EQ(tool->GetSeries(), s);

  ChangeSeriesType(s, bar_);  // back: the bar width was not the line's to keep
  EXPECT_EQ(static_cast<TBarSeries*>(s)->GetBarWidthPercent(), 70);
  ExpectBarPoints(s, 10, 0x0000FF);
}

TEST_F(Registry, ACloneEqualsItsSeries) {
  TBarSeries* s = Bar(5, 0xFF0000);
  s->SetTitle("Ephemeris");
  s->SetBarWidthPercent(55);
  auto* f = new THighPlotFunction(&form_);
  f->SetPeriod(2);
  s->SetFunction(f);
  auto* clone = dynamic_cast<TBarSeries*>(CloneChartSeries(s));
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetParentChart(), &chart_);
  EXPECT_EQ(clone->GetName(), "Series2");
  EXPECT_EQ(clone->GetTitle(), "Ephemeris");
  EXPECT_EQ(clone->GetBarWidthPercent(), 55);
  ExpectBarPoints(clone, 5, 0xFF0000);
  ExpectBarPoints(s, 5, 0xFF0000);
  ASSERT_NE(dynamic_cast<THighPlotFunction*>(clone->FunctionOf()), nullptr);
  EXPECT_EQ(clone->FunctionOf()->GetPeriod(), 2);
  EXPECT_EQ(s->FunctionOf(), f);  // the original keeps its own
}

TEST_F(Registry, ALegendSymbolOnAnyCanvasLeavesTheSeriesAsItWas) {
  for (TCustomChart* reference : std::vector<TCustomChart*>{nullptr, &chart_}) {
    TBarSeries s(nullptr);
    s.SetSeriesColor(0x00FF00);
    platform::TBitmap bitmap;
    bitmap.SetSize(40, 20);
    PaintSeriesLegend(&s, bitmap.Canvas, TRect{5, 5, 35, 15}, reference);
    EXPECT_EQ(bitmap.Canvas->GetPixel(20, 10), 0x00FF00u);
    EXPECT_EQ(s.GetParentChart(), nullptr);
    EXPECT_EQ(chart_.SeriesCount(), 0);
  }
}

TEST_F(Registry, EdgeCases) {
  struct Case {
    const char* what;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"same class twice: one entry; with a function: a second one Find skips",
       [&] {
         const int n = PlotSeriesTypes->Count();
         RegisterPlotSeries(line_, &PlotMsg_GalleryLine);
         RegisterPlotSeries(line_, &PlotMsg_GalleryLine);
         RegisterPlotSeriesFunction(line_, platform::FindClass("TLowPlotFunction"),
                                    &PlotMsg_FunctionLow, &PlotMsg_GalleryFunctions, 1);
         EXPECT_EQ(PlotSeriesTypes->Count(), n + 2);
         EXPECT_EQ(PlotSeriesTypes->Find(line_), PlotSeriesTypes->Get(n));
       }},
      {"unregistered class: its class name",
       [&] { EXPECT_EQ(GetGallerySeriesName(Bar(1)), "TBarSeries"); }},
      {"retype to its own class: the same object",
       [&] {
         TChartSeries* s = Bar(1);
         TChartSeries* same = s;
         ChangeSeriesType(s, bar_);
         EXPECT_EQ(s, same);
       }},
      {"palette 0 and above 9: emptied, index kept",
       [&] {
         for (int index : {0, 10}) {
           TColorPalettes::ApplyPalette(&chart_, 8);
           TColorPalettes::ApplyPalette(&chart_, index);
           EXPECT_TRUE(chart_.CustomPalette.empty());
           EXPECT_EQ(chart_.ColorPaletteIndex, index);
         }
       }},
      {"new series: the form owns it, unless the chart owns one already",
       [&] {
         EXPECT_EQ(CreateNewSeries(&form_, &chart_, bar_)->Owner(), &form_);
         auto* owned = new TBarSeries(&chart_);
         owned->SetParentChart(&chart_);
         EXPECT_EQ(CreateNewSeries(&form_, &chart_, bar_)->Owner(), &chart_);
       }},
      {"a class that makes no series is refused",
       [&] {
         const int n = chart_.SeriesCount();
         EXPECT_THROW(CreateNewSeries(&form_, &chart_, platform::FindClass("TAddPlotFunction")),
                      ChartException);
         EXPECT_EQ(chart_.SeriesCount(), n);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.check();
  }
}

}  // namespace
