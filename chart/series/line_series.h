// Series that join their points: a line from point to point (stairs, a 3D ribbon or band, an
// outline and a shadow), an area filled down to an origin, and a pointer at each point. The five
// thin classes switch those three parts on or off. Points may be stacked on the points of the
// chart's other series of the same class.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/canvas/gradient.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/shadow.h"
#include "chart/engine/series.h"
#include "chart/engine/series_pointer.h"

namespace chart {

enum TCustomSeriesStack : std::uint8_t { cssNone, cssOverlap, cssStack, cssStack100 };
enum TMultiArea : std::uint8_t { maNone, maStacked, maStacked100 };

class TCustomSeries;
using TSeriesClickPointerEvent =
    std::function<void(TCustomSeries* Sender, int ValueIndex, int X, int Y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// The series' pen under the line's name.
class TCustomLineSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  CHART_SERIES_CLASS(TCustomLineSeries)
  TChartPen* GetLinePen() const { return GetPen(); }
  void SetLinePen(const TChartPen* value) { SetPen(value); }
};

class TCustomSeries : public TCustomLineSeries {
 public:
  explicit TCustomSeries(platform::TComponent* Owner);
  ~TCustomSeries() override;
  CHART_SERIES_CLASS(TCustomSeries)

  // ---- Settings (line_series.cpp) ----------------------------------------------------------
  TChartBrush* GetAreaChartBrush() const { return areaBrush_.get(); }
  void SetAreaChartBrush(const TChartBrush* value);
  // The style of AreaChartBrush.
  platform::TBrushStyle GetAreaBrush() const;
  void SetAreaBrush(platform::TBrushStyle value);
  // clDefault: the point colour.
  TColor GetAreaColor() const { return areaColor_; }
  void SetAreaColor(TColor value) { SetColorProperty(areaColor_, value); }
  TChartPen* GetAreaLinesPen() const { return areaLinesPen_.get(); }
  void SetAreaLinesPen(const TChartPen* value);
  // The style of the series brush (3D line planes).
  platform::TBrushStyle GetLineBrush() const;
  void SetLineBrush(platform::TBrushStyle value);
  bool GetClickableLine() const { return clickableLine_; }
  void SetClickableLine(bool value) { SetBooleanProperty(clickableLine_, value); }
  bool GetColorEachLine() const { return colorEachLine_; }
  void SetColorEachLine(bool value) { SetBooleanProperty(colorEachLine_, value); }
  bool GetDark3D() const { return dark3D_; }
  void SetDark3D(bool value) { SetBooleanProperty(dark3D_, value); }
  bool GetDrawArea() const { return drawArea_; }
  void SetDrawArea(bool value) { SetBooleanProperty(drawArea_, value); }
  TPlotGradient* GetGradient() const { return gradient_.get(); }
  void SetGradient(const TCustomPlotGradient* value);
  bool GetInvertedStairs() const { return invertedStairs_; }
  void SetInvertedStairs(bool value) { SetBooleanProperty(invertedStairs_, value); }
  int GetLineHeight() const { return lineHeight_; }
  void SetLineHeight(int value) { SetIntegerProperty(lineHeight_, value); }
  TChartHiddenPen* GetOutLine() const { return outLine_.get(); }
  void SetOutLine(const TChartPen* value);
  TSeriesPointer* GetPointer() const { return pointer_.get(); }
  void SetPointer(const TSeriesPointer* value);
  TPlotShadow* GetShadow() const { return shadow_.get(); }
  void SetShadow(const TPlotShadow* value);
  TCustomSeriesStack GetStacked() const { return stacked_; }
  // Also given to every series of the chart of this class or a descendant.
  void SetStacked(TCustomSeriesStack value);
  bool GetStairs() const { return stairs_; }
  void SetStairs(bool value) { SetBooleanProperty(stairs_, value); }
  // The area's blending (point series: the pointer's).
  virtual int GetTransparency() const { return transparency_; }
  virtual void SetTransparency(int value);
  TSeriesClickPointerEvent OnClickPointer;
  TOnGetPointerStyle OnGetPointerStyle;
  // Draw the joining line; set by the classes.
  bool JoinPoints = true;

  // ---- Working state of a drawing pass -----------------------------------------------------
  int PrevX = 0, PrevY = 0, PrevBottom = 0, CurrentBottom = 0;
  TColor PrevColor = platform::clNone;
  double SlopeLimit = 0;

  // ---- Stacking, extent, origin (line_series.cpp) ------------------------------------------
  // Sum of the origins of the chart's same-class series below this one at index i (all of them
  // with sumAll), same sign as this series' value at i.
  double PointOrigin(int valueIndex, bool sumAll);
  // Value-axis pixel of a stacked value (the axis end pixel for a stacked-100 total of 0).
  int CalcStackedPos(int valueIndex, double value);
  // Pixel of the point's origin on the value axis.
  virtual int GetOriginPos(int valueIndex);
  bool IsStacked() const { return stacked_ == cssStack || stacked_ == cssStack100; }
  // The value axis (vertical for vertical series) and the other one.
  TChartAxis* ValueAxis() const;
  TChartAxis* PositionAxis() const;

  // ---- Drawing (line_draw.cpp) -------------------------------------------------------------
  // Draws the pointer in the style OnGetPointerStyle gives, else the pointer's Style.
  void DrawPointer(int x, int y, TColor color, int valueIndex);
  virtual void PreparePointer(int /*valueIndex*/) {}
  virtual TCustomPlotGradient* GetGradientObject() const { return gradient_.get(); }

  // ---- Hit test, marks (line_hit.cpp) ------------------------------------------------------
  // Pixels a mark needs beyond its point: callout Length + Distance.
  virtual int CalcMarkLength(int valueIndex);
  virtual bool ClickedPointer(int valueIndex, int x, int y, int clickX, int clickY);

  // ---- Series slots ------------------------------------------------------------------------
  void Assign(const platform::TPersistent* source) override;  // line_series.cpp
  std::string GetEditorClass() const override { return "TCustomSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* chart) override;     // line_series.cpp
  void CalcHorizMargins(int& left, int& right) override;     // line_series.cpp
  void CalcVerticalMargins(int& top, int& bottom) override;  // line_series.cpp
  void CalcZOrder() override;                                // line_series.cpp
  double MaxXValue() override;                               // line_series.cpp
  double MinXValue() override;
  double MaxYValue() override;
  double MinYValue() override;
  int CalcXPos(int valueIndex) override;  // line_series.cpp
  int CalcYPos(int valueIndex) override;
  void DrawAllValues() override;  // line_draw.cpp
  void DrawValue(int valueIndex) override;
  void DrawMark(int valueIndex, const std::string& text,
                TSeriesMarkPosition& position) override;             // line_hit.cpp
  int Clicked(int x, int y) override;                                // line_hit.cpp
  bool RaiseClicked() const override;                                // line_hit.cpp
  void DrawLegendShape(int valueIndex, const TRect& rect) override;  // line_legend.cpp
  void PrepareLegendCanvas(int valueIndex, TColor& backColor,
                           platform::TBrushStyle& brushStyle) override;  // line_legend.cpp

 protected:
  // Steps of DrawValue (line_draw.cpp).
  void DrawSegment(int valueIndex, int x, int y, TColor color, bool isLast, bool withPointers);
  void DrawAreaSegment(int valueIndex, int x, int y, TColor color, bool isLast);
  // The area colour of point i: AreaColor unless it is clDefault or ColorEachPoint.
  TColor AreaColorOf(TColor pointColor) const;
  // The value-axis extent including stacking (line_series.cpp); horizontal series use it on X.
  double StackedMaxValue(double baseMax);
  double StackedMinValue(double baseMin);
  // True for series whose values run along the horizontal axis.
  bool IsHorizontalSeries() const { return !YIsValue(); }

 private:
  // More steps of DrawValue (line_draw.cpp).
  void DrawLine3D(int x, int y, TColor color, bool isLast);
  void DrawLine2D(int x, int y, TColor color);
  void DrawAreaStairs(int x, int y);
  void DrawAreaPolygon(int x, int y);
  // The incoming segment's start on the plot edge, from point prev outside it.
  void StartAtEdge(int prev, int x, int y);
  // The series colour, or the colour of the shadow or outline pass.
  TColor PassSeriesColor() const;
  // The previous point drawn (-1: none); the first of a pass is not its successor.
  int prevIndex_ = -1;
  // The shadow pass draws no pointers.
  bool hidePointers_ = false;
  // Colour of every point in the shadow or outline pass (clNone: their own).
  TColor passColor_ = platform::clNone;

  std::unique_ptr<TChartBrush> areaBrush_;
  TColor areaColor_ = platform::clDefault;
  std::unique_ptr<TChartPen> areaLinesPen_;
  bool clickableLine_ = true;
  bool colorEachLine_ = true;
  bool dark3D_ = true;
  bool drawArea_ = false;
  std::unique_ptr<TPlotGradient> gradient_;
  bool invertedStairs_ = false;
  int lineHeight_ = 0;
  std::unique_ptr<TChartHiddenPen> outLine_;
  std::unique_ptr<TSeriesPointer> pointer_;
  std::unique_ptr<TPlotShadow> shadow_;
  TCustomSeriesStack stacked_ = cssNone;
  bool stairs_ = false;
  int transparency_ = 0;
};

class TLineSeries : public TCustomSeries {
 public:
  explicit TLineSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(TLineSeries)
  void CreateSubGallery(const TAddSubChart& addSubChart) override;  // line_legend.cpp
  void SetSubGallery(int index) override;
};

class THorizLineSeries : public TLineSeries {
 public:
  explicit THorizLineSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(THorizLineSeries)
  // The widest mark, for -1; marks sit left or right of the point (line_hit.cpp).
  int CalcMarkLength(int valueIndex) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
};

class TPointSeries : public TCustomSeries {
 public:
  explicit TPointSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(TPointSeries)
  std::string GetEditorClass() const override { return "TSeriesPointerEditor"; }
  // Points never join, fill or take clicks on segments, whatever was assigned.
  void Assign(const platform::TPersistent* source) override;
  // The gallery offers the pointer-style entries.
  virtual bool CanDoExtra() const { return true; }
  int GetTransparency() const override;
  void SetTransparency(int value) override;
  void CreateSubGallery(const TAddSubChart& addSubChart) override;  // line_legend.cpp
  void SetSubGallery(int index) override;
  void PrepareForGallery(bool isEnabled) override;
};

class TAreaSeries : public TCustomSeries {
 public:
  explicit TAreaSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(TAreaSeries)
  std::string GetEditorClass() const override { return "TAreaSeriesEditor"; }
  // A view of Stacked: maNone cssNone, maStacked cssStack, maStacked100 cssStack100.
  TMultiArea GetMultiArea() const;
  void SetMultiArea(TMultiArea value);
  bool GetUseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool value) { SetBooleanProperty(useYOrigin_, value); }
  double GetYOrigin() const { return yOrigin_; }
  void SetYOrigin(double value) { SetDoubleProperty(yOrigin_, value); }
  void Assign(const platform::TPersistent* source) override;  // line_series.cpp
  int GetOriginPos(int valueIndex) override;                  // line_series.cpp
  double MaxXValue() override;                                // line_series.cpp
  double MinXValue() override;
  double MaxYValue() override;
  double MinYValue() override;
  bool DrawSeriesForward(int valueIndex) const override;            // line_legend.cpp
  void CreateSubGallery(const TAddSubChart& addSubChart) override;  // line_legend.cpp
  void SetSubGallery(int index) override;
  void PrepareForGallery(bool isEnabled) override;

 private:
  bool useYOrigin_ = false;
  double yOrigin_ = 0;
};

class THorizAreaSeries : public TAreaSeries {
 public:
  explicit THorizAreaSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(THorizAreaSeries)
  // Marks centred vertically on the arrow end (line_hit.cpp).
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
};

}  // namespace chart
