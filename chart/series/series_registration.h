// The series types and functions in the form-layout reader, and the one call a program makes
// before reading a layout that holds charts.
#pragma once

#include "chart/component/component_registration.h"
#include "chart/series/series_gallery.h"

namespace chart {

void RegisterSeriesLayoutClasses();

// Every chart class a layout may name, and the standard functions in the gallery; runs once.
inline void RegisterChartLayoutClasses() {
  RegisterComponentLayoutClasses();
  RegisterSeriesLayoutClasses();
  RegisterPlotStandardFunctions();
}

}  // namespace chart
