#include "chart/series/series_gallery.h"

#include <string>
#include <utility>

#include "chart/common/plot_const.h"
#include "chart/component/series_registry.h"

namespace chart {

namespace {

// A class the layout reader does not know yet is left out rather than registered as nothing.
const platform::TClassInfo* Known(const char* className) {
  return platform::FindClass(className);
}

}  // namespace

void RegisterPlotStandardSeries() {
  if (auto* bar = Known("TBarSeries")) RegisterPlotSeries(bar, &PlotMsg_GalleryBar);
}

void RegisterPlotStandardFunctions() {
  const std::pair<const char*, const std::string*> functions[] = {
      {"TAddPlotFunction", &PlotMsg_FunctionAdd},
      {"TSubtractPlotFunction", &PlotMsg_FunctionSubtract},
      {"TMultiplyPlotFunction", &PlotMsg_FunctionMultiply},
      {"TDividePlotFunction", &PlotMsg_FunctionDivide},
      {"THighPlotFunction", &PlotMsg_FunctionHigh},
      {"TLowPlotFunction", &PlotMsg_FunctionLow},
      {"TAveragePlotFunction", &PlotMsg_FunctionAverage},
      {"TCustomPlotFunction", &PlotMsg_FunctionCustom},
      {"TMedianPlotFunction", &PlotMsg_FunctionMedian},
      {"TModePlotFunction", &PlotMsg_FunctionMode},
  };
  for (const auto& [name, galleryName] : functions)
    if (auto* cls = Known(name)) RegisterPlotBasicFunction(cls, galleryName);
}

}  // namespace chart
