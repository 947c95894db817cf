// Line, area and point series drawing: the shadow and outline passes, segments as lines, stairs,
// 3D ribbons and bands, the area under each segment, and the pointers over them.
#include "chart/series/line_series.h"

namespace chart {

// STUB: to be built.
void TCustomSeries::DrawPointer(int, int, TColor, int) {}
void TCustomSeries::DrawAllValues() {
  TChartSeries::DrawAllValues();
}
void TCustomSeries::DrawValue(int) {}
void TCustomSeries::DrawSegment(int, int, int, TColor, bool, bool) {}
void TCustomSeries::DrawAreaSegment(int, int, int, TColor, bool) {}
TColor TCustomSeries::AreaColorOf(TColor pointColor) const {
  return pointColor;
}

}  // namespace chart
