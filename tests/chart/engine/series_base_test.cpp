// The series base: axis binding, copying between vertical and horizontal series, the gallery
// preview, hover events and cursor, and sample values (their range, count and failures).
#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "chart/common/plot_const.h"
#include "chart/engine/engine_globals.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series_pointer.h"
#include "chart/series/line_series.h"
#include "tests/chart/draw/recording_chart.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using SeriesBaseTest = EngineTest;

// Points 0, 1, 2 lie under x 0..29, ten pixels each; a pie-like variant uses no axes, yet counts
// as on every one.
class HitSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  CHART_SERIES_CLASS(HitSeries)
  int Clicked(int x, int /*y*/) override { return x >= 0 && x < 30 ? x / 10 : -1; }
  bool UseAxis() const override { return useAxis; }
  bool AssociatedToAxis(const chart::TChartAxis* axis) const override {
    return !useAxis || TChartSeries::AssociatedToAxis(axis);
  }
  bool useAxis = true;
};

class HorizSeries : public TChartSeries {
 public:
  explicit HorizSeries(platform::TComponent* owner) : TChartSeries(owner) { SetHorizontal(); }
  CHART_SERIES_CLASS(HorizSeries)
};

TEST_F(SeriesBaseTest, EdgeCases) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  platform::TComponent form(nullptr);
  auto* s = new HitSeries(&form);
  struct Case {
    const char* name;
    std::function<bool()> holds;
  };
  const Case cases[] = {
      {"repaint without a chart does nothing",
       [&] {
         chart.AddSeries(s);
         const int before = chart.InvalidateCount();
         s->Repaint();
         const bool joined = chart.InvalidateCount() == before + 1;
         chart.RemoveSeries(s);
         const int left = chart.InvalidateCount();
         s->Repaint();
         const bool quiet = chart.InvalidateCount() == left;
         chart.AddSeries(s);
         return joined && quiet;
       }},
      {"custom horizontal axis without an axis binds the bottom axis",
       [&] {
         s->SetHorizAxis(chart::aTopAxis);
         s->SetHorizAxis(chart::aCustomHorizAxis);
         return s->GetHorizAxisObj() == chart.BottomAxis();
       }},
      {"a custom axis binds, and its removal rebinds the bottom axis",
       [&] {
         chart::TChartAxis* custom = chart.AddCustomAxis(true);
         s->SetCustomHorizAxis(custom);
         const bool bound = s->GetHorizAxisObj() == custom && s->AssociatedToAxis(custom);
         chart.RemoveCustomAxis(custom);
         return bound && s->GetHorizAxisObj() == chart.BottomAxis() &&
                s->GetHorizAxis() == chart::aBottomAxis && !s->GetCustomHorizAxis();
       }},
      {"a series without axes lends no axis its date-time values",
       [&] {
         s->XValues()->SetDateTime(true);
         const bool lent = chart.BottomAxis()->IsDateTime();
         s->useAxis = false;
         const bool kept = chart.BottomAxis()->IsDateTime();
         s->useAxis = true;
         s->XValues()->SetDateTime(false);
         return lent && !kept;
       }},
      {"assign between vertical and horizontal exchanges the list settings",
       [&] {
         HorizSeries h(nullptr);
         s->XValues()->SetDateTime(true);
         s->YValues()->SetOrder(chart::loDescending);
         h.Assign(s);
         return h.YValues()->GetDateTime() && !h.XValues()->GetDateTime() &&
                h.XValues()->GetOrder() == chart::loDescending &&
                h.YValues()->GetOrder() == chart::loAscending;
       }},
      {"stored source names resolve when loaded",
       [&] {
         auto* source = new TChartSeries(&form);
         source->SetName("Source");
         chart.AddSeries(source)->AddXY(1, 5);
         auto* t = chart.AddSeries(new TChartSeries(&form));
         t->SetLoading(true);
         t->SourceNamesToLoad = {"SOURCE", "missing"};
         t->Loaded();
         return t->DataSources().Count() == 1 && t->GetDataSource() == source && t->Count() == 1 &&
                !t->Loading();
       }},
      {"assign moves the function and copies hand-entered points",
       [&] {
         TChartSeries from(nullptr), to(nullptr);
         auto* f = new chart::TPlotFunction(nullptr);
         from.SetFunction(f);
         from.AddXY(1, 2, "a", platform::clRed);
         from.HandEntered = true;
         to.Assign(&from);
         return to.FunctionOf() == f && !from.FunctionOf() && f->GetParentSeries() == &to &&
                to.Count() == 1 && to.GetXLabel(0) == "a" &&
                to.GetValueColor(0) == platform::clRed && to.HandEntered;
       }},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.holds()) << c.name;
}

// The base's gallery preview, through a line that keeps it: shown, marks stand on every second
// point, on callouts 4 pixels long.
TEST_F(SeriesBaseTest, GalleryPreviewMarksEverySecondPointOnShortCallouts) {
  chart::PlotRandomSeed = 1;  // the same sample values on every run
  AxisChart c(200, 150);
  auto* line = c.New<chart::TLineSeries>();
  line->PrepareForGallery(true);
  line->Marks()->SetVisible(true);
  c.Record();
  const auto segments = c.Segments();
  ASSERT_EQ(line->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    const platform::TPoint at{line->CalcXPos(i), line->CalcYPos(i)};
    const std::pair<platform::TPoint, platform::TPoint> callout{at, {at.X, at.Y - 4}};
    EXPECT_EQ(std::ranges::count(segments, callout), i % 2 ? 0 : 1) << i;
  }
}

TEST_F(SeriesBaseTest, HoverRaisesEnterAndLeaveOnceAndShowsTheCursor) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  HitSeries s(nullptr);
  chart.AddSeries(&s);
  std::string log;
  s.OnMouseEnter = [&](platform::TObject*) { log += "E"; };
  s.OnMouseLeave = [&](platform::TObject*) { log += "L"; };
  s.Cursor = platform::crHandPoint;
  const struct {
    int x;
    bool over;
    const char* log;
  } moves[] = {{50, false, ""},   {5, true, "E"},    {15, true, "E"}, {25, true, "E"},
               {40, false, "EL"}, {60, false, "EL"}, {1, true, "ELE"}};
  for (const auto& m : moves) {
    EXPECT_EQ(chart.CheckMouseSeries(m.x, 0), m.over) << m.x;
    EXPECT_EQ(log, m.log) << m.x;
  }
  EXPECT_EQ(chart.GetCursor(), platform::crHandPoint);
  chart.RemoveSeries(&s);
  EXPECT_EQ(chart.GetCursor(), chart.SavedCursor);
}

TEST_F(SeriesBaseTest, SampleValuesSpanTheChartsRange) {
  // The other series holds X constant: the samples run from there over as wide a range again.
  const struct {
    double constantX;
    double first, last;
  } cases[] = {{-5, -5, 0}, {5, 5, 10}, {0, 0, 5}};
  for (const auto& c : cases) {
    chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
    TChartSeries other(nullptr), sampled(nullptr);
    chart.AddSeries(&other);
    chart.AddSeries(&sampled);
    other.AddXY(c.constantX, 1);
    other.AddXY(c.constantX, 2);
    sampled.HandEntered = true;
    sampled.FillSampleValues(6);
    EXPECT_FALSE(sampled.HandEntered);
    ASSERT_EQ(sampled.Count(), 6);
    EXPECT_DOUBLE_EQ(sampled.XValues()->First(), c.first) << c.constantX;
    EXPECT_DOUBLE_EQ(sampled.XValues()->Last(), c.last) << c.constantX;
    // From inside the Y range 1..2, steps of at most an eighth of it.
    EXPECT_NEAR(sampled.GetyValue(0), 1.5, 0.625);
    for (int i = 1; i < 6; ++i) EXPECT_NEAR(sampled.GetyValue(i), sampled.GetyValue(i - 1), 0.125);
  }
  TChartSeries alone(nullptr);
  alone.FillSampleValues(0);
  EXPECT_EQ(alone.Count(), 25);
  EXPECT_DOUBLE_EQ(alone.XValues()->Last(), 24);
  try {
    alone.FillSampleValues(-1);
    ADD_FAILURE() << "no exception";
  } catch (const chart::ChartException& e) {
    EXPECT_EQ(e.Message, chart::PlotMsg_FillSample);
  }
  EXPECT_EQ(alone.Count(), 25);
}

}  // namespace
}  // namespace enginetest
