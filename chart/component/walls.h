// The chart's four walls: the back wall behind the chart rectangle, and in 3D the left, bottom
// and right walls around it. Drawing them is the chart's (TCustomChart, walls.cpp).
#pragma once

#include <memory>

#include "chart/canvas/blend.h"
#include "chart/panel/shape.h"

namespace chart {

class TCustomChart;

class TCustomChartWall : public TPlotCustomShape {
 public:
  explicit TCustomChartWall(TCustomPlotPanel* parent = nullptr);
  const char* ClassName() const override { return "TCustomChartWall"; }

  bool GetAutoHide() const { return autoHide_; }
  void SetAutoHide(const bool& value);
  bool GetDark3D() const { return dark3D_; }
  void SetDark3D(const bool& value);
  // Pixels of wall thickness.
  int GetSize() const { return size_; }
  void SetSize(const int& value);
  TChartPen* GetPen() const { return GetFrame(); }
  // Colour and default colour at once.
  void InitColor(TColor color);
  bool IsColorStored() const { return GetColor() != WallDefaultColor; }
  TColor WallDefaultColor = platform::clDefault;

  // A gradient object exists and is visible.
  bool HasGradient() const;
  // Dark sides unless the brush is clear or an image, or Dark3D is off.
  bool ApplyDark3D() const;
  // The chart shows 3D walls, this one is visible and not AutoHide.
  bool ShouldDraw() const;
  // A side wall at x from the chart top to bottom, through the chart's depth: its gradient when
  // it has one (the brush then clear, so the outline goes over it). Starts the wall's blending
  // when Transparency is set and returns it; nothing for a transparent wall.
  std::unique_ptr<TPlotBlend> TryDrawWall(int x, int bottom);

  // Size, Dark3D and AutoHide, then the shape's settings.
  void Assign(const platform::TPersistent* source) override;

 private:
  bool autoHide_ = false;
  bool dark3D_ = true;
  int size_ = 0;
};

class TChartWall : public TCustomChartWall {
 public:
  using TCustomChartWall::TCustomChartWall;
  const char* ClassName() const override { return "TChartWall"; }
};

class TChartBackWall : public TChartWall {
 public:
  explicit TChartBackWall(TCustomPlotPanel* parent = nullptr);
  const char* ClassName() const override { return "TChartBackWall"; }
};

class TChartRightWall : public TChartWall {
 public:
  using TChartWall::TChartWall;
  const char* ClassName() const override { return "TChartRightWall"; }
};

class TChartWalls : public platform::TPersistent {
 public:
  explicit TChartWalls(TCustomChart* chart);
  ~TChartWalls() override;
  const char* ClassName() const override { return "TChartWalls"; }

  TChartBackWall* Back() const { return back_.get(); }
  TChartWall* Bottom() const { return bottom_.get(); }
  TChartWall* Left() const { return left_.get(); }
  TChartRightWall* Right() const { return right_.get(); }
  // These assign into the existing walls.
  void SetBack(const TChartBackWall* value);
  void SetBottom(const TChartWall* value);
  void SetLeft(const TChartWall* value);
  void SetRight(const TChartRightWall* value);
  // The left wall's size; setting sizes the left, right, back and bottom walls.
  int GetSize() const;
  void SetSize(const int& value);
  // The chart's View3DWalls.
  bool GetVisible() const;
  void SetVisible(const bool& value);

  // The four walls of other walls; anything else cannot be assigned.
  virtual void Assign(const platform::TPersistent* source);

 private:
  TCustomChart* chart_ = nullptr;
  std::unique_ptr<TChartBackWall> back_;
  std::unique_ptr<TChartWall> left_;
  std::unique_ptr<TChartWall> bottom_;
  std::unique_ptr<TChartRightWall> right_;
};

}  // namespace chart
