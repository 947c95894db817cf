// One painter per image for a whole paint pass: the same pixels as a painter per primitive,
// whatever happens between the primitives.
#include <functional>

#include "platform/vcl/picture.h"
#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

LogPen Solid(TColor c, int width = 1) {
  LogPen p;
  p.Color = c;
  p.Width = width;
  return p;
}

struct Scene {
  const char* name;
  std::function<void(Dc& dc, Dc& other)> draw;
};

const Scene kScenes[] = {
    {"frames under XOR, one across the edge",
     [](Dc& dc, Dc&) {
       dc.SelectPen(Solid(clRed));
       dc.SetROP2(R2_XORPEN);
       for (int i = 0; i < 6; ++i) dc.Rectangle(i * 9 - 4, i * 7, i * 9 + 20, i * 7 + 30);
       dc.SetROP2(R2_COPYPEN);
       dc.Rectangle(10, 10, 30, 30);
     }},
    {"clip changed between primitives",
     [](Dc& dc, Dc&) {
       const Region r = Region::Ellipse(4, 4, 60, 50);
       dc.SelectClipRgn(&r);
       dc.TextOut(2, 20, "Clipped text");
       dc.SelectClipRgn(nullptr);
       dc.SelectPen(Solid(clBlue, 3));
       dc.MoveToEx(0, 63);
       dc.LineTo(63, 0);
     }},
    {"rotated text after a styled pen",
     [](Dc& dc, Dc&) {
       LogPen dots = Solid(clGreen);
       dots.Style = PS_DOT;
       dc.SelectPen(dots);
       dc.Ellipse(5, 5, 50, 40);
       LogFont f;
       f.Escapement = 900;
       dc.SelectFont(f);
       dc.TextOut(30, 60, "Up");
     }},
    {"another device context on the same image",
     [](Dc& dc, Dc& other) {
       other.SelectPen(Solid(clRed));
       for (int i = 0; i < 4; ++i) {
         dc.Rectangle(i * 15, 5, i * 15 + 10, 60);
         other.MoveToEx(0, i * 15);
         other.LineTo(63, i * 15 + 5);
       }
     }},
    {"pixels read and copied back",
     [](Dc& dc, Dc&) {
       dc.Ellipse(0, 0, 30, 30);
       const TColor under = dc.GetPixel(15, 15);
       dc.SetPixel(40, 40, under == clWhite ? clRed : clBlue);
       dc.BitBlt(32, 0, 30, 30, dc, 0, 0, SRCCOPY);
     }},
};

TEST_F(DcTest, APaintPassDrawsThePixelsOfAPainterPerPrimitive) {
  for (const Scene& scene : kScenes) {
    SCOPED_TRACE(scene.name);
    QImage apart = image.copy(), inPass = image.copy();
    {
      Dc dc(&apart), other(&apart);
      scene.draw(dc, other);
    }
    {
      Dc dc(&inPass), other(&inPass);
      const PaintPass pass;
      scene.draw(dc, other);
    }
    EXPECT_NE(inPass, image);
    EXPECT_EQ(inPass, apart);
  }
}

// The bitmap ends the painter before it resizes or reformats its image.
TEST_F(DcTest, ABitmapChangedDuringAPassKeepsDrawing) {
  QImage expected;
  for (const bool pass : {false, true}) {
    std::optional<PaintPass> p;
    if (pass) p.emplace();
    TBitmap bitmap;
    bitmap.SetSize(40, 30);
    bitmap.Canvas->GetHandle()->Rectangle(2, 2, 20, 20);
    bitmap.SetSize(64, 48);
    bitmap.Canvas->GetHandle()->Rectangle(30, 20, 60, 40);
    bitmap.SetPixelFormat(pf24bit);
    bitmap.Canvas->GetHandle()->Ellipse(10, 25, 40, 45);
    p.reset();
    const QImage got = bitmap.Image()->convertToFormat(QImage::Format_RGB32);
    if (!pass) expected = got;
    EXPECT_EQ(got, expected) << pass;
  }
}

}  // namespace
}  // namespace gditest
