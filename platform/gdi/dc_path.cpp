// Paths: figures recorded between BeginPath and EndPath (in device pixels), then stroked,
// filled, widened into the pen's outline, or made the clip.
#include <QPainterPathStroker>

#include "platform/gdi/dc_impl.h"

namespace platform::gdi {

bool Dc::BeginPath() {
  d_->Record("BeginPath", {});
  d_->pathOpen = true;
  d_->path = QPainterPath();
  return true;
}

bool Dc::EndPath() {
  d_->Record("EndPath", {});
  if (!d_->pathOpen) return false;
  d_->pathOpen = false;
  return true;
}

bool Dc::AbortPath() {
  d_->Record("AbortPath", {});
  d_->pathOpen = false;
  d_->path = QPainterPath();
  return true;
}

bool Dc::WidenPath() {
  d_->Record("WidenPath", {});
  if (d_->pathOpen) return false;
  const Impl::PenSpec& s = d_->Pen();
  if (s.null) return false;
  QPen pen = s.qpen;
  pen.setWidthF(s.width);
  QPainterPathStroker stroker(pen);
  d_->path = stroker.createStroke(d_->path);
  return true;
}

namespace {

Qt::FillRule Rule(int mode) {
  return mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
}

}  // namespace

bool Dc::StrokePath() {
  d_->Record("StrokePath", {});
  if (d_->pathOpen) return false;
  d_->StrokePathDev(d_->path);
  d_->path = QPainterPath();
  return true;
}

bool Dc::FillPath() {
  d_->Record("FillPath", {});
  if (d_->pathOpen) return false;
  QPainterPath path = d_->path;
  path.setFillRule(Rule(d_->polyFillMode));
  d_->FillPathDev(path);
  d_->path = QPainterPath();
  return true;
}

bool Dc::StrokeAndFillPath() {
  d_->Record("StrokeAndFillPath", {});
  if (d_->pathOpen) return false;
  QPainterPath path = d_->path;
  path.setFillRule(Rule(d_->polyFillMode));
  d_->DrawShape(path, path, true);
  d_->path = QPainterPath();
  return true;
}

bool Dc::SelectClipPath(int mode) {
  d_->Record("SelectClipPath", {mode});
  if (d_->pathOpen || mode < RGN_AND || mode > RGN_COPY) return false;
  Region shape;
  shape.impl().rgn = ScanPolygons(d_->path.toSubpathPolygons(), d_->polyFillMode);
  d_->path = QPainterPath();
  if (mode == RGN_COPY) {
    d_->clip = shape.impl().rgn;
    return true;
  }
  Region current;
  current.impl().rgn = d_->clip ? *d_->clip : d_->SurfaceRegion();
  Region result;
  result.Combine(current, shape, mode);
  d_->clip = result.impl().rgn;
  return true;
}

}  // namespace platform::gdi
