// Regions in device pixels (a pixel belongs to a shape when its centre lies inside, so right
// and bottom edges stay out) and the clip built from them.
#include <algorithm>
#include <cmath>

#include "platform/gdi/dc_impl.h"

namespace platform::gdi {

namespace {

// Rows of a region beyond this distance from the origin are dropped: no surface is that large,
// and absurd shapes must not cost memory.
constexpr int kRowLimit = 1 << 16;

struct Edge {
  double x0, y0, x1, y1;
  int dir;
};

using Spans = std::vector<std::pair<int, int>>;

void FlushBand(std::vector<QRect>& rects, const Spans& spans, int top, int bottom) {
  for (const auto& [a, b] : spans) rects.emplace_back(a, top, b - a, bottom - top);
}

QRegion Combine(const QRegion& a, const QRegion& b, int mode) {
  switch (mode) {
    case RGN_AND:
      return a.intersected(b);
    case RGN_OR:
      return a.united(b);
    case RGN_XOR:
      return a.xored(b);
    case RGN_DIFF:
      return a.subtracted(b);
    default:
      return a;
  }
}

int Complexity(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

QRegion ScanPolygons(const QList<QPolygonF>& polygons, int fillMode) {
  std::vector<Edge> edges;
  QRectF box;
  for (const QPolygonF& polygon : polygons) {
    if (polygon.size() < 3) continue;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
      const QPointF a = polygon[i], b = polygon[(i + 1) % polygon.size()];
      if (a.y() == b.y() || !std::isfinite(a.x() + a.y() + b.x() + b.y())) continue;
      edges.push_back(a.y() < b.y() ? Edge{a.x(), a.y(), b.x(), b.y(), 1}
                                    : Edge{b.x(), b.y(), a.x(), a.y(), -1});
    }
    box = box.isNull() ? polygon.boundingRect() : box.united(polygon.boundingRect());
  }
  if (edges.empty()) return {};
  const int top =
      static_cast<int>(std::clamp(std::floor(box.top()), -1.0 * kRowLimit, 1.0 * kRowLimit));
  const int bottom =
      static_cast<int>(std::clamp(std::ceil(box.bottom()), -1.0 * kRowLimit, 1.0 * kRowLimit));
  std::vector<QRect> rects;
  Spans band, row;
  int bandTop = top;
  std::vector<std::pair<double, int>> xs;
  for (int y = top; y <= bottom; ++y) {
    row.clear();
    if (y < bottom) {
      const double sy = y + 0.5;
      xs.clear();
      for (const Edge& e : edges) {
        if (sy < e.y0 || sy >= e.y1) continue;
        xs.emplace_back(e.x0 + (sy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
      }
      std::sort(xs.begin(), xs.end());
      int winding = 0;
      double start = 0;
      for (size_t i = 0; i < xs.size(); ++i) {
        const bool wasIn = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
        winding += fillMode == WINDING ? xs[i].second : 1;
        const bool isIn = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
        if (!wasIn && isIn) start = xs[i].first;
        if (wasIn && !isIn) {
          const int a =
              ClampCoord(static_cast<long long>(std::ceil(std::clamp(start - 0.5, -1e12, 1e12))));
          const int b = ClampCoord(
              static_cast<long long>(std::ceil(std::clamp(xs[i].first - 0.5, -1e12, 1e12))));
          if (a >= b) continue;
          if (!row.empty() && a <= row.back().second) {
            row.back().second = std::max(row.back().second, b);
          } else {
            row.emplace_back(a, b);
          }
        }
      }
    }
    if (y == bottom || row != band) {
      FlushBand(rects, band, bandTop, y);
      band = row;
      bandTop = y;
    }
  }
  QRegion out;
  if (!rects.empty()) out.setRects(rects.data(), static_cast<int>(rects.size()));
  return out;
}

namespace {

// Rows given one after another, top down, as y-x banded rectangles; rows with the same spans
// share one band.
class Bands {
 public:
  void Add(int top, int bottom, const Spans& spans) {
    if (top >= bottom) return;
    if (top != bottom_ || spans != band_) {
      FlushBand(rects_, band_, top_, bottom_);
      band_ = spans;
      top_ = top;
    }
    bottom_ = bottom;
  }
  QRegion Finish() {
    FlushBand(rects_, band_, top_, bottom_);
    QRegion out;
    if (!rects_.empty()) out.setRects(rects_.data(), static_cast<int>(rects_.size()));
    return out;
  }

 private:
  std::vector<QRect> rects_;
  Spans band_;
  int top_ = 0, bottom_ = 0;
};

}  // namespace

RoundRectPixels ScanRoundRect(const QRect& box, long long w, long long h) {
  RoundRectPixels out;
  const long long W = box.width(), H = box.height();
  if (W <= 0 || H <= 0) return out;
  // The corner ellipse runs through the centres of the pixels of its w x h box.
  const double a = (static_cast<double>(std::min(std::abs(w), W)) - 1) / 2;
  const double b = (static_cast<double>(std::min(std::abs(h), H)) - 1) / 2;
  // Pixels left out at the left of row j; the right side mirrors it, and row H - 1 - j row j.
  const auto cut = [&](long long j) -> long long {
    const long long fromEdge = std::min(j, H - 1 - j);
    if (a <= 0 || b <= 0 || fromEdge >= b) return 0;
    const double t = (b - fromEdge) / b;
    const double x = a - a * std::sqrt(std::max(0.0, 1 - t * t));
    return std::max(0LL, static_cast<long long>(std::ceil(x - 0.5)));
  };
  Bands all, outline, inside;
  Spans allSpans, outlineSpans, insideSpans;
  const auto row = [&](long long j, long long y0, long long y1) {
    const long long c = cut(j);
    // A pixel is on the outline when a neighbour across an edge is outside the shape.
    const long long above = j == 0 ? W : cut(j - 1), below = j == H - 1 ? W : cut(j + 1);
    const long long run = std::max(c + 1, std::max(above, below));
    const int x = box.x();
    allSpans = {{static_cast<int>(x + c), static_cast<int>(x + W - c)}};
    if (run >= W - run) {
      outlineSpans = allSpans;
      insideSpans.clear();
    } else {
      outlineSpans = {{static_cast<int>(x + c), static_cast<int>(x + run)},
                      {static_cast<int>(x + W - run), static_cast<int>(x + W - c)}};
      insideSpans = {{static_cast<int>(x + run), static_cast<int>(x + W - run)}};
    }
    all.Add(static_cast<int>(y0), static_cast<int>(y1), allSpans);
    outline.Add(static_cast<int>(y0), static_cast<int>(y1), outlineSpans);
    inside.Add(static_cast<int>(y0), static_cast<int>(y1), insideSpans);
  };
  // Only the rows near the corners differ; the ones between are one band. Rows far from any
  // surface are left out.
  const long long top = box.y();
  const long long first = std::max(0LL, -kRowLimit - top), last = std::min(H, kRowLimit - top);
  const long long corner = std::min(H, static_cast<long long>(std::ceil(std::max(b, 0.0))) + 1);
  for (long long j = first; j < std::min(last, corner); ++j) row(j, top + j, top + j + 1);
  const long long middle = std::max(first, corner), tail = std::max(middle, H - corner);
  if (std::min(last, tail) > middle) row(middle, top + middle, top + std::min(last, tail));
  for (long long j = tail; j < last; ++j) row(j, top + j, top + j + 1);
  out.all = all.Finish();
  out.outline = outline.Finish();
  out.inside = inside.Finish();
  return out;
}

// --- Region ---

Region::Region() : impl_(std::make_unique<Impl>()) {}
Region::Region(const Region& o) : impl_(std::make_unique<Impl>(*o.impl_)) {}
Region& Region::operator=(const Region& o) {
  if (this != &o) *impl_ = *o.impl_;
  return *this;
}
Region::~Region() = default;

Region Region::Rect(int l, int t, int r, int b) {
  Region out;
  const long long x0 = std::min(l, r), x1 = std::max(l, r);
  const long long y0 = std::min(t, b), y1 = std::max(t, b);
  const int cx0 = ClampCoord(x0), cx1 = ClampCoord(x1), cy0 = ClampCoord(y0), cy1 = ClampCoord(y1);
  if (cx1 > cx0 && cy1 > cy0) out.impl_->rgn = QRegion(cx0, cy0, cx1 - cx0, cy1 - cy0);
  return out;
}

namespace {

QRectF Box(int l, int t, int r, int b) {
  const int x0 = ClampCoord(std::min(l, r)), x1 = ClampCoord(std::max(l, r));
  const int y0 = ClampCoord(std::min(t, b)), y1 = ClampCoord(std::max(t, b));
  return QRectF(x0, y0, static_cast<double>(x1) - x0, static_cast<double>(y1) - y0);
}

}  // namespace

Region Region::RoundRect(int l, int t, int r, int b, int w, int h) {
  Region out;
  const QRectF box = Box(l, t, r, b);
  if (box.isEmpty()) return out;
  // The pixels the device context's RoundRect covers.
  out.impl_->rgn = ScanRoundRect(box.toRect(), w, h).all;
  return out;
}

Region Region::Ellipse(int l, int t, int r, int b) {
  Region out;
  const QRectF box = Box(l, t, r, b);
  if (box.isEmpty()) return out;
  QPainterPath path;
  path.addEllipse(box);
  out.impl_->rgn = ScanPolygon(path.toFillPolygon(), ALTERNATE);
  return out;
}

Region Region::Polygon(const TPoint* points, int count, int fillMode) {
  Region out;
  if (!points || count < 3) return out;
  QPolygonF poly;
  poly.reserve(count);
  for (int i = 0; i < count; ++i) poly << QPointF(ClampCoord(points[i].X), ClampCoord(points[i].Y));
  out.impl_->rgn = ScanPolygon(poly, fillMode);
  return out;
}

void Region::Combine(const Region& a, const Region& b, int mode) {
  impl_->rgn = platform::gdi::Combine(a.impl_->rgn, b.impl_->rgn, mode);
}

bool Region::Empty() const {
  return impl_->rgn.isEmpty();
}

bool Region::Contains(int x, int y) const {
  return impl_->rgn.contains(QPoint(x, y));
}

TRect Region::BoundingBox() const {
  const QRect r = impl_->rgn.boundingRect();
  if (r.isEmpty()) return TRect{};
  return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

bool operator==(const Region& a, const Region& b) {
  return a.impl_->rgn == b.impl_->rgn;
}

// --- Clip ---

namespace {

std::vector<int> BoxArgs(const Region* r) {
  if (!r) return {};
  const TRect b = r->BoundingBox();
  return {b.Left, b.Top, b.Right, b.Bottom};
}

}  // namespace

int Dc::GetClipRgn(Region& out) const {
  if (!d_->clip) return 0;
  out.impl().rgn = *d_->clip;
  return 1;
}

int Dc::SelectClipRgn(const Region* region) {
  if (d_->recorder) d_->Emit("SelectClipRgn", BoxArgs(region), {}, nullptr);
  if (!region) {
    d_->clip.reset();
    return SIMPLEREGION;
  }
  d_->clip = region->impl().rgn;
  return Complexity(*d_->clip);
}

int Dc::ExtSelectClipRgn(const Region* region, int mode) {
  if (d_->recorder) {
    std::vector<int> args = BoxArgs(region);
    args.insert(args.begin(), mode);
    d_->Emit("ExtSelectClipRgn", std::move(args), {}, nullptr);
  }
  if (mode == RGN_COPY) {
    if (!region) {
      d_->clip.reset();
      return SIMPLEREGION;
    }
    d_->clip = region->impl().rgn;
    return Complexity(*d_->clip);
  }
  if (!region || mode < RGN_AND || mode > RGN_DIFF) return RGN_ERROR;
  const QRegion current = d_->clip ? *d_->clip : d_->SurfaceRegion();
  d_->clip = platform::gdi::Combine(current, region->impl().rgn, mode);
  return Complexity(*d_->clip);
}

}  // namespace platform::gdi
