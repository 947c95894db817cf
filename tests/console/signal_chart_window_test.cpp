// The whole window on a live link to the simulated receiver: the signal chart's bars on the
// screen stand as high as the satellites' signals. Leaves main_window_signal_chart.png.
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/component/chart.h"
#include "chart/engine/series.h"
#include "chart/engine/value_list.h"
#include "tests/console/command_util.h"
#include "tests/support/gdi_test_support.h"

namespace consoletest {
namespace {

using platform::TRect;

TEST_F(CommandTest, SignalBarsFollowTheSatellitesOnScreen) {
  ASSERT_TRUE(gditest::SetUpText());
  OpenQuiet();
  form->Show();
  link->EmitCycleNow();
  link->EmitCycleNow();
  link->SendRaw(Release());
  std::vector<int> signal;  // in PRN order, as the window sorts them
  std::vector<std::pair<int, int>> heard;
  for (const sim::SatelliteTruth& s :
       link->WithModel([](sim::SimReceiver& m) { return m.LastEpoch().in_view; }))
    if (s.snr > 0) heard.emplace_back(s.prn, s.snr);
  std::sort(heard.begin(), heard.end());
  for (const auto& h : heard) signal.push_back(h.second);
  ASSERT_GE(signal.size(), 4u);
  chart::TChart* c = form->ChartSNR;
  ASSERT_TRUE(WaitUntil([&] {
    chart::TChartSeries* bars = c->GetSeries(0);
    if (bars->Count() != static_cast<int>(signal.size())) return false;
    for (size_t i = 0; i < signal.size(); ++i)
      if (bars->YValues()->GetValue(static_cast<int>(i)) != signal[i]) return false;
    return true;
  }));
  platform::Application->ProcessMessages();
  const QImage shot = form->Widget()->grab().toImage();
  const std::string file = KORVANE_BINARY_DIR "/main_window_signal_chart.png";
  ASSERT_TRUE(shot.save(QString::fromStdString(file), "PNG"));
  const QImage back(QString::fromStdString(file), "PNG");
  ASSERT_EQ(back.size(), shot.size());

  // Bars are the runs of non-background pixels just above the axis line (2 px on the value 0),
  // and reach up to their pen's top row.
  const QPoint at = c->Widget()->mapTo(form->Widget(), QPoint(0, 0));
  const TRect r = c->ChartRect;
  const int row = at.y() + r.Bottom - 2, span = r.Bottom - r.Top;
  const QRgb ground = back.pixel(at.x() + r.Left + 2, at.y() + r.Top + 2);
  std::vector<int> heights;
  for (int x = at.x() + r.Left + 1; x < at.x() + r.Right; ++x) {
    if (back.pixel(x, row) == ground || back.pixel(x - 1, row) != ground) continue;
    int y = row;
    while (y > at.y() && back.pixel(x + 2, y - 1) != ground) --y;
    heights.push_back(at.y() + r.Bottom - y);
  }
  const size_t shown = std::min<size_t>(signal.size(), 16);
  ASSERT_EQ(heights.size(), shown);
  for (size_t i = 0; i < shown; ++i)
    EXPECT_NEAR(heights[i], signal[i] * span / 70.0, 1.0) << "bar " << i << " of " << signal[i];
}

}  // namespace
}  // namespace consoletest
