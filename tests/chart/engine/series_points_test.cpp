// Series points: ordered insertion across every per-point list, colours, nulls, clearing, update
// batches, label sorting, range deletes, index checks, labels only on points, and what the chart
// is told.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "chart/common/palette.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using SeriesPointsTest = EngineTest;
using platform::clBlue;
using platform::clDefault;
using platform::clRed;

std::vector<double> Xs(const TChartSeries& s) {
  return std::vector<double>(s.XValues()->Data(), s.XValues()->Data() + s.Count());
}
std::vector<double> Ys(const TChartSeries& s) {
  return std::vector<double>(s.YValues()->Data(), s.YValues()->Data() + s.Count());
}
std::vector<std::string> Labels(const TChartSeries& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s.GetXLabel(i));
  return out;
}

TEST_F(SeriesPointsTest, PointsKeepInStep) {
  struct Case {
    std::vector<double> xs;
    std::vector<int> indexes;
    std::vector<double> xAfter, yAfter;  // y is the arrival number
  };
  const Case cases[] = {
      {{3, 1, 2, 1}, {0, 0, 1, 1}, {1, 1, 2, 3}, {1, 3, 2, 0}},
      {{1, 2, 3}, {0, 1, 2}, {1, 2, 3}, {0, 1, 2}},
      {{5, 5, 4}, {0, 1, 0}, {4, 5, 5}, {2, 0, 1}},
  };
  for (const Case& c : cases) {
    TChartSeries s(nullptr);
    std::vector<int> got;
    for (size_t i = 0; i < c.xs.size(); ++i)
      got.push_back(
          s.AddXY(c.xs[i], static_cast<double>(i), std::to_string(i), i == 1 ? clRed : clDefault));
    EXPECT_EQ(got, c.indexes);
    EXPECT_EQ(Xs(s), c.xAfter);
    EXPECT_EQ(Ys(s), c.yAfter);
    // Labels and colours went wherever their point went.
    for (int i = 0; i < s.Count(); ++i) {
      const int arrival = static_cast<int>(s.GetyValue(i));
      EXPECT_EQ(s.GetXLabel(i), std::to_string(arrival));
      EXPECT_EQ(s.GetValueColor(i) == clRed, arrival == 1);
    }
    ASSERT_NE(s.PointColors(), nullptr);
    EXPECT_EQ(static_cast<int>(s.PointColors()->size()), s.Count());
  }
}

TEST_F(SeriesPointsTest, ColoursNullsAndSeriesColour) {
  TChartSeries s(nullptr);
  s.InternalSeriesColor = clBlue;
  for (int i = 0; i < 3; ++i) s.Add(i);
  EXPECT_EQ(s.PointColors(), nullptr);
  s.Add(3, "", clRed);
  ASSERT_NE(s.PointColors(), nullptr);
  EXPECT_EQ(s.PointColors()->size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.GetValueColor(i), clBlue);
  EXPECT_EQ(s.GetValueColor(3), clRed);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.GetValueColor(1), chart::GetDefaultColor(1));

  EXPECT_EQ(s.AddNull("gap"), 4);
  EXPECT_EQ(s.Count(), 5);
  EXPECT_EQ(s.GetXLabel(4), "gap");
  EXPECT_TRUE(s.IsNull(4));
  s.SetNull(4, false);
  EXPECT_FALSE(s.IsNull(4));
  EXPECT_THROW(s.SetValueColor(5, clRed), platform::EListError);

  s.SetSeriesColor(clBlue);  // the colour it already shows: stays automatic
  EXPECT_FALSE(s.IsColorStored());
  s.SetSeriesColor(clRed);
  EXPECT_TRUE(s.IsColorStored());
  EXPECT_EQ(s.InternalSeriesColor, clRed);
}

TEST_F(SeriesPointsTest, ClearUpdateAndSort) {
  TChartSeries source(nullptr), linked(nullptr);
  linked.SetDataSource(&source);
  int cleared = 0, linkedCleared = 0, afterAdd = 0;
  source.OnClearValues = [&](TChartSeries*) { ++cleared; };
  linked.OnClearValues = [&](TChartSeries*) { ++linkedCleared; };
  source.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdd; };

  source.Clear();  // empty, still told
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(linkedCleared, 1);

  source.BeginUpdate();
  for (double x : {3.0, 1.0, 2.0}) source.AddXY(x, x * 10);
  EXPECT_EQ(afterAdd, 0);
  EXPECT_EQ(linked.Count(), 0);
  source.EndUpdate();
  EXPECT_EQ(linkedCleared, 2);  // refilled once
  EXPECT_EQ(Xs(linked), (std::vector<double>{1, 2, 3}));
  source.EndUpdate();  // surplus
  EXPECT_EQ(linkedCleared, 2);
  EXPECT_EQ(source.UpdateCount(), 0);

  TChartSeries labelled(nullptr);
  for (const char* l : {"b", "a", "c"}) labelled.AddXY(labelled.Count() * 5, 0, l);
  labelled.SortByLabels(chart::loDescending);
  EXPECT_EQ(Labels(labelled), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(Xs(labelled), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(labelled.LabelSortOrder, chart::loNone);

  auto* bar = new chart::TChartValueList(&labelled, "Bar");
  labelled.ReplaceList(labelled.YValues(), bar);
  EXPECT_EQ(labelled.YValues(), bar);
  EXPECT_EQ(labelled.MainValues(), bar);
  EXPECT_EQ(bar->GetName(), "Y");
  EXPECT_EQ(labelled.ValuesList().Count(), 2);
  EXPECT_THROW(labelled.ReplaceList(bar, source.XValues()), chart::ChartException);
}

TEST_F(SeriesPointsTest, DeletesCheckIndexesAndMoveEveryList) {
  TChartSeries s(nullptr), linked(nullptr);
  linked.SetDataSource(&s);
  for (int i = 0; i < 6; ++i) s.AddXY(i, i, "p" + std::to_string(i), i == 5 ? clRed : clDefault);
  s.Marks()->Items().Get(4)->GetText()->Add("four");
  chart::TSeriesMarkPosition at;
  at.TopLeft = {40, 4};
  s.Marks()->Positions().Put(4, at);

  EXPECT_EQ(MessageOf<chart::ChartException>([&] { s.Delete(6); }),
            "Series Delete: ValueIndex 6 out of bounds (0 to 5).");
  EXPECT_THROW(s.Delete(-1), chart::ChartException);
  EXPECT_THROW(s.Delete(-1, 2), chart::ChartException);
  EXPECT_THROW(s.Delete(0, 0), chart::EAssertionFailed);
  EXPECT_THROW(s.Delete(4, 3), chart::EAssertionFailed);
  EXPECT_THROW(s.Delete(4, INT_MAX), chart::EAssertionFailed);
  EXPECT_THROW(s.YValues()->Delete(4, INT_MAX), chart::EAssertionFailed);
  EXPECT_EQ(s.Count(), 6);

  // A range delete: the linked series is refilled, never asked to delete at -1.
  s.Delete(0, 2);
  EXPECT_EQ(Xs(s), (std::vector<double>{2, 3, 4, 5}));
  EXPECT_EQ(Xs(linked), Xs(s));
  EXPECT_EQ(Labels(s), (std::vector<std::string>{"p2", "p3", "p4", "p5"}));
  EXPECT_EQ(s.PointColors()->size(), 4u);
  EXPECT_EQ(s.GetValueColor(3), clRed);
  // The mark format and position of point 4 are now at index 2.
  ASSERT_NE(s.Marks()->Items().Existing(2), nullptr);
  EXPECT_EQ(s.Marks()->Items().Existing(2)->GetText()->Get(0), "four");
  ASSERT_NE(s.Marks()->Positions().Get(2), nullptr);
  EXPECT_EQ(s.Marks()->Positions().Get(2)->TopLeft.X, 40);

  s.Delete(0);
  EXPECT_EQ(s.Marks()->Items().Existing(1)->GetText()->Get(0), "four");
  EXPECT_EQ(s.Marks()->Positions().Get(1)->TopLeft.X, 40);
  EXPECT_EQ(Xs(linked), (std::vector<double>{3, 4, 5}));
  s.Labels().DeleteRange(1, INT_MAX);
  s.Marks()->Items().DeleteRange(1, INT_MAX);
  EXPECT_EQ(std::pair(s.Labels().Count(), s.Marks()->Items().Count()), std::pair(1, 1));

  s.Delete(1, 2, true);
  EXPECT_EQ(Xs(s), (std::vector<double>{0}));
  EXPECT_EQ(s.PointColors()->size(), 1u);
}

// A label past the last point is refused as a negative index is: later points keep theirs.
TEST_F(SeriesPointsTest, LabelsGoOnlyToPointsThatExist) {
  const std::pair<int, bool> cases[] = {{5, false}, {3, true}, {INT_MAX, false}};
  for (const auto& [index, markText] : cases) {
    TChartSeries s(nullptr);
    for (const char* label : {"A", "B", "C"}) s.AddXY(s.Count(), 1, label);
    EXPECT_EQ(MessageOf<platform::EListError>(
                  [&] { markText ? s.SetMarkText(index, "F") : s.SetXLabel(index, "F"); }),
              "List index out of bounds (" + std::to_string(index) + ")");
    for (int x = 3; x < 6; ++x) s.AddXY(x, 1, x == 3 ? "D" : "");
    EXPECT_EQ(Labels(s), (std::vector<std::string>{"A", "B", "C", "D", "", ""}));
    EXPECT_EQ(s.Labels().Count(), 6);
  }
}

TEST_F(SeriesPointsTest, ChartRepaintsPerAddAndHearsOneDataChange) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  auto* series = chart.AddSeries(new TChartSeries(nullptr));
  SeriesEventLog log(chart);

  for (int i = 0; i < 5; ++i) {
    const int before = chart.InvalidateCount();
    series->AddXY(i, i);
    EXPECT_GE(chart.InvalidateCount() - before, 1);
  }
  platform::TStrings* own = series->Marks()->Items().Get(0)->GetText();
  const int edits = chart.InvalidateCount();
  own->Add("own");
  EXPECT_GT(chart.InvalidateCount(), edits);
  chart.AutoRepaint = false;
  const int before = chart.InvalidateCount();
  for (int i = 0; i < 5; ++i) series->AddXY(i, i);
  EXPECT_EQ(chart.InvalidateCount(), before);
  chart.AutoRepaint = true;

  series->BeginUpdate();
  series->BeginUpdate();
  for (int i = 0; i < 5; ++i) series->AddXY(i, i);
  series->EndUpdate();
  EXPECT_EQ(log.CountOf(chart::seDataChanged), 0);
  series->EndUpdate();
  EXPECT_EQ(log.CountOf(chart::seDataChanged), 1);
}

}  // namespace
}  // namespace enginetest
