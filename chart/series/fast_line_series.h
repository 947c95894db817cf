// A plain polyline drawn with the least work per point: positions straight from the axes, points
// on the pixel already drawn skipped, and a new point drawable on its own without repainting.
#pragma once

#include <string>

#include "chart/series/line_series.h"

namespace chart {

class TFastLineSeries : public TCustomLineSeries {
 public:
  explicit TFastLineSeries(platform::TComponent* Owner);
  CHART_SERIES_CLASS(TFastLineSeries)

  // False: a new point draws only its segment, without repainting the chart.
  bool GetAutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool value) { autoRepaint_ = value; }
  // False: a point on the previous point's X pixel is skipped.
  bool GetDrawAllPoints() const { return drawAllPoints_; }
  void SetDrawAllPoints(bool value) { SetBooleanProperty(drawAllPoints_, value); }
  // False: a null point breaks the line.
  bool GetIgnoreNulls() const { return ignoreNulls_; }
  void SetIgnoreNulls(bool value) { SetBooleanProperty(ignoreNulls_, value); }
  bool GetInvertedStairs() const { return invertedStairs_; }
  void SetInvertedStairs(bool value) { SetBooleanProperty(invertedStairs_, value); }
  bool GetStairs() const { return stairs_; }
  void SetStairs(bool value) { SetBooleanProperty(stairs_, value); }
  // There is no settable stock pen here: the line pen is always used.
  bool FastPen = false;

  // The last pixel drawn.
  int PrevX = 0, PrevY = 0;
  // Pixel of point i straight through the axes, no stacking or clamping.
  void CalcPosition(int valueIndex, int& x, int& y);

  void Assign(const platform::TPersistent* source) override;
  std::string GetEditorClass() const override { return "TFastLineSeriesEditor"; }
  void SetPen(const TChartPen* value) override;
  void SetSeriesColor(TColor color) override;
  void CalcHorizMargins(int& left, int& right) override;
  void CalcVerticalMargins(int& top, int& bottom) override;
  void NotifyNewValue(TChartSeries* sender, int valueIndex) override;
  void DrawAllValues() override;
  void DrawValue(int valueIndex) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor,
                           platform::TBrushStyle& brushStyle) override;
  int Clicked(int x, int y) override;
  void CreateSubGallery(const TAddSubChart& addSubChart) override;
  void SetSubGallery(int index) override;

 private:
  // The canvas pen as the visible line pen, brush clear, transparent background.
  void PrepareCanvas();
  // The line pen takes each colour the chart gives the series, as SetSeriesColor would.
  void FollowAutomaticColor();
  // The pen to (x, y), at the middle depth in 3D.
  void MoveToPoint(TCanvas3D& canvas, bool is3D, int x, int y);

  bool autoRepaint_ = true;
  bool drawAllPoints_ = true;
  bool ignoreNulls_ = true;
  bool invertedStairs_ = false;
  bool stairs_ = false;
  TColor followedColor_ = platform::clDefault;
};

}  // namespace chart
