// Labels list, series naming, what stored data must hold, the user's error box, and source
// components linked to series.
#include "chart/engine/series_source.h"

#include <memory>
#include <string>
#include <vector>

#include "chart/common/plot_const.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using SeriesSourceTest = EngineTest;

TEST_F(SeriesSourceTest, LabelsList) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  auto* s = chart.AddSeries(new TChartSeries(nullptr));
  chart::TLabelsList& labels = s->Labels();
  for (const char* t : {"a", "B", "c"}) labels.InsertLabel(labels.Count(), t);

  EXPECT_EQ(labels.GetLabel(5), "");
  labels.SetLabel(5, "x");
  EXPECT_EQ(labels.Count(), 6);
  EXPECT_EQ(labels.GetLabel(3), "");
  EXPECT_EQ(labels.GetLabel(4), "");
  EXPECT_EQ(labels.GetLabel(5), "x");

  const int before = chart.InvalidateCount();
  labels.SetLabel(9, "");
  EXPECT_EQ(labels.Count(), 6);
  EXPECT_EQ(chart.InvalidateCount(), before + 1);

  EXPECT_EQ(labels.IndexOfLabel("b"), -1);
  EXPECT_EQ(labels.IndexOfLabel("b", false), 1);
  chart::TLabelsList copy(nullptr);
  copy.Assign(labels);
  EXPECT_EQ(copy.Count(), 6);
  EXPECT_EQ(copy.GetLabel(5), "x");
  labels.DeleteLabel(0);
  EXPECT_EQ(labels.GetLabel(0), "B");
  EXPECT_THROW(labels.DeleteLabel(5), platform::EListError);

  chart::TLabelsList empty(nullptr);
  empty.InsertLabel(0, "");
  EXPECT_EQ(empty.Count(), 0);
  empty.InsertLabel(2, "z");
  EXPECT_EQ(empty.Count(), 3);
}

TEST_F(SeriesSourceTest, StoredDataContents) {
  struct Case {
    std::vector<double> xs;
    bool noMandatory;
  };
  std::vector<double> longRun(10050);
  for (size_t i = 0; i < longRun.size(); ++i) longRun[i] = static_cast<double>(i);
  std::vector<double> lateGap = longRun;
  lateGap[10020] += 0.5;
  const Case cases[] = {{{0, 1, 2}, false}, {{0, 2, 4}, true}, {{}, false},
                        {{1, 2, 3}, true},  {longRun, false},  {lateGap, true}};
  for (const Case& c : cases) {
    TChartSeries s(nullptr);
    s.BeginUpdate();
    for (double x : c.xs) s.AddXY(x, 1);
    s.EndUpdate();
    EXPECT_EQ(chart::HasNoMandatoryValues(&s), c.noMandatory) << c.xs.size();
  }

  TChartSeries s(nullptr);
  s.InternalSeriesColor = platform::clBlue;
  for (int i = 0; i < 200; ++i) s.Add(i);
  EXPECT_FALSE(chart::HasLabels(&s));
  EXPECT_FALSE(chart::HasColors(&s));
  s.SetValueColor(3, platform::clBlue);  // the series colour counts as none
  EXPECT_FALSE(chart::HasColors(&s));
  // Late entries count as much as early ones.
  s.SetXLabel(150, "late");
  EXPECT_TRUE(chart::HasLabels(&s));
  s.SetValueColor(199, platform::clRed);
  EXPECT_TRUE(chart::HasColors(&s));
}

TEST_F(SeriesSourceTest, SeriesNamesAndUserMessages) {
  chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
  std::vector<TChartSeries*> series;
  for (int i = 0; i < 3; ++i) series.push_back(chart.AddSeries(new TChartSeries(nullptr)));
  series[0]->SetTitle(std::string("A") + chart::PlotColumnSeparator + "B");
  series[1]->SetName("Second");
  series[2]->SetShowInEditor(false);
  EXPECT_EQ(chart::SeriesTitleOrName(series[0]), "A B");
  EXPECT_EQ(chart::SeriesTitleOrName(series[1]), "Second");
  EXPECT_EQ(chart::SeriesTitleOrName(series[2]), chart::PlotMsg_Series + "3");
  const auto items = chart::FillSeriesItems(&chart.SeriesList(), false);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].first, "Second");
  EXPECT_EQ(items[1].second, series[1]);

  chart::ShowMessageUser(std::string(2000, 'x'));
  series[0]->XValues()->ReadMultiplier(1);
  series[0]->XValues()->ReadMultiplier(10);
  const auto& shown = platform::Application->ModalLog();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Text.size(), 1023u);
  EXPECT_EQ(shown[0].Caption, "");
  EXPECT_EQ(shown[0].Flags & 0xF0, platform::MB_ICONERROR);
  EXPECT_EQ(shown[1].Text,
            "Error: Multiplier property is obsolete.\rModify PlotDefs.inc (enable Multiplier) and "
            "recompile.");
}

struct CountingSource : chart::TPlotSeriesSource {
  using TPlotSeriesSource::TPlotSeriesSource;
  void Load() override { ++loads; }
  int loads = 0;
};

TEST_F(SeriesSourceTest, SourceComponentFollowsItsSeries) {
  for (bool sourceFirst : {false, true}) {
    chart::TCustomAxisPanel chart(nullptr, platform::TPanelSurface::Headless);
    auto* s = chart.AddSeries(new TChartSeries(nullptr));
    auto source = std::make_unique<CountingSource>(nullptr);
    source->SetSeries(s);
    EXPECT_EQ(s->GetDataSource(), source.get());
    EXPECT_TRUE(source->HasSeries(s));
    source->Open();
    EXPECT_EQ(source->loads, 1);
    source->Refresh();
    EXPECT_EQ(source->loads, 2);
    s->AddXY(1, 1);
    source->Close();
    EXPECT_EQ(s->Count(), 0);
    if (sourceFirst) {
      source.reset();
      EXPECT_EQ(s->GetDataSource(), nullptr);
    } else {
      delete s;  // a series the chart holds may be freed by its maker
      EXPECT_EQ(source->GetSeries(), nullptr);
    }
  }
}

}  // namespace
}  // namespace enginetest
