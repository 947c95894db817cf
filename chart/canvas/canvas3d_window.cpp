// The 3D canvas around one drawing: the window and its buffer bitmap, the device-context state,
// and the projection of 3D points to the screen and back.
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/view3d.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace gdi = platform::gdi;

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
// Smallest perspective denominator: nearer the eye (or behind it) points are not mirrored.
constexpr long double kMinPerspective = 1e-3L;

int Saturate(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// Round(v) + offset, kept inside the 32-bit range (also when v alone is outside it).
int RoundPlus(long double v, int offset) {
  if (std::isnan(v)) return offset;
  constexpr long double kLimit = 0x1p62L;
  const long double r = std::rintl(std::clamp(v, -kLimit, kLimit));
  return Saturate(static_cast<long long>(r) + offset);
}

long double Radians(long double degrees) {
  return degrees * kPi / 180;
}

}  // namespace

TPlotCanvas3D::TPlotCanvas3D() {
  FontZoom = 100;
}

TPlotCanvas3D::~TPlotCanvas3D() {
  DeleteBitmap();
}

void TPlotCanvas3D::DeleteBitmap() {
  if (!BufferBitmap) return;
  // Never left drawing on a bitmap that is gone.
  if (PlatformCanvas == BufferBitmap->Canvas) SetCanvas(nullptr);
  BufferBitmap.reset();
}

gdi::Dc* TPlotCanvas3D::GetHandle() {
  return PlatformCanvas ? PlatformCanvas->GetHandle() : nullptr;
}

TColor TPlotCanvas3D::GetBackColor() {
  gdi::Dc* dc = GetHandle();
  return dc ? dc->GetBkColor() : platform::clWhite;
}

TCanvasBackMode TPlotCanvas3D::GetBackMode() {
  gdi::Dc* dc = GetHandle();
  return dc ? static_cast<TCanvasBackMode>(dc->GetBkMode()) : cbmNone;
}

bool TPlotCanvas3D::GetMonochrome() {
  return Monochrome;
}

TColor TPlotCanvas3D::GetPixel(int x, int y) {
  gdi::Dc* dc = GetHandle();
  return dc ? dc->GetPixel(x, y) : -1;
}

bool TPlotCanvas3D::GetSupportsFullRotation() {
  return false;
}

unsigned TPlotCanvas3D::GetTextAlign() {
  gdi::Dc* dc = GetHandle();
  return dc ? dc->GetTextAlign() : 0;
}

bool TPlotCanvas3D::GetUseBuffer() {
  return UseBuffer;
}

void TPlotCanvas3D::SetBackColor(TColor color) {
  if (gdi::Dc* dc = GetHandle()) dc->SetBkColor(platform::ColorToRGB(color));
}

void TPlotCanvas3D::SetBackMode(TCanvasBackMode mode) {
  if (gdi::Dc* dc = GetHandle()) dc->SetBkMode(mode);
}

void TPlotCanvas3D::SetMonochrome(bool value) {
  if (Monochrome == value) return;
  Monochrome = value;
  BufferStale = true;
  if (View3DOptions) View3DOptions->Repaint();
}

void TPlotCanvas3D::SetPixel(int x, int y, TColor color) {
  if (gdi::Dc* dc = GetHandle()) dc->SetPixel(x, y, platform::ColorToRGB(color));
}

void TPlotCanvas3D::SetTextAlign(unsigned align) {
  if (gdi::Dc* dc = GetHandle()) dc->SetTextAlign(align);
}

void TPlotCanvas3D::SetUseBuffer(bool value) {
  if (UseBuffer == value) return;
  UseBuffer = value;
  if (!BufferBitmap) return;
  if (!value) {
    // While the panel draws elsewhere the finished picture stays for the next repaint.
    if (!KeepBuffer) {
      DeleteBitmap();
      BufferStale = true;
    }
  } else {
    SetCanvas(BufferBitmap->Canvas);
  }
}

void TPlotCanvas3D::Invalidate() {
  BufferStale = true;
}

TColor TPlotCanvas3D::GetPixel3D(int x, int y, int z) {
  Calc3DPos(x, y, z);
  return GetPixel(x, y);
}

bool TPlotCanvas3D::GetSupports3DText() {
  return false;
}

void TPlotCanvas3D::DisableRotation() {
  WasView3D = View3D;
  View3D = false;
}

void TPlotCanvas3D::EnableRotation() {
  View3D = WasView3D;
}

TRect TPlotCanvas3D::InitWindow(platform::TCanvas* canvas, TView3DOptions* options,
                                TColor /*backColor*/, bool is3D, const TRect& r) {
  ForgetSavedClips();
  Bounds = r;
  View3DOptions = options;
  if (options) FontZoom = options->GetFontZoom();
  View3D = is3D;
  OrthogonalView = false;
  ZoomScale = 1.0;
  if (View3D) {
    if (options) {
      OrthogonalView = options->GetOrthogonal();
      if (OrthogonalView) {
        long double a = options->GetOrthoAngle();
        if (a > 90) {
          ObliqueX = -1;
          a = 180 - a;
        } else {
          ObliqueX = 1;
        }
        const long double s = std::sin(Radians(a));
        const long double c = std::cos(Radians(a));
        ObliqueY = c < 0.01L ? 1.0 : static_cast<double>(s / c);
      }
      ZoomScale = options->GetZoom() * 0.01;
      ZoomFonts = options->GetZoomText();
    }
  }
  CalcTrigValues();

  if (!UseBuffer) {
    SetCanvas(canvas);
    return r;
  }
  const int width = Saturate(std::max(0LL, static_cast<long long>(r.Right) - r.Left));
  const int height = Saturate(std::max(0LL, static_cast<long long>(r.Bottom) - r.Top));
  if (!BufferBitmap) BufferBitmap = std::make_unique<platform::TBitmap>();
  BufferBitmap->SetSize(width, height);
  BufferBitmap->Canvas->OnChange = nullptr;
  SetCanvas(BufferBitmap->Canvas);
  return TRect{0, 0, width, height};
}

void TPlotCanvas3D::CalcTrigValues() {
  if (OrthogonalView) return;
  long double e = 0, r = 0, t = 0;
  if (View3DOptions) {
    e = -View3DOptions->ElevationValue();
    r = -View3DOptions->RotationValue();
    t = View3DOptions->GetTilt();
  }
  PerspectiveOn = false;
  PerspectiveFactor = 0;
  ElevationSin = std::sin(Radians(e));
  ElevationCos = std::cos(Radians(e));
  RotationSin = std::sin(Radians(r));
  RotationCos = std::cos(Radians(r));
  TiltOn = t != 0;
  TiltSin = std::sin(Radians(t));
  TiltCos = std::cos(Radians(t));
  const long double s1 = ElevationSin, c1 = ElevationCos;
  const long double s2 = RotationSin, c2 = RotationCos;
  const long double s3 = TiltSin, c3 = TiltCos;
  TrigC2S3 = static_cast<double>(c2 * s3);
  TrigC2C3 = static_cast<double>(std::max(c2 * c3, 0.00001L));
  TrigXX = static_cast<double>(std::max(s1 * s2 * s3 + c1 * c3, 0.00001L));
  TrigYX = static_cast<double>(c3 * s1 * s2 - c1 * s3);
  TrigXZ = static_cast<double>(c1 * s2 * s3 - c3 * s1);
  TrigYZ = static_cast<double>(c1 * c3 * s2 + s1 * s3);
}

void TPlotCanvas3D::Projection(int maxDepth, const TRect& /*bounds*/, const TRect& rect) {
  int cx = 0, cy = 0;
  RectCenter(rect, cx, cy);
  CentreX = RoundPlus(RotationShift.X, cx);
  CentreY = RoundPlus(RotationShift.Y, cy);
  CentreZ = Round(maxDepth * 0.5L + RotationShift.Z);
  OffsetX = CentreX;
  OffsetY = CentreY;
  if (View3DOptions) {
    OffsetX = Saturate(static_cast<long long>(OffsetX) + View3DOptions->GetHorizOffset());
    OffsetY = Saturate(static_cast<long long>(OffsetY) + View3DOptions->GetVertOffset());
    CalcPerspective(rect);
  }
}

void TPlotCanvas3D::CalcPerspective(const TRect& r) {
  const int perspective = View3DOptions ? View3DOptions->GetPerspective() : 0;
  PerspectiveOn = perspective > 0;
  if (!PerspectiveOn) return;
  long long w = static_cast<long long>(r.Right) - r.Left;
  if (w < 1) w = 1;
  PerspectiveFactor = perspective * ZoomScale * (1.0 / 150) / static_cast<double>(w);
}

namespace {

// The rotated view of (x, y, z), relative to the centre, before the offset: screen X and Y.
struct Rotated {
  long double X, Y;
};

}  // namespace

// Shared by the integer and the double forms; tilt form always (it equals the plain one at 0).
static Rotated RotateView(const TPlotCanvas3D& c, long double x, long double y, long double z,
                          bool tiltForm) {
  const long double s1 = c.ElevationSin, c1 = c.ElevationCos;
  const long double s2 = c.RotationSin, c2 = c.RotationCos;
  const long double s3 = c.TiltSin, c3 = c.TiltCos;
  const double t = static_cast<double>(z * c2 - x * s2);
  long double f = c.ZoomScale;
  if (c.PerspectiveOn) {
    long double d = (c1 * t + y * s1) * c.PerspectiveFactor + 1;
    if (!(d > kMinPerspective)) d = kMinPerspective;
    f = c.ZoomScale / d;
  }
  if (tiltForm) {
    const double u = static_cast<double>(x * c2 + z * s2);
    const double v = static_cast<double>(y * c1 - s1 * t);
    return {(c3 * u - s3 * v) * f, (c3 * v + s3 * u) * f};
  }
  return {(x * c2 + z * s2) * f, (y * c1 - s1 * t) * f};
}

void TPlotCanvas3D::Calc3DPos(int& x, int& y, int z) const {
  if (!View3D) return;
  if (OrthogonalView) {
    const long double px =
        (static_cast<long double>(z) * ObliqueX + (static_cast<long double>(x) - CentreX)) *
        ZoomScale;
    const long double py =
        ((static_cast<long double>(y) - CentreY) - static_cast<long double>(z) * ObliqueY) *
        ZoomScale;
    x = RoundPlus(px, OffsetX);
    y = RoundPlus(py, OffsetY);
    return;
  }
  const Rotated p = RotateView(*this, static_cast<long double>(x) - CentreX,
                               static_cast<long double>(y) - CentreY,
                               static_cast<long double>(z) - CentreZ, TiltOn);
  x = RoundPlus(p.X, OffsetX);
  y = RoundPlus(p.Y, OffsetY);
}

void TPlotCanvas3D::Calc3DPoint(TPoint& p, int x, int y, int z) const {
  Calc3DPos(x, y, z);
  p = TPoint{x, y};
}

void TPlotCanvas3D::Calc3DPoint(TPoint& p, double x, double y, int z) const {
  if (!View3D) {
    // Written in 2D too: callers need not fill it first.
    p = TPoint{Round(x), Round(y)};
    return;
  }
  if (OrthogonalView) {
    const long double px = (static_cast<long double>(z) * ObliqueX + (x - CentreX)) * ZoomScale;
    const long double py = ((y - CentreY) - static_cast<long double>(z) * ObliqueY) * ZoomScale;
    p = TPoint{RoundPlus(px, OffsetX), RoundPlus(py, OffsetY)};
    return;
  }
  const Rotated r = RotateView(*this, static_cast<long double>(x) - CentreX,
                               static_cast<long double>(y) - CentreY,
                               static_cast<long double>(z) - CentreZ, true);
  p = TPoint{RoundPlus(r.X, OffsetX), RoundPlus(r.Y, OffsetY)};
}

void TPlotCanvas3D::Calc3DTPoint(TPoint& p, int z) const {
  Calc3DPos(p.X, p.Y, z);
}

TPoint TPlotCanvas3D::Calc3DTPoint3D(const TPoint3D& p) const {
  TPoint r{p.X, p.Y};
  Calc3DPos(r.X, r.Y, p.Z);
  return r;
}

TPoint TPlotCanvas3D::Calculate3DPosition(int x, int y, int z) {
  Calc3DPos(x, y, z);
  return TPoint{x, y};
}

void TPlotCanvas3D::Calculate2DPosition(int& x, int& y, int z) {
  if (!View3D || ZoomScale == 0 || !std::isfinite(ZoomScale)) return;
  const long double k = 1.0L / ZoomScale;
  const long double a = (static_cast<long double>(x) - OffsetX) * k;
  const long double b = (static_cast<long double>(y) - OffsetY) * k;
  if (OrthogonalView) {
    x = RoundPlus(a - static_cast<long double>(z) * ObliqueX, CentreX);
    y = RoundPlus(b + static_cast<long double>(z) * ObliqueY, CentreY);
    return;
  }
  // Undo the tilt, then solve the two linear equations the rotation (and the perspective
  // denominator, linear in x and y at a known depth) gives for x and y.
  const long double s1 = ElevationSin, c1 = ElevationCos;
  const long double s2 = RotationSin, c2 = RotationCos;
  const long double s3 = TiltSin, c3 = TiltCos;
  const long double zr = static_cast<long double>(z) - CentreZ;
  const long double u = c3 * a + s3 * b;
  const long double v = c3 * b - s3 * a;
  const long double pf = PerspectiveOn ? PerspectiveFactor : 0.0L;
  // u * d = c2 x + s2 z and v * d = s1 s2 x + c1 y - s1 c2 z, d = 1 + pf (c1 c2 z - c1 s2 x + s1 y)
  const long double a11 = c2 + u * pf * c1 * s2;
  const long double a12 = -u * pf * s1;
  const long double b1 = u * (1 + pf * c1 * c2 * zr) - s2 * zr;
  const long double a21 = s1 * s2 + v * pf * c1 * s2;
  const long double a22 = c1 - v * pf * s1;
  const long double b2 = v * (1 + pf * c1 * c2 * zr) + s1 * c2 * zr;
  const long double det = a11 * a22 - a12 * a21;
  // Seen edge-on (rotation or elevation of 90 degrees) a screen point is no single point at
  // this depth: leave it.
  if (!(std::fabs(det) > 1e-9L)) return;
  const long double rx = (b1 * a22 - a12 * b2) / det;
  const long double ry = (a11 * b2 - b1 * a21) / det;
  x = RoundPlus(rx, CentreX);
  y = RoundPlus(ry, CentreY);
}

void TPlotCanvas3D::TransferBitmap(int x, int y, platform::TCanvas* destination) {
  if (!BufferBitmap || !destination) return;
  gdi::Dc* src = BufferBitmap->Canvas->GetHandle();
  gdi::Dc* dst = destination->GetHandle();
  if (!src || !dst) return;
  dst->BitBlt(x, y, BufferBitmap->GetWidth(), BufferBitmap->GetHeight(), *src, 0, 0, gdi::SRCCOPY);
}

void TPlotCanvas3D::ShowImage(platform::TCanvas* destination, platform::TCanvas* defaultCanvas,
                              const TRect& r) {
  if (UseBuffer && BufferBitmap) {
    TransferBitmap(r.Left, r.Top, destination);
    BufferStale = false;
  }
  SetCanvas(defaultCanvas);
}

bool TPlotCanvas3D::ReDrawBitmap() {
  if (BufferStale || !BufferBitmap || !PlatformCanvas) return false;
  TransferBitmap(0, 0, PlatformCanvas);
  return true;
}

}  // namespace chart
