// The chart component: the axis panel with four titles, four walls and a legend, the page
// shortcuts, the legend texts and the series order. TChart is the class layouts create.
#pragma once

#include <functional>
#include <memory>
#include <string>

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

 private:
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
