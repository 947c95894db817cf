// The device context's state: modes, colours, selected objects, mapping, and the recorder.
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/qt_color.h"

namespace platform::gdi {

int ClampCoord(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -kCoordLimit, kCoordLimit));
}

Dc::Dc(QImage* target) : d_(std::make_unique<Impl>()) {
  d_->target = target;
}
Dc::~Dc() {
  d_->EndKept();
}

void Dc::SetTarget(QImage* target) {
  if (target != d_->target) d_->EndKept();
  d_->target = target;
}
QImage* Dc::Target() const {
  return d_->target;
}
void Dc::KeepPainterOpen(bool keep) {
  d_->keepOpen = keep;
  if (!keep && !InPaintPass()) d_->EndKept();
}
void Dc::SetRecorder(DcRecorder recorder) {
  d_->recorder = std::move(recorder);
}
void Dc::KeepVector(std::shared_ptr<VectorLog> log) {
  d_->vector = std::move(log);
}
const std::shared_ptr<VectorLog>& Dc::KeptVector() const {
  return d_->vector;
}

void Dc::Impl::Emit(const char* op, std::vector<int> args, const std::string& text,
                    const LogBrush* b) const {
  DcCall call;
  call.Op = op;
  call.Args = std::move(args);
  call.Text = text;
  call.Pen = EffectivePen();
  call.Brush = b ? *b : EffectiveBrush();
  call.BkColor = bkColor;
  call.BkMode = bkMode;
  call.TextColor = textColor;
  call.Rop2 = rop2;
  recorder(call);
}

int Dc::SetBkMode(int mode) {
  const int old = d_->bkMode;
  if (mode == TRANSPARENT || mode == OPAQUE) d_->bkMode = mode;
  return old;
}
int Dc::GetBkMode() const {
  return d_->bkMode;
}
TColor Dc::SetBkColor(TColor color) {
  const TColor old = d_->bkColor;
  d_->bkColor = ColorToRGB(color);
  return old;
}
TColor Dc::GetBkColor() const {
  return d_->bkColor;
}
TColor Dc::SetTextColor(TColor color) {
  const TColor old = d_->textColor;
  d_->textColor = ColorToRGB(color);
  return old;
}
TColor Dc::GetTextColor() const {
  return d_->textColor;
}
unsigned Dc::SetTextAlign(unsigned flags) {
  const unsigned old = d_->textAlign;
  d_->textAlign = flags;
  return old;
}
unsigned Dc::GetTextAlign() const {
  return d_->textAlign;
}
int Dc::SetROP2(int rop) {
  const int old = d_->rop2;
  if (rop >= R2_BLACK && rop <= R2_WHITE && rop != old) {
    d_->rop2 = rop;
    d_->PenChanged();
  }
  return old;
}
int Dc::GetROP2() const {
  return d_->rop2;
}
int Dc::SetTextCharacterExtra(int extra) {
  const int old = d_->charExtra;
  d_->charExtra = std::clamp(extra, -1000, 1000);
  ++d_->fontStamp;
  return old;
}
int Dc::GetTextCharacterExtra() const {
  return d_->charExtra;
}
int Dc::SetArcDirection(int dir) {
  const int old = d_->arcDirection;
  if (dir == AD_COUNTERCLOCKWISE || dir == AD_CLOCKWISE) d_->arcDirection = dir;
  return old;
}
int Dc::GetArcDirection() const {
  return d_->arcDirection;
}
int Dc::SetPolyFillMode(int mode) {
  const int old = d_->polyFillMode;
  if (mode == ALTERNATE || mode == WINDING) d_->polyFillMode = mode;
  return old;
}
int Dc::GetPolyFillMode() const {
  return d_->polyFillMode;
}

bool Dc::MoveToEx(int x, int y, TPoint* old) {
  if (old) *old = d_->pos;
  d_->Record("MoveToEx", {x, y});
  d_->pos = TPoint{x, y};
  if (d_->pathOpen) d_->path.moveTo(d_->DevF(x, y));
  return true;
}
TPoint Dc::GetCurrentPosition() const {
  return d_->pos;
}

LogPen Dc::SelectPen(const LogPen& pen) {
  LogPen old = d_->EffectivePen();
  d_->pen = pen;
  d_->dcPenSelected = false;
  d_->PenChanged();
  return old;
}
LogBrush Dc::SelectBrush(const LogBrush& brush) {
  LogBrush old = d_->EffectiveBrush();
  d_->brush = brush;
  d_->dcBrushSelected = false;
  ++d_->selectStamp;
  return old;
}
LogFont Dc::SelectFont(const LogFont& font) {
  LogFont old = d_->font;
  d_->font = font;
  ++d_->selectStamp;
  ++d_->fontStamp;
  return old;
}
unsigned Dc::SelectionStamp() const {
  return d_->selectStamp;
}
const LogPen& Dc::CurrentPen() const {
  return d_->pen;
}
const LogBrush& Dc::CurrentBrush() const {
  return d_->brush;
}
const LogFont& Dc::CurrentFont() const {
  return d_->font;
}
void Dc::SelectDcBrush() {
  d_->brush = LogBrush{};
  d_->brush.Style = BS_SOLID;
  d_->brush.Color = d_->dcBrushColor;
  d_->dcBrushSelected = true;
  ++d_->selectStamp;
}
void Dc::SelectDcPen() {
  d_->pen = LogPen{};
  d_->pen.Color = d_->dcPenColor;
  d_->dcPenSelected = true;
  d_->PenChanged();
}
TColor Dc::SetDCBrushColor(TColor color) {
  const TColor old = d_->dcBrushColor;
  d_->dcBrushColor = color;
  if (d_->dcBrushSelected) d_->brush.Color = color;
  ++d_->selectStamp;
  return old;
}
TColor Dc::SetDCPenColor(TColor color) {
  const TColor old = d_->dcPenColor;
  d_->dcPenColor = color;
  if (d_->dcPenSelected) {
    d_->pen.Color = color;
    d_->PenChanged();
  }
  return old;
}

LogPen Dc::Impl::EffectivePen() const {
  LogPen p = pen;
  if (dcPenSelected) p.Color = dcPenColor;
  return p;
}
LogBrush Dc::Impl::EffectiveBrush() const {
  LogBrush b = brush;
  if (dcBrushSelected) b.Color = dcBrushColor;
  return b;
}

// --- Mapping ---

int Dc::SetMapMode(int mode) {
  const int old = d_->mapMode;
  if (mode == MM_TEXT || mode == MM_ANISOTROPIC) d_->mapMode = mode;
  d_->MappingChanged();
  return old;
}
int Dc::GetMapMode() const {
  return d_->mapMode;
}
void Dc::SetWindowOrgEx(int x, int y) {
  d_->winOrgX = x;
  d_->winOrgY = y;
}
void Dc::SetWindowExtEx(int w, int h) {
  if (w != 0) d_->winExtX = w;
  if (h != 0) d_->winExtY = h;
  d_->MappingChanged();
}
void Dc::SetViewportOrgEx(int x, int y) {
  d_->vpOrgX = x;
  d_->vpOrgY = y;
}
void Dc::SetViewportExtEx(int w, int h) {
  if (w != 0) d_->vpExtX = w;
  if (h != 0) d_->vpExtY = h;
  d_->MappingChanged();
}

double Dc::Impl::ScaleX() const {
  return mapMode == MM_ANISOTROPIC ? static_cast<double>(vpExtX) / winExtX : 1.0;
}
double Dc::Impl::ScaleY() const {
  return mapMode == MM_ANISOTROPIC ? static_cast<double>(vpExtY) / winExtY : 1.0;
}

QPointF Dc::Impl::DevF(int x, int y) const {
  if (mapMode != MM_ANISOTROPIC) return QPointF(x, y);
  return QPointF((static_cast<double>(x) - winOrgX) * ScaleX() + vpOrgX,
                 (static_cast<double>(y) - winOrgY) * ScaleY() + vpOrgY);
}

QPoint Dc::Impl::Dev(int x, int y) const {
  if (mapMode != MM_ANISOTROPIC) return QPoint(ClampCoord(x), ClampCoord(y));
  const QPointF p = DevF(x, y);
  return QPoint(ClampCoord(std::llround(std::clamp(p.x(), -1e15, 1e15))),
                ClampCoord(std::llround(std::clamp(p.y(), -1e15, 1e15))));
}

QRect Dc::Impl::DevRect(int l, int t, int r, int b) const {
  QPoint a = Dev(l, t), c = Dev(r, b);
  const int x0 = std::min(a.x(), c.x()), x1 = std::max(a.x(), c.x());
  const int y0 = std::min(a.y(), c.y()), y1 = std::max(a.y(), c.y());
  return QRect(x0, y0, x1 - x0, y1 - y0);
}

double Dc::Impl::DevLength(double v) const {
  return v * std::sqrt(std::abs(ScaleX() * ScaleY()));
}

void Dc::LPtoDP(TPoint* points, int count) const {
  if (!points) return;
  for (int i = 0; i < count; ++i) {
    const QPoint p = d_->Dev(points[i].X, points[i].Y);
    points[i] = TPoint{p.x(), p.y()};
  }
}

void Dc::DPtoLP(TPoint* points, int count) const {
  if (!points || d_->mapMode != MM_ANISOTROPIC) return;
  for (int i = 0; i < count; ++i) {
    const double x = (static_cast<double>(points[i].X) - d_->vpOrgX) / d_->ScaleX() + d_->winOrgX;
    const double y = (static_cast<double>(points[i].Y) - d_->vpOrgY) / d_->ScaleY() + d_->winOrgY;
    points[i] = TPoint{ClampCoord(std::llround(std::clamp(x, -1e15, 1e15))),
                       ClampCoord(std::llround(std::clamp(y, -1e15, 1e15)))};
  }
}

// --- Painting set-up ---

bool Dc::Impl::Begin(QPainter& p) const {
  if (!Drawable()) return false;
  if (!p.begin(target)) return false;
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setBrushOrigin(0, 0);
  if (clip) p.setClipRegion(*clip);
  return true;
}

void Dc::Impl::SetComposition(QPainter& p, QPainter::CompositionMode mode) {
  if (p.compositionMode() != mode) p.setCompositionMode(mode);
}

void Dc::Impl::SetBackground(QPainter& p, bool opaque, TColor color) {
  // The background only shows in opaque mode.
  if (!opaque) {
    if (p.backgroundMode() != Qt::TransparentMode) p.setBackgroundMode(Qt::TransparentMode);
    return;
  }
  if (p.backgroundMode() != Qt::OpaqueMode) p.setBackgroundMode(Qt::OpaqueMode);
  const QColor c = ToQColor(color);
  if (p.background().style() != Qt::SolidPattern || p.background().color() != c) p.setBackground(c);
}

bool Dc::Impl::ApplyRop(QPainter& p) const {
  static constexpr QPainter::CompositionMode kModes[] = {
      QPainter::CompositionMode_SourceOver,           // R2_BLACK (colour replaced)
      QPainter::RasterOp_NotSourceAndNotDestination,  // R2_NOTMERGEPEN
      QPainter::RasterOp_NotSourceAndDestination,     // R2_MASKNOTPEN
      QPainter::RasterOp_NotSource,                   // R2_NOTCOPYPEN
      QPainter::RasterOp_SourceAndNotDestination,     // R2_MASKPENNOT
      QPainter::RasterOp_NotDestination,              // R2_NOT
      QPainter::RasterOp_SourceXorDestination,        // R2_XORPEN
      QPainter::RasterOp_NotSourceOrNotDestination,   // R2_NOTMASKPEN
      QPainter::RasterOp_SourceAndDestination,        // R2_MASKPEN
      QPainter::RasterOp_NotSourceXorDestination,     // R2_NOTXORPEN
      QPainter::CompositionMode_Destination,          // R2_NOP
      QPainter::RasterOp_NotSourceOrDestination,      // R2_MERGENOTPEN
      QPainter::CompositionMode_SourceOver,           // R2_COPYPEN
      QPainter::RasterOp_SourceOrNotDestination,      // R2_MERGEPENNOT
      QPainter::RasterOp_SourceOrDestination,         // R2_MERGEPEN
      QPainter::CompositionMode_SourceOver,           // R2_WHITE (colour replaced)
  };
  // Copy modes draw "over": every colour is opaque, and hatch gaps are transparent pixels of
  // the pattern that must not be copied.
  if (rop2 == R2_NOP) return false;
  SetComposition(p, kModes[std::clamp(rop2, R2_BLACK, R2_WHITE) - 1]);
  return true;
}

QColor Dc::Impl::RopColor(TColor c) const {
  if (rop2 == R2_BLACK) return QColor(0, 0, 0);
  if (rop2 == R2_WHITE) return QColor(255, 255, 255);
  return ToQColor(c);
}

QRegion Dc::Impl::SurfaceRegion() const {
  if (!Drawable()) return QRegion(-kCoordLimit, -kCoordLimit, 2 * kCoordLimit, 2 * kCoordLimit);
  return QRegion(0, 0, target->width(), target->height());
}

int Dc::BitsPerPixel() const {
  if (!d_->Drawable()) return 32;
  return d_->target->depth();
}

int Dc::PixelsPerInch() const {
  return 96;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long num = static_cast<long long>(a) * b;
  const bool negative = (num < 0) != (c < 0);
  const unsigned long long n =
      num < 0 ? 0ULL - static_cast<unsigned long long>(num) : static_cast<unsigned long long>(num);
  const unsigned long long m =
      c < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(c))
            : static_cast<unsigned long long>(c);
  unsigned long long q = n / m;
  // Half away from zero.
  if ((n % m) * 2 >= m) ++q;
  if (q > static_cast<unsigned long long>(std::numeric_limits<int>::max()) + (negative ? 1 : 0))
    return -1;
  return negative ? static_cast<int>(-static_cast<long long>(q)) : static_cast<int>(q);
}

}  // namespace platform::gdi
