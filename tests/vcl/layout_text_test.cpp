// The layout text parser: every value kind, nesting, and faults with their line numbers.
#include "platform/vcl/layout_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/vcl/exception.h"

namespace {

using platform::EReadError;
using platform::ParseLayout;
using platform::TLayoutObject;
using platform::TLayoutValue;

const TLayoutValue& ValueOf(const TLayoutObject& o, const std::string& name) {
  for (const auto& p : o.Properties) {
    if (p.Name == name) return p.Value;
  }
  throw std::runtime_error("no property " + name);
}

TEST(LayoutText, ReadsEveryValueKind) {
  const TLayoutObject o = ParseLayout(
      "object MainForm: TMainForm\n"          // 1
      "  Left = 192\n"                        // 2
      "  Negative = -11\n"                    // 3
      "  Hex = $FF\n"                         // 4
      "  Real = 1.5\n"                        // 5
      "  Exp = -2.5E+003\n"                   // 6
      "  Single = 0.25s\n"                    // 7
      "  Caption = 'It''s'#39's ok'#13#10\n"  // 8
      "  Joined = 'abc' +\n"                  // 9
      "    'def'#$41\n"                       // 10
      "  Color = clBlue\n"                    // 11
      "  Font.Style = [fsBold, fsItalic]\n"   // 12
      "  Empty = []\n"                        // 13
      "  Items.Strings = (\n"                 // 14
      "    'COM1'\n"                          // 15
      "    'CO' + 'M2')\n"                    // 16
      "  Widths = (50 50 122)\n"              // 17
      "  Picture.Data = {\n"                  // 18
      "    0754 4269\n"                       // 19
      "    746d6170}\n"                       // 20
      "  Panels = <\n"                        // 21
      "    item\n"                            // 22
      "      Width = 100\n"                   // 23
      "    end\n"                             // 24
      "    item\n"                            // 25
      "      Text = 'b'\n"                    // 26
      "      Alignment = taCenter\n"          // 27
      "    end>\n"                            // 28
      "  Nothing = <>\n"                      // 29
      "  ShortCut = 49235\n"                  // 30
      "  object Child: TButton\n"             // 31
      "    Caption = 'Open'\n"                // 32
      "    object Grand: TLabel\n"            // 33
      "    end\n"                             // 34
      "  end\n"                               // 35
      "  object TTimer\n"                     // 36
      "  end\n"                               // 37
      "end\n");
  EXPECT_EQ(o.Name, "MainForm");
  EXPECT_EQ(o.ClassName, "TMainForm");
  EXPECT_EQ(ValueOf(o, "Left").AsInteger(), 192);
  EXPECT_EQ(ValueOf(o, "Left").Line, 2);
  EXPECT_EQ(ValueOf(o, "Negative").AsInteger(), -11);
  EXPECT_EQ(ValueOf(o, "Hex").AsInteger(), 255);
  EXPECT_DOUBLE_EQ(ValueOf(o, "Real").AsReal(), 1.5);
  EXPECT_DOUBLE_EQ(ValueOf(o, "Exp").AsReal(), -2500.0);
  EXPECT_DOUBLE_EQ(ValueOf(o, "Single").AsReal(), 0.25);
  EXPECT_DOUBLE_EQ(ValueOf(o, "Left").AsReal(), 192.0);
  EXPECT_EQ(ValueOf(o, "Caption").AsString(), "It's's ok\r\n");
  EXPECT_EQ(ValueOf(o, "Joined").AsString(), "abcdefA");
  EXPECT_EQ(ValueOf(o, "Color").AsColor(), platform::clBlue);
  EXPECT_EQ(ValueOf(o, "Color").AsIdent(), "clBlue");
  EXPECT_EQ(ValueOf(o, "Font.Style").AsSet(), (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_EQ(ValueOf(o, "Font.Style").AsSetBits({"fsBold", "fsItalic", "fsUnderline"}), 3u);
  EXPECT_TRUE(ValueOf(o, "Empty").AsSet().empty());
  const auto& items = ValueOf(o, "Items.Strings").AsList();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].AsString(), "COM1");
  EXPECT_EQ(items[1].AsString(), "COM2");
  const auto& widths = ValueOf(o, "Widths").AsList();
  ASSERT_EQ(widths.size(), 3u);
  EXPECT_EQ(widths[2].AsInteger(), 122);
  EXPECT_EQ(ValueOf(o, "Picture.Data").AsBinary(), std::string("\x07TBitmap"));
  const auto& panels = ValueOf(o, "Panels").AsCollection();
  ASSERT_EQ(panels.size(), 2u);
  EXPECT_EQ(panels[0].Line, 22);
  ASSERT_EQ(panels[0].Properties.size(), 1u);
  EXPECT_EQ(panels[0].Properties[0].Name, "Width");
  EXPECT_EQ(panels[0].Properties[0].Value.AsInteger(), 100);
  ASSERT_EQ(panels[1].Properties.size(), 2u);
  EXPECT_EQ(panels[1].Properties[1].Value.AsEnum({"taLeftJustify", "taRightJustify", "taCenter"}),
            2);
  EXPECT_TRUE(ValueOf(o, "Nothing").AsCollection().empty());
  EXPECT_EQ(ValueOf(o, "ShortCut").AsInteger(), 0xC053);
  ASSERT_EQ(o.Children.size(), 2u);
  EXPECT_EQ(o.Children[0].Name, "Child");
  EXPECT_EQ(o.Children[0].ClassName, "TButton");
  EXPECT_EQ(o.Children[0].Line, 31);
  ASSERT_EQ(o.Children[0].Children.size(), 1u);
  EXPECT_EQ(o.Children[0].Children[0].Name, "Grand");
  EXPECT_EQ(o.Children[1].Name, "");
  EXPECT_EQ(o.Children[1].ClassName, "TTimer");
}

TEST(LayoutText, CheckedReadsRefuseOtherKinds) {
  const TLayoutObject o = ParseLayout(
      "object F: TForm\n  A = 5\n  B = 'x'\n  C = Maybe\n  D = 4294967295\n  E = 4294967296\nend");
  EXPECT_THROW(ValueOf(o, "A").AsString(), EReadError);
  EXPECT_THROW(ValueOf(o, "B").AsInteger(), EReadError);
  EXPECT_THROW(ValueOf(o, "C").AsBoolean(), EReadError);
  EXPECT_THROW(ValueOf(o, "C").AsColor(), EReadError);
  EXPECT_THROW(ValueOf(o, "C").AsEnum({"Yes", "No"}), EReadError);
  // 32-bit patterns (colours, shortcuts) are accepted; wider values are not.
  EXPECT_EQ(ValueOf(o, "D").AsInteger(), -1);
  EXPECT_THROW(ValueOf(o, "E").AsInteger(), EReadError);
  try {
    ValueOf(o, "B").AsInteger();
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
  }
}

struct BadText {
  const char* text;
  int line;
  const char* what;
};

class LayoutTextFault : public ::testing::TestWithParam<BadText> {};

TEST_P(LayoutTextFault, NamesTheLine) {
  const BadText& b = GetParam();
  try {
    ParseLayout(b.text);
    FAIL() << "accepted: " << b.text;
  } catch (const EReadError& e) {
    const std::string msg = e.what();
    EXPECT_EQ(msg.rfind("line " + std::to_string(b.line) + ":", 0), 0u) << msg;
    EXPECT_NE(msg.find(b.what), std::string::npos) << msg;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LayoutTextFault,
    ::testing::Values(
        BadText{"object F: TForm\n  Caption = 'abc\nend", 2, "string is not closed"},
        BadText{"object F: TForm\n  Left 5\nend", 2, "expected '='"},
        BadText{"object F: TForm\n  Data = {0A1}\nend", 2, "odd number"},
        BadText{"object F: TForm\n  Data = {0AZZ}\nend", 2, "invalid character"},
        BadText{"object F: TForm\n  Data = {0A\n", 2, "not closed"},
        BadText{"object F: TForm\n  Items = ('a'\n", 2, "list is not closed"},
        BadText{"object F: TForm\n  S = #300\nend", 2, "out of range"},
        BadText{"object F: TForm\n  S = 'a' +\n  5\nend", 3, "expected a string after '+'"},
        BadText{"object F: TForm\n  Set = [a b]\nend", 2, "expected ',' or ']'"},
        BadText{"object F: TForm\n  X = 99999999999999999999\nend", 2, "out of range"},
        BadText{"object F: TForm\n  X = 12ab\nend", 2, "invalid number"},
        BadText{"object F: TForm\n  P = <\n    item\n      W = 1\n", 3, "item has no 'end'"},
        BadText{"object F: TForm\n  P = < W = 1 >\nend", 2, "expected 'item'"},
        BadText{"object F: TForm\n  X = )\nend", 2, "unexpected ')'"},
        BadText{"object F: TForm\n  Left = 1\n", 1, "has no 'end'"},
        BadText{"object F: TForm\nend\nfoo", 3, "text after"},
        BadText{"F: TForm\nend", 1, "expected 'object'"}, BadText{"", 1, "expected 'object'"},
        BadText{"object F: TForm\n  X =", 2, "before the end of the text"},
        BadText{"object F: 5\nend", 1, "expected a class name"}));

TEST(LayoutText, HostileNestingIsRefusedNotOverflowed) {
  std::string deep = "object F: TForm\n  X = ";
  deep += std::string(100000, '(');
  try {
    ParseLayout(deep);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("nested too deeply"), std::string::npos);
  }
  std::string objects;
  for (int i = 0; i < 10000; ++i) objects += "object A: TPanel\n";
  EXPECT_THROW(ParseLayout(objects), EReadError);
}

TEST(LayoutText, RandomBytesNeverCrash) {
  // Mutations of a valid text: every outcome is a tree or EReadError.
  const std::string base =
      "object F: TForm\n  A = 'x'#13\n  B = [a, b]\n  C = (1 'y')\n  D = {0aFF}\n"
      "  E = < item W = 1 end >\n  object G: TLabel\n  end\nend\n";
  unsigned seed = 12345;
  int parsed = 0, refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string s = base;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245 + 12345;
      const size_t pos = (seed >> 8) % s.size();
      seed = seed * 1103515245 + 12345;
      s[pos] = static_cast<char>(seed >> 16);
    }
    try {
      ParseLayout(s);
      ++parsed;
    } catch (const EReadError&) {
      ++refused;
    }
  }
  EXPECT_EQ(parsed + refused, 3000);
  EXPECT_GT(parsed, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
