#include "chart/canvas/plot_font.h"

#include <gtest/gtest.h>

#include "chart/canvas/canvas_unit.h"

namespace chart {
namespace {

TEST(PlotFont, DefaultsAreNotStored) {
  TPlotFont font;
  EXPECT_EQ(font.GetName(), "Arial");
  EXPECT_EQ(font.GetSize(), 8);
  EXPECT_EQ(font.GetColor(), platform::clBlack);
  EXPECT_EQ(font.GetCharset(), 1);
  EXPECT_EQ(font.GetInterCharSize(), 0);
  EXPECT_FALSE(font.IsNameStored());
  EXPECT_FALSE(font.IsHeightStored());
  EXPECT_FALSE(font.IsColorStored());
  EXPECT_FALSE(font.IsStyleStored());

  font.SetName("Liberation Sans");
  font.SetSize(10);
  font.SetColor(platform::clRed);
  font.SetStyle(platform::TFontStyles{platform::fsBold});
  EXPECT_TRUE(font.IsNameStored());
  EXPECT_TRUE(font.IsHeightStored());
  EXPECT_TRUE(font.IsColorStored());
  EXPECT_TRUE(font.IsStyleStored());

  // An owner that changes the default colour keeps it from being written.
  font.DefaultColor = platform::clRed;
  EXPECT_FALSE(font.IsColorStored());
}

TEST(PlotFont, SubObjectsAreMadeOnFirstReadAndNotifyTheOwner) {
  int changes = 0;
  TPlotFont font([&] { ++changes; });
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(font.ShadowIfAny(), nullptr);
  EXPECT_EQ(font.OutLineIfAny(), nullptr);
  EXPECT_EQ(font.GradientIfAny(), nullptr);

  TPlotShadow* shadow = font.GetShadow();
  ASSERT_NE(shadow, nullptr);
  EXPECT_EQ(font.GetShadow(), shadow);
  EXPECT_EQ(changes, 0);
  shadow->SetSize(2);
  EXPECT_EQ(changes, 1);

  TChartHiddenPen* outline = font.GetOutLine();
  EXPECT_FALSE(outline->GetVisible());
  outline->Show();
  EXPECT_EQ(changes, 2);

  font.GetGradient()->SetOutline(true);
  font.GetGradient()->SetOutline(true);
  EXPECT_EQ(changes, 3);

  font.SetInterCharSize(0);
  EXPECT_EQ(changes, 3);
  font.SetInterCharSize(2);
  EXPECT_EQ(changes, 4);
}

TEST(PlotFont, AssignCopiesOrFreesTheSubObjects) {
  TPlotFont source;
  source.SetName("Liberation Sans");
  source.SetInterCharSize(3);
  source.GetShadow()->SetHorizSize(4);
  source.GetShadow()->SetColor(platform::clRed);
  source.GetGradient()->SetOutline(true);
  source.GetGradient()->SetStartColor(platform::clBlue);

  TPlotFont dest;
  dest.GetOutLine()->Show();
  dest.Assign(source);
  EXPECT_EQ(dest.GetName(), "Liberation Sans");
  EXPECT_EQ(dest.GetInterCharSize(), 3);
  ASSERT_NE(dest.ShadowIfAny(), nullptr);
  EXPECT_EQ(dest.ShadowIfAny()->GetHorizSize(), 4);
  EXPECT_EQ(dest.ShadowIfAny()->GetColor(), platform::clRed);
  ASSERT_NE(dest.GradientIfAny(), nullptr);
  EXPECT_TRUE(dest.GradientIfAny()->GetOutline());
  EXPECT_EQ(dest.GradientIfAny()->GetStartColor(), platform::clBlue);
  // The source had no outline pen: the destination's goes.
  EXPECT_EQ(dest.OutLineIfAny(), nullptr);

  dest.SetShadow(nullptr);
  EXPECT_EQ(dest.ShadowIfAny(), nullptr);
  dest.Assign(dest);
  EXPECT_NE(dest.GradientIfAny(), nullptr);
}

}  // namespace
}  // namespace chart

namespace chart {
namespace {

TEST(CanvasUnit, StartFixesTheDefaultsAndEndClearsThem) {
  PlotSetDCBrushColor = false;
  PlotSetDCPenColor = false;
  PlotAlphaBlendAvailable = true;
  PlotCheckPenWidth = true;
  PlotCustomEditColors().push_back("ColorA=FFFFFF");
  PlotCanvasUnitEnd();
  EXPECT_EQ(GetDefaultFontName, "");
  EXPECT_TRUE(PlotCustomEditColors().empty());

  PlotCanvasUnitStart();
  EXPECT_TRUE(IsWindowsNT);
  EXPECT_EQ(GetDefaultFontName, "Arial");
  EXPECT_EQ(GetDefaultFontSize, 8);
  EXPECT_TRUE(PlotSetDCBrushColor);
  EXPECT_TRUE(PlotSetDCPenColor);
  EXPECT_FALSE(PlotAlphaBlendAvailable);
  EXPECT_FALSE(PlotCheckPenWidth);
  // Fonts made afterwards take the defaults and do not store them.
  TPlotFont font;
  EXPECT_EQ(font.GetName(), "Arial");
  EXPECT_FALSE(font.IsNameStored());
}

}  // namespace
}  // namespace chart
