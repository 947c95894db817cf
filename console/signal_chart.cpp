// The signal chart: satellites' signals (or the 32 channels) as bars, 16 to a page.
#include <string>
#include <vector>

#include "chart/component/chart.h"
#include "chart/component/titles.h"
#include "chart/engine/series.h"
#include "console/main_form.h"

namespace console {

namespace {

constexpr platform::TColor kBlue = 0xFF0000;
constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr platform::TColor kChannelColours[] = {kWhite, 0x800080, kRed};
constexpr platform::TColor kEphemerisColours[] = {0x008000, 0x0000FF, 0x0080FA, 0x00FA7A};
constexpr double kEphemerisBar = 10.0;

struct Bar {
  double x = 0;
  double y = 0;
  std::string label;
  platform::TColor colour = 0;
};

bool ShowsBars(const chart::TChartSeries& series, const std::vector<Bar>& bars) {
  if (series.Count() != static_cast<int>(bars.size())) return false;
  const std::vector<platform::TColor>* colours = series.PointColors();
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const int at = static_cast<int>(i);
    const Bar& b = bars[i];
    if (series.XValues()->GetValue(at) != b.x || series.YValues()->GetValue(at) != b.y ||
        !colours || i >= colours->size() || (*colours)[i] != b.colour ||
        series.GetXLabel(at) != b.label)
      return false;
  }
  return true;
}

// Bars the series already shows are left alone: clearing and adding them again would only
// repaint the chart, which at a busy line is most of the window's work.
void ShowBars(chart::TChartSeries* series, const std::vector<Bar>& bars) {
  if (ShowsBars(*series, bars)) return;
  series->Clear();
  for (const Bar& b : bars) series->AddXY(b.x, b.y, b.label, b.colour);
}

}  // namespace

chart::TChartSeries* TMainForm::SignalBars() const {
  return ChartSNR->GetSeries(0);
}

chart::TChartSeries* TMainForm::EphemerisBars() const {
  return ChartSNR->GetSeries(1);
}

void TMainForm::ClearSignalChart() {
  SignalBars()->Clear();
  EphemerisBars()->Clear();
  chartPrns_.clear();
}

void TMainForm::ShowSignalChartStart() {
  // The scale stays 0..70: the layout already turns zoom and panning off, the wheel goes too.
  ChartSNR->UseMouseWheel = false;
  ClearSignalChart();
  for (int n = 1; n <= 32; ++n) SignalBars()->AddXY(n, 55.0, std::to_string(n), kBlue);
}

// The bars stand on X = 0, 1, ... in the order of chartPrns_; a satellite without a known level
// keeps its place empty.
void TMainForm::ShowEphemerisBars(const reader::ReceiverState& s) {
  std::vector<Bar> bars;
  for (std::size_t n = 0; n < chartPrns_.size(); ++n) {
    const int prn = chartPrns_[n];
    if (prn < 1 || prn > reader::kChannelCount) continue;
    const int level = s.EphLevel[prn - 1];
    if (level < 0 || level > 3) continue;
    bars.push_back(
        {static_cast<double>(n), kEphemerisBar, std::to_string(prn), kEphemerisColours[level]});
  }
  ShowBars(EphemerisBars(), bars);
}

void TMainForm::RefreshSignalChart(reader::ReceiverState& s) {
  if (ChannelChartMode) {
    if (s.ChannelsUpdated.load()) {
      std::vector<Bar> bars;
      for (int i = 0; i < reader::kChannelCount; ++i) {
        const reader::ChannelInfo& ch = s.Channels[i];
        bars.push_back({static_cast<double>(i), static_cast<double>(ch.Snr), std::to_string(ch.Prn),
                        kChannelColours[ch.State < 2 ? ch.State : 2]});
      }
      ShowBars(SignalBars(), bars);
      s.ChannelsUpdated = 0;
    }
    if (s.SatListComplete.load()) s.SatListComplete = 0;
    return;
  }
  // The ephemeris bars are rebuilt with the signal bars, so that they always stand under the
  // satellites shown; a new ephemeris alone is drawn under the satellites already shown, since
  // the table may be half rewritten until its list is complete.
  if (s.SatListComplete.load()) {
    std::vector<Bar> bars;
    chartPrns_.clear();
    const int count = reader::SatCount(s.Fix);
    for (int i = 0; i < count; ++i) {
      const reader::SatelliteInfo& sat = s.Satellites[i];
      if (sat.Prn <= 0 || sat.Snr <= 0) continue;
      bars.push_back({static_cast<double>(chartPrns_.size()), static_cast<double>(sat.Snr),
                      std::to_string(sat.Prn), sat.Used ? kBlue : kWhite});
      chartPrns_.push_back(sat.Prn);
    }
    ShowBars(SignalBars(), bars);
    ShowEphemerisBars(s);
    s.SatListComplete = 0;
    s.EphemerisUpdated = 0;
  } else if (s.EphemerisUpdated.load()) {
    ShowEphemerisBars(s);
    s.EphemerisUpdated = 0;
  }
}

void TMainForm::ChartSNRClick(TObject*) {
  if (ChartSNR->GetPage() == 1) {
    ChartSNR->NextPage();
  } else {
    ChartSNR->PreviousPage();
  }
}

void TMainForm::ChartSNRDblClick(TObject*) {
  ClearSignalChart();
  ChannelChartMode = ChannelChartMode ? 0 : 1;
  ChartSNR->Title()->GetFont()->Color = ChannelChartMode ? kRed : kBlue;
}

}  // namespace console
