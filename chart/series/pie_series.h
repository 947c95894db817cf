// Series drawn inside a circle instead of against axes, and the pie: one slice per point, flat or
// 3D, as a donut, with exploded slices, per-slice heights, patterns, a shadow, marks around the
// rim, several pies in a grid on one chart, and small values grouped into one other slice.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/gradient.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/shadow.h"
#include "chart/canvas/view3d.h"
#include "chart/engine/series.h"

namespace chart {

class TChartLegend;

enum TPieOtherStyle : std::uint8_t { poNone, poBelowPercent, poBelowValue };
enum TMultiPie : std::uint8_t { mpAutomatic, mpDisabled };

// One integer per point (missing entries read 0); a change repaints the owner series.
class TSliceValueList {
 public:
  explicit TSliceValueList(TChartSeries* owner) : owner_(owner) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // 0 outside the list.
  int Get(int index) const;
  // Pads with zeros up to index, at most PlotPointListRoom past the owner's last point (further
  // raises the list-index error); negative indexes are ignored.
  void Set(int index, int value);
  void Delete(int index);
  // Pads a non-empty list with zeros to count, then swaps a and b.
  void Swap(int a, int b, int count);
  void Clear() { items_.clear(); }
  const std::vector<int>& Items() const { return items_; }
  void Assign(const TSliceValueList& other) { items_ = other.items_; }

 private:
  TChartSeries* owner_;
  std::vector<int> items_;
};

// The point that stands for all values below a limit.
class TPieOtherSlice : public platform::TPersistent {
 public:
  explicit TPieOtherSlice(TChartSeries* owner);
  ~TPieOtherSlice() override;
  const char* ClassName() const override { return "TPieOtherSlice"; }
  TColor GetColor() const { return color_; }
  void SetColor(TColor value);
  // Made on first use; null before.
  TChartLegend* GetLegend();
  TChartLegend* LegendIfAny() const { return legend_.get(); }
  // Null frees it.
  void SetLegend(const TChartLegend* value);
  TPieOtherStyle GetStyle() const { return style_; }
  void SetStyle(TPieOtherStyle value);
  // Empty reads as "Other" (PlotMsg_PieOther).
  std::string GetText() const;
  void SetText(const std::string& value);
  bool IsTextStored() const { return !text_.empty(); }
  double GetValue() const { return value_; }
  void SetValue(double value);
  void Assign(const platform::TPersistent* source);

 private:
  void Changed();
  TChartSeries* owner_;
  TColor color_ = platform::clDefault;
  std::unique_ptr<TChartLegend> legend_;
  TPieOtherStyle style_ = poNone;
  std::string text_;
  double value_ = 0;
};

class TPieShadow : public TPlotShadow {
 public:
  explicit TPieShadow(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TPieShadow"; }
};

class TCircledSeries : public TChartSeries {
 public:
  explicit TCircledSeries(platform::TComponent* Owner);
  ~TCircledSeries() override;
  CHART_SERIES_CLASS(TCircledSeries)

  // ---- Settings (circled_series.cpp) -------------------------------------------------------
  bool GetCircled() const { return circled_; }
  // Also given to every series of this class on the chart (custom radii reset there).
  void SetCircled(bool value);
  int GetCustomXRadius() const { return customXRadius_; }
  void SetCustomXRadius(int value);
  int GetCustomYRadius() const { return customYRadius_; }
  void SetCustomYRadius(int value);
  // Degrees, stored modulo 360.
  int GetRotationAngle() const { return rotationAngle_; }
  void SetRotationAngle(int value);
  TColor GetCircleBackColor() const { return circleBackColor_; }
  void SetCircleBackColor(TColor value) { SetColorProperty(circleBackColor_, value); }
  TPlotGradient* GetGradient() const { return gradient_.get(); }
  void SetGradient(const TCustomPlotGradient* value);

  // ---- Circle state ------------------------------------------------------------------------
  TRect CircleBox{};
  int CircleW = 0, CircleH = 0;
  int CentreX = 0, CentreY = 0;
  int RadiusX = 0, RadiusY = 0;
  double RotationRadians() const { return rotationRadians_; }

  // ---- Operations --------------------------------------------------------------------------
  // Angles run counter-clockwise from the right, Y upward.
  void AngleToPos(double angle, double xRadius, double yRadius, int& x, int& y) const;
  double PointToAngle(int x, int y) const;
  double PointToRadius(int x, int y) const;
  void Rotate(int degrees);
  void CalcRadius();
  void AdjustCircleRect();
  TColor CalcCircleBackColor();
  bool HasBackColor() const;
  // The 3D view the series wants while it is active (applied on a chart without full rotation).
  virtual void InitCustom3DOptions(TView3DOptions& options) const;
  // False: hold the chart's 3D view (the chart's own is saved by the first holder) and apply
  // InitCustom3DOptions; True: let go (the last holder gives the chart its own view back).
  virtual void SetParentProperties(bool enableParentProps);
  // Lends the circle of the first active series of the same class with visible marks.
  virtual void CheckOtherSeriesMarks();
  virtual void DrawCircleGradient();  // pie_draw.cpp

  // ---- Series slots ------------------------------------------------------------------------
  void Assign(const platform::TPersistent* source) override;
  void SetActive(bool value) override;
  void SetParentChart(TCustomAxisPanel* chart) override;
  void Added() override;
  void Removed() override;
  bool UseAxis() const override { return false; }
  bool AssociatedToAxis(const TChartAxis* /*axis*/) const override { return true; }
  void CalcZOrder() override;
  bool MoreSameZOrder() const override { return false; }
  double MaxXValue() override;
  double MinXValue() override;
  double MaxYValue() override;
  double MinYValue() override;
  // The current page's points (all without paging): the positions are not on any axis.
  void CalcFirstLastVisibleIndex() override;
  void DoBeforeDrawValues() override;
  void GalleryChanged3D(bool value) override;
  void DisableRotation();

 private:
  bool circled_ = false;
  int customXRadius_ = 0;
  int customYRadius_ = 0;
  int rotationAngle_ = 0;
  double rotationRadians_ = 0;
  TColor circleBackColor_ = platform::clDefault;
  std::unique_ptr<TPlotGradient> gradient_;
  // The chart whose 3D view this series holds (see SetParentProperties).
  TCustomAxisPanel* viewChart_ = nullptr;
  void UpdateHeldView();
};

class TPieSeries : public TCircledSeries {
 public:
  explicit TPieSeries(platform::TComponent* Owner);
  ~TPieSeries() override;
  CHART_SERIES_CLASS(TPieSeries)

  // ---- Settings (pie_series.cpp) -----------------------------------------------------------
  int GetAngleSize() const { return angleSize_; }
  void SetAngleSize(int value);
  bool GetAutoMarkPosition() const { return autoMarkPosition_; }
  void SetAutoMarkPosition(bool value) { SetBooleanProperty(autoMarkPosition_, value); }
  bool GetDark3D() const { return dark3D_; }
  void SetDark3D(bool value) { SetBooleanProperty(dark3D_, value); }
  int GetDarkPen() const { return darkPen_; }
  void SetDarkPen(int value) { SetIntegerProperty(darkPen_, value); }
  int GetExplodeBiggest() const { return explodeBiggest_; }
  void SetExplodeBiggest(int value);
  TMultiPie GetMultiPie() const { return multiPie_; }
  void SetMultiPie(TMultiPie value);
  TPieOtherSlice* GetOtherSlice() const { return otherSlice_.get(); }
  void SetOtherSlice(const TPieOtherSlice* value);
  TChartPen* GetPiePen() const { return GetPen(); }
  void SetPiePen(const TChartPen* value) { SetPen(value); }
  TChartValueList* GetPieValues() const { return YValues(); }
  TPieShadow* GetShadow() const { return shadow_.get(); }
  void SetShadow(const TPlotShadow* value);
  bool GetUsePatterns() const { return usePatterns_; }
  void SetUsePatterns(bool value) { SetBooleanProperty(usePatterns_, value); }
  int GetDonutPercent() const { return donutPercent_; }
  void SetDonutPercent(int value);
  TSliceValueList SliceExplode{this};
  TSliceValueList SliceHeightPct{this};

  // ---- State -------------------------------------------------------------------------------
  struct TPieAngle {
    double StartAngle = 0, MidAngle = 0, EndAngle = 0;
  };
  // Per point, before rotation; empty until computed.
  std::vector<TPieAngle> SliceAngles;
  std::vector<int> SliceOrder;
  bool Exploding = false;
  int RimX = 0, RimY = 0;
  // The X value of the other slice's point.
  static constexpr double OtherSliceX = 2147483647.0;

  // ---- Operations (pie_series.cpp) ---------------------------------------------------------
  int AddPie(double value, const std::string& label = {}, TColor color = platform::clDefault);
  void CalcAngles();
  // CalcAngles when the table is empty.
  void CheckAngles();
  void CalcExplodedRadius(int valueIndex, int& x, int& y) const;
  void CalcExplodedOffset(int valueIndex, int& x, int& y) const;
  void CalcExplodeBiggest();
  int SliceEndZ(int valueIndex) const;
  platform::TBrushStyle SliceBrushStyle(int valueIndex) const;
  void PreparePiePen(int valueIndex);
  // Active series of this class on the chart.
  int PieCount() const;
  bool BelongsToOtherSlice(int valueIndex) const;
  // Index of the other slice's point, or -1.
  int OtherSliceIndex() const;
  void RemoveOtherSlice();
  // Ascending angular distance from a quarter of the full angle (3D draw order).
  int CompareSlice(int a, int b) const;
  void SwapSlice(int a, int b);
  // While the other slice's legend draws, the legend counts only its members.
  bool LegendForOtherSlice = false;

  // ---- Series slots ------------------------------------------------------------------------
  void Assign(const platform::TPersistent* source) override;
  std::string GetEditorClass() const override { return "TPieSeriesEditor"; }
  void InitCustom3DOptions(TView3DOptions& options) const override;
  void CheckOtherSeriesMarks() override {}
  void CheckOrder() override;
  void Clear() override;
  void ClearLists() override;
  void Delete(int valueIndex) override;
  void Delete(int start, int quantity, bool removeGap = false) override;
  void SwapValueIndex(int a, int b) override;
  void BeforeWriteData() override;
  void DoBeforeDrawChart() override;
  void DoBeforeDrawValues() override;
  void DoAfterDrawValues() override;
  int NumSampleValues() const override { return 8; }
  void AddSampleValues(int numValues, bool onlyMandatory = false) override;
  void PrepareForGallery(bool isEnabled) override;
  void CreateSubGallery(const TAddSubChart& addSubChart) override;
  void SetSubGallery(int index) override;
  int CountLegendItems() override;
  int LegendToValueIndex(int legendIndex) const override;

  // ---- Drawing, marks, hit test (pie_draw.cpp) ---------------------------------------------
  void DrawAllValues() override;
  void DrawValue(int valueIndex) override;
  virtual void DrawPie(int valueIndex);
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  int Clicked(int x, int y) override;

 private:
  int angleSize_ = 360;
  bool autoMarkPosition_ = true;
  bool dark3D_ = true;
  int darkPen_ = 0;
  int explodeBiggest_ = 0;
  // The slice CalcExplodeBiggest pulled out (-1: none), the value it gave it and the one it had.
  int biggestIndex_ = -1;
  int biggestValue_ = 0;
  int biggestBefore_ = 0;
  TMultiPie multiPie_ = mpAutomatic;
  std::unique_ptr<TPieOtherSlice> otherSlice_;
  std::unique_ptr<TPieShadow> shadow_;
  bool usePatterns_ = false;
  int donutPercent_ = 0;
  // The chart rectangle saved by DoBeforeDrawValues (a pie in a grid cell changes it).
  TRect savedChartRect_{};
  bool chartRectSaved_ = false;
};

}  // namespace chart
