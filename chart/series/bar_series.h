// Bar series: bars standing on the horizontal axis, grouped with the chart's other bar series of
// the same class (side by side, stacked, stacked to 100 %, one row, self-stacked), in thirteen
// shapes, with gradient, bevel, transparency and tick-line fills, and a hit test that follows the
// shape. The horizontal bar series (a later series type) shares everything in TCustomBarSeries.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/canvas/gradient.h"
#include "chart/canvas/pens.h"
#include "chart/engine/series.h"

namespace chart {

enum TBarStyle : std::uint8_t {
  bsRectangle,
  bsPyramid,
  bsInvPyramid,
  bsCilinder,
  bsEllipse,
  bsArrow,
  bsRectGradient,
  bsCone,
  bsBevel,
  bsSlantCube,
  bsDiamond,
  bsInvArrow,
  bsInvCone
};

enum TMultiBar : std::uint8_t { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };

class TCustomBarSeries;
class TPlotBlend;
using TGetBarStyleEvent =
    std::function<void(TCustomBarSeries* Sender, int ValueIndex, TBarStyle& TheBarStyle)>;

// The bar fill; its end colour is the bar's colour, set before each fill.
class TBarSeriesGradient : public TCustomPlotGradient {
 public:
  explicit TBarSeriesGradient(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TBarSeriesGradient"; }
  void Assign(const platform::TPersistent* source) override;
  bool GetRelative() const { return relative_; }
  void SetRelative(bool value);

 private:
  bool relative_ = false;
};

class TCustomBarSeries : public TChartSeries {
 public:
  explicit TCustomBarSeries(platform::TComponent* Owner);
  ~TCustomBarSeries() override;
  CHART_SERIES_CLASS(TCustomBarSeries)

  // ---- Settings ----------------------------------------------------------------------------
  bool GetAutoBarSize() const { return autoBarSize_; }
  void SetAutoBarSize(bool value) { SetBooleanProperty(autoBarSize_, value); }
  bool GetAutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool value) { SetBooleanProperty(autoMarkPosition_, value); }
  TBarStyle GetBarStyle() const { return barStyle_; }
  void SetBarStyle(TBarStyle value);
  int GetBarWidthPercent() const { return barWidthPercent_; }
  void SetBarWidthPercent(int value) { SetIntegerProperty(barWidthPercent_, value); }
  int GetBevelSize() const { return bevelSize_; }
  void SetBevelSize(int value) { SetIntegerProperty(bevelSize_, value); }
  bool GetDark3D() const { return dark3D_; }
  void SetDark3D(bool value) { SetBooleanProperty(dark3D_, value); }
  int GetDepthPercent() const { return depthPercent_; }
  void SetDepthPercent(int value) { SetIntegerProperty(depthPercent_, value); }
  TBarSeriesGradient* GetGradient() const { return gradient_.get(); }
  void SetGradient(const TBarSeriesGradient* value);
  TMultiBar GetMultiBar() const { return multiBar_; }
  // Also given to the chart's other bar series of the same class.
  void SetMultiBar(TMultiBar value);
  int GetOffsetPercent() const { return offsetPercent_; }
  void SetOffsetPercent(int value) { SetIntegerProperty(offsetPercent_, value); }
  bool GetSideMargins() const { return sideMargins_; }
  // Also given to the chart's other bar series of the same class.
  void SetSideMargins(bool value);
  int GetStackGroup() const { return stackGroup_; }
  void SetStackGroup(int value) { SetIntegerProperty(stackGroup_, value); }
  TChartHiddenPen* GetTickLines() const { return tickLines_.get(); }
  void SetTickLines(const TChartPen* value);
  bool GetUseYOrigin() const { return useYOrigin_; }
  void SetUseYOrigin(bool value) { SetBooleanProperty(useYOrigin_, value); }
  double GetYOrigin() const { return yOrigin_; }
  void SetYOrigin(double value) { SetDoubleProperty(yOrigin_, value); }
  int GetCustomBarWidth() const { return customBarWidth_; }
  void SetCustomBarWidth(int value);
  // The series' pen and brush under the bar names.
  TChartPen* GetBarPen() const { return GetPen(); }
  void SetBarPen(const TChartPen* value) { SetPen(value); }
  TChartBrush* GetBarBrush() const { return GetBrush(); }
  void SetBarBrush(const TChartBrush* value) { SetBrush(value); }
  TGetBarStyleEvent OnGetBarStyle;
  // Top size of the cones; not stored.
  int ConePercent = 0;
  // Blending amount of each bar (0 none); not stored.
  std::uint8_t Transparency = 0;

  // ---- Working state of a drawing pass -----------------------------------------------------
  int SideBySideCount = 0;
  int SlotCount = -1;
  int BarOrder = 1;
  int PointsBefore = 0;
  int BarThickness = 0;
  TRect BarRect{};
  TColor CurrentBarColor = platform::clNone;

  // ---- Operations --------------------------------------------------------------------------
  int AddBar(double value, const std::string& label = {}, TColor color = platform::clDefault);
  // Pixels one bar group needs at each end of the bar axis.
  int BarMargin() const;
  // Pixels a mark needs beyond the bar's end (0 with no points or hidden marks).
  int CalcMarkLength(int valueIndex);
  // BarStyle, then OnGetBarStyle.
  TBarStyle GetBarStyle(int valueIndex);
  // Where a bar starts on the value axis: the stack below it, or YOrigin.
  virtual double PointOrigin(int valueIndex, bool sumAll);
  double MaxMandatoryValue(double value);
  double MinMandatoryValue(double value);
  virtual int InternalCalcMarkLength(int /*valueIndex*/) { return 0; }
  virtual bool InternalClicked(int /*valueIndex*/, TPoint /*point*/) { return false; }
  virtual bool SubGalleryStack() const { return true; }
  virtual void DrawTickLine(int /*pos*/, TBarStyle /*style*/) {}
  // The bar's rectangle into BarRect.
  virtual void CalcBarBounds(int /*valueIndex*/) {}
  // Pixel of the bar's start on the value axis.
  virtual int GetOriginPos(int valueIndex);

  // ---- Series slots ------------------------------------------------------------------------
  void Assign(const platform::TPersistent* source) override;
  std::string GetEditorClass() const override { return "TBarSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* chart) override;
  void DoBeforeDrawChart() override;
  void CalcFirstLastVisibleIndex() override;
  void CalcZOrder() override;
  void CalcDepthPositions() override;
  void CreateSubGallery(const TAddSubChart& addSubChart) override;
  void SetSubGallery(int index) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor,
                           platform::TBrushStyle& brushStyle) override;
  int Clicked(int x, int y) override;
  void PrepareForGallery(bool isEnabled) override;
  int NumSampleValues() const override;
  void AddSampleValues(int numValues, bool onlyMandatory = false) override;

  // Draws the bar in its style between startPos <= endPos on the value axis.
  virtual void DrawBar(int valueIndex, int startPos, int endPos) = 0;

 protected:
  void SetOtherBars(bool setOthers);
  // Adds BarMargin to both margins after computing BarThickness.
  void InternalApplyBarMargin(int& margin1, int& margin2);
  int ApplyBarOffset(int pos) const;
  virtual int InternalGetOriginPos(int valueIndex, int defaultPos);
  void CalcBarSize();
  // Starts blending over the bar; the returned object ends it when destroyed.
  std::unique_ptr<TPlotBlend> CreateBlend();
  // The canvas pen and brush for a bar of color.
  void SetPenBrushBar(TColor color);
  void BarRectangle(TColor color, int left, int top, int right, int bottom);
  void BarGradient(int valueIndex, TRect rect);
  void CalcGradientColor(int valueIndex);
  void DrawBevel();
  void DrawTickLines(int startPos, int endPos, TBarStyle style);
  // The bar in its style between startPos <= endPos on the value axis, standing on the
  // horizontal axis (vertical) or on the vertical one; then its fills and tick lines.
  void DrawBarShape(int valueIndex, int startPos, int endPos, bool vertical);
  // The point's bar, blended when transparent, standing on the horizontal axis (vertical) or on
  // the vertical one.
  void DrawBarValue(int valueIndex, bool vertical);
  // Whether point hits the bar of valueIndex, following its shape.
  bool ClickedShape(int valueIndex, TPoint point, bool vertical);
  // The bar axis (horizontal for vertical bars) and the value axis.
  TChartAxis* BarAxis() const;
  TChartAxis* ValueAxis() const;
  // s when it is a bar series of this one's class, else null.
  TCustomBarSeries* SameBar(TChartSeries* s) const;
  // value as a percent of the point's total of absolute values (0 for a total of 0).
  double StackedPercent(int valueIndex, double value);
  // A new series of this class, for the gallery's grouping entries.
  virtual TCustomBarSeries* NewSameClass(platform::TComponent* /*owner*/) const { return nullptr; }
  int customBarWidth_ = 0;

 private:
  bool autoBarSize_ = false;
  bool autoMarkPosition_ = true;
  TBarStyle barStyle_ = bsRectangle;
  int barWidthPercent_ = 70;
  int bevelSize_ = 1;
  bool dark3D_ = true;
  int depthPercent_ = 100;
  std::unique_ptr<TBarSeriesGradient> gradient_;
  TMultiBar multiBar_ = mbSide;
  int offsetPercent_ = 0;
  bool sideMargins_ = true;
  int stackGroup_ = 0;
  std::unique_ptr<TChartHiddenPen> tickLines_;
  bool useYOrigin_ = true;
  double yOrigin_ = 0;
};

// Vertical bars: one per point, standing on the horizontal axis, as high as the point's Y.
class TBarSeries : public TCustomBarSeries {
 public:
  explicit TBarSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(TBarSeries)

  void CalcHorizMargins(int& left, int& right) override;
  void CalcVerticalMargins(int& top, int& bottom) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawValue(int valueIndex) override;
  double MaxXValue() override;
  double MinXValue() override;
  double MaxYValue() override;
  double MinYValue() override;
  int CalcXPos(int valueIndex) override;
  int CalcYPos(int valueIndex) override;
  bool MoreSameZOrder() const override;
  bool DrawSeriesForward(int valueIndex) const override;
  int InternalCalcMarkLength(int valueIndex) override;
  bool InternalClicked(int valueIndex, TPoint point) override;
  void CalcBarBounds(int valueIndex) override;
  void DrawTickLine(int pos, TBarStyle style) override;
  void DrawBar(int valueIndex, int startPos, int endPos) override;

 protected:
  TCustomBarSeries* NewSameClass(platform::TComponent* owner) const override;
};

// Horizontal bars: one per point, standing on the vertical axis at the point's Y and reaching
// along the horizontal axis to its X (horiz_bar_series.cpp, horiz_bar_draw.cpp).
class THorizBarSeries : public TCustomBarSeries {
 public:
  explicit THorizBarSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(THorizBarSeries)

  // The same setting as the vertical bars' CustomBarWidth.
  int GetCustomBarHeight() const { return customBarWidth_; }
  void SetCustomBarHeight(int value) { SetCustomBarWidth(value); }

  void CalcHorizMargins(int& left, int& right) override;
  void CalcVerticalMargins(int& top, int& bottom) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawValue(int valueIndex) override;
  double MaxXValue() override;
  double MinXValue() override;
  double MaxYValue() override;
  double MinYValue() override;
  int CalcXPos(int valueIndex) override;
  int CalcYPos(int valueIndex) override;
  bool DrawSeriesForward(int valueIndex) const override;
  int InternalCalcMarkLength(int valueIndex) override;
  bool InternalClicked(int valueIndex, TPoint point) override;
  void CalcBarBounds(int valueIndex) override;
  int GetOriginPos(int valueIndex) override;
  void DrawTickLine(int pos, TBarStyle style) override;
  // Draws the bar in its style between startPos <= endPos on the horizontal axis.
  void DrawBar(int valueIndex, int startPos, int endPos) override;

 protected:
  TCustomBarSeries* NewSameClass(platform::TComponent* owner) const override;
};

}  // namespace chart
