// Two-colour gradient fills of the 3D canvas: bands, frames and lines painted straight on the
// device context, each in one colour of the ramp.
#include <algorithm>
#include <climits>
#include <cmath>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/gradient.h"
#include "platform/gdi/dc.h"

namespace chart {

namespace gdi = platform::gdi;

namespace {

// The directions that walk the rectangle pixel by pixel stop being useful long before this;
// beyond it they would only keep the program busy.
constexpr long long kMaxPixelWalk = 1 << 15;

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

  void Fill(long long x, long long y, long long w, long long h) {
    if (w <= 0 || h <= 0) return;
    dc_.PatBlt(Clamp(x), Clamp(y), Clamp(w), Clamp(h), gdi::PATCOPY);
  }

 private:
  static int Clamp(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
  }

  gdi::Dc& dc_;
  gdi::LogBrush old_;
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

void FillFromCenter(BandPainter& painter, const Ramp& ramp, const TRect& r, long long w,
                    long long h) {
  const long long n = std::max<long long>(1, w / 2 + h / 2);
  long long cx = 0, cy = 0;
  do {
    painter.SetColor(ramp(cx + cy, n));
    painter.Fill(r.Left + cx, r.Top + cy, 1, h - 2 * cy);
    painter.Fill(r.Right - cx - 1, r.Top + cy, 1, h - 2 * cy);
    painter.Fill(r.Left + cx, r.Top + cy, w - 2 * cx, 1);
    painter.Fill(r.Left + cx, r.Bottom - cy - 1, w - 2 * cx, 1);
    if (cy < h / 2) ++cy;
    if (cx < w / 2) ++cx;
  } while (cy < h / 2 || cx < w / 2);
  // Odd sides of equal half-length leave the middle pixel to the centre colour.
  if (w % 2 == 1 && h % 2 == 1 && w / 2 == h / 2 && w > 1) {
    painter.SetColor(ramp(n, n));
    painter.Fill(r.Left + w / 2, r.Top + h / 2, 1, 1);
  }
}

void FillFromCorner(BandPainter& painter, const Ramp& ramp, const TRect& r, long long w,
                    long long h, bool fromTop) {
  const long long n = std::max<long long>(1, w + h);
  const long long y0 = fromTop ? r.Top : r.Bottom;
  const long long farEdge = fromTop ? r.Bottom : r.Top;
  long long i = 0, j = 0, y = y0;
  // Once i has reached w the walk only finishes the rows; nothing goes right of the rectangle.
  do {
    painter.SetColor(ramp(i + j, n));
    if (i < w) {
      if (fromTop)
        painter.Fill(r.Left + i, y0, 1, y - y0);
      else
        painter.Fill(r.Left + i, y, 1, y0 - y);
    }
    if (j < h) {
      ++j;
      painter.Fill(r.Left, fromTop ? y : y - 1, std::min(i + 1, w), 1);
      if (y != farEdge) y += fromTop ? 1 : -1;
    }
    if (i < w) ++i;
  } while (j < h || i < w);
}

void FillDiagonal(gdi::Dc& dc, const Ramp& ramp, const TRect& rect, bool up) {
  TRect r = rect;
  if (!up) --r.Bottom;
  const long long w = static_cast<long long>(r.Right) - r.Left;
  const long long h = static_cast<long long>(r.Bottom) - r.Top;
  const long long b = w + h;
  if (b <= 0) return;
  const long long n = std::max<long long>(1, std::min<long long>(255, b - 1));
  const gdi::LogPen oldPen = dc.CurrentPen();
  const int oldRop = dc.SetROP2(gdi::R2_COPYPEN);
  TPoint end1{r.Left, up ? r.Bottom : r.Top};
  TPoint end2 = end1;
  gdi::LogPen pen;
  pen.Style = gdi::PS_SOLID;
  pen.Width = 1;
  for (long long c = 0; c < b; ++c) {
    pen.Color = ramp(c * n / b, n);
    dc.SelectPen(pen);
    dc.MoveToEx(end1.X, end1.Y);
    dc.LineTo(end2.X, end2.Y);
    if (end2.X < r.Right)
      ++end2.X;
    else if (up ? end2.Y > r.Top : end2.Y < r.Bottom)
      end2.Y += up ? -1 : 1;
    if (up ? end1.Y > r.Top : end1.Y < r.Bottom)
      end1.Y += up ? -1 : 1;
    else if (end1.X < r.Right)
      ++end1.X;
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

  if (direction == gdDiagonalUp || direction == gdDiagonalDown) {
    if (w > kMaxPixelWalk || h > kMaxPixelWalk) return;
    FillDiagonal(*dc, ramp, r, direction == gdDiagonalUp);
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
      if (w > kMaxPixelWalk || h > kMaxPixelWalk) return;
      FillFromCenter(painter, ramp, r, w, h);
      break;
    case gdFromTopLeft:
    case gdFromBottomLeft:
      if (w > kMaxPixelWalk || h > kMaxPixelWalk) return;
      FillFromCorner(painter, ramp, r, w, h, direction == gdFromTopLeft);
      break;
    default:
      break;
  }
}

}  // namespace chart
