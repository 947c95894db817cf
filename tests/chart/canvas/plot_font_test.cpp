#include "chart/canvas/plot_font.h"

#include <gtest/gtest.h>

#include "chart/canvas/canvas_unit.h"

namespace chart {
namespace {

TEST(PlotFont, DefaultsComeFromTheLibraryStartAndAreNotStored) {
  PlotCustomEditColors().push_back("ColorA=FFFFFF");
  PlotCanvasUnitEnd();
  EXPECT_EQ(GetDefaultFontName, "");
  EXPECT_TRUE(PlotCustomEditColors().empty());
  PlotCheckPenWidth = true;
  PlotSetDCBrushColor = false;
  PlotCanvasUnitStart();
  EXPECT_FALSE(PlotCheckPenWidth);
  EXPECT_TRUE(PlotSetDCBrushColor);
  EXPECT_TRUE(IsWindowsNT);

  TPlotFont font;
  EXPECT_EQ(font.GetName(), "Arial");
  EXPECT_EQ(font.GetSize(), 8);
  EXPECT_EQ(font.GetColor(), platform::clBlack);
  EXPECT_EQ(font.GetCharset(), 1);
  EXPECT_FALSE(font.IsNameStored() || font.IsHeightStored() || font.IsColorStored() ||
               font.IsStyleStored());
  font.SetName("Liberation Sans");
  font.SetSize(10);
  font.SetStyle(platform::TFontStyles{platform::fsBold});
  EXPECT_TRUE(font.IsNameStored() && font.IsHeightStored() && font.IsStyleStored());
}

TEST(PlotFont, SubObjectsAreMadeOnFirstReadNotifyAndAssign) {
  int changes = 0;
  TPlotFont font([&] { ++changes; });
  EXPECT_EQ(font.ShadowIfAny(), nullptr);
  EXPECT_EQ(font.GradientIfAny(), nullptr);
  font.GetShadow()->SetSize(2);
  font.GetOutLine()->Show();
  font.GetGradient()->SetOutline(true);
  font.GetGradient()->SetOutline(true);
  font.SetInterCharSize(0);
  font.SetInterCharSize(2);
  EXPECT_EQ(changes, 4);

  TPlotFont dest;
  dest.GetShadow();
  font.SetOutLine(nullptr);
  dest.GetOutLine()->Show();
  dest.Assign(font);
  EXPECT_EQ(dest.GetInterCharSize(), 2);
  ASSERT_NE(dest.ShadowIfAny(), nullptr);
  EXPECT_EQ(dest.ShadowIfAny()->GetSize(), 2);
  ASSERT_NE(dest.GradientIfAny(), nullptr);
  EXPECT_TRUE(dest.GradientIfAny()->GetOutline());
  EXPECT_EQ(dest.OutLineIfAny(), nullptr);  // the source had none
}

}  // namespace
}  // namespace chart
