// An axis of a chart: its published range (automatic or fixed, logarithmic, inverted), the
// effective range and pixel span of the last layout, and the routines that turn values into
// pixels and back. Series place every point through CalcXPosValue / CalcYPosValue.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/common/chart_exception.h"
#include "chart/common/date_time.h"
#include "chart/engine/axis_parts.h"
#include "chart/panel/plot_panel.h"
#include "platform/vcl/component.h"

namespace chart {

class TCustomAxisPanel;

// A rejected axis setting; the old value stays.
class AxisException : public ChartException {
 public:
  using ChartException::ChartException;
};

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum TAxisLabelAlign { alDefault, alOpposite };

// The next step of the 1-2-5 ladder: 1 -> 2 -> 5 -> 10 -> 20, 0.3 -> 0.5.
double NextAxisStep(double s);

class TChartAxis;
class TChartSeries;
using TAxisDrawLabelEvent = std::function<void(TChartAxis* Sender, int& X, int& Y, int& Z,
                                               std::string& Text, bool& DrawLabel)>;

using TAxisOnGetLabel = std::function<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex,
                                           std::string& LabelText)>;
using TAxisOnGetNextLabel =
    std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

// Nearest pixel (halves to even) within the pixel clamp limit; NaN gives 0.
int PlotClampPixel(long double value);

// Below this the fixed range is widened.
constexpr double MinAxisRange = 1e-10;
// Pixels beyond the axis line that still count as a click on the axis.
constexpr int PlotAxisClickGap = 3;

class TChartAxis : public platform::TPersistent {
 public:
  TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide = false);
  ~TChartAxis() override;
  TChartAxis(const TChartAxis&) = delete;
  TChartAxis& operator=(const TChartAxis&) = delete;
  const char* ClassName() const override { return "TChartAxis"; }

  TCustomAxisPanel* ParentChart() const { return chart_; }
  virtual bool IsDepthAxis() const { return false; }
  // Beyond the six standard axes of its chart.
  bool IsCustom() const;
  // From another axis every setting (not the effective range); anything else cannot be assigned.
  virtual void Assign(const platform::TPersistent* source);

  // ---- Published range -----------------------------------------------------------------------
  bool GetAutomatic() const { return automatic_; }
  void SetAutomatic(bool value);
  bool GetAutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool value);
  bool GetAutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool value);
  double GetMaximum() const { return maximum_; }
  // AxisException when below Minimum, or not a finite number.
  void SetMaximum(double value);
  double GetMinimum() const { return minimum_; }
  // AxisException when above Maximum, or not a finite number.
  void SetMinimum(double value);
  bool IsMaximumStored() const { return !automatic_ && !automaticMaximum_; }
  bool IsMinimumStored() const { return !automatic_ && !automaticMinimum_; }
  int GetMaximumOffset() const { return maximumOffset_; }
  void SetMaximumOffset(int value);
  int GetMinimumOffset() const { return minimumOffset_; }
  void SetMinimumOffset(int value);
  double GetIncrement() const { return desiredIncrement_; }
  // AxisException below 0 (or not finite).
  void SetIncrement(double value);
  bool GetLogarithmic() const { return logarithmic_; }
  // AxisException on a date-time axis, or when the range then holds negative values.
  void SetLogarithmic(bool value);
  double GetLogarithmicBase() const { return logarithmicBase_; }
  // AxisException unless above 0, not 1, and finite.
  void SetLogarithmicBase(double value);
  bool IsLogarithmicBaseStored() const { return logarithmicBase_ != 10; }
  bool GetInverted() const { return inverted_; }
  virtual void SetInverted(bool value);
  bool Horizontal() const { return horizontal_; }
  void SetHorizontal(bool value);
  bool OtherSide() const { return otherSide_; }
  void SetOtherSide(bool value);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool value);
  double GetStartPosition() const { return startPosition_; }
  void SetStartPosition(double value);
  double GetEndPosition() const { return endPosition_; }
  void SetEndPosition(double value);
  double GetPositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double value);
  bool IsStartPositionStored() const { return startPosition_ != 0; }
  bool IsEndPositionStored() const { return endPosition_ != 100; }
  bool IsPositionPercentStored() const { return positionPercent_ != 0; }
  TPlotUnits GetPositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TPlotUnits value);
  double GetZPosition() const { return zPosition_; }
  // 0 is kept as 0.01.
  void SetZPosition(double value);
  bool IsZPositionStored() const;

  // ---- Lines, title and label settings ---------------------------------------------------
  TChartAxisPen* GetAxis() const { return axisPen_.get(); }
  void SetAxis(const TChartAxisPen* value);
  TAxisGridPen* GetGrid() const { return grid_.get(); }
  void SetGrid(const TAxisGridPen* value);
  bool GetGridCentered() const { return grid_->GetCentered(); }
  void SetGridCentered(bool value) { grid_->SetCentered(value); }
  TChartHiddenPen* GetMinorGrid() const { return minorGrid_.get(); }
  void SetMinorGrid(const TChartHiddenPen* value);
  TDarkGrayPen* GetTicks() const { return ticks_.get(); }
  void SetTicks(const TDarkGrayPen* value);
  TDarkGrayPen* GetTicksInner() const { return ticksInner_.get(); }
  void SetTicksInner(const TDarkGrayPen* value);
  TDarkGrayPen* GetMinorTicks() const { return minorTicks_.get(); }
  void SetMinorTicks(const TDarkGrayPen* value);
  int GetTickLength() const { return tickLength_; }
  void SetTickLength(int value);
  int GetTickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int value);
  int GetMinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int value);
  int GetMinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int value);
  bool GetTickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool value);
  TChartAxisTitle* GetTitle() const { return title_.get(); }
  void SetTitle(const TChartAxisTitle* value);
  int GetTitleSize() const { return titleSize_; }
  void SetTitleSize(int value);

  // The labels' visibility and font live in the custom labels' format shape.
  TAxisItems& Items() { return *items_; }
  const TAxisItems& Items() const { return *items_; }
  bool GetLabels() const;
  void SetLabels(bool value);
  TPlotFont* GetLabelsFont() const;
  void SetLabelsFont(const TPlotFont* value);
  TAxisLabelAlign GetLabelsAlign() const { return labelsAlign_; }
  void SetLabelsAlign(TAxisLabelAlign value);
  bool GetLabelsAlternate() const { return labelsAlternate_; }
  void SetLabelsAlternate(bool value);
  int GetLabelsAngle() const { return labelsAngle_; }
  // Kept as the remainder of division by 360 (a negative angle keeps its sign).
  void SetLabelsAngle(int value);
  bool GetLabelsExponent() const { return labelsExponent_; }
  void SetLabelsExponent(bool value);
  bool GetLabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool value);
  bool GetLabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool value);
  int GetLabelsSeparation() const { return labelsSeparation_; }
  // AxisException below 0.
  void SetLabelsSeparation(int value);
  int GetLabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int value);
  TAxisLabelStyle GetLabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle value);
  std::string GetAxisValuesFormat() const { return axisValuesFormat_; }
  void SetAxisValuesFormat(const std::string& value);
  bool IsAxisValuesFormatStored() const;
  std::string GetDateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const std::string& value);
  bool GetExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool value);
  bool GetRoundFirstLabel() const { return roundFirstLabel_; }
  void SetRoundFirstLabel(bool value);
  TAxisDrawLabelEvent OnDrawLabel;

  // ---- Scale (axis_scale.cpp) ---------------------------------------------------------------
  // Minimum and Maximum from the series where automatic, then the effective range from them.
  void AdjustMaxMin();
  void CalcMinMax(double& minimum, double& maximum);
  // Range, pixels per unit and logarithms of the effective range; the Z pixel.
  void InternalCalcRange();
  // Widens the effective range so that the pixel margins (left/right or top/bottom) stay empty.
  void AdjustMaxMinRect(const TRect& margins);
  // A fixed range, swapped when min > max and at least MinAxisRange wide.
  void SetMinMax(double minimum, double maximum);
  // Shifts the range; with checkLimits only towards series values beyond it.
  void Scroll(double offset, bool checkLimits);
  // The stored range as given: no check, no repaint (saved scales coming back).
  void InternalSetMinimum(double value) { minimum_ = value; }
  void InternalSetMaximum(double value) { maximum_ = value; }
  // Unique for the program's run: an axis made later never has a freed axis' number.
  std::uint64_t Serial() const { return serial_; }
  // Start and end pixels from the chart rectangle.
  void InternalCalcPositions();
  void RecalcSizeCenter();
  // pos moved into the chart by PositionPercent.
  int ApplyPosition(int pos, const TRect& r) const;
  int GetRectangleEdge(const TRect& r) const;
  int CalcZPos() const;
  int DepthAxisPos() const;
  unsigned DepthAxisAlign() const;
  // Whether the first active series with values on this axis holds date-times.
  bool IsDateTime() const;
  // The date-time flag the layout and drawing use, set from IsDateTime before each pass.
  bool DateTimeFlag() const { return isDateTime_; }
  void SetDateTimeFlag(bool value) { isDateTime_ = value; }
  // One step of amount up or down from value; calendar steps on an exact date-time axis.
  void IncDecDateTime(bool up, double& value, double step, TDateTimeStep amount) const;

  // ---- Mapping (axis_mapping.cpp) -----------------------------------------------------------
  // Value to pixel along the axis; a zero range gives the centre. Results stay within the pixel
  // clamp limit whatever the value (NaN counts as the minimum).
  int CalcPosValue(double value) const { return (this->*calcPos_)(value); }
  int CalcXPosValue(double value) const { return (this->*calcXPos_)(value); }
  int CalcYPosValue(double value) const { return (this->*calcYPos_)(value); }
  // Length in pixels of value from 0.
  int CalcSizeValue(double value) const;
  // Pixel to value.
  double CalcPosPoint(int pixel) const;
  // Binds the mapping routines (depth, logarithmic, unchecked or checked).
  void SetCalcPosValue();
  // The band between the labels and the axis line.
  TRect AxisRect() const;
  bool Clicked(int x, int y) const;

  // ---- Increments and label texts (axis_labels.cpp) ----------------------------------------
  // The step between value labels, from the size of the labels at the ends and the middle; with
  // value labels (the style, when the caller knows it), widened until they fit.
  double CalcIncrement() { return CalcIncrement(CalcLabelStyle()); }
  double CalcIncrement(TAxisLabelStyle style);
  // The step for as many labels of maxLabelSize pixels (and their separation) as fit.
  double CalcXYIncrement(int maxLabelSize);
  // The step for at most maxNumLabels labels: the 1-2-5 ladder, powers of the logarithmic base,
  // or calendar steps on a date-time axis.
  double CalcLabelsIncrement(int maxNumLabels);
  double CalcDateTimeIncrement(int maxNumLabels);
  // LogarithmicBase raised to the rounded logarithm of value in that base.
  double RoundLogPower(double value) const;
  // The labels font's room for the label of value: along the axis' width or height.
  int InternalLabelSize(double value, bool isWidth);
  // The same for a label text, in the labels font already assigned.
  int LabelTextSize(const std::string& text, bool isWidth);
  // Whether the value labels written at increment leave room along the axis for the label row
  // places before each (2 for alternate labels).
  bool ValueLabelsFit(double increment, int row);
  // The same for the labels a walk visits, in the order it visits them.
  using TLabelVisit = std::function<bool(double)>;
  bool LabelsFit(const std::function<void(const TLabelVisit&)>& walk, int row);
  // The finest step whose value labels the axis' format still writes apart (its last decimal);
  // 0 when the format writes exponents, or the axis shows dates.
  double LabelsResolution() const;
  // The next step up the ladder of the axis (1-2-5, powers of the base, calendar steps).
  double NextIncrement(double increment) const;
  int LabelWidth(double value) { return InternalLabelSize(value, true); }
  int LabelHeight(double value) { return InternalLabelSize(value, false); }
  // The text of the value label at value (through the chart's OnGetAxisLabel).
  virtual std::string LabelValue(double value);
  // LabelStyle, or the style the series on the axis call for when it is talAuto.
  TAxisLabelStyle CalcLabelStyle();
  virtual TAxisLabelStyle InternalCalcLabelStyle();

  // ---- Effective scale, valid from one layout to the next ----------------------------------
  double EffectiveMaximum() const { return iMaximum_; }
  double EffectiveMinimum() const { return iMinimum_; }
  double IRange() const { return iRange_; }
  bool IsZeroRange() const { return iRangeZero_; }
  double PixelsPerUnit() const { return iAxisScale_; }
  double LogMinimum() const { return iLogMin_; }
  double LogMaximum() const { return iLogMax_; }
  double LogRange() const { return iLogRange_; }
  int IStartPos() const { return iStartPos_; }
  int IEndPos() const { return iEndPos_; }
  int IAxisSize() const { return iAxisSize_; }
  int ICenterPos() const { return iCenterPos_; }
  // The start, end and centre pixels; set back as they were, range and scale unchanged (a series
  // drawn once shifted, as its shadow).
  struct TPixelSpan {
    int Start, End, Center;
  };
  TPixelSpan PixelSpan() const { return {iStartPos_, iEndPos_, iCenterPos_}; }
  void SetPixelSpan(const TPixelSpan& span) {
    iStartPos_ = span.Start;
    iEndPos_ = span.End;
    iCenterPos_ = span.Center;
  }
  int IZPos() const { return iZPos_; }
  // Pixels across the axis direction: the axis line, the labels and the title.
  int PosAxis = 0;
  int PosLabels = 0;
  int PosTitle = 0;
  // Whether the last layout found the axis visible (its chart's IsAxisVisible).
  bool LayoutVisible() const { return layoutVisible_; }
  void SetLayoutVisible(bool value) { layoutVisible_ = value; }

  // ---- Labels and ticks of one drawing pass, as data (axis_ticks.cpp) ------------------------
  // A label the loops produced: value, text, pixel along the axis, whether it is drawn (the
  // anti-crowding rule may drop it), and a custom label's own look (null: the labels' format).
  struct TAxisLabelItem {
    double Value = 0;
    std::string Text;
    int Pixel = 0;
    bool Shown = false;
    TPlotCustomShape* Format = nullptr;
  };
  // Tick pixels in the order the loops recorded them (value labels from the maximum down).
  std::vector<int> Tick;
  // The values a logarithmic axis' minor marks start from: each opens a cell of one decade
  // (LogCellStep 0) or of one step up to the next; the cell under the lowest is marked too.
  std::vector<double> LogCells;
  double LogCellStep = 0;
  std::vector<TAxisLabelItem> LabelItems;
  // Runs the label loop of the axis' style into Tick and LabelItems.
  void CalcLabelsAndTicks();
  // The calendar step of date-time labels at increment; dtNone for plain steps.
  TDateTimeStep LabelsStep(double increment) const;
  // Calls visit with each value the value-label loop walks at increment i and calendar step k,
  // from the maximum down, until visit returns false.
  void WalkValueLabels(double i, TDateTimeStep k, const std::function<bool(double)>& visit) const;
  // The widest label the axis can show.
  int MaxLabelsWidth();

  // ---- Drawing (axis_draw.cpp, axis_grid.cpp) ----------------------------------------------
  // Title, labels, axis line, ticks and grids; with calcPosAxis the axis line position first.
  void Draw(bool calcPosAxis);
  void DrawTitle(int x, int y);
  // One label or title text at (x, y), aligned and rotated by angle, in format's box (null:
  // the labels' format).
  void DrawAxisLabel(int x, int y, int angle, const std::string& text, TPlotCustomShape* format);
  void DrawGridLine(int pixel);
  void DrawGrids(int tickCount);
  void CustomDraw(int posLabels, int posTitle, int posAxis, bool gridVisible);
  void CustomDrawStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible, int startPos,
                          int endPos);
  void CustomDrawMinMax(int posLabels, int posTitle, int posAxis, bool gridVisible, double minimum,
                        double maximum, double increment);
  void CustomDrawMinMaxStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible,
                                double minimum, double maximum, double increment, int startPos,
                                int endPos);
  // Set by the chart for 3D walls; the hook runs before the grid is drawn.
  bool BackGridHidden = false;
  bool SideGridHidden = false;
  std::function<void()> OnBeforeDrawGrid;

  // ---- Room taken from the chart rectangle (axis_layout.cpp) -------------------------------
  // Pixels of the axis line and the (outer or minor) ticks.
  int SizeTickAxis() const;
  // Pixels of the labels across the axis (twice with LabelsAlternate).
  int SizeLabels();
  // Room of one text: size when not 0, else the font height when the text runs along the thin
  // direction, else the text's width (MaxLabelsWidth for an empty text).
  int InternalCalcSize(TPlotFont* font, int angle, int size, const std::string& text);
  // pos moved outward from the chart by amount.
  int InflateAxisPos(int pos, int amount) const;
  // amount taken off r on the axis' side.
  void InflateAxisRect(TRect& r, int amount) const;
  // The line, labels and title positions; with inflateChartRectangle r also loses the room of
  // the title, the labels, the wall and the ticks, in that order from the outside.
  void CalcRect(TRect& r, bool inflateChartRectangle);
  // A custom axis takes its master's range whenever the master's range is fixed.
  TChartAxis* MasterAxis = nullptr;

 protected:
  // The twin depth axis sets the flag without repainting.
  void StoreInverted(bool value) { inverted_ = value; }
  // The depth axes' own defaults and mapping.
  void InitDepthAxis();

 private:
  using TCalcPos = int (TChartAxis::*)(double) const;

  void Changed();
  void SetBool(bool& variable, bool value);
  void SetInt(int& variable, int value);
  void SetDouble(double& variable, double value);
  void SetString(std::string& variable, const std::string& value);
  void SetPositionPixels(long double start, long double end);

  int XPosValue(double value) const;
  int YPosValue(double value) const;
  int XPosValueCheck(double value) const;
  int YPosValueCheck(double value) const;
  int LogXPosValue(double value) const;
  int LogYPosValue(double value) const;
  int InternalCalcDepthPosValue(double value) const;
  // (value - effective minimum) x pixels per unit, NaN counted as 0.
  long double LinearOffset(double value) const;
  // Rounded pixels of a distance in natural logarithms, NaN counted as 0.
  long double LogOffset(long double logDistance) const;

  static std::uint64_t NextSerial() {
    static std::uint64_t last = 0;
    return ++last;
  }

  TCustomAxisPanel* chart_;
  std::uint64_t serial_ = NextSerial();
  TCalcPos calcPos_ = nullptr;
  TCalcPos calcXPos_ = nullptr;
  TCalcPos calcYPos_ = nullptr;

  bool automatic_ = true;
  bool automaticMaximum_ = true;
  bool automaticMinimum_ = true;
  double maximum_ = 0;
  double minimum_ = 0;
  int maximumOffset_ = 0;
  int minimumOffset_ = 0;
  double desiredIncrement_ = 0;
  bool logarithmic_ = false;
  double logarithmicBase_ = 10;
  bool inverted_ = false;
  bool horizontal_;
  bool otherSide_;
  bool visible_ = true;
  double startPosition_ = 0;
  double endPosition_ = 100;
  double positionPercent_ = 0;
  TPlotUnits positionUnits_ = muPercent;
  double zPosition_ = 0.01;

  std::unique_ptr<TChartAxisPen> axisPen_;
  std::unique_ptr<TAxisGridPen> grid_;
  std::unique_ptr<TChartHiddenPen> minorGrid_;
  std::unique_ptr<TDarkGrayPen> ticks_;
  std::unique_ptr<TDarkGrayPen> ticksInner_;
  std::unique_ptr<TDarkGrayPen> minorTicks_;
  int tickLength_ = 4;
  int tickInnerLength_ = 0;
  int minorTickLength_ = 2;
  int minorTickCount_ = 3;
  bool tickOnLabelsOnly_ = true;
  std::unique_ptr<TChartAxisTitle> title_;
  int titleSize_ = 0;
  std::unique_ptr<TAxisItems> items_;
  TAxisLabelAlign labelsAlign_ = alDefault;
  bool labelsAlternate_ = false;
  int labelsAngle_ = 0;
  bool labelsExponent_ = false;
  bool labelsMultiLine_ = false;
  bool labelsOnAxis_ = true;
  int labelsSeparation_ = 10;
  int labelsSize_ = 0;
  TAxisLabelStyle labelStyle_ = talAuto;
  std::string axisValuesFormat_;
  std::string dateTimeFormat_;
  bool exactDateTime_ = true;
  bool roundFirstLabel_ = true;

  double iMaximum_ = 0;
  double iMinimum_ = 0;
  double iRange_ = 0;
  bool iRangeZero_ = true;
  // Every value maps to the centre pixel (zero or unusable range).
  bool iMapCentre_ = true;
  bool iLogMapCentre_ = true;
  double iAxisScale_ = 0;
  double iLogMin_ = 0;
  double iLogMax_ = 0;
  double iLogRange_ = 0;
  double iLogScale_ = 0;
  int iStartPos_ = 0;
  int iEndPos_ = 0;
  int iAxisSize_ = 0;
  int iCenterPos_ = 0;
  int iZPos_ = 0;
  bool isDateTime_ = false;
  bool layoutVisible_ = false;

  // Drawing (axis_draw.cpp, axis_grid.cpp).
  void WriteWithExponent(int x, int y, int z, const std::string& text, unsigned align);
  void DrawAxisLines();
  void DrawAxisLine(int wall);
  void DrawTick(int pixel, int offset, int length, int wall);
  // Pixels of the minor marks, strictly inside the span.
  std::vector<int> MinorPixels() const;
};

// The axis into the depth of a 3D chart: hidden by default, mapped from depth 0.
class TChartDepthAxis : public TChartAxis {
 public:
  TChartDepthAxis(TCustomAxisPanel* chart, bool otherSide);
  const char* ClassName() const override { return "TChartDepthAxis"; }
  bool IsDepthAxis() const override { return true; }
  // Also the twin depth axis (without repainting it).
  void SetInverted(bool value) override;
  // Values when a series has depths of its own, else the series titles.
  TAxisLabelStyle InternalCalcLabelStyle() override;
};

}  // namespace chart
