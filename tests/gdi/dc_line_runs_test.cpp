// Lines gathered into runs in a paint pass or on a kept painter have the pixels of lines alone.
#include <utility>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

void Line(Dc& dc, int x0, int y0, int x1, int y1) {
  dc.MoveToEx(x0, y0);
  dc.LineTo(x1, y1);
}

const std::pair<const char*, void (*)(Dc&)> kScenes[] = {
    {"zigzags turning back on themselves",
     [](Dc& dc) {
       dc.MoveToEx(2, 2);
       for (int i = 0; i < 30; ++i) dc.LineTo(4 + i * 2, i % 2 ? 60 : 3 + i % 5);
       dc.MoveToEx(2, 40);
       for (int i = 0; i < 20; ++i) dc.LineTo(i % 2 ? 61 : 3, 40 + i);
     }},
    {"lines over the edge and out of the surface",
     [](Dc& dc) {
       for (int i = -3; i < 8; ++i) {
         Line(dc, -20, i * 9, 90, 70 - i * 9);
         Line(dc, 63, i * 8, 0, i * 8 + 3);
         Line(dc, i * 8, 0, i * 8 + 5, 63);
       }
       // Cut by the surface's edge, Qt's pixels depend on which way these run.
       Line(dc, 75, 51, -17, -13);
       Line(dc, -17, 88, 74, -16);
     }},
    {"the pen changed between lines",
     [](Dc& dc) {
       for (int i = 0; i < 12; ++i) {
         dc.SelectPen({.Color = i % 3 ? clRed : clBlue, .UserStyle = {}});
         Line(dc, 5, i * 5, 60, i * 5 + 7);
       }
     }},
    {"the clip changed between lines, set again after none",
     [](Dc& dc) {
       const Region a = Region::Ellipse(5, 5, 40, 40), b = Region::Rect(20, 20, 60, 60);
       for (int i = 0; i < 10; ++i) {
         dc.SelectClipRgn(i % 3 == 0 ? nullptr : i % 3 == 1 ? &a : &b);
         Line(dc, 0, i * 6, 63, 63 - i * 6);
         dc.Rectangle(i * 6, 50, i * 6 + 5, 58);
       }
     }},
    {"rows and columns both ways, over the edge, under XOR",
     [](Dc& dc) {
       for (int i = 0; i < 8; ++i) {
         Line(dc, -5 + i, i * 8, 70 - i * 9, i * 8);
         Line(dc, 60 - i * 7, 3, 60 - i * 7, 70 - i * 11);
       }
       dc.SetROP2(R2_XORPEN);
       for (int i = 0; i < 8; ++i) {
         Line(dc, i * 8 + 2, 66, i * 8 + 2, i);
         Line(dc, 0, i * 8 + 1, 40, i * 8 + 1);
       }
     }},
    {"XOR lines crossing each other",
     [](Dc& dc) {
       dc.SetROP2(R2_XORPEN);
       dc.SelectPen({.Color = clYellow, .UserStyle = {}});
       for (int i = 0; i < 16; ++i) Line(dc, i * 4, 0, 63 - i * 3, 63);
     }},
    {"pixels read and copied between lines",
     [](Dc& dc) {
       Line(dc, 0, 10, 40, 10);
       dc.SetPixel(50, 50, dc.GetPixel(20, 10) == clBlack ? clGreen : clRed);
       Line(dc, 10, 0, 10, 30);
       dc.BitBlt(30, 30, 20, 20, dc, 0, 0, SRCCOPY);
       Line(dc, 0, 63, 63, 0);
     }},
};

TEST_F(DcTest, LinesInAPassHaveThePixelsOfLinesDrawnAlone) {
  for (const auto& [name, draw] : kScenes) {
    SCOPED_TRACE(name);
    QImage apart = image.copy(), inPass = image.copy(), kept = image.copy();
    {
      Dc dc(&apart);
      draw(dc);
    }
    {
      Dc dc(&kept);
      dc.KeepPainterOpen(true);
      draw(dc);
      EXPECT_EQ(kept, apart);  // read while the painter is still open
    }
    {
      Dc dc(&inPass);
      const PaintPass pass;
      draw(dc);
    }
    EXPECT_NE(apart, image);
    EXPECT_EQ(inPass, apart);
  }
}

}  // namespace
}  // namespace gditest
