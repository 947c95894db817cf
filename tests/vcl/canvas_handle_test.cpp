// A canvas selects its tools into its device context only after a change: whatever changed, the
// next primitive draws with the canvas's own.
#include <functional>

#include "platform/gdi/dc.h"
#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

class CanvasHandle : public vcltest::VclTest {};

TEST_F(CanvasHandle, ThePrimitiveAfterAChangeDrawsWithTheCanvasTools) {
  const struct {
    const char* name;
    std::function<void(TCanvas&, TBitmap& pattern)> change;
    TColor frame, fill;  // of the rectangle drawn after the change
  } cases[] = {
      {"nothing", [](TCanvas&, TBitmap&) {}, clBlack, clWhite},
      {"the canvas pen and brush",
       [](TCanvas& c, TBitmap&) {
         c.Pen->Color = clRed;
         c.Brush->Color = clBlue;
       },
       clRed, clBlue},
      {"a pen and brush selected on the handle",
       [](TCanvas& c, TBitmap&) {
         c.GetHandle()->SelectPen({.Color = clLime, .UserStyle = {}});
         c.GetHandle()->SelectBrush({.Color = clYellow, .Pattern = {}});
       },
       clBlack, clWhite},
      {"a native pen on the canvas",
       [](TCanvas& c, TBitmap&) { c.Pen->SetHandle({.Color = clFuchsia, .UserStyle = {}}); },
       clFuchsia, clWhite},
      {"the pattern's pixels",
       [](TCanvas& c, TBitmap& pattern) {
         c.Brush->Bitmap = &pattern;
         c.Rectangle(40, 40, 50, 50);
         pattern.Canvas->Brush->Color = clTeal;
         pattern.Canvas->FillRect(TRect{0, 0, 8, 8});
       },
       clBlack, clTeal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap bmp, pattern;
    bmp.SetSize(64, 64);
    pattern.SetSize(8, 8);
    TCanvas& canvas = *bmp.Canvas;
    canvas.Rectangle(0, 0, 10, 10);
    c.change(canvas, pattern);
    canvas.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(canvas.Pixels[10][20], c.frame);
    EXPECT_EQ(canvas.Pixels[20][20], c.fill);
  }
}

TEST_F(CanvasHandle, TextAfterAFontSelectedOnTheHandleIsInTheCanvasFont) {
  TBitmap bmp;
  bmp.SetSize(64, 64);
  TCanvas& canvas = *bmp.Canvas;
  const int width = canvas.TextWidth("Wide");
  gdi::Dc* dc = canvas.GetHandle();
  dc->SelectFont({.Height = -40});
  EXPECT_GT(dc->GetTextExtent("Wide").X, width);
  EXPECT_EQ(canvas.TextWidth("Wide"), width);
  canvas.Font->Size = 20;
  EXPECT_GT(canvas.TextWidth("Wide"), width);
}

}  // namespace
