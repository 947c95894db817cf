// The chart's pages printed one to a printer page.
#include <algorithm>

#include "chart/engine/axis_panel.h"

namespace chart {

void TCustomAxisPanel::PrintPages(int fromPage, int toPage) {
  platform::TPrinter& printer = platform::Printer();
  if (!GetName().empty()) printer.Title = GetName();
  printer.BeginDoc();
  const int saved = GetPage();
  try {
    // Pages past the last would print the last one again.
    const int count = NumPages();
    const int last = toPage <= 0 ? count : std::min(toPage, count);
    const int first = std::max(fromPage, 1);
    const TRect r = ChartPrintRect();
    for (int page = first; page <= last; ++page) {
      SetPage(page);
      PrintPartial(r);
      if (page < last) printer.NewPage();
    }
    SetPage(saved);
    printer.EndDoc();
  } catch (...) {
    SetPage(saved);
    printer.Abort();
    if (printer.Printing()) printer.EndDoc();
    throw;
  }
}

}  // namespace chart
