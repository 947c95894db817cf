// A change of the chart's palette reaches the series that take their colour from it.
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

void TCustomAxisPanel::ColorPaletteChanged() {
  for (TChartSeries* s : seriesList_->Items()) {
    if (s->IsColorStored()) continue;
    s->InternalSeriesColor = GetFreeSeriesColor(true, s);
    BroadcastSeriesEvent(s, seChangeColor);
  }
  Invalidate();
}

}  // namespace chart
