// The operations every 3D canvas shares, built on its projection and primitives.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/plot_canvas.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace {

// Sets a pen style for a while and puts the pen back as it was, native pen included.
class PenStyleScope {
 public:
  PenStyleScope(platform::TPen* pen, platform::TPenStyle style) : pen_(pen) {
    if (!pen_) return;
    style_ = pen_->GetStyle();
    hadHandle_ = pen_->HasHandle();
    if (hadHandle_) handle_ = pen_->Handle();
    pen_->SetStyle(style);
  }
  ~PenStyleScope() {
    if (!pen_) return;
    pen_->SetStyle(style_);
    if (hadHandle_) pen_->SetHandle(handle_);
  }
  PenStyleScope(const PenStyleScope&) = delete;
  PenStyleScope& operator=(const PenStyleScope&) = delete;

 private:
  platform::TPen* pen_;
  platform::TPenStyle style_ = platform::psSolid;
  bool hadHandle_ = false;
  platform::gdi::LogPen handle_;
};

long double NormalisedAngle(long double a) {
  if (!std::isfinite(a)) return 0;
  if (a < 0) a += 2 * std::numbers::pi_v<long double>;
  return a;
}

}  // namespace

void TCanvas3D::Assign(TCanvas3D& other) {
  SetMonochrome(other.GetMonochrome());
}

void TCanvas3D::FrontPlaneBegin() {
  if (RotationLocks == 0) DisableRotation();
  ++RotationLocks;
}

void TCanvas3D::FrontPlaneEnd() {
  // An end without a begin changes nothing.
  if (RotationLocks <= 0) return;
  if (--RotationLocks == 0) EnableRotation();
}

void TCanvas3D::Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth,
                      int headHeight, int z) {
  Arrow(filled, from, to, headWidth, headHeight, z, 50.0);
}

TPoint TCanvas3D::Calculate3DPosition(const TPoint3D& p) {
  return Calculate3DPosition(p.X, p.Y, p.Z);
}

TPoint TCanvas3D::Calculate3DPosition(const TPoint& p, int z) {
  return Calculate3DPosition(p.X, p.Y, z);
}

TRect TCanvas3D::CalcRect3D(const TRect& r, int z) {
  const TPoint a = Calculate3DPosition(r.Left, r.Top, z);
  const TPoint b = Calculate3DPosition(r.Right, r.Bottom, z);
  return TRect{a.X, a.Y, b.X, b.Y};
}

TFourPoints TCanvas3D::FourPointsFromRect(const TRect& r, int z) {
  return TFourPoints{Calculate3DPosition(r.Left, r.Top, z), Calculate3DPosition(r.Right, r.Top, z),
                     Calculate3DPosition(r.Right, r.Bottom, z),
                     Calculate3DPosition(r.Left, r.Bottom, z)};
}

TRect TCanvas3D::RectFromRectZ(const TRect& r, int z) {
  const TFourPoints p = FourPointsFromRect(r, z);
  return RectFromPolygon(p.data(), 4);
}

void TCanvas3D::Cube(const TRect& r, int z0, int z1, bool darkSides) {
  Cube(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
}

void TCanvas3D::LineWithZ(const TPoint& p0, const TPoint& p1, int z) {
  LineWithZ(p0.X, p0.Y, p1.X, p1.Y, z);
}

void TCanvas3D::MoveTo3D(const TPoint3D& p) {
  MoveTo3D(p.X, p.Y, p.Z);
}

void TCanvas3D::LineTo3D(const TPoint3D& p) {
  LineTo3D(p.X, p.Y, p.Z);
}

void TCanvas3D::PlaneWithZ(const TFourPoints& p, int z) {
  PlaneWithZ(p[0], p[1], p[2], p[3], z);
}

void TCanvas3D::Rectangle(const TRect& r, int z) {
  RectangleWithZ(r, z);
}

void TCanvas3D::Rectangle(int left, int top, int right, int bottom, int z) {
  RectangleWithZ(TRect{left, top, right, bottom}, z);
}

void TCanvas3D::RotatedEllipse(int left, int top, int right, int bottom, int z, double angle) {
  constexpr int kPoints = 64;
  const long double cx = (static_cast<long double>(left) + right) * 0.5L;
  const long double cy = (static_cast<long double>(top) + bottom) * 0.5L;
  const long double rx = cx - left;
  const long double ry = cy - top;
  const long double a = static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180;
  const long double ca = std::cos(a);
  const long double sa = std::sin(a);
  std::vector<TPoint> p(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const long double t = i * 2 * std::numbers::pi_v<long double> / (kPoints - 1);
    p[i].X = Round(ca * std::sin(t) * rx + sa * std::cos(t) * ry + cx);
    p[i].Y = Round(-sa * std::sin(t) * rx + ca * std::cos(t) * ry + cy);
  }
  if (Brush && Brush->GetStyle() != platform::bsClear) {
    PenStyleScope noPen(Pen, platform::psClear);
    const TPoint centre{Round(cx), Round(cy)};
    for (int i = 0; i + 1 < kPoints; ++i) {
      const TPoint tri[3] = {centre, p[i], p[i + 1]};
      PolygonWithZ(tri, z);
    }
  }
  if (Pen && Pen->GetStyle() != platform::psClear) Polyline(std::span<const TPoint>(p), z);
}

void TCanvas3D::StretchDraw(const TRect& r, const platform::TGraphic* graphic, int z) {
  if (!graphic || graphic->Empty()) return;
  // Cells are read from a private copy: the caller's graphic keeps its format and pixels.
  platform::TBitmap bitmap;
  bitmap.Assign(*graphic);
  bitmap.SetPixelFormat(platform::pf24bit);
  const int width = bitmap.GetWidth();
  const int height = bitmap.GetHeight();
  if (width <= 0 || height <= 0) return;

  PenStyleScope noPen(Pen, platform::psClear);
  platform::gdi::Dc* dc = GetHandle();
  const bool dcBrush = PlotSetDCBrushColor && dc;
  platform::gdi::LogBrush canvasBrush;
  if (dcBrush) {
    canvasBrush = dc->CurrentBrush();
    dc->SelectDcBrush();
  }
  const long double sy = (static_cast<long double>(r.Bottom) - r.Top) / height;
  const long double sx = (static_cast<long double>(r.Right) - r.Left) / width;
  int y0 = r.Top;
  for (int row = 0; row < height; ++row) {
    const int y1 = Round((row + 1) * sy + r.Top);
    const std::uint8_t* line = bitmap.ScanLine(row);
    int x0 = r.Left;
    for (int col = 0; col < width && line; ++col) {
      const int x1 = Round((col + 1) * sx + r.Left);
      const TColor c = platform::RGB(line[3 * col + 2], line[3 * col + 1], line[3 * col]);
      if (dcBrush)
        dc->SetDCBrushColor(c);
      else if (Brush)
        Brush->SetColor(c);
      const TPoint cell[4] = {Calculate3DPosition(x0, y0, z), Calculate3DPosition(x1, y0, z),
                              Calculate3DPosition(x1, y1, z), Calculate3DPosition(x0, y1, z)};
      if (dcBrush)
        dc->Polygon(cell, 4);
      else
        Polygon(cell);
      x0 = x1;
    }
    y0 = y1;
  }
  if (dcBrush) dc->SelectBrush(canvasBrush);
}

void TCanvas3D::CalcPieAngles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                              double& startAngle, double& endAngle) {
  const long long xc = x1 + (static_cast<long long>(x2) - x1) / 2;
  const long long yc = y1 + (static_cast<long long>(y2) - y1) / 2;
  const long double start = NormalisedAngle(
      std::atan2(static_cast<long double>(yc - y3), static_cast<long double>(x3 - xc)));
  const long double end = NormalisedAngle(
      std::atan2(static_cast<long double>(yc - y4), static_cast<long double>(x4 - xc)));
  startAngle = static_cast<double>(start * 180 / std::numbers::pi_v<long double>);
  endAngle = static_cast<double>(end * 180 / std::numbers::pi_v<long double>);
  if (endAngle == 0) endAngle = 360;
}

}  // namespace chart
