#include "chart/series/series_gallery.h"

#include <string>
#include <utility>

#include "chart/common/plot_const.h"
#include "chart/component/series_registry.h"
#include "chart/series/series_registration.h"

namespace chart {

namespace {

// A class the layout reader does not know yet is left out rather than registered as nothing.
const platform::TClassInfo* Known(const char* className) {
  return platform::FindClass(className);
}

}  // namespace

void RegisterPlotStandardSeries() {
  RegisterSeriesLayoutClasses();
  struct Entry {
    const char* className;
    const std::string* galleryName;
    int gallerySeriesCount;  // 2: the short form
  };
  const Entry entries[] = {
      {"TLineSeries", &PlotMsg_GalleryLine, 2},
      {"TBarSeries", &PlotMsg_GalleryBar, 2},
      {"THorizBarSeries", &PlotMsg_GalleryHorizBar, 2},
      {"TAreaSeries", &PlotMsg_GalleryArea, 2},
      {"TPointSeries", &PlotMsg_GalleryPoint, 2},
      {"TPieSeries", &PlotMsg_GalleryPie, 1},
      {"TFastLineSeries", &PlotMsg_GalleryFastLine, 2},
      {"THorizLineSeries", &PlotMsg_GalleryHorizLine, 1},
      {"THorizAreaSeries", &PlotMsg_GalleryHorizArea, 1},
  };
  for (const Entry& e : entries)
    if (auto* cls = Known(e.className))
      RegisterPlotSeries(cls, e.galleryName, &PlotMsg_GalleryStandard, e.gallerySeriesCount);
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
