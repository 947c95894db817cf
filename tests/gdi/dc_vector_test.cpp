// Drawings kept as vector steps: played again they give the pixels the device context drew,
// through the device's own clip or by cutting shapes to it (SVG), and an SVG document made from
// them holds shapes and text rather than a picture of them.
#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <climits>
#include <functional>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

struct Scene {
  const char* name;
  std::function<void(Dc&)> draw;
  QRect clip;             // nothing may show outside it (empty: no clip)
  int images = 0;         // <image> elements the SVG holds
  const char* text = "";  // a text the SVG must hold as text
};

LogPen MakePen(std::uint32_t style, int width, TColor color) {
  LogPen p;
  p.Style = style;
  p.Width = width;
  p.Color = color;
  return p;
}
LogBrush MakeBrush(int style, TColor color, int hatch = HS_HORIZONTAL) {
  LogBrush b;
  b.Style = style;
  b.Color = color;
  b.Hatch = hatch;
  return b;
}

void ClipTo(Dc& dc, const QRect& r) {
  const Region rgn = Region::Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
  dc.SelectClipRgn(&rgn);
}

const Scene kScenes[] = {
    {"shapes",
     [](Dc& dc) {
       dc.SelectPen(MakePen(PS_SOLID, 1, clBlack));
       dc.SelectBrush(MakeBrush(BS_SOLID, clRed));
       dc.Rectangle(4, 4, 30, 20);
       dc.SelectPen(MakePen(PS_SOLID | PS_GEOMETRIC, 3, clNavy));
       dc.SelectBrush(MakeBrush(BS_SOLID, clYellow));
       dc.Ellipse(34, 6, 60, 30);
       dc.SelectPen(MakePen(PS_DASH, 1, clGreen));
       const TPoint line[] = {{4, 40}, {60, 40}, {60, 60}};
       dc.Polyline(line, 3);
       dc.SelectPen(MakePen(PS_NULL, 0, clBlack));
       dc.SelectBrush(MakeBrush(BS_SOLID, clBlue));
       const TPoint tri[] = {{8, 60}, {30, 44}, {40, 60}};
       dc.Polygon(tri, 3);
     },
     {}},
    {"text",
     [](Dc& dc) {
       dc.SetBkMode(OPAQUE);
       dc.SetBkColor(clYellow);
       dc.SetTextColor(clMaroon);
       LogFont f;
       f.Height = -16;
       dc.SelectFont(f);
       dc.TextOut(6, 10, "Fix 3D");
     },
     {},
     0,
     "Fix 3D"},
    {"clipped",
     [](Dc& dc) {
       ClipTo(dc, QRect(10, 12, 30, 28));
       dc.SelectPen(MakePen(PS_SOLID, 1, clBlack));
       dc.SelectBrush(MakeBrush(BS_SOLID, clRed));
       dc.Rectangle(0, 0, 30, 64);
       dc.SelectPen(MakePen(PS_SOLID | PS_GEOMETRIC | PS_ENDCAP_SQUARE, 5, clBlue));
       dc.MoveToEx(0, 64);
       dc.LineTo(64, 0);
       dc.SetBkMode(TRANSPARENT);
       dc.SetTextColor(clGreen);
       LogFont f;
       f.Height = -20;
       dc.SelectFont(f);
       dc.TextOut(30, 30, "Sky");
     },
     {10, 12, 30, 28}},
    {"hatched",
     [](Dc& dc) {
       ClipTo(dc, QRect(8, 8, 40, 40));
       dc.SelectPen(MakePen(PS_NULL, 0, clBlack));
       dc.SetBkMode(OPAQUE);
       dc.SetBkColor(clSilver);
       dc.SelectBrush(MakeBrush(BS_HATCHED, clPurple, HS_DIAGCROSS));
       dc.Rectangle(0, 0, 64, 64);
     },
     {8, 8, 40, 40}},
    {"hatches",
     [](Dc& dc) {
       dc.SelectPen(MakePen(PS_NULL, 0, clBlack));
       dc.SetBkMode(TRANSPARENT);
       for (int h = HS_HORIZONTAL; h <= HS_DIAGCROSS; ++h) {
         dc.SelectBrush(MakeBrush(BS_HATCHED, clBlack, h));
         dc.Rectangle(3 + 10 * h, 5 + 3 * h, 13 + 10 * h, 60);
       }
     },
     {}},
    {"blit",
     [](Dc& dc) {
       QImage source(16, 16, QImage::Format_RGB32);
       source.fill(Qt::white);
       Dc src(&source);
       src.FillRect(TRect{0, 0, 8, 16}, MakeBrush(BS_SOLID, clTeal));
       ClipTo(dc, QRect(20, 20, 30, 30));
       dc.StretchBlt(10, 10, 48, 48, src, 0, 0, 16, 16, SRCCOPY);
     },
     {20, 20, 30, 30},
     1},
    {"mapped",
     [](Dc& dc) {
       dc.SetMapMode(MM_ANISOTROPIC);
       dc.SetWindowExtEx(10, 10);
       dc.SetViewportExtEx(20, 30);
       dc.SelectPen(MakePen(PS_SOLID, 1, clBlack));
       dc.SelectBrush(MakeBrush(BS_SOLID, clLime));
       dc.Rectangle(2, 2, 20, 12);
       dc.Pie(4, 4, 28, 20, 28, 12, 4, 4);
     },
     {}},
};

QImage White() {
  QImage img(64, 64, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

QImage PlayOn(const VectorLog& log, bool clipByShape) {
  QImage img = White();
  QPainter p(&img);
  log.Play(p, clipByShape);
  return img;
}

// Pixels outside the clip that are not white.
int MarksOutside(const QImage& img, const QRect& clip) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (!clip.contains(x, y) && (img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
    }
  }
  return n;
}

struct Svg {
  QByteArray bytes;
  int images = 0;
  int shapes = 0;
  QStringList texts;
  bool wellFormed = false;
};

Svg MakeSvg(const VectorLog& log) {
  Svg svg;
  QBuffer buffer(&svg.bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator gen;
    gen.setOutputDevice(&buffer);
    gen.setSize(QSize(64, 64));
    gen.setViewBox(QRect(0, 0, 64, 64));
    gen.setResolution(96);
    QPainter p(&gen);
    p.fillRect(QRect(0, 0, 64, 64), Qt::white);
    log.Play(p, true);
  }
  QXmlStreamReader xml(svg.bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView name = xml.name();
    if (name == QStringLiteral("image")) ++svg.images;
    if (name == QStringLiteral("path") || name == QStringLiteral("polyline") ||
        name == QStringLiteral("polygon") || name == QStringLiteral("rect") ||
        name == QStringLiteral("ellipse"))
      ++svg.shapes;
    if (name == QStringLiteral("text")) svg.texts << xml.readElementText().trimmed();
  }
  svg.wellFormed = !xml.hasError();
  return svg;
}

QImage Render(const QByteArray& svg) {
  QImage img = White();
  QSvgRenderer renderer(svg);
  QPainter p(&img);
  renderer.render(&p, QRectF(0, 0, 64, 64));
  return img;
}

TEST_F(DcTest, KeptDrawingsPlayBackAsDrawnOnEveryKindOfDevice) {
  for (const Scene& scene : kScenes) {
    SCOPED_TRACE(scene.name);
    image.fill(Qt::white);
    Dc target(&image);
    auto log = std::make_shared<VectorLog>();
    target.KeepVector(log);
    scene.draw(target);
    ASSERT_GT(log->Size(), 0u);

    const QImage played = PlayOn(*log, false);
    const QImage cut = PlayOn(*log, true);
    EXPECT_LT(Mismatch(image, played), 0.01);
    EXPECT_LT(Mismatch(played, image), 0.01);
    EXPECT_LT(Mismatch(image, cut), 0.03);
    EXPECT_LT(Mismatch(cut, image), 0.03);

    const Svg svg = MakeSvg(*log);
    ASSERT_TRUE(svg.wellFormed);
    EXPECT_EQ(svg.images, scene.images);
    if (scene.images == 0) {
      EXPECT_GT(svg.shapes, 0);
    }
    if (*scene.text) {
      EXPECT_TRUE(svg.texts.contains(QString(scene.text))) << svg.texts.join("|").toStdString();
    }
    const QImage rendered = Render(svg.bytes);
    EXPECT_LT(Mismatch(image, rendered), 0.05);
    EXPECT_LT(Mismatch(rendered, image), 0.05);

    if (!scene.clip.isEmpty()) {
      EXPECT_GT(MarksOutside(image, QRect()), 0);  // the scene does draw
      EXPECT_EQ(MarksOutside(image, scene.clip), 0);
      EXPECT_EQ(MarksOutside(played, scene.clip), 0);
      EXPECT_EQ(MarksOutside(cut, scene.clip), 0);
      EXPECT_EQ(MarksOutside(rendered, scene.clip), 0);
    }
  }
}

TEST_F(DcTest, OnlyDrawingsThatIgnoreWhatLiesBelowAreKept) {
  auto log = std::make_shared<VectorLog>();
  EXPECT_EQ(dc.KeptVector(), nullptr);
  dc.Rectangle(0, 0, 10, 10);
  dc.KeepVector(log);
  EXPECT_EQ(dc.KeptVector(), log);
  EXPECT_EQ(log->Size(), 0u);

  struct Case {
    int rop;
    size_t kept;  // a filled rectangle with an outline: two steps when kept
  };
  const Case cases[] = {{R2_COPYPEN, 2}, {R2_BLACK, 2}, {R2_WHITE, 2},  {R2_XORPEN, 0},
                        {R2_NOT, 0},     {R2_NOP, 0},   {R2_MASKPEN, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rop);
    log->Clear();
    dc.SetROP2(c.rop);
    dc.Rectangle(2, 2, 20, 20);
    EXPECT_EQ(log->Size(), c.kept);
    // Fills of rectangles, text and block transfers copy whatever the operation.
    dc.FillRect(TRect{0, 0, 4, 4}, MakeBrush(BS_SOLID, clRed));
    EXPECT_EQ(log->Size(), c.kept + 1);
  }
  dc.SetROP2(R2_COPYPEN);

  // What a path records is kept only when it is drawn.
  log->Clear();
  dc.BeginPath();
  dc.MoveToEx(0, 0);
  dc.LineTo(30, 30);
  dc.EndPath();
  EXPECT_EQ(log->Size(), 0u);
  dc.StrokePath();
  EXPECT_EQ(log->Size(), 1u);

  // Nothing drawn, nothing kept; a dropped log is no longer filled.
  log->Clear();
  dc.SelectPen(MakePen(PS_NULL, 0, clBlack));
  dc.SelectBrush(MakeBrush(BS_NULL, clBlack));
  dc.Rectangle(0, 0, 10, 10);
  dc.TextOut(0, 0, "");
  EXPECT_EQ(log->Size(), 0u);
  dc.KeepVector(nullptr);
  dc.FillRect(TRect{0, 0, 4, 4}, MakeBrush(BS_SOLID, clRed));
  EXPECT_EQ(log->Size(), 0u);
}

TEST_F(DcTest, ALogKeepsItsDrawingWhenTheSurfaceGoesAndPlaysScaled) {
  auto log = std::make_shared<VectorLog>();
  {
    Dc detached(nullptr);
    detached.KeepVector(log);
    detached.FillRect(TRect{0, 0, 16, 32}, MakeBrush(BS_SOLID, clRed));
    detached.SelectPen(MakePen(PS_SOLID, 1, clBlack));
    detached.MoveToEx(16, 10);
    detached.LineTo(32, 10);
  }
  ASSERT_EQ(log->Size(), 2u);
  // Played twice as large, the box covers four times the pixels, and the one-pixel line is two
  // pixels wide on the rows the screen's line covers.
  QImage img = White();
  QPainter p(&img);
  p.scale(2, 2);
  log->Play(p, false);
  p.end();
  EXPECT_EQ(img.pixel(31, 63), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(32, 0), qRgb(255, 255, 255));
  for (const int y : {19, 20, 21, 22}) {
    SCOPED_TRACE(y);
    EXPECT_EQ(img.pixel(48, y), y == 20 || y == 21 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  }
}

TEST_F(DcTest, AbsurdDrawingsPlayWithoutHarm) {
  auto log = std::make_shared<VectorLog>();
  dc.KeepVector(log);
  const int big = INT_MAX / 2;
  dc.SelectPen(MakePen(PS_NULL, 0, clBlack));
  dc.SetBkMode(TRANSPARENT);
  dc.SelectBrush(MakeBrush(BS_HATCHED, clBlack, HS_DIAGCROSS));
  dc.Rectangle(-big, -big, big, big);
  LogBrush tiles = MakeBrush(BS_PATTERN, clBlack);
  auto tile = std::make_shared<QImage>(8, 8, QImage::Format_RGB32);
  tile->fill(Qt::blue);
  tiles.Pattern = tile;
  dc.SelectBrush(tiles);
  dc.Rectangle(-big, 40, big, big);
  dc.SelectPen(MakePen(PS_SOLID | PS_GEOMETRIC, 100000, clRed));
  dc.MoveToEx(-big, -big);
  dc.LineTo(big, big);
  const Region corner = Region::Rect(-big, -big, 8, 8);
  dc.SelectClipRgn(&corner);
  dc.Ellipse(-big, -big, big, big);
  dc.TextOut(big, -big, "far away");
  QImage small(2, 2, QImage::Format_RGB32);
  small.fill(Qt::green);
  dc.DrawImage(TRect{-big, -big, big, big}, small);
  ASSERT_GT(log->Size(), 4u);

  for (const bool clipByShape : {false, true}) {
    SCOPED_TRACE(clipByShape);
    const QImage played = PlayOn(*log, clipByShape);
    // The pattern fill reaches the lower rows; the clip keeps the last drawings in the corner.
    EXPECT_EQ(played.pixel(30, 50), image.pixel(30, 50));
    EXPECT_EQ(played.pixel(20, 20), image.pixel(20, 20));
  }
  const Svg svg = MakeSvg(*log);
  EXPECT_TRUE(svg.wellFormed);
  const QImage rendered = Render(svg.bytes);
  EXPECT_LT(Mismatch(image, rendered), 0.1);
}

}  // namespace
}  // namespace gditest
