// The check box and radio button painter: pixels of each kind, checked and not, on a marker
// background so that every pixel it touches shows.
#include <gtest/gtest.h>

#include <climits>

#include "chart/panel/editor_controls.h"
#include "platform/vcl/picture.h"
#include "tests/support/gdi_test_support.h"

namespace {

using platform::ColorToRGB;
using platform::TColor;

constexpr TColor kMarker = platform::clFuchsia;
constexpr int kX = 7;
constexpr int kY = 5;

struct Drawn {
  platform::TBitmap bitmap;
  TColor At(int col, int row) { return bitmap.Canvas->GetPixel(kX + col, kY + row); }
};

void Draw(Drawn& d, bool checked, bool isCheckBox) {
  d.bitmap.SetSize(30, 30);
  d.bitmap.Canvas->Brush->SetColor(kMarker);
  d.bitmap.Canvas->FillRect(platform::TRect{0, 0, 30, 30});
  chart::PlotDrawCheckBox(kX, kY, d.bitmap.Canvas, checked, platform::clRed, isCheckBox);
}

TEST(PlotDrawCheckBoxTest, KindsAndMarks) {
  ASSERT_TRUE(gditest::SetUpText());
  const TColor text = ColorToRGB(platform::clWindowText);
  const TColor window = ColorToRGB(platform::clWindow);
  ASSERT_NE(text, window);
  struct Case {
    bool isCheckBox;
    bool checked;
    int markPixels;  // pixels in the text colour
  };
  for (const Case c :
       {Case{true, false, 0}, Case{true, true, 21}, Case{false, false, 0}, Case{false, true, 12}}) {
    SCOPED_TRACE(testing::Message() << "check box " << c.isCheckBox << " checked " << c.checked);
    Drawn d;
    Draw(d, c.checked, c.isCheckBox);
    int marks = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 30; ++x) {
        const bool inside = x >= kX && x < kX + 13 && y >= kY && y < kY + 13;
        const TColor p = d.bitmap.Canvas->GetPixel(x, y);
        if (!inside) {
          EXPECT_EQ(p, kMarker) << x << "," << y;
        }
        if (p == text) ++marks;
      }
    }
    EXPECT_EQ(marks, c.markPixels);
    if (c.isCheckBox) {
      // The whole 13 x 13 cell is painted; the corners are frame, the centre field.
      for (int row = 0; row < 13; ++row)
        for (int col = 0; col < 13; ++col) EXPECT_NE(d.At(col, row), kMarker) << col << "," << row;
      EXPECT_EQ(d.At(0, 0), ColorToRGB(platform::clBtnShadow));
      EXPECT_EQ(d.At(1, 1), ColorToRGB(platform::cl3DDkShadow));
      EXPECT_EQ(d.At(12, 12), ColorToRGB(platform::clBtnHighlight));
      EXPECT_EQ(d.At(11, 11), ColorToRGB(platform::cl3DLight));
      // The tick's ends: the left column starts lower, the right one highest.
      EXPECT_EQ(d.At(3, 5) == text, c.checked);
      EXPECT_EQ(d.At(9, 3) == text, c.checked);
      EXPECT_EQ(d.At(5, 9) == text, c.checked);
      EXPECT_EQ(d.At(3, 4), window);
      EXPECT_EQ(d.At(2, 2), window);
      EXPECT_EQ(d.At(10, 10), window);
    } else {
      // A round button: its corners and the cell's last row and column stay untouched.
      for (int i = 0; i < 13; ++i) EXPECT_TRUE(d.At(12, i) == kMarker && d.At(i, 12) == kMarker);
      EXPECT_TRUE(d.At(0, 0) == kMarker && d.At(11, 0) == kMarker && d.At(0, 11) == kMarker);
      // The ring's top and left edges are shadowed, its bottom and right lit.
      EXPECT_EQ(d.At(5, 0), d.At(0, 5));
      EXPECT_EQ(d.At(5, 11), d.At(11, 5));
      EXPECT_NE(d.At(5, 0), d.At(5, 11));
      // The dot: four by four without its corners, in the middle of the field.
      EXPECT_EQ(d.At(5, 5) == text, c.checked);
      EXPECT_EQ(d.At(6, 6) == text, c.checked);
      EXPECT_EQ(d.At(4, 5) == text, c.checked);
      EXPECT_EQ(d.At(7, 6) == text, c.checked);
      EXPECT_EQ(d.At(4, 4), window);
      EXPECT_EQ(d.At(3, 5), window);
    }
  }
}

TEST(PlotDrawCheckBoxTest, BadPlacesAndCanvasesDoNotCrash) {
  ASSERT_TRUE(gditest::SetUpText());
  chart::PlotDrawCheckBox(0, 0, nullptr, true, 0, true);
  platform::TBitmap bitmap;
  bitmap.SetSize(20, 20);
  for (const int v : {INT_MIN, -13, -6, 15, INT_MAX - 13, INT_MAX}) {
    for (const bool box : {true, false}) {
      chart::PlotDrawCheckBox(v, v, bitmap.Canvas, true, 0, box);
      chart::PlotDrawCheckBox(v, 3, bitmap.Canvas, false, 0, box);
    }
  }
  platform::TBitmap empty;  // no pixels
  chart::PlotDrawCheckBox(0, 0, empty.Canvas, true, 0, true);
  // Half the cell off the bitmap's left edge: the visible half is drawn.
  Drawn d;
  d.bitmap.SetSize(30, 30);
  d.bitmap.Canvas->Brush->SetColor(kMarker);
  d.bitmap.Canvas->FillRect(platform::TRect{0, 0, 30, 30});
  chart::PlotDrawCheckBox(-6, 0, d.bitmap.Canvas, true, 0, true);
  EXPECT_EQ(d.bitmap.Canvas->GetPixel(3, 5), ColorToRGB(platform::clWindowText));
  EXPECT_EQ(d.bitmap.Canvas->GetPixel(7, 5), kMarker);
}

}  // namespace
