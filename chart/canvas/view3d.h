// The user's settings of a panel's 3D view: angles, perspective, zoom, scroll offsets and the
// choice between the oblique and the rotated projection. Every change repaints the owner.
#pragma once

#include <functional>

#include "platform/vcl/component.h"

namespace chart {

using TPlotView3DScrolled = std::function<void(bool isHoriz)>;
using TPlotView3DChangedZoom = std::function<void(int newZoom)>;

class TView3DOptions : public platform::TPersistent {
 public:
  // invalidate repaints the owning panel (may be empty).
  explicit TView3DOptions(std::function<void()> invalidate);
  const char* ClassName() const override { return "TView3DOptions"; }

  // Copies the settings of another view, without repaint or events; anything else is ignored.
  void Assign(const platform::TPersistent* source);

  // Held as doubles, published as integers rounded to the nearest.
  int GetElevation() const;
  void SetElevationInteger(const int& v) { SetElevation(v); }
  void SetElevation(double v);
  double ElevationValue() const { return elevation_; }
  int GetRotation() const;
  void SetRotationInteger(const int& v) { SetRotation(v); }
  void SetRotation(double v);
  double RotationValue() const { return rotation_; }

  int GetFontZoom() const { return fontZoom_; }
  void SetFontZoom(const int& v) { SetIntegerProperty(fontZoom_, v); }
  int GetHorizOffset() const { return horizOffset_; }
  void SetHorizOffset(const int& v);
  int GetOrthoAngle() const { return orthoAngle_; }
  void SetOrthoAngle(const int& v) { SetIntegerProperty(orthoAngle_, v); }
  bool GetOrthogonal() const { return orthogonal_; }
  void SetOrthogonal(const bool& v) { SetBooleanProperty(orthogonal_, v); }
  int GetPerspective() const { return perspective_; }
  void SetPerspective(const int& v) { SetIntegerProperty(perspective_, v); }
  int GetTilt() const { return tilt_; }
  void SetTilt(const int& v) { SetIntegerProperty(tilt_, v); }
  int GetVertOffset() const { return vertOffset_; }
  void SetVertOffset(const int& v);
  int GetZoom() const { return zoom_; }
  void SetZoom(const int& v);
  bool GetZoomText() const { return zoomText_; }
  void SetZoomText(const bool& v) { SetBooleanProperty(zoomText_, v); }

  // Raised after an offset changed (true: horizontal).
  TPlotView3DScrolled OnScrolled;
  // Raised with the new zoom before it is stored.
  TPlotView3DChangedZoom OnChangedZoom;

  void Repaint();
  // tan of the oblique angle (folded below 90); 1 for the rotated view and near 90 degrees.
  double CalcOrthoRatio() const;

 private:
  void SetIntegerProperty(int& variable, int value);
  void SetBooleanProperty(bool& variable, bool value);

  std::function<void()> invalidate_;
  double elevation_ = 345.0;
  int fontZoom_ = 100;
  int horizOffset_ = 0;
  bool orthogonal_ = true;
  int orthoAngle_ = 45;
  int perspective_ = 15;
  double rotation_ = 345.0;
  int tilt_ = 0;
  int vertOffset_ = 0;
  int zoom_ = 100;
  bool zoomText_ = true;
};

}  // namespace chart
