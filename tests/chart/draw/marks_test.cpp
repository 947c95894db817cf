// Series marks (placement, moving apart, text lines, callouts) and the series pointer's symbols,
// drawn on a headless chart whose device context calls are recorded; mark lines in an SVG export.
#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/component/chart.h"
#include "chart/engine/engine_globals.h"
#include "chart/engine/series_pointer.h"
#include "platform/vcl/export_targets.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TCanvas3D;
using chart::TSeriesMarkPosition;
using chart::TSeriesPointer;
using V = std::vector<std::vector<int>>;

class MarksChart : public chart::TCustomAxisPanel {
 public:
  MarksChart() : TCustomAxisPanel(nullptr, platform::TPanelSurface::Headless) {
    SetView3D(false);
    SetBounds(0, 0, 297, 113);
    AddSeries(series);
  }
  // Runs draw inside a drawing pass; what it draws lands in calls.
  void Paint(const std::function<void(TCanvas3D&)>& draw) {
    calls.clear();
    during = draw;
    Invalidate();
    ProcessPaint();
  }
  V Args(const std::string& op) const {
    V out;
    for (const auto& c : calls)
      if (op.empty() || c.Op == op) out.push_back(c.Args);
    return out;
  }
  std::vector<platform::gdi::DcCall> calls;
  chart::TChartSeries* series = new chart::TChartSeries(nullptr);
  chart::TSeriesMarks& marks = *series->Marks();

 protected:
  void InternalDraw(const platform::TRect&) override {
    AutoRepaint = false;
    platform::gdi::Dc* dc = GetCanvas3D()->GetHandle();
    dc->SetRecorder([this](const platform::gdi::DcCall& c) { calls.push_back(c); });
    if (during) during(*GetCanvas3D());
    dc->SetRecorder({});
    AutoRepaint = true;
  }

 private:
  std::function<void(TCanvas3D&)> during;
};

TSeriesMarkPosition At(int x, int y, int w, int h) {
  TSeriesMarkPosition p;
  p.TopLeft = {x, y};
  p.ArrowStart = p.ArrowEnd = {x + w / 2, y + h};
  p.Width = w;
  p.Height = h;
  return p;
}

// No frame, no shadow: a box covers exactly its bounds.
void PlainBoxes(chart::TPlotCustomShape& m) {
  m.GetFrame()->SetVisible(false);
  m.GetShadow()->SetSize(0);
}

TEST_F(EngineTest, MarksPlacementAndText) {
  const std::string sep(1, chart::PlotLineSeparator);
  const std::function<void(MarksChart&)> cases[] = {
      [](MarksChart& c) {  // DrawEvery 3: only marks 0, 3 and 6 answer a click
        c.marks.SetDrawEvery(3);
        std::vector<int> found;
        for (TSeriesMarkPosition p = At(10, 20, 20, 10); p.TopLeft.X < 250; p.TopLeft.X += 30)
          c.marks.UsePosition((p.TopLeft.X - 10) / 30, p);
        for (int i = 0; i < 8; ++i) found.push_back(c.marks.Clicked(20 + 30 * i, 25));
        EXPECT_EQ(found, (std::vector<int>{0, -1, -1, 3, -1, -1, 6, -1}));
      },
      [](MarksChart& c) {  // a put mark is drawn where put, until ResetPositions
        PlainBoxes(c.marks);
        c.marks.Positions().Put(2, At(100, 40, 30, 12));
        auto drawComputed = [&] {
          c.Paint([&](TCanvas3D&) {
            TSeriesMarkPosition computed = At(10, 10, 30, 12);
            c.marks.InternalDraw(2, platform::clRed, "55", computed);
          });
          return c.Args("Rectangle");
        };
        EXPECT_EQ(drawComputed(), (V{{100, 40, 130, 52}}));
        EXPECT_EQ(chart::SeriesGuessContents(c.series), 8);
        c.marks.ResetPositions();
        EXPECT_EQ(drawComputed(), (V{{10, 10, 40, 22}}));
        EXPECT_EQ(chart::SeriesGuessContents(c.series), 0);
      },
      [](MarksChart& c) {  // 5 pixels above an overlapping mark: up until they touch
        TSeriesMarkPosition first = At(20, 50, 30, 20), later = At(25, 45, 30, 20);
        c.marks.UsePosition(0, first);
        c.marks.AntiOverlap(0, 1, later);
        // Frame 1 and shadow 1 below both boxes: the covered bottom meets the other's top.
        EXPECT_EQ(later.TopLeft.Y + 20 + 1 + 1, 50);
        EXPECT_EQ(later.ArrowEnd.Y, later.TopLeft.Y + 20);
      },
      [](MarksChart& c) {  // moved onto a third mark: on past it, by the current rectangle
        PlainBoxes(c.marks);
        TSeriesMarkPosition a = At(20, 100, 30, 20), b = At(20, 80, 30, 20), n = At(25, 99, 30, 20);
        c.marks.UsePosition(0, a);
        c.marks.UsePosition(1, b);
        c.marks.AntiOverlap(0, 2, n);
        // Up off 100..120 to 80..100, the second mark's place: on up to 60..80.
        EXPECT_EQ(n.TopLeft.Y, 60);
      },
      [sep](MarksChart& c) {  // two separators: three lines a font height apart; Angle 90
        int fh = 0;
        auto draw = [&](int angle) {
          c.marks.SetAngle(angle);
          c.Paint([&](TCanvas3D& canvas) {
            canvas.AssignFont(c.marks.GetFont());
            fh = canvas.GetFontHeight();
            TSeriesMarkPosition p = At(40, 30, 40, 20);
            c.marks.InternalDraw(0, platform::clRed, "a" + sep + "bb" + sep + "c", p);
          });
          return c.Args("TextOut");
        };
        // Centre of (42, 30)-(80, 50) is (61, 40); at angle 0 below the frame's width 1.
        const V flat = draw(0), turned = draw(90);
        EXPECT_EQ(flat, (V{{61, 31}, {61, 31 + fh}, {61, 31 + 2 * fh}}));
        // d = i * fh + 40 - 50, at (61 + d + 1, 40).
        EXPECT_EQ(turned, (V{{52, 40}, {52 + fh, 40}, {52 + 2 * fh, 40}}));
      },
      [](MarksChart& c) {  // the callout runs from the point to the box, drawn before it
        PlainBoxes(c.marks);
        c.marks.GetCallout()->SetLength(3);
        c.Paint([&](TCanvas3D&) {
          TSeriesMarkPosition p = At(50, 60, 20, 10);  // arrow at (60, 70)
          c.marks.ApplyArrowLength(p);
          c.marks.InternalDraw(0, platform::clBlue, "55", p);
        });
        c.calls.pop_back();  // the text
        EXPECT_EQ(c.Args(""), (V{{60, 70}, {60, 67}, {50, 57, 70, 67}}));
        EXPECT_EQ(c.calls[0].Op + c.calls[1].Op + c.calls[2].Op, "MoveToExLineToRectangle");
      },
      [](MarksChart& c) {  // measured as written: plain, in its own font, shown marks only
        for (const char* text : {"<b>W</b>", "xxx", "hidden and wider than the shown marks"})
          c.series->AddXY(c.series->Count(), 1, text);
        PlainBoxes(*c.marks.Items().Get(0));
        c.marks.Items().Get(0)->SetTextFormat(chart::ttfHtml);  // the marks' own stays plain
        c.marks.Items().Get(1)->GetFont()->SetSize(40);
        c.marks.Items().Get(2)->SetVisible(false);
        c.series->GetHorizAxisObj()->SetLabelStyle(chart::talMark);
        c.series->FirstVisible = c.series->LastVisible = 0;
        c.Paint([&](TCanvas3D& canvas) {
          c.series->DrawMarks();
          const int box = c.Args("Rectangle").at(0)[2] - c.Args("Rectangle")[0][0];
          EXPECT_EQ(box, canvas.TextWidth("<b>W</b>") + canvas.TextWidth("W") + 1);
          const int labels = c.series->GetHorizAxisObj()->MaxLabelsWidth();
          canvas.AssignFont(c.marks.Items().Get(1)->GetFont());
          EXPECT_EQ(labels, canvas.TextWidth("xxx"));
        });
      },
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    MarksChart c;
    cases[i](c);
  }
}

TEST_F(EngineTest, PointerSizesMarginsAndCalloutLength) {
  MarksChart c;
  TSeriesPointer p(c.series);
  for (auto set :
       {&TSeriesPointer::SetHorizSize, &TSeriesPointer::SetVertSize, &TSeriesPointer::SetSize})
    for (int size : {0, -2})
      EXPECT_EQ(MessageOf<chart::ChartException>([&] { (p.*set)(size); }),
                "Pointer size must be greater than zero");
  EXPECT_EQ(p.GetHorizSize() * 10 + p.GetVertSize(), 44);
  // Visible, InflateMargins, margins before, after.
  for (const auto& m : V{{1, 1, 0, 5}, {1, 1, 7, 7}, {0, 1, 0, 0}, {1, 0, 0, 0}}) {
    p.SetVisible(m[0]);
    p.SetInflateMargins(m[1]);
    int l = m[2], r = m[2], t = m[2], b = m[2];
    p.CalcHorizMargins(l, r);
    p.CalcVerticalMargins(t, b);
    EXPECT_EQ((std::vector<int>{l, r, t, b}), std::vector<int>(4, m[3]));
  }
  chart::TMarksCallout callout(c.series);
  EXPECT_FALSE(callout.IsLengthStored());
  callout.SetLength(3);
  EXPECT_TRUE(callout.IsLengthStored());
}

TEST_F(EngineTest, PointerStylesDrawTheirPrimitives) {
  struct Case {
    chart::TSeriesPointerStyle style;
    std::string ops;
    V args;
  };
  // At (50, 40) with half sizes 4 and 3: left 46, right 54, top 37, bottom 43.
  const V cross{{50, 37}, {50, 44}, {46, 40}, {55, 40}},
      diag{{46, 37}, {55, 44}, {46, 43}, {55, 36}};
  V star = cross;
  star.insert(star.end(), diag.begin(), diag.end());
  const std::string line = "MoveToExLineTo", lines = line + line;
  const Case cases[] = {
      {chart::psRectangle, "Rectangle", {{46, 37, 55, 44}}},
      {chart::psCircle, "Ellipse", {{46, 37, 55, 44}}},
      {chart::psTriangle, "Polygon", {{46, 43, 54, 43, 50, 37}}},
      {chart::psDownTriangle, "Polygon", {{46, 37, 54, 37, 50, 43}}},
      {chart::psCross, lines, cross},
      {chart::psDiagCross, lines, diag},
      {chart::psStar, lines + lines, star},
      {chart::psDiamond, "Polygon", {{46, 40, 50, 37, 54, 40, 50, 43}}},
      {chart::psSmallDot, "SetPixel", {{50, 40, platform::clRed}}},
      {chart::psNothing, "", {}},
      {chart::psLeftTriangle, "Polygon", {{46, 40, 54, 43, 54, 37}}},
      {chart::psRightTriangle, "Polygon", {{54, 40, 46, 43, 46, 37}}},
  };
  MarksChart c;
  TSeriesPointer p(c.series);
  for (const Case& k : cases) {
    c.Paint([&](TCanvas3D& canvas) {
      p.PrepareCanvas(&canvas, platform::clRed);
      p.DrawPointer(&canvas, false, 50, 40, 4, 3, platform::clRed, k.style);
    });
    std::string ops;
    for (const auto& call : c.calls) ops += call.Op;
    EXPECT_EQ(ops, k.ops) << k.style;
    EXPECT_EQ(c.Args(""), k.args) << k.style;
  }
  p.GetGradient()->SetVisible(true);  // psNothing draws the gradient only
  c.Paint([&](TCanvas3D& canvas) {
    p.DrawPointer(&canvas, false, 50, 40, 4, 3, platform::clRed, chart::psNothing);
  });
  EXPECT_FALSE(c.calls.empty());
  // In 3D the dot is at the series' middle depth, a flat square at its start depth.
  c.SetView3D(true);
  c.series->StartZ = 10, c.series->MiddleZ = 15;
  p.GetGradient()->SetVisible(false);
  p.SetDraw3D(false);
  V want;
  c.Paint([&](TCanvas3D& canvas) {
    const platform::TPoint d = canvas.Calculate3DPosition(50, 40, 15);
    want.push_back({d.X, d.Y, platform::clRed});
    p.DrawPointer(&canvas, true, 50, 40, 4, 3, platform::clRed, chart::psSmallDot);
    want.emplace_back();
    for (const chart::TPoint3D q :
         {chart::TPoint3D{46, 37, 10}, {55, 37, 10}, {55, 44, 10}, {46, 44, 10}}) {
      const platform::TPoint s = canvas.Calculate3DPosition(q);
      want.back().insert(want.back().end(), {s.X, s.Y});
    }
    p.DrawPointer(&canvas, true, 50, 40, 4, 3, platform::clRed, chart::psRectangle);
  });
  EXPECT_EQ(c.Args(""), want);
}

TEST_F(EngineTest, MarksDefaultsCopyAndParent) {
  MarksChart c;
  chart::TSeriesMarks& m = c.marks;
  const chart::TCustomPlotGradient* g = m.GetGradient();
  EXPECT_EQ((std::vector<int>{m.GetVisible(), m.GetColor(), m.GetShadow()->GetColor(),
                              m.GetShadow()->GetSize(), g->GetDirection(), g->GetStartColor(),
                              g->GetEndColor()}),
            (std::vector<int>{false, platform::clInfoBk, platform::clGray, 1, chart::gdRightLeft,
                              platform::clSilver, platform::clWhite}));
  m.SetDrawEvery(0);
  EXPECT_EQ(m.GetDrawEvery(), 1);
  EXPECT_EQ(m.MarkItem(3), &m);
  chart::TMarksItem* item = m.Items().Get(3);
  EXPECT_EQ(m.MarkItem(3), item);
  item->GetText()->Add("x");
  m.SetAngle(30);
  m.GetCallout()->SetLength(3);
  m.GetSymbol()->SetVisible(true);
  chart::TChartSeries other(nullptr);
  chart::TSeriesMarks& o = *other.Marks();
  o.Assign(&m);
  EXPECT_EQ(std::tuple(o.GetAngle(), o.GetCallout()->GetLength(), o.GetSymbol()->GetVisible()),
            std::tuple(30, 3, true));
  ASSERT_NE(o.Items().Existing(3), nullptr);
  EXPECT_EQ(o.Items().Existing(3)->GetText()->GetText(), "x\r\n");
  c.AddSeries(&other);  // callout, symbol and items follow the marks to the chart
  EXPECT_EQ((std::vector<chart::TCustomPlotPanel*>{o.CalloutIfAny()->ParentChart(),
                                                   o.SymbolIfAny()->ParentChart(),
                                                   o.Items().Existing(3)->ParentChart()}),
            std::vector<chart::TCustomPlotPanel*>(3, &c));
  m.Items().Loaded = true;
  m.Clear();
  EXPECT_EQ(m.MarkItem(3), item);
  m.Items().Loaded = false;
  m.Clear();
  EXPECT_EQ(m.MarkItem(3), &m);
}

// The texts of an SVG document in order, each with its place: x and y in its group's transform
// (the writer nests no groups).
std::vector<std::string> SvgTexts(const std::string& svg) {
  std::vector<std::string> texts;
  QString group;
  for (QXmlStreamReader xml(QByteArray::fromStdString(svg)); !xml.atEnd() && !xml.hasError();) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (a.hasAttribute("transform")) group = a.value("transform").toString();
    if (xml.name() == QStringLiteral("text"))
      texts.push_back(QString("%1 at %2 %3,%4")
                          .arg(xml.readElementText(), group, a.value("x"), a.value("y"))
                          .toStdString());
  }
  return texts;
}

// A mark's own lines, joined with CR LF, and a label's lines joined so show as lines joined with
// CR do: on the mark, under the axis and in the legend, in an SVG export.
TEST_F(EngineTest, MarkLinesJoinedWithCrLfSplitAsThoseJoinedWithCr) {
  const std::string cr(1, chart::PlotLineSeparator), label = "First" + cr + "Second";
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {label, {}}, {label, {"First", "Second"}}, {"First" + cr + "\nSecond", {}}};
  std::vector<std::vector<std::string>> shown;
  for (const auto& [text, own] : cases) {
    chart::TChart c(nullptr, platform::TPanelSurface::Headless);
    c.SetView3D(false);
    c.SetBounds(0, 0, 300, 200);
    auto* s = new chart::TChartSeries(nullptr);
    c.AddSeries(s);
    s->AddXY(0, 1, text);
    s->AddXY(1, 2, "other");
    s->Marks()->SetVisible(true);
    s->GetHorizAxisObj()->SetLabelStyle(chart::talMark);
    for (const std::string& line : own) s->Marks()->Items().Get(0)->GetText()->Add(line);
    shown.push_back(SvgTexts(c.PlotCreateMetafile(true, c.GetRectangle())->ToSvg()));
  }
  const auto second = [](const std::string& t) { return t.starts_with("Second at"); };
  EXPECT_EQ(std::count_if(shown[0].begin(), shown[0].end(), second), 2);
  EXPECT_EQ(shown[1], shown[0]);
  EXPECT_EQ(shown[2], shown[0]);
}

}  // namespace
}  // namespace enginetest
