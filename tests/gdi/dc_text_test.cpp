// Text: alignment offsets, the opaque cell, character extra, rotation, fonts.
#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

class DcText : public DcTest {
 protected:
  void SetUp() override {
    DcTest::SetUp();
    big = QImage(200, 120, QImage::Format_RGB32);
    big.fill(Qt::white);
    dc.SetTarget(&big);
    LogFont f;
    f.Height = -20;
    dc.SelectFont(f);
    dc.SetBkMode(TRANSPARENT);
  }
  QImage Draw(int x, int y, unsigned align, const std::string& text = "Hgx") {
    big.fill(Qt::white);
    dc.SetTextAlign(align);
    dc.TextOut(x, y, text);
    return big;
  }
  QImage big;
};

TEST_F(DcText, AlignmentOffsetsMoveTheSamePixels) {
  const TextMetrics m = dc.GetTextMetrics();
  const TPoint size = dc.GetTextExtent("Hgx");
  EXPECT_EQ(m.Height, m.Ascent + m.Descent);
  EXPECT_EQ(size.Y, m.Height);
  ASSERT_GT(size.X, 10);
  const QImage reference = Draw(40, 30, TA_LEFT | TA_TOP);
  const TRect ink = InkOf(reference);
  EXPECT_GE(ink.Top, 30);
  EXPECT_LE(ink.Bottom, 30 + m.Height);
  EXPECT_GE(ink.Left, 40);
  struct Case {
    const char* name;
    unsigned align;
    int x, y;
  };
  const Case cases[] = {
      {"baseline", TA_LEFT | TA_BASELINE, 40, 30 + m.Ascent},
      {"bottom", TA_LEFT | TA_BOTTOM, 40, 30 + m.Ascent + m.Descent},
      {"right", TA_RIGHT | TA_TOP, 40 + size.X, 30},
      {"center", TA_CENTER | TA_TOP, 40 + size.X / 2, 30},
      {"right bottom", TA_RIGHT | TA_BOTTOM, 40 + size.X, 30 + m.Height},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Draw(c.x, c.y, c.align), reference);
  }
  // Bottom alignment puts every pixel, descenders included, above the reference line.
  EXPECT_LE(InkOf(Draw(40, 60, TA_BOTTOM)).Bottom, 60);
  EXPECT_EQ(InkOf(Draw(40, 60, TA_BASELINE, "H")).Bottom, 60);  // stands on the baseline
}

TEST_F(DcText, OpaqueCellAndCharacterExtra) {
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(clYellow);
  dc.SetTextColor(clBlue);
  const TPoint size = dc.GetTextExtent("Hgx");
  const QImage img = Draw(10, 20, TA_TOP);
  EXPECT_EQ(InkOf(img), (TRect{10, 20, 10 + size.X, 20 + size.Y}));
  int blue = 0, yellow = 0;
  for (int y = 20; y < 20 + size.Y; ++y) {
    for (int x = 10; x < 10 + size.X; ++x) {
      blue += img.pixel(x, y) == qRgb(0, 0, 255);
      yellow += img.pixel(x, y) == qRgb(255, 255, 0);
    }
  }
  EXPECT_EQ(blue + yellow, size.X * size.Y);  // crisp: two colours only
  EXPECT_GT(blue, 20);
  // Character extra widens each character, also in the measured width.
  dc.SetTextCharacterExtra(3);
  EXPECT_EQ(dc.GetTextExtent("ABCD").X, dc.GetTextExtent("ABCD").X);
  const int wide = dc.GetTextExtent("ABCD").X;
  dc.SetTextCharacterExtra(0);
  EXPECT_EQ(wide, dc.GetTextExtent("ABCD").X + 4 * 3);
}

TEST_F(DcText, RotatedNinetyDegreesSwapsWidthAndHeight) {
  const QImage flat = Draw(60, 100, TA_TOP, "HHHHH");
  const TRect a = InkOf(flat);
  LogFont f = dc.CurrentFont();
  f.Escapement = 900;
  dc.SelectFont(f);
  const QImage up = Draw(60, 100, TA_TOP, "HHHHH");
  const TRect b = InkOf(up);
  EXPECT_NEAR(b.Width(), a.Height(), 1);
  EXPECT_NEAR(b.Height(), a.Width(), 1);
  // Counter-clockwise: the text runs upwards from the reference point, its top to the left.
  EXPECT_LE(b.Bottom, 101);
  EXPECT_GE(b.Left, 59);
  EXPECT_NEAR(100 - b.Bottom, a.Left - 60, 1);
  // Huge and negative angles are only angles.
  f.Escapement = 900 + 3600 * 1000;
  dc.SelectFont(f);
  EXPECT_EQ(InkOf(Draw(60, 100, TA_TOP, "HHHHH")), b);
  f.Escapement = -2700;
  dc.SelectFont(f);
  EXPECT_EQ(InkOf(Draw(60, 100, TA_TOP, "HHHHH")), b);
}

TEST_F(DcText, FontHeightWeightAndStyle) {
  LogFont f;
  f.Height = -20;
  dc.SelectFont(f);
  const TextMetrics em = dc.GetTextMetrics();
  f.Height = em.Height;  // the same font asked for by its cell height
  dc.SelectFont(f);
  EXPECT_EQ(dc.GetTextMetrics().Height, em.Height);
  EXPECT_EQ(dc.GetTextMetrics().InternalLeading, em.InternalLeading);
  f.Height = -20;
  const int regular = dc.GetTextExtent("Wide text").X;
  f.Weight = 700;
  dc.SelectFont(f);
  EXPECT_GT(dc.GetTextExtent("Wide text").X, regular);
  // Underline draws below the baseline.
  f.Weight = 400;
  f.Underline = true;
  dc.SelectFont(f);
  const TRect under = InkOf(Draw(10, 10, TA_TOP, "nn"));
  f.Underline = false;
  dc.SelectFont(f);
  const TRect plain = InkOf(Draw(10, 10, TA_TOP, "nn"));
  EXPECT_GT(under.Bottom, plain.Bottom);
}

}  // namespace
}  // namespace gditest
