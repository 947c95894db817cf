// The series types and functions of this folder in the chart's gallery.
#pragma once

namespace chart {

// The nine standard series types on the "Standard" gallery page, in gallery order: line, bar,
// horizontal bar, area, point, pie, fast line, horizontal line, horizontal area. Nothing in the
// program calls it.
void RegisterPlotStandardSeries();
// The standard functions in gallery order: add, subtract, multiply, divide, high, low, average,
// y = f(x), median, mode. Runs at the library's start (after the layout classes).
void RegisterPlotStandardFunctions();

}  // namespace chart
