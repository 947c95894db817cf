// Arbitrary bytes as a series' stored points: every input is either read whole or refused with
// EReadError, and a refused one leaves the series as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chart/engine/series.h"
#include "platform/vcl/exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::TComponent owner(nullptr);
  static auto* series = new chart::TChartSeries(&owner);
  series->Clear();
  series->AddXY(1, 2, "kept");
  try {
    series->ReadData(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const platform::EReadError&) {
    if (series->Count() != 1 || series->GetXLabel(0) != "kept") std::abort();
  }
  return 0;
}
