// Lines drawn alone, gathered into runs in a paint pass or on a kept painter, have the pixels one
// plain painter gives the same lines drawn one by one.
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

// What a scene draws, said once and drawn both through a device context and by a plain painter.
struct Canvas {
  virtual ~Canvas() = default;
  virtual void Pen(TColor c) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Clip(std::initializer_list<QRect> rects) = 0;  // none when empty
  virtual void Xor() = 0;
  virtual void Box(int l, int t, int r, int b) = 0;  // black frame, white inside
  virtual TColor Get(int x, int y) = 0;
  virtual void Set(int x, int y, TColor c) = 0;
  virtual void CopyCorner(int x, int y, int size) = 0;  // the size x size square at 0, 0
  void Line(int x0, int y0, int x1, int y1) {
    MoveTo(x0, y0);
    LineTo(x1, y1);
  }
};

struct OnDc : Canvas {
  explicit OnDc(Dc& d) : dc(d) {}
  void Pen(TColor c) override { dc.SelectPen({.Color = c, .UserStyle = {}}); }
  void MoveTo(int x, int y) override { dc.MoveToEx(x, y); }
  void LineTo(int x, int y) override { dc.LineTo(x, y); }
  void Clip(std::initializer_list<QRect> rects) override {
    Region all = Region::Rect(0, 0, 0, 0);
    for (const QRect& q : rects) {
      Region sum;
      sum.Combine(all, Region::Rect(q.left(), q.top(), q.right() + 1, q.bottom() + 1), RGN_OR);
      all = sum;
    }
    dc.SelectClipRgn(rects.size() ? &all : nullptr);
  }
  void Xor() override { dc.SetROP2(R2_XORPEN); }
  void Box(int l, int t, int r, int b) override { dc.Rectangle(l, t, r, b); }
  TColor Get(int x, int y) override { return dc.GetPixel(x, y); }
  void Set(int x, int y, TColor c) override { dc.SetPixel(x, y, c); }
  void CopyCorner(int x, int y, int size) override {
    dc.BitBlt(x, y, size, size, dc, 0, 0, SRCCOPY);
  }
  Dc& dc;
};

QColor Q(TColor c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

struct OnPainter : Canvas {
  explicit OnPainter(QImage& i) : image(i), p(&i) { Pen(clBlack); }
  void Pen(TColor c) override {
    QPen pen(Q(c), 0);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
  }
  void MoveTo(int x, int y) override { at = {x, y}; }
  // Up to the point before the end. Qt's flat-capped line leaves out the last pixel in its own
  // order, left to right or, when steep, top to bottom: a line running back starts a step back.
  void LineTo(int x, int y) override {
    const QPoint to(x, y), d = to - at;
    const int steps = std::max(std::abs(d.x()), std::abs(d.y()));
    const bool back = std::abs(d.x()) >= std::abs(d.y()) ? d.x() < 0 : d.y() < 0;
    const QPointF shift = back ? -QPointF(d) / steps : QPointF();
    if (steps) p.drawLine(QPointF(at) + shift, QPointF(to) + shift);
    at = to;
  }
  // Clipping is switched on before a region is set: Qt leaves one set while it is off unused.
  void Clip(std::initializer_list<QRect> rects) override {
    QRegion r;
    for (const QRect& q : rects) r |= q;
    p.setClipping(rects.size() > 0);
    if (rects.size()) p.setClipRegion(r);
  }
  void Xor() override { p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); }
  void Box(int l, int t, int r, int b) override {
    p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), Qt::black);
    p.fillRect(QRect(QPoint(l + 1, t + 1), QPoint(r - 2, b - 2)), Qt::white);
  }
  TColor Get(int x, int y) override {
    const QRgb c = image.pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
  }
  void Set(int x, int y, TColor c) override { p.fillRect(x, y, 1, 1, Q(c)); }
  void CopyCorner(int x, int y, int size) override {
    p.drawImage(x, y, image.copy(0, 0, size, size));
  }
  QImage& image;
  QPainter p;
  QPoint at;
};

const std::pair<const char*, void (*)(Canvas&)> kScenes[] = {
    {"zigzags turning back on themselves",
     [](Canvas& c) {
       c.MoveTo(2, 2);
       for (int i = 0; i < 30; ++i) c.LineTo(4 + i * 2, i % 2 ? 60 : 3 + i % 5);
       c.MoveTo(2, 40);
       for (int i = 0; i < 20; ++i) c.LineTo(i % 2 ? 61 : 3, 40 + i);
     }},
    {"lines over the edge and out of the surface",
     [](Canvas& c) {
       for (int i = -3; i < 8; ++i) {
         c.Line(-20, i * 9, 90, 70 - i * 9);
         c.Line(63, i * 8, 0, i * 8 + 3);
         c.Line(i * 8, 0, i * 8 + 5, 63);
       }
       // Cut by the surface's edge, Qt's pixels depend on which way these run.
       c.Line(75, 51, -17, -13);
       c.Line(-17, 88, 74, -16);
     }},
    {"the pen changed between lines",
     [](Canvas& c) {
       for (int i = 0; i < 12; ++i) {
         c.Pen(i % 3 ? clRed : clBlue);
         c.Line(5, i * 5, 60, i * 5 + 7);
       }
     }},
    {"the clip changed between lines, set again after none",
     [](Canvas& c) {
       for (int i = 0; i < 10; ++i) {
         if (i % 3 == 0) c.Clip({});
         if (i % 3 == 1) c.Clip({QRect(5, 5, 35, 35), QRect(15, 0, 10, 64)});
         if (i % 3 == 2) c.Clip({QRect(20, 20, 40, 40)});
         c.Line(0, i * 6, 63, 63 - i * 6);
         c.Box(i * 6, 50, i * 6 + 5, 58);
       }
     }},
    {"rows and columns both ways, over the edge, under XOR",
     [](Canvas& c) {
       for (int i = 0; i < 8; ++i) {
         c.Line(-5 + i, i * 8, 70 - i * 9, i * 8);
         c.Line(60 - i * 7, 3, 60 - i * 7, 70 - i * 11);
       }
       c.Xor();
       c.Pen(clRed);
       for (int i = 0; i < 8; ++i) {
         c.Line(i * 8 + 2, 66, i * 8 + 2, i);
         c.Line(0, i * 8 + 1, 40, i * 8 + 1);
       }
     }},
    {"XOR lines crossing each other",
     [](Canvas& c) {
       c.Xor();
       c.Pen(clYellow);
       for (int i = 0; i < 16; ++i) c.Line(i * 4, 0, 63 - i * 3, 63);
     }},
    {"pixels read and copied between lines",
     [](Canvas& c) {
       c.Line(0, 10, 40, 10);
       c.Set(50, 50, c.Get(20, 10) == clBlack ? clGreen : clRed);
       c.Line(10, 0, 10, 30);
       c.CopyCorner(30, 30, 20);
       c.Line(0, 63, 63, 0);
     }},
};

TEST_F(DcTest, LinesAloneAndInRunsHaveThePixelsOfOnePainter) {
  for (const auto& [name, draw] : kScenes) {
    SCOPED_TRACE(name);
    QImage painted = image.copy(), apart = image.copy(), inPass = image.copy(), kept = image.copy();
    {
      OnPainter c(painted);
      draw(c);
    }
    ASSERT_NE(painted, image);
    {
      Dc dc(&apart);
      OnDc c(dc);
      draw(c);
    }
    EXPECT_EQ(Difference(apart, painted), "");
    {
      Dc dc(&kept);
      dc.KeepPainterOpen(true);
      OnDc c(dc);
      draw(c);
      EXPECT_EQ(Difference(kept, painted), "");  // read while the painter is still open
    }
    {
      Dc dc(&inPass);
      const PaintPass pass;
      OnDc c(dc);
      draw(c);
    }
    EXPECT_EQ(Difference(inPass, painted), "");
  }
}

}  // namespace
}  // namespace gditest
