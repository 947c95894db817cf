// The editor controls: the colour button shows and edits its colour through the (answered)
// colour dialog, the custom colours are kept, the flat combo box stores its dropped width only
// when it differs, and bad custom colour entries are ignored.
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

using platform::TColor;
using platform::TModalRequest;

// Answers the colour dialog: accept (with a colour and custom colours) or cancel.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gditest::SetUpText());
    platform::Application->Initialize();
    chart::PlotCanvasUnitEnd();
    platform::Application->ClearModalLog();
    platform::Application->SetModalResponder([this](TModalRequest& r) {
      seen.push_back(r);
      if (r.Kind != platform::mkColorDialog || !accept) return 0;
      r.Color = answer;
      r.CustomColors = answerCustom;
      return 1;
    });
  }
  void TearDown() override {
    platform::Application->SetModalResponder(nullptr);
    chart::PlotCanvasUnitEnd();
  }

  bool accept = true;
  TColor answer = platform::clRed;
  std::vector<std::string> answerCustom{"ColorA=00FF00", "ColorB=123456"};
  std::vector<TModalRequest> seen;
};

// The colour inside the symbol as the button's window shows it.
TColor SymbolPixel(chart::TPlotButton& button) {
  platform::TBitmap image;
  button.PaintTo(image);
  const platform::TRect r = button.SymbolRectangle();
  return image.Canvas->GetPixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// Something with a published colour property.
struct Target : platform::TObject {
  TColor color = platform::clBlue;
};

TEST_F(EditorTest, SymbolRectangleFollowsTheButtonSize) {
  struct Case {
    int width, height;
    platform::TRect expected;
  };
  for (const Case& c : {Case{75, 25, {56, 7, 69, 19}}, Case{100, 30, {81, 9, 94, 23}},
                        Case{40, 3, {21, 3, 34, 3}}, Case{0, 0, {-19, 0, -6, 0}}}) {
    chart::TPlotButton button(nullptr);
    button.SetBounds(0, 0, c.width, c.height);
    EXPECT_EQ(button.SymbolRectangle(), c.expected) << c.width << "x" << c.height;
  }
  chart::TPlotButton button(nullptr);
  EXPECT_EQ(button.GetWidth(), 75);
  EXPECT_EQ(button.GetHeight(), 25);
}

TEST_F(EditorTest, ColourComesFromCallbackLinkOrOwnField) {
  Target target;
  chart::TButtonColor button(nullptr);
  // Own colour.
  button.SetSymbolColor(platform::clGreen);
  EXPECT_EQ(button.GetSymbolColor(), platform::clGreen);
  EXPECT_EQ(SymbolPixel(button), platform::clGreen);
  // Linked: read through the getter, system colours resolved; written through the setter.
  button.LinkProperty(
      &target, [&] { return target.color; }, [&](TColor c) { target.color = c; });
  EXPECT_TRUE(button.Linked());
  EXPECT_EQ(button.GetSymbolColor(), platform::clBlue);
  EXPECT_EQ(SymbolPixel(button), platform::clBlue);
  target.color = platform::clBtnFace;
  EXPECT_EQ(button.GetSymbolColor(), platform::ColorToRGB(platform::clBtnFace));
  button.SetSymbolColor(platform::clYellow);
  EXPECT_EQ(target.color, platform::clYellow);
  // The callback wins over the link.
  button.GetColorProc = [] { return platform::clAqua; };
  EXPECT_EQ(button.GetSymbolColor(), platform::clAqua);
  EXPECT_EQ(SymbolPixel(button), platform::clAqua);
  button.GetColorProc = nullptr;
  // A link without a setter is no link; nor is one to no instance.
  button.LinkProperty(
      &target, [&] { return target.color; }, nullptr);
  EXPECT_FALSE(button.Linked());
  EXPECT_EQ(button.GetSymbolColor(), platform::clGreen);
  button.LinkProperty(
      nullptr, [&] { return target.color; }, [&](TColor c) { target.color = c; });
  EXPECT_FALSE(button.Linked());
  button.SetSymbolColor(platform::clMaroon);
  EXPECT_EQ(button.GetSymbolColor(), platform::clMaroon);
  EXPECT_EQ(target.color, platform::clYellow);
}

TEST_F(EditorTest, SymbolDrawing) {
  chart::TButtonColor button(nullptr);
  button.SetSymbolColor(platform::clRed);
  platform::TBitmap image;
  button.PaintTo(image);
  const platform::TRect r = button.SymbolRectangle();
  // A framed box: the pen's black edge around the colour.
  EXPECT_EQ(image.Canvas->GetPixel(r.Left, r.Top), platform::clBlack);
  EXPECT_EQ(image.Canvas->GetPixel(r.Right - 1, r.Bottom - 1), platform::clBlack);
  EXPECT_EQ(image.Canvas->GetPixel(r.Left + 1, r.Top + 1), platform::clRed);
  EXPECT_NE(image.Canvas->GetPixel(r.Right, r.Top), platform::clBlack);

  // Disabled: no frame, the box is filled to one short of its right and bottom edges.
  button.SetEnabled(false);
  button.PaintTo(image);
  EXPECT_EQ(image.Canvas->GetPixel(r.Left, r.Top), platform::clRed);
  EXPECT_EQ(image.Canvas->GetPixel(r.Right - 2, r.Bottom - 2), platform::clRed);
  EXPECT_NE(image.Canvas->GetPixel(r.Right - 1, r.Bottom - 1), platform::clRed);
  button.SetEnabled(true);

  // clNone: no symbol at all, the plain button shows.
  button.SetSymbolColor(platform::clNone);
  chart::TPlotButton plain(nullptr);
  platform::TBitmap withNone, without;
  button.PaintTo(withNone);
  plain.PaintTo(without);
  ASSERT_EQ(withNone.Width(), without.Width());
  ASSERT_EQ(withNone.Height(), without.Height());
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      EXPECT_EQ(withNone.Canvas->GetPixel(x, y), without.Canvas->GetPixel(x, y));
}

TEST_F(EditorTest, ClickEditsTheColourThroughTheDialog) {
  struct Case {
    const char* name;
    bool linked;
  };
  for (const Case& c : {Case{"own colour", false}, Case{"linked", true}}) {
    SCOPED_TRACE(c.name);
    chart::PlotCanvasUnitEnd();
    chart::PlotCustomEditColors() = {"ColorC=ABCDEF"};
    seen.clear();
    Target target;
    chart::TButtonColor button(nullptr);
    button.SetSymbolColor(platform::clGreen);
    if (c.linked) {
      target.color = platform::clGreen;
      button.LinkProperty(
          &target, [&] { return target.color; }, [&](TColor v) { target.color = v; });
    }
    int clicks = 0;
    button.OnClick = [&](platform::TObject*) { ++clicks; };
    // Through the window: the button's click reaches the colour button's Click.
    static_cast<QPushButton*>(button.Widget())->click();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Kind, platform::mkColorDialog);
    EXPECT_EQ(seen[0].Color, platform::clGreen);
    EXPECT_EQ(seen[0].CustomColors, std::vector<std::string>{"ColorC=ABCDEF"});
    EXPECT_EQ(button.GetSymbolColor(), platform::clRed);
    EXPECT_EQ(SymbolPixel(button), platform::clRed);
    if (c.linked) {
      EXPECT_EQ(target.color, platform::clRed);
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chart::PlotCustomEditColors(), answerCustom);

    // The same colour chosen again: nothing changes, no OnClick.
    button.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen.size(), 2u);

    // Cancelled: colour, custom colours and OnClick untouched.
    accept = false;
    answer = platform::clBlue;
    button.Click();
    EXPECT_EQ(button.GetSymbolColor(), platform::clRed);
    if (c.linked) {
      EXPECT_EQ(target.color, platform::clRed);
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chart::PlotCustomEditColors(), answerCustom);
    accept = true;
    answer = platform::clRed;
  }
}

TEST_F(EditorTest, EditColorRoutines) {
  // Cancelled: the old colour, and an empty custom list now exists.
  accept = false;
  EXPECT_EQ(chart::EditColor(nullptr, platform::clTeal), platform::clTeal);
  EXPECT_TRUE(chart::PlotCustomEditColors().empty());
  TColor color = platform::clTeal;
  EXPECT_FALSE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, platform::clTeal);

  // Accepted: the choice and its custom colours.
  accept = true;
  answer = platform::clNavy;
  EXPECT_EQ(chart::EditColor(nullptr, platform::clTeal), platform::clNavy);
  EXPECT_EQ(chart::PlotCustomEditColors(), answerCustom);
  EXPECT_TRUE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, platform::clNavy);
  // The same colour: false, unchanged.
  EXPECT_FALSE(chart::EditColorDialog(nullptr, color));
  EXPECT_EQ(color, platform::clNavy);

  // Owned by a component while it runs, and gone afterwards.
  platform::TComponent owner(nullptr);
  chart::EditColor(&owner, platform::clTeal);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(EditorTest, CustomColourEntries) {
  struct Case {
    std::string entry;
    bool ok;
    int slot;
    TColor color;
  };
  for (const Case& c : std::vector<Case>{{"ColorA=FFFFFF", true, 0, 0xFFFFFF},
                                         {"ColorP=0", true, 15, 0},
                                         {"ColorB=ff8000", true, 1, 0xFF8000},
                                         {"ColorQ=1", false, 0, 0},
                                         {"ColorA=", false, 0, 0},
                                         {"ColorA=GG", false, 0, 0},
                                         {"ColorA=1000000", false, 0, 0},
                                         {"ColorA=-1", false, 0, 0},
                                         {"ColorA=+1", false, 0, 0},
                                         {"ColorA=0x1", false, 0, 0},
                                         {"colora=1", false, 0, 0},
                                         {"ColorA:1", false, 0, 0},
                                         {"ColorA=1 ", false, 0, 0},
                                         {"", false, 0, 0},
                                         {std::string("ColorA=1\0", 9), false, 0, 0}}) {
    int slot = -1;
    TColor color = -1;
    EXPECT_EQ(platform::ParseCustomColor(c.entry, slot, color), c.ok) << c.entry;
    if (c.ok) {
      EXPECT_EQ(slot, c.slot) << c.entry;
      EXPECT_EQ(color, c.color) << c.entry;
    }
  }
  EXPECT_EQ(platform::FormatCustomColor(1, platform::clRed), "ColorB=0000FF");
  EXPECT_EQ(platform::FormatCustomColor(15, 0xABCDEF), "ColorP=ABCDEF");
  EXPECT_EQ(platform::FormatCustomColor(99, -1), "ColorP=FFFFFF");
  EXPECT_EQ(platform::FormatCustomColor(-3, 0x12), "ColorA=000012");
  int slot = 0;
  TColor color = 0;
  ASSERT_TRUE(platform::ParseCustomColor(platform::FormatCustomColor(7, 0x00A0B0), slot, color));
  EXPECT_EQ(slot, 7);
  EXPECT_EQ(color, 0x00A0B0);

  // A dialog fed garbage custom colours still runs and gives them to the responder as they are.
  platform::TColorDialog dialog(nullptr);
  dialog.CustomColors = {"", "Color", "ColorZ=1", "ColorA=zz"};
  dialog.Color = platform::clBlack;
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color, platform::clRed);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().CustomColors.size(), 4u);
}

TEST_F(EditorTest, ComboFlatDefaultsAndDroppedWidth) {
  chart::TComboFlat combo(nullptr);
  EXPECT_EQ(combo.GetHeight(), 21);
  EXPECT_EQ(combo.ItemHeight, 13);
  EXPECT_EQ(combo.GetItemIndex(), -1);
  EXPECT_EQ(combo.GetStyle(), platform::csDropDownList);
  const int width = combo.GetWidth();
  EXPECT_EQ(combo.DropDownWidth(), width);
  EXPECT_FALSE(combo.IsDropDownWidthStored());

  struct Case {
    int set;
    int read;
    bool stored;
  };
  for (const Case& c : {Case{width + 50, width + 50, true}, Case{width, width, false},
                        Case{width - 40, width, false}, Case{0, width, false},
                        Case{-7, width, false}, Case{width + 1, width + 1, true}}) {
    combo.DropDownWidth = c.set;
    EXPECT_EQ(combo.DropDownWidth(), c.read) << c.set;
    EXPECT_EQ(combo.IsDropDownWidthStored(), c.stored) << c.set;
  }
  // The box grows to the list's width: nothing to store any more; wider still: the list follows.
  combo.SetWidth(width + 1);
  EXPECT_FALSE(combo.IsDropDownWidthStored());
  combo.SetWidth(width + 80);
  EXPECT_EQ(combo.DropDownWidth(), width + 80);
  EXPECT_FALSE(combo.IsDropDownWidthStored());
}

TEST_F(EditorTest, ComboFlatLookUnlessMouseOver) {
  chart::TComboFlat combo(nullptr);
  combo.SetBounds(0, 0, 120, 21);
  platform::TComboBox plain(nullptr);
  plain.SetBounds(0, 0, 120, 21);
  plain.SetStyle(platform::csDropDownList);
  platform::TBitmap flat, over, base;
  combo.PaintTo(flat);
  plain.PaintTo(base);

  const TColor face = platform::ColorToRGB(platform::clBtnFace);
  const TColor window = platform::ColorToRGB(platform::clWindow);
  const int left = 120 - platform::GetSystemMetrics(platform::SM_CXSIZE) - 2;
  ASSERT_GT(left, 2);
  // The two frames in the face colour, the button area framed in the window colour.
  EXPECT_EQ(flat.Canvas->GetPixel(0, 10), face);
  EXPECT_EQ(flat.Canvas->GetPixel(1, 10), face);
  EXPECT_EQ(flat.Canvas->GetPixel(10, 0), face);
  EXPECT_EQ(flat.Canvas->GetPixel(10, 20), face);
  EXPECT_EQ(flat.Canvas->GetPixel(left, 10), window);
  EXPECT_EQ(flat.Canvas->GetPixel(119, 10), window);
  EXPECT_EQ(flat.Canvas->GetPixel(118, 10), window);
  EXPECT_EQ(flat.Canvas->GetPixel(left + 3, 1), window);
  EXPECT_EQ(flat.Canvas->GetPixel(left + 3, 19), window);

  // The mouse over it: the plain box, exactly.
  combo.PerformMouseEnter();
  EXPECT_TRUE(combo.MouseInControl());
  combo.PaintTo(over);
  ASSERT_EQ(over.Width(), base.Width());
  bool same = true;
  for (int y = 0; y < 21 && same; ++y)
    for (int x = 0; x < 120 && same; ++x)
      same = over.Canvas->GetPixel(x, y) == base.Canvas->GetPixel(x, y);
  EXPECT_TRUE(same);

  // Leaving, or a focus change, brings the flat look back.
  combo.PerformMouseLeave();
  EXPECT_FALSE(combo.MouseInControl());
  combo.PerformMouseEnter();
  combo.PerformFocusChanged();
  EXPECT_FALSE(combo.MouseInControl());
  platform::TBitmap again;
  combo.PaintTo(again);
  EXPECT_EQ(again.Canvas->GetPixel(0, 10), face);
  EXPECT_EQ(again.Canvas->GetPixel(left, 10), window);
}

}  // namespace
