#include "chart/engine/axis.h"

namespace chart {

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
    : chart_(chart), horizontal_(horizontal), otherSide_(otherSide) {}

}  // namespace chart
