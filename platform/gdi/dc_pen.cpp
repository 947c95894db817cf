// Pens and brushes as Qt draws them, and the two drawing passes every shape goes through: the
// brush fill, then the pen outline, both under the raster operation.
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/qt_color.h"

namespace platform::gdi {

namespace {

// Dash patterns of the styled pens. Cosmetic pens count in device pixels; geometric pens in
// pen widths (each dash also gets the pen's end caps).
const QList<qreal> kCosmeticDash = {18, 6};
const QList<qreal> kCosmeticDot = {3, 3};
const QList<qreal> kCosmeticDashDot = {9, 6, 3, 6};
const QList<qreal> kCosmeticDashDotDot = {9, 3, 3, 3, 3, 3};
const QList<qreal> kGeometricDash = {3, 1};
const QList<qreal> kGeometricDot = {1, 1};
const QList<qreal> kGeometricDashDot = {3, 1, 1, 1};
const QList<qreal> kGeometricDashDotDot = {3, 1, 1, 1, 1, 1};
const QList<qreal> kAlternate = {1, 1};

// The fixed dash pattern of a stock style, in pixels (cosmetic) or pen widths; null for others.
const QList<qreal>* StockDashes(std::uint32_t style, bool cosmetic) {
  switch (style) {
    case PS_DASH:
      return cosmetic ? &kCosmeticDash : &kGeometricDash;
    case PS_DOT:
      return cosmetic ? &kCosmeticDot : &kGeometricDot;
    case PS_DASHDOT:
      return cosmetic ? &kCosmeticDashDot : &kGeometricDashDot;
    case PS_DASHDOTDOT:
      return cosmetic ? &kCosmeticDashDotDot : &kGeometricDashDotDot;
    case PS_ALTERNATE:
      return &kAlternate;
    default:
      return nullptr;
  }
}

// A user style in device pixels for a one-pixel pen: a zero-length dash (shown by its round
// cap) becomes one pixel taken from the following gap, so the period stays what was asked.
QList<qreal> CosmeticUserStyle(const std::vector<std::uint32_t>& style, double unit) {
  std::vector<std::uint32_t> s = style;
  if (s.size() % 2) s.insert(s.end(), style.begin(), style.end());
  QList<qreal> out;
  bool anyGap = false;
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    const double dash = std::min(1e6, s[i] * unit);
    double gap = std::min(1e6, s[i + 1] * unit);
    double on = std::round(dash);
    if (on < 1) {
      on = 1;
      gap -= 1;
    }
    gap = std::round(gap);
    if (gap >= 1) anyGap = true;
    out << on << std::max(gap, 1.0);
  }
  if (!anyGap) out.clear();
  return out;
}

QList<qreal> GeometricUserStyle(const std::vector<std::uint32_t>& style, double unit,
                                double width) {
  std::vector<std::uint32_t> s = style;
  if (s.size() % 2) s.insert(s.end(), style.begin(), style.end());
  QList<qreal> out;
  bool anyGap = false;
  for (std::uint32_t v : s) {
    // Qt wants positive entries; a zero-length dash is a dot of the cap alone.
    const double len = std::clamp(v * unit / width, 1e-3, 1e6);
    if (out.size() % 2 && v > 0) anyGap = true;
    out << len;
  }
  if (!anyGap) out.clear();
  return out;
}

// The index of the entry of a ring of kept things that matches; else of one made in place of
// the oldest (or added while the ring is not full).
template <class T, class Match, class Make>
std::size_t Recall(std::vector<T>& ring, std::size_t& next, const Match& match, const Make& make) {
  for (std::size_t i = 0; i < ring.size(); ++i)
    if (match(ring[i])) return i;
  if (ring.size() < Dc::Impl::kMadeKept) {
    ring.push_back(make());
    return ring.size() - 1;
  }
  const std::size_t i = next;
  next = (next + 1) % Dc::Impl::kMadeKept;
  ring[i] = make();
  return i;
}

}  // namespace

const Dc::Impl::PenSpec& Dc::Impl::Pen() const {
  // Kept from the last call: most primitives draw with the pen the one before drew with.
  if (madeStamp == penStamp && !madePens.empty()) return madePens[madePen].spec;
  madeStamp = penStamp;
  const LogPen pen = EffectivePen();
  const double sx = ScaleX(), sy = ScaleY();
  madePen = Recall(
      madePens, nextPen,
      [&](const MadePen& m) {
        return m.pen == pen && m.scaleX == sx && m.scaleY == sy && m.rop2 == rop2;
      },
      [&] {
        PenSpec spec = MakePen(pen);
        const QBrush ink(spec.qpen.color());
        return MadePen{pen, sx, sy, rop2, std::move(spec), ink};
      });
  return madePens[madePen].spec;
}

Dc::Impl::PenSpec Dc::Impl::MakePen(const LogPen& lp) const {
  PenSpec s;
  const std::uint32_t style = lp.Style & PS_STYLE_MASK;
  if (style == PS_NULL || style > PS_ALTERNATE) return s;
  s.null = false;
  const bool geometric = (lp.Style & PS_GEOMETRIC) != 0;
  s.geometric = geometric;
  const int width = std::max(0, lp.Width);
  // One device pixel: a cosmetic pen of width 0 or 1, or a geometric pen that maps to it.
  s.width = (!geometric && width <= 1) ? 1.0 : std::clamp(DevLength(width), 1.0, 32767.0);
  s.cosmetic = s.width < 1.5;
  s.styled = style != PS_SOLID && style != PS_INSIDEFRAME;
  s.insideFrame = style == PS_INSIDEFRAME && !s.cosmetic;
  const QColor color = RopColor(lp.Color);
  if (s.cosmetic) {
    s.width = 1;
    s.qpen = QPen(color, 0);
    // A flat end leaves out the last pixel of each line, as the platform does.
    s.qpen.setCapStyle(Qt::FlatCap);
    s.qpen.setJoinStyle(Qt::MiterJoin);
    if (const QList<qreal>* d = StockDashes(style, true)) s.qpen.setDashPattern(*d);
    if (style == PS_USERSTYLE) {
      const QList<qreal> d = CosmeticUserStyle(lp.UserStyle, geometric ? DevLength(1) : 1.0);
      if (d.isEmpty()) {
        s.styled = false;
      } else {
        s.qpen.setDashPattern(d);
      }
    }
    return s;
  }
  s.qpen = QPen(color, s.width);
  switch (lp.Style & 0x00000F00u) {
    case PS_ENDCAP_SQUARE:
      s.qpen.setCapStyle(Qt::SquareCap);
      break;
    case PS_ENDCAP_FLAT:
      s.qpen.setCapStyle(Qt::FlatCap);
      break;
    default:
      s.qpen.setCapStyle(Qt::RoundCap);
      break;
  }
  switch (lp.Style & 0x0000F000u) {
    case PS_JOIN_BEVEL:
      s.qpen.setJoinStyle(Qt::BevelJoin);
      break;
    case PS_JOIN_MITER:
      // Beyond the limit the platform bevels the corner; Qt's plain mitre would be cut off.
      s.qpen.setJoinStyle(Qt::SvgMiterJoin);
      break;
    default:
      s.qpen.setJoinStyle(Qt::RoundJoin);
      break;
  }
  // Mitres longer than ten pen widths (inner to outer corner) become bevels.
  s.qpen.setMiterLimit(10.0);
  if (const QList<qreal>* d = StockDashes(style, false)) s.qpen.setDashPattern(*d);
  if (style == PS_USERSTYLE) {
    const QList<qreal> d = GeometricUserStyle(lp.UserStyle, DevLength(1), s.width);
    if (d.isEmpty()) {
      s.styled = false;
    } else {
      s.qpen.setDashPattern(d);
    }
  }
  return s;
}

const QBrush& Dc::Impl::Brush(const LogBrush& b, bool rop) const {
  // A monochrome pattern takes the text and background colours; a fill under the raster
  // operation, the operation.
  const bool mono = b.Style == BS_PATTERN && b.Monochrome;
  const std::size_t i = Recall(
      madeBrushes, nextBrush,
      [&](const MadeBrush& m) {
        return m.brush == b && m.rop == rop && (!rop || m.rop2 == rop2) &&
               (!mono || (m.textColor == textColor && m.bkColor == bkColor));
      },
      [&] { return MadeBrush{b, rop, rop2, textColor, bkColor, MakeBrush(b, rop)}; });
  return madeBrushes[i].made;
}

QBrush Dc::Impl::MakeBrush(const LogBrush& b, bool rop) const {
  const QColor color = rop ? RopColor(b.Color) : ToQColor(b.Color);
  switch (b.Style) {
    case BS_SOLID:
      return QBrush(color);
    case BS_HATCHED: {
      static constexpr Qt::BrushStyle kHatch[] = {Qt::HorPattern,   Qt::VerPattern,
                                                  Qt::FDiagPattern, Qt::BDiagPattern,
                                                  Qt::CrossPattern, Qt::DiagCrossPattern};
      return QBrush(color, kHatch[std::clamp(b.Hatch, HS_HORIZONTAL, HS_DIAGCROSS)]);
    }
    case BS_PATTERN: {
      if (!b.Pattern || b.Pattern->isNull()) return QBrush(Qt::NoBrush);
      QImage tile = b.Pattern->convertToFormat(QImage::Format_RGB32);
      if (b.Monochrome) {
        // 0-bits in the text colour, 1-bits in the background colour.
        const QRgb fg = ToQColor(textColor).rgb(), bg = ToQColor(bkColor).rgb();
        for (int y = 0; y < tile.height(); ++y) {
          auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
          for (int x = 0; x < tile.width(); ++x) line[x] = qGray(line[x]) >= 128 ? bg : fg;
        }
      }
      return QBrush(tile);
    }
    default:
      return QBrush(Qt::NoBrush);
  }
}

void Dc::Impl::PrepareBrush(QPainter& p, const LogBrush& b) const {
  SetBackground(p, b.Style == BS_HATCHED && bkMode == OPAQUE, bkColor);
}

namespace {

void PreparePen(QPainter& p, const Dc::Impl::PenSpec& s, int bkMode, TColor bk) {
  p.setBrush(kNoBrush);
  p.setPen(s.qpen);
  // A wide pen of odd width is centred on the middle of the pixel its points name, so that it
  // covers as many pixels on each side.
  const QPointF shift = s.StrokeShift();
  if (!shift.isNull()) p.translate(shift);
  // Styled cosmetic pens fill their gaps with the background colour when opaque.
  Dc::Impl::SetBackground(p, s.styled && s.cosmetic && !s.geometric && bkMode == OPAQUE, bk);
}

}  // namespace

void Dc::Impl::DrawShape(const QPainterPath& fill, const QPainterPath& outline, bool fillShape,
                         const QRect* box) {
  const LogBrush b = EffectiveBrush();
  const PenSpec& s = Pen();
  if (fillShape) KeepFill(fill, b, true);
  KeepStroke(outline, s);
  const auto p = Paint();
  if (!p || !ApplyRop(*p)) return;
  if (fillShape && b.Style != BS_NULL && !fill.isEmpty()) {
    p->setPen(kNoPen);
    p->setBrush(Brush(b, true));
    PrepareBrush(*p, b);
    if (box) {
      if (!box->isEmpty()) p->drawRect(*box);
    } else {
      p->drawPath(fill);
    }
  }
  if (!s.null && !outline.isEmpty()) {
    PreparePen(*p, s, bkMode, bkColor);
    p->drawPath(outline);
  }
}

namespace {

bool OnlyLines(const QPainterPath& path) {
  for (int i = 0; i < path.elementCount(); ++i) {
    if (path.elementAt(i).isCurveTo()) return false;
  }
  return true;
}

// One-pixel lines segment by segment, the dash pattern carrying on from segment to segment.
// Returns the length drawn.
double DrawCosmeticSegment(QPainter& p, QPen& pen, const QPointF& at, const QPointF& to,
                           double offset) {
  QLineF line;
  if (!CosmeticLine(at, to, line)) return 0;
  if (pen.style() == Qt::CustomDashLine) {
    pen.setDashOffset(offset);
    p.setPen(pen);
  }
  p.drawLine(line);
  return std::max(std::abs(to.x() - at.x()), std::abs(to.y() - at.y()));
}

void DrawCosmeticLines(QPainter& p, QPen pen, const QPainterPath& path) {
  QPointF at;
  double offset = 0;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    const QPointF to(e.x, e.y);
    if (!e.isMoveTo()) offset += DrawCosmeticSegment(p, pen, at, to, offset);
    at = to;
  }
}

}  // namespace

void Dc::Impl::StrokePathDev(const QPainterPath& path) {
  const PenSpec& s = Pen();
  if (s.null || path.isEmpty()) return;
  KeepStroke(path, s);
  const auto p = Paint();
  if (!p || !ApplyRop(*p)) return;
  PreparePen(*p, s, bkMode, bkColor);
  if (s.cosmetic && OnlyLines(path)) {
    if (s.styled) {
      DrawCosmeticLines(*p, s.qpen, path);
      return;
    }
    // Solid: each segment as a line alone, gathered into runs during a pass.
    QPointF at;
    for (int i = 0; i < path.elementCount(); ++i) {
      const QPainterPath::Element e = path.elementAt(i);
      const QPointF to(e.x, e.y);
      CosmeticSegment segment;
      if (!e.isMoveTo() && MakeSegment(at, to, segment) && !Queue(segment, !Queued())) {
        DrawQueued();
        DrawAlone(*p, segment);
      }
      at = to;
    }
    return;
  }
  p->drawPath(path);
}

void Dc::Impl::StrokeLine(const QPointF& from, const QPointF& to) {
  const PenSpec& s = Pen();
  if (s.null) return;
  if (!s.cosmetic || KeepsVector(true)) {
    QPainterPath line(from);
    line.lineTo(to);
    StrokePathDev(line);
    return;
  }
  // What StrokePathDev does with a one-segment path, without building it.
  if (!s.styled) {
    CosmeticSegment segment;
    if (!MakeSegment(from, to, segment)) return;
    if (Queue(segment, false)) return;
    const auto p = Paint();
    if (!p || !ApplyRop(*p)) return;
    PreparePen(*p, s, bkMode, bkColor);
    if (!Queue(segment, true)) DrawAlone(*p, segment);
    return;
  }
  const auto p = Paint();
  if (!p || !ApplyRop(*p)) return;
  PreparePen(*p, s, bkMode, bkColor);
  QPen pen = s.qpen;
  DrawCosmeticSegment(*p, pen, from, to, 0);
}

void Dc::Impl::FillPathDev(const QPainterPath& path) {
  const LogBrush b = EffectiveBrush();
  if (b.Style == BS_NULL || path.isEmpty()) return;
  KeepFill(path, b, true);
  const auto p = Paint();
  if (!p || !ApplyRop(*p)) return;
  p->setPen(kNoPen);
  p->setBrush(Brush(b, true));
  PrepareBrush(*p, b);
  p->drawPath(path);
}

}  // namespace platform::gdi
