// A series with stored points: value lists kept in step with point colours, labels and mark
// positions; ordered insertion; its axes; the series that take their data from it (linked series)
// and its own data sources and function. Series types derive from it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chart/engine/chart_element.h"
#include "chart/engine/series_marks.h"
#include "chart/engine/series_source.h"
#include "chart/engine/value_list.h"
#include "platform/vcl/cursors.h"
#include "platform/vcl/mouse.h"

namespace chart {

class TChartAxis;
class TCustomSeriesList;
class TPlotFunction;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// How a legend item's text is made.
enum TLegendTextStyle {
  ltsPlain,
  ltsLeftValue,
  ltsRightValue,
  ltsLeftPercent,
  ltsRightPercent,
  ltsXValue,
  ltsValue,
  ltsPercent,
  ltsXAndValue,
  ltsXAndPercent
};

class TChartSeries;
using TSeriesClick =
    std::function<void(TChartSeries* Sender, int ValueIndex, platform::TMouseButton Button,
                       platform::TShiftState Shift, int X, int Y)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, int ValueIndex)>;
using TSeriesOnClear = std::function<void(TChartSeries* Sender)>;
using TSeriesOnGetMarkText =
    std::function<void(TChartSeries* Sender, int ValueIndex, std::string& MarkText)>;
// Called once per sub-gallery entry with its caption.
using TAddSubChart = std::function<void(const std::string& caption)>;

class TChartSeries : public TCustomChartSeries {
 public:
  explicit TChartSeries(platform::TComponent* Owner);
  ~TChartSeries() override;
  CHART_SERIES_CLASS(TChartSeries)

  // ---- Virtual slots, in the series' order -------------------------------------------------
  // (The drawing, visible-range, Z-order, legend and pixel-mapping slots come with the axes and
  // the chart's drawing.)
  void CanvasChanged() override { Repaint(); }
  std::string GetEditorClass() const override { return {}; }
  void SetActive(bool value) override;
  // Leaves the old chart, joins the new one.
  void SetParentChart(TCustomAxisPanel* chart) override;
  void SetPen(const TChartPen* value) override;
  // Pixels the series needs beyond its first and last X, and above and below.
  virtual void CalcHorizMargins(int& left, int& right);
  virtual void CalcVerticalMargins(int& top, int& bottom);
  virtual void DoBeforeDrawChart() {}
  virtual int AddChartValue(TChartSeries* source, int valueIndex);
  virtual void AddedValue(TChartSeries* source, int valueIndex);
  virtual void AddValues(TChartSeries* source);
  virtual void ClearLists();
  virtual void CreateSubGallery(const TAddSubChart& addSubChart);
  virtual void DeletedValue(TChartSeries* source, int valueIndex);
  virtual void DoAfterDrawValues();
  virtual void DoBeforeDrawValues();
  virtual void DrawValue(int /*valueIndex*/) {}
  virtual TColor GetValueColor(int valueIndex);
  virtual double GetxValue(int valueIndex) const;
  virtual double GetyValue(int valueIndex) const;
  virtual void NotifyNewValue(TChartSeries* sender, int valueIndex);
  virtual void NotifyValue(TValueEvent valueEvent, int valueIndex);
  virtual void PrepareLegendCanvas(int /*valueIndex*/, TColor& /*backColor*/,
                                   platform::TBrushStyle& /*brushStyle*/) {}
  virtual bool RaiseClicked() const {
    return static_cast<bool>(OnClick) || static_cast<bool>(OnDblClick);
  }
  virtual void SetColorEachPoint(bool value);
  virtual void SetSeriesColor(TColor color);
  virtual void SetSubGallery(int /*index*/) {}
  virtual TChartValueList* ValueListOfAxis(const TChartAxis* axis);
  virtual int Add(double value, const std::string& label = {}, TColor color = platform::clDefault);
  virtual int AddNull(const std::string& label = {});
  virtual int AddNullXY(double x, double y, const std::string& label = {});
  virtual int AddXY(double x, double y, const std::string& label = {},
                    TColor color = platform::clDefault);
  virtual bool AssociatedToAxis(const TChartAxis* axis) const;
  virtual void Clear();
  virtual int CountLegendItems() { return Count(); }
  virtual void Delete(int valueIndex);
  virtual void Delete(int start, int quantity, bool removeGap = false);
  virtual int LegendToValueIndex(int legendIndex) const { return legendIndex; }
  virtual TColor LegendItemColor(int legendIndex) { return GetValueColor(legendIndex); }
  virtual double MaxXValue() { return xValues_->MaxValue(); }
  virtual double MaxYValue() { return yValues_->MaxValue(); }
  virtual double MaxZValue() { return GetZOrder(); }
  virtual double MinXValue() { return xValues_->MinValue(); }
  virtual double MinYValue() { return yValues_->MinValue(); }
  virtual double MinZValue() { return GetZOrder(); }
  virtual TChartValueList* GetYValueList(const std::string& name);
  virtual int Clicked(int /*x*/, int /*y*/) { return -1; }
  virtual double GetOriginValue(int valueIndex) { return GetMarkValue(valueIndex); }
  virtual double GetMarkValue(int valueIndex) { return mainValues_->GetValue(valueIndex); }
  virtual bool UseAxis() const { return true; }
  virtual void SetFunction(TPlotFunction* function);

  // ---- Overridable (dynamic) operations ----------------------------------------------------
  void Added() override;
  void Removed() override;
  virtual void AddSampleValues(int numValues, bool onlyMandatory = false);
  virtual void PrepareForGallery(bool isEnabled);
  virtual void CheckOrder();
  void FillSampleValues(int numValues = 0);
  virtual bool IsValidSourceOf(const TChartSeries* source) const { return source != this; }
  virtual bool IsValidSeriesSource(const TChartSeries* source) const;
  virtual int NumSampleValues() const { return 25; }
  virtual void SwapValueIndex(int a, int b);

  // ---- Points ------------------------------------------------------------------------------
  int Count() const { return xValues_->Count(); }
  int AddX(double x, const std::string& label = {}, TColor color = platform::clDefault);
  int AddY(double y, const std::string& label = {}, TColor color = platform::clDefault);
  int AddNull(double value);
  int AddArray(const std::vector<double>& values);
  void SetXValue(int index, double value);
  void SetYValue(int index, double value);
  std::string GetXLabel(int index) const { return labels_.GetLabel(index); }
  // Only a point that exists takes a label: one set past the last point would not follow the
  // points inserted before it.
  void SetXLabel(int index, const std::string& text);
  void SetValueColor(int index, TColor color);
  bool IsNull(int index) { return GetValueColor(index) == platform::clNone; }
  void SetNull(int index, bool value = true);
  TColor GetSeriesColor() const;
  bool IsColorStored() const { return seriesColor_ != platform::clDefault; }
  TColor InternalSeriesColor = platform::clDefault;
  bool GetColorEachPoint() const { return colorEachPoint_; }
  void SortByLabels(TChartListOrder order = loAscending);
  int CompareLabelIndex(int a, int b) const;
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  void RefreshSeries();
  void ReplaceList(TChartValueList* oldList, TChartValueList* newList);
  void SetXValues(const TChartValueList* value);
  void SetYValues(const TChartValueList* value);
  // Own colour of each point; null until a point gets one.
  const std::vector<TColor>* PointColors() const { return pointColors_.get(); }
  TLabelsList& Labels() { return labels_; }
  const TLabelsList& Labels() const { return labels_; }

  TChartValueLists& ValuesList() { return valuesList_; }
  TChartValueList* XValues() const { return xValues_; }
  TChartValueList* YValues() const { return yValues_; }
  TChartValueList* MainValues() const { return mainValues_; }
  TChartValueList* PositionValues() const { return positionValues_; }
  bool YIsValue() const { return yIsValue_; }
  // Makes X the values and Y the positions (horizontal series types).
  void SetHorizontal();
  TSeriesMarks* Marks() const { return marks_.get(); }
  void SetMarks(const TSeriesMarks* value);

  // ---- Sources and linked series -----------------------------------------------------------
  platform::TComponent* GetDataSource() const;
  void SetDataSource(platform::TComponent* value);
  TDataSourcesList& DataSources() { return dataSources_; }
  const TDataSourcesList& DataSources() const { return dataSources_; }
  // -1 when already a source; else its index. Raises on an invalid or circular source.
  int InternalAddDataSource(platform::TComponent* source, bool replace);
  void RemoveDataSource(platform::TComponent* source);
  bool IsValidDataSource(platform::TComponent* source) const;
  void CheckDataSource();
  TCustomSeriesList& LinkedSeries() { return *linkedSeries_; }
  void AddLinkedSeries(TChartSeries* series);
  void RemoveLinkedSeries(TChartSeries* series);
  void RemoveAllLinkedSeries();
  void AssignValues(TChartSeries* source);
  TPlotFunction* FunctionOf() const { return attachedFunction_; }
  std::string GetColorSource() const { return colorSource_; }
  void SetColorSource(const std::string& value);
  std::string GetLabelsSource() const { return labelsSource_; }
  void SetLabelsSource(const std::string& value);
  TSeriesRecalcOptions RecalcTriggers = kAllRecalcOptions;
  bool HandEntered = false;

  // ---- Stored points: the layout's binary "Data" (series_data_stream.cpp) ------------------
  // Only points entered by hand are stored.
  bool IsDataStored() const { return HandEntered; }
  std::string WriteData();
  // Runs first in WriteData: points made only for drawing go before the points are stored.
  virtual void BeforeWriteData() {}
  // Replaces every point; a damaged stream raises EReadError and leaves the series as it was.
  void ReadData(std::string_view data);

  // ---- Axes --------------------------------------------------------------------------------
  THorizAxis GetHorizAxis() const { return horizAxis_; }
  void SetHorizAxis(THorizAxis value);
  TVertAxis GetVertAxis() const { return vertAxis_; }
  void SetVertAxis(TVertAxis value);
  TChartAxis* GetCustomHorizAxis() const { return customHorizAxis_; }
  void SetCustomHorizAxis(TChartAxis* axis);
  TChartAxis* GetCustomVertAxis() const { return customVertAxis_; }
  void SetCustomVertAxis(TChartAxis* axis);
  // The axes in use, from the settings above; null without a chart.
  TChartAxis* GetHorizAxisObj() const { return horizAxisObj_; }
  TChartAxis* GetVertAxisObj() const { return vertAxisObj_; }
  void RecalcGetAxis();
  TChartAxis* MandatoryAxis() const { return yIsValue_ ? vertAxisObj_ : horizAxisObj_; }

  // ---- Other settings ----------------------------------------------------------------------
  int GetDepth() const { return depth_; }
  void SetDepth(int value) { SetIntegerProperty(depth_, value); }
  // The fixed Z order, or the slot the chart gave the series when it is automatic (-1).
  int GetZOrder() const;
  void SetZOrder(int value);
  bool IsZOrderAutomatic() const { return zOrder_ == -1; }
  // The automatic slot, given by the chart's Z-order pass.
  int AutoZOrder = 0;
  int ZPosition = 0;
  int StartZ = 0, MiddleZ = 0, EndZ = 0;
  platform::TCursor Cursor = platform::crDefault;
  std::string GetValueFormat() const { return valueFormat_; }
  void SetValueFormat(const std::string& value) { SetStringProperty(valueFormat_, value); }
  std::string GetPercentFormat() const { return percentFormat_; }
  void SetPercentFormat(const std::string& value) { SetStringProperty(percentFormat_, value); }
  bool IsValueFormatStored() const;
  bool IsPercentFormatStored() const;
  int FirstVisible = -1;
  int LastVisible = -1;
  bool LimitToVisible = true;
  bool KeepEdgePoint = false;
  bool CentredFunctionPoint = true;
  bool StorePositions = true;
  // Whether the series keeps values that are not its positions 0, 1, 2 ... (stored data).
  bool KeepNonMandatory = true;
  int DefaultSampleCount = 0;
  bool MouseOver = false;
  TChartListOrder LabelSortOrder = loNone;
  int VisibleCount() const { return LastVisible - FirstVisible + 1; }
  // Every non-null point whose value in list lies in from..to takes color.
  void ColorRange(TChartValueList* list, double fromValue, double toValue, TColor color);

  // Copies settings, function, points or sources (see the .cpp).
  void Assign(const platform::TPersistent* source) override;
  void AssignFormat(const TChartSeries* source);
  void Loaded() override;
  void Notification(platform::TComponent* component, platform::TOperation operation) override;
  // A function nested in the series in a form layout becomes its function
  // (engine_registration.cpp).
  void AdoptChild(platform::TComponent* child) override;
  // The chart's mouse move: hover events and cursor. True when over a point.
  bool CheckMouse(int x, int y);

  // ---- Events ------------------------------------------------------------------------------
  platform::TNotifyEvent AfterDrawValues;
  platform::TNotifyEvent BeforeDrawValues;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesOnClear OnClearValues;
  TSeriesClick OnClick;
  TSeriesClick OnDblClick;
  TSeriesOnGetMarkText OnGetMarkText;
  platform::TNotifyEvent OnMouseEnter;
  platform::TNotifyEvent OnMouseLeave;

  // Names of sources read from a stored layout, resolved in Loaded.
  std::vector<std::string> SourceNamesToLoad;

  // ---- Page window, visible range, mark and legend texts (pages.cpp, series_texts.cpp) -----
  // The indexes of the chart's current page (the whole series without paging; -1 when empty).
  void CalcFirstLastPage(int& first, int& last) const;
  // FirstVisible and LastVisible: the points whose positions lie within the chart rectangle.
  virtual void CalcFirstLastVisibleIndex();
  std::string GetMarkText(int valueIndex);
  // A point's mark text is its label.
  void SetMarkText(int valueIndex, const std::string& text) { SetXLabel(valueIndex, text); }
  std::string MarkPercent(int valueIndex, bool addTotal);
  virtual std::string LegendString(int legendIndex, TLegendTextStyle style);

  // ---- Drawing (series_draw.cpp) -----------------------------------------------------------
  // The chart's Z-order pass: an automatic series takes the next slot (3D) or 0 (2D).
  virtual void CalcZOrder();
  // StartZ, MiddleZ, EndZ from ZPosition and Depth; the marks take the middle.
  virtual void CalcDepthPositions();
  // Another active series of the chart shares this one's Z order (3D only).
  virtual bool MoreSameZOrder() const;
  // The first active series of its Z order.
  bool FirstInZOrder() const;
  // DrawValue for every visible point, in DrawValuesForward order.
  virtual void DrawAllValues();
  virtual bool DrawValuesForward() const;
  virtual bool DrawSeriesForward(int valueIndex) const;
  int FirstDisplayedIndex() const { return DrawValuesForward() ? FirstVisible : LastVisible; }
  // Measures, places and draws the marks of the visible points.
  void DrawMarks();
  virtual void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position);
  // The widest mark text of the points whose mark item is visible.
  int MaxMarkWidth();
  // The legend symbol of a point, or of the whole series for -1.
  virtual void DrawLegend(int valueIndex, const TRect& rect);
  virtual void DrawLegendShape(int valueIndex, const TRect& rect);
  // Pixel of a point's X and Y on the series' axes (0 without an axis).
  virtual int CalcXPos(int valueIndex);
  virtual int CalcYPos(int valueIndex);
  int CalcXPosValue(double value) const;
  int CalcYPosValue(double value) const;
  // On the axis of the values: the vertical one, or the horizontal one for horizontal series.
  int CalcPosValue(double value) const;
  // Pixel length of a value span (0 without an axis).
  int CalcXSizeValue(double value) const;
  int CalcYSizeValue(double value) const;
  // Screen position to the axis value (0 without an axis).
  double XScreenToValue(int pixel) const;
  double YScreenToValue(int pixel) const;
  // The axis' label text of a value; by the value format without an axis.
  std::string XValueToText(double value) const;
  std::string YValueToText(double value) const;
  // The point under the mouse, or -1 (also without a chart).
  int GetCursorValueIndex();
  // The axis values at the mouse position (0, 0 without a chart).
  void GetCursorValues(double& x, double& y) const;

 protected:
  // The source/function link hooks the function base uses.
  friend class TPlotFunction;
  void ForgetFunction() { attachedFunction_ = nullptr; }
  void SetYIsValue(bool value) { yIsValue_ = value; }

 private:
  void DeletePointLists(int index);
  // Where sample values start (X and Y), how X advances and how wide Y may spread.
  void RandomBounds(int numValues, double& minX, double& stepX, double& minY, double& spanY);

  TChartValueLists valuesList_;
  TChartValueList* xValues_ = nullptr;
  TChartValueList* yValues_ = nullptr;
  TChartValueList* mainValues_ = nullptr;
  TChartValueList* positionValues_ = nullptr;
  bool yIsValue_ = true;
  std::unique_ptr<std::vector<TColor>> pointColors_;
  TLabelsList labels_{this};
  std::unique_ptr<TSeriesMarks> marks_;
  TColor seriesColor_ = platform::clDefault;
  bool colorEachPoint_ = false;
  int updateCount_ = 0;
  std::unique_ptr<TCustomSeriesList> linkedSeries_;
  TDataSourcesList dataSources_{this};
  TPlotFunction* attachedFunction_ = nullptr;
  std::string colorSource_;
  std::string labelsSource_;
  THorizAxis horizAxis_ = aBottomAxis;
  TVertAxis vertAxis_ = aLeftAxis;
  TChartAxis* customHorizAxis_ = nullptr;
  TChartAxis* customVertAxis_ = nullptr;
  TChartAxis* horizAxisObj_ = nullptr;
  TChartAxis* vertAxisObj_ = nullptr;
  int depth_ = -1;
  int zOrder_ = -1;
  std::string valueFormat_;
  std::string percentFormat_;
};

}  // namespace chart
