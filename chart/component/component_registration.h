// The chart component's classes in the form-layout reader: the chart, its titles, walls and
// legend (with the engine's classes beneath them).
#pragma once

namespace chart {

void RegisterComponentLayoutClasses();

}  // namespace chart
