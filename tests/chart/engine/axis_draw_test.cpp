// Drawing an axis on a headless chart's canvas, checked against what reaches the device context.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "chart/common/date_time.h"
#include "chart/engine/axis.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

namespace gdi = platform::gdi;
using chart::TChartAxis;
using chart::TChartSeries;
using platform::TRect;

// A 297 x 113 chart whose drawing pass runs what a test hands it on the chart rectangle
// (9, 5, 288, 108), with the device context's calls recorded.
class DrawChart : public chart::TCustomAxisPanel {
 public:
  DrawChart() : TCustomAxisPanel(nullptr, platform::TPanelSurface::Headless) {
    SetView3D(false);
    SetBounds(0, 0, 297, 113);
    AddSeries(series);
  }
  void Paint(const std::function<void()>& draw) {
    calls.clear();
    during = draw;
    Invalidate();
    ProcessPaint();
  }
  // The lines drawn, as (x0, y0, x1, y1) from each MoveToEx and the LineTo after it.
  std::vector<std::vector<int>> Lines() const {
    std::vector<std::vector<int>> out;
    for (size_t i = 1; i < calls.size(); ++i)
      if (calls[i].Op == "LineTo" && calls[i - 1].Op == "MoveToEx")
        out.push_back(
            {calls[i - 1].Args[0], calls[i - 1].Args[1], calls[i].Args[0], calls[i].Args[1]});
    return out;
  }
  std::vector<gdi::DcCall> calls;
  TChartSeries* series = new TChartSeries(nullptr);

 protected:
  void InternalDraw(const TRect&) override {
    AutoRepaint = false;
    ChartRect = TRect{9, 5, 288, 108};
    ChartWidth = 279;
    ChartHeight = 103;
    gdi::Dc* dc = GetCanvas3D()->GetHandle();
    dc->SetRecorder([this](const gdi::DcCall& c) { calls.push_back(c); });
    if (during) during();
    dc->SetRecorder({});
    AutoRepaint = true;
  }

 private:
  std::function<void()> during;
};

bool Has(const std::vector<std::vector<int>>& lines, const std::vector<int>& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

TEST_F(EngineTest, AxisDrawsLabelsTicksAndLineAtTheMappedPixels) {
  DrawChart c;
  for (int n = 1; n <= 32; ++n) c.series->AddXY(n, 55, std::to_string(n));
  TChartAxis* bottom = c.BottomAxis();
  bottom->SetLabelStyle(chart::talText);
  bottom->GetGrid()->SetVisible(false);
  c.Paint([&] {
    bottom->SetMinMax(1, 16);
    bottom->AdjustMaxMin();
    bottom->InternalCalcPositions();
    bottom->PosLabels = 115;
    bottom->Draw(true);
  });
  EXPECT_EQ(bottom->PosAxis, 108);
  std::vector<std::string> texts;
  for (const auto& call : c.calls)
    if (call.Op == "TextOut") {
      texts.push_back(call.Text);
      // Centred on its tick: the text reference point is the label's pixel.
      EXPECT_EQ(call.Args[0], bottom->CalcPosValue(std::stoi(call.Text)));
    }
  std::vector<std::string> expected;
  for (int n = 1; n <= 16; ++n) expected.push_back(std::to_string(n));
  EXPECT_EQ(texts, expected);
  const auto lines = c.Lines();
  // The axis line, then a 4-pixel tick below it (offset 1) at every label.
  EXPECT_TRUE(Has(lines, {9, 108, 288, 108}));
  for (int n = 1; n <= 16; ++n) {
    const int x = bottom->CalcPosValue(n);
    EXPECT_TRUE(Has(lines, {x, 109, x, 113})) << n;
  }
}

TEST_F(EngineTest, AxisGridAndMinorTicks) {
  struct Case {
    const char* what;
    int drawEvery;
    bool centred, minor;
    std::vector<int> gridX;  // vertical grid lines from the chart top + 1
    std::vector<int> minorX;
  };
  // Values 5 down to 1 of 0.25..5.25 on the span 0..200: ticks 40 pixels apart at 190..30.
  const Case cases[] = {
      {"every tick", 1, false, false, {190, 150, 110, 70, 30}, {}},
      {"every second tick", 2, false, false, {190, 110, 30}, {}},
      {"half way between ticks", 1, true, false, {170, 130, 90, 50}, {}},
      // 10, 20 and 30 pixels from each tick; beyond the last tick while inside the span.
      {"minor ticks",
       1,
       false,
       true,
       {},
       {160, 170, 180, 120, 130, 140, 80, 90, 100, 40, 50, 60, 20, 10}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    DrawChart c;
    TChartAxis* a = c.BottomAxis();
    a->SetLabelStyle(chart::talValue);
    a->SetIncrement(1);
    a->SetLabels(false);
    a->SetTickOnLabelsOnly(false);
    a->GetGrid()->SetDrawEvery(k.drawEvery);
    a->SetGridCentered(k.centred);
    a->GetGrid()->SetVisible(k.minorX.empty());
    a->GetTicks()->SetVisible(false);
    a->GetAxis()->SetVisible(false);
    a->GetMinorTicks()->SetVisible(k.minor);
    c.Paint([&] { a->CustomDrawMinMaxStartEnd(120, 130, 110, !k.minor, 0.25, 5.25, 1, 0, 200); });
    EXPECT_EQ(a->Tick, (std::vector<int>{190, 150, 110, 70, 30}));
    std::vector<int> gridX, minorX;
    for (const auto& l : c.Lines()) {
      if (l[1] == 6 && l[3] == 108) gridX.push_back(l[0]);
      if (l[1] == 111 && l[3] == 113) minorX.push_back(l[0]);
    }
    EXPECT_EQ(gridX, k.gridX);
    EXPECT_EQ(minorX, k.minorX);
    // The range and increment given for the drawing are put back.
    EXPECT_EQ(a->GetIncrement(), 1);
    EXPECT_TRUE(a->GetAutomatic());
  }
}

// Minor marks of a logarithmic axis: every cell once, the one under the first label too.
TEST_F(EngineTest, AxisLogarithmicMinorTicks) {
  struct Case {
    double min, max, base;
    bool inverted, grid;
    const char* values;
  };
  const Case cases[] = {
      {3, 500, 10, false, false, "3.25 5.5 7.75 32.5 55 77.5 325"},
      {3, 500, 10, true, false, "3.25 5.5 7.75 32.5 55 77.5 325"},
      {0.5, 1000, 10, false, false, "0.55 0.775 3.25 5.5 7.75 32.5 55 77.5 325 550 775"},
      {3, 1024, 2, false, false,
       "3.5 5 6 7 10 12 14 20 24 28 40 48 56 80 96 112 160 192 224 320 384 448 640 768 896"},
      {3, 1000, 10, false, true, "3.25 5.5 7.75 32.5 55 77.5 325 550 775"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.values);
    DrawChart c;
    TChartAxis* a = c.BottomAxis();
    a->SetLabelStyle(chart::talValue);
    a->SetLogarithmicBase(k.base);
    a->SetLogarithmic(true);
    a->SetInverted(k.inverted);
    a->GetGrid()->SetVisible(false);
    a->GetMinorTicks()->SetVisible(!k.grid);
    a->GetMinorGrid()->SetVisible(k.grid);
    c.Paint([&] { a->CustomDrawMinMaxStartEnd(120, 130, 110, false, k.min, k.max, 0, 0, 300); });
    std::vector<int> expected, drawn;
    for (const char *p = k.values, *end = p + std::strlen(p); p < end; ++p) {
      double v = 0;
      p = std::from_chars(p, end, v).ptr;
      const int x =
          static_cast<int>(std::lround(300 * std::log(v / k.min) / std::log(k.max / k.min)));
      expected.push_back(k.inverted ? 300 - x : x);
    }
    for (const auto& l : c.Lines())
      if (k.grid ? l[1] == 6 && l[3] == 108 : l[1] == 111 && l[3] == 113) drawn.push_back(l[0]);
    std::sort(expected.begin(), expected.end());
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, expected);
  }
}

TEST_F(EngineTest, AxisLabelAngleExponentAndDrawLabelEvent) {
  DrawChart c;
  TChartAxis* a = c.BottomAxis();
  int fh = 0, smallWidth = 0;
  std::vector<gdi::DcCall> texts;
  const auto draw = [&](int angle, const std::string& text) {
    c.Paint([&] {
      chart::TCanvas3D* canvas = c.GetCanvas3D();
      canvas->AssignFont(a->GetLabelsFont());
      fh = canvas->GetFontHeight();
      const int size = canvas->Font->GetSize();
      canvas->Font->SetSize(size - size / 4);
      smallWidth = canvas->TextWidth("3");
      canvas->AssignFont(a->GetLabelsFont());
      a->DrawAxisLabel(100, 115, angle, text, nullptr);
    });
    texts.clear();
    for (const auto& call : c.calls)
      if (call.Op == "TextOut") texts.push_back(call);
  };
  // Rotated a quarter turn: shifted left by half a font height to centre on its tick.
  draw(90, "12");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Args, (std::vector<int>{100 - fh / 2, 115}));
  // The exponent smaller and raised, the mantissa left of it (centred labels).
  a->SetLabelsExponent(true);
  draw(0, "1.5E3");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "3");
  EXPECT_EQ(texts[0].Args, (std::vector<int>{100, 115 - ((fh - 1) / 2 - 2)}));
  EXPECT_EQ(texts[1].Text, "1.5");
  EXPECT_EQ(texts[1].Args, (std::vector<int>{100 - smallWidth - 1, 115}));
  draw(0, "12");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "12");
  // A handler that drops the text leaves the box, which is drawn before it.
  a->Items().Format()->SetTransparent(false);
  a->OnDrawLabel = [](TChartAxis*, int&, int&, int&, std::string&, bool& drawLabel) {
    drawLabel = false;
  };
  draw(0, "12");
  EXPECT_TRUE(texts.empty());
  bool box = false;
  for (const auto& call : c.calls) box = box || call.Op == "Rectangle";
  EXPECT_TRUE(box);
}

// Value labels of whole charts never overlap, whatever the range, the size and the format, and
// take the finest step that lets them: a step finer than the one drawn would crowd them.
TEST_F(EngineTest, AxisValueLabelsTakeTheFinestStepThatFits) {
  const double day = chart::EncodeDate(2024, 1, 1);  // a Monday
  enum { kVertical = 1, kDates = 2, kAlternate = 4, kTwoLines = 8 };
  const struct {
    double min, max;
    const char* format;
    int size, fontSize, flags;     // size: the chart's along the axis; font size 0: the default
    std::vector<const char*> top;  // the first labels drawn, from the maximum down
    std::size_t count;
    double finer;  // the next finer step, whose labels would run into one another; 0: none
  } cases[] = {
      // Finer steps write more decimals: "8.95" crowds where "8.9" has room.
      {3, 9, "#,##0.###", 1400, 0, 0, {"9", "8.9", "8.8"}, 61, 0.05},
      {3, 9, "#,##0.###", 500, 0, 0, {"9", "8.8", "8.6"}, 31, 0.1},
      {3, 9, "#,##0.###", 900, 14, 0, {"9", "8.8", "8.6"}, 31, 0.1},
      {3, 9, "#,##0.###", 400, 0, 0, {"9", "8.5", "8"}, 13, 0.2},
      {3, 9, "0.##", 200, 0, kAlternate, {"9", "8.5", "8"}, 13, 0},
      {day, day + 7, "dddd", 370, 0, kDates, {"Sunday", "Friday"}, 4, 1},
      {day, day + 300, "mmmm", 450, 0, kDates, {"September", "July"}, 5, 30},
      {day, day + 30, "mmm d", 110, 0, kVertical | kDates | kTwoLines, {"Jan", "24"}, 4, 0},
      // The estimate's labels have room: it stays.
      {0, 1, "#,##0.###", 600, 0, 0, {"1", "0.95", "0.9"}, 21, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.format << " " << k.size << " " << k.fontSize);
    const bool vertical = k.flags & kVertical;
    AxisChart c(vertical ? 300 : k.size, vertical ? k.size : 200);
    auto* s = c.New<TChartSeries>();
    for (int n = 0; n <= 200; ++n) s->AddXY(k.min + (k.max - k.min) * n / 200, k.min + n);
    TChartAxis* axis = vertical ? c.LeftAxis() : c.BottomAxis();
    (vertical ? c.BottomAxis() : c.LeftAxis())->SetLabels(false);
    (vertical ? s->YValues() : s->XValues())->SetDateTime(k.flags & kDates);
    (k.flags & kDates) ? axis->SetDateTimeFormat(k.format) : axis->SetAxisValuesFormat(k.format);
    if (k.fontSize) axis->GetLabelsFont()->SetSize(k.fontSize);
    axis->SetLabelsAlternate(k.flags & kAlternate);
    axis->SetLabelsMultiLine(k.flags & kTwoLines);
    axis->SetMinMax(k.min, k.max);
    c.Record();
    // Each text is a line of a label: centred on a horizontal axis, right-aligned on a vertical.
    chart::TCanvas3D* canvas = c.GetCanvas3D();
    canvas->AssignFont(axis->GetLabelsFont());
    const auto box = [&](const std::string& text, int x, int y) {
      const int w = canvas->TextWidth(text);
      x -= vertical ? w : w / 2;
      return TRect{x, y, x + w, y + canvas->GetFontHeight()};
    };
    const auto meet = [](const TRect& a, const TRect& b) {
      return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
    };
    std::vector<TRect> boxes;
    std::vector<std::string> texts;
    for (const auto& t : c.Only("TextOut")) {
      const TRect a = box(t.Text, t.Args[0], t.Args[1]);
      for (const TRect& b : boxes) EXPECT_FALSE(meet(a, b)) << t.Text;
      boxes.push_back(a);
      texts.push_back(t.Text);
    }
    EXPECT_EQ(boxes.size(), k.count);
    texts.resize(std::min(texts.size(), k.top.size()));
    EXPECT_EQ(texts, std::vector<std::string>(k.top.begin(), k.top.end()));
    // The finer step's labels where they would be drawn: some two of them meet.
    bool crowded = false;
    TRect last{};
    const double first = k.finer > 0 ? std::trunc(k.max / k.finer) * k.finer : 0;
    for (int n = 0; k.finer > 0 && first - n * k.finer >= k.min; ++n) {
      const double v = first - n * k.finer;
      const TRect a = box(axis->LabelValue(v), axis->CalcPosValue(v), 0);
      crowded = crowded || (n > 0 && meet(a, last));
      last = a;
    }
    EXPECT_EQ(crowded, k.finer > 0);
  }
}

// A depth axis drawn as a cylinder: its round end is its one polygon of 16 sides, 8 pixels across.
TEST_F(EngineTest, DepthAxisCylinder) {
  AxisChart c(300, 200, true);
  c.New<TChartSeries>()->AddXY(0, 1);
  c.DepthAxis()->SetVisible(true);
  c.DepthAxis()->GetAxis()->SetWidth(4);
  c.DepthAxis()->GetAxis()->SetLineMode(chart::lmCylinder);
  c.Record();
  std::vector<std::vector<int>> ends;
  for (const auto& p : c.Args("Polygon"))
    if (p.size() == 2u * chart::PlotNumCylinderSides) ends.push_back(p);
  ASSERT_EQ(ends.size(), 1u);
  const std::vector<int>& p = ends[0];
  for (std::size_t i = 0, half = p.size() / 2; i < half; i += 2)
    EXPECT_NEAR(std::hypot(p[i] - p[i + half], p[i + 1] - p[i + 1 + half]), 8, 1) << i;
}

}  // namespace
}  // namespace enginetest
