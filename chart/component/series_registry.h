// The process-wide registries of the chart library (the gallery of series and function types,
// the tool classes, the named colour palettes) and the routines that create, clone, swap and
// retype series. A class reference is the class's record in the form-layout registry, which
// knows its name and how to create it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/component/chart.h"
#include "platform/vcl/layout_registry.h"
#include "platform/vcl/string_list.h"

namespace chart {

class TChartSeries;
class TPlotFunction;

using TChartSeriesClass = const platform::TClassInfo*;
using TFunctionClass = const platform::TClassInfo*;
using TPlotToolClass = const platform::TClassInfo*;

// The registered record of obj's own class; null when the class is not registered.
const platform::TClassInfo* ClassOf(const platform::TObject* obj);

// One gallery entry: a series type, a function type, or a series type with a function.
class TPlotSeriesType {
 public:
  TChartSeriesClass SeriesKind = nullptr;
  TFunctionClass FunctionKind = nullptr;
  // Message variables, so a change of language shows.
  const std::string* GalleryName = nullptr;
  const std::string* GalleryTab = nullptr;
  int GallerySeriesCount = 0;
};

// The gallery entries in registration order; owns them.
class TPlotSeriesTypes {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Null outside 0..Count-1.
  TPlotSeriesType* Get(int index) const;
  void Clear() { items_.clear(); }
  // The first entry of seriesClass without a function class, or null.
  TPlotSeriesType* Find(TChartSeriesClass seriesClass) const;
  void Add(std::unique_ptr<TPlotSeriesType> entry) { items_.push_back(std::move(entry)); }
  // Frees every entry for which remove is true.
  void RemoveIf(const std::function<bool(const TPlotSeriesType&)>& remove);

 private:
  std::vector<std::unique_ptr<TPlotSeriesType>> items_;
};

// The registered tool classes, in order; does not own them.
class TPlotToolTypes {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TPlotToolClass Get(int index) const;
  int IndexOf(TPlotToolClass toolClass) const;
  void Add(TPlotToolClass toolClass) { items_.push_back(toolClass); }
  void Remove(TPlotToolClass toolClass);

 private:
  std::vector<TPlotToolClass> items_;
};

// The names of the colour palettes; index 0 is the default palette.
class TColorPalettes : public platform::TStringList {
 public:
  const char* ClassName() const override { return "TColorPalettes"; }
  // Index 1..9: the named table becomes the chart's own palette; any other index empties it.
  // Series with automatic colours take new ones; ColorPaletteIndex becomes index.
  static void ApplyPalette(TCustomChart* chart, int index);
  // colors become the chart's own palette (none: the default palette applies again).
  static void ApplyPalette(TCustomAxisPanel* chart, const std::vector<TColor>& colors);
  // The colours of palette index; empty for 0 and any index without a table.
  static const std::vector<TColor>& PaletteColors(int index);
};

// The named palettes' colours (0x00BBGGRR), in the order of ColorPalettes from index 1.
extern const std::vector<TColor> ExcelPalette;
extern const std::vector<TColor> VictorianPalette;
extern const std::vector<TColor> PastelsPalette;
extern const std::vector<TColor> SolidPalette;
extern const std::vector<TColor> ClassicPalette;
extern const std::vector<TColor> WebPalette;
extern const std::vector<TColor> ModernPalette;
extern const std::vector<TColor> RainbowPalette;
extern const std::vector<TColor> WindowsXPPalette;

// Null before PlotChartUnitStart and after the last PlotChartUnitEnd.
extern TPlotSeriesTypes* PlotSeriesTypes;
extern TPlotToolTypes* PlotToolTypes;
extern TColorPalettes* ColorPalettes;

// Design-time hooks, unset in the program.
extern std::function<void()> PlotThemeSelectorHook;
extern std::function<void(TCustomChart* chart)> PlotNewChartHook;
extern TPlotToolClass PlotPageNumToolClass;

// Use-counted. The first start seeds the random numbers and makes the registries and the
// palette names; the last end frees them.
void PlotChartUnitStart();
void PlotChartUnitEnd();

// Null classes are left out; an entry with the same two classes is not added again.
void RegisterPlotSeriesFunction(TChartSeriesClass seriesClass, TFunctionClass functionClass,
                                const std::string* galleryName, const std::string* galleryTab,
                                int gallerySeriesCount);
void RegisterPlotSeries(TChartSeriesClass seriesClass, const std::string* galleryName,
                        const std::string* galleryTab, int gallerySeriesCount);
// On the "Standard" gallery page with two sample series.
void RegisterPlotSeries(TChartSeriesClass seriesClass, const std::string* galleryName);
void RegisterPlotFunction(TFunctionClass functionClass, const std::string* galleryName,
                          const std::string* galleryTab, int gallerySeriesCount);
void RegisterPlotBasicFunction(TFunctionClass functionClass, const std::string* galleryName);
// Every entry of one of these series (function) classes goes.
void UnRegisterPlotSeries(const std::vector<TChartSeriesClass>& classes);
void UnRegisterPlotFunctions(const std::vector<TFunctionClass>& classes);
void RegisterPlotTools(const std::vector<TPlotToolClass>& classes);
void UnRegisterPlotTools(const std::vector<TPlotToolClass>& classes);

// The gallery name of the series' class, else its class name.
std::string GetGallerySeriesName(const TChartSeries* series);
// "Series" and the first number that names no component of owner.
std::string GetNewSeriesName(const platform::TComponent* owner);
// A function of functionClass owned by the series' owner, attached to the series, named from
// "PlotFunction".
TPlotFunction* CreateNewPlotFunction(TChartSeries* series, TFunctionClass functionClass);
// A named series of seriesClass in chart (with a function of functionClass when given). Owned
// by owner (the chart without one), or by the chart when the chart owns a series of its own.
// Raises ChartException when a class does not make a series (a function).
TChartSeries* CreateNewSeries(platform::TComponent* owner, TCustomAxisPanel* chart,
                              TChartSeriesClass seriesClass,
                              TFunctionClass functionClass = nullptr);
// A new series of the same class (and function class) with everything of series.
TChartSeries* CloneChartSeries(TChartSeries* series);
TChartSeries* CloneChartSeries(TChartSeries* series, TCustomAxisPanel* chart);
TChartSeries* CloneChartSeries(TChartSeries* series, platform::TComponent* owner,
                               TCustomAxisPanel* chart);
// newSeries takes oldSeries' settings, points, events, dependants, tools, place in the chart and
// name; oldSeries is freed and cleared.
void AssignSeries(TChartSeries*& oldSeries, TChartSeries*& newSeries);
// series becomes a series of newClass in its place (nothing when it is of that class already).
void ChangeSeriesType(TChartSeries*& series, TChartSeriesClass newClass);
void ChangeAllSeriesType(TCustomAxisPanel* chart, TChartSeriesClass newClass);
// The series' legend symbol drawn on canvas; a series without a chart borrows referenceChart
// (or a temporary chart) meanwhile.
void PaintSeriesLegend(TChartSeries* series, platform::TCanvas* canvas, const TRect& rect,
                       TCustomChart* referenceChart = nullptr);

// A set of chart settings applied at once; the base changes nothing.
class TChartTheme : public platform::TPersistent {
 public:
  explicit TChartTheme(TCustomChart* chart) : Chart(chart) {}
  const char* ClassName() const override { return "TChartTheme"; }
  virtual void Apply() {}
  virtual std::string Description() const { return "Default"; }
  TCustomChart* Chart;
};

}  // namespace chart
