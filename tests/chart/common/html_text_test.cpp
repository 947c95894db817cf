// The HTML text renderer on a real canvas: what is drawn where, in which font and colour, how
// much room it takes, and that mark-up it cannot read is drawn as the text it is.
#include "chart/common/html_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "html_test_support.h"
#include "platform/vcl/picture.h"

using htmltest::HtmlScene;
using platform::TColor;
using platform::TFontStyles;

namespace {

// One expected piece of text and the font it should be drawn in.
struct Want {
  Want(std::string text, int size = 8, TFontStyles style = {}, TColor color = platform::clBlack,
       std::string face = "Liberation Sans")
      : Text(std::move(text)), Size(size), Style(style), Color(color), Face(std::move(face)) {}
  std::string Text;
  int Size;
  TFontStyles Style;
  TColor Color;
  std::string Face;
};

const TFontStyles B{platform::fsBold};
const TFontStyles I{platform::fsItalic};
const TFontStyles BI{platform::fsBold, platform::fsItalic};

void Use(platform::TFont& f, const Want& w) {
  f.SetName(w.Face);
  f.SetSize(w.Size);
  f.SetStyle(w.Style);
  f.SetColor(w.Color);
}

// Checks a one-line text drawn at (x, y): the pieces stand side by side on a common bottom.
void ExpectLine(HtmlScene& s, const std::string& html, const std::vector<Want>& want) {
  SCOPED_TRACE(html);
  std::vector<int> w, h;
  int tallest = 0;
  for (const Want& p : want) {
    w.push_back(s.WidthIn(p.Text, [&](platform::TFont& f) { Use(f, p); }));
    h.push_back(s.HeightIn(p.Text, [&](platform::TFont& f) { Use(f, p); }));
    tallest = std::max(tallest, h.back());
  }
  s.Clear();
  chart::HtmlTextOut(s.canvas, 10, 20, html);
  const auto drawn = s.Texts();
  ASSERT_EQ(drawn.size(), want.size());
  int x = 10;
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].Text);
    platform::TFont f;
    Use(f, want[i]);
    const auto lf = f.ToLogFont();
    EXPECT_EQ(drawn[i].Text, want[i].Text);
    EXPECT_EQ(drawn[i].X, x);
    EXPECT_EQ(drawn[i].Y, 20 + tallest - h[i]);
    EXPECT_EQ(drawn[i].Font.Height, lf.Height);
    EXPECT_EQ(drawn[i].Font.Weight, lf.Weight);
    EXPECT_EQ(drawn[i].Font.Italic, lf.Italic);
    EXPECT_EQ(drawn[i].Font.Underline, lf.Underline);
    EXPECT_EQ(drawn[i].Font.StrikeOut, lf.StrikeOut);
    EXPECT_EQ(drawn[i].Font.FaceName, want[i].Face);
    EXPECT_EQ(drawn[i].Color, want[i].Color);
    x += w[i];
  }
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, html), (chart::THtmlSize{x - 10, tallest}));
  // The caller's font comes back unchanged.
  EXPECT_EQ(s.canvas.Font->GetSize(), 8);
  EXPECT_TRUE(s.canvas.Font->GetStyle() == TFontStyles{});
  EXPECT_EQ(s.canvas.Font->GetColor(), platform::clBlack);
}

}  // namespace

TEST(HtmlText, StylesSizesAndColours) {
  HtmlScene s;
  const TFontStyles none;
  const TFontStyles U{platform::fsUnderline};
  const TFontStyles S{platform::fsStrikeOut};
  const struct {
    std::string Html;
    std::vector<Want> Pieces;
  } cases[] = {
      {"Hello", {{"Hello"}}},
      {"<B>bold</B> plain", {{"bold", 8, B}, {" plain"}}},
      {"<i>it</i><U>u</U><strike>s</strike>", {{"it", 8, I}, {"u", 8, U}, {"s", 8, S}}},
      // Text that goes on in the same font is one run.
      {"<STRONG>s</STRONG><BOLD>t</BOLD>n", {{"st", 8, B}, {"n"}}},
      {"<B><I>bi</I>b</B>n", {{"bi", 8, BI}, {"b", 8, B}, {"n"}}},
      {"<B>x</>y", {{"x", 8, B}, {"y"}}},
      {"<B><I>a</>b</>c", {{"a", 8, BI}, {"b", 8, B}, {"c"}}},
      // Combined styles come back whole after a size change is closed.
      {"<B><I><BIG>x</BIG>y", {{"x", 10, BI}, {"y", 8, BI}}},
      {"<BIG></>x", {{"x"}}},
      // The token before "</>" pushed no font: the last style closes, the heading stays.
      {"<B><H1>x</>y", {{"x", 48, B}, {"y", 48, none}}},
      {"</>x", {{"x"}}},
      {"</B></FONT></SUB></SUPER></PRE>x", {{"x"}}},
      {"<BIG>a</BIG>b", {{"a", 10}, {"b"}}},
      {"<SMALL>a</SMALL>b", {{"a", 6}, {"b"}}},
      {"<H1>a</H1><H3>b</H3><h6>c</h6>d", {{"a", 48}, {"b", 24}, {"cd", 8}}},
      {"<FONT SIZE=+2>a</FONT><FONT SIZE=-1>b</FONT><FONT size=10>c</FONT>d",
       {{"a", 10}, {"b", 7}, {"c", 10}, {"d"}}},
      {"<FONT COLOR=RED>r</FONT><FONT COLOR=#102030>h</FONT><FONT COLOR=navy>n</FONT>k",
       {{"r", 8, none, 0x0000FF},
        {"h", 8, none, 0x302010},
        {"n", 8, none, platform::clNavy},
        {"k"}}},
      {"<FONT COLOR=clTeal>t</FONT><FONT COLOR=255>d</FONT><FONT color=\"lime\">l</FONT>",
       {{"t", 8, none, platform::clTeal}, {"d", 8, none, 0xFF}, {"l", 8, none, 0x00FF00}}},
      {"<FONT NAME=\"Liberation Serif\" SIZE=12 COLOR=BLUE WEIGHT=BOLD>a</FONT>b",
       {{"a", 12, B, 0xFF0000, "Liberation Serif"}, {"b"}}},
      {"<FONT FAMILY=Liberation Serif WEIGHT=normal>a</FONT>",
       {{"a", 8, none, platform::clBlack, "Liberation Serif"}}},
      // Sizes stay within 1000 points.
      {"<FONT SIZE=5000 COLOR=maroon>a</FONT>b", {{"a", 1000, none, platform::clMaroon}, {"b"}}},
      {"<PRE>code</PRE>x", {{"code", 8, none, platform::clBlack, "Courier New"}, {"x"}}},
      // A tag of another kind is text, measured with the text after it.
      {"<TD>x", {{"<TD>x"}}},
      {"a &lt;b&gt; &amp;&quot; &amp;lt; &copy;", {{"a <b> &\" &lt; &copy;"}}},
  };
  for (const auto& c : cases) ExpectLine(s, c.Html, c.Pieces);
}

TEST(HtmlText, LineBreaksAdvanceOneLineEachAndTheExtentSumsTheLines) {
  HtmlScene s;
  const int fh = s.canvas.GetFontHeight();
  const int wa = s.canvas.TextWidth("a");
  const int wbb = s.canvas.TextWidth("bbb");
  const struct {
    std::string Html;
    std::vector<int> Ys;  // of each text drawn, from 0
    int Lines;
  } cases[] = {
      {"a<BR>bbb", {0, 1}, 2},     {"a\r\nbbb", {0, 1}, 2},     {"a<p>bbb", {0, 1}, 2},
      {"a<BR><BR>bbb", {0, 2}, 3}, {"a\r\n\r\nbbb", {0, 2}, 3}, {"<BR>a", {1}, 2},
      {"a<BR>", {0}, 1},           {"a\r\n<B>bbb", {0, 1}, 2},  {"a", {0}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Html);
    s.Clear();
    chart::HtmlTextOut(s.canvas, 10, 20, c.Html);
    const auto drawn = s.Texts();
    ASSERT_EQ(drawn.size(), c.Ys.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(drawn[i].X, 10);
      EXPECT_EQ(drawn[i].Y, 20 + c.Ys[i] * fh);
    }
    const bool hasB = c.Html.find("bbb") != std::string::npos;
    const int width = hasB ? std::max(wa, s.WidthIn("bbb", c.Html.find("<B>") != std::string::npos
                                                               ? htmltest::Bold
                                                               : htmltest::Plain))
                           : wa;
    EXPECT_EQ(chart::HtmlTextExtent(s.canvas, c.Html), (chart::THtmlSize{width, c.Lines * fh}));
  }
  EXPECT_GT(wbb, wa);

  // Lines of different heights: the extent is their sum, and the second line starts below the
  // first one's tallest text.
  const auto h1 = [](platform::TFont& f) { f.SetSize(48); };
  const int big = s.HeightIn("Big", h1);
  s.Clear();
  chart::HtmlTextOut(s.canvas, 0, 0, "<H1>Big</H1><BR>small<BR>end");
  const auto drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[1].Y, big);
  EXPECT_EQ(drawn[2].Y, big + fh);
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, "<H1>Big</H1><BR>small<BR>end"),
            (chart::THtmlSize{s.WidthIn("Big", h1), big + 2 * fh}));
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, ""), (chart::THtmlSize{0, 0}));
}

TEST(HtmlText, BadMarkupIsDrawnAsPlainText) {
  HtmlScene s;
  const std::string cases[] = {
      "a < b",
      "<FONT FACE=Arial>x</FONT>",
      "<FONT WEIGHT=HEAVY>x</FONT>",
      "<B><I><FONT WEIGHT=BOLD, ITALIC>x",
      "<FONT COLOR=#12>x",
      "<FONT COLOR=#GG0000>x",
      "<FONT COLOR=mauve>x",
      "<FONT SIZE=big>x",
      "<FONT SIZE=1e3>x",
      "<FONT SIZE=99999999999999999999>x",
      "<B>bold then <",
      "<CENTER><H1>a<BR>b</H1><FONT =1>c",
  };
  const int fh = s.canvas.GetFontHeight();
  for (const std::string& raw : cases) {
    SCOPED_TRACE(raw);
    s.Clear();
    chart::HtmlTextOut(s.canvas, 7, 9, raw);
    const auto drawn = s.Texts();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Text, raw);
    EXPECT_EQ(drawn[0].X, 7);
    EXPECT_EQ(drawn[0].Y, 9);
    EXPECT_EQ(drawn[0].Font.Weight, 400);
    EXPECT_EQ(drawn[0].Font.Height, -11);
    EXPECT_EQ(chart::HtmlTextExtent(s.canvas, raw),
              (chart::THtmlSize{s.canvas.TextWidth(raw), std::max(fh, s.canvas.TextHeight(raw))}));
    EXPECT_TRUE(s.canvas.Font->GetStyle() == TFontStyles{});
    EXPECT_EQ(s.canvas.Font->GetSize(), 8);
  }
}

TEST(HtmlText, NothingBleedsFromOneTextIntoTheNext) {
  HtmlScene s;
  chart::HtmlTextOut(s.canvas, 0, 0, "<B><I><FONT COLOR=RED SIZE=20><SUB>x");
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, "<B><BIG><BIG>y").Width,
            s.WidthIn("y", [](platform::TFont& f) {
              f.SetStyle(B);
              f.SetSize(12);
            }));
  s.Clear();
  // The "</>" finds no style opened by this text.
  chart::HtmlTextOut(s.canvas, 5, 6, "</>y");
  const auto drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].Text, "y");
  EXPECT_EQ(drawn[0].Y, 6);
  EXPECT_EQ(drawn[0].Font.Weight, 400);
  EXPECT_FALSE(drawn[0].Font.Italic);
  EXPECT_EQ(drawn[0].Font.Height, -11);
  EXPECT_EQ(drawn[0].Color, platform::clBlack);
}

TEST(HtmlText, SizesComeBackExactlyAfterAPop) {
  HtmlScene s;
  // A positive height (cell height) is a negative size; it must not be re-read as "minus".
  s.canvas.Font->SetHeight(20);
  chart::HtmlTextOut(s.canvas, 0, 0, "<FONT SIZE=+2>a</FONT>b<SMALL>c</SMALL>d<SUB>e</SUB>f");
  auto drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 6u);
  for (size_t i : {1u, 3u, 5u}) EXPECT_EQ(drawn[i].Font.Height, 20) << drawn[i].Text;
  EXPECT_NE(drawn[0].Font.Height, 20);
  EXPECT_EQ(s.canvas.Font->GetHeight(), 20);

  // SMALL past zero and back.
  s.canvas.Font->SetSize(2);
  s.Clear();
  chart::HtmlTextOut(s.canvas, 0, 0, "<SMALL><SMALL>a<BIG>b</BIG>c");
  drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].Font.Height, drawn[2].Font.Height);
  EXPECT_GT(drawn[0].Font.Height, 0);
}

TEST(HtmlText, SubscriptSuperscriptCentringRuleAndTheCanvasHook) {
  HtmlScene s;
  const int fh = s.canvas.GetFontHeight();
  const auto small = [](platform::TFont& f) { f.SetSize(4); };
  const int fhSmall = s.HeightIn("W", small);
  const int h2 = s.HeightIn("2", small);
  const int hH = s.canvas.TextHeight("H");
  chart::HtmlTextOut(s.canvas, 10, 20, "H<SUB>2</SUB>O<SUPER>3</SUPER>");
  auto drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[0].Y, 20);
  EXPECT_EQ(drawn[1].Y, 20 + hH - h2 + fhSmall / 2);  // stands half its height below the line
  EXPECT_EQ(drawn[2].Y, 20);
  EXPECT_EQ(drawn[3].Y, 20);  // its top with the line's top
  EXPECT_EQ(drawn[1].Font.Height, -5);
  EXPECT_EQ(drawn[2].Font.Height, -11);
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, "H<SUB>2</SUB>O").Height, fh + fhSmall / 2);

  // Centred pieces are centred together on the canvas.
  s.Clear();
  chart::HtmlTextOut(s.canvas, 10, 20, "<CENTER>ab<B>cd</B></CENTER>");
  drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 2u);
  const int wab = s.canvas.TextWidth("ab");
  const int wcd = s.WidthIn("cd", htmltest::Bold);
  EXPECT_EQ(drawn[0].X, 150 - (wab + wcd) / 2);
  EXPECT_EQ(drawn[1].X, drawn[0].X + wab);

  // The rule takes a line of its own.
  s.Clear();
  chart::HtmlTextOut(s.canvas, 10, 20, "a<HR>b");
  drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[1].Y, 20 + 2 * fh);
  const auto lines = s.Calls("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Args, (std::vector<int>{110, 20 + fh}));
  EXPECT_EQ(lines[0].Pen.Color, 0x808080);
  EXPECT_EQ(s.Calls("MoveToEx").at(0).Args.at(0), 10);
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, "a<HR>b"), (chart::THtmlSize{100, 3 * fh}));

  // The canvas draws HTML through the renderer with no further set-up.
  EXPECT_EQ(chart::PlotHtmlTextOut, &chart::HtmlTextOut);
  s.Clear();
  s.canvas.TextOut(3, 4, "<B>x</B>y", true);
  drawn = s.Texts();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Font.Weight, 700);
  EXPECT_EQ(drawn[1].Text, "y");
  EXPECT_EQ(drawn[1].Font.Weight, 400);
}

namespace {

// A 24-bit BMP file image, every pixel one colour.
std::string Bmp(int w, int h, TColor c) {
  const int row = (w * 3 + 3) / 4 * 4;
  const int size = 54 + row * h;
  std::string b(size, '\0');
  const auto put = [&](int at, int v, int n) {
    for (int i = 0; i < n; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, w, 4);
  put(22, h, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, row * h, 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int at = 54 + y * row + x * 3;
      b[at] = static_cast<char>((c >> 16) & 0xFF);
      b[at + 1] = static_cast<char>((c >> 8) & 0xFF);
      b[at + 2] = static_cast<char>(c & 0xFF);
    }
  return b;
}

struct Hooks {
  ~Hooks() {
    chart::GraphicFileExtension = nullptr;
    chart::GraphicDownload = nullptr;
  }
};

}  // namespace

TEST(HtmlText, ImagesAndPlaceholders) {
  HtmlScene s;
  Hooks reset;
  const int fh = s.canvas.GetFontHeight();
  // No source: nothing drawn, nothing moved.
  chart::HtmlTextOut(s.canvas, 10, 20, "<IMG WIDTH=20 HEIGHT=10>x");
  ASSERT_EQ(s.Texts().size(), 1u);
  EXPECT_EQ(s.Texts()[0].X, 10);
  EXPECT_TRUE(s.Calls("Rectangle").empty());

  // No hooks, a failed download, a hook that throws: a placeholder of the image's size, drawn
  // where the image would be; x and y stay.
  const std::vector<std::function<void()>> setUps = {
      [] {},
      [] {
        chart::GraphicFileExtension = [](const std::string&) {
          return std::make_unique<platform::TBitmap>();
        };
        chart::GraphicDownload = [](const std::string&, std::string&) { return 1; };
      },
      [] { chart::GraphicDownload = [](const std::string&, std::string&) -> int { throw 5; }; },
      [] {
        chart::GraphicDownload = [](const std::string&, std::string& bytes) {
          bytes = "not an image";
          return 0;
        };
      },
  };
  for (size_t i = 0; i < setUps.size(); ++i) {
    SCOPED_TRACE(i);
    setUps[i]();
    s.Clear();
    chart::HtmlTextOut(s.canvas, 10, 20, "<IMG SRC=\"pic.bmp\" WIDTH=20 HEIGHT=30>x");
    const auto rects = s.Calls("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Args, (std::vector<int>{10, 20, 30, 50}));
    EXPECT_EQ(rects[0].Pen.Color, platform::clRed);
    EXPECT_EQ(rects[0].Brush.Color, platform::clWhite);
    EXPECT_EQ(s.Calls("LineTo").size(), 2u);
    const auto drawn = s.Texts();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].X, 10);
    EXPECT_EQ(drawn[0].Y, 20);
    EXPECT_EQ(chart::HtmlTextExtent(s.canvas, "<IMG SRC=a.bmp>x"),
              (chart::THtmlSize{s.canvas.TextWidth("x"), fh}));
  }
  EXPECT_EQ(chart::HtmlTextExtent(s.canvas, "<IMG SRC=a.bmp>"), (chart::THtmlSize{0, 0}));

  // A loaded image is drawn at its own size, or stretched to the size asked for, and moves
  // what follows right by its width and down by its height.
  std::string asked;
  chart::GraphicFileExtension = [&](const std::string& ext) {
    asked = ext;
    return std::make_unique<platform::TBitmap>();
  };
  chart::GraphicDownload = [](const std::string&, std::string& bytes) {
    bytes = Bmp(4, 3, platform::clBlue);
    return 0;
  };
  s.Clear();
  chart::HtmlTextOut(s.canvas, 100, 100, "<IMG SRC=\"dir.x/pic.bmp\">x<IMG SRC=p.bmp WIDTH=8>");
  EXPECT_EQ(asked, "BMP");
  EXPECT_EQ(s.Pixel(100, 100), platform::clBlue);
  EXPECT_EQ(s.Pixel(103, 102), platform::clBlue);
  EXPECT_EQ(s.Pixel(100, 99), platform::clWhite);
  EXPECT_EQ(s.Pixel(99, 100), platform::clWhite);
  const int wx = s.canvas.TextWidth("x");
  EXPECT_EQ(s.Pixel(104 + wx + 7, 103), platform::clBlue);
  EXPECT_EQ(s.Pixel(104 + wx + 8, 103), platform::clWhite);
  EXPECT_EQ(s.Pixel(104 + wx, 102), platform::clWhite);
  ASSERT_EQ(s.Texts().size(), 1u);
  EXPECT_EQ(s.Texts()[0].X, 104);
  EXPECT_EQ(s.Texts()[0].Y, 103);
  const struct {
    std::string html;
    chart::THtmlSize extent;
  } extents[] = {{"<IMG SRC=a.bmp>", {4, 3}},
                 {"<IMG SRC=\"dir.x/pic.bmp\">x<IMG SRC=p.bmp WIDTH=8>", {4 + wx + 8, fh + 6}},
                 {"<IMG SRC=a.bmp><BR>x", {std::max(4, wx), 3 + 2 * fh}}};
  for (const auto& e : extents)
    EXPECT_EQ(chart::HtmlTextExtent(s.canvas, e.html), e.extent) << e.html;
}

TEST(HtmlText, RandomMarkupNeverBreaksTheCanvas) {
  HtmlScene s;
  const std::vector<std::string> parts = {"<",
                                          ">",
                                          "</>",
                                          "<B>",
                                          "</B>",
                                          "<I>",
                                          "</I>",
                                          "<BIG>",
                                          "</BIG>",
                                          "<SMALL>",
                                          "<SUB>",
                                          "</SUB>",
                                          "<SUPER>",
                                          "</SUPER>",
                                          "<H1>",
                                          "<H4>",
                                          "</H1>",
                                          "<PRE>",
                                          "</PRE>",
                                          "<CENTER>",
                                          "</CENTER>",
                                          "<FONT SIZE=+300>",
                                          "<FONT SIZE=-40 COLOR=#FF0000>",
                                          "</FONT>",
                                          "<FONT WEIGHT=BOLD>",
                                          "<FONT ",
                                          "<FONT =>",
                                          "<FONT SIZE=>",
                                          "<HR>",
                                          "<BR>",
                                          "<P>",
                                          "\r\n",
                                          "\r",
                                          "<IMG SRC=a.png WIDTH=99999999999>",
                                          "<IMG >",
                                          "<IMG SRC=\">",
                                          "&amp;",
                                          "&lt",
                                          "&",
                                          "text",
                                          " ",
                                          "=",
                                          "\"",
                                          "<U>",
                                          "<STRIKE>",
                                          "<TD>"};
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<size_t> pick(0, parts.size() - 1);
  std::uniform_int_distribution<int> len(0, 24);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 1500; ++i) {
    std::string text;
    for (int n = len(rng); n > 0; --n) {
      text += parts[pick(rng)];
      if (n % 7 == 0) text += static_cast<char>(byte(rng));
    }
    SCOPED_TRACE(text);
    const chart::THtmlSize size = chart::HtmlTextExtent(s.canvas, text);
    EXPECT_GE(size.Width, 0);
    EXPECT_GE(size.Height, 0);
    s.Clear();
    chart::HtmlTextOut(s.canvas, 5, 5, text);
    EXPECT_EQ(s.canvas.Font->GetHeight(), -11);
    EXPECT_EQ(s.canvas.Font->GetName(), "Liberation Sans");
    ASSERT_TRUE(s.canvas.Font->GetStyle() == TFontStyles{});
  }
}
