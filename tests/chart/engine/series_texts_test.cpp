// Mark texts and legend texts in every style.
#include <string>

#include "chart/common/date_time.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;

// A chart whose legend text of a point has two columns.
class LegendChart : public chart::TCustomAxisPanel {
 public:
  using TCustomAxisPanel::TCustomAxisPanel;
  std::string FormattedValueLegend(TChartSeries* s, int i) override {
    return s->GetXLabel(i) + chart::PlotColumnSeparator + "#" + std::to_string(i);
  }
};

TEST_F(EngineTest, SeriesMarkAndLegendTexts) {
  const std::string c(1, chart::PlotColumnSeparator);
  // Points (X, value, label): (1, 10, "a"), (2, 30, ""), (3, -20, "c"); kZero: all values 0.
  enum Kind { kMark, kMultiLine, kNoChart, kZero, kOwnText, kHandler, kLegend, kDateTime };
  struct Case {
    Kind kind;
    int style, index;  // a TSeriesMarksStyle, or a TLegendTextStyle for the legend kinds
    std::string text;
  } const cases[] = {
      {kMark, chart::smsValue, 0, "10"},
      {kMark, chart::smsPercent, 0, "16.67 %"},
      {kMark, chart::smsLabel, 1, "30"},
      {kMark, chart::smsLabelPercent, 2, "c 33.33 %"},
      {kMark, chart::smsLabelValue, 0, "a 10"},
      {kMark, chart::smsLegend, 0, "a #0"},
      {kMark, chart::smsPercentTotal, 0, "16.67 % of 60"},
      {kMark, chart::smsLabelPercentTotal, 2, "c 33.33 % of 60"},
      {kMark, chart::smsXValue, 1, "<2>"},
      {kMark, chart::smsXY, 2, "<3> -20"},
      {kMultiLine, chart::smsLabelValue, 0, "a\r10"},
      {kMultiLine, chart::smsPercentTotal, 0, "16.67 %\rof 60"},
      {kMultiLine, chart::smsLegend, 2, "c" + c + "#2"},
      {kNoChart, chart::smsXY, 2, "3 -20"},
      {kZero, chart::smsPercent, 1, "100 %"},
      {kOwnText, chart::smsValue, 0, "one\r\ntwo"},
      {kOwnText, chart::smsValue, 1, "30"},  // an own text that was made but left empty
      {kHandler, chart::smsValue, 1, ""},
      {kLegend, chart::ltsPlain, 1, ""},
      {kLegend, chart::ltsLeftValue, 0, "10" + c + "a"},
      {kLegend, chart::ltsLeftValue, 1, "30"},
      {kLegend, chart::ltsRightValue, 0, "a" + c + "10"},
      {kLegend, chart::ltsLeftPercent, 2, "-33.33 %" + c + "c"},
      {kLegend, chart::ltsRightPercent, 1, "50 %"},
      {kLegend, chart::ltsXValue, 0, "<1>"},
      {kLegend, chart::ltsValue, 2, "-20"},
      {kLegend, chart::ltsPercent, 0, "16.67 %"},
      {kLegend, chart::ltsXAndValue, 1, "<2>" + c + "30"},
      {kLegend, chart::ltsXAndPercent, 2, "<3>" + c + "-33.33 %"},
      {kDateTime, chart::ltsRightValue, 0, "a" + c + "2023-03-15"},
  };
  const std::string savedDate = chart::PlotShortDateFormat;
  chart::PlotShortDateFormat = "yyyy-mm-dd";
  for (const Case& k : cases) {
    LegendChart chart(nullptr, platform::TPanelSurface::Headless);
    chart.OnGetAxisLabel = [](auto*, auto*, int, std::string& text) { text = "<" + text + ">"; };
    TChartSeries s(nullptr);
    if (k.kind != kNoChart) chart.AddSeries(&s);
    const double first = k.kind == kDateTime ? 45000 : 10;
    s.AddXY(1, k.kind == kZero ? 0 : first, "a");
    s.AddXY(2, k.kind == kZero ? 0 : 30);
    s.AddXY(3, k.kind == kZero ? 0 : -20, "c");
    s.MainValues()->SetDateTime(k.kind == kDateTime);
    s.Marks()->SetMultiLine(k.kind == kMultiLine);
    s.Marks()->Items().Get(1)->GetText();
    s.Marks()->Items().Get(0)->GetText()->SetText(k.kind == kOwnText ? "one\ntwo\n" : "");
    if (k.kind == kHandler)
      s.OnGetMarkText = [](TChartSeries*, int i, std::string& text) { text.resize(i == 0); };
    std::string text;
    if (k.kind == kLegend || k.kind == kDateTime) {
      text = s.LegendString(k.index, static_cast<chart::TLegendTextStyle>(k.style));
    } else {
      s.Marks()->SetStyle(static_cast<chart::TSeriesMarksStyle>(k.style));
      text = s.GetMarkText(k.index);
    }
    EXPECT_EQ(text, k.text) << "kind " << k.kind << " style " << k.style << " index " << k.index;
    chart.RemoveSeries(&s);
  }
  chart::PlotShortDateFormat = savedDate;
}

}  // namespace
}  // namespace enginetest
