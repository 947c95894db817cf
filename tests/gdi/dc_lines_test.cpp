// Lines and pens: the left-out end pixel, dash patterns and small dots, caps of wide pens,
// raster operations.
#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

TEST_F(DcTest, LineToLeavesOutItsEndPixel) {
  struct Case {
    TPoint from, to, last, end;
  };
  const Case cases[] = {
      {{2, 5}, {12, 5}, {11, 5}, {12, 5}},       // right
      {{12, 7}, {2, 7}, {3, 7}, {2, 7}},         // left
      {{20, 2}, {20, 12}, {20, 11}, {20, 12}},   // down
      {{30, 0}, {35, 5}, {34, 4}, {35, 5}},      // diagonal
      {{45, 5}, {40, 0}, {41, 1}, {40, 0}},      // diagonal, up and left
      {{60, 12}, {60, 2}, {60, 3}, {60, 2}},     // up
      {{59, 19}, {50, 16}, {51, 16}, {50, 16}},  // shallow, left and up
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.to.X) + "," + std::to_string(c.to.Y));
    dc.MoveToEx(c.from.X, c.from.Y);
    dc.LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(Px(c.from.X, c.from.Y), clBlack);
    EXPECT_EQ(Px(c.last.X, c.last.Y), clBlack);
    EXPECT_EQ(Px(c.end.X, c.end.Y), clWhite);
    EXPECT_EQ(dc.GetCurrentPosition(), c.to);
  }
  // A polyline covers its inner corners and leaves out only its last point, whichever way it
  // runs; drawn twice with XOR it leaves nothing, so no pixel is drawn twice.
  image.fill(Qt::white);
  const TPoint pts[] = {{50, 40}, {40, 40}, {40, 30}, {50, 30}, {50, 36}};
  dc.Polyline(pts, 5);
  EXPECT_EQ(Row(40, 38, 52, clBlack), "..###########.");
  EXPECT_EQ(Column(40, 28, 42, clBlack), "..###########.");
  EXPECT_EQ(Column(50, 28, 42, clBlack), "..######....#.");
  dc.SetROP2(R2_XORPEN);
  dc.SelectPen(Pen(PS_SOLID, 0, clWhite));
  dc.Polyline(pts, 5);
  EXPECT_EQ(Count(clBlack), 0);
}

std::string Repeat(const std::string& period, size_t n) {
  std::string s;
  while (s.size() < n) s += period;
  return s.substr(0, n);
}

TEST_F(DcTest, DashPatternsArePinned) {
  struct Case {
    const char* name;
    LogPen pen;
    std::string period;  // '#' pen, '.' gap
    bool opaqueGaps;     // one-pixel cosmetic pens fill their gaps when opaque
  };
  LogPen dots = Pen(PS_GEOMETRIC | PS_USERSTYLE, 1);
  dots.UserStyle = {0, 4};  // small dots, space 3
  const Case cases[] = {
      {"dash", Pen(PS_DASH, 0), std::string(18, '#') + std::string(6, '.'), true},
      {"dot", Pen(PS_DOT, 0), "###...", true},
      {"dash dot", Pen(PS_DASHDOT, 0), "#########......###......", true},
      {"dash dot dot", Pen(PS_DASHDOTDOT, 0), "#########...###...###...", true},
      {"alternate", Pen(PS_ALTERNATE, 0), "#.", true},
      {"small dots", dots, "#...", false},
  };
  int y = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dc.SelectPen(c.pen);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveToEx(0, y);
    dc.LineTo(64, y);
    EXPECT_EQ(Row(y, 0, 48, clBlack), Repeat(c.period, 48));
    // Drawn the other way, the pattern starts at the other end.
    dc.MoveToEx(47, 60);
    dc.LineTo(-1, 60);
    std::string back = Row(60, 0, 48, clBlack);
    EXPECT_EQ(std::string(back.rbegin(), back.rend()), Repeat(c.period, 48));
    image.fill(Qt::white);
    // Opaque: the gaps of a styled one-pixel pen take the background colour.
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(clRed);
    dc.MoveToEx(0, y + 1);
    dc.LineTo(64, y + 1);
    std::string opaque = Repeat(c.period, 48);
    for (char& ch : opaque) ch = ch == '.' && c.opaqueGaps ? '?' : ch;
    EXPECT_EQ(Row(y + 1, 0, 48, clBlack), opaque);
    y += 3;
  }
}

TEST_F(DcTest, WidePenCaps) {
  struct Case {
    const char* name;
    std::uint32_t cap;
    std::string row;  // columns 6..24 of the line y = 10 drawn from x 10 to 20
  };
  const Case cases[] = {
      {"flat", PS_ENDCAP_FLAT, "....##########....."},
      {"square", PS_ENDCAP_SQUARE, "...############...."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    image.fill(Qt::white);
    dc.SelectPen(Pen(PS_GEOMETRIC | c.cap, 2));
    dc.MoveToEx(10, 10);
    dc.LineTo(20, 10);
    EXPECT_EQ(Row(10, 6, 25, clBlack), c.row);
    EXPECT_EQ(Row(9, 6, 25, clBlack), c.row);  // two pixels wide
    EXPECT_EQ(Row(11, 6, 25, clBlack), std::string(19, '.'));
    EXPECT_EQ(Row(8, 6, 25, clBlack), std::string(19, '.'));
  }
  // A zero-length line: a round dot of the pen's width, or nothing with a flat end.
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_GEOMETRIC | PS_ENDCAP_ROUND, 6, clBlue));
  dc.MoveToEx(30, 30);
  dc.LineTo(30, 30);
  const TRect dot = Ink();
  EXPECT_EQ(dot.Width(), 6);
  EXPECT_EQ(dot.Height(), 6);
  EXPECT_EQ(Px(30, 30), clBlue);
  EXPECT_LT(Count(clBlue), 36);  // round, not square
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 6, clBlue));
  dc.LineTo(30, 30);
  EXPECT_EQ(Count(clBlue), 0);
  // An odd width lies symmetrically about the pixel its points name.
  dc.SelectPen(Pen(PS_SOLID, 3, clBlue));
  dc.LineTo(30, 30);
  EXPECT_EQ(Ink(), (TRect{29, 29, 32, 32}));
  image.fill(Qt::white);
  dc.MoveToEx(10, 40);
  dc.LineTo(20, 40);
  EXPECT_EQ(Column(15, 37, 44, clBlue), "..###..");
}

TEST_F(DcTest, MitreLimitIsTenWidths) {
  // Two segments meeting at a sharp angle: a mitre as long as 1 / sin(angle / 2) pen widths
  // (inner to outer corner) is kept up to ten widths, beyond that the corner is bevelled.
  QImage wide(200, 100, QImage::Format_RGB32);
  dc.SetTarget(&wide);
  dc.SelectPen(Pen(PS_GEOMETRIC | PS_JOIN_MITER | PS_ENDCAP_FLAT, 4));
  struct Case {
    TPoint back;  // where the second segment returns to, from the vertex (150, 80)
    int minTip, maxTip;
  };
  // 13.0 degrees: ratio 8.8, tip 17.6 px; 10.0 degrees: ratio 11.5, bevelled.
  const Case cases[] = {{{10, 48}, 14, 19}, {{10, 55}, -2, 2}};
  for (const Case& c : cases) {
    wide.fill(Qt::white);
    const TPoint pts[] = {{10, 80}, {150, 80}, c.back};
    dc.Polyline(pts, 3);
    const int tip = InkOf(wide).Right - 1 - 150;
    EXPECT_GE(tip, c.minTip) << c.back.Y;
    EXPECT_LE(tip, c.maxTip) << c.back.Y;
  }
}

TEST_F(DcTest, NotXorDrawnTwiceErases) {
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) image.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
  }
  const QImage before = image;
  dc.SetROP2(R2_NOTXORPEN);
  dc.SelectPen(Pen(PS_DOT, 0, clRed));
  dc.SelectBrush(Hollow());
  for (int pass = 0; pass < 2; ++pass) {
    dc.Rectangle(5, 5, 50, 40);
    dc.MoveToEx(0, 60);
    dc.LineTo(60, 2);
    dc.SelectBrush(Solid(clYellow));
    dc.Ellipse(20, 20, 60, 60);
    dc.SelectPen(Pen(PS_SOLID, 0, clBlue));
    dc.Ellipse(2, 30, 25, 61);
    dc.SelectPen(Pen(PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_MITER, 3, clBlue));
    const TPoint zigzag[] = {{2, 2}, {30, 10}, {4, 20}, {40, 30}};
    dc.Polyline(zigzag, 4);
    dc.SelectPen(Pen(PS_DOT, 0, clRed));
    dc.SelectBrush(Hollow());
    if (pass == 0) {
      EXPECT_NE(image, before);
    }
  }
  EXPECT_EQ(image, before);
}

TEST_F(DcTest, RasterOperationsOnPenAndFill) {
  const TColor dst = RGB(0x33, 0x55, 0xAA), pen = RGB(0x0F, 0xF0, 0x3C);
  const auto bits = [](TColor c) { return static_cast<std::uint32_t>(c) & 0xFFFFFF; };
  const std::uint32_t D = bits(dst), P = bits(pen), M = 0xFFFFFF;
  struct Case {
    int rop;
    std::uint32_t expect;
  };
  const Case cases[] = {
      {R2_BLACK, 0},
      {R2_NOTMERGEPEN, ~(D | P) & M},
      {R2_MASKNOTPEN, D & ~P & M},
      {R2_NOTCOPYPEN, ~P & M},
      {R2_MASKPENNOT, P & ~D & M},
      {R2_NOT, ~D & M},
      {R2_XORPEN, D ^ P},
      {R2_NOTMASKPEN, ~(D & P) & M},
      {R2_MASKPEN, D & P},
      {R2_NOTXORPEN, ~(D ^ P) & M},
      {R2_NOP, D},
      {R2_MERGENOTPEN, (D | ~P) & M},
      {R2_COPYPEN, P},
      {R2_MERGEPENNOT, (P | ~D) & M},
      {R2_MERGEPEN, D | P},
      {R2_WHITE, M},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rop);
    image.fill(QColor(0x33, 0x55, 0xAA));
    dc.SetROP2(c.rop);
    dc.SelectPen(Pen(PS_SOLID, 1, pen));
    dc.SelectBrush(Solid(pen));
    dc.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(bits(Px(0, 0)), c.expect);  // the outline
    EXPECT_EQ(bits(Px(5, 5)), c.expect);  // the fill
    // Block fills ignore the raster operation.
    dc.PatBlt(20, 20, 5, 5, PATCOPY);
    EXPECT_EQ(Px(22, 22), pen);
    dc.FillRect(TRect{30, 30, 35, 35}, Solid(clTeal));
    EXPECT_EQ(Px(32, 32), clTeal);
  }
}

TEST_F(DcTest, PatBltUsesTheDcBrush) {
  dc.SelectDcBrush();
  dc.SetDCBrushColor(clGreen);
  dc.PatBlt(4, 4, 6, 3, PATCOPY);
  EXPECT_EQ(Ink(), (TRect{4, 4, 10, 7}));
  EXPECT_EQ(Px(4, 4), clGreen);
  dc.SetDCBrushColor(clMaroon);
  EXPECT_EQ(dc.CurrentBrush().Color, clMaroon);
  // A negative size extends to the left and up.
  dc.PatBlt(30, 30, -5, -2, PATCOPY);
  EXPECT_EQ(Px(25, 28), clMaroon);
  EXPECT_EQ(Px(29, 29), clMaroon);
  EXPECT_EQ(Px(30, 29), clWhite);
  EXPECT_FALSE(dc.PatBlt(0, 0, 5, 5, 0x00AA0029));  // only PATCOPY
}

TEST_F(DcTest, PixelsOnBothSurfaceFormats) {
  for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_BGR888}) {
    SCOPED_TRACE(static_cast<int>(f));
    QImage surface(16, 16, f);
    surface.fill(Qt::white);
    Dc d(&surface);
    EXPECT_EQ(d.BitsPerPixel(), f == QImage::Format_RGB32 ? 32 : 24);
    EXPECT_EQ(d.SetPixel(3, 4, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(d.GetPixel(3, 4), RGB(10, 20, 30));
    EXPECT_EQ(d.GetPixel(16, 0), -1);
    EXPECT_EQ(d.SetPixel(-1, 0, clRed), -1);
    d.SelectBrush(Solid(RGB(1, 2, 3)));
    d.SelectPen(Pen(PS_SOLID, 1, RGB(200, 100, 50)));
    d.Rectangle(5, 5, 12, 12);
    EXPECT_EQ(d.GetPixel(5, 5), RGB(200, 100, 50));
    EXPECT_EQ(d.GetPixel(8, 8), RGB(1, 2, 3));
    d.SetROP2(R2_XORPEN);
    d.Rectangle(5, 5, 12, 12);
    EXPECT_EQ(d.GetPixel(8, 8), clBlack);
    d.Rectangle(5, 5, 12, 12);
    EXPECT_EQ(d.GetPixel(8, 8), RGB(1, 2, 3));
  }
  EXPECT_EQ(dc.PixelsPerInch(), 96);
}

}  // namespace
}  // namespace gditest
