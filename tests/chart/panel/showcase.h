// The showcase panel whose pictures the test run leaves in the build folder for a person to
// open: bevels, a border, a shadow, a gradient and a centred back image. Other test files of
// this program add their own drawing to it with a static ShowcaseStep (run in the chart
// rectangle, in the order the steps were added).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {

using ShowcaseDraw = std::function<void(TestPanel& panel, const TRect& chartRect)>;

inline std::vector<std::pair<std::string, ShowcaseDraw>>& ShowcaseSteps() {
  static std::vector<std::pair<std::string, ShowcaseDraw>> steps;
  return steps;
}

struct ShowcaseStep {
  ShowcaseStep(std::string name, ShowcaseDraw draw) {
    ShowcaseSteps().emplace_back(std::move(name), std::move(draw));
  }
};

// The picture in the middle: 60 x 40, a dark frame around the coded colours.
inline std::unique_ptr<platform::TBitmap> ShowcaseImage() {
  auto b = CodedBitmap(60, 40);
  b->Canvas->Brush->SetStyle(platform::bsClear);
  b->Canvas->Pen->SetColor(platform::clNavy);
  b->Canvas->Rectangle(0, 0, 60, 40);
  return b;
}

inline std::unique_ptr<TestPanel> MakeShowcasePanel() {
  auto p = std::make_unique<TestPanel>();
  p->SetBevelInner(platform::bvLowered);
  p->SetBevelOuter(platform::bvRaised);
  p->SetBevelWidth(2);
  p->SetBorderWidth(3);
  p->GetBorder()->SetVisible(true);
  p->GetBorder()->SetColor(platform::clNavy);
  p->GetShadow()->SetSize(6);
  p->GetShadow()->SetColor(platform::clGray);
  p->GetShadow()->SetSmooth(false);
  chart::TPlotGradient* g = p->GetGradient();
  g->SetStartColor(platform::clWhite);
  g->SetEndColor(0xE0A060);
  g->SetDirection(chart::gdTopBottom);
  g->SetVisible(true);
  p->GetBackImage()->SetGraphic(ShowcaseImage());
  p->SetBackImageMode(chart::pbmCenter);
  p->During = [](TestPanel& panel) {
    for (const auto& step : ShowcaseSteps()) step.second(panel, panel.ChartRect);
  };
  return p;
}

}  // namespace paneltest
