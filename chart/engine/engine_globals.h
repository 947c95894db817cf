// The engine's shared switches, limits and small types: what series, axes and charts all read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "chart/common/chart_exception.h"
#include "platform/vcl/exception.h"

namespace chart {

// Splits mark and label texts into lines.
extern char PlotLineSeparator;
// Where the line of text that begins at start ends (at the next PlotLineSeparator, or the end of
// text); next is where the line after it begins. A line feed right after the separator belongs
// to the break (unless the separator is one itself), so lines joined with CR LF split as those
// joined with CR.
std::size_t PlotLineEnd(std::string_view text, std::size_t start, std::size_t& next);
// Splits legend texts into columns.
extern char PlotColumnSeparator;
// Value lists grow by this many elements at a time.
extern int PlotDefaultCapacity;
// The smallest axis increment.
extern double MinAxisIncrement;
// Pixels between the chart and its titles and foot titles.
extern int PlotTitleFootDistance;
extern bool PlotUseMouseWheel;
// Series without points, source or function get random points at run time too.
extern bool PlotRandomAtRunTime;
// Pixel coordinates beyond this are never handed to the device.
extern int PlotPixelClampLimit;

// How far past a series' last point its per-point lists grow on demand: an entry may be set
// before its point arrives, but an index may not ask for unbounded memory.
constexpr int PlotPointListRoom = 65536;
// The highest index a per-point list of a series with count points may grow to.
inline long long PointListLimit(int count) {
  return static_cast<long long>(count) - 1 + PlotPointListRoom;
}
// The error of a list index a list refuses.
[[noreturn]] void ListIndexError(int index);
// Refuses, with ListIndexError, an index past highest: the list stays as it was.
void CheckListIndex(int index, long long highest);

// A broken integrity rule of the engine: the message and where in the source it was found.
class EAssertionFailed : public platform::Exception {
 public:
  EAssertionFailed(const std::string& message, const char* file, int line);
  std::string File;
  int Line = 0;
};

#define CHART_ASSERT(cond, message)                                              \
  do {                                                                           \
    if (!(cond)) throw ::chart::EAssertionFailed((message), __FILE__, __LINE__); \
  } while (0)

enum TChartListOrder { loNone, loAscending, loDescending };

// What a series tells the series linked to it.
enum TValueEvent { veClear, veAdd, veDelete, veRefresh, veModify };

// What a chart tells its listeners about its series.
enum TChartSeriesEvent {
  seAdd,
  seRemove,
  seChangeTitle,
  seChangeColor,
  seSwap,
  seChangeActive,
  seDataChanged
};

// Which source changes a linked series follows (a bit set).
enum TSeriesRecalcOption : unsigned {
  rOnDelete = 1u << 0,
  rOnModify = 1u << 1,
  rOnInsert = 1u << 2,
  rOnClear = 1u << 3,
};
using TSeriesRecalcOptions = unsigned;
constexpr TSeriesRecalcOptions kAllRecalcOptions = rOnDelete | rOnModify | rOnInsert | rOnClear;

// The library's own random numbers (sample values): a seedable sequence, the same on every
// machine for the same seed.
extern unsigned PlotRandomSeed;
// 0 .. range - 1 (0 for a range below 1).
int PlotRandom(int range);

// Once, before any chart is made: the message table, the clamp limit, the palettes.
void PlotEngineUnitStart();

}  // namespace chart
