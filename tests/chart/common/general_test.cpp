// The index sort, field lists, names, palette, separators, controls, cursor, options and
// anti-aliasing.
#include "chart/common/general.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "chart/common/anti_alias.h"
#include "chart/common/format_float.h"
#include "chart/common/hand_cursor.h"
#include "chart/common/options.h"
#include "chart/common/palette.h"
#include "platform/vcl/component.h"
#include "platform/vcl/control.h"
#include "tests/support/gdi_test_support.h"

namespace {

using namespace chart;

TEST(PlotSort, MatchesStdSortThroughIndexCallbacks) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 200; ++round) {
    const int n = static_cast<int>(rng() % 300);
    const int range = round % 3 == 0 ? 5 : 100000;  // many equal keys every third round
    std::vector<int> data(static_cast<std::size_t>(n));
    for (int& v : data) v = static_cast<int>(rng() % range) - range / 2;
    std::vector<int> expected = data;
    std::sort(expected.begin(), expected.end());
    int swaps = 0;
    PlotSort(
        0, n - 1,
        [&](int a, int b) {
          return data.at(a) < data.at(b) ? -1 : (data.at(a) > data.at(b) ? 1 : 0);
        },
        [&](int a, int b) {
          std::swap(data.at(a), data.at(b));
          ++swaps;
        });
    ASSERT_EQ(data, expected) << "round " << round << " n " << n;
  }
  // A sub-range only, with a second list kept in step by the swap callback.
  std::vector<int> keys = {9, 8, 7, 3, 1, 2, 0};
  std::vector<char> tags = {'a', 'b', 'c', 'd', 'e', 'f', 'g'};
  PlotSort(
      1, 5, [&](int a, int b) { return keys[a] - keys[b]; },
      [&](int a, int b) {
        std::swap(keys[a], keys[b]);
        std::swap(tags[a], tags[b]);
      });
  EXPECT_EQ(keys, (std::vector<int>{9, 1, 2, 3, 7, 8, 0}));
  EXPECT_EQ(std::string(tags.begin(), tags.end()), "aefdcbg");
}

TEST(PlotSort, InconsistentCompareStaysInRange) {
  std::mt19937 rng(7);
  std::vector<int> data(500);
  for (int i = 0; i < 500; ++i) data[static_cast<std::size_t>(i)] = i;
  // A comparison that answers at random: indexes must still stay within first..last.
  PlotSort(
      10, 489,
      [&](int a, int b) {
        EXPECT_TRUE(a >= 10 && a <= 489 && b >= 10 && b <= 489);
        return static_cast<int>(rng() % 3) - 1;
      },
      [&](int a, int b) { std::swap(data.at(a), data.at(b)); });
  std::vector<int> sorted = data;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < 500; ++i) EXPECT_EQ(sorted[static_cast<std::size_t>(i)], i);
  PlotSort(5, 2, nullptr, nullptr);  // empty range: nothing is called
}

TEST(FieldList, CountAndExtract) {
  EXPECT_EQ(PlotNumFields("a;b;c"), 3);
  EXPECT_EQ(PlotNumFields(""), 0);
  EXPECT_EQ(PlotNumFields(";"), 2);
  EXPECT_EQ(PlotExtractField("a;b;c", 2), "b");
  EXPECT_EQ(PlotExtractField("a;b;c", 5), "c");
  EXPECT_EQ(PlotExtractField("a;b;c", 1), "a");
  EXPECT_EQ(PlotExtractField("a;b;c", 0), "");
  EXPECT_EQ(PlotExtractField("a;b;c", -3), "");
  EXPECT_EQ(PlotExtractField("", 1), "");
  EXPECT_EQ(PlotExtractField("a;;c", 2), "");
  EXPECT_EQ(PlotExtractField("Open, High, Low", 3, ", "), "Low");
  EXPECT_EQ(PlotNumFields("Open, High, Low", ", "), 3);
  EXPECT_EQ(PlotNumFields("abc", ""), 1);
  EXPECT_EQ(PlotExtractField("abc", 2, ""), "abc");
}

TEST(Text, ReplaceCharAndSeparators) {
  EXPECT_EQ(ReplaceChar("a,b,,c", ',', ';'), "a;b;;c");
  EXPECT_EQ(ReplaceChar("a,b,,c", ',', 0), "abc");
  EXPECT_EQ(ReplaceChar("", ',', 'x'), "");
  EXPECT_EQ(FixedToLocalFormat("#,##0.###"), "#,##0.###");
  const TPlotFormatSettings saved = PlotFormatSettings;
  PlotFormatSettings.ThousandSeparator = '.';
  PlotFormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(FixedToLocalFormat("#,##0.### \"a.b\""), "#.##0,### \"a.b\"");
  EXPECT_EQ(LocalToFixedFormat("#.##0,###"), "#,##0.###");
  EXPECT_EQ(FormatFloat("#,##0.###", 1234.5678), "1.234,568");
  PlotFormatSettings = saved;
}

TEST(UniqueName, SmallestFreeNumber) {
  platform::TComponent owner(nullptr);
  EXPECT_EQ(PlotGetUniqueName(&owner, "Series"), "Series1");
  auto* a = new platform::TComponent(&owner);
  a->SetName("Series1");
  auto* b = new platform::TComponent(&owner);
  b->SetName("series2");  // names compare without case
  EXPECT_EQ(PlotGetUniqueName(&owner, "Series"), "Series3");
  auto* c = new platform::TComponent(&owner);
  c->SetName("Series4");
  EXPECT_EQ(PlotGetUniqueName(&owner, "Series"), "Series3");
  EXPECT_EQ(PlotGetUniqueName(nullptr, "Series"), "Series1");
  EXPECT_EQ(PlotGetUniqueName([](const std::string& n) { return n != "Line7"; }, "Line"), "Line7");
}

TEST(Palette, DefaultsAndWrap) {
  SetDefaultColorPalette();
  ASSERT_EQ(ColorPalette.size(), 20u);
  EXPECT_EQ(GetDefaultColor(0), 0x0000FF);
  EXPECT_EQ(GetDefaultColor(3), 0xFF0000);
  EXPECT_EQ(GetDefaultColor(16), 0xC0DCC0);
  EXPECT_EQ(GetDefaultColor(19), 0xA4A0A0);
  EXPECT_EQ(GetDefaultColor(20), GetDefaultColor(0));
  EXPECT_EQ(GetDefaultColor(-1), 0xA4A0A0);
  EXPECT_EQ(GetDefaultColor(-20), 0x0000FF);
  EXPECT_EQ(GetDefaultColor(INT_MIN), GetDefaultColor(12));  // -2^31 = -107374183 * 20 + 12
  SetDefaultColorPalette({0x111111, 0x222222, 0x333333});
  EXPECT_EQ(GetDefaultColor(4), 0x222222);
  EXPECT_EQ(GetDefaultColor(-1), 0x333333);
  SetDefaultColorPalette({0x111111});  // a single colour gives the defaults
  EXPECT_EQ(ColorPalette.size(), 20u);
  ColorPalette.clear();
  EXPECT_EQ(GetDefaultColor(21), 0x008000);  // an empty palette falls back to the defaults
  SetDefaultColorPalette();
}

TEST(UnitState, HandCursorAndRestart) {
  PlotGeneralUnitStart();
  EXPECT_TRUE(platform::HasScreenCursor(crPlotHand));
  EXPECT_EQ(platform::ScreenCursorShape(crPlotHand), platform::TCursorShape::PointingHand);
  PlotGeneralUnitEnd();
  EXPECT_TRUE(platform::HasScreenCursor(crPlotHand));  // the load-time start still holds
  PlotGeneralUnitEnd();
  EXPECT_FALSE(platform::HasScreenCursor(crPlotHand));
  EXPECT_TRUE(ColorPalette.empty());
  EXPECT_EQ(PlotFieldsSeparator, "");
  EXPECT_EQ(GetDefaultColor(-3), 0xF0CAA6);  // sky blue, from the defaults with the palette gone
  EXPECT_EQ(PlotNumFields("a;b"), 1);        // no separator: one field
  PlotGeneralUnitStart();
  EXPECT_TRUE(platform::HasScreenCursor(crPlotHand));
  EXPECT_EQ(ColorPalette.size(), 20u);
  EXPECT_EQ(PlotFieldsSeparator, ";");
}

TEST(Controls, EnableAndTranslateHook) {
  ASSERT_TRUE(gditest::SetUpText());
  platform::TComponent owner(nullptr);
  auto* a = new platform::TControl(&owner);
  auto* b = new platform::TControl(&owner);
  EnableControls(false, {a, nullptr, b});
  EXPECT_FALSE(a->GetEnabled());
  EXPECT_FALSE(b->GetEnabled());
  EnableControls(true, std::vector<platform::TControl*>{b});
  EXPECT_FALSE(a->GetEnabled());
  EXPECT_TRUE(b->GetEnabled());

  PlotTranslateControl(a);  // no hook: nothing happens
  std::vector<platform::TControl*> seen;
  PlotTranslateHook = [&](platform::TControl* c, const std::vector<platform::TControl*>& skip) {
    seen.push_back(c);
    seen.insert(seen.end(), skip.begin(), skip.end());
  };
  PlotTranslateControl(a, {b});
  PlotTranslateHook = nullptr;
  EXPECT_EQ(seen, (std::vector<platform::TControl*>{a, b}));
}

TEST(Options, RoundTripInATemporarySettingsFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
  EXPECT_EQ(PlotReadIntegerOption("Width", 414), 414);
  EXPECT_TRUE(PlotReadBoolOption("Tree", true));
  EXPECT_TRUE(PlotSaveIntegerOption("Width", -1234567));
  EXPECT_TRUE(PlotSaveBoolOption("Tree", false));
  EXPECT_EQ(PlotReadIntegerOption("Width", 414), -1234567);
  EXPECT_FALSE(PlotReadBoolOption("Tree", true));
  EXPECT_EQ(PlotReadIntegerOption("Tree", 5), 5);  // "false" is no integer

  // The file is where the test put it, in plain text.
  std::ifstream in((dir.path() + "/Korvane/Chart.ini").toStdString());
  ASSERT_TRUE(in.good());
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("Width=-1234567"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("[Editor]"), std::string::npos);

  // A value edited by hand into something else reads as the default.
  {
    std::ofstream out((dir.path() + "/Korvane/Chart.ini").toStdString());
    out << "[Editor]\nWidth=12abc\nTree=maybe\nHeight=99999999999\n";
  }
  EXPECT_EQ(PlotReadIntegerOption("Width", 7), 7);
  EXPECT_TRUE(PlotReadBoolOption("Tree", true));
  EXPECT_EQ(PlotReadIntegerOption("Height", 8), 8);
}

TEST(AntiAlias, TwoByTwoBoxFilter) {
  ASSERT_TRUE(gditest::SetUpText());
  platform::TRect seen{};
  auto small = PlotAntiAliasDraw(3, 2, [&](platform::TCanvas* canvas, const platform::TRect& r) {
    seen = r;
    // Block (0,0): one white pixel in black; block (1,0): two of blue 0xFF and two of 0x01;
    // block (2,0): red 10, 11, 12, 14 (sum 47); row 1: all grey 0x80.
    canvas->Brush->SetColor(0x000000);
    canvas->FillRect(r);
    canvas->SetPixel(1, 1, 0xFFFFFF);
    canvas->SetPixel(2, 0, 0xFF0000);
    canvas->SetPixel(3, 0, 0xFF0000);
    canvas->SetPixel(2, 1, 0x010000);
    canvas->SetPixel(3, 1, 0x010000);
    canvas->SetPixel(4, 0, 10);
    canvas->SetPixel(5, 0, 11);
    canvas->SetPixel(4, 1, 12);
    canvas->SetPixel(5, 1, 14);
    canvas->Brush->SetColor(0x808080);
    canvas->FillRect(platform::TRect{0, 2, 6, 4});
  });
  EXPECT_EQ(seen.Right, 6);
  EXPECT_EQ(seen.Bottom, 4);
  ASSERT_EQ(small->GetWidth(), 3);
  ASSERT_EQ(small->GetHeight(), 2);
  ASSERT_EQ(small->GetPixelFormat(), platform::pf24bit);
  const std::uint8_t* row0 = small->ScanLine(0);
  const std::uint8_t* row1 = small->ScanLine(1);
  const std::vector<int> expect0 = {63, 63, 63, 128, 0, 0, 0, 0, 11};  // blue, green, red
  for (int i = 0; i < 9; ++i) EXPECT_EQ(row0[i], expect0[static_cast<std::size_t>(i)]) << i;
  for (int i = 0; i < 9; ++i) EXPECT_EQ(row1[i], 0x80) << i;

  // No size, or a draw that does nothing, stays harmless.
  EXPECT_EQ(PlotAntiAliasDraw(0, 5, nullptr)->GetWidth(), 0);
  EXPECT_EQ(PlotAntiAliasDraw(-4, -4, nullptr)->GetHeight(), 0);
  platform::TBitmap odd;
  odd.SetSize(5, 3);
  auto halved = PlotHalveBitmap(odd);
  EXPECT_EQ(halved->GetWidth(), 2);
  EXPECT_EQ(halved->GetHeight(), 1);
  platform::TBitmap tiny;
  tiny.SetSize(1, 7);
  EXPECT_EQ(PlotHalveBitmap(tiny)->GetWidth(), 0);
}

// What the anti-aliasing asks of a panel, with its settings watched during the drawing.
struct FakePanel {
  bool autoRepaint = true;
  bool buffered = true;
  TView3DOptions options{[] {}};
  int zoomWhileDrawing = 0;
  bool autoRepaintWhileDrawing = true;
  bool bufferedWhileDrawing = true;
  bool fail = false;
  bool GetAutoRepaint() const { return autoRepaint; }
  void SetAutoRepaint(bool v) { autoRepaint = v; }
  bool GetBufferedDisplay() const { return buffered; }
  void SetBufferedDisplay(bool v) { buffered = v; }
  TView3DOptions* GetView3DOptions() { return &options; }
  int GetWidth() const { return 4; }
  int GetHeight() const { return 2; }
  void Draw(platform::TCanvas* canvas, const platform::TRect& r) {
    zoomWhileDrawing = options.GetFontZoom();
    autoRepaintWhileDrawing = autoRepaint;
    bufferedWhileDrawing = buffered;
    if (fail) throw std::runtime_error("draw failed");
    canvas->Brush->SetColor(0x00FF00);
    canvas->FillRect(r);
  }
};

TEST(AntiAlias, PanelSettingsHeldAndRestored) {
  ASSERT_TRUE(gditest::SetUpText());
  FakePanel panel;
  panel.options.SetFontZoom(80);
  auto bmp = PlotAntiAlias(panel);
  EXPECT_EQ(panel.zoomWhileDrawing, 160);
  EXPECT_FALSE(panel.autoRepaintWhileDrawing);
  EXPECT_FALSE(panel.bufferedWhileDrawing);
  EXPECT_EQ(panel.options.GetFontZoom(), 80);
  EXPECT_TRUE(panel.autoRepaint);
  EXPECT_TRUE(panel.buffered);
  ASSERT_EQ(bmp->GetWidth(), 4);
  EXPECT_EQ(bmp->ScanLine(1)[3 * 3 + 1], 0xFF);  // green
  panel.fail = true;
  panel.buffered = false;
  EXPECT_THROW(PlotAntiAlias(panel), std::runtime_error);
  EXPECT_EQ(panel.options.GetFontZoom(), 80);
  EXPECT_TRUE(panel.autoRepaint);
  EXPECT_FALSE(panel.buffered);
}

}  // namespace
