// The legend on a headless two-series chart: style, paging, rows and columns that fit, text
// columns, symbol size, clicks, and the room it takes off the chart rectangle.
#include "chart/component/legend.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "chart/canvas/geometry.h"
#include "chart/common/plot_const.h"
#include "chart/component/chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

namespace gdi = platform::gdi;
using chart::TChartSeries;
using chart::TCustomChartLegend;
using platform::TRect;

// 400 x 400, two series of 30 points each ("P0".."P29", values 1..30); the test's step runs
// inside the drawing pass with the device context's calls recorded.
class LegendChart : public chart::TChart {
 public:
  LegendChart() : TChart(nullptr, platform::TPanelSurface::Headless) {
    SetView3D(false);
    SetBounds(0, 0, 400, 400);
    for (auto* s : {s1, s2}) {
      AddSeries(s);
      for (int i = 0; i < 30; ++i) s->AddXY(i, i + 1, "P" + std::to_string(i));
    }
    s1->SetTitle("First");
    s2->SetTitle("Second");
  }
  void Paint(const std::function<void(chart::TCanvas3D&)>& step) {
    calls.clear();
    during = step;
    Invalidate();
    ProcessPaint();
  }
  std::vector<gdi::DcCall> Texts() const {
    std::vector<gdi::DcCall> out;
    for (const auto& c : calls)
      if (c.Op == "TextOut") out.push_back(c);
    return out;
  }
  TChartSeries* s1 = new TChartSeries(nullptr);
  TChartSeries* s2 = new TChartSeries(nullptr);
  std::vector<gdi::DcCall> calls;

 protected:
  void InternalDraw(const TRect&) override {
    AutoRepaint = false;
    chart::TCanvas3D& canvas = *GetCanvas3D();
    canvas.GetHandle()->SetRecorder([this](const gdi::DcCall& c) { calls.push_back(c); });
    if (during) during(canvas);
    canvas.GetHandle()->SetRecorder({});
    AutoRepaint = true;
  }

 private:
  std::function<void(chart::TCanvas3D&)> during;
};

// The legend's item height H (no check boxes, no spacing: the font height) and frame width.
int ItemHeight(chart::TCanvas3D& canvas, TCustomChartLegend& legend) {
  canvas.AssignFont(legend.GetFont());
  return canvas.GetFontHeight();
}

struct Case {
  const char* name;
  std::function<void(LegendChart&)> setup;
  // Sets the chart rectangle for the legend (the canvas holds the legend font).
  std::function<void(LegendChart&, chart::TCanvas3D&)> room;
  chart::TLegendStyle style;
  int first, last, rows, columns;
};

// A right legend's rows start at 10 % of the 400-pixel panel (top 40) and fit
// (bottom - 2 x frame - 40) div H: room for n rows is a bottom of 42 + n x H + H - 1.
void RowsOfRoom(LegendChart& c, chart::TCanvas3D& canvas, int n) {
  const int h = ItemHeight(canvas, *c.Legend());
  c.ChartRect = TRect{10, 10, 390, 42 + n * h + h - 1};
  c.ReCalcWidthHeight();
}

TEST_F(EngineTest, LegendLayoutsFollowTheEdgeCaseTable) {
  auto plainRoom = [](LegendChart& c, chart::TCanvas3D&) {
    c.ChartRect = TRect{10, 10, 390, 390};
    c.ReCalcWidthHeight();
  };
  auto pages = [](LegendChart& c) {
    c.Pages().SetMaxPointsPerPage(16);
    c.Pages().SetCurrent(2);
    c.Legend()->SetFirstValue(5);
  };
  // Seven points "P0".."P6" in a top legend whose column step is SymbolPixels + W + 8, with
  // W = 2 x space - 1 + widest label and SymbolPixels = Round(W x 20 %): the chart is as wide
  // as 2 x frame + 8 + 3 steps + (step - 1), room for 3 columns.
  auto threeColumns = [](LegendChart& c, chart::TCanvas3D& canvas) {
    int widest = 0;
    for (int i = 0; i < 7; ++i)
      widest = std::max(widest, canvas.TextWidth("P" + std::to_string(i)));
    const int w = 2 * canvas.TextWidth(" ") - 1 + widest;
    const int step = chart::Round(w * 0.2L) + w + 8;
    const chart::TChartPen* frame = c.Legend()->GetFrame();
    const int fw = frame->GetVisible() ? frame->GetWidth() : 0;
    c.ChartRect = TRect{10, 10, 10 + 2 * fw + 8 + 3 * step + step - 1, 390};
    c.ReCalcWidthHeight();
  };
  auto sevenPoints = [](LegendChart& c) {
    c.s2->SetActive(false);
    while (c.s1->Count() > 7) c.s1->Delete(c.s1->Count() - 1);
    c.Legend()->SetAlignment(chart::laTop);
    c.Legend()->SetTextStyle(chart::ltsPlain);
  };
  const std::vector<Case> cases = {
      {"two active series list the series", [](LegendChart&) {}, plainRoom, chart::lsSeries, 0, 1,
       2, 1},
      {"one active series lists its points", [](LegendChart& c) { c.s2->SetActive(false); },
       [](LegendChart& c, chart::TCanvas3D& canvas) { RowsOfRoom(c, canvas, 40); }, chart::lsValues,
       0, 29, 30, 1},
      {"check boxes force the series",
       [](LegendChart& c) {
         c.s2->SetActive(false);
         c.Legend()->SetCheckBoxes(true);
       },
       plainRoom, chart::lsSeries, 0, 1, 2, 1},
      {"30 points, room for 12 rows",
       [](LegendChart& c) {
         c.Legend()->SetLegendStyle(chart::lsValues);
         c.Legend()->SetFirstValue(3);
       },
       [](LegendChart& c, chart::TCanvas3D& canvas) { RowsOfRoom(c, canvas, 12); }, chart::lsValues,
       3, 14, 12, 1},
      {"values follow the current page",
       [&](LegendChart& c) {
         pages(c);
         c.Legend()->SetLegendStyle(chart::lsValues);
       },
       [](LegendChart& c, chart::TCanvas3D& canvas) { RowsOfRoom(c, canvas, 20); }, chart::lsValues,
       16, 29, 14, 1},
      {"series start at 0 with paging", pages, plainRoom, chart::lsSeries, 0, 1, 2, 1},
      {"7 items in 3 columns take 3 rows", sevenPoints, threeColumns, chart::lsValues, 0, 6, 3, 3},
      {"at most 2 rows show 6 items",
       [&](LegendChart& c) {
         sevenPoints(c);
         c.Legend()->SetMaxNumRows(2);
       },
       threeColumns, chart::lsValues, 0, 5, 2, 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    LegendChart c;
    TCustomChartLegend& legend = *c.Legend();
    legend.SetTextStyle(chart::ltsPlain);
    k.setup(c);
    c.Paint([&](chart::TCanvas3D& canvas) {
      canvas.AssignFont(legend.GetFont());
      k.room(c, canvas);
      legend.DrawLegend();
    });
    EXPECT_EQ(legend.ResolvedStyle, k.style);
    EXPECT_EQ(legend.GetFirstValue(), k.first);
    EXPECT_EQ(legend.LastIndex, k.last);
    EXPECT_EQ(legend.RowCount, k.rows);
    EXPECT_EQ(legend.ColumnCount, k.columns);
    // One text per shown item (every label and title here is non-empty).
    const auto texts = c.Texts();
    ASSERT_EQ(static_cast<int>(texts.size()), k.last - k.first + 1);
    if (k.style == chart::lsValues) {
      EXPECT_EQ(texts.front().Text, "P" + std::to_string(k.first));
    }
  }
}

// Texts cut at the column separator: column 1 starts after column 0's widest text and a space,
// or ends at its own widest text's right edge with ltsRightValue.
TEST_F(EngineTest, LegendTextColumnsAndSquaredSymbol) {
  for (auto style : {chart::ltsPlain, chart::ltsRightValue}) {
    SCOPED_TRACE(style);
    LegendChart c;
    c.s2->SetActive(false);
    c.Legend()->SetTextStyle(style);
    c.Legend()->GetSymbol()->SetSquared(true);
    c.OnGetLegendText = [](chart::TCustomAxisPanel*, chart::TLegendStyle, int index,
                           std::string& text) {
      text = index == 0 ? std::string("A\x06") + "B" : std::string("AAAA\x06") + "BBBBBBB";
    };
    int h = 0, cw0 = 0, cw1 = 0, space = 0;
    c.Paint([&](chart::TCanvas3D& canvas) {
      h = ItemHeight(canvas, *c.Legend());
      cw0 = std::max(canvas.TextWidth("A"), canvas.TextWidth("AAAA"));
      cw1 = std::max(canvas.TextWidth("B"), canvas.TextWidth("BBBBBBB"));
      space = canvas.TextWidth(" ");
      c.ChartRect = TRect{10, 10, 390, 390};
      c.ReCalcWidthHeight();
      c.Legend()->DrawLegend();
    });
    const auto& legend = *c.Legend();
    EXPECT_EQ(legend.SymbolPixels, h - 5);
    const TRect sym = c.Legend()->GetItem(0)->SymbolRect;
    EXPECT_EQ(sym.Right - sym.Left, h - 5);
    // Text left = item start + SymbolPixels + 10 (symbol on the left, no symbol shadow).
    const int textLeft = legend.ShapeBounds.Left + h - 5 + 10;
    const int col1 = textLeft + cw0 + space + (style == chart::ltsRightValue ? cw1 : 0);
    const auto texts = c.Texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0].Text, "A");
    EXPECT_EQ(texts[1].Text, "B");
    EXPECT_EQ(texts[0].Args[0], textLeft);
    EXPECT_EQ(texts[1].Args[0], col1);
    EXPECT_EQ(texts[3].Text, "BBBBBBB");
    EXPECT_EQ(texts[3].Args[0], col1);
  }
}

// The right legend: its box against the chart's right edge, the chart rectangle ending at the
// box less a 3 % margin; clicks select the rows drawn, to their lowest pixel.
TEST_F(EngineTest, LegendTakesItsRoomAndAnswersClicksOnTheRowsDrawn) {
  LegendChart c;
  c.s2->SetActive(false);
  TCustomChartLegend& legend = *c.Legend();
  legend.SetTextStyle(chart::ltsPlain);
  legend.SetVertSpacing(4);
  legend.GetTitle()->SetCaption("Points");
  EXPECT_EQ(enginetest::MessageOf<chart::LegendException>([&] { legend.SetFirstValue(-1); }),
            chart::PlotMsg_LegendFirstValue);
  EXPECT_EQ(legend.GetFirstValue(), 0);
  int h = 0;
  c.Paint([&](chart::TCanvas3D& canvas) {
    h = ItemHeight(canvas, legend) + 4;
    RowsOfRoom(c, canvas, 10);
    legend.DrawLegend();
  });
  const int frame = legend.GetFrame()->GetVisible() ? legend.GetFrame()->GetWidth() : 0;
  const int shadow = legend.GetShadow() ? legend.GetShadow()->GetHorizSize() : 0;
  EXPECT_EQ(legend.ShapeBounds.Right, 390 - shadow - frame - 1);
  EXPECT_EQ(c.ChartRect.Right, legend.ShapeBounds.Left - 3 * 380 / 100);
  const auto texts = c.Texts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[0].Text, "Points");
  const int x = (legend.ShapeBounds.Left + legend.ShapeBounds.Right) / 2;
  // Item r's row is H pixels from the y its text was drawn at.
  for (int r = 0; r < legend.RowCount; ++r) {
    const int top = texts[1 + r].Args[1];
    EXPECT_EQ(legend.Clicked(x, top), r);
    EXPECT_EQ(legend.Clicked(x, top + h - 1), r);
  }
  const int firstTop = texts[1].Args[1];
  const int belowLast = firstTop + legend.RowCount * h;
  ASSERT_LE(belowLast, legend.ShapeBounds.Bottom);
  EXPECT_EQ(legend.Clicked(x, belowLast), -1);
  EXPECT_EQ(legend.Clicked(x, firstTop - 1), -1);
  EXPECT_EQ(legend.Clicked(x, legend.ShapeBounds.Top + 3), -1);  // the title
  // Check boxes list both series: a click toggles one, radio buttons keep one active.
  EXPECT_FALSE(legend.DoMouseDown(1));
  legend.SetCheckBoxes(true);
  legend.CalcLegendStyle();
  EXPECT_TRUE(legend.DoMouseDown(1));
  EXPECT_TRUE(c.s1->GetActive() && c.s2->GetActive());
  legend.SetCheckBoxesStyle(chart::cbsRadio);
  EXPECT_TRUE(c.s1->GetActive() && !c.s2->GetActive());
  EXPECT_TRUE(legend.DoMouseDown(1));
  EXPECT_TRUE(!c.s1->GetActive() && c.s2->GetActive());
}

// Each drawn item ("Item k") and what it covers: its text, then its check box and symbol.
std::vector<std::pair<int, TRect>> DrawnItems(const std::vector<gdi::DcCall>& calls,
                                              chart::TCanvas3D& canvas, int fontHeight) {
  std::vector<std::pair<int, TRect>> out;
  for (const auto& c : calls) {
    const std::vector<int>& a = c.Args;
    if (c.Op == "TextOut" && c.Text.rfind("Item ", 0) == 0) {
      out.push_back({std::stoi(c.Text.substr(5)),
                     TRect{a[0], a[1], a[0] + canvas.TextWidth(c.Text), a[1] + fontHeight}});
    } else if (!out.empty() && (c.Op == "Rectangle" || c.Op == "FillRect" || c.Op == "SetPixel")) {
      const bool pixel = c.Op == "SetPixel";
      TRect& b = out.back().second;
      b = TRect{std::min(b.Left, a[0]), std::min(b.Top, a[1]),
                std::max(b.Right, pixel ? a[0] + 1 : a[2]),
                std::max(b.Bottom, pixel ? a[1] + 1 : a[3])};
    }
  }
  return out;
}

// A click on the centre or an edge pixel of an item as drawn answers that item, in every layout;
// the empty places of a short last row answer none; a check box switches the series beside it.
TEST_F(EngineTest, LegendClicksAnswerTheItemDrawnUnderThePointer) {
  for (int bits = 0; bits < 8; ++bits) {
    const bool horizontal = bits & 4, inverted = bits & 2, checkBoxes = bits & 1;
    SCOPED_TRACE(testing::Message() << "horizontal, inverted, check boxes: " << bits);
    LegendChart c;
    std::vector<TChartSeries*> listed{c.s1, c.s2};
    for (int i = 0; i < 5; ++i) listed.push_back(c.AddSeries(new TChartSeries(nullptr)));
    for (int i = 0; i < 7; ++i) listed[i]->SetTitle("Item " + std::to_string(i) + " of the list");
    TCustomChartLegend& legend = *c.Legend();
    legend.SetAlignment(horizontal ? chart::laTop : chart::laRight);
    legend.SetInverted(inverted);
    legend.SetCheckBoxes(checkBoxes);
    std::vector<std::pair<int, TRect>> items;
    c.Paint([&](chart::TCanvas3D& canvas) {
      c.ChartRect = TRect{10, 10, 390, 390};
      c.ReCalcWidthHeight();
      legend.DrawLegend();
      canvas.AssignFont(legend.GetFont());
      items = DrawnItems(c.calls, canvas, canvas.GetFontHeight());
    });
    ASSERT_EQ(items.size(), 7u);
    const int columns = legend.ColumnCount;
    ASSERT_EQ(horizontal, columns > 1 && 7 % columns != 0) << columns;
    for (int k = 0; k < 7; ++k) {
      const auto& [index, b] = items[k];
      EXPECT_EQ(index, inverted ? 6 - k : k);
      const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
      for (auto [x, y] :
           {std::pair{cx, cy}, {b.Left, cy}, {b.Right - 1, cy}, {cx, b.Top}, {cx, b.Bottom - 1}})
        EXPECT_EQ(legend.Clicked(x, y), index) << "at " << x << ", " << y;
    }
    // The places after the last row's items, one row under the items above them.
    const int lastRow = 6 / columns, rowStep = items[columns].second.Top - items[0].second.Top;
    for (int col = 7 - lastRow * columns; col < columns; ++col) {
      const TRect& above = items[(lastRow - 1) * columns + col].second;
      const int x = (above.Left + above.Right) / 2, y = (above.Top + above.Bottom) / 2 + rowStep;
      ASSERT_TRUE(chart::PointInRect(legend.ShapeBounds, x, y));
      EXPECT_EQ(legend.Clicked(x, y), -1) << "empty place of column " << col;
    }
    if (checkBoxes) {
      const TRect& b = items[2].second;
      ASSERT_TRUE(legend.DoMouseDown(legend.Clicked(b.Left + 1, (b.Top + b.Bottom) / 2)));
      for (int i = 0; i < 7; ++i) EXPECT_EQ(listed[i]->GetActive(), i != items[2].first) << i;
    }
  }
}

}  // namespace
}  // namespace enginetest
