// Shapes and lines with the platform's pixel rules: rectangles and ellipses leave out their
// right and bottom edges, a null pen makes the fill one pixel smaller, a one-pixel line leaves
// out its end point.
#include <QLineF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/qt_color.h"

namespace platform::gdi {

namespace {

// The geometry a closed shape's outline runs along: pixel centres of the outermost pixels.
QRectF OutlineRect(const QRect& r) {
  return QRectF(r.x(), r.y(), r.width() - 1, r.height() - 1);
}

QRectF Inset(const QRectF& r, double by) {
  const double w = std::max(0.0, r.width() - 2 * by), h = std::max(0.0, r.height() - 2 * by);
  return QRectF(r.center().x() - w / 2, r.center().y() - h / 2, w, h);
}

double Degrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
}

}  // namespace

bool Dc::Rectangle(int l, int t, int r, int b) {
  d_->Record("Rectangle", {l, t, r, b});
  const QRect R = d_->DevRect(l, t, r, b);
  if (d_->pathOpen) {
    d_->path.addRect(OutlineRect(R));
    return true;
  }
  if (R.width() <= 0 || R.height() <= 0) return true;
  const Impl::PenSpec& s = d_->Pen();
  // No pen, or a solid one-pixel pen: whole-pixel rectangles, the frame's four sides one pixel
  // thick, each pixel once; the same pixels as the paths below, without scanning them. A frame
  // only on the surface: Qt's stroke of a frame cut by the surface's edge may leave out its
  // corner.
  const bool plainFrame = !s.null && s.cosmetic && !s.styled;
  const bool onSurface =
      R.width() > 2 && R.height() > 2 && d_->Drawable() && d_->target->rect().contains(R);
  if ((s.null || (plainFrame && onSurface)) && !d_->KeepsVector(true)) {
    const LogBrush brush = d_->EffectiveBrush();
    const auto p = d_->Paint();
    if (!p || !d_->ApplyRop(*p)) return true;
    p->setPen(kNoPen);
    const QRect inside =
        s.null ? QRect(R.x(), R.y(), R.width() - 1, R.height() - 1) : R.adjusted(1, 1, -1, -1);
    if (brush.Style != BS_NULL && !inside.isEmpty()) {
      p->setBrush(d_->Brush(brush, true));
      d_->PrepareBrush(*p, brush);
      p->drawRect(inside);
    }
    if (plainFrame) {
      const int x = R.x(), y = R.y(), w = R.width() - 1, h = R.height() - 1;
      const QRect sides[] = {QRect(x, y, w + 1, 1), QRect(x, y + h, w + 1, 1),
                             QRect(x, y + 1, 1, h - 1), QRect(x + w, y + 1, 1, h - 1)};
      p->setBrush(d_->PenInk());
      Impl::SetBackground(*p, false, 0);
      p->drawRects(sides, 4);
    }
    return true;
  }
  QPainterPath fill, outline;
  // The pixels whose centres lie inside the fill.
  QRect box(R.x(), R.y(), R.width() - 1, R.height() - 1);
  if (s.null) {
    fill.addRect(OutlineRect(R));
  } else if (s.cosmetic) {
    // The interior only, so that a raster operation touches each pixel once.
    box = R.adjusted(1, 1, -1, -1);
    if (R.width() > 2 && R.height() > 2) fill.addRect(Inset(QRectF(R), 1));
    outline.addRect(OutlineRect(R));
  } else {
    fill.addRect(OutlineRect(R));
    const QRectF frame = s.insideFrame ? Inset(QRectF(R), s.width / 2) : OutlineRect(R);
    outline.addRect(frame);
  }
  d_->DrawShape(fill, outline, true, &box);
  return true;
}

bool Dc::RoundRect(int l, int t, int r, int b, int w, int h) {
  d_->Record("RoundRect", {l, t, r, b, w, h});
  const QRect R = d_->DevRect(l, t, r, b);
  const auto corner = [](double v) {
    return static_cast<long long>(std::llround(std::min(std::abs(v), 1e9)));
  };
  const long long cw = corner(w * d_->ScaleX()), ch = corner(h * d_->ScaleY());
  const double rx = std::min(cw / 2.0, R.width() / 2.0);
  const double ry = std::min(ch / 2.0, R.height() / 2.0);
  if (d_->pathOpen) {
    d_->path.addRoundedRect(OutlineRect(R), rx, ry);
    return true;
  }
  if (R.width() <= 0 || R.height() <= 0) return true;
  const Impl::PenSpec& s = d_->Pen();
  QPainterPath shape;
  if (!s.null && !s.cosmetic) {
    shape.addRoundedRect(s.insideFrame ? Inset(QRectF(R), s.width / 2) : OutlineRect(R), rx, ry);
    d_->DrawShape(shape, shape, true);
    return true;
  }
  // Whole pixels, as the platform draws it: the fill stays inside the outline, and a clip made
  // of the same round rectangle covers exactly the pixels drawn. Without a pen the fill is one
  // pixel smaller.
  const RoundRectPixels px =
      s.null ? ScanRoundRect(R.adjusted(0, 0, -1, -1), cw, ch) : ScanRoundRect(R, cw, ch);
  const LogBrush fill = d_->EffectiveBrush();
  shape.addRoundedRect(OutlineRect(R), rx, ry);
  if (d_->KeepsVector(true)) {
    d_->KeepFill(shape, fill, true);
    if (!s.null && !s.styled) d_->KeepStroke(shape, s);
  }
  const auto p = d_->Paint();
  if (!p || !d_->ApplyRop(*p)) return true;
  if (fill.Style != BS_NULL) {
    p->setPen(kNoPen);
    p->setBrush(d_->Brush(fill, true));
    d_->PrepareBrush(*p, fill);
    for (const QRect& area : s.null ? px.all : px.inside) p->drawRect(area);
  }
  if (s.null) return true;
  if (s.styled) {
    // Dashes follow the curve; their gaps show what lies below.
    d_->StrokePathDev(shape);
    return true;
  }
  p->setPen(kNoPen);
  p->setBrush(d_->PenInk());
  Impl::SetBackground(*p, false, 0);
  for (const QRect& area : px.outline) p->drawRect(area);
  return true;
}

bool Dc::Ellipse(int l, int t, int r, int b) {
  d_->Record("Ellipse", {l, t, r, b});
  const QRect R = d_->DevRect(l, t, r, b);
  if (d_->pathOpen) {
    d_->path.addEllipse(OutlineRect(R));
    return true;
  }
  if (R.width() <= 0 || R.height() <= 0) return true;
  const Impl::PenSpec& s = d_->Pen();
  if (!s.null && s.cosmetic && !s.styled) {
    // Qt's own scan conversion of whole-pixel ellipses: symmetric, each pixel drawn once.
    const LogBrush fill = d_->EffectiveBrush();
    if (d_->KeepsVector(true)) {
      QPainterPath ring;
      ring.addEllipse(QRectF(R.x(), R.y(), R.width() - 1, R.height() - 1));
      d_->KeepFill(ring, fill, true);
      d_->KeepStroke(ring, s);
    }
    const auto p = d_->Paint();
    if (!p || !d_->ApplyRop(*p)) return true;
    p->setPen(s.qpen);
    p->setBrush(d_->Brush(fill, true));
    d_->PrepareBrush(*p, fill);
    p->drawEllipse(QRect(R.x(), R.y(), R.width() - 1, R.height() - 1));
    return true;
  }
  QRectF frame = OutlineRect(R);
  if (s.insideFrame) frame = Inset(QRectF(R), s.width / 2);
  QPainterPath shape;
  shape.addEllipse(frame);
  d_->DrawShape(shape, s.null ? QPainterPath() : shape, true);
  return true;
}

Dc::Impl::ArcGeometry Dc::Impl::Arc(int l, int t, int r, int b, int xs, int ys, int xe,
                                    int ye) const {
  ArcGeometry g;
  const QRect R = DevRect(l, t, r, b);
  g.rect = OutlineRect(R);
  const QPointF c = g.rect.center();
  const double rx = std::max(g.rect.width() / 2, 1e-9), ry = std::max(g.rect.height() / 2, 1e-9);
  // The radial lines through the two points, as the ellipse's own angle (what QPainterPath
  // takes): on an ellipse that is not a circle the two differ.
  const auto angle = [&](int x, int y) {
    const QPointF p = DevF(x, y);
    const double dx = p.x() - c.x(), dy = c.y() - p.y();
    if (dx == 0 && dy == 0) return 0.0;
    double a = Degrees(std::atan2(dy / ry, dx / rx));
    if (a < 0) a += 360;
    return a;
  };
  const double a0 = angle(xs, ys), a1 = angle(xe, ye);
  double sweep = a1 - a0;
  if (arcDirection == AD_COUNTERCLOCKWISE) {
    if (sweep <= 0) sweep += 360;
  } else {
    if (sweep >= 0) sweep -= 360;
  }
  g.start = a0;
  g.sweep = sweep;
  return g;
}

bool Dc::Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  d_->Record("Arc", {l, t, r, b, xs, ys, xe, ye});
  const Impl::ArcGeometry g = d_->Arc(l, t, r, b, xs, ys, xe, ye);
  QPainterPath arc;
  arc.arcMoveTo(g.rect, g.start);
  arc.arcTo(g.rect, g.start, g.sweep);
  if (d_->pathOpen) {
    d_->path.addPath(arc);
    return true;
  }
  if (g.rect.width() < 0 || g.rect.height() < 0) return true;
  d_->StrokePathDev(arc);
  return true;
}

bool Dc::Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  d_->Record("Pie", {l, t, r, b, xs, ys, xe, ye});
  const Impl::ArcGeometry g = d_->Arc(l, t, r, b, xs, ys, xe, ye);
  QPainterPath pie;
  pie.moveTo(g.rect.center());
  pie.arcTo(g.rect, g.start, g.sweep);
  pie.closeSubpath();
  if (d_->pathOpen) {
    d_->path.addPath(pie);
    return true;
  }
  if (g.rect.width() <= 0 || g.rect.height() <= 0) return true;
  d_->DrawShape(pie, d_->Pen().null ? QPainterPath() : pie, true);
  return true;
}

bool Dc::ArcTo(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  d_->Record("ArcTo", {l, t, r, b, xs, ys, xe, ye});
  const Impl::ArcGeometry g = d_->Arc(l, t, r, b, xs, ys, xe, ye);
  QPainterPath arc;
  arc.moveTo(d_->DevF(d_->pos.X, d_->pos.Y));
  QPainterPath probe;
  probe.arcMoveTo(g.rect, g.start);
  arc.lineTo(probe.currentPosition());
  arc.arcTo(g.rect, g.start, g.sweep);
  // The current position moves to the arc's end, in logical units.
  TPoint end{static_cast<int>(std::lround(arc.currentPosition().x())),
             static_cast<int>(std::lround(arc.currentPosition().y()))};
  DPtoLP(&end, 1);
  d_->pos = end;
  if (d_->pathOpen) {
    const QPointF start(arc.elementAt(0).x, arc.elementAt(0).y);
    // The path may end a rounding away from the current position (after an arc): the same
    // figure goes on.
    if (d_->path.elementCount() == 0 || QLineF(d_->path.currentPosition(), start).length() > 1)
      d_->path.moveTo(start);
    d_->path.connectPath(arc);
    return true;
  }
  d_->StrokePathDev(arc);
  return true;
}

bool Dc::LineTo(int x, int y) {
  d_->Record("LineTo", {x, y});
  const QPointF from = d_->Dev(d_->pos.X, d_->pos.Y), to = d_->Dev(x, y);
  d_->pos = TPoint{x, y};
  if (d_->pathOpen) {
    if (d_->path.elementCount() == 0 || QLineF(d_->path.currentPosition(), from).length() > 1)
      d_->path.moveTo(from);
    d_->path.lineTo(to);
    return true;
  }
  const Impl::PenSpec& s = d_->Pen();
  if (s.null) return true;
  if (from == to) {
    // A wide pen's zero-length line is a dot of its width with a round or square end; a flat
    // end, or a one-pixel pen, draws nothing.
    if (s.cosmetic || s.qpen.capStyle() == Qt::FlatCap) return true;
    QPainterPath dot;
    const QPointF c = to + s.StrokeShift();
    const QRectF box(c.x() - s.width / 2, c.y() - s.width / 2, s.width, s.width);
    if (s.qpen.capStyle() == Qt::RoundCap) {
      dot.addEllipse(box);
    } else {
      dot.addRect(box);
    }
    LogBrush ink;
    ink.Color = FromQRgb(s.qpen.color().rgb());
    d_->KeepFill(dot, ink, true);
    const auto p = d_->Paint();
    if (!p || !d_->ApplyRop(*p)) return true;
    p->setPen(kNoPen);
    p->setBrush(d_->PenInk());
    p->drawPath(dot);
    return true;
  }
  d_->StrokeLine(from, to);
  return true;
}

namespace {
// A point list as the recorder's arguments: x0, y0, x1, y1, ...
std::vector<int> PointArgs(const TPoint* points, int count) {
  std::vector<int> args;
  if (!points || count <= 0) return args;
  args.reserve(static_cast<size_t>(count) * 2);
  for (int i = 0; i < count; ++i) {
    args.push_back(points[i].X);
    args.push_back(points[i].Y);
  }
  return args;
}
}  // namespace

bool Dc::Polyline(const TPoint* points, int count) {
  if (d_->recorder) d_->Emit("Polyline", PointArgs(points, count), {}, nullptr);
  if (!points || count < 2) return false;
  QPainterPath line(d_->Dev(points[0].X, points[0].Y));
  for (int i = 1; i < count; ++i) line.lineTo(d_->Dev(points[i].X, points[i].Y));
  if (d_->pathOpen) {
    d_->path.addPath(line);
    return true;
  }
  d_->StrokePathDev(line);
  return true;
}

bool Dc::Polygon(const TPoint* points, int count) {
  if (d_->recorder) d_->Emit("Polygon", PointArgs(points, count), {}, nullptr);
  if (!points || count < 2) return false;
  QPolygonF poly;
  poly.reserve(count);
  for (int i = 0; i < count; ++i) poly << QPointF(d_->Dev(points[i].X, points[i].Y));
  QPainterPath shape;
  shape.addPolygon(poly);
  shape.closeSubpath();
  shape.setFillRule(d_->polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  if (d_->pathOpen) {
    d_->path.addPath(shape);
    return true;
  }
  d_->DrawShape(shape, d_->Pen().null ? QPainterPath() : shape, true);
  return true;
}

namespace {

// Fills a device rectangle with a brush in copy mode, whatever the raster operation.
void CopyFill(const Dc::Impl& d, const QRect& r, const LogBrush& brush) {
  if (r.width() <= 0 || r.height() <= 0 || brush.Style == BS_NULL) return;
  if (d.KeepsVector(false)) {
    QPainterPath area;
    area.addRect(r);
    d.KeepFill(area, brush, false);
  }
  const auto p = d.Paint();
  if (!p) return;
  p->setPen(kNoPen);
  p->setBrush(d.Brush(brush, false));
  d.PrepareBrush(*p, brush);
  p->drawRect(r);
}

}  // namespace

bool Dc::FillRect(const TRect& rect, const LogBrush& brush) {
  d_->Record("FillRect", {rect.Left, rect.Top, rect.Right, rect.Bottom}, {}, &brush);
  CopyFill(*d_, d_->DevRect(rect.Left, rect.Top, rect.Right, rect.Bottom), brush);
  return true;
}

bool Dc::PatBlt(int x, int y, int w, int h, std::uint32_t rop) {
  d_->Record("PatBlt", {x, y, w, h, static_cast<int>(rop)});
  if (rop != PATCOPY) return false;
  const long long r = static_cast<long long>(x) + w, b = static_cast<long long>(y) + h;
  CopyFill(*d_, d_->DevRect(x, y, ClampCoord(r), ClampCoord(b)), d_->EffectiveBrush());
  return true;
}

TColor Dc::SetPixel(int x, int y, TColor color) {
  d_->Record("SetPixel", {x, y, color});
  const QPoint p = d_->Dev(x, y);
  if (!d_->Drawable() || !d_->target->valid(p) || (d_->clip && !d_->clip->contains(p))) return -1;
  const QColor c = ToQColor(color);
  d_->DrawQueuedOnTarget();
  if (d_->KeepsVector(false)) {
    QPainterPath dot;
    dot.addRect(QRectF(p, QSizeF(1, 1)));
    LogBrush ink;
    ink.Color = FromQRgb(c.rgb());
    d_->KeepFill(dot, ink, false);
  }
  d_->target->setPixel(p, c.rgb());
  return RGB(c.red(), c.green(), c.blue());
}

TColor Dc::GetPixel(int x, int y) const {
  const QPoint p = d_->Dev(x, y);
  if (!d_->Drawable() || !d_->target->valid(p) || (d_->clip && !d_->clip->contains(p))) return -1;
  d_->DrawQueuedOnTarget();
  return FromQRgb(d_->target->pixel(p));
}

}  // namespace platform::gdi
