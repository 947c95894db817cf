// Horizontal bar series drawing: one bar per point in its style, tick lines, the hit test.
#include "chart/series/bar_series.h"

namespace chart {

// STUB: to be built.
void THorizBarSeries::DrawValue(int) {}
bool THorizBarSeries::InternalClicked(int, TPoint) {
  return false;
}
void THorizBarSeries::DrawTickLine(int, TBarStyle) {}
void THorizBarSeries::DrawBar(int, int, int) {}

}  // namespace chart
