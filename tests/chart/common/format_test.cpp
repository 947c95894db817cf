// Number pictures, message formatting and the message table's texts.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "chart/common/chart_exception.h"
#include "chart/common/format_float.h"
#include "chart/common/plot_const.h"

namespace {

using namespace chart;

TEST(FormatFloat, LibraryPictures) {
  struct Case {
    const char* format;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {"#,##0.###", 1234.5678, "1,234.568"},
      {"#,##0.###", -1234.5678, "-1,234.568"},
      {"#,##0.###", 0, "0"},
      {"#,##0.###", 0.0004, "0"},
      {"#,##0.###", -0.0004, "0"},     // never "-0"
      {"#,##0.###", 0.0005, "0.001"},  // ties away from zero, on the decimal digits
      {"#,##0.###", -0.0005, "-0.001"},
      {"#,##0.###", 2.5, "2.5"},
      {"#,##0.###", 999.9996, "1,000"},
      {"#,##0.###", 1234567, "1,234,567"},
      {"#,##0.###", 100, "100"},
      {"#,##0.###", 1e21, "1,000,000,000,000,000,000,000"},
      {"##0.## %", 12.345, "12.35 %"},
      {"##0.## %", 12.344, "12.34 %"},
      {"##0.## %", 0.5, "0.5 %"},
      {"##0.## %", 100, "100 %"},
      {"##0.## %", -7.125, "-7.13 %"},
      {"#.0 \"x10\" E+0", 1234.5, "1.2 x10 E+3"},
      {"#.0 \"x10\" E+0", 0.00125, "1.3 x10 E-3"},
      {"#.0 \"x10\" E+0", 9.96, "1.0 x10 E+1"},
      {"#.0 \"x10\" E+0", 5, "5.0 x10 E+0"},
      {"#.0 \"x10\" E+0", -250, "-2.5 x10 E+2"},
      {"0.00", 1.005, "1.01"},  // 1.005 is 1.00499999... in binary; the decimal form rounds up
      {"0.00", 35, "35.00"},
      {"000", 7, "007"},
      {"#", 0.4, ""},
      {"0.0;(0.0);zero", -3.25, "(3.3)"},
      {"0.0;(0.0);zero", 0, "zero"},
      {"0.00E-00", 12345, "1.23E04"},
      {"0.00E-00", 0.012345, "1.23E-02"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.format, c.value), c.text) << c.format << " of " << c.value;
}

TEST(FormatFloat, NotFiniteAndOddPictures) {
  EXPECT_EQ(FormatFloat("#,##0.###", std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatFloat("#,##0.###", std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatFloat("#,##0.###", -std::numeric_limits<double>::infinity()), "-INF");
  // Unclosed quotes, stray exponent letters, empty pictures and extreme values stay in bounds.
  for (const char* f : {"", "\"open", "E+", "e-", ";;;", "'x", ".", ",", "0.#E+", "%%%"}) {
    for (double v : {0.0, 1.5, -1e308, 5e-324, 1e308}) {
      const std::string text = FormatFloat(f, v);
      EXPECT_LT(text.size(), 450u) << f;  // 309 digits and their separators at most
    }
  }
}

TEST(Format, FillsDirectivesInOrder) {
  EXPECT_EQ(Format(PlotMsg_SeriesDelete, {7, 3}),
            "Series Delete: ValueIndex 7 out of bounds (0 to 3).");
  EXPECT_EQ(Format(PlotMsg_3dPercent, {1, 100}), "3D effect percent must be between 1 and 100");
  EXPECT_EQ(Format(PlotMsg_InvalidEditorClass, {"Series1", "TFoo"}),
            "Series1: Invalid Editor Class: TFoo");
  EXPECT_EQ(Format("100%% of %s", {"x"}), "100% of x");
  // Missing arguments leave the directive; a lone % at the end stays.
  EXPECT_EQ(Format("%s and %d", {"a"}), "a and %d");
  EXPECT_EQ(Format("50%", {}), "50%");
  EXPECT_EQ(Format(PlotMsg_PageOfPages, {-2, 9}), "Page -2 of 9");
  const std::size_t size = 4096;
  EXPECT_EQ(Format(PlotMsg_FileSize, {size}), "4096 bytes");
  EXPECT_EQ(Format(PlotMsg_SeriesInvDataSource, {std::string("Table1")}),
            "No valid DataSource: Table1");
  EXPECT_EQ(Format(PlotMsg_DefaultPercentOf, {nullptr, "b"}), " of b");
}

TEST(MessageTable, TextsByteForByte) {
  struct Case {
    const std::string& message;
    const char* text;
  };
  const Case cases[] = {
      {PlotMsg_LegendColorWidth, "Legend Color Width must be > 0%"},
      {PlotMsg_AxisLogNotPositive, "Logarithmic Axis Min and Max values should be >= 0"},
      {PlotMsg_AxisLabelSep, "Labels Separation % must be greater than 0"},
      {PlotMsg_AxisLogBase, "Axis Logarithmic Base should be <> 1 and > 0"},
      {PlotMsg_WarningHiColor, "16k Color or greater required to get better look"},
      {PlotMsg_DefaultPercentOf2, "%s\rof %s"},
      {PlotMsg_DefPercentFormat, "##0.## %"},
      {PlotMsg_DefValueFormat, "#,##0.###"},
      {PlotMsg_DefLogValueFormat, "#.0 \"x10\" E+0"},
      {PlotMsg_SeriesParentNoSelf, "Series.ParentChart is not myself!"},
      {PlotMsg_ExportPanelNotSet, "Panel property is not set in Export format"},
      {PlotMsg_DefaultEditorSize, "414"},
      {PlotMsg_DefaultEditorHeight, "347"},
      {PlotMsg_GalleryLogoFont, "Courier New"},
      {PlotMsg_FunctionNone, "Copy"},
      {PlotMsg_FunctionCustom, "y = f(x)"},
      {PlotMsg_DepthAxis, "Depth Right"},
      {PlotMsg_DepthTopAxis, "Depth Top"},
      {PlotMsg_GalleryHorizBar, "Horizontal\rBar"},
      {PlotMsg_PieSample6, "Keyboards"},
      {PlotMsg_GanttSample7, "Manufac."},
      {PlotMsg_GanttSample9, "New Version"},
      {PlotMsg_BMPFilter, "Bitmaps (*.bmp)|*.bmp"},
      {PlotMsg_JPEGFilter, "JPEG files (*.jpg)|*.jpg"},
      {PlotMsg_EMFFilter, "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"},
      {PlotMsg_InvalidPlotFile, "Invalid Chart in *.kvc file"},
      {PlotMsg_WrongPlotFileFormat, "Wrong *.kvc file format"},
      {PlotMsg_EmptyPlotFile, "Empty *.kvc file"},
      {tcDControls, "Data Controls"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.message, c.text);
  EXPECT_EQ(PlotDefaultFilterExtension(), "(*.kvc)|*.kvc");
  const std::string native = PlotMsg_NativeFilter;
  EXPECT_EQ(native.substr(native.size() - 13), "(*.kvc)|*.kvc");
  EXPECT_FALSE(PlotLanguageHotKeyAtEnd);
  EXPECT_TRUE(PlotLanguageCanUpper);
  EXPECT_EQ(PlotLanguage, nullptr);
}

TEST(MessageTable, FormatsFromTheTable) {
  EXPECT_EQ(FormatFloat(PlotMsg_DefValueFormat, 1234.5678), "1,234.568");
  EXPECT_EQ(FormatFloat(PlotMsg_DefPercentFormat, 12.345), "12.35 %");
  EXPECT_EQ(FormatFloat(PlotMsg_DefLogValueFormat, 0.5), "5.0 x10 E-1");
}

TEST(MessageTable, LastEndEmptiesAndStartRefills) {
  PlotConstUnitStart();  // a second user
  PlotConstUnitEnd();
  EXPECT_EQ(PlotMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum");
  PlotConstUnitEnd();  // the load-time user goes too
  EXPECT_EQ(PlotMsg_AxisMinMax, "");
  EXPECT_EQ(PlotMsg_PlotExtension, "");
  PlotConstUnitEnd();  // one end too many changes nothing
  PlotConstUnitStart();
  EXPECT_EQ(PlotMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(PlotMsg_EmptyPlotFile, "Empty *.kvc file");
  // A translation may change the extension; the joined texts follow on the next fill.
  PlotMsg_PlotExtension = "abc";
  PlotSetConstants();
  EXPECT_EQ(PlotMsg_InvalidPlotFile, "Invalid Chart in *.abc file");
  EXPECT_EQ(PlotDefaultFilterExtension(), "(*.abc)|*.abc");
  PlotMsg_PlotExtension = "kvc";
  PlotSetConstants();
}

TEST(ChartException, CarriesTheFilledMessage) {
  try {
    throw ChartException(Format(PlotMsg_FieldNotFound, {"Sales"}));
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message, "Field Sales does not exist");
    EXPECT_STREQ(e.what(), "Field Sales does not exist");
  }
}

}  // namespace
