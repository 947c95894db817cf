// The named colour palettes, applying them to a chart, and the start and end of the registries.
#include <array>
#include <chrono>

#include "chart/component/series_registry.h"
#include "chart/engine/engine_globals.h"

namespace chart {

TPlotSeriesTypes* PlotSeriesTypes = nullptr;
TPlotToolTypes* PlotToolTypes = nullptr;
TColorPalettes* ColorPalettes = nullptr;
std::function<void()> PlotThemeSelectorHook;
std::function<void(TCustomChart* chart)> PlotNewChartHook;
TPlotToolClass PlotPageNumToolClass = nullptr;

// Colours as 0x00BBGGRR, in palette order.
const std::vector<TColor> ExcelPalette = {
    0xFF9999, 0x663399, 0xCCFFFF, 0xFFFFCC, 0x660066, 0x8080FF, 0xCC6600, 0xFFCCCC,
    0x800000, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0x800080, 0x000080, 0x808000, 0xFF0000,
    0xFFCC00, 0xFFFFCC, 0xCCFFCC, 0x00FFFF, 0xFFCC99, 0xCC99FF};
const std::vector<TColor> VictorianPalette = {0xA1A55D, 0x3153C4, 0x0996E7, 0x4AE8F6,
                                              0xA7A2B1, 0x84A7C9, 0x51798C, 0xB7CDD8,
                                              0x536508, 0x7BD8F7, 0x846401};
const std::vector<TColor> PastelsPalette = {0xFFFFCC, 0xCCFFFF, 0xFFCCCC, 0xCCCC00, 0xCCCCCC,
                                            0x999900, 0x999999, 0xCCCCFF, 0x66CCFF, 0xFFCCCC,
                                            0x9999FF, 0x99FFFF, 0xFFCC99, 0xCCFFCC};
const std::vector<TColor> SolidPalette = {0xFF0000, 0x0000FF, 0x00FF00, 0x00CCFF,
                                          0x404040, 0x00FFFF, 0xC000FF, 0xFFFFFF};
const std::vector<TColor> ClassicPalette = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF,
                                            0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
                                            0x808000, 0x000080, 0x800080, 0x008080};
const std::vector<TColor> WebPalette = {0x00A5FF, 0xCE0000, 0x00CE00, 0x40FFFF, 0xFFFF40,
                                        0xFF40FF, 0x0040FF, 0xA58080, 0x408080};
const std::vector<TColor> ModernPalette = {0x6699FF, 0x6666FF, 0xFFCC99, 0x669966, 0x99CCCC,
                                           0xCC6699, 0x6666CC, 0x99CCFF, 0xFF6699, 0xCCCCCC,
                                           0xCCFF66, 0xFF9966, 0x996699, 0xFFCCCC};
const std::vector<TColor> RainbowPalette = {
    0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF, 0x00CBFF, 0x00F7FF,
    0x08F4E3, 0x11E7C3, 0x1BDAA3, 0x25CD83, 0x2EC063, 0x38B342, 0x42A622, 0x4B9A02, 0x6A870C,
    0x8A751A, 0xAA6328, 0xCB5036, 0xEB3E44, 0xFF2A61, 0xFF1596, 0xFF00CC};
const std::vector<TColor> WindowsXPPalette = {0xFE9B82, 0x24D1FC, 0x0DBC7C, 0x2F85FD, 0xFCFEFD,
                                              0x214EE2, 0xD63829, 0x0094B7, 0x00865A, 0x0046D2,
                                              0xFAE5D3, 0xD8D8D8, 0x7B715F};
namespace {

const std::vector<TColor> kNone;

const std::array<const char*, 10> kPaletteNames = {"Default", "Excel",   "Victorian", "Pastels",
                                                   "Solid",   "Classic", "Web",       "Modern",
                                                   "Rainbow", "Win. XP"};

int useCount = 0;

}  // namespace

const std::vector<TColor>& TColorPalettes::PaletteColors(int index) {
  static const std::array<const std::vector<TColor>*, 10> tables = {
      &kNone,          &ExcelPalette, &VictorianPalette, &PastelsPalette, &SolidPalette,
      &ClassicPalette, &WebPalette,   &ModernPalette,    &RainbowPalette, &WindowsXPPalette};
  if (index < 0 || index >= static_cast<int>(tables.size())) return kNone;
  return *tables[static_cast<size_t>(index)];
}

void TColorPalettes::ApplyPalette(TCustomAxisPanel* chart, const std::vector<TColor>& colors) {
  if (!chart) return;
  chart->CustomPalette = colors;
  chart->ColorPaletteChanged();
}

void TColorPalettes::ApplyPalette(TCustomChart* chart, int index) {
  if (!chart) return;
  ApplyPalette(static_cast<TCustomAxisPanel*>(chart), PaletteColors(index));
  chart->ColorPaletteIndex = index;
  chart->Invalidate();
}

void PlotChartUnitStart() {
  if (useCount++ > 0) return;
  PlotRandomSeed = static_cast<unsigned>(
      std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFFFFu);
  PlotSeriesTypes = new TPlotSeriesTypes;
  PlotToolTypes = new TPlotToolTypes;
  ColorPalettes = new TColorPalettes;
  for (const char* name : kPaletteNames) ColorPalettes->Add(name);
}

void PlotChartUnitEnd() {
  if (useCount == 0 || --useCount > 0) return;
  delete ColorPalettes;
  ColorPalettes = nullptr;
  delete PlotSeriesTypes;
  PlotSeriesTypes = nullptr;
  delete PlotToolTypes;
  PlotToolTypes = nullptr;
}

}  // namespace chart
