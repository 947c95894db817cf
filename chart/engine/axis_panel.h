// The panel that owns a chart's series list, axes and pages: finding, adding, removing,
// exchanging and freeing series, the chart-wide series events, and the checks and refills of
// series that take their data from sources. Drawing comes with the axis layout.
#pragma once

#include <memory>
#include <vector>

#include "chart/engine/axes_lists.h"
#include "chart/engine/axis.h"
#include "chart/engine/engine_globals.h"
#include "chart/engine/pages.h"
#include "chart/engine/series_list.h"
#include "chart/engine/tools.h"
#include "chart/panel/plot_panel_extended.h"

namespace platform {
class TClassInfo;
}

namespace chart {

class TChartSeries;
class TCustomChartSeries;

// A change to one of the chart's series, for the chart's listeners.
class TPlotSeriesEvent : public TPlotEvent {
 public:
  TChartSeriesEvent Event = seAdd;
  TCustomChartSeries* Series = nullptr;
};

// The page or the page size changed.
class TChartChangePage : public TPlotEvent {};

// The chart owns the series in it: its destructor frees every series still in it (FreeAllSeries),
// whoever made them. A series that should outlive the chart leaves it first (RemoveSeries).
class TCustomAxisPanel : public TCustomPlotPanelExtended {
 public:
  explicit TCustomAxisPanel(platform::TComponent* Owner,
                            platform::TPanelSurface surface = platform::TPanelSurface::Window);
  // Frees the series still in the chart, then its pages, axes and tools.
  ~TCustomAxisPanel() override;
  const char* ClassName() const override { return "TCustomAxisPanel"; }
  // True from the start of the chart's destruction on (its series are freed then).
  bool Destroying() const {
    return destroyingAxisPanel_ || TCustomPlotPanel::Destroying() ||
           platform::TComponent::Destroying();
  }

  // ---- Series ------------------------------------------------------------------------------
  TChartSeriesList& SeriesList() { return *seriesList_; }
  const TChartSeriesList& SeriesList() const { return *seriesList_; }
  // Raises ChartException outside 0..SeriesCount-1.
  TChartSeries* GetSeries(int index) const;
  TChartSeries* operator[](int index) const { return GetSeries(index); }
  int SeriesCount() const { return seriesList_->Count(); }
  int CountActiveSeries() const;
  int GetMaxValuesCount() const;
  TChartSeries* GetAxisSeries(const TChartAxis* axis) const;
  TChartSeries* GetAxisSeriesMaxPoints(const TChartAxis* axis) const;
  TChartSeries* SeriesLegend(int index, bool onlyActive) const;
  TChartSeries* ActiveSeriesLegend(int index) const { return SeriesLegend(index, true); }
  std::string SeriesTitleLegend(int index, bool onlyActive = false) const;
  // The series joins the chart, which frees it from then on (unless it leaves first): hold it
  // by a plain pointer, never in a unique_ptr of the caller's. Returns series.
  TChartSeries* AddSeries(TChartSeries* series);
  // A new series of seriesClass, owned by the chart's owner, joins the chart; ChartException
  // when the class makes no series.
  TChartSeries* AddSeries(const platform::TClassInfo* seriesClass);
  // Called by the series when it joins; 1 + the index it had when already in.
  int InternalAddSeries(TChartSeries* series);
  void RemoveSeries(int index);
  void RemoveSeries(TChartSeries* series);
  // Every series (of the class of prototype, when given) leaves the chart and is freed.
  void FreeAllSeries(const TCustomChartSeries* prototype = nullptr);
  void ExchangeSeries(int index1, int index2);
  void ExchangeSeries(TChartSeries* s1, TChartSeries* s2);
  void BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEvent event);
  bool CheckMouseSeries(int x, int y);
  // Raises ChartException when source, directly or through any of its sources, takes its data
  // from dest.
  void CheckOtherSeries(const TChartSeries* dest, const TChartSeries* source) const;
  virtual bool IsValidDataSource(const TChartSeries* series, platform::TComponent* source) const;
  virtual void CheckDatasource(TChartSeries* series);
  virtual void RemovedDataSource(TChartSeries* series, platform::TComponent* source);
  virtual std::string FormattedValueLegend(TChartSeries* /*series*/, int /*valueIndex*/) {
    return {};
  }
  // A series or tool nested in the chart in a form layout joins it (engine_registration.cpp).
  void AdoptChild(platform::TComponent* child) override;

  // ---- Axes (their layout and drawing come with the axes) ----------------------------------
  // Every axis, custom ones included: bottom, top, left, right, depth, depth-top, then custom.
  const std::vector<TChartAxis*>& AxesList() const { return axesList_; }
  TChartAxis* BottomAxis() const { return axesList_[0]; }
  TChartAxis* TopAxis() const { return axesList_[1]; }
  TChartAxis* LeftAxis() const { return axesList_[2]; }
  TChartAxis* RightAxis() const { return axesList_[3]; }
  TChartAxis* DepthAxis() const { return axesList_[4]; }
  TChartAxis* DepthTopAxis() const { return axesList_[5]; }
  // A new custom axis of the chart (owned by it).
  TChartAxis* AddCustomAxis(bool horizontal);
  // Frees a custom axis; its series go back to the bottom or left axis.
  void RemoveCustomAxis(TChartAxis* axis);
  int CustomAxisCount() const { return static_cast<int>(customAxes_.size()); }
  TChartAxis* CustomAxis(int index) const;
  int CustomAxisIndex(const TChartAxis* axis) const;
  // Copy the settings of value into the chart's own axis (null: nothing).
  void SetBottomAxis(const TChartAxis* value);
  void SetTopAxis(const TChartAxis* value);
  void SetLeftAxis(const TChartAxis* value);
  void SetRightAxis(const TChartAxis* value);
  void SetDepthAxis(const TChartAxis* value);
  void SetDepthTopAxis(const TChartAxis* value);
  // The custom axes become copies of value's, in its order; series on a custom axis of this
  // chart go back to the bottom or left axis.
  void SetCustomAxes(const TChartCustomAxes* value);
  bool IsCustomAxesStored() const { return CustomAxisCount() > 0; }
  // From another axis panel: Chart3DPercent, AxisBehind, AxisVisible, ClipPoints, View3DWalls,
  // the axes and custom axes, the pages and the custom palette, then the panel's part. Series
  // and tools stay where they are.
  void Assign(const platform::TPersistent* source) override;

  // ---- Settings ----------------------------------------------------------------------------
  bool GetAxisBehind() const { return axisBehind_; }
  void SetAxisBehind(bool v) { SetBooleanProperty(axisBehind_, v); }
  bool GetAxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool v) { SetBooleanProperty(axisVisible_, v); }
  bool GetClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool v) { SetBooleanProperty(clipPoints_, v); }
  int GetChart3DPercent() const { return chart3DPercent_; }
  bool GetView3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool v) { SetBooleanProperty(view3DWalls_, v); }
  TColor LegendBackColor = platform::clWhite;
  // While the legend draws its symbols: its own symbol pen, or null when series use theirs.
  TChartPen* LegendPen = nullptr;

  // The palette colour for index (the chart's own palette when set).
  virtual TColor GetDefaultColor(int index) const;
  // The first palette colour no series of the chart uses yet.
  TColor GetFreeSeriesColor(bool checkBackground = true, const TChartSeries* skip = nullptr) const;
  // False when a series other than skip has color, or (checkBackground) the panel has it.
  virtual bool IsFreeSeriesColor(TColor color, bool checkBackground,
                                 const TChartSeries* skip) const;
  std::vector<TColor> CustomPalette;
  // Every series with an automatic colour takes the first free one of the palette now in use.
  void ColorPaletteChanged();

  platform::TNotifyEvent OnPageChange;

 protected:
  bool AxisPanelDestroying() const { return destroyingAxisPanel_; }

 private:
  std::unique_ptr<TChartSeriesList> seriesList_;
  std::vector<TChartAxis*> axesList_;
  std::vector<std::unique_ptr<TChartAxis>> ownedAxes_;
  std::vector<TChartAxis*> customAxes_;
  bool axisBehind_ = true;
  bool axisVisible_ = true;
  bool clipPoints_ = true;
  int chart3DPercent_ = 15;
  bool view3DWalls_ = true;
  bool destroyingAxisPanel_ = false;

  // ---- Axis ranges (axis_panel_range.cpp) --------------------------------------------------
 public:
  // The smallest (isMin) or largest X (isX) or Y value of the series on axis, 0 without any:
  // active series whose horizontal (vertical) axis is axis or both axes; the inactive ones only
  // when no active series is on it.
  virtual double InternalMinMax(const TChartAxis* axis, bool isMin, bool isX);
  // The automatic range of axis: the extremes of its series' X or Y values (the page window's
  // when paging).
  double MaxXValue(const TChartAxis* axis) { return InternalMinMax(axis, false, true); }
  double MinXValue(const TChartAxis* axis) { return InternalMinMax(axis, true, true); }
  double MaxYValue(const TChartAxis* axis) { return InternalMinMax(axis, false, false); }
  double MinYValue(const TChartAxis* axis) { return InternalMinMax(axis, true, false); }
  // The axes map values without clamping the rounded offset first; each axis rebinds.
  bool GetAxesFastCalc() const { return axesFastCalc_; }
  void SetAxesFastCalc(bool value);
  // The axis' visibility as the last layout found it.
  bool IsAxisVisible(const TChartAxis* axis) const;
  // The canvas width of the widest line of text (lines end as PlotLineEnd says; a final break
  // starts no line) and the number of lines, 0 for an empty text.
  int MultiLineTextWidth(const std::string& text, int& numLines);
  // Every axis label text passes through this (value labels with no series and index -1).
  TAxisOnGetLabel OnGetAxisLabel;
  // Lets the program give the values of an axis' labels one by one.
  TAxisOnGetNextLabel OnGetNextAxisLabel;

 private:
  bool axesFastCalc_ = false;

  // ---- Pages (pages.cpp) -------------------------------------------------------------------
 public:
  TChartPage& Pages() { return *pages_; }
  const TChartPage& Pages() const { return *pages_; }
  // Copies the settings into the chart's own pages.
  void SetPages(const TChartPage* value);
  int GetPage() const { return pages_->GetCurrent(); }
  void SetPage(int value) { pages_->SetCurrent(value); }
  int GetPointsPerPage() const { return pages_->GetMaxPointsPerPage(); }
  void SetPointsPerPage(int value) { pages_->SetMaxPointsPerPage(value); }
  bool GetScaleLastPage() const { return pages_->GetScaleLastPage(); }
  void SetScaleLastPage(bool value) { pages_->SetScaleLastPage(value); }
  int NumPages() const { return pages_->Count(); }
  void NextPage();
  void PreviousPage();
  // One printed page per chart page, fromPage to toPage (0: the first, the last), in one print
  // job; the shown page comes back afterwards (pages_print.cpp).
  void PrintPages(int fromPage = 0, int toPage = 0);

 private:
  std::unique_ptr<TChartPage> pages_ = std::make_unique<TChartPage>(this);

  // ---- Axis drawing (axis_draw.cpp) ----------------------------------------------------------
 public:
  // The thickness of the 3D wall behind axis; the chart with walls overrides it.
  virtual int CalcWallSize(const TChartAxis* /*axis*/) const { return 0; }

  // ---- Axes and tools lists, the layout pass (axis_layout.cpp, axes_lists.cpp, tools.cpp) ---
 public:
  TChartAxes& Axes() { return *axes_; }
  const TChartAxes& Axes() const { return *axes_; }
  TChartCustomAxes& CustomAxes() { return *customAxesList_; }
  const TChartCustomAxes& CustomAxes() const { return *customAxesList_; }
  TChartTools& Tools() { return *tools_; }
  const TChartTools& Tools() const { return *tools_; }
  // ChartEvent on every active tool, in list order.
  void BroadcastToolEvent(TChartToolEvent event);
  // Raises Exception outside 1..100.
  void Set3DPercent(int value);
  // The layout of one paint without drawing: Z order, the 3D depths of the chart rectangle,
  // the axes' visibility, ranges, room and positions, the series' depths and margins. After it
  // ChartRect is what the axes left for the series.
  void CalcLayout(const TRect& chartRect);
  void CalcInvertedRotation();
  void CalcZOrder();
  // Depth sizes from ChartRect and MaxZOrder (the chart calls it from its wall rectangle).
  void CalcSize3DWalls();
  void CalcAxesLayout();
  void CalcSeriesMargins();
  bool CalcIsAxisVisible(const TChartAxis* axis) const;
  // False at the first active series that uses no axes, True at the first on axis, True with
  // no active series.
  bool HasActiveSeries(const TChartAxis* axis) const;
  bool NoActiveSeries(const TChartAxis* axis) const;
  int Width3D() const { return Depth3D; }
  int Height3D() const { return Depth3DY; }
  bool RotationInverted = false;
  int MaxZOrder = 0;
  int SeriesWidth3D = 0;
  int SeriesHeight3D = 0;

 protected:
  // The chart with walls computes its wall rectangle here and calls CalcSize3DWalls.
  virtual void CalcWallsRect() { CalcSize3DWalls(); }
  // The panel's own handling, then the tools hear cteMouseLeave.
  void MouseLeave() override;

 private:
  // Axis tools forget their axes, then every tool is freed.
  void FreeTools();
  std::unique_ptr<TChartAxes> axes_ = std::make_unique<TChartAxes>(this);
  std::unique_ptr<TChartCustomAxes> customAxesList_ = std::make_unique<TChartCustomAxes>(this);
  std::unique_ptr<TChartTools> tools_ = std::make_unique<TChartTools>(this);

  // ---- The drawing pass (axis_panel_draw.cpp) ----------------------------------------------
 public:
  // The whole picture: background, titles and legend, walls, axes, series with clip and marks,
  // the events and tool notifications between them. AutoRepaint is off meanwhile.
  void InternalDraw(const TRect& rect) override;
  // The chart component draws its titles and legend (before or after the series) and walls.
  virtual void DrawTitlesAndLegend(bool /*beforeSeries*/) {}
  virtual void DrawWalls() {}
  // True when the back plane at depth z faces away (drawn after the series).
  virtual bool DrawBackWallAfter(int z);
  // A rectangle in the current pen and brush; outlined again when the brush is the legend's
  // background colour.
  virtual void DrawLegendShape(const TRect& rect);
  // Every visible axis (Draw(true)), unless AxisVisible is off.
  void DrawAxes();
  // The active series in Z order, each clipped, with its marks.
  void DrawAllSeries();
  // The widest label text of all series (multi-line: the widest line).
  int MaxTextWidth();
  // The widest mark of the active series.
  int MaxMarkWidth();
  virtual void DoOnBeforeDrawChart();
  virtual void DoOnBeforeDrawAxes();
  virtual void DoOnBeforeDrawSeries();
  virtual void DoOnAfterDraw();
  platform::TNotifyEvent OnBeforeDrawChart;
  platform::TNotifyEvent OnBeforeDrawAxes;
  platform::TNotifyEvent OnBeforeDrawSeries;
  // OnAfterDraw is the extended panel's (published there).
};

}  // namespace chart
