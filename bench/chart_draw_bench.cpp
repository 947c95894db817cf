// Whole drawing passes of charts, layout included, into the chart's window image: the console's
// signal chart as its layout makes it, with 20 satellites, a larger chart with a legend, and a
// fast line of a million points.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>

#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/engine/series.h"
#include "chart/engine/series_marks.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/series_registration.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/form.h"
#include "platform/vcl/layout_reader.h"
#include "resources/main_form_layout.h"

namespace {

void EnsureGui() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_chart_draw";
    static char* argv[] = {name, nullptr};
    auto* a = new QApplication(argc, argv);
    QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    platform::gdi::SetTextAntialiasing(false);
    return a;
  }();
  (void)app;
}

// The main window's signal chart, cut out of the console's own layout: its object, down to the
// "end" at its own indentation, inside a bare form.
std::string SignalChartLayout() {
  const std::string_view all = kMainFormLayout;
  const size_t begin = all.rfind('\n', all.find("object ChartSNR: TChart")) + 1;
  const std::string indent(all.find('o', begin) - begin, ' ');
  const size_t end = all.find("\n" + indent + "end\n", begin) + indent.size() + 5;
  return "object Form1: TForm\n" + std::string(all.substr(begin, end - begin)) + "end\n";
}

struct Gui {
  Gui() { EnsureGui(); }
};

struct SignalChart : Gui {
  SignalChart() {
    chart::RegisterChartLayoutClasses();
    platform::TLayoutBindings bindings;
    bindings.Field("ChartSNR", chart).Field("Series1", signal).Field("Series2", ephemeris);
    bindings.Event("ChartSNRClick", [](platform::TObject*) {})
        .Event("ChartSNRDblClick", [](platform::TObject*) {});
    platform::ReadLayout(form, SignalChartLayout(), bindings);
    // 20 satellites with signals 21..40, the odd ones used, each with an ephemeris bar of 10
    // coloured by its level, as the console's bar refresh adds them.
    constexpr platform::TColor kLevels[] = {0x008000, 0x0000FF, 0x0080FA, 0x00FA7A};
    for (int i = 0; i < 20; ++i) {
      const std::string prn = std::to_string(i + 1);
      signal->AddXY(i, 21 + i, prn, i % 2 == 0 ? 0xFF0000 : 0xFFFFFF);
      ephemeris->AddXY(i, 10, prn, kLevels[(i + 1) % 4]);
    }
  }
  platform::TForm form{nullptr};
  chart::TChart* chart = nullptr;
  chart::TBarSeries* signal = nullptr;
  chart::TBarSeries* ephemeris = nullptr;
};

void BM_SignalChartFullPaint(benchmark::State& state) {
  SignalChart s;
  for (auto _ : state) s.chart->Draw();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SignalChartFullPaint)
    ->Name("BM_signal_chart_full_paint")
    ->Unit(benchmark::kMicrosecond);

// 640 x 480, two bar series of 40 points side by side, marks on one, the legend shown.
void BM_ChartPanelFullPaint(benchmark::State& state) {
  EnsureGui();
  platform::TComponent owner(nullptr);
  chart::TChart c(nullptr, platform::TPanelSurface::Headless);
  c.SetView3D(false);
  c.SetBounds(0, 0, 640, 480);
  // The chart, going before their owner, frees the series in it.
  auto* a = new chart::TBarSeries(&owner);
  auto* b = new chart::TBarSeries(&owner);
  c.AddSeries(a);
  c.AddSeries(b);
  a->Marks()->SetVisible(true);
  for (int i = 0; i < 40; ++i) {
    a->AddXY(i, 10 + (i * 37) % 60, std::to_string(i));
    b->AddXY(i, 5 + (i * 53) % 40, std::to_string(i));
  }
  c.Legend()->SetVisible(true);
  for (auto _ : state) c.Draw();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChartPanelFullPaint)->Unit(benchmark::kMicrosecond);

// 1,000 x 600, one fast line of 1,000,000 points: a slow wave with a ripple on it.
struct FastLine : Gui {
  explicit FastLine(bool drawAllPoints) {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 1000, 600);
    line = new chart::TFastLineSeries(&owner);  // freed by the chart, which goes first
    chart.AddSeries(line);
    line->SetDrawAllPoints(drawAllPoints);
    line->BeginUpdate();
    for (int i = 0; i < 1000000; ++i)
      line->AddXY(i, 500 + 400 * std::sin(i * 1e-5) + (i % 101) * 37 % 101);
    line->EndUpdate();
  }
  platform::TComponent owner{nullptr};
  chart::TChart chart{nullptr, platform::TPanelSurface::Headless};
  chart::TFastLineSeries* line = nullptr;
};

// Argument 0 draws one segment a pixel column (DrawAllPoints off), 1 every point off the
// previous pixel.
void BM_FastLine1MPaint(benchmark::State& state) {
  FastLine f(state.range(0) != 0);
  for (auto _ : state) f.chart.Draw();
  state.SetItemsProcessed(state.iterations() * f.line->Count());
}
BENCHMARK(BM_FastLine1MPaint)
    ->Name("BM_fast_line_1M_paint")
    ->ArgName("DrawAllPoints")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// The floor of a fast line with every point drawn: its points, where the chart puts them, as one
// polyline through one painter into an image of the chart's size.
void BM_FastLine1MPolyline(benchmark::State& state) {
  FastLine f(true);
  f.chart.Draw();
  QPolygon points(f.line->Count());
  for (int i = 0; i < f.line->Count(); ++i) f.line->CalcPosition(i, points[i].rx(), points[i].ry());
  QImage image(1000, 600, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (auto _ : state) {
    QPainter p(&image);
    p.setPen(QPen(Qt::red, 0));
    p.drawPolyline(points);
  }
  state.SetItemsProcessed(state.iterations() * f.line->Count());
}
BENCHMARK(BM_FastLine1MPolyline)->Name("BM_fast_line_1M_polyline")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
