// Block transfers between surfaces and images drawn into rectangles: always in copy mode.
#include "platform/gdi/dc_impl.h"

namespace platform::gdi {

bool Dc::BitBlt(int x, int y, int w, int h, const Dc& src, int sx, int sy, std::uint32_t rop) {
  d_->Record("BitBlt", {x, y, w, h, sx, sy, static_cast<int>(rop)});
  return Blit(x, y, w, h, src, sx, sy, w, h, rop);
}

bool Dc::StretchBlt(int x, int y, int w, int h, const Dc& src, int sx, int sy, int sw, int sh,
                    std::uint32_t rop) {
  d_->Record("StretchBlt", {x, y, w, h, sx, sy, sw, sh, static_cast<int>(rop)});
  return Blit(x, y, w, h, src, sx, sy, sw, sh, rop);
}

bool Dc::Blit(int x, int y, int w, int h, const Dc& src, int sx, int sy, int sw, int sh,
              std::uint32_t rop) {
  if (rop != SRCCOPY) return false;
  if (!d_->Drawable() || !src.d_->Drawable()) return false;
  const QRect dr = d_->DevRect(x, y, ClampCoord(static_cast<long long>(x) + w),
                               ClampCoord(static_cast<long long>(y) + h));
  const QRect sr = src.d_->DevRect(sx, sy, ClampCoord(static_cast<long long>(sx) + sw),
                                   ClampCoord(static_cast<long long>(sy) + sh));
  if (dr.isEmpty() || sr.isEmpty()) return true;
  // A negative size on one side only mirrors the picture.
  const bool mirrorX = (w < 0) != (sw < 0), mirrorY = (h < 0) != (sh < 0);
  src.d_->DrawQueuedOnTarget();
  // A plain copy of pixels that are all there into another image needs no copy of its own.
  const bool apart = !mirrorX && !mirrorY && src.d_->target != d_->target &&
                     dr.size() == sr.size() && src.d_->target->rect().contains(sr);
  QImage piece;
  if (!apart || d_->KeepsVector(false)) {
    piece = src.d_->target->copy(sr);
    if (mirrorX || mirrorY) piece = piece.mirrored(mirrorX, mirrorY);
    d_->KeepImage(dr, piece);
  }
  const auto p = d_->Paint();
  if (!p) return false;
  Impl::SetComposition(*p, QPainter::CompositionMode_Source);
  if (apart)
    p->drawImage(QRectF(dr), *src.d_->target, QRectF(sr));
  else
    p->drawImage(dr, piece);
  return true;
}

bool Dc::DrawImage(const TRect& dest, const QImage& image) {
  d_->Record("DrawImage", {dest.Left, dest.Top, dest.Right, dest.Bottom});
  if (image.isNull()) return false;
  const QRect dr = d_->DevRect(dest.Left, dest.Top, dest.Right, dest.Bottom);
  if (dr.isEmpty()) return true;
  d_->KeepImage(dr, image);
  const auto p = d_->Paint();
  if (!p) return false;
  p->drawImage(dr, image);
  return true;
}

}  // namespace platform::gdi
