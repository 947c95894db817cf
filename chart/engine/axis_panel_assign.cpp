// Copying a chart's settings: into its own axes and custom axes, and from another axis panel.
#include <vector>

#include "chart/engine/axis_panel.h"

namespace chart {

void TCustomAxisPanel::SetBottomAxis(const TChartAxis* value) {
  if (value) BottomAxis()->Assign(value);
}

void TCustomAxisPanel::SetTopAxis(const TChartAxis* value) {
  if (value) TopAxis()->Assign(value);
}

void TCustomAxisPanel::SetLeftAxis(const TChartAxis* value) {
  if (value) LeftAxis()->Assign(value);
}

void TCustomAxisPanel::SetRightAxis(const TChartAxis* value) {
  if (value) RightAxis()->Assign(value);
}

void TCustomAxisPanel::SetDepthAxis(const TChartAxis* value) {
  if (value) DepthAxis()->Assign(value);
}

void TCustomAxisPanel::SetDepthTopAxis(const TChartAxis* value) {
  if (value) DepthTopAxis()->Assign(value);
}

void TCustomAxisPanel::SetCustomAxes(const TChartCustomAxes* value) {
  if (!value || value == customAxesList_.get()) return;
  std::vector<const TChartAxis*> from;
  for (int i = 0; i < value->Count(); ++i) from.push_back(value->Get(i));
  while (CustomAxisCount() > 0) RemoveCustomAxis(CustomAxis(0));
  for (const TChartAxis* axis : from) AddCustomAxis(axis->Horizontal())->Assign(axis);
}

void TCustomAxisPanel::Assign(const platform::TPersistent* source) {
  if (const auto* p = dynamic_cast<const TCustomAxisPanel*>(source); p && p != this) {
    Set3DPercent(p->chart3DPercent_);
    SetAxisBehind(p->axisBehind_);
    SetAxisVisible(p->axisVisible_);
    SetBottomAxis(p->BottomAxis());
    SetClipPoints(p->clipPoints_);
    CustomPalette = p->CustomPalette;
    SetCustomAxes(&p->CustomAxes());
    SetLeftAxis(p->LeftAxis());
    SetDepthAxis(p->DepthAxis());
    SetDepthTopAxis(p->DepthTopAxis());
    SetPages(&p->Pages());
    SetRightAxis(p->RightAxis());
    SetTopAxis(p->TopAxis());
    SetView3DWalls(p->view3DWalls_);
  }
  TCustomPlotPanelExtended::Assign(source);
}

}  // namespace chart
