// The series types and functions in the form-layout reader, and the one call a program makes
// before reading a layout that holds charts.
#pragma once

#include "chart/component/component_registration.h"

namespace chart {

void RegisterSeriesLayoutClasses();

// Every chart class a layout may name; runs once.
inline void RegisterChartLayoutClasses() {
  RegisterComponentLayoutClasses();
  RegisterSeriesLayoutClasses();
}

}  // namespace chart
