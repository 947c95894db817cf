#include "chart/engine/engine_globals.h"

#include "chart/common/plot_const.h"

namespace chart {

char PlotLineSeparator = '\r';
char PlotColumnSeparator = '\x06';
int PlotDefaultCapacity = 1000;
double MinAxisIncrement = 1e-12;
int PlotTitleFootDistance = 5;
bool PlotUseMouseWheel = true;
bool PlotRandomAtRunTime = false;
// Every system this runs on takes the wide range.
int PlotPixelClampLimit = 0x3FFFFFF;

std::size_t PlotLineEnd(std::string_view text, std::size_t start, std::size_t& next) {
  const std::size_t end = text.find(PlotLineSeparator, start);
  if (end == std::string_view::npos) {
    next = text.size();
    return text.size();
  }
  next = end + 1;
  if (PlotLineSeparator != '\n' && next < text.size() && text[next] == '\n') ++next;
  return end;
}

void ListIndexError(int index) {
  throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void CheckListIndex(int index, long long highest) {
  if (index > highest) ListIndexError(index);
}

EAssertionFailed::EAssertionFailed(const std::string& message, const char* file, int line)
    : platform::Exception(message), File(file), Line(line) {}

void PlotEngineUnitStart() {
  static bool started = false;
  if (started) return;
  started = true;
  PlotConstUnitStart();
}

}  // namespace chart
