// The chart component: the axis panel with four titles, four walls and a legend, the page
// shortcuts, the legend texts and the series order. TChart is the class layouts create.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/engine/axis_panel.h"

namespace chart {

class TChartTitle;
class TChartFootTitle;
class TChartWalls;
class TChartBackWall;
class TChartWall;
class TChartRightWall;
class TChartLegend;
class TCustomChart;
enum TLegendStyle : int;

using TOnGetLegendText = std::function<void(TCustomAxisPanel* Sender, TLegendStyle LegendStyle,
                                            int Index, std::string& LegendText)>;
using TOnGetLegendPos =
    std::function<void(TCustomChart* Sender, int Index, int& X, int& Y, int& XColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart* Sender, TRect& Rect)>;

enum TChartClickedPartStyle {
  cpNone,
  cpLegend,
  cpAxis,
  cpSeries,
  cpTitle,
  cpFoot,
  cpChartRect,
  cpSeriesMarks,
  cpSubTitle,
  cpSubFoot
};

// What lies under a point: the part, the point (or legend item) index, the series, the axis.
struct TChartClickedPart {
  TChartClickedPartStyle Part = cpNone;
  int PointIndex = -1;
  TChartSeries* ASeries = nullptr;
  TChartAxis* AAxis = nullptr;
};

// One axis' scales before the first zoom or scroll. Axis is the axis' serial number, so an axis
// made or freed meanwhile never takes another axis' entry.
struct TAxisSavedScales {
  std::uint64_t Axis = 0;
  bool Auto = true;
  bool AutoMin = true;
  bool AutoMax = true;
  double Min = 0;
  double Max = 0;
};
using TAllAxisSavedScales = std::vector<TAxisSavedScales>;

using TChartClick = std::function<void(TCustomChart* Sender, platform::TMouseButton Button,
                                       platform::TShiftState Shift, int X, int Y)>;
using TChartClickAxis =
    std::function<void(TCustomChart* Sender, TChartAxis* Axis, platform::TMouseButton Button,
                       platform::TShiftState Shift, int X, int Y)>;
using TChartClickSeries =
    std::function<void(TCustomChart* Sender, TChartSeries* Series, int ValueIndex,
                       platform::TMouseButton Button, platform::TShiftState Shift, int X, int Y)>;
using TChartClickTitle =
    std::function<void(TCustomChart* Sender, TChartTitle* ATitle, platform::TMouseButton Button,
                       platform::TShiftState Shift, int X, int Y)>;
using TChartAllowScrollEvent =
    std::function<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;

// Each animated zoom frame moves the axes this part of the way (a third) to the target.
extern double AnimatedZoomFactor;
// Keys that must be held for panning (none by default).
extern platform::TShiftState PlotScrollKeyShift;

class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(platform::TComponent* Owner,
                        platform::TPanelSurface surface = platform::TPanelSurface::Window);
  ~TCustomChart() override;
  const char* ClassName() const override { return "TCustomChart"; }

  TChartTitle* Title() const { return title_.get(); }
  TChartTitle* SubTitle() const { return subTitle_.get(); }
  TChartFootTitle* Foot() const { return foot_.get(); }
  TChartFootTitle* SubFoot() const { return subFoot_.get(); }
  void SetTitle(const TChartTitle* value);
  void SetSubTitle(const TChartTitle* value);
  void SetFoot(const TChartTitle* value);
  void SetSubFoot(const TChartTitle* value);
  TChartWalls* Walls() const { return walls_.get(); }
  TChartBackWall* BackWall() const;
  TChartWall* LeftWall() const;
  TChartWall* BottomWall() const;
  TChartRightWall* RightWall() const;
  // The back wall's pen.
  TChartPen* Frame() const;
  TChartLegend* Legend() const { return legend_.get(); }
  void SetLegend(const TChartLegend* value);
  platform::TMouseButton ScrollMouseButton = platform::mbRight;
  int ColorPaletteIndex = 0;

  // The back wall's colour unless the back wall is transparent.
  TColor GetBackColor() override;
  // Sets the back wall's colour; at run time its brush turns solid.
  void SetBackColor(TColor color);
  // False when only series without axes (pies) are active.
  bool ActiveSeriesUseAxis() const;
  void PrepareWallCanvas(TChartWall* wall);

  // Titles, walls and legend in the drawing pass.
  void CalcWallsRect() override;
  int CalcWallSize(const TChartAxis* axis) const override;
  void DrawTitlesAndLegend(bool beforeSeries) override;
  void DrawWalls() override;
  void DrawLegendShape(const TRect& rect) override;
  bool DrawWallFirst(int x);
  bool DrawLeftWallFirst() { return DrawWallFirst(ChartRect.Left); }
  bool DrawRightWallAfter() { return !DrawWallFirst(ChartRect.Right); }

  // Pages: nothing without paging, or past the first or last page.
  void NextPage();
  void PreviousPage();
  void SeriesUp(TChartSeries* series);
  void SeriesDown(TChartSeries* series);
  void RemoveAllSeries();
  // The first active series, or null.
  TChartSeries* GetASeries() const;
  // The legend's text of item index, after OnGetLegendText.
  std::string FormattedLegend(int index);
  std::string FormattedValueLegend(TChartSeries* series, int valueIndex) override;
  bool IsFreeSeriesColor(TColor color, bool checkBackground,
                         const TChartSeries* skip) const override;
  // The axis title, or the axis' standard name.
  std::string AxisTitleOrName(const TChartAxis* axis) const;
  void Assign(const platform::TPersistent* source) override;

  TOnGetLegendText OnGetLegendText;
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;

  // ---- Mouse: clicked parts, zoom, panning, wheel (chart_mouse.cpp) -------------------------
  void CalcClickedPart(TPoint point, TChartClickedPart& part);
  // One entry per non-depth axis of the axis list.
  void SaveScales(TAllAxisSavedScales& scales) const;
  // The axes that still exist take their entries back; then the array is empty.
  void RestoreScales(TAllAxisSavedScales& scales);
  void DoZoom(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
              double leftMax, double rightMin, double rightMax);
  void ZoomRect(const TRect& rect);
  void ZoomPercent(double percent);
  // The zoom rectangle's corners as values of the four standard axes, then DoZoom.
  virtual void CalcZoomPoints();
  // Back to the scales saved at the first zoom or scroll.
  void UndoZoom() override;
  // Every vertical axis by 3 % of its range: up for True.
  void ScrollVerticalAxes(bool up);

  TAllAxisSavedScales SavedScales;
  bool ScalesFree = true;
  // False keeps the wheel off this chart's axes, whatever PlotUseMouseWheel says.
  bool UseMouseWheel = true;
  TChartAllowScrollEvent OnAllowScroll;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickBackground;
  TChartClick OnClickLegend;
  TChartClickSeries OnClickSeries;
  TChartClickTitle OnClickTitle;

 protected:
  void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void MouseMove(platform::TShiftState shift, int x, int y) override;
  bool DoMouseWheelDown(platform::TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(platform::TShiftState shift, TPoint mousePos) override;

 private:
  TChartClickedPart CalcNeedClickedPart(TPoint point, bool needEvents);
  // True when a tool set CancelMouse.
  bool ToolsMouseEvent(TChartMouseEvent event, platform::TMouseButton button,
                       platform::TShiftState shift, int x, int y);
  void StartZoomOrPanning(platform::TMouseButton button, platform::TShiftState shift, int x, int y);
  void PanTo(int x, int y);

  // One wall each (walls.cpp), and the walls and axes drawn over the series in 3D.
  void DrawBackWall();
  void DrawLeftWall();
  void DrawRightWall();
  void DrawBottomWall();
  void DrawSideAxisWithoutBackGrid(TChartAxis* axis);
  void DrawWallsInFront();
  void DrawTitles(bool customPosition);

  std::unique_ptr<TChartTitle> title_;
  std::unique_ptr<TChartTitle> subTitle_;
  std::unique_ptr<TChartFootTitle> foot_;
  std::unique_ptr<TChartFootTitle> subFoot_;
  std::unique_ptr<TChartWalls> walls_;
  std::unique_ptr<TChartLegend> legend_;
};

class TChart : public TCustomChart {
 public:
  using TCustomChart::TCustomChart;
  const char* ClassName() const override { return "TChart"; }
};

}  // namespace chart
