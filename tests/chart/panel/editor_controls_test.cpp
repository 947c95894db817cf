// The editor controls: the colour button shows and edits its colour through the (answered)
// colour dialog and keeps the custom colours; the flat combo box; bad custom colour entries.
#include "chart/panel/editor_controls.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <string>
#include <vector>

#include "chart/canvas/canvas_unit.h"
#include "platform/vcl/application.h"
#include "platform/vcl/color_dialog.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/system_metrics.h"
#include "tests/support/gdi_test_support.h"

namespace {

using namespace platform;

// Answers the colour dialog: accept (with a colour and custom colours) or cancel.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gditest::SetUpText());
    chart::PlotCanvasUnitEnd();
    Application->SetModalResponder([this](TModalRequest& r) {
      seen.push_back(r);
      if (r.Kind != mkColorDialog || !accept) return 0;
      r.Color = answer;
      r.CustomColors = answerCustom;
      return 1;
    });
  }
  void TearDown() override {
    Application->SetModalResponder(nullptr);
    chart::PlotCanvasUnitEnd();
  }

  bool accept = true;
  TColor answer = clRed;
  std::vector<std::string> answerCustom{"ColorA=00FF00", "ColorB=123456"};
  std::vector<TModalRequest> seen;
};

TColor Pixel(TControl& c, int x, int y) {
  TBitmap image;
  if (auto* b = dynamic_cast<TButton*>(&c)) b->PaintTo(image);
  if (auto* b = dynamic_cast<TComboBox*>(&c)) b->PaintTo(image);
  return image.Canvas->GetPixel(x, y);
}

// The colour in the middle of the symbol as the button's window shows it.
TColor SymbolPixel(chart::TPlotButton& button) {
  const TRect r = button.SymbolRectangle();
  return Pixel(button, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

TEST_F(EditorTest, SymbolRectangleAndDrawing) {
  for (const auto& [w, h, expected] :
       {std::tuple{75, 25, TRect{56, 7, 69, 19}}, std::tuple{100, 30, TRect{81, 9, 94, 23}},
        std::tuple{40, 3, TRect{21, 3, 34, 3}}}) {
    chart::TPlotButton button(nullptr);
    button.SetBounds(0, 0, w, h);
    EXPECT_EQ(button.SymbolRectangle(), expected) << w << "x" << h;
  }
  chart::TButtonColor button(nullptr);
  EXPECT_TRUE(button.GetWidth() == 75 && button.GetHeight() == 25);
  button.SetSymbolColor(clRed);
  const TRect r = button.SymbolRectangle();
  // A box framed by the black pen; disabled: no frame, filled to one short of right and bottom.
  EXPECT_EQ(Pixel(button, r.Left, r.Top), clBlack);
  EXPECT_EQ(Pixel(button, r.Right - 1, r.Bottom - 1), clBlack);
  EXPECT_EQ(Pixel(button, r.Left + 1, r.Top + 1), clRed);
  EXPECT_NE(Pixel(button, r.Right, r.Top), clBlack);
  button.SetEnabled(false);
  EXPECT_EQ(Pixel(button, r.Left, r.Top), clRed);
  EXPECT_EQ(Pixel(button, r.Right - 2, r.Bottom - 2), clRed);
  EXPECT_NE(Pixel(button, r.Right - 1, r.Bottom - 1), clRed);
  button.SetEnabled(true);
  // clNone: no symbol, the plain button shows.
  button.SetSymbolColor(clNone);
  chart::TPlotButton plain(nullptr);
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) ASSERT_EQ(Pixel(button, x, y), Pixel(plain, x, y));
}

TEST_F(EditorTest, ColourComesFromCallbackLinkOrOwnField) {
  TColor linked = clBlue;
  TObject target;
  chart::TButtonColor button(nullptr);
  button.SetSymbolColor(clGreen);
  EXPECT_EQ(SymbolPixel(button), clGreen);
  // Linked: read through the getter, system colours resolved; written through the setter.
  button.LinkProperty(
      &target, [&] { return linked; }, [&](TColor c) { linked = c; });
  EXPECT_EQ(SymbolPixel(button), clBlue);
  linked = clBtnFace;
  EXPECT_EQ(button.GetSymbolColor(), ColorToRGB(clBtnFace));
  button.SetSymbolColor(clYellow);
  EXPECT_EQ(linked, clYellow);
  // The callback wins over the link.
  button.GetColorProc = [] { return clAqua; };
  EXPECT_EQ(SymbolPixel(button), clAqua);
  button.GetColorProc = nullptr;
  // A link without a setter, or to no instance, is no link: the own colour is used.
  button.LinkProperty(
      &target, [&] { return linked; }, nullptr);
  EXPECT_EQ(button.GetSymbolColor(), clGreen);
  button.LinkProperty(
      nullptr, [&] { return linked; }, [&](TColor c) { linked = c; });
  button.SetSymbolColor(clMaroon);
  EXPECT_TRUE(button.GetSymbolColor() == clMaroon && linked == clYellow);
}

TEST_F(EditorTest, ClickEditsTheColourThroughTheDialog) {
  for (const bool link : {false, true}) {
    SCOPED_TRACE(link ? "linked" : "own colour");
    chart::PlotCustomEditColors() = {"ColorC=ABCDEF"};
    seen.clear();
    TColor linked = clGreen;
    TObject target;
    chart::TButtonColor button(nullptr);
    button.SetSymbolColor(clGreen);
    if (link)
      button.LinkProperty(
          &target, [&] { return linked; }, [&](TColor v) { linked = v; });
    int clicks = 0;
    button.OnClick = [&](TObject*) { ++clicks; };
    // Through the window: the button's click reaches the colour button's Click.
    static_cast<QPushButton*>(button.Widget())->click();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Kind, mkColorDialog);
    EXPECT_EQ(seen[0].Color, clGreen);
    EXPECT_EQ(seen[0].CustomColors, std::vector<std::string>{"ColorC=ABCDEF"});
    EXPECT_EQ(SymbolPixel(button), clRed);
    EXPECT_EQ(linked, link ? clRed : clGreen);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chart::PlotCustomEditColors(), answerCustom);
    // The same colour again: nothing happens; cancelled: nothing changes.
    button.Click();
    accept = false;
    answer = clBlue;
    button.Click();
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(button.GetSymbolColor(), clRed);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chart::PlotCustomEditColors(), answerCustom);
    accept = true;
    answer = clRed;
  }
}

TEST_F(EditorTest, EditColorRoutines) {
  // Cancelled: the old colour, and an empty custom list now exists.
  accept = false;
  EXPECT_EQ(chart::EditColor(nullptr, clTeal), clTeal);
  EXPECT_TRUE(chart::PlotCustomEditColors().empty());
  TColor color = clTeal;
  EXPECT_FALSE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, clTeal);
  // Accepted: the choice and its custom colours.
  accept = true;
  answer = clNavy;
  TComponent owner(nullptr);
  EXPECT_EQ(chart::EditColor(&owner, clTeal), clNavy);
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(chart::PlotCustomEditColors(), answerCustom);
  EXPECT_TRUE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, clNavy);
}

TEST_F(EditorTest, CustomColourEntries) {
  for (const auto& [entry, ok, slot, color] : std::vector<std::tuple<std::string, bool, int, int>>{
           {"ColorA=FFFFFF", true, 0, 0xFFFFFF},
           {"ColorP=0", true, 15, 0},
           {"ColorB=ff8000", true, 1, 0xFF8000},
           {"ColorQ=1", false, 0, 0},
           {"ColorA=", false, 0, 0},
           {"ColorA=GG", false, 0, 0},
           {"ColorA=1000000", false, 0, 0},
           {"ColorA=-1", false, 0, 0},
           {"ColorA=0x1", false, 0, 0},
           {"colora=1", false, 0, 0},
           {"ColorA=1 ", false, 0, 0},
           {"", false, 0, 0},
           {std::string("ColorA=1\0", 9), false, 0, 0}}) {
    int s = -1;
    TColor c = -1;
    EXPECT_EQ(ParseCustomColor(entry, s, c), ok) << entry;
    EXPECT_TRUE(!ok || (s == slot && c == color)) << entry;
  }
  EXPECT_EQ(FormatCustomColor(1, clRed), "ColorB=0000FF");
  EXPECT_EQ(FormatCustomColor(15, 0xABCDEF), "ColorP=ABCDEF");
  EXPECT_EQ(FormatCustomColor(99, -1), "ColorP=FFFFFF");
  EXPECT_EQ(FormatCustomColor(-3, 0x12), "ColorA=000012");
  // A dialog fed garbage custom colours still runs.
  TColorDialog dialog(nullptr);
  dialog.CustomColors = {"", "Color", "ColorZ=1", "ColorA=zz"};
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color, clRed);
}

TEST_F(EditorTest, ComboFlatDroppedWidthStoredOnlyWhenItDiffers) {
  chart::TComboFlat combo(nullptr);
  EXPECT_TRUE(combo.GetHeight() == 21 && combo.ItemHeight == 13 && combo.GetItemIndex() == -1);
  EXPECT_EQ(combo.GetStyle(), csDropDownList);
  const int width = combo.GetWidth();
  EXPECT_EQ(combo.DropDownWidth(), width);
  EXPECT_FALSE(combo.IsDropDownWidthStored());
  for (const auto& [set, read, stored] :
       {std::tuple{width + 50, width + 50, true}, std::tuple{width, width, false},
        std::tuple{width - 40, width, false}, std::tuple{-7, width, false},
        std::tuple{width + 1, width + 1, true}}) {
    combo.DropDownWidth = set;
    EXPECT_EQ(combo.DropDownWidth(), read) << set;
    EXPECT_EQ(combo.IsDropDownWidthStored(), stored) << set;
  }
  // The box grows to the list's width, then past it: nothing to store.
  combo.SetWidth(width + 1);
  EXPECT_FALSE(combo.IsDropDownWidthStored());
  combo.SetWidth(width + 80);
  EXPECT_EQ(combo.DropDownWidth(), width + 80);
  EXPECT_FALSE(combo.IsDropDownWidthStored());
}

TEST_F(EditorTest, ComboFlatLookUnlessMouseOver) {
  chart::TComboFlat combo(nullptr);
  combo.SetBounds(0, 0, 120, 21);
  TComboBox plain(nullptr);
  plain.SetBounds(0, 0, 120, 21);
  plain.SetStyle(csDropDownList);
  const TColor face = ColorToRGB(clBtnFace);
  const TColor window = ColorToRGB(clWindow);
  const int left = 120 - GetSystemMetrics(SM_CXSIZE) - 2;
  ASSERT_GT(left, 2);
  // Two frames in the face colour; the button area framed in the window colour with its line.
  for (const auto& [x, y, color] :
       {std::tuple{0, 10, face}, std::tuple{1, 10, face}, std::tuple{10, 0, face},
        std::tuple{10, 20, face}, std::tuple{left, 10, window}, std::tuple{119, 10, window},
        std::tuple{118, 10, window}, std::tuple{left + 3, 1, window},
        std::tuple{left + 3, 19, window}})
    EXPECT_EQ(Pixel(combo, x, y), color) << x << "," << y;
  // The mouse over it: the plain box, exactly.
  combo.PerformMouseEnter();
  EXPECT_TRUE(combo.MouseInControl());
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 120; x += 7) ASSERT_EQ(Pixel(combo, x, y), Pixel(plain, x, y));
  // Leaving, or a focus change, brings the flat look back.
  combo.PerformMouseLeave();
  EXPECT_FALSE(combo.MouseInControl());
  combo.PerformMouseEnter();
  combo.PerformFocusChanged();
  EXPECT_FALSE(combo.MouseInControl());
  EXPECT_EQ(Pixel(combo, 0, 10), face);
}

}  // namespace
