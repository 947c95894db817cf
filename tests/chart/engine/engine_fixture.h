// Shared set-up of the engine tests: the Qt application and fonts a headless chart needs, the
// engine's unit start, message boxes answered at once, and a listener that records the chart's
// series events.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"
#include "platform/vcl/application.h"
#include "tests/support/gdi_test_support.h"

namespace enginetest {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gditest::SetUpText());
    chart::PlotEngineUnitStart();
    platform::Application->SetModalResponder([](platform::TModalRequest&) { return 1; });
    platform::Application->ClearModalLog();
  }
};

// Records every series event a chart broadcasts.
struct SeriesEventLog : chart::IPlotEventListener {
  explicit SeriesEventLog(chart::TCustomAxisPanel& c) : chart(c) { chart.Listeners().Add(this); }
  ~SeriesEventLog() override { chart.RemoveListener(this); }
  void PlotEvent(chart::TPlotEvent& event) override {
    if (auto* e = dynamic_cast<chart::TPlotSeriesEvent*>(&event)) events.push_back(e->Event);
  }
  int CountOf(chart::TChartSeriesEvent kind) const {
    int n = 0;
    for (auto e : events) n += e == kind;
    return n;
  }
  chart::TCustomAxisPanel& chart;
  std::vector<chart::TChartSeriesEvent> events;
};

// The message of the E that f raises; "(nothing raised)" when it raises none.
template <class E>
std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message;
  }
  return "(nothing raised)";
}

}  // namespace enginetest
