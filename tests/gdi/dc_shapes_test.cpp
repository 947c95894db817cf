// Pixel rules of the shapes: right and bottom edges, the null pen, ellipses, polygons, pies.
#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

TEST_F(DcTest, RectangleExcludesRightAndBottomEdges) {
  struct Case {
    const char* name;
    std::uint32_t penStyle;
    TRect ink;      // what the shape covers
    int x, y;       // a pixel inside
    TColor inside;  // its colour
  };
  const Case cases[] = {
      {"pen", PS_SOLID, {2, 3, 10, 9}, 2, 5, clBlack},
      {"null pen", PS_NULL, {2, 3, 9, 8}, 2, 5, clRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    image.fill(Qt::white);
    dc.SelectPen(Pen(c.penStyle, 1));
    dc.SelectBrush(Solid(clRed));
    dc.Rectangle(2, 3, 10, 9);
    EXPECT_EQ(Ink(), c.ink);
    EXPECT_EQ(Px(c.x, c.y), c.inside);
    EXPECT_EQ(Px(5, 5), clRed);
  }
  // The outline is one pixel and the inside is the brush.
  EXPECT_EQ(Row(5, 0, 12, clRed), "..#######...");
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_SOLID, 1));
  dc.Rectangle(2, 3, 10, 9);
  EXPECT_EQ(Row(5, 0, 12, clBlack), "..#??????#..");
  EXPECT_EQ(Column(5, 0, 11, clBlack), "...#????#..");
  for (const TPoint corner : {TPoint{2, 3}, TPoint{9, 3}, TPoint{2, 8}, TPoint{9, 8}}) {
    EXPECT_EQ(Px(corner.X, corner.Y), clBlack) << corner.X << "," << corner.Y;
  }
  // Corners given the other way round are the same rectangle.
  QImage before = image;
  dc.Rectangle(10, 9, 2, 3);
  EXPECT_EQ(image, before);
}

TEST_F(DcTest, EllipseBoundingPixels) {
  dc.SelectBrush(Solid(clRed));
  dc.Ellipse(10, 10, 31, 21);
  EXPECT_EQ(Ink(), (TRect{10, 10, 31, 21}));
  EXPECT_EQ(Px(10, 15), clBlack);  // leftmost, on the middle row
  EXPECT_EQ(Px(30, 15), clBlack);
  EXPECT_EQ(Px(20, 10), clBlack);
  EXPECT_EQ(Px(20, 20), clBlack);
  EXPECT_EQ(Px(20, 15), clRed);
  EXPECT_EQ(Px(10, 10), clWhite);  // the corners are outside
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_NULL, 1));
  dc.Ellipse(10, 10, 31, 21);
  // Without a pen the fill is one pixel smaller.
  EXPECT_EQ(Ink(), (TRect{10, 10, 30, 20}));
}

TEST_F(DcTest, RoundRectAndInsideFrame) {
  dc.SelectBrush(Solid(clRed));
  dc.RoundRect(4, 4, 40, 30, 16, 16);
  EXPECT_EQ(Ink(), (TRect{4, 4, 40, 30}));
  EXPECT_EQ(Px(4, 4), clWhite);    // rounded corner
  EXPECT_EQ(Px(20, 4), clBlack);   // straight top edge
  EXPECT_EQ(Px(39, 17), clBlack);  // right edge is the last column
  // An inside-frame pen keeps a wide outline within the box.
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_GEOMETRIC | PS_INSIDEFRAME | PS_ENDCAP_FLAT | PS_JOIN_MITER, 6));
  dc.Rectangle(10, 10, 40, 30);
  EXPECT_EQ(Ink(), (TRect{10, 10, 40, 30}));
  EXPECT_EQ(Row(20, 8, 18, clBlack), "..######??");
  EXPECT_EQ(Px(20, 20), clRed);
  image.fill(Qt::white);
  dc.Ellipse(10, 10, 40, 30);
  EXPECT_EQ(Ink(), (TRect{10, 10, 40, 30}));
}

TEST_F(DcTest, RoundRectFillStaysInsideASymmetricOutline) {
  // Pixels where the region and what was drawn disagree.
  const auto mismatch = [&](const Region& region) {
    int n = 0;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) n += region.Contains(x, y) != (Px(x, y) != clWhite);
    return n;
  };
  const struct {
    TRect box;
    int w, h;
  } cases[] = {{{4, 4, 40, 30}, 16, 16},   {{4, 4, 13, 11}, 7, 5}, {{2, 3, 50, 20}, 60, 9},
               {{10, 10, 30, 30}, 20, 20}, {{5, 5, 45, 25}, 1, 1}, {{0, 0, 64, 3}, 16, 16},
               {{1, 2, 62, 40}, 31, 12}};
  for (const auto& c : cases) {
    const TRect& b = c.box;
    SCOPED_TRACE(testing::Message() << b.Left << "," << b.Top << "," << b.Right << "," << b.Bottom
                                    << " " << c.w << "x" << c.h);
    image.fill(Qt::white);
    dc.SelectPen(Pen(PS_SOLID, 1));
    dc.SelectBrush(Solid(clRed));
    dc.RoundRect(b.Left, b.Top, b.Right, b.Bottom, c.w, c.h);
    EXPECT_EQ(Ink(), b);
    int lopsided = 0, fillOut = 0;
    for (int y = b.Top; y < b.Bottom; ++y)
      for (int x = b.Left; x < b.Right; ++x) {
        const TColor p = Px(x, y);
        lopsided += p != Px(b.Left + b.Right - 1 - x, y) || p != Px(x, b.Top + b.Bottom - 1 - y);
        // A fill pixel beside one outside the shape shows beyond the outline.
        if (p == clRed)
          for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            fillOut += Px(x + dx, y + dy) == clWhite || Px(x + dx, y + dy) == -1;
      }
    EXPECT_EQ(lopsided, 0);
    EXPECT_EQ(fillOut, 0);
    // The clip of the same round rectangle holds what was drawn: a fill clipped to it and then
    // the outline alone make the same picture.
    const Region region = Region::RoundRect(b.Left, b.Top, b.Right, b.Bottom, c.w, c.h);
    const QImage filled = image;
    image.fill(Qt::white);
    dc.SelectClipRgn(&region);
    dc.FillRect(TRect{0, 0, 64, 64}, Solid(clRed));
    dc.SelectClipRgn(nullptr);
    dc.SelectBrush(Hollow());
    dc.RoundRect(b.Left, b.Top, b.Right, b.Bottom, c.w, c.h);
    EXPECT_EQ(image, filled);
    // Without a pen the fill is the round rectangle one pixel smaller.
    image.fill(Qt::white);
    dc.SelectPen(Pen(PS_NULL, 1));
    dc.SelectBrush(Solid(clRed));
    dc.RoundRect(b.Left, b.Top, b.Right, b.Bottom, c.w, c.h);
    EXPECT_EQ(mismatch(Region::RoundRect(b.Left, b.Top, b.Right - 1, b.Bottom - 1, c.w, c.h)), 0);
  }
}

TEST_F(DcTest, PolygonFillModes) {
  dc.SelectPen(Pen(PS_NULL, 1));
  dc.SelectBrush(Solid(clBlue));
  const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  dc.Polygon(square, 4);
  EXPECT_EQ(Ink(), (TRect{0, 0, 10, 10}));
  // A five-pointed star: its centre is inside once by winding, twice by crossing.
  const TPoint star[] = {{32, 2}, {44, 60}, {4, 22}, {60, 22}, {20, 60}};
  struct Case {
    int mode;
    TColor centre;
  };
  for (const Case& c : {Case{ALTERNATE, clWhite}, Case{WINDING, clBlue}}) {
    image.fill(Qt::white);
    dc.SetPolyFillMode(c.mode);
    dc.Polygon(star, 5);
    EXPECT_EQ(Px(32, 36), c.centre) << c.mode;
    EXPECT_EQ(Px(32, 10), clBlue);  // a tip
  }
}

TEST_F(DcTest, PieUsesRadialAnglesOnAWideEllipse) {
  dc.SelectPen(Pen(PS_NULL, 1));
  dc.SelectBrush(Solid(clBlue));
  // From 0 degrees to the radial line at 45 degrees through (50, 0); centre (40, 10).
  dc.Pie(0, 0, 81, 21, 80, 10, 50, 0);
  EXPECT_EQ(Px(46, 4), clBlue);   // at 40 degrees: inside
  EXPECT_EQ(Px(44, 3), clWhite);  // at 55 degrees: outside
  EXPECT_EQ(Px(30, 15), clWhite);
  image.fill(Qt::white);
  dc.SetArcDirection(AD_CLOCKWISE);
  dc.Pie(0, 0, 81, 21, 80, 10, 50, 0);
  EXPECT_EQ(Px(46, 4), clWhite);
  EXPECT_EQ(Px(44, 3), clBlue);
  EXPECT_EQ(Px(30, 15), clBlue);
}

TEST_F(DcTest, ArcToMovesToTheArcEnd) {
  dc.MoveToEx(0, 30);
  dc.ArcTo(10, 10, 51, 51, 50, 30, 30, 10);  // right-hand point to the top, counter-clockwise
  EXPECT_EQ(dc.GetCurrentPosition(), (TPoint{30, 10}));
  EXPECT_EQ(Px(20, 30), clBlack);  // the line to the arc's start
  const auto blackNear = [&](int x, int y) {
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) n += Px(x + dx, y + dy) == clBlack;
    }
    return n;
  };
  EXPECT_GT(blackNear(44, 16), 0);  // on the quarter arc at 45 degrees
  EXPECT_EQ(blackNear(16, 44), 0);  // not on the other quarters
  EXPECT_EQ(blackNear(16, 16), 0);
}

TEST_F(DcTest, HatchGapsOpaqueAndTransparent) {
  LogBrush hatch;
  hatch.Style = BS_HATCHED;
  hatch.Hatch = HS_HORIZONTAL;
  hatch.Color = clBlack;
  dc.SelectBrush(hatch);
  dc.SelectPen(Pen(PS_NULL, 1));
  dc.SetBkColor(clRed);
  struct Case {
    int mode;
    TColor gap;
  };
  for (const Case& c : {Case{OPAQUE, clRed}, Case{TRANSPARENT, clWhite}}) {
    SCOPED_TRACE(c.mode);
    image.fill(Qt::white);
    dc.SetBkMode(c.mode);
    dc.Rectangle(3, 5, 40, 40);
    // One line every 8 rows, at the same rows whatever the shape's origin (device aligned).
    int lines = 0, lineRow = -1;
    for (int y = 5; y < 39; ++y) {
      const std::string row = Row(y, 3, 39, clBlack);
      if (row == std::string(36, '#')) {
        ++lines;
        if (lineRow >= 0) {
          EXPECT_EQ((y - lineRow) % 8, 0);
        }
        lineRow = y;
      } else {
        for (int x = 3; x < 39; ++x) ASSERT_EQ(Px(x, y), c.gap) << x << "," << y;
      }
    }
    EXPECT_GE(lines, 4);
    // FillRect with the same brush puts its lines on the same rows.
    dc.FillRect(TRect{45, 1, 60, 40}, hatch);
    for (int y = 5; y < 39; ++y) EXPECT_EQ(Px(50, y) == clBlack, Px(10, y) == clBlack) << y;
  }
}

TEST_F(DcTest, HatchDirections) {
  // Each hatch repeats every 8 pixels; a diagonal's line moves one column per row.
  struct Case {
    int hatch;
    int shift;         // columns the pattern moves from one row to the next
    bool rowsUniform;  // a whole row has one colour (horizontal lines)
  };
  const Case cases[] = {{HS_VERTICAL, 0, false},
                        {HS_FDIAGONAL, 1, false},
                        {HS_BDIAGONAL, -1, false},
                        {HS_HORIZONTAL, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hatch);
    image.fill(Qt::white);
    LogBrush b;
    b.Style = BS_HATCHED;
    b.Hatch = c.hatch;
    b.Color = clBlack;
    dc.SetBkMode(TRANSPARENT);
    dc.FillRect(TRect{0, 0, 64, 64}, b);
    const auto on = [&](int x, int y) { return Px(x & 63, y & 63) == clBlack; };
    for (int y = 8; y < 40; ++y) {
      for (int x = 8; x < 40; ++x) {
        ASSERT_EQ(on(x, y), on(x + 8, y));
        ASSERT_EQ(on(x, y), on(x, y + 8));
        if (c.rowsUniform) {
          ASSERT_EQ(on(x, y), on(x + 1, y));
        } else {
          ASSERT_EQ(on(x, y), on(x + c.shift, y + 1)) << x << "," << y;
        }
      }
    }
    EXPECT_EQ(Count(clBlack), 64 * 64 / 8);
  }
}

TEST_F(DcTest, MonochromePatternUsesTextAndBackgroundColours) {
  auto pattern = std::make_shared<QImage>(2, 1, QImage::Format_RGB32);
  pattern->setPixel(0, 0, qRgb(0, 0, 0));
  pattern->setPixel(1, 0, qRgb(255, 255, 255));
  LogBrush b;
  b.Style = BS_PATTERN;
  b.Pattern = pattern;
  b.Monochrome = true;
  dc.SetTextColor(clGreen);
  dc.SetBkColor(clNavy);
  dc.FillRect(TRect{0, 0, 6, 2}, b);
  EXPECT_EQ(Px(0, 0), clGreen);
  EXPECT_EQ(Px(1, 0), clNavy);
  EXPECT_EQ(Px(4, 1), clGreen);
  EXPECT_EQ(Px(6, 0), clWhite);
}

}  // namespace
}  // namespace gditest
