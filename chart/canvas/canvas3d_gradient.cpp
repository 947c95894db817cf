// Two-colour gradient fills of the 3D canvas: bands, frames and lines painted straight on the
// device context, each in one colour of the ramp.
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/gradient.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace gdi = platform::gdi;

namespace {

// Without a clip or a buffer of known size the surface may be any size up to this, in device
// pixels.
constexpr int kSurfaceLimit = 1 << 15;

// A half-open box in logical units, wide enough for any int rectangle's sides.
struct Box {
  long long l, t, r, b;
};

// Where anything painted can show: the clip, within the buffer when the canvas draws into its
// own, in logical units and one unit wider all round for the rounding of the mapping.
Box VisibleBox(TPlotCanvas3D& canvas, gdi::Dc& dc) {
  TRect d{-kSurfaceLimit, -kSurfaceLimit, kSurfaceLimit, kSurfaceLimit};
  if (canvas.BufferBitmap && canvas.PlatformCanvas == canvas.BufferBitmap->Canvas)
    d = TRect{0, 0, canvas.BufferBitmap->GetWidth(), canvas.BufferBitmap->GetHeight()};
  gdi::Region clip;
  if (dc.GetClipRgn(clip) == 1) {
    const TRect c = clip.BoundingBox();
    d = TRect{std::max(d.Left, c.Left), std::max(d.Top, c.Top), std::min(d.Right, c.Right),
              std::min(d.Bottom, c.Bottom)};
  }
  if (d.Right <= d.Left || d.Bottom <= d.Top) return Box{0, 0, 0, 0};
  TPoint p[2] = {{d.Left, d.Top}, {d.Right, d.Bottom}};
  dc.DPtoLP(p, 2);
  return Box{std::min<long long>(p[0].X, p[1].X) - 1, std::min<long long>(p[0].Y, p[1].Y) - 1,
             std::max<long long>(p[0].X, p[1].X) + 1, std::max<long long>(p[0].Y, p[1].Y) + 1};
}

// The steps 0..last of a walk that can paint a visible pixel, as ranges, each walked once and in
// order, so that what is painted last is the same as in the whole walk.
class Steps {
 public:
  explicit Steps(long long last) : last_(last) {}
  void Add(long long lo, long long hi) {
    lo = std::max(lo, 0LL);
    hi = std::min(hi, last_);
    if (lo <= hi) ranges_.push_back({lo, hi});
  }
  template <class F>
  void ForEach(F step) {
    std::sort(ranges_.begin(), ranges_.end());
    long long next = 0;
    for (const auto& [lo, hi] : ranges_) {
      for (long long k = std::max(lo, next); k <= hi; ++k) step(k);
      next = std::max(next, hi + 1);
    }
  }

 private:
  long long last_;
  std::vector<std::pair<long long, long long>> ranges_;
};

// Distances to the nearer edge of [start, end) over the cells [lo, hi), lo < hi.
std::pair<long long, long long> EdgeDistances(long long lo, long long hi, long long start,
                                              long long end) {
  auto d = [&](long long v) { return std::min(v - start, end - 1 - v); };
  const long long half = (end - start - 1) / 2;
  const bool peak = lo <= end - 1 - half && hi - 1 >= start + half;
  return {std::min(d(lo), d(hi - 1)), peak ? half : std::max(d(lo), d(hi - 1))};
}

// Colour i of the ramp's n steps from (r0, g0, b0) by (dr, dg, db).
class Ramp {
 public:
  Ramp(TColor c1, TColor c2, int balance) : balance_(balance) {
    c1 = platform::ColorToRGB(c1);
    c2 = platform::ColorToRGB(c2);
    c0_[0] = platform::GetRValue(c1);
    c0_[1] = platform::GetGValue(c1);
    c0_[2] = platform::GetBValue(c1);
    d_[0] = platform::GetRValue(c2) - c0_[0];
    d_[1] = platform::GetGValue(c2) - c0_[1];
    d_[2] = platform::GetBValue(c2) - c0_[2];
  }

  TColor operator()(long long i, long long n) const {
    if (n <= 0) n = 1;
    long long comp[3];
    if (balance_ == 50) {
      for (int k = 0; k < 3; ++k) comp[k] = i * d_[k] / n + c0_[k];
    } else {
      // The exponent turns zero or negative for a balance far below 0; each component is kept
      // in its own byte rather than carried into the next.
      const long double x = std::pow(static_cast<long double>(i + 1) / (n + 1),
                                     static_cast<long double>(balance_) * 0.015L + 0.5L);
      for (int k = 0; k < 3; ++k) comp[k] = static_cast<long long>(Round(d_[k] * x)) + c0_[k];
    }
    for (long long& c : comp) c = std::clamp(c, 0LL, 255LL);
    return static_cast<TColor>(comp[0] + comp[1] * 256 + comp[2] * 65536);
  }

 private:
  int balance_;
  int c0_[3];
  int d_[3];
};

// Paints rectangles with PATCOPY in changing colours, through the device context's own brush
// when that is in use, else through solid brushes; the brush selected before comes back at the
// end.
class BandPainter {
 public:
  explicit BandPainter(gdi::Dc& dc) : dc_(dc), old_(dc.CurrentBrush()) {
    if (PlotSetDCBrushColor) dc_.SelectDcBrush();
  }
  ~BandPainter() { dc_.SelectBrush(old_); }
  BandPainter(const BandPainter&) = delete;
  BandPainter& operator=(const BandPainter&) = delete;

  void SetColor(TColor color) {
    if (hasColor_ && color == color_) return;
    color_ = color;
    hasColor_ = true;
    if (PlotSetDCBrushColor) {
      dc_.SetDCBrushColor(color);
    } else {
      gdi::LogBrush brush;
      brush.Style = gdi::BS_SOLID;
      brush.Color = color;
      dc_.SelectBrush(brush);
    }
  }

  // Only the part inside the visible box is painted.
  void ClipTo(const Box& box) { clip_ = box; }

  void Fill(long long x, long long y, long long w, long long h) {
    if (w <= 0 || h <= 0) return;
    if (clip_) {
      const long long x1 = std::min(x + w, clip_->r), y1 = std::min(y + h, clip_->b);
      x = std::max(x, clip_->l);
      y = std::max(y, clip_->t);
      w = x1 - x;
      h = y1 - y;
      if (w <= 0 || h <= 0) return;
    }
    dc_.PatBlt(Clamp(x), Clamp(y), Clamp(w), Clamp(h), gdi::PATCOPY);
  }

 private:
  static int Clamp(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
  }

  gdi::Dc& dc_;
  gdi::LogBrush old_;
  std::optional<Box> clip_;
  TColor color_ = 0;
  bool hasColor_ = false;
};

// Rows (or columns) from the far edge: band 0 touches the edge at `end`.
void FillBands(BandPainter& painter, const Ramp& ramp, TColor single, long long start,
               long long end, bool rows, long long otherStart, long long otherSize) {
  const long long size = end - start;
  const long long b = std::min<long long>(size, 256);
  auto fill = [&](long long from, long long to) {
    if (rows)
      painter.Fill(otherStart, from, otherSize, to - from);
    else
      painter.Fill(from, otherStart, to - from, otherSize);
  };
  if (b == 1) {
    // A single row has no room for a ramp: it is filled in the start colour.
    painter.SetColor(platform::ColorToRGB(single));
    fill(start, end);
    return;
  }
  const long long n = b - 1;
  for (long long i = 0; i < b; ++i) {
    painter.SetColor(ramp(i, n));
    fill(end - size * (i + 1) / b, end - size * i / b);
  }
}

// Frames from the border inwards. Frame k, its insets growing by one up to half the sides, is
// the last to paint the pixels at its own inset from the nearer edges, so only the frames of the
// visible insets and the final one are walked.
void FillFromCenter(BandPainter& painter, const Ramp& ramp, const TRect& r, long long w,
                    long long h, const Box& box) {
  const long long xa = std::max<long long>(r.Left, box.l), xb = std::min<long long>(r.Right, box.r);
  const long long ya = std::max<long long>(r.Top, box.t), yb = std::min<long long>(r.Bottom, box.b);
  if (xa >= xb || ya >= yb) return;
  const long long a = w / 2, b = h / 2;
  const long long n = std::max<long long>(1, a + b);
  const long long last = std::max<long long>(std::max(a, b) - 1, 0);
  Steps steps(last);
  const auto [dx0, dx1] = EdgeDistances(xa, xb, r.Left, r.Right);
  const auto [dy0, dy1] = EdgeDistances(ya, yb, r.Top, r.Bottom);
  steps.Add(dx0, dx1);
  steps.Add(dy0, dy1);
  steps.Add(last, last);
  steps.ForEach([&](long long k) {
    const long long cx = std::min(k, a), cy = std::min(k, b);
    painter.SetColor(ramp(cx + cy, n));
    painter.Fill(r.Left + cx, r.Top + cy, 1, h - 2 * cy);
    painter.Fill(r.Right - cx - 1, r.Top + cy, 1, h - 2 * cy);
    painter.Fill(r.Left + cx, r.Top + cy, w - 2 * cx, 1);
    painter.Fill(r.Left + cx, r.Bottom - cy - 1, w - 2 * cx, 1);
  });
  // Odd sides of equal half-length leave the middle pixel to the centre colour.
  if (w % 2 == 1 && h % 2 == 1 && a == b && w > 1) {
    painter.SetColor(ramp(n, n));
    painter.Fill(r.Left + a, r.Top + b, 1, 1);
  }
}

// Step t paints the column t from the start edge down to row t, then row t from the left up to
// column t: each pixel once, at the larger of its two distances from the corner.
void FillFromCorner(BandPainter& painter, const Ramp& ramp, const TRect& r, long long w,
                    long long h, bool fromTop, const Box& box) {
  const long long xa = std::max<long long>(r.Left, box.l), xb = std::min<long long>(r.Right, box.r);
  const long long ya = std::max<long long>(r.Top, box.t), yb = std::min<long long>(r.Bottom, box.b);
  if (xa >= xb || ya >= yb) return;
  const long long n = std::max<long long>(1, w + h);
  Steps steps(std::max(w, h) - 1);
  steps.Add(xa - r.Left, xb - 1 - r.Left);
  if (fromTop)
    steps.Add(ya - r.Top, yb - 1 - r.Top);
  else
    steps.Add(r.Bottom - yb, r.Bottom - 1 - ya);
  steps.ForEach([&](long long t) {
    const long long i = std::min(t, w), j = std::min(t, h);
    painter.SetColor(ramp(i + j, n));
    if (t < w) painter.Fill(r.Left + t, fromTop ? r.Top : r.Bottom - j, 1, j);
    if (t < h) painter.Fill(r.Left, fromTop ? r.Top + t : r.Bottom - t - 1, std::min(t + 1, w), 1);
  });
}

// Line c joins the two ends walking round the rectangle from its first corner: all the pixels
// of one 45 degree diagonal, the far end left out. Only the visible part of a line is drawn.
void FillDiagonal(gdi::Dc& dc, const Ramp& ramp, const TRect& rect, bool up, const Box& box) {
  TRect r = rect;
  if (!up) --r.Bottom;
  const long long L = r.Left, R = r.Right, T = r.Top, B = r.Bottom;
  const long long w = R - L, h = B - T;
  const long long b = w + h;
  if (b <= 0) return;
  const long long n = std::max<long long>(1, std::min<long long>(255, b - 1));
  // Up: y = B - c + (x - L); down: y = T + c - (x - L).
  const long long y0 = up ? B : T;
  const int dir = up ? 1 : -1;
  const long long cLo = up ? box.l - L + B - box.b : box.l - L + box.t - T;
  const long long cHi = up ? box.r - L + B - box.t : box.r - L + box.b - T;
  const gdi::LogPen oldPen = dc.CurrentPen();
  const int oldRop = dc.SetROP2(gdi::R2_COPYPEN);
  gdi::LogPen pen;
  pen.Style = gdi::PS_SOLID;
  pen.Width = 1;
  for (long long c = std::max(cLo, 0LL); c <= std::min(cHi, b - 1); ++c) {
    const long long x1 = c <= h ? L : L + c - h;
    const long long x2 = c <= w ? L + c : R;
    auto y = [&](long long x) { return y0 - dir * (c - (x - L)); };
    // x where the diagonal meets the box's top and bottom rows.
    const long long xTop = up ? box.t - B + c + L : T + c + L - box.t + 1;
    const long long xBottom = up ? box.b - B + c + L : T + c + L - box.b + 1;
    const long long xs = std::max({x1, box.l, up ? xTop : xBottom});
    const long long xe = std::min({x2, box.r, up ? xBottom : xTop});
    if (xs > xe) continue;
    pen.Color = ramp(c * n / b, n);
    dc.SelectPen(pen);
    dc.MoveToEx(static_cast<int>(xs), static_cast<int>(y(xs)));
    dc.LineTo(static_cast<int>(xe), static_cast<int>(y(xe)));
  }
  dc.SelectPen(oldPen);
  dc.SetROP2(oldRop);
}

}  // namespace

void TPlotCanvas3D::GradientFill(const TRect& rect, TColor startColor, TColor endColor,
                                 TGradientDirection direction, int balance) {
  const TRect r = OrientRectangle(rect);
  const long long w = static_cast<long long>(r.Right) - r.Left;
  const long long h = static_cast<long long>(r.Bottom) - r.Top;
  if (w <= 0 || h <= 0) return;

  if (direction == gdRadial) {
    TPlotGradient gradient;
    gradient.SetDirection(gdRadial);
    gradient.SetStartColor(startColor);
    gradient.SetEndColor(endColor);
    gradient.Draw(*this, r, 0);
    return;
  }

  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  TColor c1 = startColor, c2 = endColor;
  switch (direction) {
    case gdBottomTop:
    case gdRightLeft:
    case gdFromCenter:
    case gdFromTopLeft:
    case gdFromBottomLeft:
      std::swap(c1, c2);
      break;
    default:
      break;
  }
  const Ramp ramp(c1, c2, balance);

  // The walks below paint pixel by pixel: they go only where something can show.
  const Box box = VisibleBox(*this, *dc);
  if (direction == gdDiagonalUp || direction == gdDiagonalDown) {
    FillDiagonal(*dc, ramp, r, direction == gdDiagonalUp, box);
    return;
  }

  BandPainter painter(*dc);
  switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
      FillBands(painter, ramp, startColor, r.Top, r.Bottom, true, r.Left, w);
      break;
    case gdLeftRight:
    case gdRightLeft:
      FillBands(painter, ramp, startColor, r.Left, r.Right, false, r.Top, h);
      break;
    case gdFromCenter:
      painter.ClipTo(box);
      FillFromCenter(painter, ramp, r, w, h, box);
      break;
    case gdFromTopLeft:
    case gdFromBottomLeft:
      painter.ClipTo(box);
      FillFromCorner(painter, ramp, r, w, h, direction == gdFromTopLeft, box);
      break;
    default:
      break;
  }
}

}  // namespace chart
