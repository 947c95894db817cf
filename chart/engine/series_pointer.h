// The small symbol drawn at a point (line and point series), and the callouts built on it: the
// line or arrow from a mark to its point.
#pragma once

#include <memory>

#include "chart/canvas/pens.h"
#include "chart/panel/shape.h"

namespace chart {

class TChartSeries;
class TCanvas3D;
struct TSeriesMarkPosition;

enum TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot,
  psNothing,
  psLeftTriangle,
  psRightTriangle
};

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };

// Callout arrows that would vanish (point or background colour) are drawn black or white.
extern bool PlotCheckMarkArrowColor;

class TSeriesPointer : public TPlotCustomShapeBrushPen {
 public:
  explicit TSeriesPointer(TChartSeries* series);
  ~TSeriesPointer() override;
  const char* ClassName() const override { return "TSeriesPointer"; }

  TChartSeries* Series() const { return series_; }
  TSeriesPointerStyle GetStyle() const { return style_; }
  void SetStyle(TSeriesPointerStyle value);
  int GetHorizSize() const { return horizSize_; }
  int GetVertSize() const { return vertSize_; }
  // A size of 0 or less raises ChartException and keeps the old size.
  void SetHorizSize(int value);
  void SetVertSize(int value);
  void SetSize(int value);
  int GetSize() const { return horizSize_ > vertSize_ ? horizSize_ : vertSize_; }
  bool GetInflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool value);
  bool GetDark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  bool GetDraw3D() const { return draw3D_; }
  void SetDraw3D(bool value);
  TCustomPlotGradient* GetGradient();
  TCustomPlotGradient* GradientIfAny() const { return gradient_.get(); }
  int GetTransparency() const { return transparency_; }
  void SetTransparency(int value);
  TColor GetColor() const;
  void SetColor(TColor value);
  // Store without repainting (series change them while drawing).
  void ChangeStyle(TSeriesPointerStyle value) { style_ = value; }
  void ChangeHorizSize(int value) { horizSize_ = value; }
  void ChangeVertSize(int value) { vertSize_ = value; }
  void Change3D(bool value) { draw3D_ = value; }

  // Margins grow to fit the symbol when visible and InflateMargins.
  void CalcHorizMargins(int& left, int& right) const;
  void CalcVerticalMargins(int& top, int& bottom) const;
  void PrepareCanvas(TCanvas3D* canvas, TColor color);
  void Prepare();
  void Draw(int x, int y);
  void Draw(TPoint p) { Draw(p.X, p.Y); }
  void Draw(int x, int y, TColor color, TSeriesPointerStyle style);
  void DrawPointer(TCanvas3D* canvas, bool is3D, int x, int y, int h, int v, TColor color,
                   TSeriesPointerStyle style);
  void Assign(const platform::TPersistent* source) override;

 protected:
  // Callouts colour their whole gradient themselves.
  bool FullGradient = false;
  int StartZ() const;
  int MiddleZ() const;
  int EndZ() const;

 private:
  TChartSeries* series_;
  TSeriesPointerStyle style_ = psRectangle;
  int horizSize_ = 4;
  int vertSize_ = 4;
  bool inflateMargins_ = true;
  bool dark3D_ = true;
  bool draw3D_ = true;
  std::unique_ptr<TCustomPlotGradient> gradient_;
  int transparency_ = 0;
};

class TCallout : public TSeriesPointer {
 public:
  explicit TCallout(TChartSeries* series);
  ~TCallout() override;
  const char* ClassName() const override { return "TCallout"; }
  TWhitePen* GetArrow() const { return arrow_.get(); }
  void SetArrow(const TChartPen* value);
  TArrowHeadStyle GetArrowHead() const { return arrowHead_; }
  void SetArrowHead(TArrowHeadStyle value);
  int GetArrowHeadSize() const { return arrowHeadSize_; }
  void SetArrowHeadSize(int value);
  int GetDistance() const { return distance_; }
  void SetDistance(int value);
  using TSeriesPointer::Draw;
  // The arrow from 'from' to 'to' at depth z, then the symbol at 'from' when there is no head.
  void Draw(TColor color, TPoint from, int z, TPoint to);
  void Assign(const platform::TPersistent* source) override;

 private:
  std::unique_ptr<TWhitePen> arrow_;
  TArrowHeadStyle arrowHead_ = ahNone;
  int arrowHeadSize_ = 8;
  int distance_ = 0;
};

class TMarksCallout : public TCallout {
 public:
  explicit TMarksCallout(TChartSeries* series);
  const char* ClassName() const override { return "TMarksCallout"; }
  int GetLength() const { return length_; }
  void SetLength(int value);
  // Series types set their own default length; a length equal to it is not stored.
  int DefaultLength = 8;
  bool IsLengthStored() const { return length_ != DefaultLength; }
  // Moves the mark up by Length + Distance and the arrow's start by Distance.
  void ApplyArrowLength(TSeriesMarkPosition& position) const;
  void Assign(const platform::TPersistent* source) override;

 private:
  int length_ = 8;
};

}  // namespace chart
