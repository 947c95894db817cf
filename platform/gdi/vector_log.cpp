// Drawings kept for vector devices, and their painting on one painter. Devices that honour the
// painter's clip get it as it was; for those that do not (SVG), each shape is cut to the clip
// itself, so that nothing shows outside it.
#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/qt_color.h"

namespace platform::gdi {

// --- Keeping ---

namespace {

// A one-pixel line covers the pixels from its first point up to the one before its last. Along
// the pixels' middles that is a stroke from half a pixel before the first point to half a pixel
// before the last, so that two lines meeting at a corner close it without a sliver between
// them. Closed figures and curves keep their shape.
QPainterPath PixelSpan(const QPainterPath& path) {
  const int n = path.elementCount();
  for (int i = 0; i < n; ++i)
    if (path.elementAt(i).isCurveTo()) return path;
  const auto halfStep = [](const QPointF& from, const QPointF& to) {
    const QPointF d = to - from;
    return d / (2 * std::max(std::abs(d.x()), std::abs(d.y())));
  };
  QPainterPath out;
  out.setFillRule(path.fillRule());
  std::vector<QPointF> points;
  const auto flush = [&] {
    if (points.empty()) return;
    const std::size_t last = points.size() - 1;
    if (last > 0 && points[0] != points[last]) {
      std::size_t a = 1, b = last - 1;
      while (points[a] == points[0]) ++a;
      while (b > 0 && points[b] == points[last]) --b;
      const QPointF front = halfStep(points[0], points[a]);
      const QPointF back = halfStep(points[b], points[last]);
      points[0] -= front;
      points[last] -= back;
    }
    out.moveTo(points[0]);
    for (std::size_t k = 1; k < points.size(); ++k) out.lineTo(points[k]);
    points.clear();
  };
  for (int i = 0; i < n; ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo()) flush();
    points.emplace_back(e.x, e.y);
  }
  flush();
  return out;
}

}  // namespace

bool Dc::Impl::KeepsVector(bool rop) const {
  if (!vector) return false;
  return !rop || rop2 == R2_COPYPEN || rop2 == R2_BLACK || rop2 == R2_WHITE;
}

void Dc::Impl::Keep(VectorStep step) const {
  step.clip = clip;
  vector->impl().steps.push_back(std::move(step));
}

void Dc::Impl::KeepFill(const QPainterPath& path, const LogBrush& b, bool rop) const {
  if (!KeepsVector(rop) || b.Style == BS_NULL || path.isEmpty()) return;
  VectorStep step;
  step.kind = VectorStep::Kind::Fill;
  step.path = path;
  step.brush = Brush(b, rop);
  if (step.brush.style() == Qt::NoBrush) return;
  if (b.Style == BS_HATCHED && bkMode == OPAQUE) step.background = ToQColor(bkColor);
  Keep(std::move(step));
}

void Dc::Impl::KeepStroke(const QPainterPath& path, const PenSpec& s) const {
  if (!KeepsVector(true) || s.null || path.isEmpty()) return;
  VectorStep step;
  step.kind = VectorStep::Kind::Stroke;
  // A one-pixel line at whole coordinates covers the pixels right of and below them, as a
  // stroke along their middle does on a vector device.
  const QPointF shift = s.cosmetic ? QPointF(0.5, 0.5) : s.StrokeShift();
  step.path = shift.isNull() ? path : path.translated(shift);
  if (s.cosmetic) step.path = PixelSpan(step.path);
  step.pen = s.qpen;
  // A hairline would stay one device dot however far a document is zoomed; the screen's line is
  // one pixel wide.
  if (s.cosmetic) step.pen.setWidthF(1);
  if (s.styled && s.cosmetic && !s.geometric && bkMode == OPAQUE)
    step.background = ToQColor(bkColor);
  Keep(std::move(step));
}

void Dc::Impl::KeepImage(const QRect& target, const QImage& image) const {
  if (!KeepsVector(false) || image.isNull() || target.isEmpty()) return;
  VectorStep step;
  step.kind = VectorStep::Kind::Image;
  step.image = image;
  step.target = QRectF(target);
  Keep(std::move(step));
}

// --- Painting ---

namespace {

// The pen as a filled outline; a cosmetic pen is one unit wide.
QPainterPath StrokeOutline(const QPainterPath& path, QPen pen) {
  if (pen.widthF() <= 0) pen.setWidthF(1);
  pen.setCosmetic(false);
  QPainterPathStroker stroker(pen);
  return stroker.createStroke(path);
}

QPen Solid(QPen pen, const QColor& color) {
  pen.setStyle(Qt::SolidLine);
  pen.setColor(color);
  return pen;
}

QRectF TextBox(const VectorStep& s) {
  const QFontMetricsF fm(s.font);
  const QRectF box(s.at.x(), s.at.y() - fm.ascent(), fm.horizontalAdvance(s.text),
                   fm.ascent() + fm.descent());
  return s.background.isValid() ? box.united(s.cell) : box;
}

// Where a step may leave marks, in device pixels.
QRectF Reach(const VectorStep& s) {
  switch (s.kind) {
    case VectorStep::Kind::Fill:
      return s.path.controlPointRect();
    case VectorStep::Kind::Stroke: {
      // Mitres reach further than half the width; the limit is ten widths.
      const double w = std::max(1.0, s.pen.widthF()) * 10 + 2;
      return s.path.controlPointRect().adjusted(-w, -w, w, w);
    }
    case VectorStep::Kind::Text:
      return s.transform.mapRect(TextBox(s)).adjusted(-2, -2, 2, 2);
    case VectorStep::Kind::Image:
      return s.target.normalized();
  }
  return {};
}

void PaintPlain(QPainter& p, const VectorStep& s) {
  switch (s.kind) {
    case VectorStep::Kind::Fill:
      if (s.background.isValid()) p.fillPath(s.path, s.background);
      p.fillPath(s.path, s.brush);
      return;
    case VectorStep::Kind::Stroke:
      p.setBrush(Qt::NoBrush);
      if (s.background.isValid()) {
        p.setPen(Solid(s.pen, s.background));
        p.drawPath(s.path);
      }
      p.setPen(s.pen);
      p.drawPath(s.path);
      return;
    case VectorStep::Kind::Text:
      p.setWorldTransform(s.transform, true);
      if (s.background.isValid()) p.fillRect(s.cell, s.background);
      p.setFont(s.font);
      p.setPen(s.color);
      p.drawText(s.at, s.text);
      return;
    case VectorStep::Kind::Image:
      p.drawImage(s.target, s.image);
      return;
  }
}

// A step painted on a transparent image of the part of it the clip leaves, drawn as that image:
// for fills a vector document cannot express.
void PaintAsImage(QPainter& p, const VectorStep& s, const QRect& page) {
  QRect box = Reach(s).toAlignedRect() & page;
  if (s.clip) box &= s.clip->boundingRect();
  if (box.isEmpty()) return;
  // A large island is made coarser rather than taking gigabytes.
  constexpr double kMaxPixels = 4096.0 * 4096.0;
  const double area = static_cast<double>(box.width()) * box.height();
  const double f = area > kMaxPixels ? std::sqrt(kMaxPixels / area) : 1.0;
  QImage island(std::max(1, static_cast<int>(box.width() * f)),
                std::max(1, static_cast<int>(box.height() * f)),
                QImage::Format_ARGB32_Premultiplied);
  island.fill(Qt::transparent);
  {
    QPainter q(&island);
    q.scale(f, f);
    q.translate(-box.topLeft());
    q.setBrushOrigin(0, 0);
    if (s.clip) q.setClipRegion(*s.clip);
    PaintPlain(q, s);
  }
  p.drawImage(QRectF(box), island);
}

bool IsHatch(Qt::BrushStyle b) {
  return b >= Qt::HorPattern && b <= Qt::DiagCrossPattern;
}

bool IsPatternFill(const VectorStep& s) {
  const Qt::BrushStyle b = s.brush.style();
  return s.kind == VectorStep::Kind::Fill && b != Qt::SolidPattern && b != Qt::NoBrush &&
         !IsHatch(b);
}

int Mod8(long long v) {
  return static_cast<int>(((v % 8) + 8) % 8);
}

// The ink of a hatch brush over box, as lines one pixel across: Qt's own 8 x 8 tile, laid from
// the device origin, tells which rows, columns and diagonals carry ink.
QPainterPath HatchInk(Qt::BrushStyle style, const QRectF& box) {
  QImage tile(8, 8, QImage::Format_ARGB32);
  tile.fill(Qt::transparent);
  {
    QPainter q(&tile);
    q.fillRect(tile.rect(), QBrush(Qt::black, style));
  }
  const auto set = [&](int x, int y) { return qAlpha(tile.pixel(Mod8(x), Mod8(y))) > 0; };
  const auto all = [&](auto at) {
    for (int i = 0; i < 8; ++i)
      if (!at(i)) return false;
    return true;
  };
  QPainterPath ink;
  ink.setFillRule(Qt::WindingFill);
  const QRect r = box.toAlignedRect();
  if (r.isEmpty() || r.width() > (1 << 16) || r.height() > (1 << 16)) return ink;
  const long long L = r.left(), T = r.top(), R = r.right() + 1, B = r.bottom() + 1;
  for (int k = 0; k < 8; ++k) {
    if (all([&](int i) { return set(i, k); })) {
      for (long long y = T + Mod8(k - T); y < B; y += 8) ink.addRect(QRectF(L, y, R - L, 1));
    }
    if (all([&](int i) { return set(k, i); })) {
      for (long long x = L + Mod8(k - L); x < R; x += 8) ink.addRect(QRectF(x, T, 1, B - T));
    }
    // Pixels with x - y = D, and with x + y = S, as bands along their centres.
    if (all([&](int i) { return set(i + k, i); })) {
      const long long lo = L - B - 1;
      for (long long D = lo + Mod8(k - lo); D <= R - T + 1; D += 8) {
        const double d = static_cast<double>(D);
        ink.addPolygon(QPolygonF({QPointF(T + d - 0.5, T), QPointF(T + d + 0.5, T),
                                  QPointF(B + d + 0.5, B), QPointF(B + d - 0.5, B)}));
        ink.closeSubpath();
      }
    }
    if (all([&](int i) { return set(k - i, i); })) {
      const long long lo = L + T - 2;
      for (long long S = lo + Mod8(k - lo); S <= R + B + 1; S += 8) {
        const double c = static_cast<double>(S) + 1;
        ink.addPolygon(QPolygonF({QPointF(c - T - 0.5, T), QPointF(c - T + 0.5, T),
                                  QPointF(c - B + 0.5, B), QPointF(c - B - 0.5, B)}));
        ink.closeSubpath();
      }
    }
  }
  return ink;
}

// A hatched fill as its gaps' colour and its lines, cut to the clip when there is one.
void PaintHatch(QPainter& p, const VectorStep& s, const QPainterPath* clip, const QRect& page) {
  const QPainterPath area = clip ? s.path.intersected(*clip) : s.path;
  if (area.isEmpty()) return;
  if (s.background.isValid()) p.fillPath(area, s.background);
  QPainterPath ink = HatchInk(s.brush.style(), area.boundingRect() & page).intersected(area);
  if (!ink.isEmpty()) p.fillPath(ink, s.brush.color());
}

// The step cut to its clip by geometry.
void PaintClipped(QPainter& p, const VectorStep& s, const QPainterPath& clip) {
  switch (s.kind) {
    case VectorStep::Kind::Fill: {
      const QPainterPath cut = s.path.intersected(clip);
      if (!cut.isEmpty()) p.fillPath(cut, s.brush);
      return;
    }
    case VectorStep::Kind::Stroke: {
      if (s.background.isValid()) {
        const QPainterPath gaps = StrokeOutline(s.path, Solid(s.pen, s.background));
        p.fillPath(gaps.intersected(clip), s.background);
      }
      const QPainterPath cut = StrokeOutline(s.path, s.pen).intersected(clip);
      if (!cut.isEmpty()) p.fillPath(cut, s.pen.color());
      return;
    }
    case VectorStep::Kind::Text: {
      if (s.background.isValid()) {
        QPainterPath cell;
        cell.addRect(s.cell);
        p.fillPath(s.transform.map(cell).intersected(clip), s.background);
      }
      QPainterPath glyphs;
      glyphs.addText(s.at, s.font, s.text);
      const QPainterPath cut = s.transform.map(glyphs).intersected(clip);
      if (!cut.isEmpty()) p.fillPath(cut, s.color);
      return;
    }
    case VectorStep::Kind::Image: {
      // Each rectangle of the clip over the target shows its own piece of the picture.
      const QRectF t = s.target;
      if (t.width() == 0 || t.height() == 0 || s.image.isNull()) return;
      const double sx = s.image.width() / t.width(), sy = s.image.height() / t.height();
      for (const QRect& r : *s.clip& QRegion(t.normalized().toAlignedRect())) {
        const QRectF piece(r);
        const QRectF from((piece.x() - t.x()) * sx, (piece.y() - t.y()) * sy, piece.width() * sx,
                          piece.height() * sy);
        p.drawImage(piece, s.image, from);
      }
      return;
    }
  }
}

}  // namespace

VectorLog::VectorLog() : impl_(std::make_unique<Impl>()) {}
VectorLog::~VectorLog() = default;

std::size_t VectorLog::Size() const {
  return impl_->steps.size();
}

void VectorLog::Clear() {
  impl_->steps.clear();
}

void VectorLog::Play(QPainter& p, bool clipByShape) const {
  // The last clip's outline, kept while the steps share it.
  const QRegion* lastClip = nullptr;
  QPainterPath clipPath;
  const auto outline = [&](const QRegion& clip) -> const QPainterPath& {
    if (!lastClip || *lastClip != clip) {
      clipPath = QPainterPath();
      clipPath.addRegion(clip);
      clipPath = clipPath.simplified();
      lastClip = &clip;
    }
    return clipPath;
  };
  // What the device shows, in the steps' units: images and hatch lines made for the picture
  // stop there.
  QRect page(-(1 << 12), -(1 << 12), 1 << 13, 1 << 13);
  if (const QPaintDevice* device = p.device()) {
    bool invertible = false;
    const QTransform back = p.worldTransform().inverted(&invertible);
    if (invertible)
      page = back.mapRect(QRectF(0, 0, device->width(), device->height())).toAlignedRect() &
             QRect(-(1 << 15), -(1 << 15), 1 << 16, 1 << 16);
  }
  for (const VectorStep& s : impl_->steps) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setBrushOrigin(0, 0);
    p.setBackgroundMode(Qt::TransparentMode);
    if (!clipByShape) {
      if (s.clip) p.setClipRegion(*s.clip, Qt::IntersectClip);
      PaintPlain(p, s);
    } else if (IsPatternFill(s)) {
      PaintAsImage(p, s, page);
    } else if (s.kind == VectorStep::Kind::Fill && IsHatch(s.brush.style())) {
      PaintHatch(p, s, s.clip ? &outline(*s.clip) : nullptr, page);
    } else if (!s.clip || QRegion(Reach(s).toAlignedRect()).subtracted(*s.clip).isEmpty()) {
      PaintPlain(p, s);
    } else {
      PaintClipped(p, s, outline(*s.clip));
    }
    p.restore();
  }
}

}  // namespace platform::gdi
