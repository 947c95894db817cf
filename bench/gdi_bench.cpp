// The device context on a 640 x 480 surface: filling and framing rectangles, short lines, text,
// each outside and inside a paint pass, beside its floor: the same drawing straight through one
// painter.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>
#include <optional>
#include <string>
#include <utility>

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

// The device context keeps its painter open, as a canvas's does (its bitmap ends the painter
// before it changes the image).
struct Surface {
  Surface() : image(640, 480, QImage::Format_RGB32), dc(&image) {
    image.fill(Qt::white);
    dc.KeepPainterOpen(true);
  }
  QImage image;
  Dc dc;
};

// Runs draw (1,000 primitives, or 100 texts) each iteration, inside a paint pass when asked.
// One call per iteration, not inlined, so that a profiler can count an iteration's work.
void Run(benchmark::State& state, bool inPass, int items, const std::function<void()>& draw) {
  const std::function<void()> iteration = [&] {
    std::optional<PaintPass> pass;
    if (inPass) pass.emplace();
    draw();
  };
  for (auto _ : state) iteration();
  state.SetItemsProcessed(state.iterations() * items);
}

int X(int i, int range) {
  return (i * 37) % range;
}
int Y(int i, int range) {
  return (i * 53) % range;
}

void FillRectangles(benchmark::State& state, bool inPass) {
  Surface s;
  LogPen none;
  none.Style = PS_NULL;
  s.dc.SelectPen(none);
  Run(state, inPass, 1000, [&] {
    for (int i = 0; i < 1000; ++i) {
      LogBrush b;
      b.Color = RGB(i & 0xFF, (i * 7) & 0xFF, 128);
      s.dc.SelectBrush(b);
      const int x = X(i, 600), y = Y(i, 440);
      s.dc.Rectangle(x, y, x + 40, y + 30);
    }
  });
}

// A null pen leaves out the right and bottom edges.
void BM_FillRectanglesOnePainter(benchmark::State& state) {
  Surface s;
  Run(state, false, 1000, [&] {
    QPainter p(&s.image);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 1000; ++i) {
      p.setBrush(QColor(i & 0xFF, (i * 7) & 0xFF, 128));
      p.drawRect(QRect(X(i, 600), Y(i, 440), 39, 29));
    }
  });
}
BENCHMARK(BM_FillRectanglesOnePainter)->Unit(benchmark::kMillisecond);

void FrameRectangles(benchmark::State& state, bool inPass) {
  Surface s;
  LogBrush hollow;
  hollow.Style = BS_NULL;
  s.dc.SelectBrush(hollow);
  Run(state, inPass, 1000, [&] {
    for (int i = 0; i < 1000; ++i) {
      const int x = X(i, 600), y = Y(i, 440);
      s.dc.Rectangle(x, y, x + 40, y + 30);
    }
  });
}

// Each frame as its four one-pixel sides.
void BM_FrameRectanglesOnePainter(benchmark::State& state) {
  Surface s;
  Run(state, false, 1000, [&] {
    QPainter p(&s.image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int i = 0; i < 1000; ++i) {
      const int x = X(i, 600), y = Y(i, 440);
      const QRect sides[] = {QRect(x, y, 40, 1), QRect(x, y + 29, 40, 1), QRect(x, y + 1, 1, 28),
                             QRect(x + 39, y + 1, 1, 28)};
      p.drawRects(sides, 4);
    }
  });
}
BENCHMARK(BM_FrameRectanglesOnePainter)->Unit(benchmark::kMillisecond);

void ShortLines(benchmark::State& state, bool inPass) {
  Surface s;
  Run(state, inPass, 1000, [&] {
    for (int i = 0; i < 1000; ++i) {
      const int x = X(i, 620), y = Y(i, 460);
      s.dc.MoveToEx(x, y);
      s.dc.LineTo(x + 12, y + (i % 9) - 4);
    }
  });
}

void BM_ShortLinesOnePainter(benchmark::State& state) {
  Surface s;
  Run(state, false, 1000, [&] {
    QPainter p(&s.image);
    p.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < 1000; ++i) {
      const int x = X(i, 620), y = Y(i, 460);
      p.drawLine(QLineF(x, y, x + 12, y + (i % 9) - 4));
    }
  });
}
BENCHMARK(BM_ShortLinesOnePainter)->Unit(benchmark::kMillisecond);

void TextOut(benchmark::State& state, bool inPass) {
  EnsureGui();
  Surface s;
  LogFont f;
  f.Height = -11;
  s.dc.SelectFont(f);
  s.dc.SetBkMode(TRANSPARENT);
  Run(state, inPass, 100, [&] {
    for (int i = 0; i < 100; ++i) s.dc.TextOut(X(i, 560), Y(i, 460), "Satellite 12");
  });
}

// The font set once, the top of each text at the given point.
void BM_TextOutOnePainter(benchmark::State& state) {
  EnsureGui();
  Surface s;
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  font.setKerning(false);
  font.setStyleStrategy(QFont::NoAntialias);
  const int ascent = QFontMetrics(font).ascent();
  Run(state, false, 100, [&] {
    QPainter p(&s.image);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int i = 0; i < 100; ++i)
      p.drawText(QPoint(X(i, 560), Y(i, 460) + ascent), QStringLiteral("Satellite 12"));
  });
}
BENCHMARK(BM_TextOutOnePainter)->Unit(benchmark::kMillisecond);

// Each drawing outside a paint pass as BM_<name> and inside one as BM_<name>InPaintPass.
const bool kRegistered = [] {
  const std::pair<const char*, void (*)(benchmark::State&, bool)> drawings[] = {
      {"FillRectangles", FillRectangles},
      {"FrameRectangles", FrameRectangles},
      {"ShortLines", ShortLines},
      {"TextOut", TextOut}};
  for (const auto& [name, draw] : drawings) {
    for (const bool inPass : {false, true}) {
      const std::string full = std::string("BM_") + name + (inPass ? "InPaintPass" : "");
      benchmark::RegisterBenchmark(full.c_str(), draw, inPass)->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
