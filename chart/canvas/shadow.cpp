#include "chart/canvas/shadow.h"

#include <algorithm>
#include <cstdint>

#include "chart/canvas/blend.h"
#include "chart/canvas/gradient.h"
#include "platform/vcl/graphics.h"

namespace chart {

namespace {

// More bands than any surface has lines only cost time.
constexpr int kMaxBands = 32767;

// The lightening per band that takes color to white over size bands.
int BandStep(TColor color, int size) {
  const TColor c = platform::ColorToRGB(color);
  const long double grey =
      (platform::GetRValue(c) + platform::GetGValue(c) + platform::GetBValue(c)) / 3.0L;
  return Round((255.0L - grey) / size);
}

// Coordinates are summed wide and saturated, so huge sizes or rectangles cannot overflow.
int Sat(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

TRect Moved(const TRect& r, long long h, long long v) {
  return TRect{Sat(r.Left + h), Sat(r.Top + v), Sat(r.Right + h), Sat(r.Bottom + v)};
}

}  // namespace

TPlotShadow::TPlotShadow(std::function<void()> onChange) : onChange_(std::move(onChange)) {}

TPlotShadow::~TPlotShadow() = default;

void TPlotShadow::Changed() {
  if (onChange_) onChange_();
}

void TPlotShadow::Assign(const platform::TPersistent* source) {
  const auto* s = dynamic_cast<const TPlotShadow*>(source);
  if (!s || s == this) return;
  color_ = s->color_;
  horizSize_ = s->horizSize_;
  smooth_ = s->smooth_;
  transparency_ = s->transparency_;
  vertSize_ = s->vertSize_;
  Changed();
}

void TPlotShadow::SetColor(const TColor& v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}
void TPlotShadow::SetHorizSize(const int& v) {
  if (v == horizSize_) return;
  horizSize_ = v;
  Changed();
}
void TPlotShadow::SetVertSize(const int& v) {
  if (v == vertSize_) return;
  vertSize_ = v;
  Changed();
}
int TPlotShadow::GetSize() const {
  return std::max(horizSize_, vertSize_);
}
void TPlotShadow::SetSize(const int& v) {
  if (v == horizSize_ && v == vertSize_) return;
  horizSize_ = v;
  vertSize_ = v;
  Changed();
}
void TPlotShadow::SetSmooth(const bool& v) {
  if (v == smooth_) return;
  smooth_ = v;
  Changed();
}
void TPlotShadow::SetTransparency(const TPlotTransparency& v) {
  const TPlotTransparency t = std::clamp(v, 0, 100);
  if (t == transparency_) return;
  transparency_ = t;
  Changed();
}

bool TPlotShadow::PrepareCanvas(TCanvas3D& canvas, const TRect& r, int z) {
  if (color_ == platform::clNone || (horizSize_ == 0 && vertSize_ == 0)) return false;
  if (canvas.Brush) {
    canvas.Brush->SetColor(color_);
    canvas.Brush->SetStyle(platform::bsSolid);
  }
  if (canvas.Pen) canvas.Pen->SetStyle(platform::psClear);
  if (transparency_ > 0) {
    const TRect moved = Moved(r, horizSize_, vertSize_);
    // A shadow drawn while an earlier one still blends ends that one first.
    FinishBlending(canvas);
    blend_ = canvas.BeginBlending(canvas.RectFromRectZ(moved, z), transparency_);
  }
  return true;
}

void TPlotShadow::FinishBlending(TPlotCanvas& canvas) {
  if (blend_) canvas.EndBlending(std::move(blend_));
}

void TPlotShadow::Draw(TCanvas3D& canvas, const TRect& r, int z) {
  if (!PrepareCanvas(canvas, r, z)) return;
  const long long h = horizSize_;
  const long long v = vertSize_;
  const long long L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const bool in3D = canvas.RotationLocks == 0;
  if (smooth_ && GetSize() > 1) {
    if (canvas.Pen) canvas.Pen->SetStyle(platform::psSolid);
    auto setPen = [&](TColor c) {
      if (canvas.Pen) canvas.Pen->SetColor(c);
    };
    auto penColor = [&] { return canvas.Pen ? canvas.Pen->GetColor() : color_; };
    if (v != 0) {
      setPen(color_);
      const int step = v > 0 ? BandStep(color_, vertSize_) : 0;
      for (long long i = 1; i <= std::min<long long>(v, kMaxBands); ++i) {
        const int x0 = Sat(L + h);
        const int x1 = Sat(R + h + i - v - 1);
        const int y = Sat(B + i - 1);
        if (in3D)
          canvas.HorizLine3D(x0, x1, y, z);
        else
          canvas.DoHorizLine(x0, x1, y);
        setPen(ApplyBright(penColor(), step));
      }
    }
    if (h != 0) {
      setPen(color_);
      const int step = h > 0 ? BandStep(color_, horizSize_) : 0;
      for (long long i = 1; i <= std::min<long long>(h, kMaxBands); ++i) {
        const int x = Sat(R + i - 1);
        const int y0 = Sat(T + v);
        const int y1 = Sat(B + v + i - h - 1);
        const int px = Sat(R + i - 2);
        const int py = Sat(B + v + i - h - 2);
        if (in3D) {
          canvas.VertLine3D(x, y0, y1, z);
          canvas.SetPixel3D(px, py, z, penColor());
        } else {
          canvas.DoVertLine(x, y0, y1);
          canvas.SetPixel(px, py, penColor());
        }
        setPen(ApplyBright(penColor(), step));
      }
    }
  } else if (in3D) {
    canvas.RectangleWithZ(TRect{Sat(L + h), r.Bottom, Sat(R + h), Sat(B + v)}, z);
    canvas.RectangleWithZ(TRect{r.Right, Sat(T + v), Sat(R + h), Sat(B + v)}, z);
  } else {
    if (v != 0) {
      const long long y0 = v > 0 ? B : T + 1;
      const long long y1 = v > 0 ? B + 1 : T;
      canvas.Rectangle(Sat(L + h), Sat(y0), Sat(R + h), Sat(y1 + v));
    }
    if (h != 0) {
      const long long x0 = h > 0 ? R : L + 1;
      const long long x1 = h > 0 ? R + 1 : L;
      canvas.Rectangle(Sat(x0), Sat(T + v), Sat(x1 + h), Sat(B + v + 1));
    }
  }
  FinishBlending(canvas);
}

void TPlotShadow::DrawEllipse(TCanvas3D& canvas, const TRect& r, int z) {
  if (!PrepareCanvas(canvas, r, z)) return;
  const TRect moved = Moved(r, horizSize_, vertSize_);
  if (smooth_) {
    const TRect e = canvas.CalcRect3D(moved, z);
    canvas.ClipEllipse(e);
    TCustomPlotGradient gradient;
    gradient.SetEndColor(ApplyBright(color_, 32));
    gradient.SetStartColor(ApplyDark(color_, 128));
    gradient.DrawRadial(canvas, e);
    canvas.UnClipRectangle();
  } else {
    canvas.EllipseWithZ(moved.Left, moved.Top, moved.Right, moved.Bottom, z);
  }
  FinishBlending(canvas);
}

}  // namespace chart
