// Regions, the clip and its save/restore protocol, mapping, block transfers, MulDiv.
#include <climits>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

TEST(Region, CombineModes) {
  const Region a = Region::Rect(0, 0, 10, 10), b = Region::Rect(5, 5, 15, 15);
  struct Case {
    int mode;
    TRect box;
    bool at2, at7, at12;  // contains (n, n)
  };
  const Case cases[] = {
      {RGN_AND, {5, 5, 10, 10}, false, true, false}, {RGN_OR, {0, 0, 15, 15}, true, true, true},
      {RGN_XOR, {0, 0, 15, 15}, true, false, true},  {RGN_DIFF, {0, 0, 10, 10}, true, false, false},
      {RGN_COPY, {0, 0, 10, 10}, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Region r;
    r.Combine(a, b, c.mode);
    EXPECT_EQ(r.BoundingBox(), c.box);
    EXPECT_EQ(r.Contains(2, 2), c.at2);
    EXPECT_EQ(r.Contains(7, 7), c.at7);
    EXPECT_EQ(r.Contains(12, 12), c.at12);
  }
  // Right and bottom edges are outside.
  EXPECT_TRUE(a.Contains(9, 9));
  EXPECT_FALSE(a.Contains(10, 5));
  EXPECT_FALSE(a.Contains(5, 10));
  Region none;
  none.Combine(a, a, RGN_DIFF);
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.BoundingBox(), TRect{});
}

TEST(Region, ShapesExcludeRightAndBottom) {
  EXPECT_EQ(Region::Ellipse(0, 0, 10, 20).BoundingBox(), (TRect{0, 0, 10, 20}));
  EXPECT_FALSE(Region::Ellipse(0, 0, 10, 20).Contains(0, 0));
  EXPECT_TRUE(Region::Ellipse(0, 0, 10, 20).Contains(5, 10));
  const Region rr = Region::RoundRect(0, 0, 20, 20, 10, 10);
  EXPECT_FALSE(rr.Contains(0, 0));
  EXPECT_TRUE(rr.Contains(10, 0));
  EXPECT_TRUE(rr.Contains(19, 10));
  EXPECT_FALSE(rr.Contains(20, 10));
  const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_EQ(Region::Polygon(square, 4, ALTERNATE), Region::Rect(0, 0, 10, 10));
  // A square walked twice: empty by crossing parity, whole by winding.
  const TPoint twice[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_FALSE(Region::Polygon(twice, 8, ALTERNATE).Contains(5, 5));
  EXPECT_TRUE(Region::Polygon(twice, 8, WINDING).Contains(5, 5));
}

TEST_F(DcTest, ClipUnclipNesting) {
  dc.SelectBrush(Solid(clRed));
  const auto fillAll = [&] {
    image.fill(Qt::white);
    dc.PatBlt(0, 0, 64, 64, PATCOPY);
  };
  Region out;
  EXPECT_EQ(dc.GetClipRgn(out), 0);
  // clip: save what there is, then AND the new region in.
  const Region first = Region::Rect(10, 10, 50, 50);
  Region saved;
  bool had = dc.GetClipRgn(saved) == 1;
  EXPECT_FALSE(had);
  EXPECT_EQ(dc.ExtSelectClipRgn(&first, RGN_AND), SIMPLEREGION);
  fillAll();
  EXPECT_EQ(Ink(), (TRect{10, 10, 50, 50}));
  // clip again inside it
  Region saved2;
  const bool had2 = dc.GetClipRgn(saved2) == 1;
  ASSERT_TRUE(had2);
  EXPECT_EQ(saved2, first);
  const Region second = Region::Ellipse(0, 0, 30, 30);
  dc.ExtSelectClipRgn(&second, RGN_AND);
  fillAll();
  EXPECT_EQ(Ink(), (TRect{10, 10, 30, 30}));
  // unclip: the enclosing clip comes back
  dc.SelectClipRgn(had2 ? &saved2 : nullptr);
  fillAll();
  EXPECT_EQ(Ink(), (TRect{10, 10, 50, 50}));
  // unclip the first: no clip at all
  dc.SelectClipRgn(had ? &saved : nullptr);
  EXPECT_EQ(dc.GetClipRgn(out), 0);
  fillAll();
  EXPECT_EQ(Ink(), (TRect{0, 0, 64, 64}));
  // XOR and DIFF cut shapes out of the clip; an empty clip draws nothing.
  const Region hole = Region::Rect(20, 20, 30, 30);
  dc.ExtSelectClipRgn(&hole, RGN_DIFF);
  fillAll();
  EXPECT_EQ(Px(25, 25), clWhite);
  EXPECT_EQ(Px(5, 5), clRed);
  EXPECT_EQ(dc.GetPixel(25, 25), -1);  // outside the clip there is no pixel
  EXPECT_EQ(dc.GetPixel(5, 5), clRed);
  dc.ExtSelectClipRgn(&hole, RGN_XOR);
  EXPECT_EQ(dc.GetClipRgn(out), 1);
  EXPECT_EQ(out.BoundingBox(), (TRect{0, 0, 64, 64}));
  const Region empty;
  EXPECT_EQ(dc.SelectClipRgn(&empty), NULLREGION);
  fillAll();
  EXPECT_EQ(Ink(), TRect{});
  EXPECT_EQ(dc.ExtSelectClipRgn(nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(dc.GetClipRgn(out), 0);
}

TEST_F(DcTest, ClipPathFromText) {
  LogFont f;
  f.Height = -40;
  f.Weight = 700;
  dc.SelectFont(f);
  dc.BeginPath();
  dc.TextOut(2, 2, "I");
  dc.EndPath();
  EXPECT_TRUE(dc.SelectClipPath(RGN_AND));
  dc.SelectBrush(Solid(clBlue));
  dc.PatBlt(0, 0, 64, 64, PATCOPY);
  const int inside = Count(clBlue);
  EXPECT_GT(inside, 40);  // the glyph's stem
  EXPECT_LT(inside, 64 * 30);
  EXPECT_EQ(dc.GetPixel(60, 60), -1);
}

TEST_F(DcTest, PathsStrokeFillAndWiden) {
  dc.SelectBrush(Solid(clBlue));
  // A widened line is the outline of the pen's stroke: filled, it is the band the pen covers.
  dc.SelectPen(Pen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 6));
  dc.BeginPath();
  dc.MoveToEx(10, 20);
  dc.LineTo(50, 20);
  EXPECT_EQ(Count(clBlack), 0);  // recorded, not drawn
  dc.EndPath();
  EXPECT_TRUE(dc.WidenPath());
  EXPECT_TRUE(dc.FillPath());
  EXPECT_EQ(Ink(), (TRect{10, 17, 50, 23}));
  EXPECT_EQ(Count(clBlue), 40 * 6);
  // Stroke and fill a triangle; the path is used up afterwards.
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_SOLID, 1, clRed));
  dc.BeginPath();
  const TPoint tri[] = {{5, 5}, {40, 5}, {5, 40}};
  dc.Polygon(tri, 3);
  dc.EndPath();
  EXPECT_TRUE(dc.StrokeAndFillPath());
  EXPECT_EQ(Px(5, 5), clRed);
  EXPECT_EQ(Px(10, 10), clBlue);
  EXPECT_EQ(Px(39, 39), clWhite);
  image.fill(Qt::white);
  EXPECT_TRUE(dc.StrokePath());
  EXPECT_EQ(Count(clRed), 0);
}

TEST_F(DcTest, MappingScalesShapesButNotCosmeticPensOrTheClip) {
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExtEx(100, 100);
  dc.SetViewportExtEx(200, 200);
  dc.SetWindowOrgEx(10, 0);
  dc.SetViewportOrgEx(4, 0);
  TPoint pts[] = {{10, 0}, {20, 5}, {11, -3}};
  dc.LPtoDP(pts, 3);
  EXPECT_EQ(pts[0], (TPoint{4, 0}));
  EXPECT_EQ(pts[1], (TPoint{24, 10}));
  EXPECT_EQ(pts[2], (TPoint{6, -6}));
  dc.DPtoLP(pts, 3);
  EXPECT_EQ(pts[1], (TPoint{20, 5}));
  dc.SelectBrush(Solid(clRed));
  dc.Rectangle(10, 0, 20, 10);  // device 4..24 x 0..20
  EXPECT_EQ(Ink(), (TRect{4, 0, 24, 20}));
  EXPECT_EQ(Row(10, 3, 8, clBlack), ".#???");  // the cosmetic pen stays one pixel
  // A geometric pen's width scales.
  image.fill(Qt::white);
  dc.SelectPen(Pen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 2));
  dc.MoveToEx(10, 20);
  dc.LineTo(30, 20);
  EXPECT_EQ(Column(20, 36, 45, clBlack), "..####...");
  // The clip stays in device pixels.
  image.fill(Qt::white);
  const Region clip = Region::Rect(0, 0, 10, 10);
  dc.SelectClipRgn(&clip);
  dc.PatBlt(10, 0, 30, 30, PATCOPY);
  EXPECT_EQ(Ink(), (TRect{4, 0, 10, 10}));
  dc.SelectClipRgn(nullptr);
  // Fonts scale: the device height doubles, the logical extent stays.
  LogFont f;
  f.Height = -10;
  dc.SelectFont(f);
  const TPoint logical = dc.GetTextExtent("Hello");
  dc.SetMapMode(MM_TEXT);
  const TPoint plain = dc.GetTextExtent("Hello");
  EXPECT_NEAR(logical.X, plain.X, 2);
  EXPECT_NEAR(logical.Y, plain.Y, 1);
}

TEST_F(DcTest, BitBltAndStretchBltCopy) {
  QImage src(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) src.setPixel(x, y, qRgb(x * 16, y * 16, 77));
  }
  Dc from(&src);
  dc.SetROP2(R2_XORPEN);  // has no effect on block transfers
  EXPECT_TRUE(dc.BitBlt(5, 6, 4, 3, from, 2, 1, SRCCOPY));
  EXPECT_EQ(Ink(), (TRect{5, 6, 9, 9}));
  EXPECT_EQ(Px(5, 6), RGB(2 * 16, 16, 77));
  EXPECT_EQ(Px(8, 8), RGB(5 * 16, 3 * 16, 77));
  image.fill(Qt::white);
  EXPECT_TRUE(dc.StretchBlt(0, 0, 8, 8, from, 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(Px(0, 0), RGB(0, 0, 77));
  EXPECT_EQ(Px(1, 1), RGB(0, 0, 77));
  EXPECT_EQ(Px(2, 2), RGB(16, 16, 77));
  EXPECT_EQ(Px(7, 7), RGB(48, 48, 77));
  // Onto itself, overlapping: the source is read before it is overwritten.
  EXPECT_TRUE(from.BitBlt(1, 0, 15, 16, from, 0, 0, SRCCOPY));
  EXPECT_EQ(from.GetPixel(15, 3), RGB(14 * 16, 3 * 16, 77));
  EXPECT_FALSE(dc.BitBlt(0, 0, 4, 4, from, 0, 0, 0x00EE0086));
}

TEST(MulDivTest, RoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, expect;
  };
  const Case cases[] = {
      {10, 3, 2, 15},
      {5, 1, 2, 3},
      {-5, 1, 2, -3},
      {5, -1, 2, -3},
      {7, 3, -2, -11},
      {-7, 3, -2, 11},
      {1, 1, 3, 0},
      {2, 1, 3, 1},
      {8, 96, 72, 11},
      {7, 1, 0, -1},
      {0, 0, 0, -1},
      {INT_MAX, 2, 1, -1},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {INT_MIN, 1, 1, INT_MIN},
      {INT_MIN, -1, 1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expect) << c.a << " * " << c.b << " / " << c.c;
  }
}

}  // namespace
}  // namespace gditest
