// Flat drawing on the 3D canvas: the device context's shapes, points and planes through the
// projection, ellipses and donuts, and clipping.
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace gdi = platform::gdi;

namespace {

int AddSat(long long a, long long b) {
  return static_cast<int>(std::clamp<long long>(a + b, INT_MIN, INT_MAX));
}

int Count(std::span<const TPoint> points) {
  return static_cast<int>(std::min<std::size_t>(points.size(), INT_MAX));
}

}  // namespace

void TPlotCanvas3D::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (gdi::Dc* dc = GetHandle()) dc->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (gdi::Dc* dc = GetHandle()) dc->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle,
                          double endAngle, double holePercent) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  const long double ix = holePercent * static_cast<long double>(xRadius) * 0.01L;
  const long double iy = holePercent * static_cast<long double>(yRadius) * 0.01L;
  // Counter-clockwise with Y up on the screen.
  auto at = [&](long double rx, long double ry, double angle) {
    const long double a = angle;
    return TPoint{AddSat(Round(rx * std::cos(a)), xCenter),
                  AddSat(yCenter, -static_cast<long long>(Round(ry * std::sin(a))))};
  };
  const long long xr = xRadius, yr = yRadius;
  const TPoint outerStart = at(xRadius, yRadius, startAngle);
  const TPoint outerEnd = at(xRadius, yRadius, endAngle);
  dc->BeginPath();
  dc->MoveToEx(outerStart.X, outerStart.Y);
  dc->ArcTo(AddSat(xCenter, -xr), AddSat(yCenter, -yr), AddSat(xCenter, xr), AddSat(yCenter, yr),
            outerStart.X, outerStart.Y, outerEnd.X, outerEnd.Y);
  const TPoint innerStart = at(ix, iy, startAngle);
  const TPoint innerEnd = at(ix, iy, endAngle);
  dc->LineTo(innerEnd.X, innerEnd.Y);
  if (!(innerEnd == innerStart)) {
    const long long rix = Round(ix), riy = Round(iy);
    dc->SetArcDirection(gdi::AD_CLOCKWISE);
    dc->ArcTo(AddSat(xCenter, -rix), AddSat(yCenter, -riy), AddSat(rix, xCenter),
              AddSat(riy, yCenter), innerEnd.X, innerEnd.Y, innerStart.X, innerStart.Y);
    dc->SetArcDirection(gdi::AD_COUNTERCLOCKWISE);
  }
  dc->LineTo(outerStart.X, outerStart.Y);
  dc->EndPath();
  dc->StrokeAndFillPath();
}

void TPlotCanvas3D::Draw(int x, int y, const platform::TGraphic* graphic) {
  if (PlatformCanvas && graphic && !graphic->Empty()) PlatformCanvas->Draw(x, y, graphic);
}

void TPlotCanvas3D::StretchDraw(const TRect& r, const platform::TGraphic* graphic) {
  if (PlatformCanvas && graphic) PlatformCanvas->StretchDraw(r, graphic);
}

void TPlotCanvas3D::Ellipse(int x1, int y1, int x2, int y2) {
  if (gdi::Dc* dc = GetHandle()) dc->Ellipse(x1, y1, x2, y2);
}

void TPlotCanvas3D::FillRect(const TRect& r) {
  if (gdi::Dc* dc = GetHandle()) dc->FillRect(r, dc->CurrentBrush());
}

void TPlotCanvas3D::EraseBackground(const TRect& r) {
  FillRect(r);
}

void TPlotCanvas3D::MoveTo(int x, int y) {
  if (gdi::Dc* dc = GetHandle()) dc->MoveToEx(x, y);
}

void TPlotCanvas3D::LineTo(int x, int y) {
  if (gdi::Dc* dc = GetHandle()) dc->LineTo(x, y);
}

void TPlotCanvas3D::Line(int x0, int y0, int x1, int y1) {
  if (gdi::Dc* dc = GetHandle()) {
    dc->MoveToEx(x0, y0);
    dc->LineTo(x1, y1);
  }
}

void TPlotCanvas3D::DoHorizLine(int x0, int x1, int y) {
  Line(x0, y, x1, y);
}

void TPlotCanvas3D::DoVertLine(int x, int y0, int y1) {
  Line(x, y0, x, y1);
}

void TPlotCanvas3D::Rectangle(int x0, int y0, int x1, int y1) {
  if (gdi::Dc* dc = GetHandle()) dc->Rectangle(x0, y0, x1, y1);
}

void TPlotCanvas3D::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  if (gdi::Dc* dc = GetHandle()) dc->RoundRect(x1, y1, x2, y2, x3, y3);
}

void TPlotCanvas3D::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  if (gdi::Dc* dc = GetHandle()) dc->Polyline(points.data(), Count(points));
}

void TPlotCanvas3D::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  if (gdi::Dc* dc = GetHandle()) dc->Polygon(points.data(), Count(points));
}

void TPlotCanvas3D::PolygonFour() {
  Polygon(QuadPoints);
}

void TPlotCanvas3D::ClipRectangle(const TRect& r) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  TPoint p[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
  dc->LPtoDP(p, 2);
  SetClipRegion(gdi::Region::Rect(p[0].X, p[0].Y, p[1].X, p[1].Y));
}

void TPlotCanvas3D::UnClipRectangle() {
  UnClipCanvas();
}

void TPlotCanvas3D::ClipCube(const TRect& r, int minZ, int maxZ) {
  if (!View3D) {
    ClipRectangle(TRect{AddSat(r.Left, 1), AddSat(r.Top, 1), r.Right, AddSat(r.Bottom, -1)});
    return;
  }
  TPointArray corners = {
      Calc3DTPoint3D({r.Left, r.Bottom, minZ}), Calc3DTPoint3D({r.Left, r.Bottom, maxZ}),
      Calc3DTPoint3D({r.Left, r.Top, maxZ}),    Calc3DTPoint3D({r.Right, r.Top, maxZ}),
      Calc3DTPoint3D({r.Right, r.Top, minZ}),   Calc3DTPoint3D({r.Right, r.Bottom, minZ}),
      Calc3DTPoint3D({r.Left, r.Top, minZ}),    Calc3DTPoint3D({r.Right, r.Bottom, maxZ})};
  ConvexHull(corners);
  ClipPolygon(corners);
}

void TPlotCanvas3D::EllipseWithZ(int x1, int y1, int x2, int y2, int z) {
  if (!View3D) {
    Ellipse(x1, y1, AddSat(x2, 1), AddSat(y2, 1));
    return;
  }
  if (OrthogonalView) {
    Calc3DPos(x1, y1, z);
    Calc3DPos(x2, y2, z);
    Ellipse(x1, y1, x2, y2);
    return;
  }
  constexpr int kPoints = 64;
  const int cx = static_cast<int>((static_cast<long long>(x1) + x2) / 2);
  const int cy = static_cast<int>((static_cast<long long>(y1) + y2) / 2);
  const long double rx = static_cast<long double>((static_cast<long long>(x2) - x1) / 2);
  const long double ry = static_cast<long double>((static_cast<long long>(y2) - y1) / 2);
  std::vector<TPoint> p(kPoints);
  Calc3DPoint(p[0], cx, y2, z);
  for (int i = 1; i < kPoints; ++i) {
    const long double t = i * 2 * std::numbers::pi_v<long double> / (kPoints - 1);
    Calc3DPoint(p[i], static_cast<double>(std::sin(t) * rx + cx),
                static_cast<double>(std::cos(t) * ry + cy), z);
  }
  if (Brush && Brush->GetStyle() != platform::bsClear && Pen) {
    const platform::TPenStyle style = Pen->GetStyle();
    const bool hadHandle = Pen->HasHandle();
    const gdi::LogPen handle = Pen->Handle();
    Pen->SetStyle(platform::psClear);
    TPoint centre;
    Calc3DPoint(centre, cx, cy, z);
    for (int i = 0; i + 1 < kPoints; ++i) {
      const TPoint tri[3] = {centre, p[i], p[i + 1]};
      Polygon(tri);
    }
    Pen->SetStyle(style);
    if (hadHandle) Pen->SetHandle(handle);
  }
  if (Pen && Pen->GetStyle() != platform::psClear) Polyline(std::span<const TPoint>(p));
}

void TPlotCanvas3D::MoveTo3D(int x, int y, int z) {
  Calc3DPos(x, y, z);
  MoveTo(x, y);
}

void TPlotCanvas3D::LineTo3D(int x, int y, int z) {
  Calc3DPos(x, y, z);
  LineTo(x, y);
}

void TPlotCanvas3D::LineWithZ(int x0, int y0, int x1, int y1, int z) {
  Calc3DPos(x0, y0, z);
  Calc3DPos(x1, y1, z);
  Line(x0, y0, x1, y1);
}

void TPlotCanvas3D::HorizLine3D(int left, int right, int y, int z) {
  LineWithZ(left, y, right, y, z);
}

void TPlotCanvas3D::VertLine3D(int x, int top, int bottom, int z) {
  LineWithZ(x, top, x, bottom, z);
}

void TPlotCanvas3D::ZLine3D(int x, int y, int z0, int z1) {
  MoveTo3D(x, y, z0);
  LineTo3D(x, y, z1);
}

void TPlotCanvas3D::SetPixel3D(int x, int y, int z, TColor color) {
  Calc3DPos(x, y, z);
  if (!Pen || Pen->GetWidth() <= 1) {
    SetPixel(x, y, color);
    return;
  }
  // A zero-length line of a wide pen: a dot of the pen's width in the pen's colour.
  MoveTo(x, y);
  LineTo(x, y);
}

void TPlotCanvas3D::RectangleWithZ(const TRect& r, int z) {
  QuadPoints = {Calc3DTPoint3D({r.Left, r.Top, z}), Calc3DTPoint3D({r.Right, r.Top, z}),
                Calc3DTPoint3D({r.Right, r.Bottom, z}), Calc3DTPoint3D({r.Left, r.Bottom, z})};
  PolygonFour();
}

void TPlotCanvas3D::RectangleY(int left, int y, int right, int z0, int z1) {
  QuadPoints = {Calc3DTPoint3D({left, y, z0}), Calc3DTPoint3D({right, y, z0}),
                Calc3DTPoint3D({right, y, z1}), Calc3DTPoint3D({left, y, z1})};
  PolygonFour();
}

void TPlotCanvas3D::RectangleZ(int x, int top, int bottom, int z0, int z1) {
  QuadPoints = {Calc3DTPoint3D({x, top, z0}), Calc3DTPoint3D({x, top, z1}),
                Calc3DTPoint3D({x, bottom, z1}), Calc3DTPoint3D({x, bottom, z0})};
  PolygonFour();
}

void TPlotCanvas3D::Plane3D(const TPoint& a, const TPoint& b, int z0, int z1) {
  QuadPoints = {Calc3DTPoint3D({a.X, a.Y, z0}), Calc3DTPoint3D({b.X, b.Y, z0}),
                Calc3DTPoint3D({b.X, b.Y, z1}), Calc3DTPoint3D({a.X, a.Y, z1})};
  PolygonFour();
}

void TPlotCanvas3D::PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3,
                               const TPoint& p4, int z) {
  QuadPoints = {Calc3DTPoint3D({p1.X, p1.Y, z}), Calc3DTPoint3D({p2.X, p2.Y, z}),
                Calc3DTPoint3D({p3.X, p3.Y, z}), Calc3DTPoint3D({p4.X, p4.Y, z})};
  PolygonFour();
}

void TPlotCanvas3D::PlaneFour3D(TFourPoints& points, int z0, int z1) {
  QuadPoints = points;
  Calc3DPoint(QuadPoints[0], static_cast<double>(points[0].X), static_cast<double>(points[0].Y),
              z0);
  Calc3DPoint(QuadPoints[1], static_cast<double>(points[1].X), static_cast<double>(points[1].Y),
              z0);
  Calc3DPoint(QuadPoints[2], static_cast<double>(points[2].X), static_cast<double>(points[2].Y),
              z1);
  Calc3DPoint(QuadPoints[3], static_cast<double>(points[3].X), static_cast<double>(points[3].Y),
              z1);
  PolygonFour();
}

void TPlotCanvas3D::PolygonWithZ(std::span<const TPoint> points, int z) {
  std::vector<TPoint> p;
  p.reserve(points.size());
  for (const TPoint& q : points) p.push_back(Calc3DTPoint3D({q.X, q.Y, z}));
  Polygon(p);
}

void TPlotCanvas3D::Polyline(std::span<const TPoint> points, int z) {
  std::vector<TPoint> p;
  p.reserve(points.size());
  for (const TPoint& q : points) p.push_back(Calc3DTPoint3D({q.X, q.Y, z}));
  Polyline(std::span<const TPoint>(p));
}

void TPlotCanvas3D::TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) {
  const TPoint p[3] = {Calc3DTPoint3D({p1.X, p1.Y, z}), Calc3DTPoint3D({p2.X, p2.Y, z}),
                       Calc3DTPoint3D({p3.X, p3.Y, z})};
  Polygon(p);
}

void TPlotCanvas3D::Triangle3D(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2,
                               TColor c0, TColor /*c1*/, TColor /*c2*/) {
  if (Brush && Brush->GetStyle() != platform::bsClear) Brush->SetColor(c0);
  const TPoint p[3] = {Calc3DTPoint3D(p0), Calc3DTPoint3D(p1), Calc3DTPoint3D(p2)};
  Polygon(p);
}

void TPlotCanvas3D::Surface3D(TPlotCanvasSurfaceStyle /*style*/, bool /*sameBrush*/,
                              int /*numXValues*/, int /*numZValues*/,
                              const TPlotCanvasCalcPoints& /*calcPoints*/) {}

}  // namespace chart
