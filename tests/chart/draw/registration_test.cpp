// A chart with two bar series and a function read from a form layout: the objects the reader
// creates and the published properties it sets, old property names, and refused values.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/component/titles.h"
#include "chart/component/walls.h"
#include "chart/engine/series_pointer.h"
#include "chart/engine/tools.h"
#include "chart/series/bar_series.h"
#include "chart/series/plot_functions.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/form.h"
#include "platform/vcl/layout_reader.h"
#include "platform/vcl/layout_registry.h"
#include "tests/chart/engine/engine_fixture.h"

namespace {

using namespace chart;

// The chart's own lines come before the series, so a line number names one property.
std::string Layout(const std::string& chartLine) {
  return R"(object Form1: TForm
  object Chart1: TChart
    Width = 297
    Height = 113
    Hint = 'two clicks'
    ParentShowHint = False
    ShowHint = True
    AllowPanning = pmNone
    BackWall.Brush.Color = clWhite
    BackWall.Brush.Style = bsClear
    LeftWall.Color = clBlue
    LeftWall.Size = 4
    Legend.Visible = False
    Legend.Alignment = laBottom
    PrintMargins = (
      15
      32
      15
      32)
    Title.Text.Strings = (
      'CNR')
    Title.Font.Color = clRed
    Foot.Alignment = taLeftJustify
    Zoom.Allow = False
    BottomAxis.LabelStyle = talText
    BottomAxis.LabelsOnAxis = False
    BottomAxis.Title.Font.Height = -8
    LeftAxis.Automatic = False
    LeftAxis.AutomaticMaximum = False
    LeftAxis.AutomaticMinimum = False
    LeftAxis.Maximum = 70.5
    LeftAxis.Grid.DrawEvery = 2
    LeftAxis.Visible = False
    MaxPointsPerPage = 16
    ScaleLastPage = False
    View3D = False
    OnClick = ChartClick
    OnDblClick = ChartDblClick
)" + chartLine +
         R"(
    object Series1: TBarSeries
      Marks.Callout.Brush.Color = clBlack
      Marks.Callout.Length = 3
      Marks.Style = smsValue
      Marks.Visible = True
      SeriesColor = clBlue
      Title = 'Signal'
      AutoMarkPosition = False
      Gradient.Direction = gdBottomTop
      MultiBar = mbNone
      BarWidthPercent = 60
      XValues.Name = 'X'
      XValues.Order = loAscending
      YValues.Name = 'Bar'
      YValues.Order = loNone
      object PlotFunction1: THighPlotFunction
        Period = 2
      end
    end
    object Series2: TBarSeries
      ParentChart = Chart1
      ShowInLegend = False
      YValues.Multiplier = 1
    end
  end
end
)";
}
constexpr int kFirstFreeLine = 39;

class Registration : public enginetest::EngineTest {
 public:
  void Read(const std::string& chartLine = {}) {
    RegisterChartLayoutClasses();
    form_ = std::make_unique<platform::TForm>(nullptr);
    platform::TLayoutBindings bindings;
    bindings.Event("ChartClick", [this](platform::TObject*) { ++clicks_; })
        .Event("ChartDblClick", [this](platform::TObject*) { clicks_ += 10; })
        .Field("Chart1", chart_)
        .Field("Series1", s1_)
        .Field("Series2", s2_)
        .Field("PlotFunction1", function_);
    platform::ReadLayout(*form_, Layout(chartLine), bindings);
  }
  std::unique_ptr<platform::TForm> form_;
  TChart* chart_ = nullptr;
  TBarSeries* s1_ = nullptr;
  TBarSeries* s2_ = nullptr;
  THighPlotFunction* function_ = nullptr;
  int clicks_ = 0;
};

TEST_F(Registration, CreatesTheChartItsSeriesAndTheFunctionWithTheirProperties) {
  ASSERT_NO_THROW(Read());
  ASSERT_EQ(chart_->SeriesCount(), 2);
  EXPECT_EQ(chart_->GetSeries(0), s1_);
  EXPECT_EQ(chart_->GetSeries(1), s2_);
  EXPECT_EQ(s1_->FunctionOf(), function_);
  EXPECT_EQ(function_->GetParentSeries(), s1_);

  struct Check {
    const char* what;
    std::function<double(Registration&)> got;
    double want;
  };
  const Check checks[] = {
      {"Width", [](auto& t) { return t.chart_->GetWidth(); }, 297},
      {"ShowHint", [](auto& t) { return t.chart_->GetShowHint(); }, 1},
      {"ParentShowHint", [](auto& t) { return t.chart_->GetParentShowHint(); }, 0},
      {"AllowPanning", [](auto& t) { return t.chart_->GetAllowPanning(); }, pmNone},
      {"BackWall.Brush.Color", [](auto& t) { return t.chart_->BackWall()->GetBrush()->GetColor(); },
       platform::clWhite},
      {"BackWall.Brush.Style", [](auto& t) { return t.chart_->BackWall()->GetBrush()->GetStyle(); },
       platform::bsClear},
      {"LeftWall.Color", [](auto& t) { return t.chart_->LeftWall()->GetColor(); }, 0xFF0000},
      {"LeftWall.Size", [](auto& t) { return t.chart_->LeftWall()->GetSize(); }, 4},
      {"Legend.Visible", [](auto& t) { return t.chart_->Legend()->GetVisible(); }, 0},
      {"Legend.Alignment", [](auto& t) { return t.chart_->Legend()->GetAlignment(); }, laBottom},
      {"PrintMargins.Top", [](auto& t) { return t.chart_->PrintMargins.Top; }, 32},
      {"Title lines", [](auto& t) { return t.chart_->Title()->GetText()->Count(); }, 1},
      {"Title.Font.Color", [](auto& t) { return t.chart_->Title()->GetFont()->GetColor(); },
       0x0000FF},
      {"Foot.Alignment", [](auto& t) { return t.chart_->Foot()->GetAlignment(); },
       platform::taLeftJustify},
      {"Zoom.Allow", [](auto& t) { return t.chart_->GetZoom()->Allow; }, 0},
      {"BottomAxis.LabelStyle", [](auto& t) { return t.chart_->BottomAxis()->GetLabelStyle(); },
       talText},
      {"BottomAxis.Title.Font.Height",
       [](auto& t) { return t.chart_->BottomAxis()->GetTitle()->GetFont()->GetHeight(); }, -8},
      {"LeftAxis.Automatic", [](auto& t) { return t.chart_->LeftAxis()->GetAutomatic(); }, 0},
      {"LeftAxis.Maximum", [](auto& t) { return t.chart_->LeftAxis()->GetMaximum(); }, 70.5},
      {"LeftAxis.Grid.DrawEvery",
       [](auto& t) { return t.chart_->LeftAxis()->GetGrid()->GetDrawEvery(); }, 2},
      {"LeftAxis.Visible", [](auto& t) { return t.chart_->LeftAxis()->GetVisible(); }, 0},
      // Old names of the page settings.
      {"MaxPointsPerPage", [](auto& t) { return t.chart_->GetPointsPerPage(); }, 16},
      {"ScaleLastPage", [](auto& t) { return t.chart_->GetScaleLastPage(); }, 0},
      {"View3D", [](auto& t) { return t.chart_->GetView3D(); }, 0},
      {"Marks.Callout.Brush.Color",
       [](auto& t) { return t.s1_->Marks()->GetCallout()->GetBrush()->GetColor(); }, 0},
      {"Marks.Callout.Length", [](auto& t) { return t.s1_->Marks()->GetCallout()->GetLength(); },
       3},
      {"Marks.Style", [](auto& t) { return t.s1_->Marks()->GetStyle(); }, smsValue},
      {"Marks.Visible", [](auto& t) { return t.s1_->Marks()->GetVisible(); }, 1},
      {"SeriesColor", [](auto& t) { return t.s1_->GetSeriesColor(); }, 0xFF0000},
      {"AutoMarkPosition", [](auto& t) { return t.s1_->GetAutoMarkPosition(); }, 0},
      {"Gradient.Direction", [](auto& t) { return t.s1_->GetGradient()->GetDirection(); },
       gdBottomTop},
      {"MultiBar", [](auto& t) { return t.s1_->GetMultiBar(); }, mbNone},
      // A bar series joining the chart takes the grouping of the first one.
      {"Series2 MultiBar", [](auto& t) { return t.s2_->GetMultiBar(); }, mbNone},
      {"BarWidthPercent", [](auto& t) { return t.s1_->GetBarWidthPercent(); }, 60},
      {"XValues.Order", [](auto& t) { return t.s1_->XValues()->GetOrder(); }, loAscending},
      {"Series2.ShowInLegend", [](auto& t) { return t.s2_->GetShowInLegend(); }, 0},
      {"Period", [](auto& t) { return t.function_->GetPeriod(); }, 2},
  };
  for (const Check& c : checks) EXPECT_EQ(c.got(*this), c.want) << c.what;
  EXPECT_EQ(chart_->GetHint(), "two clicks");
  EXPECT_EQ(chart_->Title()->GetCaption(), "CNR");
  EXPECT_EQ(s1_->GetTitle(), "Signal");
  EXPECT_EQ(s1_->YValues()->GetName(), "Bar");

  chart_->OnClick(chart_);
  chart_->OnDblClick(chart_);
  EXPECT_EQ(clicks_, 11);
}

TEST_F(Registration, RefusesBadValuesNamingTheLine) {
  const std::string line = "line " + std::to_string(kFirstFreeLine) + ": ";
  struct Case {
    const char* property;
    const char* message;
  };
  const Case cases[] = {
      {"Pages.MaxPointsPerPage = -1", "MaxPointsPerPage must be >= 0"},
      {"View3D = Maybe", "Maybe"},
      {"Legend.LegendStyle = lsEverything", "lsEverything"},
      {"LeftAxis.Maximum = 'high'", "expected a real number"},
      {"BottomAxis.Colour = clRed", "does not exist"},
      {"Legend.FirstValue = -2", "Legend.FirstValue"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.property);
    try {
      Read(std::string("    ") + c.property);
      ADD_FAILURE() << "accepted";
    } catch (const platform::EReadError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind(line, 0), 0u) << what;
      EXPECT_NE(what.find(c.message), std::string::npos) << what;
    }
  }
}

TEST_F(Registration, AReferenceToAMissingChartIsRefused) {
  RegisterChartLayoutClasses();
  platform::TForm form(nullptr);
  const char* text = R"(object Form1: TForm
  object Series1: TBarSeries
    ParentChart = Nowhere
  end
end
)";
  try {
    platform::ReadLayout(form, text, platform::TLayoutBindings());
    ADD_FAILURE() << "accepted";
  } catch (const platform::EReadError& e) {
    EXPECT_STREQ(e.what(), "line 3: no suitable component named Nowhere");
  }
}

// A tool's "AxisID" is the axis' index in the chart's axes list, resolved once the chart is read.
TEST_F(Registration, AToolFindsItsAxisByIndex) {
  RegisterChartLayoutClasses();
  platform::RegisterComponentClass<TPlotCustomToolAxis>("TTestAxisTool", "TPlotCustomToolAxis");
  struct Case {
    int id;
    const char* error;  // empty: read, the tool on axis id
  };
  for (const Case& c :
       {Case{2, ""}, Case{5, ""}, Case{6, "line 4: no axis 6"}, Case{-1, "line 4: no axis -1"}}) {
    platform::TForm form(nullptr);
    // Stored as a child of its chart, as the chart lists its tools.
    const std::string text =
        "object Form1: TForm\n  object Chart1: TChart\n    object Tool1: TTestAxisTool\n"
        "      AxisID = " +
        std::to_string(c.id) + "\n    end\n  end\nend\n";
    TChart* chart = nullptr;
    TPlotCustomToolAxis* tool = nullptr;
    platform::TLayoutBindings bindings;
    bindings.Field("Chart1", chart).Field("Tool1", tool);
    try {
      platform::ReadLayout(form, text, bindings);
      EXPECT_STREQ(c.error, "") << c.id;
      EXPECT_EQ(tool->GetAxis(), chart->AxesList()[c.id]);
      EXPECT_EQ(chart->Tools().Count(), 1);
    } catch (const platform::EReadError& e) {
      EXPECT_STREQ(e.what(), c.error) << c.id;
    }
  }
}

}  // namespace
