// Reading the HTML renderer's mark-up: colours, attributes, numbers and entities.
#include "chart/common/html_markup.h"

#include <gtest/gtest.h>

#include "chart/common/html_text.h"
#include "platform/vcl/graphics.h"

namespace html = chart::html;

TEST(HtmlMarkup, Colours) {
  const struct {
    const char* Text;
    platform::TColor Color;
  } good[] = {{"BLACK", 0x000000},          {" red ", 0x0000FF},
              {"Blue", 0xFF0000},           {"yellow", 0x00FFFF},
              {"WHITE", 0xFFFFFF},          {"green", 0x008000},
              {"LIME", 0x00FF00},           {"#FF8000", 0x0080FF},
              {"#0a0B0c", 0x0C0B0A},        {"\"#102030\"", 0x302010},
              {"clNavy", platform::clNavy}, {"maroon", platform::clMaroon},
              {"65280", 0x00FF00},          {"-16777211", platform::clWindow}};
  for (const auto& c : good) EXPECT_EQ(html::ReadColor(c.Text), c.Color) << c.Text;
  for (const char* bad :
       {"", "#", "#12345", "#1234567", "#GG0000", "mauve", "12abc", "0x10", "99999999999"})
    EXPECT_THROW(html::ReadColor(bad), chart::HtmlParserException) << bad;
}

TEST(HtmlMarkup, AttributesNumbersAndEntities) {
  const auto a = html::ReadAttributes(" name = Arial Black  size=+2 Color=#FF0000 weight=bold");
  ASSERT_EQ(a.size(), 4u);
  EXPECT_EQ(a[0].Name, "NAME");
  EXPECT_EQ(a[0].Value, "Arial Black");
  EXPECT_EQ(a[1].Name, "SIZE");
  EXPECT_EQ(a[1].Value, "+2");
  EXPECT_EQ(a[2].Name, "COLOR");
  EXPECT_EQ(a[2].Value, "#FF0000");
  EXPECT_EQ(a[3].Value, "bold");
  EXPECT_TRUE(html::ReadAttributes("no attributes").empty());

  long long n = 0;
  const struct {
    const char* Text;
    bool Ok;
    long long Value;
  } numbers[] = {{"12", true, 12}, {"+2", true, 2},   {"-1", true, -1},  {"", false, 0},
                 {"+", false, 0},  {"+-3", false, 0}, {"1.5", false, 0}, {"1e3", false, 0},
                 {" 4", false, 0}, {"0x10", false, 0}};
  for (const auto& c : numbers) {
    EXPECT_EQ(html::ReadInt(c.Text, n), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_EQ(n, c.Value) << c.Text;
    }
  }

  EXPECT_EQ(html::DecodeEntities("&lt;&gt;&amp;&quot;"), "<>&\"");
  EXPECT_EQ(html::DecodeEntities("&amp;lt; &amp;quot; &lt &nbsp;&"), "&lt; &quot; &lt &nbsp;&");

  platform::TFont f;
  f.SetSize(8);
  html::ApplyFontTag("<FONT SIZE=5000 NAME=\"Liberation Mono\">", f);
  EXPECT_EQ(f.GetSize(), html::kMaxFontSize);
  EXPECT_EQ(f.GetName(), "Liberation Mono");
  html::ApplyFontTag("<FONT SIZE=-3000>", f);
  EXPECT_EQ(f.GetSize(), -html::kMaxFontSize);
  EXPECT_THROW(html::ApplyFontTag("<FONT FACE=Arial>", f), chart::HtmlParserException);
}
