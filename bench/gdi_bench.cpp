// The device context on a 640 x 480 surface: filling and framing rectangles, short lines, text.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/gdi/dc.h"

namespace {

using namespace platform;
using namespace platform::gdi;

void EnsureGui() {
  static QGuiApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_gdi";
    static char* argv[] = {name, nullptr};
    auto* a = new QGuiApplication(argc, argv);
    QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    SetTextAntialiasing(false);
    return a;
  }();
  (void)app;
}

struct Surface {
  Surface() : image(640, 480, QImage::Format_RGB32), dc(&image) { image.fill(Qt::white); }
  QImage image;
  Dc dc;
};

void BM_FillRectangles(benchmark::State& state) {
  Surface s;
  LogPen none;
  none.Style = PS_NULL;
  s.dc.SelectPen(none);
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      LogBrush b;
      b.Color = RGB(i & 0xFF, (i * 7) & 0xFF, 128);
      s.dc.SelectBrush(b);
      const int x = (i * 37) % 600, y = (i * 53) % 440;
      s.dc.Rectangle(x, y, x + 40, y + 30);
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_FillRectangles)->Unit(benchmark::kMillisecond);

void BM_FrameRectangles(benchmark::State& state) {
  Surface s;
  LogBrush hollow;
  hollow.Style = BS_NULL;
  s.dc.SelectBrush(hollow);
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 600, y = (i * 53) % 440;
      s.dc.Rectangle(x, y, x + 40, y + 30);
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_FrameRectangles)->Unit(benchmark::kMillisecond);

void BM_ShortLines(benchmark::State& state) {
  Surface s;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 620, y = (i * 53) % 460;
      s.dc.MoveToEx(x, y);
      s.dc.LineTo(x + 12, y + (i % 9) - 4);
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ShortLines)->Unit(benchmark::kMillisecond);

// The same lines in one paint pass: one painter for all of them.
void BM_ShortLinesInPaintPass(benchmark::State& state) {
  Surface s;
  for (auto _ : state) {
    const PaintPass pass;
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 620, y = (i * 53) % 460;
      s.dc.MoveToEx(x, y);
      s.dc.LineTo(x + 12, y + (i % 9) - 4);
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ShortLinesInPaintPass)->Unit(benchmark::kMillisecond);

// The floor: the same lines straight through one painter.
void BM_ShortLinesOnePainter(benchmark::State& state) {
  Surface s;
  for (auto _ : state) {
    QPainter p(&s.image);
    p.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 620, y = (i * 53) % 460;
      p.drawLine(QLineF(x, y, x + 12, y + (i % 9) - 4));
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ShortLinesOnePainter)->Unit(benchmark::kMillisecond);

void BM_TextOut(benchmark::State& state) {
  EnsureGui();
  Surface s;
  LogFont f;
  f.Height = -11;
  s.dc.SelectFont(f);
  s.dc.SetBkMode(TRANSPARENT);
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      s.dc.TextOut((i * 37) % 560, (i * 53) % 460, "Satellite 12");
    }
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_TextOut)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
