#include "chart/canvas/view3d.h"

#include <cmath>

#include "chart/canvas/geometry.h"

namespace chart {

TView3DOptions::TView3DOptions(std::function<void()> invalidate)
    : invalidate_(std::move(invalidate)) {}

void TView3DOptions::Repaint() {
  if (invalidate_) invalidate_();
}

void TView3DOptions::SetIntegerProperty(int& variable, int value) {
  if (variable == value) return;
  variable = value;
  Repaint();
}

void TView3DOptions::SetBooleanProperty(bool& variable, bool value) {
  if (variable == value) return;
  variable = value;
  Repaint();
}

int TView3DOptions::GetElevation() const {
  return Round(elevation_);
}
int TView3DOptions::GetRotation() const {
  return Round(rotation_);
}

void TView3DOptions::SetElevation(double v) {
  if (v == elevation_) return;
  elevation_ = v;
  Repaint();
}
void TView3DOptions::SetRotation(double v) {
  if (v == rotation_) return;
  rotation_ = v;
  Repaint();
}

void TView3DOptions::SetHorizOffset(const int& v) {
  if (v == horizOffset_) return;
  horizOffset_ = v;
  Repaint();
  if (OnScrolled) OnScrolled(true);
}
void TView3DOptions::SetVertOffset(const int& v) {
  if (v == vertOffset_) return;
  vertOffset_ = v;
  Repaint();
  if (OnScrolled) OnScrolled(false);
}

void TView3DOptions::SetZoom(const int& v) {
  if (v == zoom_) return;
  // The handler still sees the old zoom.
  if (OnChangedZoom) OnChangedZoom(v);
  zoom_ = v;
  Repaint();
}

void TView3DOptions::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TView3DOptions*>(source);
  if (!other || other == this) return;
  elevation_ = other->elevation_;
  fontZoom_ = other->fontZoom_;
  horizOffset_ = other->horizOffset_;
  orthoAngle_ = other->orthoAngle_;
  orthogonal_ = other->orthogonal_;
  perspective_ = other->perspective_;
  rotation_ = other->rotation_;
  tilt_ = other->tilt_;
  vertOffset_ = other->vertOffset_;
  zoom_ = other->zoom_;
  zoomText_ = other->zoomText_;
}

double TView3DOptions::CalcOrthoRatio() const {
  if (!orthogonal_) return 1.0;
  const int angle = orthoAngle_ > 90 ? 180 - orthoAngle_ : orthoAngle_;
  const long double a = static_cast<long double>(angle) * (std::acos(-1.0L) / 180.0L);
  // Near 90 degrees the tangent runs away; the canvas uses 1 there as well.
  const long double c = std::cos(a);
  if (std::fabs(c) < 0.01L) return 1.0;
  return static_cast<double>(std::sin(a) / c);
}

}  // namespace chart
