// Chart copies, the axis panel's ranges and class-made series, axis tools, side axis titles.
#include <QImage>
#include <functional>
#include <string>

#include "chart/component/chart.h"
#include "chart/component/walls.h"
#include "chart/series/bar_series.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/layout_reader.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartAxis;
using Chart = RecordingChart<chart::TChart>;

// Two bar series, the second on the first custom axis if any; then one pass, a line per call.
std::string AddSeriesAndDraw(Chart& c) {
  for (int k = 0; k < 2; ++k) {
    auto* s = c.New<chart::TBarSeries>();
    if (k == 1 && c.CustomAxisCount() > 0) s->SetCustomVertAxis(c.CustomAxis(0));
    for (int i = 0; i < 12; ++i) s->AddXY(i, 10 + (i * (k + 3)) % 50, std::to_string(i));
  }
  c.Record();
  std::string out;
  for (const auto& d : c.calls) {
    out += "\n" + d.Op + d.Text + std::to_string(d.Pen.Color) + "/" + std::to_string(d.Brush.Color);
    for (int a : d.Args) out += " " + std::to_string(a);
  }
  return out;
}

TEST_F(EngineTest, ACopiedChartDrawsAsItsSource) {
  Chart source(320, 200, true), copy(320, 200), plain(320, 200);
  source.Set3DPercent(40);
  source.SetAxisBehind(false);
  source.SetClipPoints(false);
  source.SetView3DWalls(false);
  source.CustomPalette = {0x123456, 0x0080FF};
  source.SetPointsPerPage(5);
  source.LeftAxis()->SetMinMax(0, 70);
  source.BottomAxis()->SetLabelsAngle(90);
  source.AddCustomAxis(false)->SetPositionPercent(40);
  copy.AddCustomAxis(true);
  copy.Assign(&source);
  EXPECT_TRUE(copy.IsCustomAxesStored() && !copy.CustomAxis(0)->Horizontal());
  const std::string want = AddSeriesAndDraw(source);
  EXPECT_EQ(AddSeriesAndDraw(copy), want);
  EXPECT_NE(AddSeriesAndDraw(plain), want);
  EXPECT_EQ(MessageOf<platform::Exception>([&] { copy.Walls()->Assign(&copy.Pages()); }),
            "Cannot assign a TChartPage to a TChartWalls");
}

TEST_F(EngineTest, RangesHiddenAxesAndClassMadeSeries) {
  chart::RegisterChartLayoutClasses();
  Chart c(300, 200);
  auto* s = c.New<chart::TChartSeries>();
  for (int i = 0; i < 20; ++i) s->AddXY(i * 2 + 1, 100 - i * 3);
  c.SetPointsPerPage(16);
  c.SetPage(2);
  EXPECT_EQ(std::vector<double>({c.MinXValue(c.BottomAxis()), c.MaxXValue(c.BottomAxis()),
                                 c.MinYValue(c.LeftAxis()), c.MaxYValue(c.LeftAxis())}),
            std::vector<double>({33, 39, 43, 100}));
  std::string asked;
  c.Axes().OnCalcPosLabels = [&](TChartAxis* a, int& pos) {
    asked += c.AxisTitleOrName(a) + ";";
    pos = 7;
  };
  c.LeftAxis()->SetVisible(false);
  c.Layout();
  EXPECT_EQ(asked, "Top Axis;Left Axis;Right Axis;Depth Right;Depth Top;");
  EXPECT_EQ(c.LeftAxis()->PosLabels, 7);
  EXPECT_STREQ(c.AddSeries(platform::FindClass("TBarSeries"))->ClassName(), "TBarSeries");
  EXPECT_EQ(MessageOf<chart::ChartException>([&] { c.AddSeries(platform::FindClass("TChart")); }),
            "TChart is not a series class");
  EXPECT_EQ(c.SeriesCount(), 2);
}

TEST_F(EngineTest, AnAxisToolForgetsAnAxisThatIsGone) {
  chart::RegisterChartLayoutClasses();
  const std::function<void(chart::TChart*&, TChartAxis*)> frees[] = {
      [](auto*& c, TChartAxis* a) { c->RemoveCustomAxis(a); },
      [](auto*& c, TChartAxis*) {
        platform::ReadLayout(*c, "object C: TChart\n CustomAxes = <\n item\n end>\nend\n", {});
      },
      [](auto*& c, TChartAxis*) { delete std::exchange(c, nullptr); },
  };
  for (const auto& free : frees) {
    auto* c = new chart::TChart(nullptr, platform::TPanelSurface::Headless);
    chart::TChart elsewhere(nullptr, platform::TPanelSurface::Headless);
    auto* tool = new chart::TPlotCustomToolAxis(nullptr);
    tool->SetAxis(c->AddCustomAxis(true));
    elsewhere.Tools().Add(tool);  // the tool outlives the axis' chart
    free(c, tool->GetAxis());
    EXPECT_EQ(tool->GetAxis(), nullptr);
    delete c;
  }
}

TEST_F(EngineTest, SideAxisTitlesRunAlongTheirAxis) {
  for (const int angle : {90, 270}) {
    Chart c(300, 200);
    TChartAxis* axis = angle == 90 ? c.LeftAxis() : c.RightAxis();
    EXPECT_EQ(axis->GetTitle()->GetAngle(), angle);
    axis->GetTitle()->SetCaption("Satellites");
    axis->GetTitle()->GetFont()->SetColor(platform::clRed);
    c.Record();
    c.GetCanvas3D()->AssignFont(axis->GetTitle()->GetFont());
    const int fh = c.GetCanvas3D()->GetFontHeight();
    // The title's ink: upright, in a band of one font height outside the labels.
    const QImage& img = *c.WindowImage().Image();
    int x0 = img.width(), x1 = -1, y0 = img.height(), y1 = -1;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) == qRgb(255, 0, 0))
          x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    EXPECT_GT(y1 - y0, 3 * (x1 - x0)) << angle;
    const int band = angle == 90 ? axis->PosTitle - fh : axis->PosTitle;
    EXPECT_TRUE(x0 >= band && x1 <= band + fh) << angle;
    EXPECT_NEAR((y0 + y1) / 2, axis->ICenterPos(), 2) << angle;
  }
}

}  // namespace
}  // namespace enginetest
