// The drag rectangle of zooming and panning, and the zoom settings a user changes: who may zoom,
// with which button and keys, how, and the pen and brush of the rectangle drawn while dragging.
#pragma once

#include <memory>

#include "chart/canvas/pens.h"
#include "platform/vcl/component.h"
#include "platform/vcl/mouse.h"

namespace chart {

class TZoomPanning : public platform::TPersistent {
 public:
  const char* ClassName() const override { return "TZoomPanning"; }

  // Both corners at (x, y), and active.
  void Activate(int x, int y);
  // Puts the corners in order: X0 <= X1 and Y0 <= Y1.
  void Check();

  bool Active = false;
  int X0 = 0;
  int Y0 = 0;
  int X1 = 0;
  int Y1 = 0;
};

class TPlotZoomBrush : public TChartBrush {
 public:
  TPlotZoomBrush();
  const char* ClassName() const override { return "TPlotZoomBrush"; }
  bool IsColorStored() const { return GetColor() != platform::clWhite; }
  bool IsStyleStored() const { return GetStyle() != platform::bsClear; }
};

class TPlotZoomPen : public TChartPen {
 public:
  TPlotZoomPen();
  const char* ClassName() const override { return "TPlotZoomPen"; }
  bool IsColorStored() const { return GetColor() != DefaultColor; }
  TColor DefaultColor = platform::clWhite;
};

enum TPlotZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };

class TPlotZoom : public TZoomPanning {
 public:
  TPlotZoom();
  ~TPlotZoom() override;
  const char* ClassName() const override { return "TPlotZoom"; }

  // From another zoom: Allow, Animated, AnimatedSteps, Brush, Direction, KeyShift,
  // MouseButton and Pen. MinimumPixels and UpLeftZooms stay as they are.
  void Assign(const platform::TPersistent* source);

  // Made on first read.
  TPlotZoomBrush* GetBrush();
  // Null frees the brush; otherwise a copy goes into it.
  void SetBrush(const TChartBrush* value);
  bool HasBrush() const { return brush_ != nullptr; }
  TPlotZoomPen* GetPen();
  void SetPen(const TChartPen* value);
  bool HasPen() const { return pen_ != nullptr; }

  bool Allow = true;
  bool Animated = false;
  int AnimatedSteps = 8;
  TPlotZoomDirection Direction = tzdBoth;
  platform::TShiftState KeyShift;
  int MinimumPixels = 16;
  platform::TMouseButton MouseButton = platform::mbLeft;
  bool UpLeftZooms = false;

 private:
  std::unique_ptr<TPlotZoomBrush> brush_;
  std::unique_ptr<TPlotZoomPen> pen_;
};

}  // namespace chart
