// The standard series types drawn whole on headless charts, flat and in 3D: what each must and
// must not draw, read from the device context's recorded calls, and one PNG of each read back.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/engine/axis.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"
#include "chart/series/series_registration.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

namespace gdi = platform::gdi;
using platform::TColor;

struct GalleryChart : RecordingChart<chart::TChart> {
  using RecordingChart::RecordingChart;
  template <class S>
  S* Add(TColor color) {
    auto* s = New<S>();
    s->SetSeriesColor(color);
    return s;
  }
};

class SeriesGallery : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    chart::RegisterChartLayoutClasses();
  }
};

// Pixels of exactly colour c in the image.
int CountColour(const QImage& image, TColor c) {
  const QRgb want = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += (image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF);
  return n;
}

constexpr TColor kFirst = 0x0000C0, kSecond = 0xC06000;

struct Case {
  const char* name;
  // Builds the series; returns the colour the saved picture must show.
  std::function<TColor(GalleryChart&)> build;
  // Checks what was drawn.
  std::function<void(GalleryChart&, bool is3D)> check;
};

// Two stacked line series: the second's points lie at the summed values.
TColor StackedLines(GalleryChart& c) {
  auto* a = c.Add<chart::TLineSeries>(kFirst);
  auto* b = c.Add<chart::TLineSeries>(kSecond);
  const double av[] = {10, 20, 15, 30, 25}, bv[] = {5, 5, 10, 10, 20};
  for (int i = 0; i < 5; ++i) {
    a->AddXY(i, av[i]);
    b->AddXY(i, bv[i]);
  }
  b->SetStacked(chart::cssStack);
  return kSecond;
}

void CheckStackedLines(GalleryChart& c, bool is3D) {
  auto* b = static_cast<chart::TLineSeries*>(c.SeriesList().Items()[1]);
  ASSERT_EQ(b->GetStacked(), chart::cssStack);
  const double sums[] = {15, 25, 25, 40, 45};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(b->CalcYPos(i), c.LeftAxis()->CalcPosValue(sums[i])) << i;
  EXPECT_EQ(c.LeftAxis()->EffectiveMaximum() >= 45, true);
  if (is3D) return;
  // Flat: each segment of the second line joins two summed points, drawn in its colour.
  int found = 0;
  for (const auto& [from, to] : c.Segments())
    for (int i = 1; i < 5; ++i)
      if (from.X == b->CalcXPos(i - 1) && from.Y == c.LeftAxis()->CalcPosValue(sums[i - 1]) &&
          to.X == b->CalcXPos(i) && to.Y == c.LeftAxis()->CalcPosValue(sums[i]))
        ++found;
  EXPECT_EQ(found, 4);
}

// A point series draws no segment between its points, whatever its settings.
TColor Points(GalleryChart& c) {
  auto* p = c.Add<chart::TPointSeries>(kFirst);
  for (int i = 0; i < 6; ++i) p->AddXY(i, (i * 7) % 5 + 1);
  p->SetStairs(true);
  return kFirst;
}

void CheckPoints(GalleryChart& c, bool) {
  auto* p = static_cast<chart::TPointSeries*>(c.SeriesList().Items()[0]);
  std::set<std::pair<int, int>> pixels;
  for (int i = 0; i < p->Count(); ++i) pixels.insert({p->CalcXPos(i), p->CalcYPos(i)});
  for (const auto& [from, to] : c.Segments())
    EXPECT_FALSE(pixels.count({from.X, from.Y}) && pixels.count({to.X, to.Y}))
        << from.X << "," << from.Y << " - " << to.X << "," << to.Y;
}

// Horizontal bars: 16 bars from the horizontal axis' origin to the value, in the series colour.
TColor HorizBars(GalleryChart& c) {
  auto* s = c.Add<chart::THorizBarSeries>(kFirst);
  for (int k = 1; k <= 16; ++k) s->AddXY(55, k);
  s->Marks()->SetVisible(false);
  c.BottomAxis()->SetMinMax(0, 70);
  return kFirst;
}

void CheckHorizBars(GalleryChart& c, bool is3D) {
  if (is3D) {
    // Front faces span origin to value; top faces run through the whole depth.
    auto x = [&c](double v, int z) {
      return c.GetCanvas3D()->Calculate3DPosition(c.BottomAxis()->CalcPosValue(v), 0, z).X;
    };
    std::multiset<std::vector<int>> faces;
    for (const auto& p : c.Only("Polygon"))
      if (p.Args.size() == 8) faces.insert({p.Args[0], p.Args[2], p.Args[4], p.Args[6]});
    EXPECT_EQ(faces.count({x(0, 0), x(55, 0), x(55, 0), x(0, 0)}), 16u);
    EXPECT_EQ(faces.count({x(0, 0), x(55, 0), x(55, c.Width3D()), x(0, c.Width3D())}), 16u);
    return;
  }
  int bars = 0;
  for (const auto& r : c.Only("Rectangle")) {
    if (r.Brush.Color != kFirst) continue;
    ++bars;
    EXPECT_EQ(r.Args[0], c.BottomAxis()->CalcPosValue(0));
    // The right edge is exclusive; the value end lies on it or one pixel inside.
    EXPECT_NEAR(r.Args[2], c.BottomAxis()->CalcPosValue(55) + 1, 1);
    EXPECT_EQ(r.Args[3] - r.Args[1] > 0, true);
  }
  EXPECT_EQ(bars, 16);
}

// A pie of 50, 30, 15, 5, 3 whose values below 10 % go to the other slice.
constexpr TColor kOther = 0x404040;
TColor Pie(GalleryChart& c) {
  auto* p = c.Add<chart::TPieSeries>(kFirst);
  const char* labels[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
  const double values[] = {50, 30, 15, 5, 3};
  const TColor colours[] = {kFirst, kSecond, 0x00A000, 0xA000A0, 0x00A0A0};
  for (int i = 0; i < 5; ++i) p->AddPie(values[i], labels[i], colours[i]);
  p->GetOtherSlice()->SetStyle(chart::poBelowPercent);
  p->GetOtherSlice()->SetValue(10);
  p->GetOtherSlice()->SetColor(kOther);
  return kFirst;
}

void CheckPie(GalleryChart& c, bool is3D) {
  auto* p = static_cast<chart::TPieSeries*>(c.SeriesList().Items()[0]);
  ASSERT_EQ(p->Count(), 6);
  EXPECT_EQ(p->GetyValue(5), 8);
  EXPECT_EQ(p->GetXLabel(5), "Other");
  EXPECT_EQ(c.Legend()->ItemCount, 4);
  std::multiset<std::string> texts;
  for (const auto& t : c.Only("TextOut")) texts.insert(t.Text);
  for (const char* shown : {"Alpha", "Beta", "Gamma", "Other"})
    EXPECT_GE(texts.count(shown), 1u) << shown;
  for (const char* grouped : {"Delta", "Epsilon"}) EXPECT_EQ(texts.count(grouped), 0u) << grouped;
  if (is3D) return;
  // Flat: the three kept slices, then the other slice last.
  const auto pies = c.Only("Pie");
  ASSERT_EQ(pies.size(), 4u);
  EXPECT_EQ(pies[0].Brush.Color, kFirst);
  EXPECT_EQ(pies[3].Brush.Color, kOther);
}

// 10,000 fast-line points across a plot 500 pixels wide draw about one segment per column.
TColor FastLine(GalleryChart& c) {
  auto* f = c.Add<chart::TFastLineSeries>(kFirst);
  for (int i = 0; i < 10000; ++i) f->AddXY(i, (i * 37) % 101);
  f->SetDrawAllPoints(false);
  return kFirst;
}

void CheckFastLine(GalleryChart& c, bool) {
  const int width = c.BottomAxis()->IEndPos() - c.BottomAxis()->IStartPos();
  EXPECT_GE(width, 480);
  EXPECT_LE(width, 520);
  int segments = 0;
  for (const auto& s : c.Only("LineTo")) segments += s.Pen.Color == kFirst;
  const auto polylines = c.Only("Polyline");
  for (const auto& p : polylines)
    if (p.Pen.Color == kFirst) segments += static_cast<int>(p.Args.size() / 2) - 1;
  EXPECT_GE(segments, width / 2);
  EXPECT_LE(segments, width + 2);
}

// The series that only need to show in their colour.
template <class S>
TColor Plain(GalleryChart& c) {
  auto* s = c.Add<S>(kFirst);
  const double values[] = {3, 7, 4, 9, 6, 8};
  for (int i = 0; i < 6; ++i) {
    if (s->YIsValue())
      s->AddXY(i, values[i]);
    else
      s->AddXY(values[i], i);
  }
  return kFirst;
}

void NoCheck(GalleryChart&, bool) {}

TEST_F(SeriesGallery, EveryStandardSeriesDrawsFlatAndIn3DAndIsSavedAsPng) {
  const Case cases[] = {
      {"line", StackedLines, CheckStackedLines},
      {"bar", Plain<chart::TBarSeries>, NoCheck},
      {"horiz-bar", HorizBars, CheckHorizBars},
      {"area", Plain<chart::TAreaSeries>, NoCheck},
      {"point", Points, CheckPoints},
      {"pie", Pie, CheckPie},
      {"fast-line", FastLine, CheckFastLine},
      {"horiz-line", Plain<chart::THorizLineSeries>, NoCheck},
      {"horiz-area", Plain<chart::THorizAreaSeries>, NoCheck},
  };
  for (const Case& k : cases) {
    for (bool is3D : {false, true}) {
      SCOPED_TRACE(std::string(k.name) + (is3D ? " 3D" : " 2D"));
      // The fast line's plot is about 500 pixels wide.
      GalleryChart c(std::string(k.name) == "fast-line" ? 560 : 400, 300, is3D);
      c.Legend()->SetVisible(std::string(k.name) == "pie");
      const TColor colour = k.build(c);
      c.Record();
      k.check(c, is3D);
      // No text is drawn on a box of its own: axis labels, marks and legend are see-through.
      for (const auto& t : c.Only("TextOut")) EXPECT_EQ(t.BkMode, gdi::TRANSPARENT) << t.Text;

      const std::string file = std::string(KORVANE_BINARY_DIR "/series-gallery-") + k.name +
                               (is3D ? "-3d" : "-2d") + ".png";
      QFile::remove(QString::fromStdString(file));
      c.SaveToBitmapFile(file);
      const QImage back(QString::fromStdString(file));
      ASSERT_FALSE(back.isNull());
      EXPECT_EQ(back.size(), QSize(c.GetWidth(), c.GetHeight()));
      EXPECT_GE(CountColour(back, colour), 20);
    }
  }
}

}  // namespace
}  // namespace enginetest
