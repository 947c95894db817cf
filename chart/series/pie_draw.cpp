// Pie series drawing: the circle gradient, slices flat, 3D and as a donut in the right order,
// the shadow, marks around the rim, the other slice's own legend, and the hit test.
#include "chart/series/pie_series.h"

namespace chart {

// STUB: to be built.
void TCircledSeries::DrawCircleGradient() {}
void TPieSeries::DrawAllValues() {}
void TPieSeries::DrawValue(int) {}
void TPieSeries::DrawPie(int) {}
void TPieSeries::DrawMark(int i, const std::string& t, TSeriesMarkPosition& p) {
  TChartSeries::DrawMark(i, t, p);
}
int TPieSeries::Clicked(int, int) {
  return -1;
}

}  // namespace chart
